#include "chrome/shadow.h"

#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRegion>

#ifdef CORVALE_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace corvale::chrome {
namespace {

constexpr const char* kShadowProperty = "Lumen.WndShadow";
constexpr const char* kFilterProperty = "Lumen.WndShadow.Proc";
constexpr const char* kColourProperty = "Lumen.WndShadow.Color";
constexpr const char* kSizeProperty = "Lumen.WndShadow.Size";

// Translucent windows need a compositor; without one their transparent pixels show black, so
// a shadow would hide the window it decorates.
bool DesktopCanShowShadows() {
  const QString platform = QGuiApplication::platformName();
  if (platform == "offscreen") return true;
#ifdef CORVALE_HAVE_XCB
  if (platform == "xcb") {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return false;
    const QByteArray name = "_NET_WM_CM_S0";
    auto* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()),
        nullptr);
    if (!atom) return false;
    auto* owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool composited = owner && owner->owner != XCB_NONE;
    free(owner);
    free(atom);
    return composited;
  }
#endif
  return false;
}

class ShadowWindow : public QWidget {
 public:
  ShadowWindow(QWidget* target, ShadowImages& images)
      : QWidget(target, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                            Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
        images_(images) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setObjectName("Lumen.Shadow");
  }
  ShadowImages& Images() { return images_; }
  void SetBitmap(QImage bitmap) {
    bitmap_ = std::move(bitmap);
    update();
  }
  const QImage& Bitmap() const { return bitmap_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, bitmap_);
  }

 private:
  ShadowImages& images_;
  QImage bitmap_;
};

// Stands in for the subclassed window procedure: the shadow follows the target.
class ShadowFilter : public QObject {
 public:
  explicit ShadowFilter(QWidget* target) : QObject(target), target_(target) {
    setObjectName("Lumen.WndShadow.Filter");
    target->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::WindowStateChange:
        UpdateShadowPlacement(target_);
        break;
      case QEvent::Show:
        UpdateShadowPlacement(target_, true);
        break;
      case QEvent::Hide:
        UpdateShadowPlacement(target_, false);
        break;
      default:
        break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* target_;
};

ShadowWindow* ShadowWindowOf(const QWidget* target) {
  if (!target) return nullptr;
  return dynamic_cast<ShadowWindow*>(target->property(kShadowProperty).value<QObject*>());
}

}  // namespace

const QImage* ShadowImages::ForSize(int size) {
  ImageHolder* holder = size == 5 ? &shadow5 : size == 10 ? &shadow10 : nullptr;
  if (!holder) return nullptr;
  if (!holder->Handle()) {
    QFile file(size == 5 ? ":/shadows/shadow5.png" : ":/shadows/shadow10.png");
    if (file.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = file.readAll();
      holder->LoadFromBytes(bytes.constData(), std::size_t(bytes.size()));
    }
  }
  return holder->Handle();
}

std::uint32_t ColorToArgb(std::uint32_t colour, int alpha) {
  const std::uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF,
                      blue = (colour >> 16) & 0xFF;
  return std::uint32_t(alpha & 0xFF) << 24 | red << 16 | green << 8 | blue;
}

QPainterPath RoundedRectPath(qreal x, qreal y, qreal w, qreal h, int r) {
  QPainterPath path;
  if (r <= 0) {
    path.addRect(x, y, w, h);
    return path;
  }
  r = std::clamp(r, 1, 100);
  const qreal d = 2.0 * r;
  path.arcMoveTo(x, y, d, d, 180);
  path.arcTo(x, y, d, d, 180, -90);
  path.arcTo(x + w - d, y, d, d, 90, -90);
  path.arcTo(x + w - d, y + h - d, d, d, 0, -90);
  path.arcTo(x, y + h - d, d, d, 270, -90);
  path.closeSubpath();
  return path;
}

void DrawNineSlice(QPainter& painter, const QImage& image, int x, int y, int w, int h) {
  const int W = image.width(), H = image.height();
  const int g = (W > 80 && H > 80) ? 20 : (W > 50 && H > 50) ? 10 : 5;
  const int sx[4] = {0, g, W - g, W}, sy[4] = {0, g, H - g, H};
  const int dx[4] = {x, x + g, x + w - g, x + w}, dy[4] = {y, y + g, y + h - g, y + h};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const QRect source(sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row]);
      const QRect target(dx[col], dy[row], dx[col + 1] - dx[col], dy[row + 1] - dy[row]);
      if (target.width() > 0 && target.height() > 0) painter.drawImage(target, image, source);
    }
  }
}

