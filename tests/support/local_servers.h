#pragma once
// HTTP servers on 127.0.0.1 at free ports, for tests of the HTTP client and of
// the start-up fetches: a real one (cpp-httplib) that records what it was sent,
// and a raw one that answers with fixed bytes, or never, for broken servers;
// and a name server that never answers.

#include <httplib.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace taliven::testing {

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd();
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Serves the routes the constructor installs while it lives.
class LocalHttpServer {
 public:
  explicit LocalHttpServer(const std::function<void(httplib::Server&)>& routes);
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  std::string Url(const std::string& path) const;
  std::string BaseUrl() const;
  std::vector<httplib::Request> Requests() const;

 private:
  httplib::Server server_;
  int port_ = -1;
  mutable std::mutex mutex_;
  std::vector<httplib::Request> requests_;
  std::thread thread_;
};

// Answers every connection with `answer` once the request head has arrived,
// then closes it; without an answer it holds each connection open, silent,
// until destroyed. Given `repeat`, it goes on after the answer with `repeat`
// every `intervalMs`, until the client hangs up: a body that never ends.
// Connections are served one at a time. (Milliseconds as numbers, because
// <chrono> cannot be compiled for GBK literals.)
class RawHttpServer {
 public:
  explicit RawHttpServer(std::optional<std::string> answer, std::string repeat = {}, int intervalMs = 0);
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  std::string Url(const std::string& path) const;

 private:
  void Serve();
  void Answer(int connection) const;
  bool Send(int connection, const std::string& bytes) const;

  std::optional<std::string> answer_;
  std::string repeat_;
  int intervalMs_;
  UniqueFd listener_;
  int port_ = -1;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

// A port on 127.0.0.1 that is bound but not listening, so connecting to it is
// refused for as long as this object lives.
class RefusingPort {
 public:
  RefusingPort();
  std::string Url(const std::string& path) const;

 private:
  UniqueFd socket_;
  int port_ = -1;
};

// While it lives, the test resolver linked into the test programs
// (support/test_resolver.cpp) answers no look-up of a host name, like a name
// server that never answers. Look-ups of numeric addresses still work.
class DeadNameServer {
 public:
  DeadNameServer();
  ~DeadNameServer();
  DeadNameServer(const DeadNameServer&) = delete;
  DeadNameServer& operator=(const DeadNameServer&) = delete;

  // How many look-ups the test resolver has taken over in this process.
  static long Lookups();
};

}  // namespace taliven::testing
