#pragma once
// The question asked on every attempt to leave the program, with its offer
// to make the partner's web directory the browser's start page.

#include <QDialog>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QSvgWidget;

namespace taliven {

class BrowserLauncher;

class TFrmMsG : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmMsG(QWidget* parent = nullptr);

  // True once the user answered Yes and the start page, if offered, was saved.
  bool Confirmed() const { return FConfirmed; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormCreate();
  void Button1Click();
  void Button2Click();

  QSvgWidget* Image1;
  QLabel* Label1;
  QCheckBox* CheckBox1;
  QPushButton* Button1;
  QPushButton* Button2;

  bool FConfirmed = false;
};

// The question while it is on screen; null otherwise.
extern TFrmMsG* FrmMsG;

// Asks the question modally; true for Yes.
bool ConfirmExit();

// What both ways of leaving the program do: ask, and on Yes end the event
// loop (without closing any window, so nothing asks again) and open the
// vendor's home page. On No, raises SilentAbort to refuse the action quietly.
void LeaveAfterConfirmation(BrowserLauncher& browser);

}  // namespace taliven
