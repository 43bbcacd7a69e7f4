#include "content_schedule.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "error_guard.h"
#include "local_servers.h"

namespace taliven {
namespace {

// A clock that stands still until a test moves it.
struct FakeClock {
  std::int64_t nowMs = 1000;
  MonotonicClock AsClock() {
    return [this] { return nowMs; };
  }
};

// Answers each GET with the next scripted body; nullopt fails the request, as
// does a request given no time. Each answer takes `takesMs` on the clock.
class ScriptedClient final : public HttpClient {
 public:
  explicit ScriptedClient(std::vector<std::optional<GbkText>> answers, FakeClock* clock = nullptr,
                          std::int64_t takesMs = 0)
      : answers_(std::move(answers)), clock_(clock), takesMs_(takesMs) {}

  GbkText Get(const std::string& url, std::int64_t timeLimitMs) override {
    urls.push_back(url);
    limits.push_back(timeLimitMs);
    if (timeLimitMs <= 0) throw HttpError("GET " + url + ": no time is left");
    if (clock_) clock_->nowMs += std::min(takesMs_, timeLimitMs);
    if (urls.size() > answers_.size() || !answers_[urls.size() - 1] || takesMs_ > timeLimitMs) {
      throw HttpError("GET " + url + ": refused");
    }
    return *answers_[urls.size() - 1];
  }
  std::string PeerAddress() const override { return "192.0.2.7"; }

  std::vector<std::string> urls;
  std::vector<std::int64_t> limits;

