#pragma once
// Blocking HTTP GET for the start-up fetches of the content panes. Each client
// object keeps one connection state and its own cookies for its whole life, so
// a later request carries the cookies an earlier response set.

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>

#include "gbk_text.h"

namespace taliven {

// Any failed request: transport errors, time-outs, non-2xx status, redirects,
// oversized bodies.
class HttpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;

  // Returns the response body unchanged, or throws HttpError.
  virtual GbkText Get(const std::string& url) = 0;
};

// The fetches block the GUI thread before the main window shows, so every
// request is bounded in time and size.
inline constexpr long kConnectTimeoutMs = 5'000;
inline constexpr long kRequestTimeoutMs = 10'000;
inline constexpr long kLowSpeedBytes = 16;
inline constexpr long kLowSpeedSeconds = 5;
inline constexpr std::size_t kMaxBodyBytes = 1 << 20;

class CurlHttpClient final : public HttpClient {
 public:
  CurlHttpClient();
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  GbkText Get(const std::string& url) override;

 private:
  struct Session;
  std::unique_ptr<Session> session_;
};

}  // namespace taliven
