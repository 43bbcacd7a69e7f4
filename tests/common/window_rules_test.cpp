// The rules every window keeps (installed by the tests' entry point, as by
// the program's).
#include "window_rules.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>

namespace taliven {
namespace {

// A window manager may minimise a window that asked for no minimise box; it
// comes back at once. A window with a minimise box stays minimised.
TEST(WindowRules, AWindowWithoutAMinimiseBoxIsNeverLeftMinimised) {
  const struct {
    Qt::WindowFlags flags;
    bool comesBack;
  } cases[] = {
      {Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint, true},
      {Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint, true},  // no border icons at all
      {Qt::Dialog, true},                                                  // as a message box asks
      {Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint, false},
  };
  for (const auto& c : cases) {
    QDialog window(nullptr, c.flags);
    window.show();
    window.setWindowState(Qt::WindowMinimized);
    QTest::qWait(10);
    EXPECT_EQ(window.isMinimized(), !c.comesBack) << c.flags;
    EXPECT_TRUE(window.isVisible());
  }
}

// The focused button shows its cue from the moment its window opens, not only
// once Tab has been pressed.
TEST(WindowRules, TheFocusShowsFromTheMomentAWindowOpens) {
  QDialog window;
  auto* button = new QPushButton(QStringLiteral("是(&Y)"), &window);
  button->setFocus();
  window.show();
  QApplication::setActiveWindow(&window);
  QStyleOptionButton drawn;
  drawn.initFrom(button);
  EXPECT_TRUE(drawn.state & QStyle::State_HasFocus);
  EXPECT_TRUE(drawn.state & QStyle::State_KeyboardFocusChange) << "the style draws no cue without it";
}

}  // namespace
}  // namespace taliven
