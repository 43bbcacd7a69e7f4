#include "calendar_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>

#include "click_label.h"
#include "clock.h"
#include "holidays.h"
#include "main_window.h"
#include "main_window_doubles.h"
#include "up_down.h"

namespace taliven {
namespace {

TDateTime Date(int year, int month, int day) { return EncodeDate(year, month, day).value(); }

class CalendarWindowTest : public ::testing::Test {
 protected:
  ~CalendarWindowTest() override { SetTodayForTesting(std::nullopt); }

  TFRM_Date& Open(CivilDate today) {
    SetTodayForTesting(today);
    window = std::make_unique<TFRM_Date>();
    window->show();
    return *window;
  }

  // Cell numbers (from 1) whose day number and text are both shown.
  std::vector<int> FilledCells() const {
    std::vector<int> cells;
    for (int i = 0; i < kDayCellCount; ++i) {
      if (DayCells[i]->isVisibleTo(window.get()) && LunarCells[i]->isVisibleTo(window.get())) {
        cells.push_back(i + 1);
      }
    }
    return cells;
  }

  int CellOfDay(int day) const {
    for (int i = 0; i < kDayCellCount; ++i) {
      if (DayCells[i]->isVisibleTo(window.get()) && DayCells[i]->tag() == day) return i;
    }
    ADD_FAILURE() << "day " << day << " is not shown";
    return 0;
  }

  // The shown day under the highlight, 0 when it covers none.
  int HighlightedDay() const {
    for (const ClickLabel* day : DayCells) {
      if (day->isVisibleTo(window.get()) && window->Shape2->pos() == day->pos() + QPoint(-1, 1)) {
        return day->tag();
      }
    }
    return 0;
  }

  // The hint shown when the pointer rests on `cell`, empty when none shows.
  // The pointer passes over the window's corner first, so that the hint
  // before is gone and its text cannot pass for this one's.
  QString HintOf(ClickLabel* cell) const {
    MovePointerTo(window.get(), QPoint(1, 1));
    if (window->ShownDayHint() != nullptr) return QStringLiteral("(the hint before stays)");
    QHelpEvent hover(QEvent::ToolTip, cell->rect().center(), cell->mapToGlobal(cell->rect().center()));
    QApplication::sendEvent(cell, &hover);
    const auto* hint = qobject_cast<const QLabel*>(window->ShownDayHint());
    return hint != nullptr ? hint->text() : QString();
  }

  // A move of the pointer, with no button down, to `pos` of `widget`.
  static void MovePointerTo(QWidget* widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  }

