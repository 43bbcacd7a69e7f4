// The content panes' real web engine, on an X display (run_on_xvfb.sh):
// what a hostile page, or a hostile schedule line, can make it do. The
// browsers come from the module the program loads, loaded as the program
// loads it: this program does not link the engine, and sees its view only
// through the toolkit's meta-objects. One engine serves every test. The
// user's home is a fresh folder, listed once the engine has gone: the engine
// must leave nothing there.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLibrary>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "embedded_browser.h"
#include "local_servers.h"
#include "web_pane.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QUrl& url, std::ostream* out) { *out << url.toString().toStdString(); }
QT_END_NAMESPACE

namespace taliven {
namespace {

using testing::LocalHttpServer;

constexpr int kWaitMs = 15'000;

bool WaitFor(const std::function<bool()>& done, int limitMs = kWaitMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limitMs) return false;
    QTest::qWait(20);
  }
  return true;
}

// Paths the server was asked for, in order.
QStringList PathsSeen(const LocalHttpServer& server) {
  QStringList paths;
  for (const httplib::Request& request : server.Requests()) paths.append(QString::fromStdString(request.path));
  return paths;
}

bool Saw(const LocalHttpServer& server, const QString& path) { return PathsSeen(server).contains(path); }

// The engine's view inside `root`, if it has one yet.
QWidget* FindView(const QWidget* root) {
  for (QWidget* child : root->findChildren<QWidget*>()) {
    if (qstrcmp(child->metaObject()->className(), "QWebEngineView") == 0) return child;
  }
  return nullptr;
}

QStringList WitnessesSeen(const LocalHttpServer& server) { return PathsSeen(server).filter("/witness"); }

// A browser of the module, as a pane creates it, in a window of its own.
class Browser {
 public:
  Browser() {
    window_.resize(640, 480);
    browser_ = CreateBrowser()(&window_);
    browser_->setGeometry(window_.rect());
    window_.show();
  }

  EmbeddedBrowser& Get() { return *browser_; }
  QWidget& View() { return *FindView(browser_); }
  QUrl ShownUrl() { return View().property("url").toUrl(); }
  QString Title() { return View().property("title").toString(); }

  // Asks the engine itself for `url`, past the module's own check.
  void LoadInEngine(const QUrl& url) { View().setProperty("url", url); }

  // The windows on screen other than this browser's.
  QList<QWindow*> OtherWindows() {
    QList<QWindow*> others;
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
      if (window->isVisible() && window != window_.windowHandle()) others.append(window);
    }
    return others;
  }

  // Loads through the module and waits for the engine to finish.
  bool Load(const QUrl& url) {
    QSignalSpy finished(&View(), SIGNAL(loadFinished(bool)));
    browser_->Load(url);
    return WaitFor([&finished] { return !finished.isEmpty(); });
  }

 private:
  static CreateEmbeddedBrowserFunction CreateBrowser() {
    QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/taliven_webengine"));
    auto create = reinterpret_cast<CreateEmbeddedBrowserFunction>(module.resolve(kCreateEmbeddedBrowserSymbol));
    if (!create) qFatal("no web engine module: %s", qPrintable(module.errorString()));
    return create;
  }

  QWidget window_;
  EmbeddedBrowser* browser_ = nullptr;
};

// A page that says it is done after a while, unless it has been replaced.
std::string PageThat(const std::string& body, const std::string& donePath) {
  return "<!DOCTYPE html><html><head><title>attack</title></head><body>" + body +
         "<script>setTimeout(() => { new Image().src = '" + donePath + "'; }, 700);</script></body></html>";
}

