// Entry point of the in-process window tests: one application object on the
// offscreen platform, with the program's font substitutions.
#include <gtest/gtest.h>

#include <QApplication>

#include "fonts.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  taliven::InstallFontSubstitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
