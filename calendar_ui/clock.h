#pragma once
// Where the calendar learns today's date. The program reads the system
// clock; tests fix the date so that "today" does not move under them.

#include <optional>

#include "tdatetime.h"

namespace taliven {

// Today's local date, or the date fixed by SetTodayForTesting.
CivilDate Today();

// Fixes the date Today() answers; std::nullopt returns to the system clock.
void SetTodayForTesting(std::optional<CivilDate> date);

}  // namespace taliven
