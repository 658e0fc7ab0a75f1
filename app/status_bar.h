// 状态条1: a row of panes, each with a text, a width (-1 reaches to the right edge) and a border
// or none. Long commands rebuild it and lay 进度条1 over pane 1.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

namespace corvale::app {

class StatusBar : public QWidget {
 public:
  explicit StatusBar(QWidget* parent) : QWidget(parent) {}

  void Clear();
  void AddPane(const QString& text, int width, bool border = true);
  void RemovePane(int index);
  void SetPaneText(int index, const QString& text);
  void SetPaneWidth(int index, int width);
  int PaneCount() const { return int(panes_.size()); }
  QString PaneText(int index) const;
  int PaneWidth(int index) const;
  // Left, top, width and height of a pane inside the bar.
  QRect PaneRect(int index) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Pane {
    QString text;
    int width;
    bool border;
  };
  std::vector<Pane> panes_;
};

}  // namespace corvale::app
