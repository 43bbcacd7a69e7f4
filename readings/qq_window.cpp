#include "qq_window.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <algorithm>

#include "error_guard.h"
#include "fonts.h"
#include "gbk_codec.h"
#include "info_message.h"
#include "numerology.h"
#include "reading_window_frame.h"

namespace taliven {

TFrmQQhm* FrmQQhm = nullptr;

TFrmQQhm::TFrmQQhm(QWidget* parent) : QDialog(parent, kReadingWindowFlags) {
  QWidget* panel = SetUpReadingWindow(this, QStringLiteral("QQ号码测试"), QSize(388, 270));
  const ReadingInput input = CreateReadingInput(panel, QStringLiteral("QQ号码："), QPoint(16, 17));
  edtmun = input.edit;
  RzBitBtn1 = input.runButton;
  RzBitBtn2 = input.closeButton;
  // Committed input-method text would bypass the key filter; with the input
  // method off, every character arrives as a key press and is filtered.
  edtmun->setAttribute(Qt::WA_InputMethodEnabled, false);
  edtmun->installEventFilter(this);
  createResultGroup(panel);

  connect(RzBitBtn1, &QPushButton::clicked, this, Guard(this, &TFrmQQhm::RzBitBtn1Click));
  connect(RzBitBtn2, &QPushButton::clicked, this, Guard(this, &TFrmQQhm::RzBitBtn2Click));
}

TFrmQQhm::~TFrmQQhm() {
  if (FrmQQhm == this) FrmQQhm = nullptr;
}

void TFrmQQhm::createResultGroup(QWidget* panel) {
  auto* group = new QGroupBox(QStringLiteral("测算结果"), panel);
  group->setGeometry(4, 56, 381, 209);

  CreateCaptionLabel(group, QStringLiteral("qq号码是："), QPoint(19, 20));
  RzLabel11 = CreateValueLabel(group, QRect(80, 20, 202, 12));
  CreateCaptionLabel(group, QStringLiteral("状态："), QPoint(43, 44));
  RzLabel10 = CreateValueLabel(group, QRect(80, 44, 290, 12));
  CreateCaptionLabel(group, QStringLiteral("吉凶："), QPoint(43, 69));
  RzLabel9 = CreateValueLabel(group, QRect(80, 69, 98, 13));
  RzLabel9->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
  SetTextColour(RzLabel9, Qt::red);
  CreateCaptionLabel(group, QStringLiteral("具体表现："), QPoint(19, 93));
  RzLabel8 = CreateValueLabel(group, QRect(80, 94, 290, 97), true);
}

bool TFrmQQhm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edtmun && event->type() == QEvent::KeyPress) {
    return edtmunKeyPress(static_cast<const QKeyEvent&>(*event));
  }
  return QDialog::eventFilter(watched, event);
}

bool TFrmQQhm::edtmunKeyPress(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
    RunGuarded([this] { RzBitBtn1Click(); });
    return false;
  }
  // Only keys that would insert printable text are characters to filter;
  // Backspace, Delete, cursor keys and shortcuts such as paste go through.
  const QString typed = key.text();
  if (typed.isEmpty() || !typed.front().isPrint()) return false;
  return !std::all_of(typed.begin(), typed.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

void TFrmQQhm::RzBitBtn1Click() {
  const GbkText number = Trim(ToGbk(edtmun->text()));
  if (number.empty()) {
    ShowInfoMessage(FromGbk(QqNumberPrompt));
    return;
  }
  // Computed in full before any label changes, so a rejected number leaves
  // the previous reading on display.
  NumberReadingLines lines;
  try {
    lines = ReadNumber(number);
  } catch (const IntegerConversionError& error) {
    // The report quotes the number as the user sees it, which GBK may not hold.
    throw IntegerConversionError(error.text(), TrimmedInput(edtmun->text()).toStdString());
  }
  RzLabel11->setText(FromGbk(lines.number));
  RzLabel10->setText(FromGbk(lines.verdict));
  RzLabel9->setText(FromGbk(lines.luck));
  RzLabel8->setText(FromGbk(lines.details));
}

void TFrmQQhm::RzBitBtn2Click() { close(); }

void TFrmQQhm::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TFrmQQhm::FormClose() {
  setAttribute(Qt::WA_DeleteOnClose);
  if (FrmQQhm == this) FrmQQhm = nullptr;
}

}  // namespace taliven