TEST(WebEngine, LoadsAnHttpPageAndForgetsItsCookiesWithTheBrowser) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/page", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Set-Cookie", "visit=1; Path=/; Max-Age=86400");
      res.set_content("<!DOCTYPE html><title>hello</title><p>hello</p>", "text/html");
    });
  });
  const QUrl page(QString::fromStdString(server.Url("/page")));
  {
    Browser first;
    ASSERT_TRUE(first.Load(page));
    EXPECT_EQ(first.Title(), "hello");
    ASSERT_TRUE(first.Load(page));
  }
  Browser later;
  ASSERT_TRUE(later.Load(page));

  std::vector<httplib::Request> requests;
  for (const httplib::Request& request : server.Requests()) {
    if (request.path == "/page") requests.push_back(request);
  }
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_FALSE(requests[0].has_header("Cookie"));
  EXPECT_EQ(requests[1].get_header_value("Cookie"), "visit=1") << "a browser keeps cookies while it lives";
  EXPECT_FALSE(requests[2].has_header("Cookie")) << "a new browser starts without them";
}

// Local files, scripts and documents of their own: loaded directly, from a
// page's script, into a frame, or as the target of a redirect, none is
// reached. Each would make the server see a /witness request if it were.
TEST(WebEngine, GoesToNoAddressButWebPagesWhoeverAsks) {
  QTemporaryDir files;
  ASSERT_TRUE(files.isValid());
  std::unique_ptr<LocalHttpServer> server;
  const auto witness = [&server](const std::string& name) { return server->Url("/witness/" + name); };
  const auto local = [&files](const std::string& name) {
    return "file://" + files.filePath(QString::fromStdString(name)).toStdString();
  };
  const auto dataPage = [&witness](const std::string& name) {
    return "data:text/html,<img src='" + witness(name) + "'>";
  };
  server = std::make_unique<LocalHttpServer>([&](httplib::Server& s) {
    s.Get(R"(/attack/(\w+))", [&](const httplib::Request& req, httplib::Response& res) {
      const std::string kind = req.matches[1];
      const std::string done = "/done/" + kind;
      std::string body;
      if (kind == "script_file") body = "<script>location.href = '" + local("witness.html") + "';</script>";
      if (kind == "script_data") body = "<script>location.href = \"" + dataPage("script_data") + "\";</script>";
      if (kind == "frame_file") body = "<iframe src='" + local("witness.html") + "'></iframe>";
      if (kind == "frame_data") body = "<iframe src=\"" + dataPage("frame_data") + "\"></iframe>";
      if (kind == "open_javascript")
        body = "<script>window.open(\"javascript:new Image().src='/witness/js'\");</script>";
      res.set_content(PageThat(body, done), "text/html");
    });
    s.Get(R"(/redirect/(\w+))", [&](const httplib::Request& req, httplib::Response& res) {
      const std::string to = req.matches[1];
      res.status = 302;
      if (to == "file") res.set_header("Location", local("witness.html"));
      if (to == "data") res.set_header("Location", dataPage("redirect_data"));
      if (to == "about") res.set_header("Location", "about:blank");
      if (to == "javascript") res.set_header("Location", "javascript:new Image().src='/witness/js'");
    });
  });
  QFile file(files.filePath("witness.html"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray::fromStdString("<img src='" + witness("file") + "'>"));
  file.close();

  Browser browser;
  const QUrl home(QString::fromStdString(server->Url("/attack/home")));
  ASSERT_TRUE(browser.Load(home));

  // A schedule line handed straight to the browser, and to its engine.
  for (const std::string& address : {local("witness.html"), dataPage("load_data"), std::string("about:blank"),
                                     "javascript:new Image().src='" + witness("load_javascript") + "'"}) {
    browser.Get().Load(QUrl(QString::fromStdString(address)));
    QTest::qWait(300);
    EXPECT_EQ(browser.ShownUrl(), home) << address;
  }
  for (const std::string& address : {local("witness.html"), dataPage("engine_data")}) {
    browser.LoadInEngine(QUrl(QString::fromStdString(address)));
    QTest::qWait(300);
    EXPECT_EQ(browser.ShownUrl(), home) << address;
  }

  // (A page's script may still take its own frame to about:blank, as the
  // engine's own load may: it commits that without asking, and it is the
  // page's own empty document.)
  for (const char* kind : {"script_file", "script_data", "frame_file", "frame_data", "open_javascript"}) {
    const QUrl attack(QString::fromStdString(server->Url(std::string("/attack/") + kind)));
    browser.Get().Load(attack);
    EXPECT_TRUE(WaitFor([&] { return Saw(*server, QStringLiteral("/done/") + kind); }))
        << kind << ": the page was replaced";
    EXPECT_EQ(browser.ShownUrl(), attack) << kind;
  }

  for (const char* to : {"file", "data", "about", "javascript"}) {
    const QUrl redirect(QString::fromStdString(server->Url(std::string("/redirect/") + to)));
    browser.Load(redirect);
    QTest::qWait(300);
    EXPECT_TRUE(IsWebPage(browser.ShownUrl())) << to << " " << browser.ShownUrl().toString().toStdString();
  }
  EXPECT_TRUE(WitnessesSeen(*server).isEmpty()) << WitnessesSeen(*server).join(' ').toStdString();
}

TEST(WebEngine, OpensNoWindow) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/popups", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<!DOCTYPE html><title>popups</title><body style='margin:0'>"
          "<a href='/witness/blank' target='_blank' onclick=\"new Image().src='/done/click'\""
          " style='display:block;width:100vw;height:100vh'>open</a>"
          "<script>window.open('/witness/open'); window.open('/witness/named', 'other');</script></body>",
          "text/html");
    });
  });
  Browser browser;
  ASSERT_TRUE(browser.Load(QUrl(QString::fromStdString(server.Url("/popups")))));
  // A user's click on a link that opens a new window.
  QWidget* target = browser.View().focusProxy();
  ASSERT_NE(target, nullptr);
  EXPECT_TRUE(WaitFor([&] {
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    return Saw(server, QStringLiteral("/done/click"));
  }));
  QTest::qWait(500);
  EXPECT_TRUE(WitnessesSeen(server).isEmpty()) << WitnessesSeen(server).join(' ').toStdString();
  EXPECT_TRUE(browser.OtherWindows().isEmpty());
}

