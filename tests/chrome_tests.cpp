#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>

#include "chrome/image_holder.h"
#include "chrome/shadow.h"

namespace corvale::chrome {
namespace {

// The bytes of a PNG file of one colour.
QByteArray PngOf(QSize size, Qt::GlobalColor colour) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(colour);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}

int AlphaAt(const QImage& image, int x, int y) {
  return qAlpha(image.convertToFormat(QImage::Format_ARGB32).pixel(x, y));
}

TEST(ShadowRendering, RingAlphasStepOutwardsIn) {
  ShadowImages images;
  const struct {
    int size;
    std::uint32_t colour;
    std::vector<int> alphas;
  } cases[] = {
      {3, 0, {33, 66, 99}},
      {4, 0, {25, 50, 75, 100}},
      {12, 0x0000FF, {12, 24, 36, 48, 60, 72, 84, 96, 108, 120, 132, 144}},
      {5, 0x00FF00, {20, 40, 60, 80, 100}},  // size 5 in a colour draws rings, not the image
  };
  for (const auto& c : cases) {
    const QImage shadow =
        RenderShadow(c.colour, c.size, 300, 200, images).convertToFormat(QImage::Format_ARGB32);
    for (int i = 1; i <= c.size; ++i) {
      EXPECT_NEAR(AlphaAt(shadow, i - 1, 100), c.alphas[std::size_t(i - 1)], 1)
          << "size " << c.size << " ring " << i;
      EXPECT_NEAR(AlphaAt(shadow, 150, 200 - i), c.alphas[std::size_t(i - 1)], 1);
    }
    EXPECT_EQ(AlphaAt(shadow, c.size, 100), 0) << "the area over the target stays transparent";
    EXPECT_EQ(AlphaAt(shadow, 150, 100), 0);
    if (c.colour == 0x0000FF) {
      EXPECT_EQ(qRed(shadow.pixel(0, 100)), 255);
    }
  }
}

TEST(ShadowRendering, BlackSizesFiveAndTenUseTheImagesBands) {
  StartImageSupport();
  ShadowImages images;
  const struct {
    int size;
    std::vector<int> band;
  } cases[] = {{5, {15, 31, 53, 79, 111}}, {10, {11, 19, 28, 40, 53, 68, 85, 105, 122, 137}}};
  for (const auto& c : cases) {
    ASSERT_NE(images.ForSize(c.size), nullptr);
    EXPECT_EQ(images.ForSize(c.size)->size(), QSize(100, 100));
    const QImage shadow =
        RenderShadow(0, c.size, 400, 300, images).convertToFormat(QImage::Format_ARGB32);
    for (std::size_t i = 0; i < c.band.size(); ++i) {
      const int d = int(i);
      EXPECT_EQ(AlphaAt(shadow, 200, d), c.band[i]) << c.size << " top " << d;
      EXPECT_EQ(AlphaAt(shadow, d, 150), c.band[i]) << c.size << " left " << d;
      EXPECT_EQ(AlphaAt(shadow, 399 - d, 150), c.band[i]) << c.size << " right " << d;
      EXPECT_EQ(AlphaAt(shadow, 60, 299 - d), c.band[i]) << c.size << " bottom " << d;
      EXPECT_EQ(qRed(shadow.pixel(200, d)), 0);
    }
    EXPECT_EQ(AlphaAt(shadow, 200, int(c.band.size())), 0);
    EXPECT_EQ(AlphaAt(shadow, 0, 0), 0);  // the corner is feathered, not square
  }
}

TEST(ShadowRendering, Helpers) {
  EXPECT_EQ(ColorToArgb(0x00112233, 0x80), 0x80332211u);
  EXPECT_EQ(ColorToArgb(0, 255), 0xFF000000u);
  EXPECT_EQ(RoundedRectPath(1, 2, 30, 40, 0).boundingRect(), QRectF(1, 2, 30, 40));
  EXPECT_EQ(RoundedRectPath(1, 2, 30, 40, 4).boundingRect(), QRectF(1, 2, 30, 40));
  EXPECT_FALSE(RoundedRectPath(0, 0, 30, 40, 4).contains(QPointF(0.2, 0.2)));
  EXPECT_TRUE(RoundedRectPath(0, 0, 30, 40, 0).contains(QPointF(0.2, 0.2)));

  // Corners of a 60-pixel image are 10 pixels and drawn unscaled.
  QImage source(60, 60, QImage::Format_ARGB32);
  source.fill(Qt::blue);
  QPainter(&source).fillRect(0, 0, 10, 10, Qt::red);
  QImage target(200, 200, QImage::Format_ARGB32);
  target.fill(Qt::transparent);
  {
    QPainter painter(&target);
    DrawNineSlice(painter, source, 0, 0, 200, 200);
  }
  EXPECT_EQ(target.pixel(9, 9), QColor(Qt::red).rgba());
  EXPECT_EQ(target.pixel(10, 10), QColor(Qt::blue).rgba());
}

TEST(ImageHolder, LoadsAndReleases) {
  ImageHolder holder;
  EXPECT_EQ(holder.Width(), 0);
  EXPECT_EQ(holder.Handle(), nullptr);
  EXPECT_FALSE(holder.LoadFromBytes("\x89PNG", 4));
  const QByteArray png = PngOf({7, 3}, Qt::black);
  ASSERT_TRUE(holder.LoadFromBytes(png.constData(), std::size_t(png.size())));
  EXPECT_EQ(holder.Width(), 7);
  EXPECT_EQ(holder.Height(), 3);
  const QByteArray png2 = PngOf({2, 5}, Qt::white);
  ASSERT_TRUE(holder.LoadFromBytes(png2.constData(), std::size_t(png2.size())));
  EXPECT_EQ(holder.Width(), 2);  // the first image is gone with its cached size
  EXPECT_FALSE(holder.LoadFromBytes("not an image at all", 19));
  EXPECT_EQ(holder.Handle(), nullptr);
  EXPECT_EQ(holder.Height(), 0);
}

class ShadowWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    target.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    target.setGeometry(100, 120, 300, 200);
  }
  int ShadowWindows() {
    int count = 0;
    for (auto* child : target.children()) count += child->objectName() == "Lumen.Shadow";
    return count;
  }
  int Filters() {
    int count = 0;
    for (auto* child : target.children()) count += child->objectName() == "Lumen.WndShadow.Filter";
    return count;
  }

  ShadowImages images;
  QWidget target;
};

