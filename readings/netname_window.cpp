#include "netname_window.h"

#include <QGroupBox>
#include <QKeyEvent>

#include "error_guard.h"
#include "gbk_codec.h"
#include "info_message.h"
#include "letter_traits.h"
#include "reading_window_frame.h"
#include "standard_frame.h"

namespace taliven {

TFrmWangming* FrmWangming = nullptr;

TFrmWangming::TFrmWangming(QWidget* parent) : QDialog(parent, kReadingWindowFlags) {
  QWidget* panel = SetUpReadingWindow(this, QStringLiteral("网名与性格"), ClientSizeFor(QSize(395, 213)));
  const ReadingInput input = CreateReadingInput(panel, QStringLiteral("输入网名："), QPoint(16, 16));
  edtmun = input.edit;
  RzBitBtn1 = input.runButton;
  RzBitBtn2 = input.closeButton;
  edtmun->installEventFilter(this);
  createResultGroup(panel);

  connect(RzBitBtn1, &QPushButton::clicked, this, Guard(this, &TFrmWangming::RzBitBtn1Click));
  connect(RzBitBtn2, &QPushButton::clicked, this, Guard(this, &TFrmWangming::RzBitBtn2Click));
}

TFrmWangming::~TFrmWangming() {
  if (FrmWangming == this) FrmWangming = nullptr;
}

void TFrmWangming::createResultGroup(QWidget* panel) {
  auto* group = new QGroupBox(QStringLiteral("测算结果"), panel);
  group->setGeometry(4, 47, 381, 125);

  RzLabel11 = CreateValueLabel(group, QRect(40, 20, 321, 12));
  SetTextColour(RzLabel11, QColor(0, 128, 0));
  RzLabel8 = CreateValueLabel(group, QRect(40, 40, 329, 75), true);
  SetTextColour(RzLabel8, QColor(0, 0, 128));
}

bool TFrmWangming::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edtmun && event->type() == QEvent::KeyPress) {
    edtmunKeyPress(static_cast<const QKeyEvent&>(*event));
  }
  return QDialog::eventFilter(watched, event);
}

void TFrmWangming::edtmunKeyPress(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
    RunGuarded([this] { RzBitBtn1Click(); });
  }
}

void TFrmWangming::RzBitBtn1Click() {
  const GbkText name = Trim(ToGbk(edtmun->text()));
  if (name.empty()) {
    ShowInfoMessage(FromGbk(NetNamePrompt()));
    return;
  }
  const NetNameReading reading = ReadNetName(name);
  // The name as typed: a character GBK cannot hold reads as one without a
  // reading, but shows as itself.
  RzLabel11->setText(QStringLiteral("你的网名：") + TrimmedInput(edtmun->text()));
  RzLabel8->setText(FromGbk(reading.line2));
}

void TFrmWangming::RzBitBtn2Click() { close(); }

void TFrmWangming::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TFrmWangming::FormClose() {
  setAttribute(Qt::WA_DeleteOnClose);
  if (FrmWangming == this) FrmWangming = nullptr;
}

}  // namespace taliven
