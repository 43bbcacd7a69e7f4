// The web engine module: a browser for remote pages that may go nowhere but
// to other web pages, and that is shown and nothing else. Whatever a page
// does stays inside its pane and its time there: it opens no window and no
// dialog, reads no local file, downloads nothing, reaches no address more
// private than its own, makes no sound, drags nothing out, keeps nothing once
// it is replaced, says nothing on the program's output, leaves the clipboard
// alone (clipboard_gate.cpp), and its renderer runs at the lowest priority
// within a memory bound and ends with it. Loaded by WebEnginePane when a content pane
// is to show pages.
#include <linux/capability.h>
#include <malloc.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>

#include <QAuthenticator>
#include <QChildEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QLoggingCategory>
#include <QPointer>
#include <QQuickWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <utility>

#include "address_reach.h"
#include "embedded_browser.h"
#include "quiet_engine_start.h"

// The engine's own set-up of the OpenGL context it shares with the program.
// Programs that link the engine get it before their application object
// exists; this module is loaded later, so it runs it itself, once, before
// its first view. (Exported by the engine library, declared in no public
// header.)
namespace QtWebEngineCore {
void initialize();
}

namespace taliven {
namespace {

constexpr char kSurfaceHintName[] = "taliven_web_surface_hint";

// A renderer may commit this much memory; past it, it dies, and its pane
// shows its page again at the next tick.
constexpr rlim_t kRendererMemoryBytes = rlim_t{1} << 30;
// How long after a page is replaced the program gives the memory it stored
// back to the system.
constexpr int kReleaseMemoryAfterMs = 2000;
// The lowest scheduling priority: an ad never slows the desktop.
constexpr int kRendererNice = 19;

// Where the engine may keep what it insists on keeping; removed with the
// module, as the program ends, or by taliven_remove_engine_files.
QString ScratchFolder() {
  static const QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("taliven-web-XXXXXX")));
  return folder.path();
}

// The engine makes a certificate database in HOME/.pki/nssdb the first time
// it checks a secure page, wherever it is told to keep its data. So from now
// on HOME names the scratch folder. The folders the program itself keeps its
// files in are pinned to the user's first, as the XDG base directories have
// them; the programs it starts get the user's home with the environment the
// program was started with (browser_launcher.h).
void KeepTheEngineOutOfHome() {
  const QByteArray home = qgetenv("HOME");
  if (home.isEmpty()) return;
  const std::pair<const char*, const char*> folders[] = {{"XDG_CONFIG_HOME", "/.config"},
                                                         {"XDG_DATA_HOME", "/.local/share"},
                                                         {"XDG_CACHE_HOME", "/.cache"},
                                                         {"XDG_STATE_HOME", "/.local/state"}};
  for (const auto& [variable, underHome] : folders) {
    if (!qgetenv(variable).startsWith('/')) qputenv(variable, home + underHome);
  }
  qputenv("HOME", QFile::encodeName(ScratchFolder()));
  // The OpenGL driver would keep the shaders it builds for the pages in the
  // user's cache folder.
  qputenv("MESA_SHADER_CACHE_DISABLE", "true");
  qputenv("MESA_GLSL_CACHE_DISABLE", "true");
}

// The engine's own log lines (tile memory, the session bus, WebGL, its set-up)
// say nothing the user can act on. Only what ends it still reaches standard
// error; the program's own messages are left as they are.
void QuietenTheEngine() {
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --log-level=3");
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webengine*=false"));
}

// Every thread of a process at the lowest priority.
void LowerPriority(qint64 pid) {
  for (const QString& thread :
       QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    const id_t id = thread.toUInt();
    errno = 0;
    if (getpriority(PRIO_PROCESS, id) < kRendererNice && errno == 0) setpriority(PRIO_PROCESS, id, kRendererNice);
  }
}

// A bound on the memory a process may commit.
void BoundMemory(qint64 pid) {
  const rlimit memory{kRendererMemoryBytes, kRendererMemoryBytes};
  prlimit(static_cast<pid_t>(pid), RLIMIT_DATA, &memory, nullptr);
}