void DrawShadowRings(QPainter& painter, std::uint32_t colour, int size, int w, int h) {
  const int step = size <= 8 ? 100 / size : 150 / size;
  painter.save();
  painter.setClipRegion(QRegion(0, 0, w, h) - QRegion(size, size, w - 2 * size, h - 2 * size));
  painter.setRenderHint(QPainter::Antialiasing);
  // Qt's pixel centres lie half a pixel in: a one-pixel line on them covers whole pixels.
  painter.translate(0.5, 0.5);
  for (int i = 1; i <= size; ++i) {
    painter.setPen(QPen(QColor::fromRgba(ColorToArgb(colour, step * i)), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(RoundedRectPath(i - 1, i - 1, (w - 2 * i) + 1, (h - 2 * i) + 1, 4));
  }
  painter.restore();
}

QImage RenderShadow(std::uint32_t colour, int size, int w, int h, ShadowImages& images) {
  QImage bitmap(w, h, QImage::Format_ARGB32_Premultiplied);
  bitmap.fill(Qt::transparent);
  QPainter painter(&bitmap);
  if ((size == 5 || size == 10) && colour == 0) {
    // An image that cannot be loaded draws nothing: the shadow stays transparent.
    if (const QImage* image = images.ForSize(size)) DrawNineSlice(painter, *image, 0, 0, w, h);
  } else {
    DrawShadowRings(painter, colour, size, w, h);
  }
  return bitmap;
}

QWidget* ShadowOf(const QWidget* target) { return ShadowWindowOf(target); }

bool AttachShadow(QWidget* target, ShadowImages& images, std::uint32_t colour, int size) {
  if (!target) return false;
  if (size < 1) {
    RemoveShadow(target);
    return false;
  }
  ShadowWindow* shadow = ShadowWindowOf(target);
  if (!shadow) {
    shadow = new ShadowWindow(target, images);
    target->setProperty(kShadowProperty, QVariant::fromValue<QObject*>(shadow));
  }
  shadow->setProperty(kColourProperty, uint(colour));
  shadow->setProperty(kSizeProperty, size);
  UpdateShadowPlacement(target);
  if (!target->property(kFilterProperty).isValid()) {
    target->setProperty(kFilterProperty, QVariant::fromValue<QObject*>(new ShadowFilter(target)));
  }
  return true;
}

void RemoveShadow(QWidget* target) {
  if (!target) return;
  if (ShadowWindow* shadow = ShadowWindowOf(target)) {
    shadow->setProperty(kColourProperty, QVariant());
    shadow->setProperty(kSizeProperty, QVariant());
    delete shadow;
  }
  target->setProperty(kShadowProperty, QVariant());
  if (QObject* filter = target->property(kFilterProperty).value<QObject*>()) {
    target->removeEventFilter(filter);
    delete filter;
  }
  target->setProperty(kFilterProperty, QVariant());
}

void UpdateShadowPlacement(QWidget* target, std::optional<bool> visible) {
  ShadowWindow* shadow = ShadowWindowOf(target);
  if (!shadow) return;
  const bool shown = visible.value_or(target->isVisible());
  if (!shown || target->isMinimized() || target->isMaximized() || !DesktopCanShowShadows()) {
    shadow->hide();
    return;
  }
  const QRect frame = target->frameGeometry();
  if (frame.width() == 0 || frame.height() == 0) return;
  if (!shadow->isVisible()) shadow->show();
  const int s = shadow->property(kSizeProperty).toInt();
  shadow->setGeometry(frame.left() - s, frame.top() - s, frame.width() + 2 * s,
                      frame.height() + 2 * s);
  PaintShadow(target, frame.width() + 2 * s, frame.height() + 2 * s);
}

void PaintShadow(QWidget* target, int width, int height) {
  ShadowWindow* shadow = ShadowWindowOf(target);
  if (!shadow) return;
  if (width == 0 || height == 0) {
    width = shadow->width();
    height = shadow->height();
  }
  if (width == 0 || height == 0) return;
  shadow->SetBitmap(RenderShadow(shadow->property(kColourProperty).toUInt(),
                                 shadow->property(kSizeProperty).toInt(), width, height,
                                 shadow->Images()));
}

}  // namespace corvale::chrome
