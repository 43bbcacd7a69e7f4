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

 private:
  std::vector<std::string> messages_;
  ErrorReporter previous_;
};

}  // namespace taliven::testing
