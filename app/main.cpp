// Taliven's entry point.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "browser_launcher.h"
#include "crash_reporter.h"
#include "fonts.h"
#include "main_window.h"
#include "session_bus.h"
#include "web_pane.h"
#include "window_rules.h"

namespace {

// Without a display the toolkit would abort with a message about platform
// plugins; say plainly what is missing instead.
bool HasDisplay() {
  return std::getenv("QT_QPA_PLATFORM") != nullptr || std::getenv("DISPLAY") != nullptr ||
         std::getenv("WAYLAND_DISPLAY") != nullptr;
}

// The cut-down Song face sits in fonts/ beside the program in a build tree,
// and in the data folder once installed.
QString SongFaceDirectory() {
  const QDir programDir(QCoreApplication::applicationDirPath());
  const QString buildTree = programDir.filePath(QStringLiteral("fonts"));
  return QDir(buildTree).exists() ? buildTree : programDir.filePath(QStringLiteral(TALIVEN_FONT_DIR_FROM_BIN));
}

}  // namespace

int main(int argc, char** argv) {
  taliven::KeepStartEnvironment();
  if (!HasDisplay()) {
    std::fputs(
        "taliven: no display found (DISPLAY and WAYLAND_DISPLAY are unset).\n"
        "Run it on a virtual display:  xvfb-run -a -s \"-screen 0 1024x768x24\" taliven\n",
        stderr);
    return 1;
  }
  // The web engine's sandbox cannot run as root; it must be told before the
  // application object exists.
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  taliven::UseOnlyARunningSessionBus();

  taliven::TalivenApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Taliven"));
  QApplication::setOrganizationName(QStringLiteral("Taliven"));
  QGuiApplication::setDesktopFileName(QStringLiteral("example.taliven.Taliven"));

  // The toolkit's own texts (standard buttons, edit menus) in Chinese, like
  // the rest of the program.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  taliven::InstallCrashReporter();
  taliven::InstallWindowRules(app);
  // Without the cut-down face the windows look the same from the full one.
  taliven::AddCompactSongFace(SongFaceDirectory());
  taliven::InstallFontSubstitutions();
  taliven::SetApplicationFont();

  taliven::Frmmain = new taliven::TFrmmain(taliven::MainWindowServices::Desktop());
  taliven::Frmmain->show();
  const int status = QApplication::exec();
  delete taliven::Frmmain;
  taliven::EndAtOnceIfTheWebEngineRan(status);
  return status;
}