TEST_F(ShadowWindowTest, FollowsTheTargetAndHidesWithIt) {
  target.show();
  ASSERT_TRUE(AttachShadow(&target, images, 0, 4));
  QWidget* shadow = ShadowOf(&target);
  ASSERT_NE(shadow, nullptr);
  EXPECT_TRUE(shadow->isVisible());
  EXPECT_EQ(shadow->geometry(), QRect(96, 116, 308, 208));
  EXPECT_TRUE(shadow->windowFlags() & Qt::WindowTransparentForInput);
  target.move(200, 220);
  EXPECT_EQ(shadow->geometry(), QRect(196, 216, 308, 208));
  target.resize(100, 50);
  EXPECT_EQ(shadow->geometry(), QRect(196, 216, 108, 58));
  target.hide();
  EXPECT_FALSE(shadow->isVisible());
  target.show();
  EXPECT_TRUE(shadow->isVisible());
  target.showMinimized();
  EXPECT_FALSE(shadow->isVisible());
  target.showNormal();
  EXPECT_TRUE(shadow->isVisible());
}

TEST_F(ShadowWindowTest, AttachTwiceKeepsOneAndRemoveRestores) {
  target.show();
  ASSERT_TRUE(AttachShadow(&target, images, 0, 4));
  ASSERT_TRUE(AttachShadow(&target, images, 0x0000FF, 6));
  EXPECT_EQ(ShadowWindows(), 1);
  EXPECT_EQ(Filters(), 1);
  EXPECT_EQ(ShadowOf(&target)->geometry(), QRect(94, 114, 312, 212));
  EXPECT_FALSE(AttachShadow(&target, images, 0, 0));  // size 0 removes
  EXPECT_EQ(ShadowOf(&target), nullptr);
  EXPECT_EQ(ShadowWindows(), 0);
  EXPECT_EQ(Filters(), 0);
  target.move(10, 10);  // nothing follows any more
  EXPECT_FALSE(AttachShadow(nullptr, images));
}

}  // namespace
}  // namespace corvale::chrome
