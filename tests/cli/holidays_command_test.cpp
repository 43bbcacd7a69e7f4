#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "holiday_notices.h"

namespace taliven::cli {
namespace {

struct CommandRun {
  std::string output;
  int status;
};

// `taliven-cli holidays YEAR` with only the built-in arrangements known.
CommandRun HolidaysOf(int year) {
  const std::string command = "XDG_DATA_HOME=/nonexistent XDG_DATA_DIRS=/nonexistent '" TALIVEN_CLI_DIR
                              "/taliven-cli' holidays " +
                              std::to_string(year) + " 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  CommandRun run{{}, -1};
  std::array<char, 4096> buffer;
  while (const auto count = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) {
    run.output.append(buffer.data(), count);
  }
  run.status = pclose(pipe.release());
  return run;
}

// Each year the program knows, listed whole, December days that the next
// year's notice names included; the years around them have no list.
TEST(HolidaysCommand, ListsEveryYearAsItsNoticesName) {
  const testing::NoticeYears notices = testing::ReadHolidayNotices(TALIVEN_HOLIDAY_NOTICES);
  for (int year = 2004; year <= 2026; ++year) {
    const CommandRun run = HolidaysOf(year);
    EXPECT_EQ(run.status, 0) << year;
    EXPECT_EQ(run.output, testing::NoticeLinesOf(notices, year)) << year;
  }
  for (const int year : {2003, 2027}) {
    const CommandRun run = HolidaysOf(year);
    EXPECT_EQ(WEXITSTATUS(run.status), 1) << year;
    EXPECT_EQ(run.output, "") << year;
  }
}

}  // namespace
}  // namespace taliven::cli
