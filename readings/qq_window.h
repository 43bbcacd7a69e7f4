#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace taliven {

// The QQ number reading: a number typed in, its entry of the numerology
// table shown as four lines.
class TFrmQQhm : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmQQhm(QWidget* parent = nullptr);
  ~TFrmQQhm() override;

  QLineEdit* edtmun;
  QPushButton* RzBitBtn1;
  QPushButton* RzBitBtn2;
  QLabel* RzLabel11;  // the number
  QLabel* RzLabel10;  // the verdict
  QLabel* RzLabel9;   // the luck class
  QLabel* RzLabel8;   // the personality details

  void RzBitBtn1Click();
  void RzBitBtn2Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Every way of closing a dialog ends here, Escape included, which never
  // sends a close event.
  void done(int result) override;

 private:
  void createResultGroup(QWidget* panel);
  // Returns true when the typed key is to be discarded.
  bool edtmunKeyPress(const QKeyEvent& key);
  void FormClose();
};

// The window while it exists; it clears this itself when it closes.
extern TFrmQQhm* FrmQQhm;

}  // namespace taliven
