#include "error_guard.h"

#include <cstdio>
#include <typeinfo>

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

ErrorReporter SetErrorReporter(ErrorReporter reporter) { return std::exchange(Reporter(), std::move(reporter)); }

void ReportCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const SilentAbort&) {
      return;
    } catch (...) {
      const std::string message = DescribeCurrentException();
      if (Reporter()) {
        Reporter()(message);
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
