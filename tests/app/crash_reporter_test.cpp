#include "crash_reporter.h"

#include <gtest/gtest.h>

namespace taliven {
namespace {

TEST(ReportGate, ShowsEachMessageOnceAndNeverStacksDialogs) {
  ReportGate gate;
  EXPECT_TRUE(gate.Open("bad seconds"));
  EXPECT_FALSE(gate.Open("another error")) << "one dialog at a time";
  gate.Close();
  EXPECT_FALSE(gate.Open("bad seconds")) << "a repeat goes to standard error only";
  EXPECT_TRUE(gate.Open("another error")) << "held back before, never shown";
}

TEST(DecodeReportMessage, ReadsUtf8AndFallsBackToGbk) {
  EXPECT_EQ(DecodeReportMessage("'abc' 无效"), QStringLiteral("'abc' 无效"));
  EXPECT_EQ(DecodeReportMessage("'\xD5\xC5\xC8\xFD' is not a valid integer value"),
            QStringLiteral("'张三' is not a valid integer value"));
}

}  // namespace
}  // namespace taliven
