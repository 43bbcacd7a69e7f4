#pragma once

#include <stdexcept>

#include "tdatetime.h"

namespace taliven::testing {

// A date the test knows to exist.
inline TDateTime Date(int year, int month, int day) {
  const auto date = EncodeDate(year, month, day);
  if (!date) throw std::invalid_argument("no such date in a test table");
  return *date;
}

}  // namespace taliven::testing
