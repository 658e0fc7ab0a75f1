// Build-time tool: writes the two pre-rendered shadow images, 100×100 RGBA PNGs, black where
// not transparent, with a band of falling alpha along each edge and feathered round corners.
//   make_shadow_images OUT_DIR
#include <QImage>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// Alpha of each band line, from the outer edge inwards; cornerRadius bounds the corner fade.
QImage ShadowImage(const std::vector<int>& band, double cornerRadius) {
  constexpr int kSize = 100;
  QImage image(kSize, kSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      // Depth into a rounded square: along the edges the distance to the nearest edge, in a
      // corner the distance inside the corner's quarter circle.
      const double nx = std::min(cx, kSize - cx), ny = std::min(cy, kSize - cy);
      double depth = std::min(nx, ny);
      if (nx < cornerRadius && ny < cornerRadius) {
        depth = cornerRadius - std::hypot(cornerRadius - nx, cornerRadius - ny);
      }
      if (depth < 0) continue;
      const auto line = std::size_t(depth);
      if (line >= band.size()) continue;
      image.setPixel(x, y, qRgba(0, 0, 0, band[line]));
    }
  }
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_shadow_images OUT_DIR\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  const bool ok = ShadowImage({15, 31, 53, 79, 111}, 11).save(out + "/shadow5.png", "PNG") &&
                  ShadowImage({11, 19, 28, 40, 53, 68, 85, 105, 122, 137}, 19)
                      .save(out + "/shadow10.png", "PNG");
  return ok ? 0 : 1;
}
