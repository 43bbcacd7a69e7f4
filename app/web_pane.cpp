#include "web_pane.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "embedded_browser.h"
#include "error_guard.h"
#include "quiet_engine_start.h"

namespace taliven {
namespace {

struct WebEngineModule {
  CreateEmbeddedBrowserFunction createBrowser;
  PrepareWindowFunction prepareWindow;
  RemoveEngineFilesFunction removeFiles;
};

// The module, once it is loaded.
const WebEngineModule* loadedModule = nullptr;

// The module sits beside the program in a build tree, and in the library
// folder once installed.
const WebEngineModule& LoadWebEngineModule() {
  static const WebEngineModule module = [] {
    const QDir programDir(QCoreApplication::applicationDirPath());
    QString errors;
    for (const QString& dir : {programDir.path(), programDir.filePath(QStringLiteral(TALIVEN_MODULE_DIR_FROM_BIN))}) {
      QLibrary library(QDir(dir).filePath(QStringLiteral("taliven_webengine")));
      const QuietEngineStart quietly;  // loading it loads the engine
      const auto create =
          reinterpret_cast<CreateEmbeddedBrowserFunction>(library.resolve(kCreateEmbeddedBrowserSymbol));
      const auto prepare = reinterpret_cast<PrepareWindowFunction>(library.resolve(kPrepareWindowSymbol));
      const auto remove = reinterpret_cast<RemoveEngineFilesFunction>(library.resolve(kRemoveEngineFilesSymbol));
      if (create && prepare && remove) return WebEngineModule{create, prepare, remove};
      errors += QStringLiteral("\n") + library.errorString();
    }
    throw std::runtime_error(ErrorMessage("网页广告栏无法启动它的浏览组件。",
                                          "the web pane cannot start its browser:" + errors.toStdString()));
  }();
  loadedModule = &module;
  return module;
}

}  // namespace

void EndAtOnceIfTheWebEngineRan(int status) {
  if (!loadedModule) return;
  loadedModule->removeFiles();
  std::fflush(nullptr);
  std::_Exit(status);
}

QUrl WebPageUrl(const QString& text) {
  const QUrl url = QUrl::fromUserInput(text);
  return IsWebPage(url) ? url : QUrl();
}

WebEnginePane::WebEnginePane(QWidget* parent) : WebPane(parent) {
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
}

void WebEnginePane::PrepareWindow() { LoadWebEngineModule().prepareWindow(window()); }

void WebEnginePane::Navigate(const QUrl& url) {
  if (!IsWebPage(url)) {
    throw std::runtime_error(
        ErrorMessage("网页广告栏无法打开一个网页：它的地址不是 http 或 https 网址。",
                     "cannot show \"" + url.toString().toStdString() + "\": only http and https pages are allowed"));
  }
  if (!browser_) {
    browser_ = LoadWebEngineModule().createBrowser(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
  }
  browser_->Load(url);
}

void WebEnginePane::RetryIfGone() {
  if (browser_) browser_->ReloadIfGone();
}

}  // namespace taliven
