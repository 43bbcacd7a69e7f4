#include "browser_launcher.h"

#include <QDesktopServices>
#include <QUrl>

namespace taliven {

void DesktopBrowserLauncher::Open(const QString& url) {
  // The result is ignored on purpose: a page that cannot be opened is no
  // reason to interrupt the user.
  QDesktopServices::openUrl(QUrl(url));
}

}  // namespace taliven
