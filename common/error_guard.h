#pragma once
// Program-wide handling of errors that escape an event handler, a window's
// creation or a timer tick. Handlers are wrapped with Guard() where they are
// connected, so no exception ever unwinds through the toolkit's own frames;
// the caught error goes to the installed reporter and the program goes on.

#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace taliven {

// Raised to refuse an action silently (a declined exit): it unwinds the
// handler and is swallowed without a report.
class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "operation aborted"; }
};

// Receives the message of every reported error (UTF-8).
using ErrorReporter = std::function<void(const std::string& message)>;

// Installs the reporter and returns the previous one. Without a reporter,
// errors are written to standard error.
ErrorReporter SetErrorReporter(ErrorReporter reporter);

// Reports the exception being handled; call only from a catch block.
// A SilentAbort is swallowed.
void ReportCurrentException() noexcept;

// Runs f, reporting anything it throws. Returns true when f completed.
template <class F>
bool RunGuarded(F&& f) noexcept {
  try {
    std::forward<F>(f)();
    return true;
  } catch (...) {
    ReportCurrentException();
    return false;
  }
}

// Wraps a member handler for a signal connection: Guard(this, &T::Handler).
template <class Obj, class... Args>
auto Guard(Obj* object, void (Obj::*handler)(Args...)) {
  return [object, handler](Args... args) { RunGuarded([&] { (object->*handler)(args...); }); };
}

// Wraps any callable for a signal connection.
template <class F>
auto Guard(F f) {
  return [f = std::move(f)](auto&&... args) mutable { RunGuarded([&] { f(std::forward<decltype(args)>(args)...); }); };
}

}  // namespace taliven
