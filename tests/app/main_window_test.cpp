#include "main_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "endpoints.h"
#include "gbk_codec.h"
#include "info_windows.h"
#include "main_window_doubles.h"
#include "qq_window.h"
#include "start_page_store.h"
#include "svg_picture.h"
#include "temporary_settings.h"
#include "web_pane.h"

namespace taliven {
namespace {

using taliven::testing::RecordingBrowser;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    window = std::make_unique<TFrmmain>(taliven::testing::TestServices(doubles));
    browser = doubles.browser;
    window->show();
  }

  template <class T>
  T* Child(const char* name) {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  // Answers the next modal window by running `act` on it once it is up.
  static void WhenModalOpens(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
      QWidget* modal = QApplication::activeModalWidget();
      ASSERT_NE(modal, nullptr);
      act(modal);
    });
  }

  taliven::testing::MainWindowDoubles doubles;
  RecordingBrowser* browser = nullptr;
  std::unique_ptr<TFrmmain> window;
};

TEST_F(MainWindowTest, HasTheFixedFrameOfTheProgram) {
  EXPECT_EQ(window->windowTitle(), "Taliven");
  EXPECT_EQ(window->size(), QSize(792, 566)) << "outer 800 x 600 less the standard frame";
  EXPECT_EQ(Child<QWidget>("RzPanel4")->size(), QSize(616, 426)) << "the centre fills the rest";
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(MainWindowTest, ButtonBarHoldsTheEightButtonsInOrder) {
  struct Expected {
    const char* name;
    int x;
    const char* caption;
  };
  const Expected buttons[] = {
      {"RzButton1", 109, "QQ号码测算"}, {"RzButton4", 195, "网名测算"}, {"RzButton6", 280, "免费申请QQ"},
      {"RzButton5", 366, "查看日历"},   {"RzButton2", 451, "客户服务"}, {"RzButton3", 537, "关于系统"},
      {"RzButton8", 622, "联系主页"},   {"RzButton7", 708, "关闭系统"},
  };
  for (const Expected& e : buttons) {
    auto* button = Child<QPushButton>(e.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->geometry(), QRect(e.x, 8, 80, 20)) << e.name;
    EXPECT_EQ(button->text(), QString::fromUtf8(e.caption));
    EXPECT_TRUE(button->font().bold());
    EXPECT_EQ(button->font().pixelSize(), 12) << e.name;
    EXPECT_EQ(button->font().family(), "宋体") << e.name;
  }
}

// The link column's two pictures stacked, the status bar along the bottom
// with its pane, each where the window's layout has it.
TEST_F(MainWindowTest, LinkColumnAndStatusBarStandWhereTheLayoutPlacesThem) {
  EXPECT_EQ(Child<QWidget>("RzPanel2")->geometry(), QRect(0, 36, 176, 426))
      << "below the button bar, beside the centre";
  EXPECT_EQ(Child<QWidget>("Image21")->size(), QSize(168, 418));
  EXPECT_EQ(Child<QWidget>("Image2")->size(), QSize(168, 418));
  EXPECT_EQ(Child<QWidget>("Image2")->y(), Child<QWidget>("Image21")->geometry().bottom() + 1) << "stacked";
  EXPECT_EQ(Child<QWidget>("Image2")->x(), Child<QWidget>("Image21")->x());

  const auto* bar = Child<QFrame>("RzStatusBar1");
  EXPECT_EQ(bar->geometry(), QRect(0, 566 - 20, 792, 20));
  EXPECT_EQ(bar->frameShadow(), QFrame::Sunken) << "grooved";
  const auto* pane = Child<QFrame>("RzStatusPane1");
  EXPECT_EQ(pane->width(), 463);
  EXPECT_EQ(pane->frameShadow(), QFrame::Sunken);
  EXPECT_TRUE(bar->contentsRect().contains(pane->geometry())) << "inside the bar's border";
  EXPECT_EQ(pane->height(), bar->contentsRect().height()) << "the bar's height within its border";
}

TEST_F(MainWindowTest, LinkColumnHoldsSeventeenLabelsWithTheirColours) {
  struct Expected {
    const char* name;
    int y;
    QColor colour;
  };
  const QColor red(Qt::red), navy(0, 0, 128), green(0, 128, 0);
  const Expected labels[] = {
      {"Label2", 17, red},     {"Label3", 39, red},     {"Label4", 63, navy},    {"Label1", 87, navy},
      {"Label5", 111, navy},   {"Label6", 135, navy},   {"Label7", 159, navy},   {"Label8", 183, navy},
      {"Label9", 207, navy},   {"Label10", 231, navy},  {"Label12", 255, navy},  {"Label13", 279, navy},
      {"Label14", 303, navy},  {"Label11", 325, green}, {"Label15", 349, green}, {"Label16", 373, green},
      {"Label17", 397, green},
  };
  for (const Expected& e : labels) {
    auto* label = Child<QLabel>(e.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->pos(), QPoint(13, e.y)) << e.name;
    EXPECT_EQ(label->palette().color(QPalette::WindowText), e.colour) << e.name;
    if (e.colour == red) {
      EXPECT_TRUE(label->text().endsWith("[荐]")) << e.name;
    }
    if (e.colour == green) {
      EXPECT_TRUE(label->text().endsWith("(推荐)")) << e.name;
    }
  }
}

TEST_F(MainWindowTest, PicturesAndPanesHaveNamesForScreenReaders) {
  const auto pictures = window->findChildren<SvgPicture*>();
  const auto panes = window->findChildren<WebPane*>();
  EXPECT_EQ(pictures.size(), 5);
  EXPECT_EQ(panes.size(), 2);
  for (const QWidget* widget : pictures)
    EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
  for (const QWidget* widget : panes)
    EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
}

TEST_F(MainWindowTest, EveryClickOnALinkStartsTheBrowserOnce) {
  auto* label5 = Child<QLabel>("Label5");
  QTest::mouseClick(label5, Qt::LeftButton);
  QTest::mouseClick(label5, Qt::LeftButton);
  QTest::mouseClick(Child<QLabel>("Label3"), Qt::LeftButton);
  QTest::mouseClick(Child<QWidget>("Image1"), Qt::LeftButton);  // the banner opens Label3's page
  ASSERT_EQ(browser->opened.size(), 4);
  EXPECT_TRUE(std::all_of(browser->opened.begin(), browser->opened.end(),
                          [&](const QString& url) { return url == browser->opened.front(); }));
}

TEST_F(MainWindowTest, EachLinkOpensItsOwnPage) {
  const QString naming = QStringLiteral("http://soft.download-site.example/soft/taliven-naming.html");
  const std::pair<const char*, QString> cases[] = {
      {"Label2", QStringLiteral("http://soft.download-site.example/soft/taliven-calendar.html")},
      {"Label4", QStringLiteral("http://soft.download-site.example/soft/taliven-dreams.html")},
      {"Label1", QStringLiteral("http://soft.download-site.example/soft/taliven-zodiac.html")},
      {"Label11", QStringLiteral("http://dl.deskpad-partner.example/setup/deskpad_setup.exe")},
      {"Label15", QStringLiteral("http://www.cleanup-partner.example/download.html")},
      {"Label16", QStringLiteral("http://dl.picview-partner.example/setup/picview_setup.exe")},
      {"Label17", QStringLiteral("http://dl.zipmate-partner.example/setup/zipmate_setup.exe")},
      {"Label3", naming},
      {"Label5", naming},
      {"Label6", naming},
      {"Label7", naming},
      {"Label8", naming},
      {"Label9", naming},
      {"Label10", naming},
      {"Label12", naming},
      {"Label13", naming},
      {"Label14", naming},
      {"Image1", naming},
      {"RzButton6", QString::fromUtf8(QqSignUpPageUrl)},
      {"RzButton8", QString::fromUtf8(VendorHomePageUrl)},
  };
  for (const auto& [name, page] : cases) {
    browser->opened.clear();
    QTest::mouseClick(Child<QWidget>(name), Qt::LeftButton);
    EXPECT_EQ(browser->opened, QStringList{page}) << name;
  }
}

TEST_F(MainWindowTest, ADoubleClickOnALinkOpensItsPageOnceAndLeavesTheLinkWorking) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  for (const char* name : {"Label5", "Label17", "Image1", "RzButton6", "RzButton8"}) {
    browser->opened.clear();
    auto* link = Child<QWidget>(name);
    const QPoint centre = link->mapTo(window.get(), link->rect().center());
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, centre, 1000);
    EXPECT_EQ(browser->opened.size(), 1) << name;
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centre, 1000);
    EXPECT_EQ(browser->opened.size(), 2) << name << ": a click after the double click";
  }
}

