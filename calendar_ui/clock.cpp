#include "clock.h"

#include <QDate>

namespace taliven {
namespace {

std::optional<CivilDate> fixedToday;

}  // namespace

CivilDate Today() {
  if (fixedToday) return *fixedToday;
  const QDate today = QDate::currentDate();
  return {today.year(), today.month(), today.day()};
}

void SetTodayForTesting(std::optional<CivilDate> date) { fixedToday = date; }

}  // namespace taliven