// As root, the engine sets a renderer it thinks in the background to nice 5
// and one in the foreground back to 0, and a renderer's threads raise their
// own priority: each needs the right to raise a priority (CAP_SYS_NICE). The
// program gives that right up, for itself and for every process it starts,
// before the engine starts any: a renderer's priority can then only go down.
// (Capabilities belong to a thread; the engine's threads are all started from
// this one, later.)
void GiveUpRaisingPriorities() {
  prctl(PR_CAPBSET_DROP, CAP_SYS_NICE, 0, 0, 0);
  prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_LOWER, CAP_SYS_NICE, 0, 0);
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct sets[_LINUX_CAPABILITY_U32S_3]{};
  if (syscall(SYS_capget, &header, sets) != 0) return;
  const auto right = ~(1u << (CAP_SYS_NICE % 32));
  auto& set = sets[CAP_SYS_NICE / 32];
  set.effective &= right;
  set.permitted &= right;
  set.inheritable &= right;
  syscall(SYS_capset, &header, sets);
}

// Whether `pid` is one of the engine's zygotes, started by this process: the
// processes it forks each renderer from.
bool IsOurZygote(const QString& pid) {
  QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!commandLine.open(QIODevice::ReadOnly) || !commandLine.readAll().contains("--type=zygote")) return false;
  if (!status.open(QIODevice::ReadOnly)) return false;
  const QByteArray parent = "\nPPid:\t" + QByteArray::number(getpid()) + '\n';
  return status.readAll().contains(parent);
}

// A renderer takes its priority and memory bound from the zygote it is forked
// from: restrained there, it is restrained from its first moment.
void RestrainZygotes() {
  for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (!IsOurZygote(pid)) continue;
    LowerPriority(pid.toLongLong());
    BoundMemory(pid.toLongLong());
  }
}

void StartEngine() {
  static const bool started = [] {
    KeepTheEngineOutOfHome();
    QuietenTheEngine();
    // Drawing the pages compiles shaders, which the toolkit would otherwise
    // keep in the user's cache folder.
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    GiveUpRaisingPriorities();
    const QuietEngineStart quietly;
    QtWebEngineCore::initialize();
    return true;
  }();
  (void)started;
}

// How often a page's renderer is looked after: the engine starts one as the
// page commits, and another when a link leads to another site, and says
// nothing of either.
constexpr int kRendererWatchMs = 100;

// Keeps each renderer the page is given restrained, should one come from
// elsewhere than the zygotes (a user's own switches for the engine may have
// it so).
// The engine composites every page in this process, on a thread of its own:
// what a page costs to draw falls there. That thread yields to everything
// else the user runs, as the renderers do. It is started with the first page.
void LowerCompositorPriority() {
  static bool lowered = false;
  if (lowered) return;
  for (const QString& thread : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    QFile name(QStringLiteral("/proc/self/task/%1/comm").arg(thread));
    if (!name.open(QIODevice::ReadOnly) || !name.readAll().startsWith("VizCompositor")) continue;
    lowered = setpriority(PRIO_PROCESS, static_cast<id_t>(thread.toLongLong()), kRendererNice) == 0;
  }
}

void WatchRenderer(QWebEnginePage* page) {
  auto* watch = new QTimer(page);
  QObject::connect(watch, &QTimer::timeout, page, [page, bounded = qint64{0}]() mutable {
    LowerCompositorPriority();
    const qint64 pid = page->renderProcessPid();
    if (pid <= 0) return;
    if (pid != bounded) BoundMemory(bounded = pid);
    LowerPriority(pid);
  });
  watch->start(kRendererWatchMs);
}

