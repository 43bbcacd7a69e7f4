// The content panes' real web engine, on an X display (run_on_xvfb.sh):
// what a hostile page, or a hostile schedule line, can make it do. The
// browsers come from the module the program loads, loaded as the program
// loads it: this program does not link the engine, and sees its view only
// through the toolkit's meta-objects. One engine serves every test. The
// user's home is a fresh folder, listed once the engine has gone: the engine
// must leave nothing there.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "calendar_window.h"
#include "click_label.h"
#include "embedded_browser.h"
#include "local_servers.h"
#include "main_window.h"
#include "main_window_doubles.h"
#include "session_bus.h"
#include "tdatetime.h"
#include "web_pane.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QUrl& url, std::ostream* out) { *out << url.toString().toStdString(); }
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace taliven {
namespace {

using testing::LocalHttpServer;
using testing::RawHttpServer;

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

// The engine's page that the view inside `root` shows now: the last made.
QObject* ShownPage(const QWidget& root) {
  QObject* shown = nullptr;
  for (QObject* child : root.findChildren<QObject*>()) {
    if (child->inherits("QWebEnginePage")) shown = child;
  }
  return shown;
}

qint64 RendererPid(const QWidget& root) {
  const QObject* page = ShownPage(root);
  return page ? page->property("renderProcessPid").toLongLong() : 0;
}

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

  qint64 RendererPid() { return taliven::RendererPid(*browser_); }

  // A user's click in the middle of the page.
  void Click(Qt::MouseButton button = Qt::LeftButton) {
    QWidget* target = View().focusProxy();
    QTest::mouseClick(target, button, {}, target->rect().center());
  }

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

// A page keeps its cookies while it shows (its own navigations carry them);
// the next page the pane is sent to starts without them.
TEST(WebEngine, LoadsAnHttpPageAndForgetsItsCookiesWithThePage) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/page", [](const httplib::Request& req, httplib::Response& res) {
      res.set_header("Set-Cookie", "visit=1; Path=/; Max-Age=86400");
      const std::string onward = req.has_param("onward") ? "<script>location.href = '/next';</script>" : "";
      res.set_content("<!DOCTYPE html><title>hello</title><p>hello</p>" + onward, "text/html");
    });
    s.Get("/next", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<!DOCTYPE html><title>next</title>", "text/html");
    });
  });
  Browser browser;
  browser.Get().Load(QUrl(QString::fromStdString(server.Url("/page?onward"))));
  ASSERT_TRUE(WaitFor([&] { return browser.Title() == "next"; }));
  ASSERT_TRUE(browser.Load(QUrl(QString::fromStdString(server.Url("/page")))));

  std::vector<httplib::Request> requests;
  for (const httplib::Request& request : server.Requests()) {
    if (request.path == "/page" || request.path == "/next") requests.push_back(request);
  }
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_FALSE(requests[0].has_header("Cookie"));
  EXPECT_EQ(requests[1].get_header_value("Cookie"), "visit=1") << "a page keeps its cookies while it shows";
  EXPECT_FALSE(requests[2].has_header("Cookie")) << "the next page starts without them";
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
    // (A refused redirect is a failed load: the pane is left blank.)
    EXPECT_TRUE(browser.ShownUrl().isEmpty() || IsWebPage(browser.ShownUrl()))
        << to << " " << browser.ShownUrl().toString().toStdString();
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

