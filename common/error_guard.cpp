#include "error_guard.h"

#include <algorithm>
#include <cstdio>

namespace taliven {
namespace {

ErrorReporter& Reporter() {
  static ErrorReporter reporter;
  return reporter;
}

std::string DescribeCurrentException() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown error";
  }
}

}  // namespace

std::string ErrorMessage(std::string_view sentence, std::string_view details) {
  std::string message(sentence);
  std::replace(message.begin(), message.end(), '\n', ' ');
  return message + '\n' + std::string(details);
}

ErrorText SplitErrorMessage(std::string_view message) {
  const std::size_t end = message.find('\n');
  if (end == std::string_view::npos) return {{}, std::string(message)};
  return {std::string(message.substr(0, end)), std::string(message.substr(end + 1))};
}

ErrorReporter SetErrorReporter(ErrorReporter reporter) { return std::exchange(Reporter(), std::move(reporter)); }

void ReportCurrentException(ErrorSource source) noexcept {
  try {
    try {
      throw;
    } catch (const SilentAbort&) {
      return;
    } catch (...) {
      const std::string message = DescribeCurrentException();
      if (Reporter()) {
        Reporter()(message, source);
      } else {
        std::fprintf(stderr, "taliven: %s\n", message.c_str());
      }
    }
  } catch (...) {
    // A failing reporter must not take the program down with it.
    std::fputs("taliven: error while reporting an error\n", stderr);
  }
}

}  // namespace taliven
