#include "http_client.h"

#include <curl/curl.h>

#include <optional>
#include <string_view>

namespace taliven {
namespace {

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

constexpr const char* kRequestHeaders[] = {
    "Accept: text/html, */*",
    "Content-Type: text/html",
    "User-Agent: Mozilla/3.0 (compatible; Indy Library)",
};

void InitCurlOnce() {
  static const CURLcode result = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (result != CURLE_OK) {
    throw HttpError(std::string("cannot initialise libcurl: ") + curl_easy_strerror(result));
  }
}

template <class Value>
void SetOption(CURL* easy, CURLoption option, Value value) {
  const CURLcode result = curl_easy_setopt(easy, option, value);
  if (result != CURLE_OK) {
    throw HttpError(std::string("cannot configure the HTTP client: ") + curl_easy_strerror(result));
  }
}

HeaderList MakeRequestHeaders() {
  HeaderList list;
  for (const char* header : kRequestHeaders) {
    // Appending returns the head, which is new only for the first header.
    curl_slist* head = curl_slist_append(list.get(), header);
    if (head == nullptr) throw HttpError("cannot build the request headers");
    if (!list) list.reset(head);
  }
  return list;
}

bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
  return AsciiLower(text.substr(0, lowerPrefix.size())) == lowerPrefix;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The status of a line "HTTP/d.d ddd ...", or 0 for any other status line,
// which curl would take for one saying 200.
int StatusOf(std::string_view statusLine) {
  constexpr std::string_view kPattern = "HTTP/9.9 999";
  if (statusLine.size() < kPattern.size()) return 0;
  for (std::size_t i = 0; i < kPattern.size(); ++i) {
    if (kPattern[i] == '9' ? !IsDigit(statusLine[i]) : statusLine[i] != kPattern[i]) return 0;
  }
  if (statusLine.size() > kPattern.size() && IsDigit(statusLine[kPattern.size()])) return 0;
  return (statusLine[9] - '0') * 100 + (statusLine[10] - '0') * 10 + (statusLine[11] - '0');
}

}  // namespace

struct CurlHttpClient::Session {
  HeaderList headers = MakeRequestHeaders();
  EasyHandle easy{curl_easy_init()};
  char errorText[CURL_ERROR_SIZE] = {};

  // What the current request received.
  GbkText body;
  bool bodyTooLarge = false;
  bool statusLineNext = true;
  int status = 0;
  std::optional<std::string> location;
  bool headEnded = false;

  // Where the last request that succeeded went.
  std::string peerAddress;

  void StartRequest() {
    body.clear();
    bodyTooLarge = false;
    statusLineNext = true;
    status = 0;
    location.reset();
    headEnded = false;
    errorText[0] = '\0';
  }

  // The callbacks are noexcept because nothing may unwind through curl.
  // curl does not cap a chunked body itself, so the cap is kept here.
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) noexcept {
    auto& session = *static_cast<Session*>(self);
    const std::size_t bytes = size * count;
    if (bytes > kMaxBodyBytes - session.body.size()) {
      session.bodyTooLarge = true;
      return 0;  // anything short of `bytes` aborts the transfer
    }
    session.body.append(data, bytes);
    return bytes;
  }

  // curl takes a 2xx response that names a Location for a plain success, a
  // malformed status line for one saying 200, and a head cut off by the end
  // of the connection for a whole one (its unfinished last line, maybe the
  // Location, dropped), so the heads are read here. Every response, an
  // interim 1xx one included, starts with its status line, which clears what
  // an earlier one said; after the final head come a chunked body's trailers.
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self) noexcept {
    auto& session = *static_cast<Session*>(self);
    const std::size_t bytes = size * count;
    const std::string_view line(data, bytes);
    constexpr std::string_view kLocation = "location:";
    if (session.statusLineNext) {
      session.statusLineNext = false;
      session.status = StatusOf(line);
      session.location.reset();
      session.headEnded = false;
    } else if (line == "\r\n" || line == "\n") {
      session.headEnded = true;
      session.statusLineNext = session.status / 100 == 1;
    } else if (StartsWithNoCase(line, kLocation)) {
      session.location = Trim(line.substr(kLocation.size()));
    }
    return bytes;
  }
};

CurlHttpClient::CurlHttpClient() {
  InitCurlOnce();
  session_ = std::make_unique<Session>();
  CURL* easy = session_->easy.get();
  if (easy == nullptr) throw HttpError("cannot create an HTTP session");

  SetOption(easy, CURLOPT_ERRORBUFFER, session_->errorText);
  SetOption(easy, CURLOPT_NOSIGNAL, 1L);
  SetOption(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  SetOption(easy, CURLOPT_HTTPGET, 1L);
  SetOption(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  SetOption(easy, CURLOPT_HTTP09_ALLOWED, 0L);
  SetOption(easy, CURLOPT_HTTPHEADER, session_->headers.get());
  SetOption(easy, CURLOPT_COOKIEFILE, "");  // in-memory cookies, kept with the handle
  SetOption(easy, CURLOPT_PROXY, "");       // ignore proxies named by the environment
  SetOption(easy, CURLOPT_FOLLOWLOCATION, 0L);
  // A name look-up runs on a thread of its own, which curl would otherwise
  // wait for when a request ends or the handle goes, however long the name
  // server keeps silent: past any time limit. Left alone, the thread ends
  // with its look-up or with the process.
  SetOption(easy, CURLOPT_QUICK_EXIT, 1L);
  SetOption(easy, CURLOPT_WRITEFUNCTION, &Session::OnBody);
  SetOption(easy, CURLOPT_WRITEDATA, static_cast<void*>(session_.get()));
  SetOption(easy, CURLOPT_HEADERFUNCTION, &Session::OnHeader);
  SetOption(easy, CURLOPT_HEADERDATA, static_cast<void*>(session_.get()));
}

CurlHttpClient::~CurlHttpClient() = default;

GbkText CurlHttpClient::Get(const std::string& url, std::int64_t timeLimitMs) {
  Session& session = *session_;
  CURL* easy = session.easy.get();
  const auto failure = [&url](const std::string& why) { return HttpError("GET " + url + ": " + why); };

  // curl reads a time-out of 0 as none at all.
  if (timeLimitMs <= 0) throw failure("no time is left for the request");
  session.StartRequest();
  SetOption(easy, CURLOPT_URL, url.c_str());
  SetOption(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(timeLimitMs));
  const CURLcode result = curl_easy_perform(easy);
  if (session.bodyTooLarge) {
    throw failure("the response body is larger than " + std::to_string(kMaxBodyBytes) + " bytes");
  }
  if (result != CURLE_OK) {
    std::string why = curl_easy_strerror(result);
    if (session.errorText[0] != '\0') why += std::string(" (") + session.errorText + ")";
    throw failure(why);
  }
  if (session.status == 0) throw failure("the response has no sound status line");
  if (!session.headEnded) throw failure("the connection closed inside the response head");
  if (session.status / 100 != 2) {
    throw failure("the server answered with status " + std::to_string(session.status));
  }
  if (session.location) throw failure("the server redirects to \"" + *session.location + "\"");
  const char* peer = nullptr;
  session.peerAddress = curl_easy_getinfo(easy, CURLINFO_PRIMARY_IP, &peer) == CURLE_OK && peer ? peer : "";
  return std::move(session.body);
}

std::string CurlHttpClient::PeerAddress() const { return session_->peerAddress; }

}  // namespace taliven