// The main window's real panes at their real ticks: the banner pane is on
// but has no page yet, so its first ticks find nothing to show; the centre
// pane shows one page, whose renderer is killed, and shows it again at its
// next tick.
TEST(WebEnginePane, ShowsItsPageAgainAtTheTickAfterItsRendererDiedAndAPaneWithoutOneTicksOn) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/page", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<!DOCTYPE html><title>page</title><p>page</p>", "text/html");
    });
  });
  testing::MainWindowDoubles doubles;
  MainWindowServices services =
      testing::TestServices(doubles, "0>1>" + server.Url("/page") + "\r\n", std::string("11"), std::string("11"));
  services.createPane = [](QWidget* parent) -> WebPane* { return new WebEnginePane(parent); };
  TFrmmain window(std::move(services));
  window.show();
  ASSERT_EQ(window.FCentreOn, 1);
  ASSERT_EQ(window.FBannerOn, 1);
  const auto served = [&] { return PathsSeen(server).count(QStringLiteral("/page")); };
  ASSERT_TRUE(WaitFor([&] { return served() == 1; })) << "the centre pane's first tick";
  const auto* centre = window.findChild<WebPane*>(QStringLiteral("EmbeddedWB1"));
  ASSERT_NE(centre, nullptr);
  qint64 renderer = 0;
  ASSERT_TRUE(WaitFor([&] { return (renderer = RendererPid(*centre)) > 0; }));
  QTest::qWait(2500);  // ticks that keep the single page, and the banner's that find none
  EXPECT_EQ(served(), 1) << "a pane with a single page reloaded it";

  ASSERT_EQ(kill(static_cast<pid_t>(renderer), SIGKILL), 0);
  EXPECT_TRUE(WaitFor([&] { return served() == 2; })) << "the page was not shown again";
  EXPECT_TRUE(WaitFor([&] { return RendererPid(*centre) > 0 && RendererPid(*centre) != renderer; }))
      << "no new renderer";
}

// Hostile pages, each as an attacker would write it. A page reports what it
// got to /report/NAME?VALUE.
std::string HostilePage(const std::string& name) {
  const std::string report =
      "const report = (value) => { new Image().src = '/report/" + name + "?' + encodeURIComponent(String(value)); };";
  // What the page does at once, and what it does on the user's first click.
  std::string now, onClick;
  if (name == "alert") now = "for (let i = 0; i < 100; i++) alert('QQ安全中心：您的帐号存在风险'); report('returned');";
  if (name == "confirm") now = "report(confirm('您的电脑已中毒，立即清理？'));";
  if (name == "prompt") now = "report(prompt('QQ安全中心：登录已过期，请重新输入您的QQ密码', ''));";
  if (name == "file") {
    onClick =
        "const input = document.createElement('input'); input.type = 'file'; document.body.append(input);"
        "input.click(); setTimeout(() => report(input.files.length), 800);";
  }
  if (name == "color") {
    onClick =
        "const input = document.createElement('input'); input.type = 'color'; document.body.append(input);"
        "input.click(); setTimeout(() => report('returned'), 800);";
  }
  if (name == "print") onClick = "window.print(); report('returned');";
  if (name == "auth") now = "fetch('/auth').then((answer) => report(answer.status));";
  if (name == "fullscreen")
    onClick = "document.body.requestFullscreen().then(() => report('granted'), () => report('refused'));";
  if (name == "leave") {
    now =
        "window.addEventListener('beforeunload', (event) => { event.preventDefault(); event.returnValue = '确定离开？'; });";
    onClick = "location.href = '/report/leave?left';";
  }
  return "<!DOCTYPE html><html><head><meta charset='utf-8'><title>" + name +
         "</title></head><body style='margin:0;height:100vh'><p>hostile</p><script>" + report + now +
         "document.addEventListener('click', () => {" + onClick + "}, {once: true});</script></body></html>";
}

// Every hostile page at /hostile/NAME; what the pages report, by name.
class HostileServer {
 public:
  HostileServer()
      : server_([](httplib::Server& s) {
          s.Get(R"(/hostile/(\w+))", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(HostilePage(req.matches[1]), "text/html; charset=utf-8");
          });
          s.Get("/auth", [](const httplib::Request&, httplib::Response& res) {
            res.status = 401;
            res.set_header("WWW-Authenticate", "Basic realm=\"QQ\"");
          });
          s.Get(R"(/report/(\w+))", [](const httplib::Request&, httplib::Response& res) { res.status = 204; });
        }) {}

  QUrl Page(const std::string& name) const { return QUrl(QString::fromStdString(server_.Url("/hostile/" + name))); }

  // The value the page NAME reported first, or nothing yet.
  std::optional<std::string> Report(const std::string& name) const {
    for (const httplib::Request& request : server_.Requests()) {
      if (request.path == "/report/" + name) {
        const auto query = request.target.find('?');
        return query == std::string::npos ? std::string()
                                          : httplib::detail::decode_url(request.target.substr(query + 1), true);
      }
    }
    return std::nullopt;
  }

  const LocalHttpServer& Server() const { return server_; }

 private:
  LocalHttpServer server_;
};

