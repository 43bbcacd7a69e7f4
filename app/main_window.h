#pragma once
// The main window: the button bar that opens every feature, the column of
// promotional links, the two remote content panes and the status line.

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "address_reach.h"
#include "browser_launcher.h"
#include "content_schedule.h"
#include "http_client.h"

class QLabel;
class QPushButton;

namespace taliven {

class ClickLabel;
class SvgPicture;
class WebPane;

// The platform boundaries the main window works through, so that tests can
// hand it recording doubles.
struct MainWindowServices {
  std::unique_ptr<BrowserLauncher> browser;
  std::unique_ptr<HttpClient> scheduleHttp;  // IdHTTP1
  std::unique_ptr<HttpClient> flagsHttp;     // IdHTTP2
  std::function<WebPane*(QWidget* parent)> createPane;
  std::string serverUrl;

  // The real ones: the desktop's browser, libcurl, web engine panes and
  // the vendor's server.
  static MainWindowServices Desktop();
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

  // Fetches the schedule and the switches and hides what has nothing to show.
  void FormCreate();
  // Step the banner pane and the centre pane through their pages.
  void Timer1Timer();
  void Timer2Timer();

  // The remote content state, fixed by FormCreate but for the indexes.
  int FBannerIndex = 0;
  int FCentreIndex = 0;
  int FLastLine = -1;
  int FCentreOn = 0;
  int FBannerOn = 0;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* createTopStrip();
  QWidget* createButtonBar(QWidget* parent);
  QWidget* createLinkColumn(QWidget* parent);
  QWidget* createCentre(QWidget* parent);
  QWidget* createStatusBar();
  void OpenPage(const char* url);
  void HidePane(WebPane* pane, const ContentPane& row);
  void PrepareShownPanes();
  void TickPane(const ContentPane& row, WebPane* pane, QTimer* timer, int& index, int switchValue);
  bool CanShowLine(int line, const GbkText& url);

  MainWindowServices services_;
  Schedule Memo1;                  // the schedule text, read line by line
  WebPane* EmbeddedWB1 = nullptr;  // centre pane
  WebPane* EmbeddedWB2 = nullptr;  // banner pane
  SvgPicture* Image1 = nullptr;
  SvgPicture* Image15 = nullptr;
  QTimer* Timer1 = nullptr;
  QTimer* Timer2 = nullptr;
  std::set<int> refusedLines_;  // schedule lines naming no page a pane may show, told once
  // The schedule names no page more private than the server it came from.
  AddressReach serverReach_ = AddressReach::kPublic;
};

extern TFrmmain* Frmmain;

}  // namespace taliven
