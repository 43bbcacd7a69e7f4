#include "http_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "local_servers.h"

namespace taliven {
namespace {

using namespace std::chrono_literals;
using testing::DeadNameServer;
using ::testing::HasSubstr;
using testing::LocalHttpServer;
using testing::RawHttpServer;
using testing::RefusingPort;

constexpr std::chrono::milliseconds kPlenty = 10s;
// What a busy machine may add to a time limit before a call returns.
constexpr std::chrono::milliseconds kSlack = 500ms;

std::chrono::milliseconds Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

// Expects Get to fail and returns the message.
std::string FailureOf(HttpClient& client, const std::string& url, std::chrono::milliseconds limit = kPlenty) {
  try {
    client.Get(url, limit.count());
  } catch (const HttpError& e) {
    return e.what();
  }
  ADD_FAILURE() << "GET " << url << " succeeded";
  return {};
}

TEST(CurlHttpClient, SendsAPlainHttp11GetWithTheFixedHeaders) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/Chinese/page.htm",
          [](const httplib::Request&, httplib::Response& res) { res.set_content("ok", "text/html"); });
  });
  CurlHttpClient client;
  EXPECT_EQ(client.Get(server.Url("/Chinese/page.htm"), kPlenty.count()), "ok");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const httplib::Request& seen = requests[0];
  EXPECT_EQ(seen.method, "GET");
  EXPECT_EQ(seen.path, "/Chinese/page.htm");
  EXPECT_EQ(seen.version, "HTTP/1.1");
  EXPECT_EQ(seen.get_header_value("Accept"), "text/html, */*");
  EXPECT_EQ(seen.get_header_value("Content-Type"), "text/html");
  EXPECT_EQ(seen.get_header_value("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
  for (const char* absent : {"Accept-Encoding", "Authorization", "Cookie", "Expect"}) {
    EXPECT_FALSE(seen.has_header(absent)) << absent;
  }
  EXPECT_TRUE(seen.body.empty());
}

TEST(CurlHttpClient, ReturnsTheBodyByteForByte) {
  const std::string bodies[] = {
      std::string("1>5>http://a/\r\n0>7>\xC4\xE3\xBA\xC3\0tail\r\n", 24),
      "",
  };
  for (const std::string& body : bodies) {
    LocalHttpServer server([&body](httplib::Server& s) {
      s.Get("/", [&body](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, "application/octet-stream");
      });
    });
    CurlHttpClient client;
    EXPECT_EQ(client.Get(server.Url("/"), kPlenty.count()), body);
  }
}

TEST(CurlHttpClient, EachClientKeepsItsOwnCookies) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/flags", [](const httplib::Request& req, httplib::Response& res) {
      if (!req.has_header("Cookie")) res.set_header("Set-Cookie", "sid=abc123; Path=/");
      res.set_content("11", "text/html");
    });
  });
  CurlHttpClient first;
  CurlHttpClient other;
  first.Get(server.Url("/flags"), kPlenty.count());
  first.Get(server.Url("/flags"), kPlenty.count());
  other.Get(server.Url("/flags"), kPlenty.count());

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_FALSE(requests[0].has_header("Cookie"));
  EXPECT_EQ(requests[1].get_header_value("Cookie"), "sid=abc123");
  EXPECT_FALSE(requests[2].has_header("Cookie"));
}

TEST(CurlHttpClient, IgnoresProxiesNamedByTheEnvironment) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_content("direct", "text/plain"); });
  });
  const RefusingPort proxy;
  ASSERT_EQ(::setenv("http_proxy", proxy.Url("").c_str(), 1), 0);
  ASSERT_EQ(::setenv("no_proxy", "", 1), 0);
  CurlHttpClient client;
  std::string body;
  EXPECT_NO_THROW(body = client.Get(server.Url("/"), kPlenty.count()));
  ::unsetenv("http_proxy");
  ::unsetenv("no_proxy");
  EXPECT_EQ(body, "direct");
}

TEST(CurlHttpClient, AcceptsOnly2xxWithoutRedirect) {
  struct Case {
    int status;
    std::optional<std::string> location;
    std::string failure;  // empty when the body comes back
  };
  const Case cases[] = {
      {200, std::nullopt, ""},
      {204, std::nullopt, ""},
      {299, std::nullopt, ""},
      {404, std::nullopt, "the server answered with status 404"},
      {500, std::nullopt, "the server answered with status 500"},
      {304, std::nullopt, "the server answered with status 304"},
      {301, "http://elsewhere/", "the server answered with status 301"},
      {302, std::nullopt, "the server answered with status 302"},
      {200, "http://elsewhere/", "the server redirects to \"http://elsewhere/\""},
      {201, "", "the server redirects to \"\""},
  };
  for (const Case& c : cases) {
    LocalHttpServer server([&c](httplib::Server& s) {
      s.Get("/", [&c](const httplib::Request&, httplib::Response& res) {
        res.status = c.status;
        if (c.status != 204) res.set_content("page " + std::to_string(c.status), "text/html");
        if (c.location) res.set_header("Location", *c.location);
      });
    });
    CurlHttpClient client;
    const std::string url = server.Url("/");
    if (c.failure.empty()) {
      EXPECT_EQ(client.Get(url, kPlenty.count()), c.status == 204 ? "" : "page " + std::to_string(c.status));
    } else {
      EXPECT_EQ(FailureOf(client, url), "GET " + url + ": " + c.failure) << c.status;
    }
  }
}

