// Entry point of the in-process window tests: one application object on the
// offscreen platform, with the program's fonts, font substitutions and window rules.
#include <gtest/gtest.h>

#include <QApplication>

#include "fonts.h"
#include "window_rules.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (!taliven::AddCompactSongFace(QStringLiteral(TALIVEN_SONG_FACE_DIR))) {
    qFatal("the cut-down Song face is missing from %s", TALIVEN_SONG_FACE_DIR);
  }
  taliven::InstallFontSubstitutions();
  taliven::SetApplicationFont();
  taliven::InstallWindowRules(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
