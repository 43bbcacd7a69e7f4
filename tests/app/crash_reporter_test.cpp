#include "crash_reporter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

namespace taliven {
namespace {

using std::chrono::seconds;
using Verdict = ReportGate::Verdict;

const ReportGate::Clock::time_point kStart{};

struct Expected {
  bool show;
  bool log;
  int times;
};

void ExpectVerdict(const Verdict& verdict, Expected expected, const char* what) {
  EXPECT_EQ(verdict.show, expected.show) << what;
  EXPECT_EQ(verdict.log, expected.log) << what;
  if (verdict.log) {
    EXPECT_EQ(verdict.times, expected.times) << what;
  }
}

TEST(ReportGate, ReportsTheUsersOwnActionEveryTime) {
  ReportGate gate;
  for (int attempt = 0; attempt < 3; ++attempt) {
    ExpectVerdict(gate.Admit("bad number", ErrorSource::UserAction, kStart + seconds(attempt)), {true, true, 1},
                  "a paste, again and again");
    gate.Close();
  }
}

TEST(ReportGate, ShowsATicksErrorOnceAndLogsItsRepeatsOnceAMinuteWithTheirNumber) {
  ReportGate gate;
  const auto tick = [&](int second, const char* message = "bad seconds") {
    return gate.Admit(message, ErrorSource::TimerTick, kStart + seconds(second));
  };
  ExpectVerdict(tick(0), {true, true, 1}, "the first time");
  gate.Close();
  ExpectVerdict(tick(1), {false, false, 0}, "a repeat within the minute");
  ExpectVerdict(tick(30), {false, false, 0}, "a repeat within the minute");
  ExpectVerdict(tick(60), {false, true, 3}, "a minute after the last line: the three since it");
  ExpectVerdict(tick(61), {false, false, 0}, "the next minute begins");
  ExpectVerdict(tick(300), {false, true, 2}, "long after: the two since the last line");
  ExpectVerdict(tick(301, "another error"), {true, true, 1}, "each message is shown once");
}

TEST(ReportGate, NeverOpensASecondReport) {
  ReportGate gate;
  ASSERT_TRUE(gate.Admit("first", ErrorSource::UserAction, kStart).show);
  ExpectVerdict(gate.Admit("second", ErrorSource::UserAction, kStart), {false, true, 1}, "while one is open");
  ExpectVerdict(gate.Admit("tick", ErrorSource::TimerTick, kStart), {false, true, 1}, "while one is open");
  gate.Close();
  ExpectVerdict(gate.Admit("tick", ErrorSource::TimerTick, kStart + seconds(1)), {true, true, 1},
                "not yet shown, so shown now");
}

TEST(CreateReportBox, SaysWhatFailedAndThatTheProgramGoesOnWithTheTechnicalTextInTheDetails) {
  const auto box =
      CreateReportBox(ErrorMessage("无法测算“小一”：QQ号码必须是一个整数。", "'小一' is not a valid integer value"));
  EXPECT_EQ(box->windowTitle(), "Taliven");
  EXPECT_EQ(box->text(), QStringLiteral("无法测算“小一”：QQ号码必须是一个整数。"));
  EXPECT_EQ(box->informativeText(), QStringLiteral("程序会继续运行。"));
  EXPECT_EQ(box->detailedText(), QStringLiteral("'小一' is not a valid integer value"));
  EXPECT_EQ(box->buttons().size(), 2) << "OK and the details button";
}

TEST(CreateReportBox, GivesAnErrorFromElsewhereAGeneralSentence) {
  const auto box = CreateReportBox("std::bad_alloc");
  EXPECT_EQ(box->text(), QStringLiteral("程序遇到了一个意外的错误。"));
  EXPECT_EQ(box->detailedText(), "std::bad_alloc");
}

TEST(CreateReportBox, TakesTheMessageAsUtf8AndNothingElse) {
  // GBK bytes have no business in a message; they are not guessed at.
  const auto box = CreateReportBox("'\xD5\xC5\xC8\xFD' is not a valid integer value");  // 张三 in GBK
  EXPECT_EQ(box->detailedText(), QStringLiteral("'\uFFFD\uFFFD\uFFFD\uFFFD' is not a valid integer value"));
}

// The report on screen, if one is.
QMessageBox* ShownReport() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) return box;
  }
  return nullptr;
}

void RaiseFrom(ErrorSource source, const char* sentence) {
  RunGuarded([sentence] { throw std::runtime_error(ErrorMessage(sentence, "test")); }, source);
}

// The installed reporter: a tick's report is shown while its handler has
// already returned, so the timer goes on; once the report is closed, the
// next error is reported again.
TEST(InstalledReporter, ATicksReportLeavesItsHandlerAndTheNextErrorIsShownOnceItCloses) {
  InstallCrashReporter();
  bool heldUp = false;  // the tick waited for its report: closed from here so that the test ends
  QTimer closer;
  closer.setSingleShot(true);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    heldUp = true;
    if (QMessageBox* box = ShownReport()) box->button(QMessageBox::Ok)->click();
  });
  closer.start(2000);
  // (Plain messages: a box that draws Chinese here has the toolkit's font
  // matching leave memory at exit under the leak checker.)
  RaiseFrom(ErrorSource::TimerTick, "an error of a tick");
  closer.stop();
  ASSERT_FALSE(heldUp) << "the tick's handler waited for its report to close";
  QMessageBox* tick = ShownReport();
  ASSERT_NE(tick, nullptr) << "the tick's handler returned with its report on screen";
  EXPECT_EQ(tick->text(), "an error of a tick");
  EXPECT_EQ(tick->windowModality(), Qt::ApplicationModal);
  tick->button(QMessageBox::Ok)->click();
  ASSERT_TRUE(QTest::qWaitFor([] { return ShownReport() == nullptr; }));

  QString shown;
  QTimer::singleShot(0, [&] {
    if (QMessageBox* box = ShownReport()) {
      shown = box->text();
      box->button(QMessageBox::Ok)->click();
    }
  });
  RaiseFrom(ErrorSource::UserAction, "an error of a click");  // returns once the report is closed
  EXPECT_EQ(shown, "an error of a click");
  SetErrorReporter({});
}

