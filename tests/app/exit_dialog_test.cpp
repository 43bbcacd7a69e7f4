#include "exit_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "endpoints.h"
#include "error_guard.h"
#include "gbk_codec.h"
#include "recording_browser.h"
#include "recording_reporter.h"
#include "start_page_store.h"
#include "temporary_settings.h"

namespace taliven {
namespace {

using testing::RecordingBrowser;
using testing::RecordingReporter;
using testing::TemporarySettings;

QCheckBox& Offer(TFrmMsG& dialog) { return *dialog.findChild<QCheckBox*>(QStringLiteral("CheckBox1")); }
QPushButton& Yes(TFrmMsG& dialog) { return *dialog.findChild<QPushButton*>(QStringLiteral("Button1")); }
QPushButton& No(TFrmMsG& dialog) { return *dialog.findChild<QPushButton*>(QStringLiteral("Button2")); }

void Press(TFrmMsG& dialog, Qt::Key key) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(dialog.focusWidget(), &event);
}

// Answers every exit question as soon as it is on screen, and counts them.
// What the offer looked like when the question appeared is kept for checks.
class Answerer : public QObject {
 public:
  using Answer = std::function<void(TFrmMsG&)>;

  explicit Answerer(Answer answer) : answer_(std::move(answer)) { qApp->installEventFilter(this); }
  ~Answerer() override { qApp->removeEventFilter(this); }

  int asked = 0;
  bool offerShown = false;
  bool offerChecked = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = qobject_cast<TFrmMsG*>(watched);
    if (dialog && event->type() == QEvent::Show) {
      ++asked;
      QTimer::singleShot(0, dialog, [this, dialog] { Respond(*dialog); });
    }
    return false;
  }

 private:
  void Respond(TFrmMsG& dialog) {
    EXPECT_EQ(FrmMsG, &dialog);
    offerShown = Offer(dialog).isVisible();
    offerChecked = Offer(dialog).isChecked();
    answer_(dialog);
    if (dialog.isVisible()) {
      ADD_FAILURE() << "the answer left the question open";
      dialog.reject();
    }
  }

  Answer answer_;
};

const Answerer::Answer kYes = [](TFrmMsG& dialog) { Yes(dialog).click(); };
const Answerer::Answer kNo = [](TFrmMsG& dialog) { No(dialog).click(); };

// Runs `action` inside the application's event loop, as the main window's
// handlers run, and returns the status the loop ended with. Closing the
// question must not count as closing the program's last window: the main
// window is open whenever the question is asked.
constexpr int kStillRunning = 99;
int ExitStatusAfter(const std::function<void()>& action) {
  QApplication::setQuitOnLastWindowClosed(false);
  const auto restore = qScopeGuard([] { QApplication::setQuitOnLastWindowClosed(true); });
  QTimer stillRunning;
  stillRunning.setSingleShot(true);
  QObject::connect(&stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(kStillRunning); });
  QTimer::singleShot(0, qApp, [&] {
    action();
    stillRunning.start(50);
  });
  return QApplication::exec();
}

const QString kPartner = QString::fromLatin1(PartnerStartPageUrl);

class ExitQuestion : public ::testing::Test {
 protected:
  TemporarySettings settings_;
  RecordingReporter reporter_;
  RecordingBrowser browser_;
};

TEST_F(ExitQuestion, IsTheFormOfTheFixedLayout) {
  TFrmMsG dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("退出系统"));
  EXPECT_EQ(dialog.size(), QSize(236, 101)) << "outer 244 x 135 less the standard frame";
  // No window manager frames it here: the client area sits where it would
  // inside the standard frame at (500, 303).
  EXPECT_EQ(dialog.pos(), QPoint(500 + 4, 303 + 30));
  EXPECT_FALSE(dialog.windowFlags() &
               (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));

  struct Control {
    const char* name;
    QRect geometry;
  };
  for (const Control& c : {Control{"Image1", {9, 9, 41, 44}}, Control{"CheckBox1", {64, 44, 169, 17}},
                           Control{"Button1", {40, 69, 82, 25}}, Control{"Button2", {136, 69, 82, 25}}}) {
    auto* widget = dialog.findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(widget, nullptr) << c.name;
    EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
  }
  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label1"))->pos(), QPoint(64, 21));
  EXPECT_EQ(Offer(dialog).text(), QStringLiteral("设好站导航为首页"));
  EXPECT_EQ(Yes(dialog).text(), QStringLiteral("是(&Y)"));
  EXPECT_EQ(No(dialog).text(), QStringLiteral("否(&N)"));
  EXPECT_EQ(dialog.focusWidget(), &Yes(dialog));
}

