// TutorialWindow, "使用教程": two buttons that open the tutorial addresses the online service
// names.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "chrome/shadow.h"
#include "online/online_services.h"

namespace corvale::online {

class TutorialWindow : public QWidget {
  Q_OBJECT

 public:
  TutorialWindow(platform::UiSeams& seams, Endpoints endpoints, chrome::ShadowImages& shadows,
                 QWidget* parent = nullptr);

  QWidget* 图片框1;
  QWidget* 图片框8;
  QLabel* 透明标签6;
  QWidget* 图片框3;
  QWidget* 图片框2;
  QPushButton* 超级按钮3;
  QPushButton* 超级按钮2;
  QPushButton* 超级按钮1;
  QWidget* 图片框4;

 private:
  platform::UiSeams& seams_;
  Endpoints endpoints_;
};

}  // namespace corvale::online
