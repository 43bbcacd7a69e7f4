// The web engine module: a browser for remote pages that may go nowhere but
// to other web pages, opens no windows, reads no local files, downloads
// nothing and keeps nothing on disk. Loaded by WebEnginePane when a content
// pane is to show pages.
#include <QCoreApplication>
#include <QQuickWidget>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "embedded_browser.h"

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

void StartEngine() {
  // Drawing the pages compiles shaders, which the toolkit would otherwise
  // keep in the user's cache folder.
  QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
  QtWebEngineCore::initialize();  // returns at once after the first call
}

class LockedPage final : public QWebEnginePage {
 public:
  using QWebEnginePage::QWebEnginePage;

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override { return IsWebPage(url); }
  QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
};

class WebEngineBrowser final : public EmbeddedBrowser {
 public:
  explicit WebEngineBrowser(QWidget* parent) : EmbeddedBrowser(parent) {
    // A profile without a storage name is off the record: nothing is kept on disk.
    profile_ = new QWebEngineProfile(this);
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    QObject::connect(profile_, &QWebEngineProfile::downloadRequested, this,
                     [](QWebEngineDownloadRequest* download) { download->cancel(); });

    QWebEngineSettings* settings = profile_->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);

    view_ = new QWebEngineView(this);
    view_->setPage(new LockedPage(profile_, view_));
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->setAcceptDrops(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
  }

  // The page must go before the profile it was made with.
  ~WebEngineBrowser() override { delete view_; }

  // A javascript: address would run in the page on show, without asking
  // acceptNavigationRequest, so nothing but a web page gets this far.
  void Load(const QUrl& url) override {
    if (IsWebPage(url)) view_->load(url);
  }

 private:
  QWebEngineProfile* profile_ = nullptr;
  QWebEngineView* view_ = nullptr;
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
