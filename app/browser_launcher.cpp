#include "browser_launcher.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace taliven {

namespace {

QProcessEnvironment& StartEnvironment() {
  static QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  return environment;
}

}  // namespace

QStringList BrowserCommand(const QProcessEnvironment& environment) {
  for (const char* variable : {"DEFAULT_BROWSER", "BROWSER"}) {
    const QStringList command = QProcess::splitCommand(environment.value(QString::fromLatin1(variable)));
    if (!command.isEmpty()) return command;
  }
  return {QStringLiteral("xdg-open")};
}

void KeepStartEnvironment() { StartEnvironment(); }

void DesktopBrowserLauncher::Open(const QString& url) {
  QStringList command = BrowserCommand(StartEnvironment());
  QProcess browser;
  browser.setProgram(command.takeFirst());
  browser.setArguments(command << url);
  browser.setProcessEnvironment(StartEnvironment());
  // The result is ignored on purpose: a page that cannot be opened is no
  // reason to interrupt the user.
  browser.startDetached();
}

}  // namespace taliven