 private:
  std::vector<std::optional<GbkText>> answers_;
  FakeClock* clock_;
  std::int64_t takesMs_;
};

constexpr char kServer[] = "http://vendor.test";
const std::string kScheduleUrl = std::string(kServer) + "/Chinese/CPC/loginfo.html";
const std::string kFlagsUrl = std::string(kServer) + "/Chinese/SysInfo/logFlagfee.htm";

TEST(FetchRemoteContent, ReadsTheCentreFromTheFirstFlagsAndTheBannerFromTheSecond) {
  struct Case {
    GbkText first, second;
    int centreOn, bannerOn;
    std::size_t flagsRequests;
  };
  const Case cases[] = {
      {"11", "11", 1, 1, 2},
      {"10", "10", 1, 0, 2},
      {"01", "01", 0, 1, 2},
      {"00", "00", 0, 0, 2},
      {"21", "21", 2, 1, 2},
      {"19", "19", 1, 9, 2},
      {"10", "01", 1, 1, 2},
      // Any byte that is not a digit, or is missing, switches both off at once.
      {"1", "1", 0, 0, 2},
      {"11", "1", 0, 0, 2},
      {"1a", "1a", 0, 0, 2},
      {" 1", " 1", 0, 0, 1},
      {"a1", "a1", 0, 0, 1},
      {"+1", "+1", 0, 0, 1},
      {"", "", 0, 0, 1},
  };
  for (const Case& c : cases) {
    ScriptedClient schedule({"1>5>u"});
    ScriptedClient flags({c.first, c.second});
    const RemoteContent content = FetchRemoteContent(schedule, flags, kServer);
    EXPECT_EQ(content.centreOn, c.centreOn) << c.first << " " << c.second;
    EXPECT_EQ(content.bannerOn, c.bannerOn) << c.first << " " << c.second;
    EXPECT_EQ(content.schedule, "1>5>u");
    EXPECT_EQ(schedule.urls, std::vector<std::string>{kScheduleUrl});
    EXPECT_EQ(flags.urls, std::vector<std::string>(c.flagsRequests, kFlagsUrl)) << c.first << " " << c.second;
  }
}

TEST(FetchRemoteContent, AFailedFetchSwitchesBothOffAndKeepsTheSchedule) {
  ScriptedClient noSchedule({std::nullopt});
  ScriptedClient unusedFlags({"11", "11"});
  RemoteContent content = FetchRemoteContent(noSchedule, unusedFlags, kServer);
  EXPECT_EQ(content.schedule, "");
  EXPECT_TRUE(unusedFlags.urls.empty());
  EXPECT_EQ(content.centreOn, 0);
  EXPECT_EQ(content.bannerOn, 0);

  for (const auto& flagsAnswers :
       {std::vector<std::optional<GbkText>>{std::nullopt}, std::vector<std::optional<GbkText>>{"11", std::nullopt}}) {
    ScriptedClient schedule({"0>5>u"});
    ScriptedClient flags(flagsAnswers);
    content = FetchRemoteContent(schedule, flags, kServer);
    EXPECT_EQ(content.schedule, "0>5>u");
    EXPECT_EQ(content.centreOn, 0);
    EXPECT_EQ(content.bannerOn, 0);
  }
}

TEST(FetchRemoteContent, TheThreeRequestsShareOneBudget) {
  struct Case {
    std::int64_t scheduleTakes, flagsTake;
    std::vector<std::int64_t> scheduleLimit, flagsLimits;
    int centreOn, bannerOn;
  };
  const Case cases[] = {
      {0, 0, {2500}, {2500, 2500}, 1, 1},
      {1000, 700, {2500}, {1500, 800}, 1, 1},
      // The second flags request is given no time.
      {1300, 1200, {2500}, {1200, 0}, 0, 0},
      // The first one runs out of time.
      {2000, 1500, {2500}, {500}, 0, 0},
      // So does the schedule's: no flags request at all.
      {3000, 0, {2500}, {}, 0, 0},
  };
  for (const Case& c : cases) {
    FakeClock clock;
    ScriptedClient schedule({"1>5>u"}, &clock, c.scheduleTakes);
    ScriptedClient flags({"11", "11"}, &clock, c.flagsTake);
    const RemoteContent content = FetchRemoteContent(schedule, flags, kServer, clock.AsClock());
    const std::string label = std::to_string(c.scheduleTakes) + "+" + std::to_string(c.flagsTake);
    EXPECT_EQ(schedule.limits, c.scheduleLimit) << label;
    EXPECT_EQ(flags.limits, c.flagsLimits) << label;
    EXPECT_EQ(content.centreOn, c.centreOn) << label;
    EXPECT_EQ(content.bannerOn, c.bannerOn) << label;
  }
}

TEST(FetchRemoteContent, CarriesTheFlagsCookieOverRealHttp) {
  testing::LocalHttpServer server([](httplib::Server& s) {
    s.Get("/Chinese/CPC/loginfo.html", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("1>5>http://a/\r\n0>6>http://b/\r\n", "text/html");
    });
    s.Get("/Chinese/SysInfo/logFlagfee.htm", [](const httplib::Request& req, httplib::Response& res) {
      // Only a caller that kept the cookie learns that the banner is on.
      if (req.has_header("Cookie")) {
        res.set_content("01", "text/html");
      } else {
        res.set_header("Set-Cookie", "visit=1; Path=/");
        res.set_content("10", "text/html");
      }
    });
  });
  CurlHttpClient scheduleClient;
  CurlHttpClient flagsClient;
  const RemoteContent content = FetchRemoteContent(scheduleClient, flagsClient, server.BaseUrl());
  EXPECT_EQ(content.schedule, "1>5>http://a/\r\n0>6>http://b/\r\n");
  EXPECT_EQ(content.centreOn, 1);
  EXPECT_EQ(content.bannerOn, 1);

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].path, "/Chinese/CPC/loginfo.html");
  EXPECT_EQ(requests[1].path, "/Chinese/SysInfo/logFlagfee.htm");
  EXPECT_EQ(requests[2].path, "/Chinese/SysInfo/logFlagfee.htm");
  EXPECT_FALSE(requests[1].has_header("Cookie"));
  EXPECT_EQ(requests[2].get_header_value("Cookie"), "visit=1");
}

