// Arbitrary bytes as the whole answer of an HTTP server. The client must turn
// every answer into a body or an HttpError, without crashing, hanging or
// leaking; a body comes back only from a final 2xx response that names no
// Location, and never beyond the size cap.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

#include "http_client.h"

namespace {

// Every answer ends at once (the server closes), so this only bounds a fault.
constexpr std::int64_t kTimeLimitMs = 3000;

using namespace taliven;

void Check(bool condition) {
  if (!condition) std::abort();
}

class SocketFd {
 public:
  explicit SocketFd(int fd) : fd_(fd) {}
  ~SocketFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  SocketFd(const SocketFd&) = delete;
  SocketFd& operator=(const SocketFd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Serves one connection at a time on 127.0.0.1: once the request head has
// arrived it writes the current answer and closes, so the client meets the
// end of every answer at once and never waits for a time-out.
class AnsweringServer {
 public:
  AnsweringServer() : listener_(::socket(AF_INET, SOCK_STREAM, 0)) {
    Check(listener_.get() >= 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Check(::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
    socklen_t length = sizeof address;
    Check(::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &length) == 0);
    Check(::listen(listener_.get(), 8) == 0);
    url_ = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/Chinese/CPC/loginfo.html";
    thread_ = std::thread([this] { Serve(); });
  }

  // Shutting the listener down wakes the blocked accept.
  ~AnsweringServer() {
    ::shutdown(listener_.get(), SHUT_RDWR);
    thread_.join();
  }

  AnsweringServer(const AnsweringServer&) = delete;
  AnsweringServer& operator=(const AnsweringServer&) = delete;

  const std::string& Url() const { return url_; }

  void SetAnswer(std::string answer) {
    const std::lock_guard lock(mutex_);
    answer_ = std::move(answer);
  }

 private:
  void Serve() {
    for (;;) {
      const SocketFd connection(::accept(listener_.get(), nullptr, nullptr));
      if (connection.get() < 0) return;
      if (ReadRequestHead(connection.get())) WriteAnswer(connection.get());
    }
  }

  // Closing with unread request bytes would reset the connection and could
  // discard the answer before the client reads it.
  static bool ReadRequestHead(int connection) {
    const timeval limit{1, 0};
    if (::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) != 0) return false;
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
      const ssize_t received = ::recv(connection, buffer, sizeof buffer, 0);
      if (received <= 0) return false;
      head.append(buffer, static_cast<std::size_t>(received));
    }
    return true;
  }

  void WriteAnswer(int connection) {
    std::string answer;
    {
      const std::lock_guard lock(mutex_);
      answer = answer_;
    }
    for (std::size_t sent = 0; sent < answer.size();) {
      const ssize_t n = ::send(connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += static_cast<std::size_t>(n);
    }
  }

  SocketFd listener_;
  std::string url_;
  std::mutex mutex_;
  std::string answer_;
  std::thread thread_;
};

AnsweringServer& Server() {
  static AnsweringServer server;
  return server;
}

bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
  return AsciiLower(text.substr(0, lowerPrefix.size())) == lowerPrefix;
}

// Takes one line, ended by LF, off the front of `text`, without its CR LF.
std::optional<std::string_view> TakeLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// The three digits after "HTTP/x.y ", or nothing for another line.
std::optional<int> StatusOf(std::string_view statusLine) {
  if (!StartsWithNoCase(statusLine, "http/")) return std::nullopt;
  const std::size_t space = statusLine.find(' ');
  if (space == std::string_view::npos || statusLine.size() < space + 4) return std::nullopt;
  int status = 0;
  for (const char c : statusLine.substr(space + 1, 3)) {
    if (c < '0' || c > '9') return std::nullopt;
    status = status * 10 + (c - '0');
  }
  return status;
}

struct ResponseHead {
  int status = 0;
  bool namesLocation = false;
};

// The head the client must take for the final one: the first whose status is
// not an interim 1xx. Nothing when the answer does not open with such heads.
std::optional<ResponseHead> FinalHead(std::string_view answer) {
  for (;;) {
    const std::optional<std::string_view> statusLine = TakeLine(answer);
    if (!statusLine) return std::nullopt;
    const std::optional<int> status = StatusOf(*statusLine);
    if (!status) return std::nullopt;
    ResponseHead head{*status, false};
    for (;;) {
      const std::optional<std::string_view> line = TakeLine(answer);
      if (!line) return std::nullopt;
      if (line->empty()) break;
      head.namesLocation = head.namesLocation || StartsWithNoCase(*line, "location:");
    }
    if (head.status / 100 != 1) return head;
  }
}

// The body of the plainest sound answer, which the client must hand back.
std::optional<std::string_view> PlainOkBody(std::string_view answer) {
  constexpr std::string_view kStart = "HTTP/1.1 200 OK\r\nContent-Length: ";
  if (!answer.starts_with(kStart)) return std::nullopt;
  answer.remove_prefix(kStart.size());
  std::size_t length = 0;
  std::size_t digits = 0;
  for (; digits < answer.size() && digits < 7 && answer[digits] >= '0' && answer[digits] <= '9'; ++digits) {
    length = length * 10 + static_cast<std::size_t>(answer[digits] - '0');
  }
  answer.remove_prefix(digits);
  if (digits == 0 || !answer.starts_with("\r\n\r\n")) return std::nullopt;
  answer.remove_prefix(4);
  if (answer.size() != length) return std::nullopt;
  return answer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string answer(reinterpret_cast<const char*>(data), size);
  AnsweringServer& server = Server();
  server.SetAnswer(answer);

  std::optional<GbkText> body;
  try {
    CurlHttpClient client;
    body = client.Get(server.Url(), kTimeLimitMs);
  } catch (const HttpError&) {
  }

  if (const std::optional<std::string_view> expected = PlainOkBody(answer)) {
    Check(body == *expected);
  }
  if (body) {
    const std::optional<ResponseHead> head = FinalHead(answer);
    Check(head && head->status / 100 == 2 && !head->namesLocation);
    Check(body->size() <= size && body->size() <= kMaxBodyBytes);
  }
  return 0;
}
