// The about and customer-service windows: sizes, and texts that fit.
#include "info_windows.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>

#include "svg_picture.h"

namespace taliven {
namespace {

// Every text lies whole inside the window, wraps within its box, and
// overlaps no other text.
void ExpectTextsFit(QWidget& window) {
  window.show();
  std::vector<std::pair<QLabel*, QRect>> texts;
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (qobject_cast<SvgPicture*>(label)) continue;
    texts.emplace_back(label, QRect(label->mapTo(&window, QPoint(0, 0)), label->size()));
  }
  ASSERT_FALSE(texts.empty());
  for (const auto& [label, rect] : texts) {
    SCOPED_TRACE(label->text().toStdString());
    EXPECT_TRUE(window.rect().contains(rect)) << "outside the window";
    if (label->wordWrap()) {
      EXPECT_LE(label->heightForWidth(label->width()), label->height()) << "cut off at the bottom";
    } else {
      EXPECT_LE(label->sizeHint().width(), label->width()) << "cut off at the end";
    }
    for (const auto& [other, otherRect] : texts) {
      if (other != label) {
        EXPECT_FALSE(rect.intersects(otherRect)) << "overlaps " << other->text().toStdString();
      }
    }
  }
}

TEST(InformationWindows, TakeTheirSizesAndFitTheirTexts) {
  TAbout about;
  EXPECT_EQ(about.size(), QSize(321, 149));
  ExpectTextsFit(about);

  TFrm_servers service;
  EXPECT_EQ(service.size(), QSize(420, 273)) << "outer 428 x 307 less the standard frame";
  ExpectTextsFit(service);
}

// The about window's e-mail address is a link for the keyboard and a screen
// reader too.
TEST(InformationWindows, MailLinkIsReachedByTabAndNamedAsALink) {
  TAbout about;
  about.show();
  auto* mail = about.findChild<QLabel*>(QStringLiteral("MailLink"));
  ASSERT_NE(mail, nullptr);
  EXPECT_TRUE(mail->focusPolicy() & Qt::TabFocus);
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(mail);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->role(), QAccessible::Link);
  EXPECT_EQ(accessible->text(QAccessible::Name), "support@taliven.example");
  EXPECT_TRUE(accessible->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

}  // namespace
}  // namespace taliven
