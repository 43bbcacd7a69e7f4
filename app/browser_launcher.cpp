#include "browser_launcher.h"

#include <QDesktopServices>
#include <QUrl>

#include "embedded_browser.h"

namespace taliven {

namespace {

// The browser is the user's program: it starts in the user's home, even
// after the web engine has taken HOME for itself.
class UserHomeForChildren {
 public:
  UserHomeForChildren() : engineHome_(qgetenv("HOME")), userHome_(qgetenv(kUserHomeVariable)) {
    if (!userHome_.isEmpty()) qputenv("HOME", userHome_);
  }
  ~UserHomeForChildren() {
    if (!userHome_.isEmpty()) qputenv("HOME", engineHome_);
  }
  UserHomeForChildren(const UserHomeForChildren&) = delete;
  UserHomeForChildren& operator=(const UserHomeForChildren&) = delete;

 private:
  QByteArray engineHome_;
  QByteArray userHome_;
};

}  // namespace

void DesktopBrowserLauncher::Open(const QString& url) {
  const UserHomeForChildren home;
  // The result is ignored on purpose: a page that cannot be opened is no
  // reason to interrupt the user.
  QDesktopServices::openUrl(QUrl(url));
}

}  // namespace taliven