// An interim 100 Continue head comes before the final one; the final one counts.
TEST(CurlHttpClient, ReadsTheFinalResponseAfterAnInterimOne) {
  std::ifstream file(TALIVEN_HTTP_CORPUS_DIR "/continue_then_ok", std::ios::binary);
  ASSERT_TRUE(file) << "corpus reply continue_then_ok";
  const std::string reply{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  ASSERT_TRUE(reply.starts_with("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\n"));
  const RawHttpServer server(reply);
  CurlHttpClient client;
  EXPECT_EQ(client.Get(server.Url("/"), kPlenty.count()), "10");
}

// HTTP/1.1 lets a server end its head's lines, and the head, with a bare LF;
// every answer reads the same whichever ends its lines.
TEST(CurlHttpClient, ReadsHeadsEndedByCrLfOrByABareLf) {
  struct Case {
    std::string head;  // its lines end in "|"
    std::string body;
    std::string failure;  // empty for success
  };
  const Case cases[] = {
      {"HTTP/1.1 200 OK|Content-Length: 4||", "body", ""},
      {"HTTP/1.1 200 OK|Content-Type: text/plain|Connection: close||", "body", ""},
      {"HTTP/1.1 100 Continue||HTTP/1.1 200 OK|Content-Length: 4||", "body", ""},
      {"HTTP/1.1 200 OK|Transfer-Encoding: chunked||", "4|body|0||", ""},
      {"HTTP/1.1 200 OK|Location: http://elsewhere/|Content-Length: 4||", "body",
       "the server redirects to \"http://elsewhere/\""},
      {"HTTP/1.1 404 Not Found|Content-Length: 4||", "body", "the server answered with status 404"},
  };
  for (const std::string lineEnd : {"\r\n", "\n"}) {
    for (const Case& c : cases) {
      std::string reply = c.head + c.body;
      for (std::size_t bar = reply.find('|'); bar != std::string::npos; bar = reply.find('|', bar)) {
        reply.replace(bar, 1, lineEnd);
      }
      SCOPED_TRACE(reply);
      const RawHttpServer server(reply);
      CurlHttpClient client;
      if (c.failure.empty()) {
        EXPECT_EQ(client.Get(server.Url("/"), kPlenty.count()), "body");
      } else {
        EXPECT_EQ(FailureOf(client, server.Url("/")), "GET " + server.Url("/") + ": " + c.failure);
      }
    }
  }
}

// The schedule may name no address more private than the server's own.
TEST(CurlHttpClient, TellsTheAddressItsLastSuccessfulRequestReached) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_content("home", "text/html"); });
  });
  RefusingPort refusing;
  CurlHttpClient client;
  EXPECT_EQ(client.PeerAddress(), "");
  FailureOf(client, server.Url("/missing"));
  EXPECT_EQ(client.PeerAddress(), "") << "a refused response tells no address";
  client.Get(server.Url("/"), kPlenty.count());
  EXPECT_EQ(client.PeerAddress(), "127.0.0.1");
  FailureOf(client, refusing.Url("/"));
  EXPECT_EQ(client.PeerAddress(), "127.0.0.1") << "still the last successful request's";
}

TEST(CurlHttpClient, ARefusedResponseLeavesTheClientUsable) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/moved", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Location", "/");
      res.set_content("moved", "text/html");
    });
    s.Get("/big", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(kMaxBodyBytes + 1, 'x'), "text/html");
    });
    s.Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_content("home", "text/html"); });
  });
  CurlHttpClient client;
  FailureOf(client, server.Url("/moved"));
  EXPECT_EQ(client.Get(server.Url("/"), kPlenty.count()), "home");
  FailureOf(client, server.Url("/big"));
  EXPECT_EQ(client.Get(server.Url("/"), kPlenty.count()), "home");
}

TEST(CurlHttpClient, CapsTheBodyWithOrWithoutAContentLength) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get(R"(/sized/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(std::string(std::stoul(req.matches[1]), 'x'), "text/html");
    });
    s.Get(R"(/chunked/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
      const std::size_t total = std::stoul(req.matches[1]);
      res.set_chunked_content_provider("text/html", [total](std::size_t offset, httplib::DataSink& sink) {
        if (offset >= total) {
          sink.done();
          return true;
        }
        const std::string chunk(std::min<std::size_t>(64 * 1024, total - offset), 'x');
        return sink.write(chunk.data(), chunk.size());
      });
    });
  });
  CurlHttpClient client;
  for (const char* kind : {"/sized/", "/chunked/"}) {
    EXPECT_EQ(client.Get(server.Url(kind + std::to_string(kMaxBodyBytes)), kPlenty.count()).size(), kMaxBodyBytes)
        << kind;
    EXPECT_THAT(FailureOf(client, server.Url(kind + std::to_string(kMaxBodyBytes + 1))),
                HasSubstr("larger than 1048576 bytes"))
        << kind;
  }
}

