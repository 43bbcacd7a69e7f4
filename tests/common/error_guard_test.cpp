#include "error_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace taliven {
namespace {

struct Recorder {
  std::vector<std::string> messages;
  ErrorReporter previous;
  Recorder() : previous(SetErrorReporter([this](const std::string& m) { messages.push_back(m); })) {}
  ~Recorder() { SetErrorReporter(previous); }
};

struct Handler {
  int calls = 0;
  void Throwing(int value) {
    ++calls;
    throw std::runtime_error("bad value " + std::to_string(value));
  }
  void Aborting() { throw SilentAbort(); }
};

TEST(Guard, ReportsAnErrorAndReturnsNormally) {
  Recorder recorder;
  Handler handler;
  auto slot = Guard(&handler, &Handler::Throwing);
  EXPECT_NO_THROW(slot(7));
  EXPECT_NO_THROW(slot(8));
  EXPECT_EQ(handler.calls, 2);
  EXPECT_EQ(recorder.messages, (std::vector<std::string>{"bad value 7", "bad value 8"}));
}

TEST(Guard, SwallowsTheSilentAbortWithoutAReport) {
  Recorder recorder;
  Handler handler;
  EXPECT_NO_THROW(Guard(&handler, &Handler::Aborting)());
  EXPECT_TRUE(recorder.messages.empty());
}

TEST(Guard, ReportsNonStandardExceptionsAndSurvivesAFailingReporter) {
  Recorder recorder;
  EXPECT_FALSE(RunGuarded([] { throw 42; }));
  EXPECT_EQ(recorder.messages, std::vector<std::string>{"unknown error"});

  SetErrorReporter([](const std::string&) { throw std::runtime_error("reporter broke"); });
  EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("x"); }));
}

}  // namespace
}  // namespace taliven
