#pragma once
// The program-wide error reporter: every error that escapes a handler is
// shown to the user in a dialog and the program goes on.

#include <QApplication>

namespace taliven {

// Installs the dialog reporter. A given message is shown at most once per
// run and never while another report is open; repeats go to standard error.
void InstallCrashReporter();

// The application object, with a last-resort catch around event delivery
// for anything a handler's own guard did not catch.
class TalivenApplication final : public QApplication {
 public:
  TalivenApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace taliven
