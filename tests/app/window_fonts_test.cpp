// Every text the program draws takes its Chinese characters from one face
// family, the windows' Song face, whatever the locale (these checks also run
// with no locale set and in zh_CN.UTF-8): the texts of every window, its
// tooltips and edit menus, and the prompt and report boxes. Only the texts a
// window sets in 黑体, 隶书 or 楷体 differ, and the Latin faces it names keep
// their letters. What counts is the face the glyphs are drawn from, not the
// one asked for.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTextEdit>
#include <QToolTip>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "calendar_window.h"
#include "crash_reporter.h"
#include "drawn_families.h"
#include "exit_dialog.h"
#include "info_message.h"
#include "info_windows.h"
#include "main_window.h"
#include "main_window_doubles.h"
#include "netname_window.h"
#include "qq_window.h"
#include "temporary_settings.h"

namespace taliven {
namespace {

using testing::FamiliesDrawing;
using testing::Lower;

enum class Face { Song, Hei, Kai };

const std::map<Face, std::set<std::string>> kFamilies{
    {Face::Song, {"taliven song", "noto serif cjk sc"}},
    {Face::Hei, {"noto sans cjk sc"}},
    {Face::Kai, {"ar pl ukai cn"}},
};

// The texts that name a face of their own, by object name.
const std::map<QString, Face> kNamedFaces{
    {QStringLiteral("Label21"), Face::Kai},     // 隶书: the year's branch and animal
    {QStringLiteral("Label22"), Face::Hei},     // 黑体: the star sign
    {QStringLiteral("DayOffMark"), Face::Hei},  // 黑体: 休 and 班, legible at their small size
    {QStringLiteral("Vendor"), Face::Kai},      // 楷体_GB2312: the vendor on the about window
};

const QStringList kLatinNames{QStringLiteral("Arial"), QStringLiteral("Arial Black"), QStringLiteral("MS Sans Serif")};

// The Chinese characters of `text`, or a Chinese sample when it has none:
// what would a Chinese text look like there.
QString ChineseIn(const QString& text) {
  QString chinese;
  for (const QChar c : text) {
    if (c.script() == QChar::Script_Han) chinese += c;
  }
  return chinese.isEmpty() ? QStringLiteral("测算结果") : chinese;
}

// One text a window draws and the font it draws it in.
struct DrawnText {
  QString what;
  QString text;
  QFont font;
};

QString TextOf(const QWidget& widget) {
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
  if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) return group->title();
  if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) return edit->text();
  if (const auto* edit = qobject_cast<const QTextEdit*>(&widget)) return edit->toPlainText();
  return {};
}

bool ShowsText(const QWidget& widget) {
  return qobject_cast<const QLabel*>(&widget) || qobject_cast<const QAbstractButton*>(&widget) ||
         qobject_cast<const QGroupBox*>(&widget) || qobject_cast<const QLineEdit*>(&widget) ||
         qobject_cast<const QTextEdit*>(&widget);
}

QString NameOf(const QWidget& widget) {
  return QString::fromLatin1(widget.metaObject()->className()) + " " + widget.objectName() + " \"" +
         TextOf(widget).left(12) + "\"";
}

// The tooltip as it is drawn: the toolkit's tip label, found once it is up.
QFont ToolTipFont(QWidget& widget) {
  QToolTip::showText(widget.mapToGlobal(QPoint(1, 1)), widget.toolTip(), &widget);
  QFont font;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->inherits("QTipLabel") && top->isVisible()) font = top->font();
  }
  QToolTip::hideText();
  return font;
}

// The window's own texts, or those and what the toolkit draws for it.
enum class Texts { WindowsOwn, All };

std::vector<DrawnText> TextsOf(QWidget& window, Texts which) {
  std::vector<DrawnText> texts;
  QList<QWidget*> widgets = window.findChildren<QWidget*>();
  widgets.prepend(&window);
  for (QWidget* widget : widgets) {
    if (ShowsText(*widget)) texts.push_back({NameOf(*widget), TextOf(*widget), widget->font()});
    if (which == Texts::WindowsOwn) continue;
    if (!widget->toolTip().isEmpty()) {
      texts.push_back({"tooltip of " + NameOf(*widget), widget->toolTip(), ToolTipFont(*widget)});
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
      for (const QAction* action : menu->actions()) {
        if (!action->text().isEmpty()) texts.push_back({"edit menu " + action->text(), action->text(), menu->font()});
      }
    }
  }
  return texts;
}

void ExpectChineseInTheSongFace(QWidget& window, const char* windowName, Texts which = Texts::All) {
  window.show();
  QApplication::processEvents();
  const std::vector<DrawnText> texts = TextsOf(window, which);
  ASSERT_FALSE(texts.empty()) << windowName;
  for (const DrawnText& drawn : texts) {
    SCOPED_TRACE(std::string(windowName) + ": " + drawn.what.toStdString());
    const QString objectName = drawn.what.section(' ', 1, 1);
    const Face face = kNamedFaces.contains(objectName) ? kNamedFaces.at(objectName) : Face::Song;
    for (const std::string& family : FamiliesDrawing(ChineseIn(drawn.text), drawn.font)) {
      EXPECT_TRUE(kFamilies.at(face).contains(family)) << "Chinese drawn in " << family;
    }
    if (kLatinNames.contains(drawn.font.family())) {
      EXPECT_EQ(Lower(QFontInfo(drawn.font).family()), "liberation sans")
          << "asked for " << drawn.font.family().toStdString();
    }
  }
}

void ExpectEveryWindowInTheSongFace(Texts which) {
  testing::TemporarySettings settings;
  testing::MainWindowDoubles doubles;
  TFrmmain main(testing::TestServices(doubles));
  ExpectChineseInTheSongFace(main, "main window", which);

  TFrmQQhm qq;
  qq.edtmun->setText("12345");
  qq.RzBitBtn1Click();
  ExpectChineseInTheSongFace(qq, "QQ number reading", which);

  TFrmWangming netname;
  netname.edtmun->setText(QStringLiteral("张三"));
  netname.RzBitBtn1Click();
  ExpectChineseInTheSongFace(netname, "net-name reading", which);

  TFRM_Date calendar;
  ExpectChineseInTheSongFace(calendar, "calendar", which);

  TAbout about;
  ExpectChineseInTheSongFace(about, "about", which);

  TFrm_servers service;
  ExpectChineseInTheSongFace(service, "customer service", which);

  TFrmMsG exit;
  ExpectChineseInTheSongFace(exit, "exit question", which);
}

TEST(WindowFonts, EveryWindowDrawsItsChineseInTheSongFace) { ExpectEveryWindowInTheSongFace(Texts::All); }

// A window's face reaches every control in it, through panels and whatever
// else lies between: it does not lean on the application's font.
TEST(WindowFonts, EveryWindowPassesItsFaceOnToAllItsControls) {
  const QFont applicationFont = QApplication::font();
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  ExpectEveryWindowInTheSongFace(Texts::WindowsOwn);
  QApplication::setFont(applicationFont);
}

TEST(WindowFonts, PromptsAndReportsDrawTheirChineseInTheSongFace) {
  const auto prompt = CreateInfoMessageBox(QStringLiteral("请输入你的QQ号码！"));
  ExpectChineseInTheSongFace(*prompt, "prompt");

  const auto report = CreateReportBox(ErrorMessage("无法测算“小一”：QQ号码必须是一个整数。", "details"));
  ExpectChineseInTheSongFace(*report, "error report");
}

}  // namespace
}  // namespace taliven
