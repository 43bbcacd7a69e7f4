#include "exit_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSvgWidget>
#include <memory>

#include "browser_launcher.h"
#include "buttons.h"
#include "endpoints.h"
#include "error_guard.h"
#include "fonts.h"
#include "gbk_codec.h"
#include "standard_frame.h"
#include "start_page_store.h"

namespace taliven {

TFrmMsG* FrmMsG = nullptr;

namespace {

QFrame* createPanel(QWidget* form) {
  auto* panel = new QFrame(form);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameStyle(QFrame::Box | QFrame::Sunken);  // a grooved line
  panel->setGeometry(form->rect());
  return panel;
}

QPushButton* createButton(QWidget* panel, const QString& name, const QString& caption, int x) {
  auto* button = new QPushButton(caption, panel);
  button->setObjectName(name);
  button->setGeometry(x, 69, 82, 25);
  // Neither answer is the dialog's default: Enter goes to the focused button.
  button->setAutoDefault(false);
  PressOnEnter(button);
  return button;
}

}  // namespace

TFrmMsG::TFrmMsG(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("FrmMsG"));
  setWindowTitle(QStringLiteral("退出系统"));
  setFont(PixelFont(QStringLiteral("宋体"), 12));
  setFixedSize(ClientSizeFor(QSize(244, 135)));
  MoveFrameTo(*this, QPoint(500, 303));

  QFrame* panel = createPanel(this);

  Image1 = new QSvgWidget(QStringLiteral(":/images/exit.svg"), panel);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(9, 9, 41, 44);
  Image1->setAccessibleName(QStringLiteral("退出系统"));

  Label1 = new QLabel(QStringLiteral("您是否确定要退出系统？"), panel);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->move(64, 21);
  Label1->adjustSize();

  CheckBox1 = new QCheckBox(QStringLiteral("设好站导航为首页"), panel);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->setGeometry(64, 44, 169, 17);
  CheckBox1->setChecked(true);

  Button1 = createButton(panel, QStringLiteral("Button1"), QStringLiteral("是(&Y)"), 40);
  Button2 = createButton(panel, QStringLiteral("Button2"), QStringLiteral("否(&N)"), 136);
  setTabOrder(Button1, Button2);
  setTabOrder(Button2, CheckBox1);
  Button1->setFocus();

  // The buttons close the window with their result even when their handler
  // fails, so a failed write still ends the question (as a No).
  connect(Button1, &QPushButton::clicked, this, Guard(this, &TFrmMsG::Button1Click));
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button2, &QPushButton::clicked, this, Guard(this, &TFrmMsG::Button2Click));
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

  // An unreadable start page is reported, and the offer stays as built.
  RunGuarded([this] { FormCreate(); });
}

void TFrmMsG::FormCreate() {
  if (Trim(ReadStartPage()) == PartnerStartPageUrl) {
    // Nothing to offer: the partner's directory already is the start page.
    CheckBox1->setChecked(false);
    CheckBox1->hide();
  }
}

void TFrmMsG::Button1Click() {
  if (CheckBox1->isChecked()) WriteStartPage(PartnerStartPageUrl);
  FConfirmed = true;
}

void TFrmMsG::Button2Click() { FConfirmed = false; }

void TFrmMsG::keyPressEvent(QKeyEvent* event) {
  // There is no cancel button: the user must answer.
  if (event->key() != Qt::Key_Escape) QDialog::keyPressEvent(event);
}

bool ConfirmExit() {
  const auto window = std::make_unique<TFrmMsG>();
  FrmMsG = window.get();
  window->exec();
  FrmMsG = nullptr;
  return window->Confirmed();
}

void LeaveAfterConfirmation(BrowserLauncher& browser) {
  if (!ConfirmExit()) throw SilentAbort();
  // exit() rather than quit(): quit() would first try to close every window,
  // and the main window's close would ask the question a second time.
  QCoreApplication::exit(0);
  browser.Open(FromGbk(VendorHomePageUrl));
}

}  // namespace taliven
