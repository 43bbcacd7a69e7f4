#pragma once

#include <QString>
#include <QStringList>

#include "browser_launcher.h"

namespace taliven::testing {

// Remembers every page it was asked to open.
class RecordingBrowser final : public BrowserLauncher {
 public:
  void Open(const QString& url) override { opened.append(url); }
  QStringList opened;
};

}  // namespace taliven::testing