  std::unique_ptr<TFRM_Date> window;
};

TEST_F(CalendarWindowTest, OpensAsAFixedWhiteWindowWithItsControlsInPlace) {
  Open({2000, 2, 10});
  EXPECT_EQ(window->windowTitle(), "Orlin日历");
  EXPECT_EQ(window->size(), QSize(331, 285));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_FALSE(window->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(window->palette().color(QPalette::Window), QColor(Qt::white));

  struct Expected {
    const char* name;
    QRect geometry;
    int pixels;
    QColor colour;
  };
  const Expected controls[] = {
      {"Label20", {0, 56, 313, 72}, 64, QColor(0xFFE8DD)},    {"Label16", {16, 146, 313, 134}, 120, QColor(0xEBEBEB)},
      {"Label1", {120, 0, 76, 41}, 29, QColor(0x0000FF)},     {"Label17", {10, 3, 36, 37}, 32, QColor(0x8080C0)},
      {"Label21", {230, 212, 78, 35}, 35, QColor(0xDDDDFF)},  {"Label22", {152, 223, 69, 23}, 19, QColor(0xFF80FF)},
      {"day1", {14, 56, 36, 16}, 14, QColor(Qt::black)},      {"Cnday", {13, 73, 36, 12}, 12, QColor(0x004000)},
      {"Label2", {19, 40, 36, 12}, 12, QColor(Qt::red)},      {"Label3", {59, 40, 36, 12}, 12, QColor(Qt::black)},
      {"Label4", {99, 40, 36, 12}, 12, QColor(Qt::black)},    {"Label6", {139, 40, 36, 12}, 12, QColor(Qt::black)},
      {"Label5", {179, 40, 36, 12}, 12, QColor(Qt::black)},   {"Label8", {219, 40, 36, 12}, 12, QColor(Qt::black)},
      {"Label7", {259, 40, 36, 12}, 12, QColor(Qt::red)},     {"Label9", {20, 253, 36, 12}, 12, QColor(Qt::red)},
      {"Label10", {60, 253, 36, 12}, 12, QColor(Qt::black)},  {"Label11", {100, 253, 36, 12}, 12, QColor(Qt::black)},
      {"Label12", {140, 253, 36, 12}, 12, QColor(Qt::black)}, {"Label13", {180, 253, 36, 12}, 12, QColor(Qt::black)},
      {"Label14", {220, 253, 36, 12}, 12, QColor(Qt::black)}, {"Label15", {260, 253, 36, 12}, 12, QColor(Qt::red)},
  };
  for (const Expected& e : controls) {
    auto* label = window->findChild<QLabel*>(QString::fromLatin1(e.name));
    ASSERT_NE(label, nullptr) << e.name;
    EXPECT_EQ(label->geometry(), e.geometry) << e.name;
    EXPECT_EQ(label->font().pixelSize(), e.pixels) << e.name;
    EXPECT_EQ(label->palette().color(QPalette::WindowText), e.colour) << e.name;
  }
  EXPECT_EQ(window->findChild<QLabel*>("Label4")->text(), "星期二");
  EXPECT_EQ(window->findChild<QLabel*>("Label14")->text(), "星期五");
  EXPECT_EQ(window->Label1->toolTip(), "单击改变年份");
  EXPECT_EQ(window->Label17->toolTip(), "单击改变月份");
  EXPECT_EQ(window->Label18->pos(), QPoint(45, 17));
  EXPECT_EQ(window->Label19->text(), "年");
  EXPECT_FALSE(window->day1->isVisible());
  EXPECT_FALSE(window->Cnday->isVisible());

  EXPECT_EQ(window->Shape1->geometry(), window->rect());
  EXPECT_EQ(window->Shape2->size(), QSize(38, 30));
  EXPECT_EQ(window->Shape2->palette().color(QPalette::Window), QColor(0x7EE281));
  EXPECT_EQ(window->Bevel1->geometry(), QRect(9, 240, 297, 10));
  EXPECT_EQ(window->Bevel2->geometry(), QRect(9, 46, 297, 10));
  EXPECT_EQ(window->UpDown1->geometry(), QRect(221, 10, 16, 24));
  EXPECT_EQ(window->UpDown2->geometry(), QRect(61, 10, 16, 24));
  EXPECT_TRUE(window->UpDown1->isVisible());
  EXPECT_TRUE(window->UpDown2->isVisible());
  EXPECT_EQ(window->StaticText1->geometry(), QRect(272, 17, 28, 16));
  EXPECT_EQ(window->StaticText1->text(), "今天");
  EXPECT_EQ(window->StaticText1->palette().color(QPalette::Window), QColor(0xCEF2D0));
}

// The weekday names above and below each column name the weekday the
// toolkit's own calendar gives the dates in that column.
TEST_F(CalendarWindowTest, WeekdayLabelsNameTheWeekdayOfTheirColumnsDates) {
  Open({2024, 2, 10});
  const QLocale chinese(QLocale::Chinese, QLocale::China);
  for (const int rowTop : {40, 253}) {
    QList<QLabel*> row;  // the row's labels from left to right, one a column
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (label->geometry().top() == rowTop) row.append(label);
    }
    std::sort(row.begin(), row.end(), [](QLabel* a, QLabel* b) { return a->x() < b->x(); });
    ASSERT_EQ(row.size(), 7) << "row at " << rowTop;
    for (int column = 0; column < 7; ++column) {
      for (int cell = column; cell < kDayCellCount; cell += 7) {
        if (!DayCells[cell]->isVisibleTo(window.get())) continue;
        const QDate date(2024, 2, DayCells[cell]->tag());
        EXPECT_EQ(row[column]->text(), chinese.dayName(date.dayOfWeek())) << date.toString(Qt::ISODate).toStdString();
      }
    }
  }
}

TEST_F(CalendarWindowTest, HeaderShowsTheMonthOnShowAndTheSelectedDay) {
  Open({2000, 2, 10});
  EXPECT_EQ(window->Label1->text(), "2000");
  EXPECT_EQ(window->Label20->text(), "2000");
  EXPECT_EQ(window->Label17->text(), "2");
  EXPECT_EQ(window->Label16->text(), "2");
  EXPECT_EQ(window->Label21->text(), "辰龙");
  EXPECT_EQ(window->Label22->text(), "水瓶座");
  EXPECT_EQ(HighlightedDay(), 10);
  EXPECT_EQ(window->CurrentDate, Date(2000, 2, 10));
  EXPECT_EQ(window->UpDown1->position(), 2000);
  EXPECT_EQ(window->UpDown2->position(), 2);
}

TEST_F(CalendarWindowTest, GridIsBuiltOnceInFrontOfHighlightAndWatermarks) {
  Open({2011, 1, 15});
  for (int i = 0; i < kDayCellCount; ++i) {
    const int row = i / 7, column = i % 7;
    EXPECT_EQ(DayCells[i]->geometry(), QRect(14 + 42 * column, 56 + 32 * row, 36, 16)) << i;
    EXPECT_EQ(LunarCells[i]->geometry(), QRect(13 + 42 * column, 73 + 32 * row, 36, 12)) << i;
    EXPECT_EQ(DayCells[i]->font().pixelSize(), 15) << "11 points at 96 dpi, a size up from the template";
  }
  const auto labels = window->findChildren<ClickLabel*>().size();
  window->ShowMonth(Date(2015, 2, 1));
  window->ShowMonth(Date(2033, 12, 1));
  EXPECT_EQ(window->findChildren<ClickLabel*>().size(), labels) << "showing a month creates nothing";

  const int cell = CellOfDay(15);  // the highlighted day, over both watermarks
  EXPECT_EQ(window->childAt(DayCells[cell]->geometry().center()), DayCells[cell]);
  EXPECT_EQ(window->childAt(LunarCells[cell]->geometry().center()), LunarCells[cell]);
  EXPECT_TRUE(window->UpDown1->isAncestorOf(window->childAt(window->UpDown1->geometry().center())));
}

// Resting the pointer on a day, its number or the text under it, shows the
// day in full with its almanac; an empty cell shows nothing.
TEST_F(CalendarWindowTest, ADayShowsItsAlmanacAsItsHint) {
  Open({2026, 12, 10});
  const QString tenth =
      "2026年12月10日 星期四\n农历冬月初二\n丙午年 庚子月 戊午日\n纳音 天上火\n冲鼠 煞北\n破日 司命(黄道)\n"
      "角宿(吉)\n彭祖百忌 戊不受田田主不祥 午不苫盖屋主更张";
  EXPECT_EQ(HintOf(DayCells[CellOfDay(10)]), tenth);
  EXPECT_EQ(HintOf(LunarCells[CellOfDay(10)]), tenth);
  EXPECT_EQ(HintOf(DayCells[CellOfDay(22)]).section(u'\n', 0, 2), "2026年12月22日 星期二\n农历冬月十四\n冬至");

  window->UpDown2->setPosition(7);  // the hint follows the month on show
  window->UpDown2Click();
  EXPECT_TRUE(HintOf(DayCells[CellOfDay(15)]).endsWith("\n初伏第1天"));

  EXPECT_EQ(HintOf(DayCells[2]), "");  // held December's 1st; July 2026 begins on a Wednesday, in cell 3
}

// Where the arrangements of public holidays are read from while a window opens.
class HolidayFolder {
 public:
  HolidayFolder() {
    char pattern[] = "/tmp/taliven-calendar-XXXXXX";
    root_ = mkdtemp(pattern);
    setenv("XDG_DATA_HOME", root_.toUtf8().constData(), 1);
    setenv("XDG_DATA_DIRS", (root_ + "/none").toUtf8().constData(), 1);
  }
  ~HolidayFolder() {
    QDir(root_).removeRecursively();
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_DATA_DIRS");
  }
  void Write(const QString& lines) {
    QDir(root_).mkpath(QStringLiteral("taliven"));
    QFile file(root_ + "/taliven/holidays.txt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines.toUtf8());
  }

 private:
  QString root_;
};

// 休 and 班 sit beside the day number of exactly the days the arrangement
// names: two windows whose data differ differ only inside those marks.
TEST_F(CalendarWindowTest, DayOffMarksSitBesideTheNumbersOfTheDaysTheArrangementNames) {
  HolidayFolder folder;
  const auto markOf = [](int cell) { return DayCells[cell]->findChild<QLabel*>(); };
  const auto markRect = [](int cell) { return QRect(DayCells[cell]->pos() + QPoint(28, 3), QSize(7, 10)); };

  Open({2026, 10, 12});  // built in: 1-7 off, 10 (a Saturday) worked, the 12th selected
  QList<int> marked;
  for (int day = 1; day <= 31; ++day) {
    QLabel* mark = markOf(CellOfDay(day));
    const QString expected = day <= 7 ? "休" : day == 10 ? "班" : "";
    EXPECT_EQ(mark->isVisibleTo(window.get()) ? mark->text() : QString(), expected) << day;
    if (!expected.isEmpty()) marked.append(CellOfDay(day));
  }
  EXPECT_EQ(HintOf(DayCells[CellOfDay(1)]).section(u'\n', 3, 3), "国庆节 休");
  EXPECT_EQ(HintOf(LunarCells[CellOfDay(10)]).section(u'\n', 2, 2), "国庆节 调休上班");
  window->grab();  // the toolkit draws the large watermark a shade differently the very first time
  const QImage withBuiltIn = window->grab().toImage();

  folder.Write(QStringLiteral("2026-10-12 班 试行\n"));  // the whole of 2026, now one day worked
  Open({2026, 10, 12});
  marked.append(CellOfDay(12));
  EXPECT_EQ(markOf(CellOfDay(12))->text(), "班");
  EXPECT_FALSE(markOf(CellOfDay(1))->isVisibleTo(window.get()));
  const QImage withFile = window->grab().toImage();

  ASSERT_EQ(withBuiltIn.size(), withFile.size());
  QList<int> drawn;
  for (int y = 0; y < withFile.height(); ++y) {
    for (int x = 0; x < withFile.width(); ++x) {
      if (withBuiltIn.pixel(x, y) == withFile.pixel(x, y)) continue;
      const auto in =
          std::find_if(marked.begin(), marked.end(), [&](int cell) { return markRect(cell).contains(x, y); });
      ASSERT_NE(in, marked.end()) << "a pixel outside every mark differs at " << x << "," << y;
      if (!drawn.contains(*in)) drawn.append(*in);
    }
  }
  EXPECT_EQ(drawn.size(), marked.size()) << "every mark draws";
  // The highlight on the 12th keeps its outline, a pixel clear of the mark.
  const QRect highlight = window->Shape2->geometry();
  EXPECT_TRUE(highlight.adjusted(2, 2, -2, -2).contains(markRect(CellOfDay(12))));
}

TEST_F(CalendarWindowTest, MonthFillsTheCellsFromItsFirstWeekday) {
  struct Case {
    int year, month, firstCell, lastCell;
  };
  const Case cases[] = {
      {2011, 1, 7, 37},  // begins on a Saturday: six rows, the sixth holding the 30th and 31st
      {2015, 2, 1, 28},  // begins on a Sunday: exactly four rows
      {2000, 2, 3, 31},  // leap February from a Tuesday
  };
  Open({2000, 1, 1});
  for (const Case& c : cases) {
    window->ShowMonth(Date(c.year, c.month, 1));
    std::vector<int> expected;
    for (int cell = c.firstCell; cell <= c.lastCell; ++cell) expected.push_back(cell);
    EXPECT_EQ(FilledCells(), expected) << c.year << "-" << c.month;
    EXPECT_EQ(DayCells[c.firstCell - 1]->text(), "1");
    EXPECT_EQ(DayCells[c.lastCell - 1]->text(), QString::number(c.lastCell - c.firstCell + 1));
    EXPECT_EQ(LunarCells[c.lastCell - 1]->tag(), c.lastCell - c.firstCell + 1);
  }
}

TEST_F(CalendarWindowTest, TextUnderADayIsItsStrongestNameInItsColour) {
  struct Case {
    int year, month, day;
    const char* text;
    QColor colour;
  };
  const Case cases[] = {
      {2011, 1, 2, "廿八", QColor(0x004000)},    {2011, 1, 4, "腊月", QColor(0xFF0000)},  // first day of a lunar month
      {2033, 12, 22, "闰冬", QColor(0xFF0000)},                                           // first day of a leap month
      {2011, 1, 6, "小寒", QColor(0x5353FF)},    {2011, 1, 1, "元旦节", QColor(0xFF8000)},
      {2011, 1, 11, "腊八节", QColor(0xFF8000)}, {2000, 2, 19, "元宵节", QColor(0xFF8000)},  // also the solar term 雨水
      {2000, 2, 5, "春节", QColor(0xFF8000)},     // also the first day of 正月
      {2000, 10, 6, "重阳节", QColor(0xFF8000)},  // also the Gregorian 老人节
  };
  Open({2000, 1, 1});
  for (const Case& c : cases) {
    window->ShowMonth(Date(c.year, c.month, 1));
    const int cell = CellOfDay(c.day);
    EXPECT_EQ(LunarCells[cell]->text(), QString::fromUtf8(c.text)) << c.month << "-" << c.day;
    EXPECT_EQ(LunarCells[cell]->palette().color(QPalette::WindowText), c.colour) << c.text;
    EXPECT_EQ(DayCells[cell]->palette().color(QPalette::WindowText), QColor(Qt::black));
  }
}

TEST_F(CalendarWindowTest, SpinnerStepsKeepTheSelectedDayWhereTheMonthAllows) {
  Open({2000, 1, 31});
  window->UpDown2->upButton()->click();
  EXPECT_EQ(window->Label17->text(), "2");
  EXPECT_EQ(HighlightedDay(), 29);
  EXPECT_EQ(window->Label22->text(), "双鱼座");
  EXPECT_EQ(SelDay, 31);

  window->UpDown2->upButton()->click();
  EXPECT_EQ(HighlightedDay(), 31);
  window->UpDown1->downButton()->click();
  EXPECT_EQ(window->Label1->text(), "1999");
  EXPECT_EQ(SelYear, 1999);
  EXPECT_EQ(HighlightedDay(), 31);
  EXPECT_EQ(window->CurrentDate, Date(2000, 1, 31)) << "a step changes only the month on show";
}

TEST_F(CalendarWindowTest, RightButtonMovesTheHighlightButSelectsNothing) {
  Open({2000, 1, 31});
  const int cell = CellOfDay(10);
  QTest::mousePress(DayCells[cell], Qt::RightButton);
  QTest::mouseRelease(DayCells[cell], Qt::RightButton);
  EXPECT_EQ(HighlightedDay(), 10);
  EXPECT_EQ(SelDay, 31);

  QTest::mousePress(LunarCells[CellOfDay(12)], Qt::RightButton);
  EXPECT_EQ(HighlightedDay(), 12) << "the text under a day highlights the same rectangle";

  window->UpDown2->upButton()->click();
  EXPECT_EQ(HighlightedDay(), 29);
}

TEST_F(CalendarWindowTest, ClickingADaySelectsItAndKeepsTheStarSignOnShow) {
  Open({2000, 1, 15});
  EXPECT_EQ(window->Label22->text(), "摩羯座");
  QTest::mouseClick(LunarCells[CellOfDay(25)], Qt::LeftButton);
  EXPECT_EQ(SelDay, 25);
  EXPECT_EQ(HighlightedDay(), 25);
  EXPECT_EQ(window->CurrentDate, Date(2000, 1, 25));
  EXPECT_EQ(window->Label22->text(), "摩羯座") << "the grid is not redrawn";

  QTest::mouseClick(DayCells[CellOfDay(3)], Qt::LeftButton);
  EXPECT_EQ(SelDay, 3);
  EXPECT_EQ(window->CurrentDate, Date(2000, 1, 3));

  window->UpDown2->upButton()->click();
  EXPECT_EQ(HighlightedDay(), 3);
  EXPECT_EQ(window->Label22->text(), "水瓶座");
}

TEST_F(CalendarWindowTest, AnArrowAtTheEndOfItsRangeChangesNothing) {
  struct Case {
    CivilDate today;
    bool up;
    const char* starSign;  // of the 15th, the day the month was shown with
  };
  const Case cases[] = {{{2050, 12, 15}, true, "射手座"}, {{1901, 1, 15}, false, "摩羯座"}};
  for (const Case& c : cases) {
    Open(c.today);
    // A day selected, whose star sign is another, and a right-click
    // highlight elsewhere: a redraw would move both.
    QTest::mouseClick(DayCells[CellOfDay(25)], Qt::LeftButton);
    QTest::mousePress(DayCells[CellOfDay(10)], Qt::RightButton);
    for (UpDown* spinner : {window->UpDown1, window->UpDown2}) {
      SCOPED_TRACE(spinner->objectName().toStdString() + (c.up ? " up" : " down"));
      QSignalSpy clicks(spinner, &UpDown::clicked);
      (c.up ? spinner->upButton() : spinner->downButton())->click();
      EXPECT_EQ(clicks.size(), 0);
      EXPECT_EQ(HighlightedDay(), 10);
      EXPECT_EQ(window->Label22->text(), QString::fromUtf8(c.starSign));
    }
    EXPECT_EQ(SelYear, c.today.year);
    EXPECT_EQ(SelMonth, c.today.month);
    EXPECT_EQ(SelDay, 25);
    EXPECT_EQ(window->Label1->text(), QString::number(c.today.year));
    EXPECT_EQ(window->Label17->text(), QString::number(c.today.month));
  }

  UpDown spinner(1, 12);
  QSignalSpy clicks(&spinner, &UpDown::clicked);
  spinner.setPosition(13);
  EXPECT_EQ(spinner.position(), 12);
  spinner.setPosition(0);
  EXPECT_EQ(spinner.position(), 1);
  EXPECT_EQ(clicks.size(), 0) << "setting the position is no click";
}

TEST_F(CalendarWindowTest, EnterAndSpacePressAFocusedArrow) {
  Open({2000, 6, 15});
  int month = 6;
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
    QToolButton* arrow = window->UpDown2->upButton();
    arrow->setFocus();
    QTest::keyClick(arrow, key);
    EXPECT_EQ(window->Label17->text(), QString::number(++month)) << "key " << key;
  }
}

TEST_F(CalendarWindowTest, TodayReturnsToTodaysMonthAndSpinners) {
  Open({2000, 1, 15});
  window->UpDown1->upButton()->click();
  window->UpDown2->upButton()->click();
  QTest::mouseClick(DayCells[CellOfDay(3)], Qt::LeftButton);
  ASSERT_EQ(window->Label1->text(), "2001");

  QTest::mouseClick(window->StaticText1, Qt::LeftButton);
  EXPECT_EQ(window->Label1->text(), "2000");
  EXPECT_EQ(window->Label17->text(), "1");
  EXPECT_EQ(window->UpDown1->position(), 2000);
  EXPECT_EQ(window->UpDown2->position(), 1);
  EXPECT_EQ(SelDay, 15);
  EXPECT_EQ(HighlightedDay(), 15);
  EXPECT_EQ(window->CurrentDate, Date(2000, 1, 15));
}

TEST_F(CalendarWindowTest, YearAndMonthCaptionsSwapTheSpinners) {
  Open({2000, 1, 15});
  QTest::mouseClick(window->Label1, Qt::LeftButton);
  EXPECT_TRUE(window->UpDown1->isVisible());
  EXPECT_FALSE(window->UpDown2->isVisible());
  QTest::mouseClick(window->Label17, Qt::LeftButton);
  EXPECT_TRUE(window->UpDown2->isVisible());
  EXPECT_FALSE(window->UpDown1->isVisible());
}

TEST_F(CalendarWindowTest, LosingActivationClosesTheWindowButKeepsIt) {
  Open({2000, 1, 15});
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_FALSE(window->isVisible());
}

TEST_F(CalendarWindowTest, EveryClickOnTheCalendarButtonGivesAFreshWindow) {
  SetTodayForTesting(CivilDate{2000, 1, 15});
  testing::MainWindowDoubles doubles;
  TFrmmain main(testing::TestServices(doubles));
  main.show();
  auto* button = main.findChild<QPushButton*>("RzButton5");
  ASSERT_NE(button, nullptr);

  QTimer::singleShot(0, [] {
    auto* calendar = qobject_cast<TFRM_Date*>(QApplication::activeModalWidget());
    ASSERT_NE(calendar, nullptr);
    calendar->UpDown1->upButton()->click();
    calendar->UpDown2->upButton()->click();
    calendar->close();
  });
  button->click();
  QPointer<TFRM_Date> first = FRM_Date;
  ASSERT_FALSE(first.isNull()) << "kept alive, hidden, after closing";
  EXPECT_FALSE(first->isVisible());
  EXPECT_EQ(first->Label1->text(), "2001");

  QTimer::singleShot(0, [] {
    auto* calendar = qobject_cast<TFRM_Date*>(QApplication::activeModalWidget());
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->Label1->text(), "2000");
    EXPECT_EQ(calendar->Label17->text(), "1");
    calendar->close();
  });
  button->click();
  EXPECT_TRUE(first.isNull()) << "the next click frees the old instance";
  ASSERT_NE(FRM_Date, nullptr);
  delete FRM_Date;
}

}  // namespace
}  // namespace taliven

