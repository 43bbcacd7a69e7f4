// The main window's two remote content panes: what start-up shows or hides,
// and how the timers step each pane through its pages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "main_window.h"
#include "main_window_doubles.h"
#include "recording_reporter.h"

namespace taliven {
namespace {

using taliven::testing::MainWindowDoubles;
using taliven::testing::RecordingPane;
using taliven::testing::TestServices;

struct Window {
  MainWindowDoubles doubles;
  std::unique_ptr<TFrmmain> frame;

  Window(std::optional<GbkText> schedule, std::optional<GbkText> flags1, std::optional<GbkText> flags2)
      : frame(std::make_unique<TFrmmain>(TestServices(doubles, schedule, flags1, flags2))) {}

  RecordingPane* banner() const { return frame->findChild<RecordingPane*>("EmbeddedWB2"); }
  RecordingPane* centre() const { return frame->findChild<RecordingPane*>("EmbeddedWB1"); }
  QTimer* timer(const char* name) const { return frame->findChild<QTimer*>(name); }
};

constexpr char kTwoPanes[] = "1>5>http://banner/1\r\n0>7>http://centre/1\r\n0>0>http://centre/2\r\n";

TEST(ContentPanes, FlagsSwitchEachPaneAndHiddenPanesMoveAway) {
  struct Case {
    std::optional<GbkText> schedule, flags1, flags2;
    bool centreShown, bannerShown;
    size_t flagsRequests;
  };
  const Case cases[] = {
      {kTwoPanes, "11", "11", true, true, 2},
      {kTwoPanes, "10", "10", true, false, 2},
      {kTwoPanes, "01", "01", false, true, 2},
      {kTwoPanes, "00", "00", false, false, 2},
      {"1>5>http://banner/1", "11", "11", true, true, 2},  // a single line is a schedule too
      {kTwoPanes, "1", "1", false, false, 2},              // no second byte
      {kTwoPanes, " 1", " 1", false, false, 1},            // not a digit: the block ends at once
      {kTwoPanes, std::nullopt, "11", false, false, 1},
      {"", "11", "11", false, false, 2},            // nothing to show, whatever the flags
      {std::nullopt, "11", "11", false, false, 0},  // no schedule: no flags request
  };
  for (const Case& c : cases) {
    Window window(c.schedule, c.flags1, c.flags2);
    window.frame->show();
    const std::string label = c.schedule.value_or("<fails>") + " / " + c.flags1.value_or("<fails>");
    EXPECT_EQ(window.centre()->isVisible(), c.centreShown) << label;
    EXPECT_EQ(window.banner()->isVisible(), c.bannerShown) << label;
    // A shown banner overhangs its strip on every side, covering the banner
    // picture; a shown centre pane covers the centre picture exactly.
    if (c.centreShown) {
      EXPECT_EQ(window.centre()->geometry(), window.frame->findChild<QWidget*>("Image15")->geometry()) << label;
    } else {
      EXPECT_EQ(window.centre()->y(), -1000) << label;
    }
    if (c.bannerShown) {
      EXPECT_EQ(window.banner()->geometry(), QRect(-12, -16, 803, 107)) << label;
    } else {
      EXPECT_EQ(window.banner()->y(), -200) << label;
    }
    EXPECT_EQ(window.doubles.flagsHttp->requested.size(), c.flagsRequests) << label;
    // A pane that will show pages readies the window before it first shows;
    // with none, the web engine is never loaded.
    for (RecordingPane* pane : {window.centre(), window.banner()}) {
      EXPECT_EQ(pane->preparations, pane->isVisible() ? 1 : 0) << label << " " << pane->objectName().toStdString();
      EXPECT_FALSE(pane->preparedOnScreen) << label;
    }
  }
}

TEST(ContentPanes, TheRequestsGoToTheVendorsTwoPaths) {
  Window window(kTwoPanes, "11", "11");
  EXPECT_EQ(window.doubles.scheduleHttp->requested,
            std::vector<std::string>{"http://vendor.test/Chinese/CPC/loginfo.html"});
  EXPECT_EQ(window.doubles.flagsHttp->requested,
            std::vector<std::string>(2, "http://vendor.test/Chinese/SysInfo/logFlagfee.htm"));
  EXPECT_EQ(window.frame->FLastLine, 2);
}

TEST(ContentPanes, TimersStepEachPaneThroughItsOwnPagesForTheirOwnSeconds) {
  Window window(kTwoPanes, "11", "11");
  EXPECT_EQ(window.timer("Timer1")->interval(), 1000);
  EXPECT_TRUE(window.timer("Timer1")->isActive());

  window.frame->Timer1Timer();
  EXPECT_EQ(window.banner()->navigated, QStringList{"http://banner/1"});
  EXPECT_EQ(window.timer("Timer1")->interval(), 5000);

  window.frame->Timer2Timer();
  EXPECT_EQ(window.timer("Timer2")->interval(), 7000);
  window.frame->Timer2Timer();  // 0 seconds: the page stays for good
  EXPECT_FALSE(window.timer("Timer2")->isActive());
  EXPECT_EQ(window.centre()->navigated, (QStringList{"http://centre/1", "http://centre/2"}));

  window.frame->Timer1Timer();  // the banner's only page is not reloaded,
  EXPECT_EQ(window.banner()->navigated.size(), 1);
  EXPECT_EQ(window.banner()->retries, 1) << "but shown anew should it have died";
}

TEST(ContentPanes, ASwitchedOffPaneNeverNavigates) {
  Window window(kTwoPanes, "10", "10");
  window.frame->Timer1Timer();
  window.frame->Timer2Timer();
  EXPECT_TRUE(window.banner()->navigated.isEmpty());
  EXPECT_EQ(window.banner()->retries, 0);
  EXPECT_EQ(window.centre()->navigated.size(), 1);
}

TEST(ContentPanes, LinesNamingNoWebPageAreSkippedInTheSameTickAndToldOnce) {
  const GbkText schedule =
      "0>5>file:///etc/passwd\r\n"
      "0>5>http://centre/1\r\n"
      "1>5>javascript:alert(1)\r\n"
      "0>5>data:text/html,<b>x</b>\r\n"
      "1>5>www.vendor.example/banner.htm\r\n"
      "0>5>about:blank\r\n"
      "0>6>vendor.example/centre.htm\r\n"
      "1>5>not a url\r\n"
      "0>5>/etc/hostname\r\n";
  taliven::testing::RecordingReporter reporter;
  Window window(schedule, "11", "11");
  ::testing::internal::CaptureStderr();
  for (int tick = 0; tick < 4; ++tick) {
    window.frame->Timer1Timer();
    window.frame->Timer2Timer();
  }
  QStringList told = QString::fromStdString(::testing::internal::GetCapturedStderr()).split('\n', Qt::SkipEmptyParts);
  told.sort();

  EXPECT_EQ(window.centre()->navigated, (QStringList{"http://centre/1", "http://vendor.example/centre.htm",
                                                     "http://centre/1", "http://vendor.example/centre.htm"}));
  EXPECT_EQ(window.timer("Timer2")->interval(), 6000);
  EXPECT_EQ(window.banner()->navigated, QStringList{"http://www.vendor.example/banner.htm"});
  EXPECT_TRUE(reporter.messages().empty());
  EXPECT_EQ(told, (QStringList{
                      "taliven: schedule line 1 names no http or https page, and is skipped: 'file:///etc/passwd'",
                      "taliven: schedule line 3 names no http or https page, and is skipped: 'javascript:alert(1)'",
                      "taliven: schedule line 4 names no http or https page, and is skipped: 'data:text/html,<b>x</b>'",
                      "taliven: schedule line 6 names no http or https page, and is skipped: 'about:blank'",
                      "taliven: schedule line 8 names no http or https page, and is skipped: 'not a url'",
                      "taliven: schedule line 9 names no http or https page, and is skipped: '/etc/hostname'",
                  }));
}

// The centre pane's pages by where they are, and where the vendor server is:
// a line may name no address more private than the server's own.
TEST(ContentPanes, LinesNamingAnAddressMorePrivateThanTheServersAreSkippedAndToldOnce) {
  const GbkText schedule =
      "0>5>http://127.0.0.1:8080/admin\r\n"
      "0>5>http://ads.example.com/1\r\n"
      "0>5>http://192.168.1.1/setup.cgi\r\n"
      "0>5>http://localhost/\r\n"
      "0>5>http://[::1]/\r\n"
      "0>5>http://100.64.0.1/\r\n"
      "0>5>http://203.0.113.5/2\r\n"
      "0>5>http://0x7f000001/\r\n";
  const QString publicPages[] = {"http://ads.example.com/1", "http://203.0.113.5/2"};
  const QString privatePages[] = {"http://192.168.1.1/setup.cgi", "http://100.64.0.1/"};
  const QString loopbackPages[] = {"http://127.0.0.1:8080/admin", "http://localhost/", "http://[::1]/",
                                   "http://127.0.0.1/"};  // 0x7f000001, as the pane is given it
  struct Case {
    const char* serverAddress;
    QStringList shown;
    int told;
  };
  const Case cases[] = {
      {"203.0.113.9", QStringList(std::begin(publicPages), std::end(publicPages)), 6},
      {"2001:db8::9", QStringList(std::begin(publicPages), std::end(publicPages)), 6},
      {"", QStringList(std::begin(publicPages), std::end(publicPages)), 6},  // where it was is unknown
      {"192.168.1.20",
       QStringList(std::begin(publicPages), std::end(publicPages)) +
           QStringList(std::begin(privatePages), std::end(privatePages)),
       4},
      {"127.0.0.1",
       QStringList(std::begin(publicPages), std::end(publicPages)) +
           QStringList(std::begin(privatePages), std::end(privatePages)) +
           QStringList(std::begin(loopbackPages), std::end(loopbackPages)),
       0},
  };
  for (const Case& c : cases) {
    MainWindowDoubles doubles;
    MainWindowServices services = TestServices(doubles, schedule, "10", "10");
    doubles.scheduleHttp->peerAddress = c.serverAddress;
    TFrmmain frame(std::move(services));
    ::testing::internal::CaptureStderr();
    for (int tick = 0; tick < 16; ++tick) frame.Timer2Timer();
    const QStringList told =
        QString::fromStdString(::testing::internal::GetCapturedStderr()).split('\n', Qt::SkipEmptyParts);

    QStringList shown = frame.findChild<RecordingPane*>("EmbeddedWB1")->navigated;
    shown.removeDuplicates();
    QStringList expected = c.shown;
    shown.sort();
    expected.sort();
    EXPECT_EQ(shown.join(' ').toStdString(), expected.join(' ').toStdString()) << c.serverAddress;
    EXPECT_EQ(told.size(), c.told) << c.serverAddress << told.join('\n').toStdString();
    for (const QString& line : told) {
      EXPECT_TRUE(line.contains("names an address more private than the server's own, and is skipped: '"))
          << line.toStdString();
    }
  }
}

TEST(ContentPanes, ABadSecondsFieldIsReportedOnEveryTickAndTheIndexStays) {
  taliven::testing::RecordingReporter reporter;
  Window window("1>5 >http://banner/bad\r\n", "11", "11");
  QTimer* timer = window.timer("Timer1");
  timer->setInterval(1);  // let the real timer and its guard deliver the ticks
  QElapsedTimer clock;
  clock.start();
  while (reporter.messages().size() < 2 && clock.elapsed() < 5000) QApplication::processEvents();

  ASSERT_GE(reporter.messages().size(), 2u);
  EXPECT_EQ(SplitErrorMessage(reporter.messages()[0]).details, "'5 ' is not a valid integer value");
  EXPECT_EQ(reporter.sources()[0], ErrorSource::TimerTick) << "shown once, not on every tick";
  EXPECT_EQ(window.frame->FBannerIndex, 0);
  EXPECT_GE(window.banner()->navigated.size(), 2) << "the page is requested before the seconds fail";
  EXPECT_EQ(timer->interval(), 1) << "the interval is left as it was";
}

}  // namespace
}  // namespace taliven
