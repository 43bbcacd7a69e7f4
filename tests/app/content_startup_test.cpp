// The main window's start-up against a vendor server that misbehaves, over
// real HTTP on 127.0.0.1, and against a name server that never answers:
// whatever they do, the window is on screen within 3 s of its creation,
// nothing is reported, and the window goes on working.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

#include "content_schedule.h"
#include "http_client.h"
#include "local_servers.h"
#include "main_window.h"
#include "main_window_doubles.h"
#include "recording_reporter.h"

namespace taliven {
namespace {

using testing::DeadNameServer;
using testing::LocalHttpServer;
using testing::RawHttpServer;
using testing::RecordingPane;
using testing::RefusingPort;

// A vendor server for one case: its address, and whatever keeps it running.
struct Vendor {
  std::string url;
  std::shared_ptr<void> alive;
};

template <class Server>
Vendor Serving(std::shared_ptr<Server> server) {
  return {server->Url(""), server};
}

Vendor ServingRaw(std::string answer, std::string repeat = {}, int intervalMs = 0) {
  return Serving(std::make_shared<RawHttpServer>(std::move(answer), std::move(repeat), intervalMs));
}

// A well-behaved server with this schedule and both panes on; each answer
// takes `delayMs`.
Vendor ServingSchedule(std::string schedule, int delayMs = 0) {
  return Serving(std::make_shared<LocalHttpServer>([schedule = std::move(schedule), delayMs](httplib::Server& s) {
    const auto answer = [delayMs](const std::string& body) {
      return [body, delayMs](const httplib::Request&, httplib::Response& res) {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        res.set_content(body, "text/html");
      };
    };
    s.Get(kSchedulePath, answer(schedule));
    s.Get(kFlagsPath, answer("11"));
  }));
}

constexpr char kGoodSchedule[] = "1>5>http://banner.test/1\r\n0>5>http://centre.test/1\r\n";

// The vendor's own lines of other schemes, and one without a scheme.
constexpr char kMixedSchedule[] =
    "0>5>file:///etc/passwd\r\n"
    "1>5>javascript:alert(document.cookie)\r\n"
    "0>5>data:text/html,<script>alert(1)</script>\r\n"
    "1>5>http://banner.test/1\r\n"
    "0>5>www.vendor.example/centre.htm\r\n";

// 100,000 lines within the size cap; the panes' own lines come last, so
// every tick searches them all.
std::string HugeSchedule() {
  std::string schedule;
  for (int line = 0; line < 99'998; ++line) schedule += "2>1>x.cn\r\n";
  schedule += "0>1>c.cn\r\n1>1>b.cn\r\n";
  return schedule;
}

struct StartupCase {
  const char* name;
  std::function<Vendor()> vendor;
  bool panesOn;
  int nameLookups = 0;  // taken by the dead name server
};

void PrintTo(const StartupCase& c, std::ostream* out) { *out << c.name; }

const StartupCase kCases[] = {
    {"GoodServer", [] { return ServingSchedule(kGoodSchedule); }, true},
    {"RefusedConnection", [] { return Serving(std::make_shared<RefusingPort>()); }, false},
    {"SilentServer", [] { return Serving(std::make_shared<RawHttpServer>(std::nullopt)); }, false},
    {"Trickle", [] { return ServingRaw("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", "x", 100); }, false},
    // Each answer whole and sound, after 1.2 s: the budget runs out during the
    // second flags request.
    {"SlowLegalServer", [] { return ServingSchedule(kGoodSchedule, 1200); }, false},
    {"FiftyMegabyteBody",
     [] { return ServingRaw("HTTP/1.1 200 OK\r\nContent-Length: 52428800\r\n\r\n", std::string(65536, 'x')); }, false},
    {"EndlessChunkedBody",
     [] {
       return ServingRaw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n",
                         "10000\r\n" + std::string(65536, 'x') + "\r\n");
     },
     false},
    {"MovedPermanently",
     [] { return ServingRaw("HTTP/1.1 301 Moved Permanently\r\nLocation: /\r\nContent-Length: 0\r\n\r\n"); }, false},
    {"Found", [] { return ServingRaw("HTTP/1.1 302 Found\r\nLocation: /\r\nContent-Length: 0\r\n\r\n"); }, false},
    {"LocationOn200",
     [] { return ServingRaw("HTTP/1.1 200 OK\r\nLocation: http://elsewhere.test/\r\nContent-Length: 2\r\n\r\n11"); },
     false},
    {"GarbageStatusLine", [] { return ServingRaw("SSH-2.0-OpenSSH_9.2\r\n\r\n"); }, false},
    {"DeadNameServer",
     [] {
       return Vendor{"http://vendor.unanswered.test", std::make_shared<DeadNameServer>()};
     },
     false, 1},
    {"SchemesOtherThanHttp", [] { return ServingSchedule(kMixedSchedule); }, true},
    {"HundredThousandLines", [] { return ServingSchedule(HugeSchedule()); }, true},
};

MainWindowServices OverRealHttp(const std::string& serverUrl) {
  MainWindowServices services;
  services.browser = std::make_unique<testing::RecordingBrowser>();
  services.scheduleHttp = std::make_unique<CurlHttpClient>();
  services.flagsHttp = std::make_unique<CurlHttpClient>();
  services.createPane = [](QWidget* parent) -> WebPane* { return new RecordingPane(parent); };
  services.serverUrl = serverUrl;
  return services;
}

class ContentStartup : public ::testing::TestWithParam<StartupCase> {};

TEST_P(ContentStartup, TheWindowIsOnScreenWithinTheBudgetAndGoesOnWorking) {
  const StartupCase& c = GetParam();
  const Vendor vendor = c.vendor();
  testing::RecordingReporter reporter;
  const long lookups = DeadNameServer::Lookups();

  QElapsedTimer clock;
  clock.start();
  TFrmmain window(OverRealHttp(vendor.url));
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const qint64 onScreenMs = clock.elapsed();
  EXPECT_LT(onScreenMs, kOnScreenWithinMs);
  EXPECT_EQ(DeadNameServer::Lookups() - lookups, c.nameLookups);
  std::printf("%s: on screen after %lld ms\n", c.name, static_cast<long long>(onScreenMs));

  auto* banner = window.findChild<RecordingPane*>("EmbeddedWB2");
  auto* centre = window.findChild<RecordingPane*>("EmbeddedWB1");
  EXPECT_EQ(banner->isVisible(), c.panesOn);
  EXPECT_EQ(centre->isVisible(), c.panesOn);

  // The timers tick through their guards, and the window answers its events.
  QTest::qWait(1300);
  EXPECT_TRUE(reporter.messages().empty()) << reporter.messages().front();
  for (QWidget* shown : QApplication::topLevelWidgets()) {
    if (shown->isVisible()) {
      EXPECT_EQ(shown, &window) << shown->metaObject()->className();
    }
  }
  if (c.panesOn) {
    EXPECT_FALSE(banner->navigated.isEmpty());
    EXPECT_FALSE(centre->navigated.isEmpty());
    for (const QString& page : banner->navigated + centre->navigated) {
      EXPECT_TRUE(page.startsWith("http://")) << page.toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(HostileNetwork, ContentStartup, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<StartupCase>& info) { return info.param.name; });

TEST(ContentStartup, ATickOfAHundredThousandLineScheduleKeepsTheWindowResponsive) {
  const Vendor vendor = ServingSchedule(HugeSchedule());
  TFrmmain window(OverRealHttp(vendor.url));
  ASSERT_EQ(window.FLastLine, 99'999);
  for (int tick = 0; tick < 3; ++tick) {
    QElapsedTimer clock;
    clock.start();
    window.Timer1Timer();
    window.Timer2Timer();
    EXPECT_LT(clock.elapsed(), 250) << "a tick this long freezes the window";
  }
  EXPECT_EQ(window.findChild<RecordingPane*>("EmbeddedWB1")->navigated, QStringList{"http://c.cn"});
}

}  // namespace
}  // namespace taliven
