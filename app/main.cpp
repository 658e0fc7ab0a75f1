// StartUp: the program's entry. Creates the process-wide records, refuses a third running copy,
// opens MainWindow and runs the event loop until it closes.
#include <QApplication>

#include "app/app_records.h"
#include "app/main_window.h"
#include "app/qt_texts.h"
#include "app/single_instance.h"
#include "app/termination.h"
#include "chrome/image_holder.h"
#include "platform/qt_ui_seams.h"

int main(int argc, char** argv) {
  using namespace corvale;
  app::HoldTerminationSignals();
  QApplication application(argc, argv);
  // Lets the desktop match the window to its menu entry (and its icon).
  QGuiApplication::setDesktopFileName("org.corvale.Corvale");
  app::UseChineseQtTexts(application);
  // Records live until exit; the windows get them handed in.
  app::AppRecords records;
  platform::QtUiSeams seams;
  chrome::StartImageSupport();

  if (!app::SingleInstanceCheck()) {
    seams.ShowMessage("Corvale已经运行！", platform::kDefaultCaption,
                      platform::MessageIcon::Information, platform::MessageButtons::Ok);
    return 0;
  }

  app::MainWindow window(records, seams);
  QObject::connect(&window, &app::MainWindow::closed, &application, &QApplication::quit);
  new app::CloseOnTermination(&window);
  window.show();
  // The window is up at once; the check's message, if any, follows its answer.
  window.StartUpdateCheck();
  return application.exec();
}
