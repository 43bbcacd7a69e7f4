#pragma once
// Program-wide handling of errors that escape an event handler, a window's
// creation or a timer tick. Handlers are wrapped with Guard() where they are
// connected, so no exception ever unwinds through the toolkit's own frames;
// the caught error goes to the installed reporter and the program goes on.
//
// Messages are UTF-8. An error the program raises itself tells the user what
// failed: the first line of its message is a sentence in Chinese, the lines
// after it the technical text (ErrorMessage). A message of one line comes from
// an error the program did not raise itself (std::bad_alloc, say) and is
// technical text only.

#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace taliven {

// Raised to refuse an action silently (a declined exit): it unwinds the
// handler and is swallowed without a report.
class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "operation aborted"; }
};

// The bytes of a UTF-8 literal, for sources whose narrow literals are GBK.
inline std::string Utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

// The message of an error the program raises: `sentence` for the user, then
// the technical `details`. A line break in the sentence becomes a blank.
std::string ErrorMessage(std::string_view sentence, std::string_view details);

struct ErrorText {
  std::string sentence;  // empty for an error the program did not raise itself
  std::string details;
};

// Takes an error's message apart again.
ErrorText SplitErrorMessage(std::string_view message);

// What set off the handler that failed. The reporter repeats a report of the
// user's own action every time, and one of a timer tick only the first time.
enum class ErrorSource { UserAction, TimerTick };

// Receives the message of every reported error and what set it off.
using ErrorReporter = std::function<void(const std::string& message, ErrorSource source)>;

// Installs the reporter and returns the previous one. Without a reporter,
// errors are written to standard error.
ErrorReporter SetErrorReporter(ErrorReporter reporter);

// Reports the exception being handled; call only from a catch block.
// A SilentAbort is swallowed.
void ReportCurrentException(ErrorSource source = ErrorSource::UserAction) noexcept;

// Runs f, reporting anything it throws. Returns true when f completed.
template <class F>
bool RunGuarded(F&& f, ErrorSource source = ErrorSource::UserAction) noexcept {
  try {
    std::forward<F>(f)();
    return true;
  } catch (...) {
    ReportCurrentException(source);
    return false;
  }
}

// Wraps a member handler for a signal connection: Guard(this, &T::Handler).
template <class Obj, class... Args>
auto Guard(Obj* object, void (Obj::*handler)(Args...), ErrorSource source = ErrorSource::UserAction) {
  return [object, handler, source](Args... args) { RunGuarded([&] { (object->*handler)(args...); }, source); };
}

// Wraps any callable for a signal connection.
template <class F>
auto Guard(F f) {
  return [f = std::move(f)](auto&&... args) mutable { RunGuarded([&] { f(std::forward<decltype(args)>(args)...); }); };
}

}  // namespace taliven
