#include "calendar_window.h"

#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <QStringList>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "click_label.h"
#include "clock.h"
#include "day_cell.h"
#include "day_hint.h"
#include "error_guard.h"
#include "festivals.h"
#include "fonts.h"
#include "gbk_codec.h"
#include "lunar.h"
#include "standard_frame.h"
#include "up_down.h"

namespace taliven {

TFRM_Date* FRM_Date = nullptr;

std::uint16_t SelYear = 0;
std::uint16_t SelMonth = 0;
std::uint16_t SelDay = 0;
std::array<ClickLabel*, kDayCellCount> DayCells{};
std::array<ClickLabel*, kDayCellCount> LunarCells{};

namespace {

constexpr Qt::WindowFlags kSystemMenuAndCloseBox =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

constexpr int kClientWidth = 331;
constexpr int kClientHeight = 285;
constexpr int kColumnStep = 42;
constexpr int kRowStep = 32;
constexpr int kDaysPerWeek = 7;
// The day numbers are shown at 11 points, which is 15 pixels at 96 dpi,
// one size up from their template.
constexpr int kShownDayNumberPixels = 15;
// The 休 or 班 mark: at the top right of the day number, two pixels clear of
// the widest two digits and one inside the highlight's outline, so neither
// runs into the other. Drawn in a narrowed sans face, and at 1x without
// smoothing: strokes this small blur into a smudge of lighter colour.
const QRect kDayOffMarkGeometry(28, 3, 7, 10);
constexpr int kDayOffMarkPixels = 9;
constexpr int kDayOffMarkStretch = 90;

const QColor kYearWatermark(0xFF, 0xE8, 0xDD);
const QColor kMonthWatermark(0xEB, 0xEB, 0xEB);
const QColor kHighlight(0x7E, 0xE2, 0x81);
const QColor kMonthColour(0x80, 0x80, 0xC0);
const QColor kZodiacColour(0xDD, 0xDD, 0xFF);
const QColor kStarSignColour(0xFF, 0x80, 0xFF);
const QColor kTodayBackground(0xCE, 0xF2, 0xD0);

struct WeekdayLabel {
  const char* text;
  const char* headerName;
  int headerLeft;
  const char* footerName;
  int footerLeft;
};

constexpr WeekdayLabel kWeekdays[kDaysPerWeek] = {
    {"星期日", "Label2", 19, "Label9", 20},    {"星期一", "Label3", 59, "Label10", 60},
    {"星期二", "Label4", 99, "Label11", 100},  {"星期三", "Label6", 139, "Label12", 140},
    {"星期四", "Label5", 179, "Label13", 180}, {"星期五", "Label8", 219, "Label14", 220},
    {"星期六", "Label7", 259, "Label15", 260},
};

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

enum class WeekdayRow { Header, Footer };

// The weekday names above or below the grid, the weekend in red.
void CreateWeekdayRow(QWidget* parent, WeekdayRow row) {
  const QFont font = PixelFont(QStringLiteral("宋体"), 12);
  const bool header = row == WeekdayRow::Header;
  const int top = header ? 40 : 253;
  for (int column = 0; column < kDaysPerWeek; ++column) {
    const WeekdayLabel& weekday = kWeekdays[column];
    auto* label = new QLabel(QString::fromUtf8(weekday.text), parent);
    label->setObjectName(QString::fromLatin1(header ? weekday.headerName : weekday.footerName));
    label->setGeometry(header ? weekday.headerLeft : weekday.footerLeft, top, 36, 12);
    label->setFont(font);
    // Vertically centred too: the installed CJK faces are taller than their
    // 12-pixel boxes and would lose the bottom of every character.
    label->setAlignment(Qt::AlignCenter);
    const bool weekend = column == 0 || column == kDaysPerWeek - 1;
    SetTextColour(label, weekend ? Qt::red : Qt::black);
  }
}

template <class Label = QLabel>
Label* CreateLabel(QWidget* parent, const char* name, const QRect& geometry, const QFont& font, const QColor& colour,
                   Qt::Alignment alignment) {
  auto* label = new Label(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(geometry);
  label->setFont(font);
  label->setAlignment(alignment);
  SetTextColour(label, colour);
  return label;
}

// A label sized to its text at `pos`, in the system's text colour.
QLabel* CreateCaption(QWidget* parent, const char* name, const QString& text, QPoint pos) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(PixelFont(QStringLiteral("宋体"), 14, true));
  label->adjustSize();
  label->move(pos);
  return label;
}

// A filled rectangle with a black one-pixel outline.
QFrame* CreateShape(QWidget* parent, const char* name, const QRect& geometry, const QColor& fill) {
  auto* shape = new QFrame(parent);
  shape->setObjectName(QString::fromLatin1(name));
  shape->setFrameStyle(QFrame::Box | QFrame::Plain);
  shape->setLineWidth(1);
  QPalette palette = shape->palette();
  palette.setColor(QPalette::Window, fill);
  palette.setColor(QPalette::WindowText, Qt::black);
  shape->setPalette(palette);
  shape->setAutoFillBackground(true);
  shape->setGeometry(geometry);
  return shape;
}

// A hidden grid label shaped and coloured like its template, moved by `offset`.
ClickLabel* CreateCellLike(QWidget* parent, const QLabel& model, QPoint offset, const QFont& font) {
  auto* cell = new ClickLabel(parent);
  cell->setGeometry(model.geometry().translated(offset));
  cell->setAlignment(model.alignment());
  cell->setFont(font);
  SetTextColour(cell, model.palette().color(QPalette::WindowText));
  cell->hide();
  return cell;
}

// A horizontal rule drawn sunken along the bottom edge of its rectangle.
class BottomLine : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, height() - 2, width() - 1, height() - 2);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
  }
};

