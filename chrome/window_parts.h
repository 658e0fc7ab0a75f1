// Parts of the frameless windows: a picture box drawn by a painter function, mouse hooks for
// controls that react to a press or a release, dragging, and the pictures of the title strips.
#pragma once

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <vector>

namespace corvale::chrome {

using PaintFunction = std::function<void(QPainter&, const QRect&)>;

// A picture box: draws itself with its painter function.
class PictureBox : public QWidget {
 public:
  PictureBox(QWidget* parent, PaintFunction paint) : QWidget(parent), paint_(std::move(paint)) {}

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  PaintFunction paint_;
};

// Makes the widget a button: action runs when the left button does `type` (press or release) on
// it, and the widget keeps every left press, release and double click for itself, so none travels
// on to the strip or the window behind it, where a press starts a window move.
void OnClick(QWidget* widget, QEvent::Type type, std::function<void()> action);
// A left press on the widget moves its window with the mouse.
void DragWindowFrom(QWidget* widget);
// Starts moving the widget's window with the mouse, but only while the left button is still down:
// after a modal box that the same press opened, the button is up, and a move would glue the window
// to the pointer until the next click.
void StartWindowMove(QWidget* widget);
// Every move that StartWindowMove starts goes through the mover (by default
// QWindow::startSystemMove); tests put their own in to see the requests. Returns the previous one.
using WindowMover = void (*)(QWindow* window);
WindowMover SetWindowMover(WindowMover mover);
// A double click selects the whole text of an edit box.
void SelectAllOnDoubleClick(QWidget* edit);
// A label without background, at the given place.
QLabel* TransparentLabel(QWidget* parent, const char* text, QRect place);

// Controls created at their place with their system name as object name, so tests and tools find
// each by the name its users' manual uses.
QLabel* NamedLabel(QWidget* parent, const char* name, const char* text, QRect place);
QPushButton* NamedButton(QWidget* parent, const char* name, const char* caption, QRect place);
QGroupBox* NamedGroup(QWidget* parent, const char* name, const char* title, QRect place);
QLineEdit* NamedEdit(QWidget* parent, const char* name, QRect place);
// The light background the frameless windows share.
void PaintWindowBackground(QWidget* window);

// The pictures of the title strips, drawn rather than shipped.
namespace pictures {
void TitleStrip(QPainter& p, const QRect& r);
void Logo(QPainter& p, const QRect& r);
void Settings(QPainter& p, const QRect& r);
void Tutorial(QPainter& p, const QRect& r);
void Update(QPainter& p, const QRect& r);
void Emblem(QPainter& p, const QRect& r);
void Minimise(QPainter& p, const QRect& r);
void Close(QPainter& p, const QRect& r);
void BottomStrip(QPainter& p, const QRect& r);
}  // namespace pictures

}  // namespace corvale::chrome
