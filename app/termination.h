// Ends the program through the main window's own close when SIGTERM, SIGINT or SIGHUP arrives (a
// desktop session ending without session management, kill, a closed terminal), so the folders
// are saved as on any other close. The handler only writes to a pipe; the window closes from the
// event loop, where Qt may be called.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QWidget>

namespace corvale::app {

// Holds the three signals back until a CloseOnTermination exists: one that arrives while the
// program starts waits for the window instead of ending the program unsaved. Threads started
// meanwhile keep them blocked, so only the UI thread ever takes them.
void HoldTerminationSignals();

class CloseOnTermination : public QObject {
 public:
  // Installs the handlers, then lets held signals through.
  explicit CloseOnTermination(QWidget* window);
  // Gives the three signals their default action back.
  ~CloseOnTermination() override;

 private:
  int pipe_[2] = {-1, -1};
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace corvale::app