TEST_F(MainWindowTest, EnterAndSpacePressTheFocusedButton) {
  taliven::testing::TemporarySettings settings;
  struct Case {
    const char* button;
    const char* opens;  // the window's title; none for a page
  };
  const Case cases[] = {
      {"RzButton1", "QQ号码测试"}, {"RzButton4", "网名与性格"}, {"RzButton6", nullptr}, {"RzButton5", "Orlin日历"},
      {"RzButton2", "客户服务"},   {"RzButton3", "关于系统"},   {"RzButton8", nullptr}, {"RzButton7", "退出系统"},
  };
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.button) + " key " + std::to_string(key));
      auto opened = std::make_shared<QString>();
      if (c.opens) {
        WhenModalOpens([opened](QWidget* modal) {
          *opened = modal->windowTitle();
          modal->close();
        });
      }
      browser->opened.clear();
      auto* button = Child<QPushButton>(c.button);
      button->setFocus();
      QTest::keyClick(button, key);
      if (c.opens) {
        EXPECT_EQ(*opened, QString::fromUtf8(c.opens));
      } else {
        EXPECT_EQ(browser->opened.size(), 1);
      }
    }
  }
}

// The link column by keyboard: Tab reaches every link after the buttons, top
// to bottom; Enter and Space open its page once a press, as a click does; and
// a screen reader is told it is a link and what it says.
TEST_F(MainWindowTest, KeyboardReachesEveryLinkAndOpensItAsAClickDoes) {
  QApplication::setActiveWindow(window.get());
  Child<QWidget>("RzButton7")->setFocus(Qt::TabFocusReason);
  QStringList links;
  for (int i = 0; i < 17; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    links.append(QApplication::focusWidget()->objectName());
  }
  EXPECT_EQ(links.join(u' '),
            "Label2 Label3 Label4 Label1 Label5 Label6 Label7 Label8 Label9 Label10 Label12 Label13 Label14 Label11 "
            "Label15 Label16 Label17");

  for (const char* name : {"Label2", "Label5", "Label17"}) {
    auto* link = Child<QLabel>(name);
    browser->opened.clear();
    QTest::mouseClick(link, Qt::LeftButton);
    const QStringList byClick = browser->opened;
    browser->opened.clear();
    link->setFocus(Qt::TabFocusReason);
    QTest::keyClick(link, Qt::Key_Return);
    QTest::keyClick(link, Qt::Key_Enter);
    QTest::keyClick(link, Qt::Key_Space);
    QTest::sendKeyEvent(QTest::KeyAction::Press, link, Qt::Key_Space, ' ', Qt::NoModifier);
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), /*autorep=*/true);
    QApplication::sendEvent(link, &held);  // a key held down clicks once
    EXPECT_EQ(browser->opened, QStringList(4, byClick.value(0))) << name;

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(link);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Link) << name;
    EXPECT_EQ(accessible->text(QAccessible::Name), link->text()) << name;
    browser->opened.clear();
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(browser->opened, byClick) << name << " pressed by a screen reader";
  }
}