// Closes any dialog that reaches the screen, and keeps what it said: a test
// that one did would otherwise wait for a user.
class DialogWatch {
 public:
  DialogWatch() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (!dialog || !dialog->isVisible() || dialog->testAttribute(Qt::WA_DontShowOnScreen)) continue;
        shown_.append(QString::fromLatin1(dialog->metaObject()->className()) + ": " + dialog->windowTitle());
        dialog->reject();
      }
    });
    timer_.start(100);
  }
  QStringList Shown() const { return shown_; }

 private:
  QTimer timer_;
  QStringList shown_;
};

// Nothing but the browser's own window on screen: no dialog, no menu.
void ExpectOnlyTheBrowser(Browser& browser, const std::string& what) {
  EXPECT_TRUE(browser.OtherWindows().isEmpty()) << what << ": a window opened";
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << what;
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << what;
}

// No dialog, ever: the page gets the answer a dialog closed at once gives,
// nothing waits for the user, and the page may always be left.
TEST(HostilePage, ShowsNoDialogAndGetsTheAnswersOfOneClosedAtOnce) {
  HostileServer server;
  struct Case {
    const char* name;
    bool click;
    const char* reported;
  };
  const Case cases[] = {
      {"alert", false, "returned"}, {"confirm", false, "false"},     {"prompt", false, "null"},
      {"file", true, "0"},          {"color", true, "returned"},     {"print", true, "returned"},
      {"auth", false, "401"},       {"fullscreen", true, "refused"}, {"leave", true, "left"},
  };
  Browser browser;
  const DialogWatch dialogs;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(browser.Load(server.Page(c.name)));
    if (c.click) {
      EXPECT_TRUE(WaitFor([&] {
        browser.Click();
        return server.Report(c.name).has_value();
      })) << "no report";
    }
    EXPECT_TRUE(WaitFor([&] { return server.Report(c.name).has_value(); })) << "no report";
    EXPECT_EQ(server.Report(c.name).value_or("(none)"), c.reported);
    QTest::qWait(200);
    ExpectOnlyTheBrowser(browser, c.name);
  }
  // The engine's own menu stays away too.
  browser.Click(Qt::RightButton);
  QTest::qWait(300);
  ExpectOnlyTheBrowser(browser, "a right click");
  EXPECT_TRUE(dialogs.Shown().isEmpty()) << dialogs.Shown().join(", ").toStdString();
}

// The clipboard is the user's: a page that copies on a click, by
// execCommand, through a frame's fresh copy of it, or by the Clipboard API,
// leaves it as it was. So does the X selection, which a middle click pastes,
// and which the engine gives what it copies as well.
TEST(HostilePage, LeavesTheClipboardAndTheSelectionAsTheUserLeftThem) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/copier", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<!DOCTYPE html><title>copier</title><body style='margin:0;height:100vh'><p id=bait>stolen text</p><script>"
          "document.addEventListener('copy', (e) => { e.clipboardData.setData('text/plain', 'by handler');"
          " e.preventDefault(); });"
          "document.addEventListener('click', () => {"
          "  getSelection().selectAllChildren(document.getElementById('bait'));"
          "  const frame = document.body.appendChild(document.createElement('iframe'));"
          "  const tries = [document.execCommand('copy'), document.execCommand('cut'),"
          "    frames[0].Document.prototype.execCommand.call(document, 'copy')];"
          "  getSelection().selectAllChildren(document.getElementById('bait'));"
          "  tries.push(frames[0].Document.prototype.execCommand.call(document, 'copy'));"
          "  const inner = frames[0].document;"
          "  inner.body.innerHTML = '<p>from the frame</p>';"
          "  frames[0].getSelection().selectAllChildren(inner.body);"
          "  tries.push(inner.execCommand('copy'));"
          "  if (navigator.clipboard) navigator.clipboard.writeText('by api').catch(() => {});"
          "  new Image().src = '/done?' + tries.join(',');"
          "}, {once: true});</script></body>",
          "text/html");
    });
  });
  QClipboard* clipboard = QGuiApplication::clipboard();
  ASSERT_TRUE(clipboard->supportsSelection());
  const struct {
    QClipboard::Mode mode;
    const char* name;
    QString users;
  } modes[] = {{QClipboard::Clipboard, "the clipboard", QStringLiteral("the user's own text")},
               {QClipboard::Selection, "the X selection", QStringLiteral("the user's own selection")}};
  for (const auto& m : modes) clipboard->setText(m.users, m.mode);
  Browser browser;
  ASSERT_TRUE(browser.Load(QUrl(QString::fromStdString(server.Url("/copier")))));
  EXPECT_TRUE(WaitFor([&] {
    browser.Click();
    return Saw(server, QStringLiteral("/done"));
  }));
  QTest::qWait(500);
  for (const auto& m : modes) EXPECT_EQ(clipboard->text(m.mode), m.users) << m.name;
}

