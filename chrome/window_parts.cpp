#include "chrome/window_parts.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>
#include <utility>

namespace corvale::chrome {
namespace {

bool IsLeftButtonEvent(QEvent* event) {
  const QEvent::Type type = event->type();
  return (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
          type == QEvent::MouseButtonDblClick) &&
         static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
}

// Runs an action on one kind of left-button event; with `keepAll` the widget keeps every left
// press, release and double click, as a button does.
class MouseHook : public QObject {
 public:
  MouseHook(QWidget* widget, QEvent::Type type, bool keepAll, std::function<void()> action)
      : QObject(widget), type_(type), keepAll_(keepAll), action_(std::move(action)) {
    widget->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (!IsLeftButtonEvent(event)) return false;
    const bool mine = event->type() == type_;
    if (mine) action_();
    return keepAll_ || mine;
  }

 private:
  QEvent::Type type_;
  bool keepAll_;
  std::function<void()> action_;
};

void StartSystemMove(QWindow* window) { window->startSystemMove(); }

WindowMover windowMover = StartSystemMove;

const QColor kStripTop(0x1f, 0x6f, 0xc5);
const QColor kStripBottom(0x15, 0x52, 0x9b);
const QColor kIconInk(Qt::white);

QPen IconPen(qreal width) {
  return QPen(kIconInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  if (paint_) paint_(painter, rect());
}

void OnClick(QWidget* widget, QEvent::Type type, std::function<void()> action) {
  new MouseHook(widget, type, true, std::move(action));
}

void DragWindowFrom(QWidget* widget) {
  new MouseHook(widget, QEvent::MouseButtonPress, false, [widget] { StartWindowMove(widget); });
}

void StartWindowMove(QWidget* widget) {
  if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) return;
  if (QWindow* window = widget->window()->windowHandle()) windowMover(window);
}

WindowMover SetWindowMover(WindowMover mover) { return std::exchange(windowMover, mover); }

void SelectAllOnDoubleClick(QWidget* edit) {
  auto* line = qobject_cast<QLineEdit*>(edit);
  new MouseHook(edit, QEvent::MouseButtonDblClick, false, [line] {
    if (line) line->selectAll();
  });
}

QLabel* TransparentLabel(QWidget* parent, const char* text, QRect place) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setGeometry(place);
  label->setAttribute(Qt::WA_TranslucentBackground);
  return label;
}

QLabel* NamedLabel(QWidget* parent, const char* name, const char* text, QRect place) {
  QLabel* label = TransparentLabel(parent, text, place);
  label->setObjectName(QString::fromUtf8(name));
  return label;
}

QPushButton* NamedButton(QWidget* parent, const char* name, const char* caption, QRect place) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setGeometry(place);
  button->setAutoDefault(false);
  return button;
}

QGroupBox* NamedGroup(QWidget* parent, const char* name, const char* title, QRect place) {
  auto* group = new QGroupBox(QString::fromUtf8(title), parent);
  group->setObjectName(QString::fromUtf8(name));
  group->setGeometry(place);
  return group;
}

QLineEdit* NamedEdit(QWidget* parent, const char* name, QRect place) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromUtf8(name));
  edit->setGeometry(place);
  return edit;
}

void PaintWindowBackground(QWidget* window) {
  window->setAutoFillBackground(true);
  QPalette background = window->palette();
  background.setColor(QPalette::Window, QColor(0xf4, 0xf7, 0xfb));
  window->setPalette(background);
}

namespace pictures {

void TitleStrip(QPainter& p, const QRect& r) {
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0, kStripTop);
  fill.setColorAt(1, kStripBottom);
  p.fillRect(r, fill);
}

void BottomStrip(QPainter& p, const QRect& r) { p.fillRect(r, QColor(0xe8, 0xef, 0xf7)); }

void Logo(QPainter& p, const QRect& r) {
  QFont font = p.font();
  font.setPixelSize(r.height() * 3 / 4);
  font.setBold(true);
  p.setFont(font);
  p.setPen(kIconInk);
  p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, "Corvale");
}

void Emblem(QPainter& p, const QRect& r) {
  // A sieve: a bowl with holes.
  const QRectF bowl = QRectF(r).adjusted(6, 10, -6, -6);
  p.setPen(IconPen(2.5));
  p.drawChord(bowl, 0, -180 * 16);
  p.drawLine(QPointF(bowl.left() - 2, bowl.center().y()),
             QPointF(bowl.right() + 2, bowl.center().y()));
  p.setBrush(kIconInk);
  for (int i = 0; i < 3; ++i) {
    p.drawEllipse(QPointF(bowl.left() + bowl.width() * (i + 1) / 4, bowl.center().y() + 6), 2, 2);
  }
}

void Settings(QPainter& p, const QRect& r) {
  // A funnel: the filter.
  const QRectF b = QRectF(r).adjusted(10, 10, -10, -10);
  QPainterPath funnel;
  funnel.moveTo(b.topLeft());
  funnel.lineTo(b.topRight());
  funnel.lineTo(b.center().x() + b.width() / 10, b.center().y() + 2);
  funnel.lineTo(b.center().x() + b.width() / 10, b.bottom());
  funnel.lineTo(b.center().x() - b.width() / 10, b.bottom() - 4);
  funnel.lineTo(b.center().x() - b.width() / 10, b.center().y() + 2);
  funnel.closeSubpath();
  p.setPen(IconPen(2.5));
  p.drawPath(funnel);
}

void Tutorial(QPainter& p, const QRect& r) {
  const QRectF b = QRectF(r).adjusted(8, 8, -8, -8);
  p.setPen(IconPen(2.5));
  p.drawEllipse(b);
  QPainterPath play;
  play.moveTo(b.center() + QPointF(-b.width() / 8, -b.height() / 5));
  play.lineTo(b.center() + QPointF(b.width() / 5, 0));
  play.lineTo(b.center() + QPointF(-b.width() / 8, b.height() / 5));
  play.closeSubpath();
  p.fillPath(play, kIconInk);
}

void Update(QPainter& p, const QRect& r) {
  const QRectF b = QRectF(r).adjusted(10, 10, -10, -10);
  p.setPen(IconPen(3));
  p.drawArc(b, 60 * 16, 300 * 16);
  const QPointF tip(b.center().x() + b.width() / 4, b.top() + 2);
  p.drawLine(tip, tip + QPointF(-8, -5));
  p.drawLine(tip, tip + QPointF(-6, 7));
}

void Minimise(QPainter& p, const QRect& r) {
  p.setPen(IconPen(2));
  p.drawLine(QPointF(r.left() + 3, r.center().y() + 1), QPointF(r.right() - 3, r.center().y() + 1));
}

void Close(QPainter& p, const QRect& r) {
  p.setPen(IconPen(2));
  const QRectF b = QRectF(r).adjusted(6, 6, -6, -6);
  p.drawLine(b.topLeft(), b.bottomRight());
  p.drawLine(b.topRight(), b.bottomLeft());
}

}  // namespace pictures
}  // namespace corvale::chrome
