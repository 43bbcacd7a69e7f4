#pragma once
// Records what reaches the program-wide error reporter while it lives.

#include <string>
#include <vector>

#include "error_guard.h"

namespace taliven::testing {

class RecordingReporter {
 public:
  RecordingReporter();
  ~RecordingReporter();
  RecordingReporter(const RecordingReporter&) = delete;
  RecordingReporter& operator=(const RecordingReporter&) = delete;

  const std::vector<std::string>& messages() const { return messages_; }
  // What set off each report, in the same order.
  const std::vector<ErrorSource>& sources() const { return sources_; }

 private:
  std::vector<std::string> messages_;
  std::vector<ErrorSource> sources_;
  ErrorReporter previous_;
};

}  // namespace taliven::testing
