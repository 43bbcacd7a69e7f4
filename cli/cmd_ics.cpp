// ics: the calendar as an iCalendar file.
#include <cstdlib>
#include <ctime>

#include "cli_support.h"
#include "commands.h"
#include "ics.h"

namespace taliven::cli {

int RunIcs(const Args& args) {
  const auto& words = args.positionals();
  if (words.size() != 2) throw UsageError("expected FROM and TO");
  IcsRequest request;
  request.from = ParseDateArgument(words[0]);
  request.to = ParseDateArgument(words[1]);
  if (*EncodeDate(request.from.year, request.from.month, request.from.day) >
      *EncodeDate(request.to.year, request.to.month, request.to.day)) {
    throw UsageError("FROM lies after TO");
  }
  const auto only = args.values("--only");
  if (!only.empty()) {
    request.kinds = 0;
    for (const std::string& list : only) request.kinds |= ParseEventKinds(list);
  }
  for (const std::string& value : args.values("--anniversary")) {
    request.anniversaries.push_back(ParseAnniversary(value));
  }
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  request.stamp = epoch != nullptr ? ParseSourceDateEpoch(epoch) : static_cast<std::int64_t>(std::time(nullptr));
  WriteOut(WriteIcs(request));
  return 0;
}

}  // namespace taliven::cli
