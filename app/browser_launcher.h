#pragma once
// Opening a web page in the user's browser. Callers ignore the outcome: a
// browser that cannot be started is not reported.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace taliven {

class BrowserLauncher {
 public:
  virtual ~BrowserLauncher() = default;
  virtual void Open(const QString& url) = 0;
};

// Keeps the environment the program was started with, for the programs it
// starts: the program and its web engine change their own later (HOME, the
// session bus, the engine's switches), and none of that is the browser's
// business. Call it first thing in main(), before anything is changed.
void KeepStartEnvironment();

// The command that opens a page in `environment`, as the toolkit's desktop
// services pick it: $DEFAULT_BROWSER, else $BROWSER (each may carry
// arguments), else xdg-open. The page's address goes after it.
QStringList BrowserCommand(const QProcessEnvironment& environment);

// The desktop's default browser, as the toolkit would find it ($DEFAULT_BROWSER,
// $BROWSER, else xdg-open), started in the environment the program was started with.
class DesktopBrowserLauncher final : public BrowserLauncher {
 public:
  void Open(const QString& url) override;
};

}  // namespace taliven