QWidget* CreateBevel(QWidget* parent, const char* name, const QRect& geometry) {
  auto* bevel = new BottomLine(parent);
  bevel->setObjectName(QString::fromLatin1(name));
  bevel->setGeometry(geometry);
  return bevel;
}

CivilDate CalendarDay(TDateTime date) {
  const auto day = DecodeDate(date);
  if (!day)
    throw std::invalid_argument(ErrorMessage("日历无法显示这个日期所在的月份。", "the date lies outside the calendar"));
  return *day;
}

TDateTime DateOf(int year, int month, int day) {
  const auto date = EncodeDate(year, month, day);
  if (!date) throw std::invalid_argument(ErrorMessage("日历中没有这一天。", "no such date"));
  return *date;
}

TDateTime TodayDate() {
  const CivilDate today = Today();
  return DateOf(today.year, today.month, today.day);
}

}  // namespace

int DaysInMonthOf(TDateTime date) {
  const CivilDate day = CalendarDay(date);
  return DaysInMonth(day.year, day.month);
}

TDateTime ClampedDate(int year, int month, int day) {
  return DateOf(year, month, std::min(day, DaysInMonth(year, month)));
}

QPoint HintTopLeft(const QRect& cell, QSize size, const QRect& screen) {
  constexpr int kGap = 2;  // clear of the cell, so it never seems to cover it
  const int below = cell.bottom() + 1 + kGap;
  const int above = cell.top() - kGap - size.height();
  const bool roomBelow = below + size.height() - 1 <= screen.bottom();
  const bool roomAbove = above >= screen.top();
  const bool goBelow = roomBelow || (!roomAbove && screen.bottom() - cell.bottom() >= cell.top() - screen.top());
  const int left = std::max(screen.left(), std::min(cell.left(), screen.right() + 1 - size.width()));
  return {left, goBelow ? below : above};
}

// The day's hint: drawn as the desktop draws tooltips, but placed beside the
// whole day and kept for as long as the pointer rests on it.
class DayHint final : public QLabel {
 public:
  explicit DayHint(QWidget* parent)
      : QLabel(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::BypassGraphicsProxyWidget) {
    setObjectName(QStringLiteral("DayHint"));
    setPalette(QToolTip::palette());
    setFont(parent->font());  // a window of its own, it would not inherit it
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setMargin(1 + style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, this));
    setTextFormat(Qt::PlainText);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QStylePainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    painter.drawPrimitive(QStyle::PE_PanelTipLabel, frame);
    painter.end();
    QLabel::paintEvent(event);
  }
};