TEST_F(MainWindowTest, ReopeningTheQqReadingGivesAFreshWindow) {
  WhenModalOpens([](QWidget* modal) {
    auto* qq = qobject_cast<TFrmQQhm*>(modal);
    ASSERT_NE(qq, nullptr);
    qq->edtmun->setText("12345");
    qq->RzBitBtn1Click();
    EXPECT_FALSE(qq->RzLabel10->text().isEmpty());
    qq->close();
  });
  Child<QPushButton>("RzButton1")->click();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(FrmQQhm, nullptr) << "the window clears its reference when it closes";

  WhenModalOpens([](QWidget* modal) {
    auto* qq = qobject_cast<TFrmQQhm*>(modal);
    ASSERT_NE(qq, nullptr);
    EXPECT_TRUE(qq->edtmun->text().isEmpty());
    EXPECT_TRUE(qq->RzLabel10->text().isEmpty());
    qq->close();
  });
  Child<QPushButton>("RzButton1")->click();
}

TEST_F(MainWindowTest, InformationWindowsStayUntilTheirButtonReplacesThem) {
  WhenModalOpens([](QWidget* modal) { modal->close(); });
  Child<QPushButton>("RzButton3")->click();
  QPointer<TAbout> first = About;
  ASSERT_FALSE(first.isNull()) << "kept alive, hidden, after closing";
  EXPECT_FALSE(first->isVisible());

  WhenModalOpens([](QWidget* modal) {
    EXPECT_EQ(modal->windowTitle(), "关于系统");
    modal->close();
  });
  Child<QPushButton>("RzButton3")->click();
  EXPECT_TRUE(first.isNull()) << "the next click frees the old instance";
  EXPECT_NE(About, nullptr);

  WhenModalOpens([](QWidget* modal) {
    EXPECT_EQ(modal->windowTitle(), "客户服务");
    modal->close();
  });
  Child<QPushButton>("RzButton2")->click();
  EXPECT_NE(Frm_servers, nullptr);
}

// Answers the exit question with `button` and counts the questions asked.
struct ExitAnswer {
  const char* button;
  int asked = 0;
  void Arm() {
    QTimer::singleShot(0, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      ASSERT_NE(modal, nullptr);
      EXPECT_EQ(modal->windowTitle(), "退出系统");
      ++asked;
      modal->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    });
  }
};

TEST_F(MainWindowTest, NoFromTheButtonOrTheCloseBoxKeepsTheProgramRunning) {
  taliven::testing::TemporarySettings settings;
  ExitAnswer no{"Button2"};
  no.Arm();
  Child<QPushButton>("RzButton7")->click();
  EXPECT_EQ(no.asked, 1);

  no.Arm();
  EXPECT_FALSE(window->close());
  EXPECT_EQ(no.asked, 2) << "one question per exit attempt";
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(browser->opened.isEmpty());
  EXPECT_FALSE(taliven::testing::TemporarySettings::StoredStartPage().isValid());
}

TEST_F(MainWindowTest, YesFromTheCloseBoxAsksOnceThenEndsTheLoopAndOpensTheHomePage) {
  taliven::testing::TemporarySettings settings;
  ExitAnswer yes{"Button1"};
  QTimer::singleShot(0, [&] {
    yes.Arm();
    window->close();
  });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_EQ(yes.asked, 1);
  EXPECT_EQ(browser->opened, QStringList{FromGbk(VendorHomePageUrl)});
  EXPECT_EQ(ReadStartPage(), PartnerStartPageUrl);
}

}  // namespace
}  // namespace taliven
