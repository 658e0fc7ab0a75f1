#include "app/status_bar.h"

#include <QPainter>

namespace corvale::app {

void StatusBar::Clear() {
  panes_.clear();
  update();
}

void StatusBar::AddPane(const QString& text, int width, bool border) {
  panes_.push_back({text, width, border});
  update();
}

void StatusBar::RemovePane(int index) {
  if (index < 0 || index >= PaneCount()) return;
  panes_.erase(panes_.begin() + index);
  update();
}

void StatusBar::SetPaneText(int index, const QString& text) {
  if (index < 0 || index >= PaneCount()) return;
  panes_[std::size_t(index)].text = text;
  update(PaneRect(index));
}

void StatusBar::SetPaneWidth(int index, int width) {
  if (index < 0 || index >= PaneCount()) return;
  panes_[std::size_t(index)].width = width;
  update();
}

QString StatusBar::PaneText(int index) const {
  return index >= 0 && index < PaneCount() ? panes_[std::size_t(index)].text : QString();
}

int StatusBar::PaneWidth(int index) const {
  return index >= 0 && index < PaneCount() ? panes_[std::size_t(index)].width : 0;
}

QRect StatusBar::PaneRect(int index) const {
  int left = 0;
  for (int i = 0; i < PaneCount(); ++i) {
    const int width = panes_[std::size_t(i)].width < 0 ? std::max(0, this->width() - left)
                                                       : panes_[std::size_t(i)].width;
    if (i == index) return QRect(left, 0, width, height());
    left += width;
  }
  return {};
}

void StatusBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(0xf0, 0xf0, 0xf0));
  painter.setPen(QColor(0xc0, 0xc0, 0xc0));
  painter.drawLine(0, 0, width(), 0);
  for (int i = 0; i < PaneCount(); ++i) {
    const QRect r = PaneRect(i);
    const Pane& pane = panes_[std::size_t(i)];
    if (pane.border) {
      painter.setPen(QColor(0xa0, 0xa0, 0xa0));
      painter.drawRect(r.adjusted(1, 2, -2, -2));
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, pane.text);
  }
}

}  // namespace corvale::app
