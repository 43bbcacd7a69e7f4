#pragma once
// The perpetual calendar: one Gregorian month as a grid of days, each with
// its lunar day or, in its place, the lunar month, a festival or a solar
// term; the year's branch and animal, and the star sign of the selected day.

#include <QDialog>
#include <array>
#include <cstdint>

#include "holidays.h"
#include "tdatetime.h"

class QFrame;
class QLabel;

namespace taliven {

class ClickLabel;
class DayHint;
class UpDown;

inline constexpr int kDayCellCount = 37;

class TFRM_Date : public QDialog {
  Q_OBJECT
 public:
  explicit TFRM_Date(QWidget* parent = nullptr);
  ~TFRM_Date() override;

  // The date the window opens on: today, or the last day clicked.
  TDateTime CurrentDate = 0;

  QFrame* Shape1;       // background and frame
  QLabel* Label20;      // year watermark
  QLabel* Label16;      // month watermark
  QWidget* Bevel2;      // rule under the weekday header
  QFrame* Shape2;       // highlight of the selected day
  ClickLabel* Label1;   // the year
  QLabel* day1;         // template of the day numbers, never shown
  QLabel* Cnday;        // template of the texts under them, never shown
  QWidget* Bevel1;      // rule under the grid
  ClickLabel* Label17;  // the month
  QLabel* Label18;
  QLabel* Label19;
  QLabel* Label21;          // branch and animal of the lunar year
  QLabel* Label22;          // star sign of the selected day
  UpDown* UpDown1;          // year
  UpDown* UpDown2;          // month
  ClickLabel* StaticText1;  // "今天"

  // Writes the header and fills the grid for the month of `date`,
  // highlighting its day.
  void ShowMonth(TDateTime date);
  void StoreSelectedDate();

  void FormShow();
  void Label1Click();
  void Label17Click();
  void UpDown1Click();
  void UpDown2Click();
  void StaticText1Click();
  void CnDayClick(const ClickLabel& label);
  void CHnDayClick(const ClickLabel& label);
  void CnDayMouseDown(const ClickLabel& label);
  void ChnDateMouseDown(const ClickLabel& label);
  void FormDeactivate();

  // The hint of a day while one shows, for the pointer or for the keyboard.
  const QWidget* ShownDayHint() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  // A day's hint is made when the pointer rests on the day, not with the
  // month; the arrow keys move the selected day.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createBackground();
  void createHeader();
  void createGridTemplates();
  void createFooter();
  void createCaptions();
  void createSpinners();
  void FormCreate();
  void CreateDayCells();
  void FillDay(int cell, int year, int month, int day, int selectedDay);
  void ShowDayHint(int cell);
  void HideDayHintOutside(QPoint globalPos);
  QRect DayCellArea(int cell) const;
  void ShowDayOffMark(int cell, const HolidayMark& holiday);
  bool MoveSelectionByKey(int key);
  void MoveSelection(int days);
  void ShowSpinnersMonth(int year, int month);
  int CellOfDay(int day) const;  // the cell showing `day`, -1 for none
  void MakeDayFocusable(int cell);
  void FocusSelectedDay();

  int FShownYear = 0;  // the month on show
  int FShownMonth = 0;
  // Read as the window opens, so that a file added since shows the next time.
  HolidayArrangements FHolidays;
  // 休 or 班 at the top right of each day number, shown where the day is one.
  std::array<QLabel*, kDayCellCount> FDayOffMarks{};
  DayHint* FDayHint = nullptr;
  int FHintCell = -1;  // the cell whose hint shows, -1 for none
};

// The window while it exists; the main window replaces it on every opening.
extern TFRM_Date* FRM_Date;

// The month on show and the selected day. SelDay survives a change of month,
// so it may exceed the length of the month on show.
extern std::uint16_t SelYear;
extern std::uint16_t SelMonth;
extern std::uint16_t SelDay;

// The grid, Sunday first: cell i (from 0) stands in row i / 7, column i % 7.
extern std::array<ClickLabel*, kDayCellCount> DayCells;
extern std::array<ClickLabel*, kDayCellCount> LunarCells;

// The length of the month of `date`.
int DaysInMonthOf(TDateTime date);

// year-month-day, the day cut down to the length of that month.
TDateTime ClampedDate(int year, int month, int day);

// The top-left corner of a hint of `size` that stands beside `cell` without
// meeting it: below the cell, or above it where `screen` has no room below,
// shifted sideways to stay on `screen`.
QPoint HintTopLeft(const QRect& cell, QSize size, const QRect& screen);

}  // namespace taliven
