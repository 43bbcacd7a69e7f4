#include "web_pane.h"

#include <QResizeEvent>
#include <QUrl>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <stdexcept>

namespace taliven {
namespace {

bool IsWebUrl(const QUrl& url) {
  return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

// Remote pages may go nowhere but to other web pages, and never open windows.
class LockedPage final : public QWebEnginePage {
 public:
  using QWebEnginePage::QWebEnginePage;

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override { return IsWebUrl(url); }
  QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
};

}  // namespace

WebEnginePane::WebEnginePane(QWidget* parent) : WebPane(parent) {
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
}

// The page must go before the profile it was made with.
WebEnginePane::~WebEnginePane() { delete view_; }

void WebEnginePane::Navigate(const QString& url) {
  const QUrl target(url);
  if (!IsWebUrl(target)) {
    throw std::runtime_error("cannot show \"" + url.toStdString() + "\": only http and https pages are allowed");
  }
  if (!view_) view_ = createView();
  view_->load(target);
}

QWebEngineView* WebEnginePane::createView() {
  // A profile without a storage name is off the record: nothing is kept on disk.
  auto* profile = new QWebEngineProfile(this);
  profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
  connect(profile, &QWebEngineProfile::downloadRequested, this,
          [](QWebEngineDownloadRequest* download) { download->cancel(); });

  QWebEngineSettings* settings = profile->settings();
  settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);

  auto* view = new QWebEngineView(this);
  view->setPage(new LockedPage(profile, view));
  view->setContextMenuPolicy(Qt::NoContextMenu);
  view->setAcceptDrops(false);
  view->setGeometry(rect());
  view->show();
  return view;
}

void WebEnginePane::resizeEvent(QResizeEvent* event) {
  if (view_) view_->setGeometry(QRect(QPoint(0, 0), event->size()));
  WebPane::resizeEvent(event);
}

}  // namespace taliven