TEST_F(ExitQuestion, OffersThePartnerUnlessItAlreadyIsTheStartPage) {
  QString otherSlash = kPartner;
  if (otherSlash.endsWith('/')) {
    otherSlash.chop(1);
  } else {
    otherSlash += '/';
  }
  struct Case {
    QVariant stored;  // invalid: no value
    bool offered;
  };
  const Case cases[] = {
      {QVariant(), true},
      {QString(), true},
      {kPartner, false},
      {" \t" + kPartner + "  ", false},
      {kPartner.toUpper(), true},
      {otherSlash, true},
      {QStringLiteral("http://www.taliven.example/"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.toString().toStdString());
    TemporarySettings::StoreStartPage(c.stored);
    Answerer answerer(kYes);

    EXPECT_TRUE(ConfirmExit());

    EXPECT_EQ(answerer.asked, 1);
    EXPECT_EQ(answerer.offerShown, c.offered);
    EXPECT_EQ(answerer.offerChecked, c.offered);
    EXPECT_EQ(TemporarySettings::StoredStartPage(), c.offered ? QVariant(kPartner) : c.stored);
  }
  EXPECT_TRUE(reporter_.messages().empty());
  EXPECT_EQ(FrmMsG, nullptr);
}

TEST_F(ExitQuestion, YesWithTheOfferUncheckedLeavesTheStoreAlone) {
  for (const QVariant& stored : {QVariant(), QVariant(QStringLiteral("http://x.example/"))}) {
    TemporarySettings::StoreStartPage(stored);
    Answerer answerer([](TFrmMsG& dialog) {
      Offer(dialog).setChecked(false);
      Yes(dialog).click();
    });

    EXPECT_TRUE(ConfirmExit());
    EXPECT_EQ(TemporarySettings::StoredStartPage(), stored);
  }
}

TEST_F(ExitQuestion, ADeclinedExitIsRefusedSilentlyAndChangesNothing) {
  const QVariant stored(QStringLiteral("http://x.example/"));
  struct Case {
    const char* how;
    Answerer::Answer answer;
  };
  const Case cases[] = {
      {"No button", kNo},
      {"closed by the window manager", [](TFrmMsG& dialog) { dialog.close(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    TemporarySettings::StoreStartPage(stored);
    Answerer answerer(c.answer);

    const int status = ExitStatusAfter([&] { EXPECT_THROW(LeaveAfterConfirmation(browser_), SilentAbort); });

    EXPECT_EQ(status, kStillRunning);
    EXPECT_EQ(answerer.asked, 1);
    EXPECT_EQ(TemporarySettings::StoredStartPage(), stored);
  }
  EXPECT_TRUE(browser_.opened.isEmpty());
  EXPECT_TRUE(reporter_.messages().empty());
}

TEST_F(ExitQuestion, AConfirmedExitEndsTheLoopWithSuccessAndOpensTheHomePageOnce) {
  Answerer answerer(kYes);

  const int status = ExitStatusAfter([&] { LeaveAfterConfirmation(browser_); });

  EXPECT_EQ(status, 0);
  EXPECT_EQ(answerer.asked, 1);
  EXPECT_EQ(browser_.opened, QStringList{QString::fromLatin1(VendorHomePageUrl)});
  EXPECT_EQ(TemporarySettings::StoredStartPage(), QVariant(kPartner));
}

TEST_F(ExitQuestion, AFailedWriteIsReportedAndRefusesTheExit) {
  const QString file = settings_.dir().filePath(QStringLiteral("plain-file"));
  QFile blocker(file);
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  TemporarySettings::UseLocation(file + "/config");
  Answerer answerer(kYes);

  const int status = ExitStatusAfter([&] { EXPECT_THROW(LeaveAfterConfirmation(browser_), SilentAbort); });

  EXPECT_EQ(status, kStillRunning);
  EXPECT_EQ(answerer.asked, 1);
  ASSERT_EQ(reporter_.messages().size(), 1u);
  const ErrorText report = SplitErrorMessage(reporter_.messages()[0]);
  EXPECT_EQ(report.sentence, "无法保存浏览器首页的设置。");
  EXPECT_NE(report.details.find("could not be saved to " + (file + "/config").toStdString()), std::string::npos)
      << report.details;
  EXPECT_TRUE(browser_.opened.isEmpty());
}

TEST_F(ExitQuestion, AStartPageThatIsNotATextIsReportedAndTheOfferStays) {
  TemporarySettings::StoreStartPage(QByteArray("http://x.example/"));
  Answerer answerer(kNo);

  EXPECT_FALSE(ConfirmExit());

  EXPECT_EQ(answerer.asked, 1);
  EXPECT_TRUE(answerer.offerShown);
  EXPECT_TRUE(answerer.offerChecked);
  ASSERT_EQ(reporter_.messages().size(), 1u);
  const ErrorText report = SplitErrorMessage(reporter_.messages()[0]);
  EXPECT_EQ(report.sentence, "无法读取浏览器首页的设置：保存的值不是文本。");
  EXPECT_EQ(report.details, "the stored start page is not a text but a QByteArray");
}

TEST_F(ExitQuestion, EnterAnswersWithTheFocusedButtonAndEscapeDoesNothing) {
  struct Case {
    std::vector<Qt::Key> keys;
    bool confirmed;
  };
  const Case cases[] = {
      {{Qt::Key_Escape, Qt::Key_Return}, true},
      {{Qt::Key_Enter}, true},
      {{Qt::Key_Tab, Qt::Key_Return}, false},
  };
  for (const Case& c : cases) {
    Answerer answerer([&](TFrmMsG& dialog) {
      for (Qt::Key key : c.keys) {
        ASSERT_TRUE(dialog.isVisible()) << "closed before key " << key;
        Press(dialog, key);
      }
    });
    EXPECT_EQ(ConfirmExit(), c.confirmed);
  }
}

}  // namespace
}  // namespace taliven
