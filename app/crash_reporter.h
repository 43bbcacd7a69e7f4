#pragma once
// The program-wide error reporter: every error that escapes a handler is
// shown to the user in a dialog and the program goes on.

#include <QApplication>
#include <QSet>
#include <QString>
#include <string>

namespace taliven {

// Installs the dialog reporter. A given message is shown at most once per
// run and never while another report is open; repeats go to standard error.
void InstallCrashReporter();

// Decides which reports reach the user: a given message once per run, and
// never a second dialog while one is open.
class ReportGate {
 public:
  // True when `message` is to be shown now; call Close() once it is dismissed.
  bool Open(const QString& message);
  void Close() { open_ = false; }

 private:
  QSet<QString> shown_;
  bool open_ = false;
};

// Our own messages are UTF-8; errors raised by the GBK-text logic may carry
// GBK bytes of the user's input.
QString DecodeReportMessage(const std::string& message);

// The application object, with a last-resort catch around event delivery
// for anything a handler's own guard did not catch.
class TalivenApplication final : public QApplication {
 public:
  TalivenApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace taliven
