#include "error_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace taliven {
namespace {

struct Recorder {
  std::vector<std::string> messages;
  std::vector<ErrorSource> sources;
  ErrorReporter previous;
  Recorder()
      : previous(SetErrorReporter([this](const std::string& m, ErrorSource s) {
          messages.push_back(m);
          sources.push_back(s);
        })) {}
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

TEST(Guard, TellsTheReporterWhatSetTheHandlerOff) {
  Recorder recorder;
  Handler handler;
  Guard(&handler, &Handler::Throwing)(1);
  Guard(&handler, &Handler::Throwing, ErrorSource::TimerTick)(2);
  Guard([] { throw std::runtime_error("lambda"); })();
  EXPECT_EQ(recorder.sources,
            (std::vector<ErrorSource>{ErrorSource::UserAction, ErrorSource::TimerTick, ErrorSource::UserAction}));
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

  SetErrorReporter([](const std::string&, ErrorSource) { throw std::runtime_error("reporter broke"); });
  EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("x"); }));
}

TEST(ErrorMessage, CarriesTheSentenceOnItsFirstLineAndTheDetailsAfterIt) {
  const struct {
    std::string message;
    std::string sentence;
    std::string details;
  } cases[] = {
      {ErrorMessage(Utf8(u8"无法测算。"), "bad\nvalue"), Utf8(u8"无法测算。"), "bad\nvalue"},
      {ErrorMessage(Utf8(u8"一行\n两行"), "x"), Utf8(u8"一行 两行"), "x"},  // the sentence stays one line
      {"std::bad_alloc", "", "std::bad_alloc"},                             // not raised by the program
  };
  for (const auto& c : cases) {
    const ErrorText text = SplitErrorMessage(c.message);
    EXPECT_EQ(text.sentence, c.sentence) << c.message;
    EXPECT_EQ(text.details, c.details) << c.message;
  }
}

}  // namespace
}  // namespace taliven