// A page that never returns from its script is replaced at the tick like any
// other, and its renderer, at the lowest priority and within its memory
// bound, ends within a second of it.
TEST(HostilePage, AFrozenPageIsReplacedAtTheTickAndItsRendererEnds) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/frozen", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<!DOCTYPE html><title>frozen</title><script>setTimeout(() => { for (;;) {} }, 200);</script>",
                      "text/html");
    });
    s.Get("/next", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<!DOCTYPE html><title>next</title>", "text/html");
    });
  });
  Browser browser;
  ASSERT_TRUE(browser.Load(QUrl(QString::fromStdString(server.Url("/frozen")))));
  const qint64 frozen = browser.RendererPid();
  ASSERT_GT(frozen, 0);
  QTest::qWait(500);  // it spins now
  for (const QString& thread :
       QDir(QStringLiteral("/proc/%1/task").arg(frozen)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    errno = 0;
    EXPECT_EQ(getpriority(PRIO_PROCESS, thread.toUInt()), 19) << "thread " << thread.toStdString();
  }
  rlimit memory{};
  ASSERT_EQ(prlimit(static_cast<pid_t>(frozen), RLIMIT_DATA, nullptr, &memory), 0);
  EXPECT_LE(memory.rlim_cur, rlim_t{1536} << 20);

  QElapsedTimer sinceTick;
  sinceTick.start();
  browser.Get().Load(QUrl(QString::fromStdString(server.Url("/next"))));
  EXPECT_TRUE(WaitFor([&] { return browser.Title() == "next"; }, 3000)) << "the next page shows";
  EXPECT_TRUE(WaitFor([&] { return kill(static_cast<pid_t>(frozen), 0) != 0; }, 2000)) << "the frozen renderer ends";
  EXPECT_LT(sinceTick.elapsed(), 1500);
}

// What a page costs to draw falls on the engine's compositor, a thread of the
// program's own: it runs at the lowest priority too, so that the user's other
// programs go first.
TEST(HostilePage, TheCompositorThreadYieldsToEverythingElse) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/page", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<!DOCTYPE html><title>page</title><p>page</p>", "text/html");
    });
  });
  Browser browser;
  ASSERT_TRUE(browser.Load(QUrl(QString::fromStdString(server.Url("/page")))));
  QStringList compositors;
  const auto lowered = [&] {
    compositors.clear();
    bool allLowered = true;
    for (const QString& thread : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      QFile name(QStringLiteral("/proc/self/task/%1/comm").arg(thread));
      if (!name.open(QIODevice::ReadOnly) || !name.readAll().startsWith("VizCompositor")) continue;
      compositors.append(thread);
      errno = 0;
      allLowered = allLowered && getpriority(PRIO_PROCESS, thread.toUInt()) == 19;
    }
    return !compositors.isEmpty() && allLowered;
  };
  EXPECT_TRUE(WaitFor(lowered, 2000)) << "compositor threads: " << compositors.join(' ').toStdString();
}

