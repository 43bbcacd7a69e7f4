// Feeds arbitrary bytes to the page schedule as fetched text: its lines, their
// fields, the tick decision of both panes, and the integer conversions.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "content_schedule.h"

namespace {

using namespace taliven;

void Check(bool condition) {
  if (!condition) std::abort();
}

std::optional<int> TryStrToInt(std::string_view text) {
  try {
    return StrToInt(text);
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

void CheckConversion(std::string_view text) {
  const std::optional<int> value = TryStrToInt(text);
  Check(!TryStrToInt(std::string(text) + " "));  // nothing may trail
  if (!value) return;
  Check(TryStrToInt(" " + std::string(text)) == value);
  Check(TryStrToInt(std::to_string(*value)) == value);
  try {
    const int ms = DisplayIntervalMs(text);
    Check(*value <= 0 ? ms == 0 : ms >= 1000);
  } catch (const ConversionError&) {
    Check(false);
  }
}

std::size_t CountLines(std::string_view text) {
  std::size_t lines = 0;
  for (std::size_t start = 0; start < text.size(); ++lines) {
    const std::size_t end = text.find("\r\n", start);
    start = end == std::string_view::npos ? text.size() : end + 2;
  }
  return lines;
}

// A pane that can show the URLs of even length only, as a stand-in for one
// that refuses some of its lines.
bool EvenUrl(int, const GbkText& url) { return url.size() % 2 == 0; }
bool AnyUrl(int, const GbkText&) { return true; }

void CheckTicks(const Schedule& schedule, const ContentPane& pane, const PageFilter& canShow) {
  for (const int index : {0, 1, schedule.LastLine() / 2, schedule.LastLine(), schedule.LastLine() + 1}) {
    const std::optional<TickStep> step = DecideTick(schedule, pane, index, 1, canShow);
    Check(!step || !schedule.IsBlank());
    if (!step) continue;
    Check(step->line >= 0 && step->line <= schedule.LastLine());
    Check(step->line >= index || step->line != index - 1);
    Check(schedule.GetScheduleField(ScheduleField::Selector, step->line) == pane.selector);
    Check(schedule.GetScheduleField(ScheduleField::Url, step->line) == step->url);
    Check(canShow(step->line, step->url));
    Check(!DecideTick(schedule, pane, index, 0, canShow));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckConversion(text);
  CheckConversion(text.substr(0, 1));

  const Schedule schedule{GbkText(text)};
  Check(static_cast<std::size_t>(schedule.LineCount()) == CountLines(text));
  for (int line = 0; line <= schedule.LastLine(); ++line) {
    const GbkText selector = schedule.GetScheduleField(ScheduleField::Selector, line);
    const GbkText seconds = schedule.GetScheduleField(ScheduleField::Seconds, line);
    const GbkText url = schedule.GetScheduleField(ScheduleField::Url, line);
    Check(selector.find('>') == GbkText::npos && seconds.find('>') == GbkText::npos);
    Check(Trim(url) == url);
    CheckConversion(seconds);
  }
  for (const PageFilter& canShow : {PageFilter(AnyUrl), PageFilter(EvenUrl)}) {
    CheckTicks(schedule, kBannerPane, canShow);
    CheckTicks(schedule, kCentrePane, canShow);
  }
  return 0;
}
