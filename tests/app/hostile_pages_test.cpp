// Hostile pages in a content pane on the real web engine, on an X display
// (run_on_xvfb.sh): what a page can make the program's own process do, and
// what leaks out of the pane. The pane loads the engine's module as the
// program does, from beside this program, which sees the engine's objects only
// through the toolkit's meta-objects. One engine serves every test.
//
// The program's standard error is kept in a file for the whole run, from
// before the engine starts: main() fails the run if the engine wrote anything
// there, and checks that the program's own messages still get through.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "local_servers.h"
#include "session_bus.h"
#include "web_pane.h"

namespace taliven {
namespace {

using testing::LocalHttpServer;
using testing::RawHttpServer;
using testing::RefusingPort;

constexpr int kWaitMs = 15'000;

QUrl Url(const std::string& text) { return QUrl(QString::fromStdString(text)); }

bool Saw(const LocalHttpServer& server, const std::string& path) {
  for (const httplib::Request& request : server.Requests()) {
    if (request.path == path) return true;
  }
  return false;
}

// A content pane in a window of its own, as the main window holds one.
class Pane {
 public:
  Pane() {
    window_.resize(400, 300);
    pane_ = new WebEnginePane(&window_);
    pane_->setGeometry(window_.rect());
    pane_->PrepareWindow();
    window_.show();
    (void)QTest::qWaitForWindowExposed(&window_);
  }

  void Navigate(const QUrl& url) { pane_->Navigate(url); }

  // Navigates and waits for the engine to finish, whether the page loaded.
  bool Show(const QUrl& url) {
    pane_->Navigate(url);
    QSignalSpy finished(View(), SIGNAL(loadFinished(bool)));
    return finished.wait(kWaitMs) || !finished.isEmpty();
  }

  QWidget* View() {
    for (QWidget* child : pane_->findChildren<QWidget*>()) {
      if (qstrcmp(child->metaObject()->className(), "QWebEngineView") == 0) return child;
    }
    return nullptr;
  }

  // The engine's page shown now.
  QObject* Page() {
    QObject* shown = nullptr;
    for (QObject* child : pane_->findChildren<QObject*>()) {
      if (child->inherits("QWebEnginePage")) shown = child;
    }
    return shown;
  }

  // A user's click in the middle of the page.
  void Click() {
    QWidget* target = View()->focusProxy();
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
  }

 private:
  QWidget window_;
  WebEnginePane* pane_ = nullptr;
};

// A page that plays a tone from the user's first click on is muted: it plays,
// and the pane makes no sound, whatever the page does next.
TEST(HostilePagesTest, APageThatPlaysSoundIsMuted) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/loud", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<!DOCTYPE html><title>loud</title><body style='margin:0;height:100vh'><script>"
          "document.addEventListener('click', () => {"
          "  const context = new AudioContext(); const tone = context.createOscillator();"
          "  const gain = context.createGain(); gain.gain.value = 1;"
          "  tone.connect(gain).connect(context.destination); tone.start();"
          "  setTimeout(() => { new Image().src = '/playing?' + context.state + '&' + (context.currentTime > 0.5); },"
          "             1000);"
          "}, {once: true});</script></body>",
          "text/html");
    });
  });
  Pane pane;
  ASSERT_TRUE(pane.Show(Url(server.Url("/loud"))));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        pane.Click();
        QTest::qWait(200);
        return Saw(server, "/playing");
      },
      kWaitMs))
      << "the page never played";
  EXPECT_TRUE(pane.Page()->property("recentlyAudible").toBool()) << "the engine heard nothing play";
  EXPECT_TRUE(pane.Page()->property("audioMuted").toBool());
}

// The share of `image`'s pixels that are white.
double WhiteShare(const QImage& image) {
  qint64 white = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) white += image.pixel(x, y) == qRgb(255, 255, 255) ? 1 : 0;
  }
  return image.isNull() ? 0 : static_cast<double>(white) / (static_cast<double>(image.width()) * image.height());
}

