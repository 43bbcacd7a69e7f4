#pragma once
// The remote content panes' logic: the page schedule fetched from the vendor's
// server, the flags that switch the panes, and what each timer tick does.
// The main window only wires these to its web panes and timers.

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gbk_text.h"
#include "http_client.h"

namespace taliven {

inline constexpr char kSchedulePath[] = "/Chinese/CPC/loginfo.html";
inline constexpr char kFlagsPath[] = "/Chinese/SysInfo/logFlagfee.htm";

// Raised when a text is not a whole 32-bit integer.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The standard string-to-integer conversion: leading spaces, an optional sign,
// then decimal digits, or hexadecimal ones after "$" or "0x"; nothing may
// follow, and the value must fit a signed 32-bit integer.
int StrToInt(std::string_view text);

// The field kinds of a schedule line, as GetScheduleField numbers them.
enum class ScheduleField { Selector = 0, Seconds = 1, Url = 2 };

// The page schedule: one page per CR LF separated line, "selector>seconds>URL".
class Schedule {
 public:
  Schedule() = default;
  explicit Schedule(GbkText text);

  const GbkText& Text() const { return text_; }
  int LineCount() const { return static_cast<int>(lines_.size()); }
  int LastLine() const { return LineCount() - 1; }
  // True when the text holds nothing but blanks and control bytes.
  bool IsBlank() const;

  // Field `kind` of line `lineIndex` (from 0), taken from the trimmed line.
  GbkText GetScheduleField(ScheduleField kind, int lineIndex) const;

 private:
  GbkText text_;
  std::vector<GbkText> lines_;
};

// One row of the pane table.
struct ContentPane {
  std::string_view selector;  // field 0 of the lines this pane shows
  int hiddenTop;              // where a hidden pane's top edge goes
  int timer;                  // 1: Timer1 drives it, 2: Timer2
};
inline constexpr ContentPane kBannerPane{"1", -200, 1};
inline constexpr ContentPane kCentrePane{"0", -1000, 2};

// What one tick does to a pane: set its index to `line`, navigate to `url`,
// set its timer to DisplayIntervalMs(seconds), then set its index to line + 1.
struct TickStep {
  int line;
  GbkText url;
  GbkText seconds;
};

// Whether a pane can show the page that line `line` names by `url`. A pane
// passes over a line it cannot show as over a line of neither pane.
using PageFilter = std::function<bool(int line, const GbkText& url)>;

// Decides a pane's tick from its index (the line its search starts at) and
// its switch. Nothing happens when the schedule is blank, the pane is off, or
// it has no further page it can show; after its last page a pane starts again
// at its first one, unless that is the page it shows already.
std::optional<TickStep> DecideTick(const Schedule& schedule, const ContentPane& pane, int index, int switchValue,
                                   const PageFilter& canShow);

// A page's display time as a timer interval in milliseconds; 0 means stop the
// timer. Throws ConversionError when the seconds field is not an integer.
int DisplayIntervalMs(std::string_view secondsField);

// One byte of the flags text read as a one-character number; throws when the
// byte is missing or not a digit.
int FlagAt(std::string_view flags, std::size_t position);

// A remote text as an error report or a log line may quote it: printable
// ASCII, other bytes as \xNN, cut after 64 bytes, in single quotes.
std::string QuotedForReport(std::string_view text);

// What the start-up fetches found. Both switches are 0 when any fetch or
// conversion failed; the schedule is kept when its own fetch succeeded.
struct RemoteContent {
  GbkText schedule;
  std::string serverAddress;  // the address the schedule came from, once it did
  int centreOn = 0;
  int bannerOn = 0;
};

// The window waits for the start-up fetches before it first shows, and it is
// to be on screen within 3 s of launch whatever the server does. The three
// fetches together, name look-ups included, get this many milliseconds of
// that, leaving the rest to the program's own start and first show; each
// request gets what is left, and the block fails when nothing is.
inline constexpr std::int64_t kOnScreenWithinMs = 3000;
inline constexpr std::int64_t kStartupBudgetMs = 2500;

// Milliseconds on a clock that only goes forward, for the budget; tests hand
// in a clock of their own.
using MonotonicClock = std::function<std::int64_t()>;
std::int64_t MonotonicMs();

RemoteContent FetchRemoteContent(HttpClient& scheduleClient, HttpClient& flagsClient, std::string_view serverUrl,
                                 const MonotonicClock& clock = MonotonicMs);

}  // namespace taliven
