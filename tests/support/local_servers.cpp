#include "local_servers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

extern "C" long taliven_test_resolver_lookups();  // support/test_resolver.cpp

namespace taliven::testing {
namespace {

constexpr int kPollMs = 50;

std::string LoopbackUrl(int port, const std::string& path) { return "http://127.0.0.1:" + std::to_string(port) + path; }

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("test server: ") + what + " failed");
}

// A TCP socket bound to 127.0.0.1 at a free port; returns the port.
int BindLoopback(const UniqueFd& socket) {
  Require(socket.get() >= 0, "socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  Require(::bind(socket.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0, "bind");
  socklen_t length = sizeof address;
  Require(::getsockname(socket.get(), reinterpret_cast<sockaddr*>(&address), &length) == 0, "getsockname");
  return ntohs(address.sin_port);
}

bool Readable(int fd) {
  pollfd entry{fd, POLLIN, 0};
  return ::poll(&entry, 1, kPollMs) > 0;
}

}  // namespace

UniqueFd::~UniqueFd() {
  if (fd_ >= 0) ::close(fd_);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

LocalHttpServer::LocalHttpServer(const std::function<void(httplib::Server&)>& routes) {
  routes(server_);
  server_.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
    const std::lock_guard lock(mutex_);
    requests_.push_back(request);
    return httplib::Server::HandlerResponse::Unhandled;
  });
  port_ = server_.bind_to_any_port("127.0.0.1");
  Require(port_ > 0, "bind_to_any_port");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // stop() is a no-op until the loop runs, and the destructor relies on it.
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LocalHttpServer::~LocalHttpServer() {
  server_.stop();
  thread_.join();
}

std::string LocalHttpServer::Url(const std::string& path) const { return LoopbackUrl(port_, path); }

std::string LocalHttpServer::BaseUrl() const { return Url(""); }

std::vector<httplib::Request> LocalHttpServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

RawHttpServer::RawHttpServer(std::optional<std::string> answer, std::string repeat, int intervalMs)
    : answer_(std::move(answer)),
      repeat_(std::move(repeat)),
      intervalMs_(intervalMs),
      listener_(::socket(AF_INET, SOCK_STREAM, 0)) {
  port_ = BindLoopback(listener_);
  Require(::listen(listener_.get(), 8) == 0, "listen");
  thread_ = std::thread([this] { Serve(); });
}

RawHttpServer::~RawHttpServer() {
  stopping_ = true;
  thread_.join();
}

std::string RawHttpServer::Url(const std::string& path) const { return LoopbackUrl(port_, path); }

void RawHttpServer::Serve() {
  std::vector<UniqueFd> held;
  while (!stopping_) {
    if (!Readable(listener_.get())) continue;
    UniqueFd connection(::accept(listener_.get(), nullptr, nullptr));
    if (connection.get() < 0) continue;
    if (answer_) {
      Answer(connection.get());
    } else {
      held.push_back(std::move(connection));
    }
  }
}

void RawHttpServer::Answer(int connection) const {
  std::string head;
  char buffer[4096];
  while (!stopping_ && head.find("\r\n\r\n") == std::string::npos) {
    if (!Readable(connection)) continue;
    const ssize_t received = ::recv(connection, buffer, sizeof buffer, 0);
    if (received <= 0) return;
    head.append(buffer, static_cast<std::size_t>(received));
  }
  if (!Send(connection, *answer_)) return;
  while (!repeat_.empty() && !stopping_) {
    std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs_));
    if (!Send(connection, repeat_)) return;
  }
}

// False once the client has hung up.
bool RawHttpServer::Send(int connection, const std::string& bytes) const {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

RefusingPort::RefusingPort() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) { port_ = BindLoopback(socket_); }

std::string RefusingPort::Url(const std::string& path) const { return LoopbackUrl(port_, path); }

namespace {
constexpr char kResolverMode[] = "TALIVEN_TEST_RESOLVER";
}

DeadNameServer::DeadNameServer() { Require(::setenv(kResolverMode, "dead", 1) == 0, "setenv"); }

DeadNameServer::~DeadNameServer() { ::unsetenv(kResolverMode); }

long DeadNameServer::Lookups() { return taliven_test_resolver_lookups(); }

}  // namespace taliven::testing