// A page that fails to load leaves its pane white, with none of the engine's
// own error page (in English) in it, after a page that drew.
TEST(HostilePagesTest, APageThatFailsLeavesThePaneBlank) {
  LocalHttpServer colourful([](httplib::Server& s) {
    s.Get("/red", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<!DOCTYPE html><title>red</title><body style='background:#c0392b'>", "text/html");
    });
  });
  const RefusingPort refusing;
  const RawHttpServer oversizedHead("HTTP/1.1 200 OK\r\nX-Padding: " + std::string(300 * 1024, 'x') +
                                    "\r\nContent-Length: 0\r\n\r\n");
  struct Case {
    const char* name;
    QUrl url;
  };
  const Case cases[] = {{"connection refused", Url(refusing.Url("/ad"))},
                        {"300 KB of response headers", Url(oversizedHead.Url("/ad"))}};
  Pane pane;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(pane.Show(Url(colourful.Url("/red"))));
    ASSERT_TRUE(pane.Show(c.url));
    QTest::qWait(1000);  // the engine's error page would have drawn by now
    const QImage shown = pane.View()->grab().toImage();
    EXPECT_EQ(WhiteShare(shown), 1.0);
  }
}

// The nice values of every thread of `pid` now; empty once it is gone.
QList<int> ThreadNiceValues(qint64 pid) {
  QList<int> values;
  for (const QString& thread :
       QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, thread.toUInt());
    if (errno == 0) values.append(nice);
  }
  return values;
}

// Every renderer runs at the lowest priority from its first moments to its
// end, whatever the engine thinks of it: shown, hidden and shown again (the
// engine puts a hidden page's renderer in the background, and brings it back
// to the foreground), playing, or spinning. Its threads are sampled as often
// as the machine allows.
TEST(HostilePagesTest, EveryRendererStaysAtTheLowestPriorityForItsWholeLife) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/busy", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<!DOCTYPE html><title>busy</title><script>"
          "setInterval(() => { const end = Date.now() + 30; while (Date.now() < end) {} }, 50);</script>",
          "text/html");
    });
  });
  Pane pane;
  QMap<int, int> samples;  // nice value: how many times it was seen
  for (int page = 0; page < 3; ++page) {
    pane.Navigate(Url(server.Url("/busy")));
    QElapsedTimer clock;
    clock.start();
    qint64 renderer = 0;
    while (clock.elapsed() < 3000) {
      if (renderer <= 0) renderer = pane.Page()->property("renderProcessPid").toLongLong();
      if (renderer > 0) {
        for (int nice : ThreadNiceValues(renderer)) ++samples[nice];
      }
      if (clock.elapsed() > 1000 && clock.elapsed() < 1020) pane.View()->window()->hide();
      if (clock.elapsed() > 1500 && clock.elapsed() < 1520) pane.View()->window()->show();
      QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    }
    ASSERT_GT(renderer, 0);
  }
  ASSERT_FALSE(samples.isEmpty());
  EXPECT_EQ(samples.keys(), QList<int>{19}) << "nice values seen (value: samples): " << [&] {
    std::string seen;
    for (auto it = samples.cbegin(); it != samples.cend(); ++it) {
      seen += std::to_string(it.key()) + ": " + std::to_string(it.value()) + "  ";
    }
    return seen;
  }();
}

// A recorder of every request that reaches `address` on a free port.
class Recorder {
 public:
  explicit Recorder(const std::string& address) : address_(address) {
    server_.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
      const std::lock_guard<std::mutex> lock(mutex_);
      paths_.append(QString::fromStdString(request.method + " " + request.path));
      response.set_content("<!DOCTYPE html><title>reached</title>", "text/html");
      return httplib::Server::HandlerResponse::Handled;
    });
    port_ = server_.bind_to_any_port(address);
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::yield();
  }
  ~Recorder() {
    server_.stop();
    thread_.join();
  }
  std::string Base(const std::string& host) const { return "http://" + host + ":" + std::to_string(port_); }
  std::string Base() const { return Base(address_); }
  QStringList Reached() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return paths_;
  }

 private:
  std::string address_;
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  QStringList paths_;
};

