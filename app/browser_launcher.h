#pragma once
// Opening a web page in the user's browser. Callers ignore the outcome: a
// browser that cannot be started is not reported.

#include <QString>

namespace taliven {

class BrowserLauncher {
 public:
  virtual ~BrowserLauncher() = default;
  virtual void Open(const QString& url) = 0;
};

// The desktop's default browser (QDesktopServices).
class DesktopBrowserLauncher final : public BrowserLauncher {
 public:
  void Open(const QString& url) override;
};

}  // namespace taliven