TEST(FetchRemoteContent, SwitchesBothOffWhenTheServerIsUnreachable) {
  const testing::RefusingPort nobody;
  CurlHttpClient scheduleClient;
  CurlHttpClient flagsClient;
  const RemoteContent content = FetchRemoteContent(scheduleClient, flagsClient, nobody.Url(""));
  EXPECT_EQ(content.schedule, "");
  EXPECT_EQ(content.centreOn, 0);
  EXPECT_EQ(content.bannerOn, 0);
}

TEST(Schedule, SplitsOnlyAtCrLf) {
  struct Case {
    GbkText text;
    int lines;
  };
  const Case cases[] = {
      {"", 0}, {"a", 1}, {"a\r\n", 1}, {"\r\n", 1}, {"a\r\n\r\n", 2}, {"a\nb\rc\r\nd", 2}, {"a\r\n\r\nb\r\n", 3},
  };
  for (const Case& c : cases) {
    const Schedule schedule(c.text);
    EXPECT_EQ(schedule.LineCount(), c.lines) << c.text;
    EXPECT_EQ(schedule.LastLine(), c.lines - 1) << c.text;
  }
  // Long lines stay whole.
  const GbkText url = "http://a/" + GbkText(10000, 'x');
  EXPECT_EQ(Schedule("1>5>" + url + "\r\n").GetScheduleField(ScheduleField::Url, 0), url);
}

TEST(Schedule, IsBlankWhenOnlyBlanksAndControlsRemain) {
  EXPECT_TRUE(Schedule("").IsBlank());
  EXPECT_TRUE(Schedule(" \r\n\t\r\n\r\n").IsBlank());
  EXPECT_FALSE(Schedule("\r\n>\r\n").IsBlank());
}

TEST(Schedule, TakesFieldsFromTheTrimmedLine) {
  struct Case {
    GbkText line, selector, seconds, url;
  };
  const Case cases[] = {
      {"  1>5>http://a/b  \t", "1", "5", "http://a/b"},
      {"1 >5>u", "1 ", "5", "u"},
      {"0> 5 >  u  ", "0", " 5 ", "u"},
      {"0>5>http://a/?x=>y>z", "0", "5", "http://a/?x=>y>z"},
      {"1>http://a/", "1", "", "http://a/"},
      {"no separator", "", "", ""},
      {">>", "", "", ""},
      {"横幅>３>网页", "横幅", "３", "网页"},
  };
  for (const Case& c : cases) {
    const Schedule schedule("x\r\n" + c.line + "\r\n");
    EXPECT_EQ(schedule.GetScheduleField(ScheduleField::Selector, 1), c.selector) << c.line;
    EXPECT_EQ(schedule.GetScheduleField(ScheduleField::Seconds, 1), c.seconds) << c.line;
    EXPECT_EQ(schedule.GetScheduleField(ScheduleField::Url, 1), c.url) << c.line;
  }
}