TFRM_Date::TFRM_Date(QWidget* parent) : QDialog(parent, kSystemMenuAndCloseBox) {
  setObjectName(QStringLiteral("FRM_Date"));
  setWindowTitle(QStringLiteral("Orlin日历"));
  setFont(PixelFont(QStringLiteral("宋体"), 12));
  setFixedSize(kClientWidth, kClientHeight);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);

  createBackground();
  createHeader();
  createGridTemplates();
  createFooter();
  createCaptions();
  createSpinners();
  FormCreate();

  CentreOnScreen(*this);
}

TFRM_Date::~TFRM_Date() {
  if (FRM_Date == this) FRM_Date = nullptr;
  if (DayCells.front() && DayCells.front()->parent() == this) {
    DayCells.fill(nullptr);
    LunarCells.fill(nullptr);
  }
}

void TFRM_Date::createBackground() {
  Shape1 = CreateShape(this, "Shape1", rect(), Qt::white);
  Label20 = CreateLabel(this, "Label20", QRect(0, 56, 313, 72), PixelFont(QStringLiteral("Arial Black"), 64),
                        kYearWatermark, Qt::AlignCenter);
  Label16 = CreateLabel(this, "Label16", QRect(16, 146, 313, 134), PixelFont(QStringLiteral("Arial Black"), 120),
                        kMonthWatermark, Qt::AlignCenter);
  Bevel2 = CreateBevel(this, "Bevel2", QRect(9, 46, 297, 10));
  Shape2 = CreateShape(this, "Shape2", QRect(0, 0, 38, 30), kHighlight);
}

void TFRM_Date::createHeader() {
  Label1 = CreateLabel<ClickLabel>(this, "Label1", QRect(120, 0, 76, 41), PixelFont(QStringLiteral("Arial Black"), 29),
                                   Qt::blue, Qt::AlignHCenter | Qt::AlignTop);
  Label1->setCursor(Qt::PointingHandCursor);
  Label1->setToolTip(QStringLiteral("单击改变年份"));
  Label1->makeKeyboardReachable(QAccessible::Button);
  connect(Label1, &ClickLabel::clicked, this, Guard(this, &TFRM_Date::Label1Click));
  CreateWeekdayRow(this, WeekdayRow::Header);
}

void TFRM_Date::createGridTemplates() {
  day1 = CreateLabel(this, "day1", QRect(14, 56, 36, 16), PixelFont(QStringLiteral("Arial Black"), 14), Qt::black,
                     Qt::AlignCenter);
  day1->hide();
  Cnday = CreateLabel(this, "Cnday", QRect(13, 73, 36, 12), PixelFont(QStringLiteral("宋体"), 12),
                      QColor::fromRgb(kLunarDayColor), Qt::AlignCenter);
  Cnday->hide();
}

void TFRM_Date::createFooter() {
  CreateWeekdayRow(this, WeekdayRow::Footer);
  Bevel1 = CreateBevel(this, "Bevel1", QRect(9, 240, 297, 10));
}

void TFRM_Date::createCaptions() {
  Label17 = CreateLabel<ClickLabel>(this, "Label17", QRect(10, 3, 36, 37), PixelFont(QStringLiteral("Arial"), 32, true),
                                    kMonthColour, Qt::AlignHCenter | Qt::AlignTop);
  Label17->setCursor(Qt::PointingHandCursor);
  Label17->setToolTip(QStringLiteral("单击改变月份"));
  Label17->makeKeyboardReachable(QAccessible::Button);
  connect(Label17, &ClickLabel::clicked, this, Guard(this, &TFRM_Date::Label17Click));

  Label18 = CreateCaption(this, "Label18", QStringLiteral("月"), QPoint(45, 17));
  Label19 = CreateCaption(this, "Label19", QStringLiteral("年"), QPoint(205, 17));
  Label21 = CreateLabel(this, "Label21", QRect(230, 212, 78, 35), PixelFont(QStringLiteral("隶书"), 35, true),
                        kZodiacColour, Qt::AlignHCenter | Qt::AlignTop);
  Label22 = CreateLabel(this, "Label22", QRect(152, 223, 69, 23), PixelFont(QStringLiteral("黑体"), 19, true),
                        kStarSignColour, Qt::AlignHCenter | Qt::AlignTop);
}

