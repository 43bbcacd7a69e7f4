#pragma once
// The main window: the button bar that opens every feature, the column of
// promotional links, the two remote content panes and the status line.

#include <QTimer>
#include <QWidget>
#include <memory>

#include "browser_launcher.h"

class QLabel;
class QPushButton;

namespace taliven {

class ClickLabel;
class SvgPicture;

// The platform boundaries the main window works through, so that tests can
// hand it recording doubles.
struct MainWindowServices {
  std::unique_ptr<BrowserLauncher> browser;
};

class TFrmmain : public QWidget {
  Q_OBJECT
 public:
  explicit TFrmmain(MainWindowServices services, QWidget* parent = nullptr);
  ~TFrmmain() override;

  // Button bar.
  void RzButton1Click();
  void RzButton2Click();
  void RzButton3Click();
  void RzButton4Click();
  void RzButton5Click();
  void RzButton6Click();
  void RzButton7Click();
  void RzButton8Click();

  // Link labels (Label3Click also serves nine more labels and the banner).
  void Label1Click();
  void Label2Click();
  void Label3Click();
  void Label4Click();
  void Label11Click();
  void Label15Click();
  void Label16Click();
  void Label17Click();

  // Every request to close the window asks first; a refusal throws the
  // silent abort. `CanClose` is left as it came.
  void FormCloseQuery(bool& CanClose);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* createTopStrip();
  QWidget* createButtonBar(QWidget* parent);
  QWidget* createLinkColumn(QWidget* parent);
  QWidget* createCentre(QWidget* parent);
  QWidget* createStatusBar();
  void OpenPage(const char* url);

  MainWindowServices services_;
  SvgPicture* Image1 = nullptr;
  SvgPicture* Image15 = nullptr;
  QTimer* Timer1 = nullptr;
  QTimer* Timer2 = nullptr;
};

extern TFrmmain* Frmmain;

}  // namespace taliven
