#include "recording_reporter.h"

namespace taliven::testing {

RecordingReporter::RecordingReporter()
    : previous_(SetErrorReporter([this](const std::string& m) { messages_.push_back(m); })) {}

RecordingReporter::~RecordingReporter() { SetErrorReporter(std::move(previous_)); }

}  // namespace taliven::testing
