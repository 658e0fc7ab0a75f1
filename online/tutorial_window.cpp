#include "online/tutorial_window.h"

#include "chrome/window_parts.h"

namespace corvale::online {

TutorialWindow::TutorialWindow(platform::UiSeams& seams, Endpoints endpoints,
                               chrome::ShadowImages& shadows, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      seams_(seams),
      endpoints_(std::move(endpoints)) {
  setObjectName("TutorialWindow");
  setWindowTitle(QString::fromUtf8("使用教程"));
  setFixedSize(467, 282);
  setAttribute(Qt::WA_DeleteOnClose);
  chrome::PaintWindowBackground(this);

  图片框1 = new chrome::PictureBox(this, chrome::pictures::TitleStrip);
  图片框1->setObjectName("图片框1");
  图片框1->setGeometry(0, 0, 529, 40);
  图片框8 = new chrome::PictureBox(图片框1, chrome::pictures::Tutorial);
  图片框8->setObjectName("图片框8");
  图片框8->setGeometry(14, 1, 36, 36);
  透明标签6 = chrome::NamedLabel(图片框1, "透明标签6", "使用教程", {61, 1, 83, 40});
  透明标签6->setStyleSheet("color: white;");
  图片框3 = new chrome::PictureBox(图片框1, {});
  图片框3->setObjectName("图片框3");
  图片框3->setGeometry(396, 17, 20, 14);
  图片框2 = new chrome::PictureBox(图片框1, chrome::pictures::Close);
  图片框2->setObjectName("图片框2");
  图片框2->setGeometry(441, 4, 22, 22);
  超级按钮3 = chrome::NamedButton(this, "超级按钮3", "1.在线视频教程", {152, 86, 184, 28});
  超级按钮2 = chrome::NamedButton(this, "超级按钮2", "2.下载视频教程", {151, 129, 184, 28});
  超级按钮1 = chrome::NamedButton(this, "超级按钮1", "3.下载文档教程", {151, 170, 184, 28});
  图片框4 = new chrome::PictureBox(this, chrome::pictures::BottomStrip);
  图片框4->setObjectName("图片框4");
  图片框4->setGeometry(0, 264, 496, 35);

  chrome::DragWindowFrom(图片框1);
  chrome::OnClick(图片框2, QEvent::MouseButtonRelease, [this] { close(); });
  connect(超级按钮3, &QPushButton::pressed, this,
          [this] { OpenTutorialLink(seams_, endpoints_, "在线视频教程地址："); });
  connect(超级按钮2, &QPushButton::pressed, this,
          [this] { OpenTutorialLink(seams_, endpoints_, "视频下载地址："); });
  chrome::AttachShadow(this, shadows, 0, 3);
}

}  // namespace corvale::online
