#include "recording_reporter.h"

namespace taliven::testing {

RecordingReporter::RecordingReporter()
    : previous_(SetErrorReporter([this](const std::string& message, ErrorSource source) {
        messages_.push_back(message);
        sources_.push_back(source);
      })) {}

RecordingReporter::~RecordingReporter() { SetErrorReporter(std::move(previous_)); }

}  // namespace taliven::testing
