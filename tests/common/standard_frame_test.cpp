#include "standard_frame.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

namespace taliven {
namespace {

TEST(CentredFrameTopLeft, CentresTheOuterFrameOnTheAvailableArea) {
  struct Case {
    const char* what;
    QRect available;
    QSize outer;
    QMargins frame;
    QPoint expected;
  };
  const QMargins standard = kStandardFrameMargins;
  const Case cases[] = {
      {"the main window on 1024 x 768", {0, 0, 1024, 768}, {800, 600}, standard, {112, 84}},
      {"the main window on 800 x 600: the whole of it on screen", {0, 0, 800, 600}, {800, 600}, standard, {0, 0}},
      {"below a top panel of 24 pixels", {0, 24, 1024, 744}, {800, 600}, standard, {112, 96}},
      {"the calendar on a second screen to the right", {1024, 0, 1280, 1024}, {339, 319}, standard, {1494, 352}},
      {"an odd leftover rounds towards the top left", {0, 0, 1025, 769}, {244, 135}, standard, {390, 317}},
      {"a thinner frame of another window manager", {0, 0, 1024, 768}, {800, 600}, {1, 20, 1, 1}, {112, 84}},
      {"larger than the screen: the caption stays on it", {0, 30, 640, 450}, {800, 600}, standard, {0, 30}},
  };
  for (const Case& c : cases) {
    const QSize client = c.outer.shrunkBy(c.frame);
    EXPECT_EQ(CentredFrameTopLeft(c.available, client, c.frame), c.expected) << c.what;
  }
}

// Without a window manager (the offscreen platform has none) the window's
// client area goes where the standard frame would hold it.
TEST(CentreOnScreen, PutsTheClientAreaInsideTheStandardFrameWhereNothingFramesWindows) {
  QDialog window;
  window.setFixedSize(ClientSizeFor({339, 319}));
  CentreOnScreen(window);
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  const QPoint frameTopLeft =
      available.topLeft() + QPoint((available.width() - 339) / 2, (available.height() - 319) / 2);
  EXPECT_EQ(window.pos(), frameTopLeft + QPoint(4, 30));
}

// On a desk of two screens side by side (two_screens.json gives the
// offscreen platform such a desk), a window opens centred on the screen of
// the active window, wherever that screen lies; with no window active, on
// the primary screen.
TEST(TwoScreens, AWindowOpensCentredOnTheScreenOfTheActiveWindow) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (screens.size() < 2) GTEST_SKIP() << "one screen: run with -platform offscreen:configfile=two_screens.json";
  const auto expectCentredOn = [](const QScreen& screen, const char* what) {
    QDialog window;
    window.setFixedSize(ClientSizeFor({339, 319}));
    CentreOnScreen(window);
    const QPoint frameTopLeft = CentredFrameTopLeft(screen.availableGeometry(), window.size(), kStandardFrameMargins);
    EXPECT_EQ(window.pos(), frameTopLeft + QPoint(4, 30)) << what << " " << screen.name().toStdString();
  };
  expectCentredOn(*QGuiApplication::primaryScreen(), "no active window: the primary screen");
  for (QScreen* screen : screens) {
    QWidget main;
    main.setScreen(screen);
    main.setGeometry(QRect(screen->geometry().topLeft() + QPoint(50, 50), QSize(400, 300)));
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    ASSERT_EQ(main.screen(), screen);
    expectCentredOn(*screen, "the active window's screen");
  }
}

}  // namespace
}  // namespace taliven
