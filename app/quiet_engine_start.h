#pragma once
// As it is loaded and as it starts, the web engine says what it thinks of how
// it was started (loaded late, like a plugin; its sandbox off as root). None
// of it is for the user, so the toolkit's messages are held back meanwhile.

#include <QString>
#include <QtGlobal>
#include <cstdio>

namespace taliven {

// Holds back the toolkit's messages while it lives, but for one that ends the
// program.
class QuietEngineStart {
 public:
  QuietEngineStart() : previous_(qInstallMessageHandler(&HoldBack)) {}
  ~QuietEngineStart() { qInstallMessageHandler(previous_); }
  QuietEngineStart(const QuietEngineStart&) = delete;
  QuietEngineStart& operator=(const QuietEngineStart&) = delete;

 private:
  static void HoldBack(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }

  QtMessageHandler previous_;
};

}  // namespace taliven