void TFRM_Date::createSpinners() {
  UpDown1 = new UpDown(kFirstLunarYear, kLastLunarYear, this);
  UpDown1->setObjectName(QStringLiteral("UpDown1"));
  UpDown1->setAccessibleName(QStringLiteral("年份"));
  UpDown1->setGeometry(221, 10, 16, 24);
  connect(UpDown1, &UpDown::clicked, this, Guard(this, &TFRM_Date::UpDown1Click));

  UpDown2 = new UpDown(1, 12, this);
  UpDown2->setObjectName(QStringLiteral("UpDown2"));
  UpDown2->setAccessibleName(QStringLiteral("月份"));
  UpDown2->setGeometry(61, 10, 16, 24);
  connect(UpDown2, &UpDown::clicked, this, Guard(this, &TFRM_Date::UpDown2Click));

  StaticText1 = new ClickLabel(QStringLiteral("今天"), this);
  StaticText1->setObjectName(QStringLiteral("StaticText1"));
  StaticText1->setGeometry(272, 17, 28, 16);
  StaticText1->setAlignment(Qt::AlignCenter);
  StaticText1->setFrameStyle(QFrame::Box | QFrame::Plain);
  StaticText1->setLineWidth(1);
  QPalette background = StaticText1->palette();
  background.setColor(QPalette::Window, kTodayBackground);
  StaticText1->setPalette(background);
  StaticText1->setAutoFillBackground(true);
  StaticText1->setCursor(Qt::PointingHandCursor);
  StaticText1->makeKeyboardReachable(QAccessible::Button);
  connect(StaticText1, &ClickLabel::clicked, this, Guard(this, &TFRM_Date::StaticText1Click));
}

void TFRM_Date::FormCreate() {
  FHolidays = LoadHolidayArrangements(HolidayDataDirs(), std::cerr);
  CreateDayCells();
  // The spinners and "今天" stay above the grid created after them.
  UpDown1->raise();
  UpDown2->raise();
  StaticText1->raise();
  // Tab goes as the eye reads the header, then to the selected day.
  setTabOrder(Label17, UpDown2->upButton());
  setTabOrder(UpDown2->upButton(), UpDown2->downButton());
  setTabOrder(UpDown2->downButton(), Label1);
  setTabOrder(Label1, UpDown1->upButton());
  setTabOrder(UpDown1->upButton(), UpDown1->downButton());
  setTabOrder(UpDown1->downButton(), StaticText1);
  QWidget* previous = StaticText1;
  for (ClickLabel* day : DayCells) {
    setTabOrder(previous, day);
    previous = day;
  }
  // The hint hides when the pointer leaves its day, over the gaps too.
  setMouseTracking(true);
  FDayHint = new DayHint(this);
  CurrentDate = TodayDate();
}

