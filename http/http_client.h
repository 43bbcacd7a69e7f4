#pragma once
// Blocking HTTP GET for the start-up fetches of the content panes. Each client
// object keeps one connection state and its own cookies for its whole life, so
// a later request carries the cookies an earlier response set.

#include <cstddef>
#include <cstdint>
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

  // Returns the response body unchanged, or throws HttpError. The whole
  // request, name look-up included, must end within `timeLimitMs`
  // milliseconds; a request given no time fails before anything is sent.
  // (No <chrono> here: sources compiled for GBK literals include this.)
  virtual GbkText Get(const std::string& url, std::int64_t timeLimitMs) = 0;

  // The address the last request that succeeded reached ("192.0.2.7",
  // "::1"); empty before one did.
  virtual std::string PeerAddress() const = 0;
};

// The fetches block the GUI thread before the main window shows, so a body
// is bounded in size as a request is in time.
inline constexpr std::size_t kMaxBodyBytes = 1 << 20;

class CurlHttpClient final : public HttpClient {
 public:
  CurlHttpClient();
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  GbkText Get(const std::string& url, std::int64_t timeLimitMs) override;
  std::string PeerAddress() const override;

 private:
  struct Session;
  std::unique_ptr<Session> session_;
};

}  // namespace taliven
