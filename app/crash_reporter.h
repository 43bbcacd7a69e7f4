#pragma once
// The program-wide error reporter: every error that escapes a handler is
// reported to the user in a dialog, and the program goes on.

#include <QApplication>
#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "error_guard.h"

class QMessageBox;

namespace taliven {

// Installs the dialog reporter, which follows ReportGate and writes every
// report to standard error as well.
void InstallCrashReporter();

// Decides what becomes of each reported error. One that the user's own action
// caused (a click, a key, a paste) is shown every time. One that a timer tick
// raised is shown once per run; its repeats go to standard error at most once
// a minute, with their number. Nothing is shown while a report is open.
class ReportGate {
 public:
  using Clock = std::chrono::steady_clock;

  struct Verdict {
    bool show = false;  // open a report now, and call Close() once it is dismissed
    bool log = false;   // write it to standard error now
    int times = 1;      // how often it came since it was last written there
  };

  Verdict Admit(const std::string& message, ErrorSource source, Clock::time_point now);
  void Close() { open_ = false; }

 private:
  struct TickError {
    bool shown = false;
    int unwritten = 0;
    Clock::time_point written;
  };

  std::map<std::string, TickError> ticks_;
  bool open_ = false;
};

// The report of an error's message: the sentence that says what failed (a
// general one for an error the program did not raise itself), that the
// program goes on, and the technical text under the details button.
std::unique_ptr<QMessageBox> CreateReportBox(const std::string& message, QWidget* parent = nullptr);

// The line standard error gets for a message that came `times` times since
// its last line there.
std::string ReportLogLine(const std::string& message, int times);

// The application object, with a last-resort catch around event delivery
// for anything a handler's own guard did not catch.
class TalivenApplication final : public QApplication {
 public:
  TalivenApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace taliven