// The question the engine itself asks, through javaScriptConfirm, before a
// page that objects is left.
QString LeaveQuestion() {
  return QCoreApplication::translate(
      "QWebEnginePage", "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

// The view opens some dialogs of its own for a page (the colour chooser of
// <input type=color>, and whatever a later engine adds): each is kept off
// the screen and closed as if the user had cancelled it.
class DialogRefuser final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Polished as it is about to show, when it is a whole dialog at last.
    if (event->type() == QEvent::ChildPolished) {
      if (auto* dialog = qobject_cast<QDialog*>(static_cast<QChildEvent*>(event)->child())) {
        dialog->setAttribute(Qt::WA_DontShowOnScreen);
        QTimer::singleShot(0, dialog, &QDialog::reject);
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

// A page may start a drag (of a link, an image, its text), which the engine
// runs in a loop of its own until the mouse button is released. After a quick
// press, drag and release it starts only once the button is already up, and
// takes the user's next click, on whatever part of the program, for its drop.
// Nothing is dragged out of a pane: a drag is called off as soon as it is made
// for anything inside `browser`. (A drag is made with a parent, which is told
// of its child before the drag is whole; it is looked at once it is.)
class DragCanceller final : public QObject {
 public:
  explicit DragCanceller(QObject* browser) : QObject(browser), browser_(browser) {
    QCoreApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ChildAdded && Inside(watched)) {
      QTimer::singleShot(0, this, [child = QPointer<QObject>(static_cast<QChildEvent*>(event)->child())] {
        if (qobject_cast<QDrag*>(child)) QDrag::cancel();
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool Inside(const QObject* object) const {
    for (; object; object = object->parent()) {
      if (object == browser_) return true;
    }
    return false;
  }

  QObject* browser_;
};

// How far into the user's own network a URL's host reaches, as written; the
// engine hands the guard its URLs with their hosts in the usual form.
AddressReach ReachOf(const QUrl& url) { return HostReach(url.host(QUrl::FullyEncoded).toStdString()); }

// A page may reach no address more private than its own, by any request:
// a navigation of its own or of a frame, a form, a WebSocket, a subresource,
// a redirect. A refused request fails as a refused scheme does: nothing
// reaches the address, and the page stays.
class ReachGuard final : public QWebEngineUrlRequestInterceptor {
 public:
  ReachGuard(AddressReach reach, QObject* parent) : QWebEngineUrlRequestInterceptor(parent), reach_(reach) {}

  void interceptRequest(QWebEngineUrlRequestInfo& request) override {
    if (ReachOf(request.requestUrl()) > reach_) request.block(true);
  }

 private:
  AddressReach reach_;
};

class LockedPage final : public QWebEnginePage {
 public:
  using QWebEnginePage::QWebEnginePage;

  // Loads `url`; the page may then reach no address more private than it.
  void LoadGuarded(const QUrl& url) {
    reach_ = ReachOf(url);
    profile()->setUrlRequestInterceptor(new ReachGuard(reach_, profile()));
    load(url);
  }

 protected:
  // A redirect of its own or of a frame is asked here, and not of the guard.
  bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
    return IsWebPage(url) && ReachOf(url) <= reach_;
  }
  QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

  // No dialog, ever: the page gets what a dialog closed at once gives, and
  // leaves without being asked.
  QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override { return {}; }
  void javaScriptAlert(const QUrl&, const QString&) override {}
  bool javaScriptConfirm(const QUrl&, const QString& question) override { return question == LeaveQuestion(); }
  bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
  // A page's console is its own.
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}

 private:
  AddressReach reach_ = AddressReach::kPublic;
};

// A page's console is its own, and each message it writes would still cross
// to the program's process to be dropped there: a page that writes without end
// would keep the program busy. So the console's methods do nothing, in every
// frame, before the page's own scripts run, and an error the page leaves
// uncaught is not written to it either.
QWebEngineScript QuietConsoleScript() {
  QWebEngineScript script;
  script.setName(QStringLiteral("quiet-console"));
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(true);
  // A frame the page makes gets this script only once the page's current
  // task is done, so its window is quietened as the page reaches for it.
  script.setSourceCode(QStringLiteral(R"((() => {
  const quiet = () => {};
  const quieten = (window) => {
    for (const name of Object.getOwnPropertyNames(window.console)) {
      if (typeof window.console[name] !== 'function') continue;
      try { Object.defineProperty(window.console, name, { value: quiet, writable: false, configurable: false }); } catch (e) {}
    }
  };
  quieten(window);
  for (const element of [HTMLIFrameElement, HTMLFrameElement, HTMLObjectElement]) {
    for (const property of ['contentWindow', 'contentDocument']) {
      const own = Object.getOwnPropertyDescriptor(element.prototype, property);
      if (!own || !own.get) continue;
      Object.defineProperty(element.prototype, property, { configurable: false, enumerable: own.enumerable, get() {
        const value = own.get.call(this);
        const window = value && (value.defaultView || value);
        try { if (window && window.console) quieten(window); } catch (e) {}
        return value;
      } });
    }
  }
  const unsaid = (event) => event.preventDefault();
  window.addEventListener('error', unsaid, true);
  window.addEventListener('unhandledrejection', unsaid, true);
})();)"));
  return script;
}

// A profile of one page: off the record, so nothing of it is kept once the
// page and the profile are gone.
QWebEngineProfile* CreatePageProfile(QObject* parent) {
  // The first one starts the engine's processes.
  auto* profile = [parent] {
    const QuietEngineStart quietly;
    return new QWebEngineProfile(parent);
  }();
  static const bool zygotesRestrained = [] {
    RestrainZygotes();
    return true;
  }();
  (void)zygotesRestrained;
  profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
  profile->setPersistentStoragePath(ScratchFolder());
  profile->setCachePath(ScratchFolder());
  profile->setDownloadPath(ScratchFolder());
  QObject::connect(profile, &QWebEngineProfile::downloadRequested,
                   [](QWebEngineDownloadRequest* download) { download->cancel(); });

  QWebEngineSettings* settings = profile->settings();
  settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
  settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
  // A page that fails leaves its pane blank, not showing the engine's own
  // page in another language.
  settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
  profile->scripts()->insert(QuietConsoleScript());

  return profile;
}

class WebEngineBrowser final : public EmbeddedBrowser {
 public:
  explicit WebEngineBrowser(QWidget* parent) : EmbeddedBrowser(parent) {
    view_ = new QWebEngineView(this);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->setAcceptDrops(false);
    view_->installEventFilter(new DialogRefuser(view_));
    new DragCanceller(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    ShowFreshPage();  // the view never makes a page of the engine's default profile
  }

  ~WebEngineBrowser() override {
    // The view lets go of its page first; a page goes before its profile.
    delete view_;
    Discard(shown_);
  }

  // A javascript: address would run in the page on show, without asking
  // acceptNavigationRequest, so nothing but a web page gets this far. Every
  // page comes in a fresh page of a fresh profile: the one it replaces goes,
  // whatever it is doing, with all it stored.
  void Load(const QUrl& url) override {
    if (!IsWebPage(url)) return;
    url_ = url;
    gone_ = false;
    ShowFreshPage()->LoadGuarded(url);
  }

  void ReloadIfGone() override {
    if (gone_) Load(url_);
  }

 private:
  struct Shown {
    QWebEngineProfile* profile = nullptr;
    QWebEnginePage* page = nullptr;
  };

  LockedPage* ShowFreshPage() {
    QWebEngineProfile* profile = CreatePageProfile(this);
    auto* page = new LockedPage(profile, this);
    page->setAudioMuted(true);  // it plays, and no one hears it
    WatchRenderer(page);
    // No credentials and no certificate are ever given: the request goes on as refused.
    connect(page, &QWebEnginePage::authenticationRequired, page,
            [](const QUrl&, QAuthenticator* authenticator) { *authenticator = QAuthenticator(); });
    connect(page, &QWebEnginePage::proxyAuthenticationRequired, page,
            [](const QUrl&, QAuthenticator* authenticator, const QString&) { *authenticator = QAuthenticator(); });
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this, page](QWebEnginePage::RenderProcessTerminationStatus status, int) {
              if (page == shown_.page && status != QWebEnginePage::NormalTerminationStatus) gone_ = true;
            });
    view_->setPage(page);
    Discard(std::exchange(shown_, Shown{profile, page}));
    return page;
  }

  // With its page and profile gone, the engine ends the page's renderer,
  // whatever the page is doing, within a second, and frees what the page
  // stored. The C library keeps freed memory for later; it gives it back once
  // the engine is done freeing.
  static void Discard(const Shown& shown) {
    delete shown.page;
    delete shown.profile;
    QTimer::singleShot(kReleaseMemoryAfterMs, [] { malloc_trim(0); });
  }

  QWebEngineView* view_ = nullptr;
  Shown shown_;
  QUrl url_;
  bool gone_ = false;  // the renderer of the page shown died
};

}  // namespace
}  // namespace taliven

extern "C" Q_DECL_EXPORT taliven::EmbeddedBrowser* taliven_create_embedded_browser(QWidget* parent) {
  taliven::StartEngine();
  return new taliven::WebEngineBrowser(parent);
}

// The engine draws its pages through the OpenGL surface of the window that
// holds them. A window made without one is destroyed and made anew when the
// first page arrives, and blinks on screen. The toolkit makes a window with
// that surface when a widget that draws the same way is in it as the window
// is first shown: a hidden one is enough.
extern "C" Q_DECL_EXPORT void taliven_prepare_window(QWidget* window) {
  taliven::StartEngine();
  if (window->findChild<QQuickWidget*>(taliven::kSurfaceHintName, Qt::FindDirectChildrenOnly)) return;
  auto* hint = new QQuickWidget(window);
  hint->setObjectName(taliven::kSurfaceHintName);
  hint->setGeometry(0, 0, 1, 1);
  hint->hide();
}

extern "C" Q_DECL_EXPORT void taliven_remove_engine_files() { QDir(taliven::ScratchFolder()).removeRecursively(); }