// How a user closes a report: its button, the Escape key, or the close box
// of its frame (a close request from the window system).
enum class Closing { OkButton, EscapeKey, CloseBox };

void Close(QMessageBox& box, Closing how) {
  switch (how) {
    case Closing::OkButton: box.button(QMessageBox::Ok)->click(); break;
    case Closing::EscapeKey: QTest::keyClick(&box, Qt::Key_Escape); break;
    case Closing::CloseBox: {
      QCloseEvent request;
      QCoreApplication::sendEvent(box.windowHandle(), &request);
      break;
    }
  }
}

// What a report raised from `source` looked like, once the user closed it.
struct SeenReport {
  QString text;  // empty when none was shown
  Qt::WindowModality modality = Qt::NonModal;
  bool closed = false;
};

// Raises an error from `source` and has the user close its report `how` as
// soon as it is on screen. A user action's report holds its handler until
// then; a tick's is closed once its handler has returned.
SeenReport RaiseAndClose(ErrorSource source, const char* sentence, Closing how) {
  SeenReport seen;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    QMessageBox* box = ShownReport();
    if (box == nullptr) return;
    closer.stop();
    seen.text = box->text();
    seen.modality = box->windowModality();
    Close(*box, how);
  });
  closer.start(10);
  RaiseFrom(source, sentence);
  const bool shown = QTest::qWaitFor([&] { return !closer.isActive(); }, 2000);
  closer.stop();
  if (!shown) return seen;
  seen.closed = QTest::qWaitFor([] { return ShownReport() == nullptr; }, 2000);
  if (QMessageBox* stuck = ShownReport()) stuck->button(QMessageBox::Ok)->click();  // so that the test goes on
  return seen;
}

// Every report blocks the whole program while it is open, and however it is
// closed, the next error is shown again.
TEST(InstalledReporter, EveryReportIsApplicationModalAndReopensTheGateHoweverItIsClosed) {
  InstallCrashReporter();
  const struct {
    Closing how;
    const char* name;
  } closings[] = {{Closing::OkButton, "确定"}, {Closing::EscapeKey, "Esc"}, {Closing::CloseBox, "the close box"}};
  int raised = 0;
  for (const auto& closing : closings) {
    for (const ErrorSource source : {ErrorSource::TimerTick, ErrorSource::UserAction}) {
      SCOPED_TRACE(std::string(source == ErrorSource::TimerTick ? "a tick's report" : "a click's report") +
                   " closed with " + closing.name);
      // A tick's error is shown once a run: each case raises another.
      const std::string sentence = "error " + std::to_string(++raised);
      const SeenReport first = RaiseAndClose(source, sentence.c_str(), closing.how);
      EXPECT_EQ(first.text.toStdString(), sentence);
      EXPECT_EQ(first.modality, Qt::ApplicationModal);
      EXPECT_TRUE(first.closed);
      const SeenReport next = RaiseAndClose(ErrorSource::UserAction, "the error after it", Closing::OkButton);
      EXPECT_EQ(next.text, "the error after it") << "the next error was not shown";
    }
  }
  SetErrorReporter({});
}

// The details button is worded as the desktop's own dialogs word it, both
// before and after it opens the details.
TEST(InstalledReporter, WordsTheDetailsButtonAsTheDesktopsDialogsDo) {
  InstallCrashReporter();
  const auto box = CreateReportBox(ErrorMessage("a sentence", "the details"));
  QAbstractButton* details = nullptr;
  for (QAbstractButton* button : box->buttons()) {
    if (button != box->button(QMessageBox::Ok)) details = button;
  }
  ASSERT_NE(details, nullptr);
  EXPECT_EQ(details->text(), QStringLiteral("显示详细信息…"));
  details->click();
  EXPECT_EQ(details->text(), QStringLiteral("隐藏详细信息…"));
  SetErrorReporter({});
}

TEST(ReportLogLine, GivesTheSentenceTheDetailsAndTheNumberOfRepeats) {
  const std::string message = ErrorMessage("网页广告栏无法启动它的浏览组件。", "cannot load\nthe module");
  EXPECT_EQ(ReportLogLine(message, 1), "taliven: 网页广告栏无法启动它的浏览组件。 (cannot load; the module)\n");
  EXPECT_EQ(ReportLogLine(message, 12),
            "taliven: 网页广告栏无法启动它的浏览组件。 (cannot load; the module) [12 times since its last line]\n");
  EXPECT_EQ(ReportLogLine("std::bad_alloc", 1), "taliven: 程序遇到了一个意外的错误。 (std::bad_alloc)\n");
}

}  // namespace
}  // namespace taliven