// Runs a command, quietly; whether it succeeded.
bool Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(program, arguments);
  return process.waitForFinished(10'000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A network namespace of the test's own, joined to this machine by a pair of
// virtual interfaces: the namespace is at a public address (203.0.113.2,
// kept for documentation) and this machine at 203.0.113.1, and at a private
// one (192.168.77.1), as a device of the user's own network would be.
class PublicAddress {
 public:
  static constexpr char kPage[] = "203.0.113.2";
  static constexpr char kPrivate[] = "192.168.77.1";

  PublicAddress()
      : name_(QStringLiteral("taliven-%1").arg(getpid())),
        outside_(QStringLiteral("tlv%1h").arg(getpid())),
        inside_(QStringLiteral("tlv%1n").arg(getpid())) {
    const QString ip = QStringLiteral("ip");
    const auto inside = [&](const QStringList& command) {
      return Run(ip, QStringList{"netns", "exec", name_, ip} + command);
    };
    ready_ = Run(ip, {"netns", "add", name_}) &&
             Run(ip, {"link", "add", outside_, "type", "veth", "peer", "name", inside_}) &&
             Run(ip, {"link", "set", inside_, "netns", name_}) &&
             Run(ip, {"addr", "add", "203.0.113.1/24", "dev", outside_}) &&
             Run(ip, {"addr", "add", QStringLiteral("%1/24").arg(kPrivate), "dev", outside_}) &&
             Run(ip, {"link", "set", outside_, "up"}) &&
             inside({"addr", "add", QStringLiteral("%1/24").arg(kPage), "dev", inside_}) &&
             inside({"link", "set", inside_, "up"}) && inside({"link", "set", "lo", "up"});
  }
  ~PublicAddress() {
    if (server_.state() != QProcess::NotRunning) {
      server_.kill();
      server_.waitForFinished();
    }
    Run(QStringLiteral("ip"), {"link", "del", outside_});
    Run(QStringLiteral("ip"), {"netns", "del", name_});
  }
  bool Ready() const { return ready_; }

  // Serves `page` at http://203.0.113.2:8080/page, and a redirect to
  // `redirectTo` at /redirect, from inside the namespace.
  QUrl Serve(const std::string& page, const std::string& redirectTo) {
    const QString script =
        QStringLiteral(
            "import sys\n"
            "from http.server import BaseHTTPRequestHandler, HTTPServer\n"
            "class Handler(BaseHTTPRequestHandler):\n"
            "    def do_GET(self):\n"
            "        if self.path == '/redirect':\n"
            "            self.send_response(302); self.send_header('Location', sys.argv[2]); self.end_headers(); return\n"
            "        body = sys.argv[1].encode()\n"
            "        self.send_response(200); self.send_header('Content-Type', 'text/html')\n"
            "        self.send_header('Content-Length', str(len(body))); self.end_headers(); self.wfile.write(body)\n"
            "    def log_message(self, *args): pass\n"
            "HTTPServer(('%1', 8080), Handler).serve_forever()\n")
            .arg(kPage);
    server_.start(QStringLiteral("ip"), {"netns", "exec", name_, "python3", "-c", script, QString::fromStdString(page),
                                         QString::fromStdString(redirectTo)});
    const QUrl url(QStringLiteral("http://%1:8080/page").arg(kPage));
    const bool serving = QTest::qWaitFor([&] { return Run(QStringLiteral("python3"), {"-c", Probe(url)}); }, kWaitMs);
    return serving ? url : QUrl();
  }

 private:
  static QString Probe(const QUrl& url) {
    return QStringLiteral("import urllib.request; urllib.request.urlopen('%1', timeout=1)").arg(url.toString());
  }

  QString name_, outside_, inside_;
  bool ready_ = false;
  QProcess server_;
};

// A page from a public address reaches nothing on this machine's loopback or
// on the user's own network, by any means a page has, while a page on
// loopback (as a vendor server on loopback may name) still reaches loopback.
TEST(HostilePagesTest, APageFromAPublicAddressReachesNothingOfTheUsersNetwork) {
  if (geteuid() != 0) GTEST_SKIP() << "network namespaces need root";
  PublicAddress world;
  if (!world.Ready()) GTEST_SKIP() << "no network namespace could be made here";
  const Recorder loopback("127.0.0.1");
  const Recorder lan(PublicAddress::kPrivate);

  Pane pane;
  // The control: a loopback page reaches loopback.
  ASSERT_TRUE(pane.Show(Url(loopback.Base() + "/own")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !loopback.Reached().isEmpty(); }, kWaitMs));
  pane.Navigate(Url("http://127.0.0.1:1/"));  // leaves it
  QTest::qWait(500);
  const qsizetype before = loopback.Reached().size();

  std::string attack = "<!DOCTYPE html><title>attack</title><body><script>const targets = [";
  for (const std::string& base :
       {loopback.Base(), loopback.Base("localhost"), loopback.Base("[::ffff:127.0.0.1]"), lan.Base()}) {
    attack += "'" + base + "',";
  }
  attack +=
      "];"
      "for (const base of targets) {"
      "  new Image().src = base + '/img';"
      "  fetch(base + '/fetch', {mode: 'no-cors'}).catch(() => {});"
      "  navigator.sendBeacon(base + '/beacon', 'x');"
      "  try { new WebSocket(base.replace('http', 'ws') + '/socket'); } catch (e) {}"
      "  const frame = document.body.appendChild(document.createElement('iframe')); frame.src = base + '/frame';"
      "  const sink = document.body.appendChild(document.createElement('iframe')); sink.name = 'sink' + targets.indexOf(base);"
      "  const form = document.body.appendChild(document.createElement('form'));"
      "  form.method = 'POST'; form.enctype = 'text/plain'; form.action = base + '/form'; form.target = sink.name;"
      "  form.innerHTML = '<input name=\"{&quot;admin&quot;:1,&quot;x&quot;\" value=\"1}\">'; form.submit();"
      "}"
      "document.body.appendChild(document.createElement('iframe')).src = '/redirect';"
      "setTimeout(() => { const top = document.body.appendChild(document.createElement('form'));"
      "  top.method = 'POST'; top.action = targets[0] + '/top'; top.submit(); }, 1000);"
      "setTimeout(() => { location.href = targets[3] + '/away'; }, 1500);"
      "setTimeout(() => { document.title = 'tried everything'; }, 2000);"
      "</script></body>";
  const QUrl page = world.Serve(attack, loopback.Base() + "/redirected");
  ASSERT_FALSE(page.isEmpty()) << "the namespace's server did not start";
  ASSERT_TRUE(pane.Show(page)) << "the page from the public address did not load";
  QTest::qWait(3000);
  EXPECT_EQ(loopback.Reached().mid(before).join(", ").toStdString(), "") << "reached this machine's loopback";
  EXPECT_EQ(lan.Reached().join(", ").toStdString(), "") << "reached the user's network";
  EXPECT_EQ(pane.Page()->property("url").toUrl(), page) << "the pane left its page";
  EXPECT_EQ(pane.View()->property("title").toString(), "tried everything");
}

}  // namespace
}  // namespace taliven

// Standard error, kept in a file from before the engine starts until the
// tests are done.
class CapturedStandardError {
 public:
  CapturedStandardError() {
    if (!file_.open()) qFatal("no file for standard error");
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    dup2(file_.handle(), STDERR_FILENO);
  }
  // Gives standard error back, and returns what was written to it.
  QByteArray Release() {
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    QFile written(file_.fileName());
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
  }

 private:
  QTemporaryFile file_;
  int saved_ = -1;
};

int main(int argc, char** argv) {
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  qputenv("HOME", home.path().toLocal8Bit());
  qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());  // as a desktop session has it
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  taliven::UseOnlyARunningSessionBus();  // as the program does: no bus runs here

  CapturedStandardError captured;
  int status = 0;
  {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
    qWarning("the program's own warning");
  }
  const QByteArray written = captured.Release();
  const QByteArray own = "the program's own warning\n";
  const bool ownOnly = written == own;
  std::printf("Standard error of the run: %s\n", ownOnly ? "only the program's own warning" : written.constData());
  return status != 0 || !ownOnly ? 1 : 0;
}