void TFRM_Date::CreateDayCells() {
  QFont dayFont = day1->font();
  dayFont.setPixelSize(kShownDayNumberPixels);
  for (int i = 0; i < kDayCellCount; ++i) {
    const QPoint offset((i % kDaysPerWeek) * kColumnStep, (i / kDaysPerWeek) * kRowStep);

    ClickLabel* day = CreateCellLike(this, *day1, offset, dayFont);
    connect(day, &ClickLabel::clicked, this, Guard([this, day] { CnDayClick(*day); }));
    connect(day, &ClickLabel::mousePressed, this, Guard([this, day](Qt::MouseButton) { CnDayMouseDown(*day); }));

    ClickLabel* lunar = CreateCellLike(this, *Cnday, offset, Cnday->font());
    connect(lunar, &ClickLabel::clicked, this, Guard([this, lunar] { CHnDayClick(*lunar); }));
    connect(lunar, &ClickLabel::mousePressed, this,
            Guard([this, lunar](Qt::MouseButton) { ChnDateMouseDown(*lunar); }));

    day->installEventFilter(this);
    lunar->installEventFilter(this);
    DayCells[i] = day;
    LunarCells[i] = lunar;

    auto* mark = new QLabel(day);
    mark->setObjectName(QStringLiteral("DayOffMark"));
    mark->setGeometry(kDayOffMarkGeometry);
    QFont markFont = PixelFont(QStringLiteral("黑体"), kDayOffMarkPixels);
    markFont.setStretch(kDayOffMarkStretch);
    if (devicePixelRatioF() < 1.5) markFont.setStyleStrategy(QFont::NoAntialias);
    mark->setFont(markFont);
    mark->setAlignment(Qt::AlignCenter);
    mark->setAutoFillBackground(true);
    mark->hide();
    FDayOffMarks[i] = mark;
  }
}

void TFRM_Date::ShowMonth(TDateTime date) {
  const CivilDate shown = CalendarDay(date);
  FShownYear = shown.year;
  FShownMonth = shown.month;
  const QString year = QString::number(shown.year);
  Label20->setText(year);
  Label17->setText(QString::number(shown.month));
  Label16->setText(Label17->text());
  Label1->setText(year);
  Label21->setText(FromGbk(GetZodiacText(date)));

  FDayHint->hide();
  FHintCell = -1;
  // Hiding the focused day would pass the focus on; it stays in the grid.
  const bool gridHadFocus = std::find(DayCells.begin(), DayCells.end(), focusWidget()) != DayCells.end();
  for (int i = 0; i < kDayCellCount; ++i) {
    DayCells[i]->hide();
    LunarCells[i]->hide();
  }

  const int firstCell = DayOfWeek(shown.year, shown.month, 1) - 1;
  const int days = DaysInMonthOf(date);
  // A day that cannot be filled ends the fill there, silently: the days
  // before it stay shown, the rest of the month stays empty.
  try {
    for (int day = 1; day <= days; ++day) {
      FillDay(firstCell + day - 1, shown.year, shown.month, day, shown.day);
    }
  } catch (...) {
  }
  if (gridHadFocus) FocusSelectedDay();
}

void TFRM_Date::FillDay(int cell, int year, int month, int day, int selectedDay) {
  ClickLabel* number = DayCells.at(cell);
  ClickLabel* text = LunarCells.at(cell);
  number->setText(QString::number(day));
  number->setTag(day);
  text->setTag(day);

  const DayCell underDay = GetDayCell(year, month, day);
  text->setText(FromGbk(underDay.text));
  SetTextColour(text, QColor::fromRgb(underDay.color));
  ShowDayOffMark(cell, FHolidays.Find(year, month, day));

  if (day == selectedDay) {
    Shape2->move(number->x() - 1, number->y() + 1);
    Label22->setText(FromGbk(GetConstellation(day, DateOf(year, month, day))));
    MakeDayFocusable(cell);
  }
  number->show();
  text->show();
}

void TFRM_Date::ShowDayOffMark(int cell, const HolidayMark& holiday) {
  QLabel* mark = FDayOffMarks.at(cell);
  if (holiday.dayOff == DayOff::kNone) {
    mark->hide();
    return;
  }
  const bool off = holiday.dayOff == DayOff::kOff;
  QPalette colours = mark->palette();
  colours.setColor(QPalette::WindowText, QColor::fromRgb(off ? kDayOffMarkColor : kWorkdayMarkColor));
  colours.setColor(QPalette::Window, QColor::fromRgb(off ? kDayOffMarkGround : kWorkdayMarkGround));
  mark->setPalette(colours);
  mark->setText(FromGbk(DayOffText(holiday.dayOff)));
  mark->show();
}

