#include "content_schedule.h"

#include <time.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

#include "error_guard.h"

namespace taliven {
namespace {

std::vector<GbkText> SplitLines(std::string_view text) {
  std::vector<GbkText> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find("\r\n", start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The first line from `from` on that belongs to the pane and that it can show.
std::optional<int> FindPaneLine(const Schedule& schedule, std::string_view selector, int from,
                                const PageFilter& canShow) {
  for (int line = from; line <= schedule.LastLine(); ++line) {
    if (schedule.GetScheduleField(ScheduleField::Selector, line) == selector &&
        canShow(line, schedule.GetScheduleField(ScheduleField::Url, line))) {
      return line;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string QuotedForReport(std::string_view text) {
  constexpr std::size_t kShownBytes = 64;
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown = "'";
  for (const char c : text.substr(0, kShownBytes)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      shown += c;
    } else {
      shown += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    }
  }
  if (text.size() > kShownBytes) shown += "...";
  return shown + "'";
}

int StrToInt(std::string_view text) {
  const auto fail = [text] {
    return ConversionError(ErrorMessage(Utf8(u8"从厂商服务器读到的内容中有一个数字无法识别。"),
                                        QuotedForReport(text) + " is not a valid integer value"));
  };

  std::string_view rest = text.substr(std::min(text.find_first_not_of(' '), text.size()));
  const bool negative = rest.starts_with('-');
  if (negative || rest.starts_with('+')) rest.remove_prefix(1);
  int base = 10;
  if (rest.starts_with('$')) {
    base = 16;
    rest.remove_prefix(1);
  } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
    base = 16;
    rest.remove_prefix(2);
  }

  // Unsigned, so that from_chars itself accepts no sign after the prefix.
  std::uint64_t magnitude = 0;
  const char* end = rest.data() + rest.size();
  const auto [stop, error] = std::from_chars(rest.data(), end, magnitude, base);
  const std::uint64_t limit = std::uint64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
  if (error != std::errc() || stop != end || magnitude > limit) throw fail();
  return static_cast<int>(negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude));
}

Schedule::Schedule(GbkText text) : text_(std::move(text)), lines_(SplitLines(text_)) {}

bool Schedule::IsBlank() const { return Trim(text_).empty(); }

GbkText Schedule::GetScheduleField(ScheduleField kind, int lineIndex) const {
  const GbkText line = Trim(lines_.at(static_cast<std::size_t>(lineIndex)));
  const std::size_t first = line.find('>');
  if (first == GbkText::npos) return {};
  const std::size_t second = line.find('>', first + 1);
  switch (kind) {
    case ScheduleField::Selector: return line.substr(0, first);
    case ScheduleField::Seconds:
      return second == GbkText::npos ? GbkText() : line.substr(first + 1, second - first - 1);
    case ScheduleField::Url: return Trim(std::string_view(line).substr((second == GbkText::npos ? first : second) + 1));
  }
  return {};
}

std::optional<TickStep> DecideTick(const Schedule& schedule, const ContentPane& pane, int index, int switchValue,
                                   const PageFilter& canShow) {
  if (schedule.IsBlank() || switchValue == 0) return std::nullopt;
  std::optional<int> line = FindPaneLine(schedule, pane.selector, index, canShow);
  if (!line) {
    // After a page from line i the index stands on i + 1, so index - 1 is the
    // line on show: a pane with a single page keeps it without a reload.
    line = FindPaneLine(schedule, pane.selector, 0, canShow);
    if (!line || *line == index - 1) return std::nullopt;
  }
  return TickStep{*line, schedule.GetScheduleField(ScheduleField::Url, *line),
                  schedule.GetScheduleField(ScheduleField::Seconds, *line)};
}

int DisplayIntervalMs(std::string_view secondsField) {
  const std::int64_t seconds = StrToInt(secondsField);
  if (seconds <= 0) return 0;
  return static_cast<int>(std::min<std::int64_t>(seconds * 1000, std::numeric_limits<std::int32_t>::max()));
}

int FlagAt(std::string_view flags, std::size_t position) {
  return StrToInt(position < flags.size() ? flags.substr(position, 1) : std::string_view());
}

// (Not <chrono>: its texts do not convert to GBK.)
std::int64_t MonotonicMs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
}

RemoteContent FetchRemoteContent(HttpClient& scheduleClient, HttpClient& flagsClient, std::string_view serverUrl,
                                 const MonotonicClock& clock) {
  const std::string scheduleUrl = std::string(serverUrl) + kSchedulePath;
  const std::string flagsUrl = std::string(serverUrl) + kFlagsPath;
  const std::int64_t end = clock() + kStartupBudgetMs;
  const auto timeLeft = [&] { return end - clock(); };
  RemoteContent content;
  try {
    content.schedule = scheduleClient.Get(scheduleUrl, timeLeft());
    content.serverAddress = scheduleClient.PeerAddress();
    content.centreOn = FlagAt(flagsClient.Get(flagsUrl, timeLeft()), 0);
    content.bannerOn = FlagAt(flagsClient.Get(flagsUrl, timeLeft()), 1);
  } catch (...) {
    // The panes are an extra: whatever went wrong, the window opens with both
    // switched off and says nothing.
    content.centreOn = 0;
    content.bannerOn = 0;
  }
  return content;
}

}  // namespace taliven
