#include "web_pane.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QUrl>
#include <QVBoxLayout>
#include <stdexcept>

#include "embedded_browser.h"
#include "error_guard.h"

namespace taliven {
namespace {

bool IsWebUrl(const QUrl& url) {
  return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

// The module sits beside the program in a build tree, and in the library
// folder once installed.
CreateEmbeddedBrowserFunction LoadWebEngineModule() {
  static CreateEmbeddedBrowserFunction create = [] {
    const QDir programDir(QCoreApplication::applicationDirPath());
    QString errors;
    for (const QString& dir : {programDir.path(), programDir.filePath(QStringLiteral(TALIVEN_MODULE_DIR_FROM_BIN))}) {
      QLibrary module(QDir(dir).filePath(QStringLiteral("taliven_webengine")));
      if (auto* found = reinterpret_cast<CreateEmbeddedBrowserFunction>(module.resolve(kCreateEmbeddedBrowserSymbol))) {
        return found;
      }
      errors += QStringLiteral("\n") + module.errorString();
    }
    throw std::runtime_error(ErrorMessage("网页广告栏无法启动它的浏览组件。",
                                          "the web pane cannot start its browser:" + errors.toStdString()));
  }();
  return create;
}

}  // namespace

WebEnginePane::WebEnginePane(QWidget* parent) : WebPane(parent) {
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
}

void WebEnginePane::Navigate(const QString& url) {
  const QUrl target(url);
  if (!IsWebUrl(target)) {
    throw std::runtime_error(
        ErrorMessage("网页广告栏无法打开一个网页：它的地址不是 http 或 https 网址。",
                     "cannot show \"" + url.toStdString() + "\": only http and https pages are allowed"));
  }
  if (!browser_) {
    browser_ = LoadWebEngineModule()(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
  }
  browser_->Load(target);
}

}  // namespace taliven