// A page that fills its renderer's memory kills only its renderer, and the
// pane shows its page again at its next tick instead of staying blank.
TEST(HostilePage, APageThatExhaustsItsMemoryIsShownAgainAtTheNextTick) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/hog", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<!DOCTYPE html><title>hog</title><script>const hoard = [];"
          "setInterval(() => { for (let i = 0; i < 64; i++) hoard.push(new Array(1 << 20).fill(hoard.length)); }, 10);"
          "</script>",
          "text/html");
    });
  });
  Browser browser;
  ASSERT_TRUE(browser.Load(QUrl(QString::fromStdString(server.Url("/hog")))));
  const qint64 hog = browser.RendererPid();
  qint64 peakKiB = 0;  // the most the renderer held, as it grew
  EXPECT_TRUE(WaitFor(
      [&] {
        QFile status(QStringLiteral("/proc/%1/status").arg(hog));
        if (!status.open(QIODevice::ReadOnly)) return true;  // it is gone
        for (const QByteArray& line : status.readAll().split('\n')) {
          if (line.startsWith("VmRSS:"))
            peakKiB = std::max(peakKiB, line.mid(6).trimmed().split(' ').first().toLongLong());
        }
        return false;
      },
      60'000))
      << "the renderer died";
  EXPECT_LE(peakKiB, 1536 * 1024) << "the renderer grew past 1.5 GB";
  const auto served = [&] { return PathsSeen(server).count(QStringLiteral("/hog")); };
  EXPECT_EQ(served(), 1);
  browser.Get().ReloadIfGone();  // the tick
  EXPECT_TRUE(WaitFor([&] { return served() == 2; })) << "shown again";
}

// What the page writes to its console stays there: the program's standard
// error gets none of it.
TEST(HostilePage, ItsConsoleNeverReachesTheProgramsOutput) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/chatter", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<!DOCTYPE html><title>chatter</title><script>const line = 'x'.repeat(1000); let n = 0;"
          "const talk = () => { for (let i = 0; i < 2000; i++) { console.error(line); console.log(line); }"
          " if (++n < 10) setTimeout(talk, 0); else new Image().src = '/done'; }; talk();</script>",
          "text/html");
    });
  });
  QTemporaryFile captured;
  ASSERT_TRUE(captured.open());
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  dup2(captured.handle(), STDERR_FILENO);
  {
    Browser browser;
    browser.Get().Load(QUrl(QString::fromStdString(server.Url("/chatter"))));
    WaitFor([&] { return Saw(server, QStringLiteral("/done")); });
    QTest::qWait(500);
  }
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
  EXPECT_TRUE(Saw(server, QStringLiteral("/done")));
  const QByteArray output = QFile(captured.fileName()).open(QIODevice::ReadOnly) ? captured.readAll() : QByteArray();
  EXPECT_LT(captured.size(), 2048) << "40,000 console lines of 1,000 characters reached standard error";
}

// Nor does it cross to the program's process to be dropped there, where a
// page that writes without end would keep the program busy: before the page's
// first script, in the page and in a frame it makes (at once, and once the
// frame has its own scripts), the console's methods are no longer the
// engine's, and the page cannot put them back.
TEST(HostilePage, ItsConsoleIsInertInEveryFrameFromItsFirstScript) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/console", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<!DOCTYPE html><title>console</title><script>"
          "const engines = (c) => ['log', 'error', 'warn', 'info', 'debug', 'table', 'dir', 'trace']"
          " .filter((name) => String(c[name]).includes('[native code]')).join(',');"
          "const main = engines(console);"
          "delete console.log; console.error = console.constructor.prototype.error;"
          "const restored = engines(console);"
          "const frame = document.createElement('iframe'); document.documentElement.appendChild(frame);"
          "const atOnce = engines(frame.contentWindow.console);"
          "setTimeout(() => { new Image().src = '/report/main:' + main + '/restored:' + restored + '/frame:' + atOnce"
          " + '/later:' + engines(frame.contentWindow.console); }, 100);"
          "</script>",
          "text/html");
    });
  });
  Browser browser;
  browser.Get().Load(QUrl(QString::fromStdString(server.Url("/console"))));
  WaitFor([&] { return !PathsSeen(server).filter("/report").isEmpty(); });
  EXPECT_EQ(PathsSeen(server).filter("/report").join(' ').toStdString(), "/report/main:/restored:/frame:/later:");
}

