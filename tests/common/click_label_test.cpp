// Click labels the keyboard reaches.
#include "click_label.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

namespace taliven {
namespace {

// The focused label shows a cue around its text, and only while it has the
// focus.
TEST(ClickLabel, ShowsAFocusCueAroundItsTextWhileFocused) {
  QWidget window;
  auto* link = new ClickLabel(QStringLiteral("塔利文周公解梦"), &window);
  link->setGeometry(10, 10, 150, 24);
  link->makeKeyboardReachable(QAccessible::Link);
  auto* other = new ClickLabel(QStringLiteral("4"), &window);
  other->setGeometry(10, 40, 36, 16);
  other->makeKeyboardReachable(QAccessible::Button);
  window.show();
  QApplication::setActiveWindow(&window);
  other->setFocus(Qt::TabFocusReason);
  const QImage unfocused = link->grab().toImage();
  link->setFocus(Qt::TabFocusReason);
  const QImage focused = link->grab().toImage();
  const int textWidth = link->fontMetrics().horizontalAdvance(link->text());
  int cue = 0;
  for (int y = 0; y < focused.height(); ++y) {
    for (int x = 0; x < focused.width(); ++x) {
      if (focused.pixel(x, y) == unfocused.pixel(x, y)) continue;
      ++cue;
      EXPECT_LE(x, textWidth + 2) << "a cue beyond the text's end, at " << x;
    }
  }
  EXPECT_GT(cue, 2 * textWidth) << "the cue goes round the text";
  other->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(link->grab().toImage(), unfocused);
}

}  // namespace
}  // namespace taliven