namespace taliven {
namespace {

// The contrast ratio of two colours as the accessibility guidelines define it.
double Contrast(QColor a, QColor b) {
  const auto luminance = [](QColor c) {
    const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Read off a rendering at 1x: each mark's glyph in its own colour, legible
// against its ground, two pixels clear of the day number's ink, and the
// highlight's outline whole on a selected day that carries a mark.
TEST_F(CalendarWindowTest, MarksReadAtOneTimesTheSizeBesideTheNumbersAndInsideTheOutline) {
  struct Case {
    CivilDate opened;  // the selected day carries a mark
    std::vector<int> off, worked;
  };
  const Case cases[] = {
      {{2026, 10, 7}, {1, 2, 3, 4, 5, 6, 7}, {10}},                     // one digit, and 10
      {{2026, 2, 28}, {15, 16, 17, 18, 19, 20, 21, 22, 23}, {14, 28}},  // the widest two digits
  };
  for (const Case& c : cases) {
    Open(c.opened);
    const QImage shown = window->grab().toImage();
    ASSERT_EQ(shown.devicePixelRatio(), 1.0);
    for (const bool off : {true, false}) {
      for (const int day : off ? c.off : c.worked) {
        const ClickLabel* number = DayCells[CellOfDay(day)];
        const QLabel* mark = number->findChild<QLabel*>();
        ASSERT_TRUE(mark->isVisibleTo(window.get())) << day;
        const QRect box = mark->geometry().translated(number->pos());
        const QColor ground = shown.pixelColor(box.topLeft());
        int glyph = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
          for (int x = box.left(); x <= box.right(); ++x) {
            const QColor pixel = shown.pixelColor(x, y);
            if (pixel == ground) continue;
            ++glyph;
            EXPECT_EQ(pixel.rgb() & 0xFFFFFF, off ? kDayOffMarkColor : kWorkdayMarkColor) << day << " at " << x;
            EXPECT_GE(Contrast(pixel, ground), 4.5) << day;
          }
        }
        EXPECT_GE(glyph, 12) << "the mark of " << day << " draws its glyph";
        EXPECT_EQ(ground.rgb() & 0xFFFFFF, off ? kDayOffMarkGround : kWorkdayMarkGround) << day;
        const QRect clear = box.adjusted(-2, -2, 2, 2);
        for (int y = number->y(); y <= number->geometry().bottom(); ++y) {
          for (int x = number->x(); x <= number->geometry().right(); ++x) {
            const bool onOutline = window->Shape2->geometry().contains(x, y) &&
                                   !window->Shape2->geometry().adjusted(1, 1, -1, -1).contains(x, y);
            if (box.contains(x, y) || !clear.contains(x, y) || onOutline) continue;
            const QColor pixel = shown.pixelColor(x, y);
            EXPECT_FALSE(pixel.red() < 128 && pixel.green() < 128 && pixel.blue() < 128)
                << "ink of " << day << " within 2 pixels of its mark at " << x << "," << y;
          }
        }
      }
    }
    const QRect outline = window->Shape2->geometry();
    for (int x = outline.left(); x <= outline.right(); ++x) {
      for (int y = outline.top(); y <= outline.bottom(); ++y) {
        if (x != outline.left() && x != outline.right() && y != outline.top() && y != outline.bottom()) continue;
        EXPECT_EQ(shown.pixelColor(x, y), QColor(Qt::black))
            << "the outline of " << c.opened.day << " at " << x << "," << y;
      }
    }
  }
}

// The hint stands beside the whole day, never on it, wherever the window
// stands on the screen; it stays put within the day and goes when the
// pointer leaves it.
TEST_F(CalendarWindowTest, HintStandsBesideItsDayWhereverTheDayIsOnTheScreen) {
  Open({2011, 1, 15});  // cells 7 to 37: a day in every corner of the grid
  const QRect available = window->screen()->availableGeometry();
  const QPoint corners[] = {available.topLeft(), available.topRight() - QPoint(window->width(), 0),
                            available.bottomLeft() - QPoint(0, window->height()),
                            available.bottomRight() - QPoint(window->width(), window->height())};
  for (const QPoint corner : corners) {
    window->move(corner);
    for (const int cell : {7 - 1, 28 - 1, 29 - 1, 35 - 1, 36 - 1}) {
      const QRect number(DayCells[cell]->mapToGlobal(QPoint(0, 0)), DayCells[cell]->size());
      const QRect lunar(LunarCells[cell]->mapToGlobal(QPoint(0, 0)), LunarCells[cell]->size());
      const QRect highlight(number.topLeft() + QPoint(-1, 1), window->Shape2->size());
      for (ClickLabel* label : {DayCells[cell], LunarCells[cell]}) {
        ASSERT_FALSE(HintOf(label).isEmpty());
        const QWidget* hint = window->ShownDayHint();
        const QRect shownAt = hint->geometry();
        EXPECT_FALSE(shownAt.intersects(number.united(lunar).united(highlight)))
            << "cell " << cell << " of a window at " << corner.x() << "," << corner.y();
        EXPECT_TRUE(available.contains(shownAt))
            << "cell " << cell << " hint at " << shownAt.x() << "," << shownAt.y() << " " << shownAt.width() << "x"
            << shownAt.height() << " on " << available.width() << "x" << available.height();
      }
    }
  }

  window->move(available.topLeft());
  ClickLabel* number = DayCells[CellOfDay(15)];
  HintOf(number);
  const QRect placed = window->ShownDayHint()->geometry();
  // Over the gap to the lunar text and onto it: the same day, the same place.
  QEvent leave(QEvent::Leave);
  for (const QPoint within : {number->geometry().bottomLeft() + QPoint(5, 1), LunarCells[CellOfDay(15)]->pos()}) {
    MovePointerTo(window.get(), within);
    QCursor::setPos(window->mapToGlobal(within));
    QApplication::sendEvent(number, &leave);
    ASSERT_NE(window->ShownDayHint(), nullptr);
    EXPECT_EQ(window->ShownDayHint()->geometry(), placed);
  }
  MovePointerTo(window.get(), DayCells[CellOfDay(16)]->geometry().center());
  EXPECT_EQ(window->ShownDayHint(), nullptr) << "the pointer has left the day";
}

TEST(HintPlace, BelowTheCellOrAboveItAndAlwaysOnTheScreen) {
  const QRect screen(0, 0, 1024, 768);
  const QSize hint(200, 150);
  struct Case {
    QRect cell;
    QPoint expected;
  };
  const Case cases[] = {
      {{100, 100, 38, 31}, {100, 133}},  // room below
      {{100, 600, 38, 31}, {100, 448}},  // none below: above, clear of the cell
      {{900, 100, 38, 31}, {824, 133}},  // at the right edge: shifted back onto the screen
      {{-10, 700, 38, 31}, {0, 548}},    // off the left edge, at the bottom
      {{100, 586, 38, 31}, {100, 434}},  // below would end one pixel past the screen
      {{100, 585, 38, 31}, {100, 618}},  // below ends on the screen's last row
  };
  for (const Case& c : cases) EXPECT_EQ(HintTopLeft(c.cell, hint, screen), c.expected) << c.cell.y();
}

// Keyboard only: the selected day has the focus, the arrows move it day by
// day and week by week across the month's edges as a press and the month
// arrows would, Page Up and Page Down step the month, and 今天 comes back.
TEST_F(CalendarWindowTest, KeyboardMovesTheSelectionAcrossMonthsWithinTheRange) {
  Open({2026, 12, 30});
  QApplication::setActiveWindow(window.get());
  const auto focusedDay = [&] {
    const auto* day = qobject_cast<ClickLabel*>(QApplication::focusWidget());
    return day != nullptr && std::find(DayCells.begin(), DayCells.end(), day) != DayCells.end() ? day->tag() : 0;
  };
  ASSERT_EQ(focusedDay(), 30);
  struct Step {
    Qt::Key key;
    TDateTime selected;
  };
  const Step steps[] =
      {
          {Qt::Key_Right, Date(2026, 12, 31)},    {Qt::Key_Right, Date(2027, 1, 1)},  // into the next year
          {Qt::Key_Left, Date(2026, 12, 31)},     {Qt::Key_Down, Date(2027, 1, 7)},
          {Qt::Key_Up, Date(2026, 12, 31)},       {Qt::Key_Up, Date(2026, 12, 24)},
          {Qt::Key_PageDown, Date(2026, 12, 24)},  // the month arrow at December: nothing
          {Qt::Key_PageUp, Date(2026, 12, 24)},    // shows November, selects nothing
      };
  for (const Step& step : steps) {
    QTest::keyClick(QApplication::focusWidget(), step.key);
    EXPECT_EQ(window->CurrentDate, step.selected) << step.key;
    const CivilDate shown = *DecodeDate(step.selected);
    if (step.key == Qt::Key_PageUp) continue;
    EXPECT_EQ(window->UpDown1->position(), shown.year) << step.key;
    EXPECT_EQ(window->UpDown2->position(), shown.month) << step.key;
    EXPECT_EQ(HighlightedDay(), shown.day) << step.key;
    EXPECT_EQ(focusedDay(), shown.day) << step.key;
    ASSERT_NE(window->ShownDayHint(), nullptr) << "a day selected by key shows its hint";
    EXPECT_TRUE(qobject_cast<const QLabel*>(window->ShownDayHint())
                    ->text()
                    .startsWith(QStringLiteral("%1年%2月%3日").arg(shown.year).arg(shown.month).arg(shown.day)));
  }
  EXPECT_EQ(window->UpDown2->position(), 11);
  EXPECT_EQ(focusedDay(), 24) << "the selected day number, in the month Page Up showed";

  // The range's ends stop the arrows as they stop the spinners.
  for (const auto& [today, key] :
       {std::pair{CivilDate{2050, 12, 31}, Qt::Key_Right}, std::pair{CivilDate{1901, 1, 1}, Qt::Key_Left},
        std::pair{CivilDate{1901, 1, 5}, Qt::Key_Up}}) {
    Open(today);
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(QApplication::focusWidget(), key);
    EXPECT_EQ(window->CurrentDate, Date(today.year, today.month, today.day));
    EXPECT_EQ(HighlightedDay(), today.day);
  }

  // Tab walks the header as it reads, then the selected day; 今天 by Enter.
  Open({2026, 12, 30});
  QApplication::setActiveWindow(window.get());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
  QStringList order;
  for (int i = 0; i < 8; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    const QWidget* focus = QApplication::focusWidget();
    order.append(focus->objectName().isEmpty() ? focus->accessibleName() : focus->objectName());
  }
  EXPECT_EQ(order.join(u' '), "Label17 增加 减少 Label1 增加 减少 StaticText1 ");
  EXPECT_EQ(qobject_cast<ClickLabel*>(QApplication::focusWidget())->tag(), 22);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  ASSERT_EQ(QApplication::focusWidget(), window->StaticText1);
  QTest::keyClick(window->StaticText1, Qt::Key_Return);
  EXPECT_EQ(window->CurrentDate, Date(2026, 12, 30));
  EXPECT_EQ(HighlightedDay(), 30);
}

// A window manager may minimise the calendar although it has no minimise
// box: it has lost activation, so it closes.
TEST_F(CalendarWindowTest, MinimisedItCloses) {
  Open({2026, 12, 30});
  window->setWindowState(Qt::WindowMinimized);
  QTest::qWait(10);
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace taliven