// The day's labels and the highlight that covers them.
QRect TFRM_Date::DayCellArea(int cell) const {
  const QRect number = DayCells.at(cell)->geometry();
  return number.united(LunarCells.at(cell)->geometry()).united(QRect(number.topLeft() + QPoint(-1, 1), Shape2->size()));
}

void TFRM_Date::ShowDayHint(int cell) {
  if (cell == FHintCell && FDayHint->isVisible()) return;  // it stays put within its day
  const int day = DayCells.at(cell)->tag();
  const HolidayMark holiday = FHolidays.Find(FShownYear, FShownMonth, day);
  QStringList lines;
  for (const GbkText& line : DayHintLines(FShownYear, FShownMonth, day, holiday)) lines.append(FromGbk(line));
  FDayHint->setText(lines.join(u'\n'));
  FDayHint->ensurePolished();  // its size as it will be drawn
  FDayHint->adjustSize();
  const QRect area = DayCellArea(cell);
  const QRect onScreen(mapToGlobal(area.topLeft()), area.size());
  const QScreen* shownOn = QGuiApplication::screenAt(onScreen.center());
  const QRect available = (shownOn != nullptr ? shownOn : screen())->availableGeometry();
  FDayHint->move(HintTopLeft(onScreen, FDayHint->size(), available));
  FDayHint->show();
  FHintCell = cell;
}

void TFRM_Date::HideDayHintOutside(QPoint globalPos) {
  if (FHintCell < 0 || DayCellArea(FHintCell).contains(mapFromGlobal(globalPos))) return;
  FDayHint->hide();
  FHintCell = -1;
}

const QWidget* TFRM_Date::ShownDayHint() const { return FDayHint->isVisible() ? FDayHint : nullptr; }

void TFRM_Date::StoreSelectedDate() { CurrentDate = DateOf(SelYear, SelMonth, SelDay); }

void TFRM_Date::FormShow() {
  const CivilDate current = CalendarDay(CurrentDate);
  SelYear = static_cast<std::uint16_t>(current.year);
  SelMonth = static_cast<std::uint16_t>(current.month);
  SelDay = static_cast<std::uint16_t>(current.day);
  UpDown1->setPosition(SelYear);
  UpDown2->setPosition(SelMonth);
  ShowMonth(CurrentDate);
}

void TFRM_Date::Label1Click() {
  UpDown1->show();
  UpDown2->hide();
}

void TFRM_Date::Label17Click() {
  UpDown2->show();
  UpDown1->hide();
}

void TFRM_Date::UpDown1Click() {
  SelYear = static_cast<std::uint16_t>(UpDown1->position());
  ShowMonth(ClampedDate(SelYear, SelMonth, SelDay));
}

void TFRM_Date::UpDown2Click() {
  SelMonth = static_cast<std::uint16_t>(UpDown2->position());
  ShowMonth(ClampedDate(SelYear, SelMonth, SelDay));
}

void TFRM_Date::StaticText1Click() {
  CurrentDate = TodayDate();
  FormShow();
}

void TFRM_Date::CnDayClick(const ClickLabel& label) {
  SelDay = static_cast<std::uint16_t>(label.tag());
  StoreSelectedDate();
  const int cell = CellOfDay(label.tag());
  if (cell < 0) return;
  MakeDayFocusable(cell);
  FocusSelectedDay();
}

void TFRM_Date::CHnDayClick(const ClickLabel& label) { CnDayClick(label); }

void TFRM_Date::CnDayMouseDown(const ClickLabel& label) { Shape2->move(label.x() - 1, label.y() + 1); }

void TFRM_Date::ChnDateMouseDown(const ClickLabel& label) { Shape2->move(label.x(), label.y() - 16); }

// Switching to another window ends the calendar. The instance stays, hidden,
// until the main window replaces it.
void TFRM_Date::FormDeactivate() { close(); }

// Only the selected day is in the Tab chain: Tab reaches the grid once, and
// the arrow keys move within it.
void TFRM_Date::MakeDayFocusable(int cell) {
  for (ClickLabel* day : DayCells) day->setFocusPolicy(Qt::NoFocus);
  DayCells.at(cell)->setFocusPolicy(Qt::StrongFocus);
}