TEST(CurlHttpClient, FailsOnBrokenServers) {
  const RefusingPort refusing;
  const RawHttpServer garbage("SSH-2.0-not-http\r\n\r\n");
  // curl alone would take these for status 200.
  const RawHttpServer noStatus("HTTP/kie: id=1\r\n\r\nbody");
  const RawHttpServer noVersion("HTTP/1.1 100 Continue\r\n\r\nHTTP 200 OK\r\n\r\nbody");
  const RawHttpServer truncated("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly part of it");
  // A head cut short, even one whose cut line would have redirected.
  const RawHttpServer headless("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n");
  const RawHttpServer cutRedirect("HTTP/1.0 200 OK\nLocation: http://elsewhere/");
  const std::pair<std::string, std::string> cases[] = {
      {refusing.Url("/"), "Couldn't connect to server"},
      {garbage.Url("/"), "Received HTTP/0.9 when not allowed"},
      {noStatus.Url("/"), "the response has no sound status line"},
      {noVersion.Url("/"), "Received HTTP/0.9 when not allowed"},
      {truncated.Url("/"), "Transferred a partial file"},
      {headless.Url("/"), "the connection closed inside the response head"},
      {cutRedirect.Url("/"), "the connection closed inside the response head"},
  };
  for (const auto& [url, reason] : cases) {
    CurlHttpClient client;
    const std::string failure = FailureOf(client, url);
    EXPECT_TRUE(failure.starts_with("GET " + url + ": ")) << failure;
    EXPECT_THAT(failure, HasSubstr(reason)) << url;
  }
}

TEST(CurlHttpClient, StopsReadingAnEndlessBodyAtTheCap) {
  const std::string chunk(64 * 1024, 'x');
  // 50 MB announced, and a chunked body that never ends.
  const RawHttpServer sized("HTTP/1.1 200 OK\r\nContent-Length: 52428800\r\n\r\n", chunk);
  const RawHttpServer chunked("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", "10000\r\n" + chunk + "\r\n");
  for (const std::string& url : {sized.Url("/"), chunked.Url("/")}) {
    CurlHttpClient client;
    EXPECT_THAT(FailureOf(client, url), HasSubstr("larger than 1048576 bytes")) << url;
  }
}

TEST(CurlHttpClient, EndsEveryRequestWithinItsTimeLimit) {
  const RawHttpServer silent(std::nullopt);
  const RawHttpServer trickle("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", "x", 50);
  for (const std::string& url : {silent.Url("/"), trickle.Url("/")}) {
    CurlHttpClient client;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THAT(FailureOf(client, url, 400ms), HasSubstr("Timeout")) << url;
    EXPECT_LT(Since(start), 400ms + kSlack) << url;
  }
}

TEST(CurlHttpClient, ARequestGivenNoTimeSendsNothing) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_content("ok", "text/html"); });
  });
  CurlHttpClient client;
  for (const auto limit : {0ms, -1ms}) {
    EXPECT_THAT(FailureOf(client, server.Url("/"), limit), HasSubstr("no time is left")) << limit.count();
  }
  EXPECT_TRUE(server.Requests().empty());
}

// The look-up of a name runs on a thread of its own; neither the request,
// nor the client's end, nor the process's may wait for it.
TEST(CurlHttpClient, ANameServerThatNeverAnswersHoldsNothingPastTheTimeLimit) {
  const DeadNameServer nameServer;
  const long lookups = DeadNameServer::Lookups();
  const auto start = std::chrono::steady_clock::now();
  {
    CurlHttpClient client;
    EXPECT_THAT(FailureOf(client, "http://vendor.unanswered.test/", 400ms), HasSubstr("Timeout"));
  }
  EXPECT_LT(Since(start), 400ms + kSlack);
  EXPECT_EQ(DeadNameServer::Lookups(), lookups + 1) << "the name never reached the dead name server";
}

TEST(CurlHttpClientDeathTest, AProcessEndsWithoutWaitingForALookUp) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EXIT(
      {
        ::alarm(10);  // a process held by its look-up dies of the alarm instead
        const DeadNameServer nameServer;
        CurlHttpClient client;
        FailureOf(client, "http://vendor.unanswered.test/", 200ms);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  // A new process of this program, its request, and its end.
  EXPECT_LT(Since(start), 200ms + 2 * kSlack);
}

TEST(CurlHttpClient, RefusesSchemesOtherThanHttp) {
  CurlHttpClient client;
  for (const char* url : {"file:///etc/hostname", "ftp://127.0.0.1/", "gopher://127.0.0.1/"}) {
    EXPECT_THAT(FailureOf(client, url), HasSubstr(url));
  }
}

}  // namespace
}  // namespace taliven