// A TLS server on a free port, with a fresh self-signed certificate, run by
// the openssl command.
class TlsServer {
 public:
  TlsServer() {
    const QString key = folder_.filePath(QStringLiteral("key.pem")),
                  cert = folder_.filePath(QStringLiteral("cert.pem"));
    QProcess request;
    request.setStandardOutputFile(QProcess::nullDevice());
    request.setStandardErrorFile(QProcess::nullDevice());
    request.start(QStringLiteral("openssl"), {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj",
                                              "/CN=127.0.0.1", "-keyout", key, "-out", cert});
    request.waitForFinished();
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    for (int attempt = 0; attempt < 5 && !Listening(); ++attempt) {
      port_ = FreePort();
      server_.start(QStringLiteral("openssl"),
                    {"s_server", "-quiet", "-accept", QString::number(port_), "-cert", cert, "-key", key, "-www"});
      WaitFor([this] { return Listening() || server_.state() == QProcess::NotRunning; }, 3000);
    }
  }
  ~TlsServer() {
    server_.kill();
    server_.waitForFinished();
  }
  QUrl Url() const { return QUrl(QStringLiteral("https://127.0.0.1:%1/").arg(port_)); }

 private:
  static int FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
  }
  bool Listening() const {
    if (port_ == 0) return false;
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port_));
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
  }

  QTemporaryDir folder_;
  QProcess server_;
  int port_ = 0;
};

// Pages that store data, and a secure page, leave nothing under HOME once they
// are replaced (main() lists HOME when the engine has gone); https is a web page.
TEST(HostilePage, StoresNothingThatOutlivesItAndAnHttpsPageIsAWebPage) {
  LocalHttpServer server([](httplib::Server& s) {
    s.Get("/hoarder", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<!DOCTYPE html><title>hoarder</title><script>localStorage.setItem('id', 'x'.repeat(100000));"
          "const open = indexedDB.open('hoard', 1);"
          "open.onupgradeneeded = () => open.result.createObjectStore('s');"
          "open.onsuccess = () => { const t = open.result.transaction('s', 'readwrite');"
          " t.objectStore('s').put(new Uint8Array(1 << 20), 'k'); t.oncomplete = () => { new Image().src = '/done'; }; };"
          "caches.open('c').then((c) => c.put('/x', new Response('y'))).catch(() => {});</script>",
          "text/html");
    });
  });
  Browser browser;
  browser.Get().Load(QUrl(QString::fromStdString(server.Url("/hoarder"))));
  EXPECT_TRUE(WaitFor([&] { return Saw(server, QStringLiteral("/done")); }));

  // A secure server of a certificate no one vouches for: the engine goes
  // there, checks it and refuses it, without asking anyone.
  TlsServer secureServer;
  const QUrl secure = secureServer.Url();
  ASSERT_TRUE(IsWebPage(secure));
  ASSERT_TRUE(browser.Load(secure));
  EXPECT_EQ(ShownPage(browser.Get())->property("requestedUrl").toUrl(), secure);
  ExpectOnlyTheBrowser(browser, "a refused certificate");
}

// The user's own folders for the run, as main() set them up before the
// engine started: the XDG base directories when the run names them, and
// HOME's own folders when it does not.
struct UserFolders {
  QString home, data, config, cache;
};
UserFolders& TheUsersFolders() {
  static UserFolders folders;
  return folders;
}

// A file written for the test into a user's folder, removed with the
// folders it made.
class UserFile {
 public:
  UserFile(const QString& folder, const QString& name, const QByteArray& text) {
    for (QString made = folder; !QDir(made).exists(); made = QFileInfo(made).path()) made_.append(made);
    QDir().mkpath(folder);
    QFile file(path_ = QDir(folder).filePath(name));
    if (file.open(QIODevice::WriteOnly)) file.write(text);
  }
  ~UserFile() {
    QFile::remove(path_);
    for (const QString& folder : made_) QDir().rmdir(folder);
  }

 private:
  QString path_;
  QStringList made_;  // innermost first
};