TEST(WebEngine, CancelsEveryDownload) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/setup.exe", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Content-Disposition", "attachment; filename=\"setup.exe\"");
      res.set_content(std::string(64 * 1024, 'x'), "application/octet-stream");
    });
  });
  Browser browser;
  browser.Get().Load(QUrl(QString::fromStdString(server.Url("/setup.exe"))));
  ASSERT_TRUE(WaitFor([&server] { return Saw(server, QStringLiteral("/setup.exe")); }));
  QTest::qWait(1000);
  // Nothing under the download folder here; nothing anywhere under HOME is
  // checked once the engine has gone.
  const QDir downloads(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
  EXPECT_TRUE(downloads.entryList(QDir::Files).isEmpty()) << downloads.path().toStdString();
}

// The engine draws through the window's OpenGL surface; a window made
// without one would be made anew, and blink, when the first page arrives.
TEST(WebEngine, APreparedWindowStaysTheSameWindowWhenThePageArrives) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/page", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<!DOCTYPE html><title>page</title><body style='background:#c0392b'>page</body>", "text/html");
    });
  });
  QWidget window;
  window.resize(640, 480);
  auto* pane = new WebEnginePane(&window);
  pane->setGeometry(window.rect());
  pane->PrepareWindow();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const WId shown = window.winId();

  pane->Navigate(QUrl(QString::fromStdString(server.Url("/page"))));
  ASSERT_TRUE(WaitFor([&] {
    const QWidget* view = FindView(pane);
    return view && view->property("title").toString() == "page";
  }));
  QTest::qWait(500);
  EXPECT_EQ(window.winId(), shown);
}

// Lists every file and folder under `root`.
QStringList Tree(const QString& root) {
  QStringList entries;
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) entries.append(QDir(root).relativeFilePath(it.next()));
  entries.sort();
  return entries;
}

}  // namespace
}  // namespace taliven

int main(int argc, char** argv) {
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  qputenv("HOME", home.path().toLocal8Bit());
  for (const char* variable : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
    qunsetenv(variable);
  }
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

  int status = 0;
  {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  const QStringList left = taliven::Tree(home.path());
  std::printf("What the engine left under HOME (%s): %s\n", qPrintable(home.path()),
              left.isEmpty() ? "nothing" : qPrintable("\n  " + left.join("\n  ")));
  return status != 0 || !left.isEmpty() ? 1 : 0;
}
