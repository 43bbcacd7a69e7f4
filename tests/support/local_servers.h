#pragma once
// HTTP servers on 127.0.0.1 at free ports, for tests of the HTTP client and of
// the start-up fetches: a real one (cpp-httplib) that records what it was sent,
// and a raw one that answers with fixed bytes, or never, for broken servers.

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
// until destroyed.
class RawHttpServer {
 public:
  explicit RawHttpServer(std::optional<std::string> answer);
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  std::string Url(const std::string& path) const;

 private:
  void Serve();
  void Answer(int connection) const;

  std::optional<std::string> answer_;
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

}  // namespace taliven::testing