void TFRM_Date::FocusSelectedDay() {
  for (ClickLabel* day : DayCells) {
    if (day->focusPolicy() != Qt::NoFocus && day->isVisibleTo(this)) day->setFocus(Qt::OtherFocusReason);
  }
}

bool TFRM_Date::MoveSelectionByKey(int key) {
  switch (key) {
    case Qt::Key_Left: MoveSelection(-1); return true;
    case Qt::Key_Right: MoveSelection(1); return true;
    case Qt::Key_Up: MoveSelection(-kDaysPerWeek); return true;
    case Qt::Key_Down: MoveSelection(kDaysPerWeek); return true;
    // The month arrows' own steps, their ends included.
    case Qt::Key_PageUp: UpDown2->downButton()->click(); return true;
    case Qt::Key_PageDown: UpDown2->upButton()->click(); return true;
    default: return false;
  }
}

// As a press on the day would select it, after the spinners have brought its
// month where it lies in another; the ends of the calendar's range stop it.
void TFRM_Date::MoveSelection(int days) {
  const auto to = DecodeDate(ClampedDate(SelYear, SelMonth, SelDay) + days);
  if (!to || to->year < kFirstLunarYear || to->year > kLastLunarYear) return;
  if (to->year != SelYear || to->month != SelMonth) ShowSpinnersMonth(to->year, to->month);
  const int cell = CellOfDay(to->day);
  if (cell < 0) return;  // the month could not be filled that far
  CnDayMouseDown(*DayCells[cell]);
  CnDayClick(*DayCells[cell]);
  ShowDayHint(cell);
}

int TFRM_Date::CellOfDay(int day) const {
  const auto cell = std::find_if(DayCells.begin(), DayCells.end(), [&](const ClickLabel* number) {
    return number->isVisibleTo(this) && number->tag() == day;
  });
  return cell == DayCells.end() ? -1 : static_cast<int>(cell - DayCells.begin());
}

void TFRM_Date::ShowSpinnersMonth(int year, int month) {
  UpDown1->setPosition(year);
  UpDown1Click();
  UpDown2->setPosition(month);
  UpDown2Click();
}

void TFRM_Date::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  RunGuarded([this] { FormShow(); });
  FocusSelectedDay();  // the keyboard starts on the selected day
}

void TFRM_Date::hideEvent(QHideEvent* event) {
  FDayHint->hide();
  FHintCell = -1;
  QDialog::hideEvent(event);
}

bool TFRM_Date::eventFilter(QObject* watched, QEvent* event) {
  // Only the grid's cells are watched; a cell is shown only while it holds a day.
  auto* label = static_cast<ClickLabel*>(watched);
  switch (event->type()) {
    case QEvent::ToolTip:
      if (label->isVisible()) RunGuarded([&] { ShowDayHint(CellOfDay(label->tag())); });
      return true;
    case QEvent::Leave: HideDayHintOutside(QCursor::pos()); break;
    case QEvent::KeyPress: {
      bool moved = false;
      RunGuarded([&] { moved = MoveSelectionByKey(static_cast<QKeyEvent*>(event)->key()); });
      if (moved) return true;
      break;
    }
    default: break;
  }
  return QDialog::eventFilter(watched, event);
}

void TFRM_Date::mouseMoveEvent(QMouseEvent* event) {
  HideDayHintOutside(event->globalPosition().toPoint());
  QDialog::mouseMoveEvent(event);
}

void TFRM_Date::leaveEvent(QEvent* event) {
  HideDayHintOutside(QCursor::pos());
  QDialog::leaveEvent(event);
}

void TFRM_Date::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (!isVisible()) return;
  // Minimised, it has lost activation too, whatever the window manager says.
  const bool lostActivation = (event->type() == QEvent::ActivationChange && !isActiveWindow()) ||
                              (event->type() == QEvent::WindowStateChange && isMinimized());
  if (lostActivation) RunGuarded([this] { FormDeactivate(); });
}

}  // namespace taliven