// Once the panes have started the engine, HOME names the engine's folder;
// the program's own files stay in the user's folders: the calendar reads the
// user's holidays.txt, and the settings, data and caches go where they always went.
TEST(UserFolders, StayTheUsersOnceTheEngineHasStarted) {
  const UserFolders& user = TheUsersFolders();
  QWidget window;
  WebEnginePane pane(&window);
  pane.PrepareWindow();  // as the main window does for a pane that shows pages: the engine starts
  ASSERT_NE(qEnvironmentVariable("HOME"), user.home) << "the engine did not take HOME";

  const UserFile holidays(user.data + "/taliven", QStringLiteral("holidays.txt"), "2031-01-01 班 试行\n");
  TFRM_Date calendar;
  calendar.ShowMonth(EncodeDate(2031, 1, 1).value());
  const auto first = std::find_if(DayCells.begin(), DayCells.end(), [&](const ClickLabel* cell) {
    return cell->isVisibleTo(&calendar) && cell->tag() == 1;
  });
  ASSERT_NE(first, DayCells.end());
  const auto* mark = (*first)->findChild<QLabel*>();
  ASSERT_NE(mark, nullptr);
  EXPECT_TRUE(mark->isVisibleTo(&calendar) && mark->text() == "班") << "the user's holidays.txt was not read";

  EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString(),
            user.data.toStdString());
  EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString(),
            user.config.toStdString());
  EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation).toStdString(),
            user.cache.toStdString());
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

// Whether process `pid` runs with `variable` in its environment.
bool RunsWith(const QString& pid, const QByteArray& variable) {
  QFile environment(QStringLiteral("/proc/%1/environ").arg(pid));
  return environment.open(QIODevice::ReadOnly) && environment.readAll().split('\0').contains(variable);
}

// The processes that start a session bus of their own (dbus-launch) for this
// program, by pid. They outlive whoever had them started and leave its
// process tree, but keep its environment, and so the X display of its own
// that this program runs on: one that anything else on the machine started
// is not counted.
QStringList SessionBusLaunchers() {
  const QByteArray display = "DISPLAY=" + qgetenv("DISPLAY");
  QStringList launchers;
  for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    QFile name(QStringLiteral("/proc/%1/comm").arg(pid));
    if (name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == "dbus-launch" && RunsWith(pid, display)) {
      launchers.append(pid);
    }
  }
  return launchers;
}

}  // namespace
}  // namespace taliven

// With --xdg-folders, the user's XDG base directories are named, each in a
// folder of its own outside HOME; without, none is and HOME's own serve.
int main(int argc, char** argv) {
  QTemporaryDir home, xdg;
  if (!home.isValid() || !xdg.isValid()) return 2;
  const auto last = std::remove(argv + 1, argv + argc, std::string_view("--xdg-folders"));
  const bool xdgFolders = last != argv + argc;
  argc = static_cast<int>(last - argv);
  qputenv("HOME", home.path().toLocal8Bit());
  for (const char* variable : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
    if (xdgFolders) {
      qputenv(variable, xdg.filePath(QString::fromLatin1(variable).toLower()).toLocal8Bit());
    } else {
      qunsetenv(variable);
    }
  }
  taliven::TheUsersFolders() = {home.path(), qEnvironmentVariable("XDG_DATA_HOME", home.path() + "/.local/share"),
                                qEnvironmentVariable("XDG_CONFIG_HOME", home.path() + "/.config"),
                                qEnvironmentVariable("XDG_CACHE_HOME", home.path() + "/.cache")};
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  taliven::UseOnlyARunningSessionBus();  // as the program does

  const QStringList busesBefore = taliven::SessionBusLaunchers();
  int status = 0;
  {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  const QStringList left = taliven::Tree(home.path());
  std::printf("What the engine left under HOME (%s): %s\n", qPrintable(home.path()),
              left.isEmpty() ? "nothing" : qPrintable("\n  " + left.join("\n  ")));
  QStringList busesStarted = taliven::SessionBusLaunchers();
  for (const QString& before : busesBefore) busesStarted.removeAll(before);
  std::printf("Session buses it started: %s\n", busesStarted.isEmpty() ? "none" : qPrintable(busesStarted.join(' ')));
  return status != 0 || !left.isEmpty() || !busesStarted.isEmpty() ? 1 : 0;
}
