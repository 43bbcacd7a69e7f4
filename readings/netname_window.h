#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace taliven {

// The net-name reading: a name typed in, the trait its last letter picks.
class TFrmWangming : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmWangming(QWidget* parent = nullptr);
  ~TFrmWangming() override;

  QLineEdit* edtmun;
  QPushButton* RzBitBtn1;
  QPushButton* RzBitBtn2;
  QLabel* RzLabel11;  // the name
  QLabel* RzLabel8;   // the trait

  void RzBitBtn1Click();
  void RzBitBtn2Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Every way of closing a dialog ends here, Escape included, which never
  // sends a close event.
  void done(int result) override;

 private:
  void createResultGroup(QWidget* panel);
  void edtmunKeyPress(const QKeyEvent& key);
  void FormClose();
};

// The window while it exists; it clears this itself when it closes.
extern TFrmWangming* FrmWangming;

}  // namespace taliven