TEST(StrToInt, AcceptsTheStandardForms) {
  struct Case {
    const char* text;
    int value;
  };
  const Case cases[] = {
      {"0", 0},
      {"5", 5},
      {"   5", 5},
      {"+5", 5},
      {"-5", -5},
      {"007", 7},
      {"$1F", 31},
      {"0x1f", 31},
      {"0X1F", 31},
      {" -$10", -16},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"$7FFFFFFF", INT_MAX},
      {"-0x80000000", INT_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(StrToInt, RejectsAnythingElse) {
  for (const char* text : {"", " ", "5 ", "5a", "\t5", "- 5", "+-5", "1.5", "$", "0x", "x10", "$-5", "0x-5",
                           "2147483648", "-2147483649", "$80000000", "99999999999999999999999"}) {
    EXPECT_THROW(StrToInt(text), ConversionError) << text;
  }
}

TEST(StrToInt, NamesTheTextPrintableAndShort) {
  const auto messageOf = [](const GbkText& text) {
    try {
      StrToInt(text);
    } catch (const ConversionError& e) {
      return SplitErrorMessage(e.what()).details;
    }
    return std::string("no error");
  };
  EXPECT_EQ(messageOf("12 "), "'12 ' is not a valid integer value");
  EXPECT_EQ(messageOf("五\n"), "'\\xCE\\xE5\\x0A' is not a valid integer value");
  EXPECT_EQ(messageOf(GbkText(100, 'z')), "'" + GbkText(64, 'z') + "...' is not a valid integer value");
}

TEST(DisplayIntervalMs, StopsAtZeroOrBelowAndClampsOverflow) {
  struct Case {
    const char* seconds;
    int ms;
  };
  const Case cases[] = {
      {"5", 5000},          {" 5", 5000},           {"1", 1000}, {"0", 0}, {"-3", 0}, {"2147483", 2147483000},
      {"2147484", INT_MAX}, {"$7FFFFFFF", INT_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayIntervalMs(c.seconds), c.ms) << c.seconds;
  EXPECT_THROW(DisplayIntervalMs("5 "), ConversionError);
}

TEST(ContentPane, TableMatchesSelectorsTimersAndHiddenTops) {
  EXPECT_EQ(kBannerPane.selector, "1");
  EXPECT_EQ(kBannerPane.timer, 1);
  EXPECT_EQ(kBannerPane.hiddenTop, -200);
  EXPECT_EQ(kCentrePane.selector, "0");
  EXPECT_EQ(kCentrePane.timer, 2);
  EXPECT_EQ(kCentrePane.hiddenTop, -1000);
}

const PageFilter kShowsAll = [](int, const GbkText&) { return true; };

// Runs ticks the way the main window does, recording what the pane shows.
struct RecordingPane {
  explicit RecordingPane(const ContentPane& shownPane) : pane(shownPane) {}

  const ContentPane& pane;
  PageFilter canShow = kShowsAll;
  int switchValue = 1;
  int index = 0;
  int intervalMs = 1000;  // 0: the timer is stopped
  std::vector<GbkText> shown;
  std::vector<std::string> errors;

  void Tick(const Schedule& schedule) {
    if (intervalMs == 0) return;
    const std::optional<TickStep> step = DecideTick(schedule, pane, index, switchValue, canShow);
    if (!step) return;
    index = step->line;
    shown.push_back(step->url);
    try {
      intervalMs = DisplayIntervalMs(step->seconds);
      index = step->line + 1;
    } catch (const ConversionError& e) {
      errors.push_back(SplitErrorMessage(e.what()).details);
    }
  }

  void Ticks(const Schedule& schedule, int count) {
    for (int i = 0; i < count; ++i) Tick(schedule);
  }
};

TEST(DecideTick, EachPaneCyclesThroughItsOwnLines) {
  const Schedule schedule(
      "1>5>b1\r\n"
      "  0>7>c1\r\n"
      "\r\n"
      "1 >9>neither\r\n"
      "2>3>neither\r\n"
      ">4>neither\r\n"
      "0> 8>c2\r\n"
      "0>6>c3>q\r\n"
      "1>2>  b2  \r\n");
  struct Expected {
    const ContentPane& pane;
    std::vector<GbkText> shown;
    std::vector<int> intervals;
  };
  const Expected panes[] = {
      {kBannerPane, {"b1", "b2", "b1", "b2", "b1"}, {5000, 2000, 5000, 2000, 5000}},
      {kCentrePane, {"c1", "c2", "c3>q", "c1", "c2"}, {7000, 8000, 6000, 7000, 8000}},
  };
  for (const Expected& expected : panes) {
    RecordingPane pane{expected.pane};
    std::vector<int> intervals;
    for (int i = 0; i < 5; ++i) {
      pane.Tick(schedule);
      intervals.push_back(pane.intervalMs);
    }
    EXPECT_EQ(pane.shown, expected.shown) << expected.pane.selector;
    EXPECT_EQ(intervals, expected.intervals) << expected.pane.selector;
    EXPECT_TRUE(pane.errors.empty());
  }
}

TEST(DecideTick, BadSecondsStillNavigateAndKeepTheIndexOnTheirLine) {
  const Schedule schedule("0>5>a\r\n0>5 >bad\r\n0>6>c\r\n");
  RecordingPane centre{kCentrePane};
  centre.Ticks(schedule, 4);
  EXPECT_EQ(centre.shown, (std::vector<GbkText>{"a", "bad", "bad", "bad"}));
  EXPECT_EQ(centre.errors, std::vector<std::string>(3, "'5 ' is not a valid integer value"));
  EXPECT_EQ(centre.index, 1);
  EXPECT_EQ(centre.intervalMs, 5000);
}

TEST(DecideTick, ASinglePageIsShownOnceAndKept) {
  const Schedule schedule("0>5>c\r\n1>5>only\r\n0>5>d\r\n");
  RecordingPane banner{kBannerPane};
  banner.Ticks(schedule, 6);
  EXPECT_EQ(banner.shown, std::vector<GbkText>{"only"});
  EXPECT_EQ(banner.intervalMs, 5000);
}

TEST(DecideTick, DoesNothingWithoutSomethingToShow) {
  const Schedule withoutBanner("0>5>c\r\n1 >5>x\r\n");
  const Schedule blankLines(" \r\n\t\r\n");
  const Schedule empty("");
  EXPECT_FALSE(DecideTick(withoutBanner, kBannerPane, 0, 1, kShowsAll));
  EXPECT_FALSE(DecideTick(blankLines, kCentrePane, 0, 1, kShowsAll));
  EXPECT_FALSE(DecideTick(empty, kCentrePane, 0, 1, kShowsAll));
  EXPECT_FALSE(DecideTick(withoutBanner, kCentrePane, 0, 0, kShowsAll));
  EXPECT_TRUE(DecideTick(withoutBanner, kCentrePane, 0, 5, kShowsAll));
}

TEST(DecideTick, ZeroOrNegativeSecondsStopThePaneOnItsPage) {
  for (const GbkText seconds : {"0", "-1"}) {
    const Schedule schedule("0>" + seconds + ">first\r\n0>5>second\r\n");
    RecordingPane centre{kCentrePane};
    centre.Ticks(schedule, 4);
    EXPECT_EQ(centre.shown, std::vector<GbkText>{"first"}) << seconds;
    EXPECT_EQ(centre.intervalMs, 0);
  }
}

TEST(DecideTick, PassesOverLinesThePaneCannotShowInTheSameTick) {
  const Schedule schedule(
      "0>5>bad:1\r\n"
      "0>5>c1\r\n"
      "1>5>bad:banner\r\n"
      "0>5>bad:2\r\n"
      "0>5>bad:3\r\n"
      "0>6>c2\r\n"
      "0>5>bad:4\r\n");
  std::vector<int> asked;
  RecordingPane centre{kCentrePane};
  centre.canShow = [&asked](int line, const GbkText& url) {
    asked.push_back(line);
    return !url.starts_with("bad:");
  };
  centre.Ticks(schedule, 5);
  EXPECT_EQ(centre.shown, (std::vector<GbkText>{"c1", "c2", "c1", "c2", "c1"}));
  EXPECT_TRUE(centre.errors.empty());
  EXPECT_EQ(std::set<int>(asked.begin(), asked.end()), (std::set<int>{0, 1, 3, 4, 5, 6}))
      << "only the pane's own lines are offered to it";

  // A pane that can show none of its lines, or only the one on show, stays put.
  RecordingPane stuck{kCentrePane};
  stuck.canShow = [](int, const GbkText& url) { return url == "c1"; };
  stuck.Ticks(schedule, 3);
  EXPECT_EQ(stuck.shown, std::vector<GbkText>{"c1"});
  EXPECT_FALSE(DecideTick(schedule, kCentrePane, 0, 1, [](int, const GbkText&) { return false; }));
}

}  // namespace
}  // namespace taliven
