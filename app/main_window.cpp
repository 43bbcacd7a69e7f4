#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <cstdio>

#include "buttons.h"
#include "calendar_window.h"
#include "click_label.h"
#include "endpoints.h"
#include "error_guard.h"
#include "exit_dialog.h"
#include "fonts.h"
#include "gbk_codec.h"
#include "gradient_panel.h"
#include "info_windows.h"
#include "netname_window.h"
#include "qq_window.h"
#include "standard_frame.h"
#include "svg_picture.h"
#include "web_pane.h"

namespace taliven {

TFrmmain* Frmmain = nullptr;

namespace {

constexpr QSize kClientSize = ClientSizeFor(QSize(800, 600));
constexpr int kWidth = kClientSize.width();
constexpr int kHeight = kClientSize.height();
constexpr int kTopStripHeight = 84;
constexpr int kButtonBarHeight = 36;
constexpr int kLinkColumnWidth = 176;
constexpr int kStatusBarHeight = 20;
constexpr int kLinkRowHeight = 20;
constexpr QRect kBannerPaneGeometry(-12, -16, 803, 107);

const QColor kLightBlue(0xCD, 0xEC, 0xFB);
const QColor kPaleBlue(0xCD, 0xE7, 0xFE);
const QColor kSkyBlue(0x87, 0xCE, 0xEB);
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kGreen(0x00, 0x80, 0x00);

// The pages behind the link labels: the vendor's programs on a download
// site, and partners' downloads.
constexpr char kCalendarProgramPage[] = "http://soft.download-site.example/soft/taliven-calendar.html";
constexpr char kNamingProgramPage[] = "http://soft.download-site.example/soft/taliven-naming.html";
constexpr char kDreamProgramPage[] = "http://soft.download-site.example/soft/taliven-dreams.html";
constexpr char kZodiacProgramPage[] = "http://soft.download-site.example/soft/taliven-zodiac.html";
constexpr char kNotesInstaller[] = "http://dl.deskpad-partner.example/setup/deskpad_setup.exe";
constexpr char kCleanerDownloadPage[] = "http://www.cleanup-partner.example/download.html";
constexpr char kViewerInstaller[] = "http://dl.picview-partner.example/setup/picview_setup.exe";
constexpr char kZipInstaller[] = "http://dl.zipmate-partner.example/setup/zipmate_setup.exe";

constexpr char kWelcomeLine[] = "欢迎使用Taliven！塔利文软件工作室  客服电话：010-62885173  QQ：800055173";

struct ButtonEntry {
  int x;
  const char* name;
  const char* caption;
  void (TFrmmain::*handler)();
};

constexpr ButtonEntry kButtons[] = {
    {109, "RzButton1", "QQ号码测算", &TFrmmain::RzButton1Click},
    {195, "RzButton4", "网名测算", &TFrmmain::RzButton4Click},
    {280, "RzButton6", "免费申请QQ", &TFrmmain::RzButton6Click},
    {366, "RzButton5", "查看日历", &TFrmmain::RzButton5Click},
    {451, "RzButton2", "客户服务", &TFrmmain::RzButton2Click},
    {537, "RzButton3", "关于系统", &TFrmmain::RzButton3Click},
    {622, "RzButton8", "联系主页", &TFrmmain::RzButton8Click},
    {708, "RzButton7", "关闭系统", &TFrmmain::RzButton7Click},
};

enum class LinkColour { Red, Navy, Green };

struct LinkEntry {
  int y;
  const char* name;
  LinkColour colour;
  const char* caption;
  void (TFrmmain::*handler)();
};

constexpr LinkEntry kLinks[] = {
    {17, "Label2", LinkColour::Red, "Taliven万年历[荐]", &TFrmmain::Label2Click},
    {39, "Label3", LinkColour::Red, "塔利文起名大师[荐]", &TFrmmain::Label3Click},
    {63, "Label4", LinkColour::Navy, "塔利文周公解梦", &TFrmmain::Label4Click},
    {87, "Label1", LinkColour::Navy, "塔利文生肖配对", &TFrmmain::Label1Click},
    {111, "Label5", LinkColour::Navy, "星座运势速查", &TFrmmain::Label3Click},
    {135, "Label6", LinkColour::Navy, "姓名笔画测算", &TFrmmain::Label3Click},
    {159, "Label7", LinkColour::Navy, "黄道吉日查询", &TFrmmain::Label3Click},
    {183, "Label8", LinkColour::Navy, "手机号码吉凶", &TFrmmain::Label3Click},
    {207, "Label9", LinkColour::Navy, "车牌号码测算", &TFrmmain::Label3Click},
    {231, "Label10", LinkColour::Navy, "血型性格分析", &TFrmmain::Label3Click},
    {255, "Label12", LinkColour::Navy, "八字五行查询", &TFrmmain::Label3Click},
    {279, "Label13", LinkColour::Navy, "电话号码测吉", &TFrmmain::Label3Click},
    {303, "Label14", LinkColour::Navy, "生日密码解读", &TFrmmain::Label3Click},
    {325, "Label11", LinkColour::Green, "桌面便签(推荐)", &TFrmmain::Label11Click},
    {349, "Label15", LinkColour::Green, "系统清理(推荐)", &TFrmmain::Label15Click},
    {373, "Label16", LinkColour::Green, "看图助手(推荐)", &TFrmmain::Label16Click},
    {397, "Label17", LinkColour::Green, "压缩工具(推荐)", &TFrmmain::Label17Click},
};

QColor ColourOf(LinkColour colour) {
  switch (colour) {
    case LinkColour::Red: return kRed;
    case LinkColour::Green: return kGreen;
    case LinkColour::Navy: break;
  }
  return kNavy;
}

QString ButtonStyle() {
  return QStringLiteral(
      "QPushButton { background: #F4F4F0; color: #000080; border: 1px solid #3A9A3A; }"
      "QPushButton:hover { background: #FFFBE6; border-color: #1E7B1E; }"
      "QPushButton:pressed { background: #E4E4DC; }");
}

// Frees the window the reference holds, creates a fresh one and shows it
// modally. Windows that free themselves on close clear the reference.
template <class Window>
void OpenModal(Window*& reference) {
  delete reference;
  reference = nullptr;
  reference = new Window();
  reference->exec();
}

}  // namespace

MainWindowServices MainWindowServices::Desktop() {
  MainWindowServices services;
  services.browser = std::make_unique<DesktopBrowserLauncher>();
  services.scheduleHttp = std::make_unique<CurlHttpClient>();
  services.flagsHttp = std::make_unique<CurlHttpClient>();
  services.createPane = [](QWidget* parent) -> WebPane* { return new WebEnginePane(parent); };
  services.serverUrl = VendorServerUrl;
  return services;
}

TFrmmain::TFrmmain(MainWindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      services_(std::move(services)) {
  setObjectName(QStringLiteral("Frmmain"));
  setWindowTitle(QStringLiteral("Taliven"));
  setWindowIcon(QIcon(QStringLiteral(":/images/taliven.svg")));
  setFont(PixelFont(QStringLiteral("宋体"), 12));
  setFixedSize(kWidth, kHeight);

  createTopStrip();
  auto* body = new QWidget(this);  // RzPanel3: everything between banner and status bar
  body->setObjectName(QStringLiteral("RzPanel3"));
  body->setGeometry(0, kTopStripHeight, kWidth, kHeight - kTopStripHeight - kStatusBarHeight);
  createButtonBar(body);
  createLinkColumn(body);
  createCentre(body);
  createStatusBar();

  // Both timers run from creation on; their first tick comes once the event
  // loop runs, after the fetches below.
  Timer1 = new QTimer(this);
  Timer2 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer2->setObjectName(QStringLiteral("Timer2"));
  connect(Timer1, &QTimer::timeout, this, Guard(this, &TFrmmain::Timer1Timer, ErrorSource::TimerTick));
  connect(Timer2, &QTimer::timeout, this, Guard(this, &TFrmmain::Timer2Timer, ErrorSource::TimerTick));
  Timer1->start(1000);
  Timer2->start(1000);
  RunGuarded([this] { FormCreate(); });
  RunGuarded([this] { PrepareShownPanes(); });

  CentreOnScreen(*this);
}

TFrmmain::~TFrmmain() {
  if (Frmmain == this) Frmmain = nullptr;
}

QWidget* TFrmmain::createTopStrip() {
  auto* panel = new QFrame(this);  // RzPanel1
  panel->setObjectName(QStringLiteral("RzPanel1"));
  panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  panel->setGeometry(0, 0, kWidth, kTopStripHeight);

  Image1 = new SvgPicture(QStringLiteral(":/images/banner.svg"), panel);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(panel->rect());
  Image1->setCursor(Qt::PointingHandCursor);
  Image1->setAccessibleName(QStringLiteral("Taliven 横幅"));
  connect(Image1, &ClickLabel::clicked, this, Guard(this, &TFrmmain::Label3Click));

  // The banner pane overhangs the strip on every side and hides the picture.
  EmbeddedWB2 = services_.createPane(panel);
  EmbeddedWB2->setObjectName(QStringLiteral("EmbeddedWB2"));
  EmbeddedWB2->setAccessibleName(QStringLiteral("横幅网页"));
  EmbeddedWB2->setGeometry(kBannerPaneGeometry);
  return panel;
}

QWidget* TFrmmain::createButtonBar(QWidget* parent) {
  auto* bar = new GradientPanel(kLightBlue, kPaleBlue, GradientPanel::Direction::Diagonal, parent);
  bar->setObjectName(QStringLiteral("RzPanel6"));
  bar->setGeometry(0, 0, parent->width(), kButtonBarHeight);

  auto* background = new SvgPicture(QStringLiteral(":/images/button_bar.svg"), bar);
  background->setObjectName(QStringLiteral("Image16"));
  background->setAccessibleName(QStringLiteral("按钮栏背景"));
  background->setGeometry(bar->rect().adjusted(1, 1, -1, -1));

  const QFont font = PixelFont(QStringLiteral("宋体"), 12, true);
  for (const ButtonEntry& entry : kButtons) {
    auto* button = new QPushButton(QString::fromUtf8(entry.caption), bar);
    button->setObjectName(QString::fromLatin1(entry.name));
    button->setGeometry(entry.x, 8, 80, 20);
    button->setFont(font);
    button->setStyleSheet(ButtonStyle());
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoDefault(false);
    PressOnEnter(button);
    // Two of them are links, which a double click opens once.
    ClickOnceOnDoubleClick(button);
    connect(button, &QPushButton::clicked, this, Guard(this, entry.handler));
  }
  return bar;
}

QWidget* TFrmmain::createLinkColumn(QWidget* parent) {
  auto* column = new GradientPanel(kLightBlue, kSkyBlue, GradientPanel::Direction::Vertical, parent);
  column->setObjectName(QStringLiteral("RzPanel2"));
  column->setGeometry(0, kButtonBarHeight, kLinkColumnWidth, parent->height() - kButtonBarHeight);

  auto* top = new SvgPicture(QStringLiteral(":/images/link_column_top.svg"), column);
  top->setObjectName(QStringLiteral("Image21"));
  top->setAccessibleName(QStringLiteral("推荐栏背景"));
  top->setGeometry(4, 2, 168, 418);
  auto* bottom = new SvgPicture(QStringLiteral(":/images/link_column_bottom.svg"), column);
  bottom->setObjectName(QStringLiteral("Image2"));
  bottom->setAccessibleName(QStringLiteral("推荐栏背景"));
  bottom->setGeometry(4, 2 + 418, 168, 418);

  const QFont font = PixelFont(QStringLiteral("宋体"), 14, true);
  for (const LinkEntry& entry : kLinks) {
    auto* label = new ClickLabel(QString::fromUtf8(entry.caption), column);
    label->setObjectName(QString::fromLatin1(entry.name));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ColourOf(entry.colour));
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setCursor(Qt::PointingHandCursor);
    // A row of the column rather than the text's own extent: measuring the
    // text would load the CJK face before the window first maps.
    label->setGeometry(13, entry.y, kLinkColumnWidth - 13 - 4, kLinkRowHeight);
    label->makeKeyboardReachable(QAccessible::Link);
    connect(label, &ClickLabel::clicked, this, Guard(this, entry.handler));
  }
  return column;
}

QWidget* TFrmmain::createCentre(QWidget* parent) {
  auto* centre = new GradientPanel(kLightBlue, kPaleBlue, GradientPanel::Direction::Diagonal, parent);
  centre->setObjectName(QStringLiteral("RzPanel4"));
  centre->setGeometry(kLinkColumnWidth, kButtonBarHeight, parent->width() - kLinkColumnWidth,
                      parent->height() - kButtonBarHeight);

  Image15 = new SvgPicture(QStringLiteral(":/images/centre.svg"), centre);
  Image15->setObjectName(QStringLiteral("Image15"));
  Image15->setAccessibleName(QStringLiteral("欢迎使用 Taliven"));
  Image15->setGeometry(centre->rect().adjusted(2, 2, -2, -2));

  EmbeddedWB1 = services_.createPane(centre);
  EmbeddedWB1->setObjectName(QStringLiteral("EmbeddedWB1"));
  EmbeddedWB1->setAccessibleName(QStringLiteral("推荐网页"));
  EmbeddedWB1->setGeometry(Image15->geometry());
  return centre;
}

QWidget* TFrmmain::createStatusBar() {
  auto* bar = new QFrame(this);
  bar->setObjectName(QStringLiteral("RzStatusBar1"));
  bar->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bar->setGeometry(0, kHeight - kStatusBarHeight, kWidth, kStatusBarHeight);
  bar->setAutoFillBackground(true);
  QPalette background = bar->palette();
  background.setColor(QPalette::Window, QColor(0xE3, 0xE4, 0xE4));
  bar->setPalette(background);

  auto* pane = new QLabel(QString::fromUtf8(kWelcomeLine), bar);
  pane->setObjectName(QStringLiteral("RzStatusPane1"));
  pane->setGeometry(2, 2, 463, kStatusBarHeight - 4);
  pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  QPalette text = pane->palette();
  text.setColor(QPalette::WindowText, kNavy);
  pane->setPalette(text);
  return bar;
}

void TFrmmain::FormCreate() {
  const RemoteContent content = FetchRemoteContent(*services_.scheduleHttp, *services_.flagsHttp, services_.serverUrl);
  Memo1 = Schedule(content.schedule);
  serverReach_ = HostReach(content.serverAddress);
  FCentreOn = content.centreOn;
  FBannerOn = content.bannerOn;
  FBannerIndex = 0;
  FCentreIndex = 0;
  FLastLine = Memo1.LineCount() - 1;
  if (FLastLine < 0) {
    HidePane(EmbeddedWB2, kBannerPane);
    HidePane(EmbeddedWB1, kCentrePane);
  }
  if (FCentreOn == 0) HidePane(EmbeddedWB1, kCentrePane);
  if (FBannerOn == 0) HidePane(EmbeddedWB2, kBannerPane);
}

void TFrmmain::HidePane(WebPane* pane, const ContentPane& row) {
  pane->setVisible(false);
  pane->move(pane->x(), row.hiddenTop);
}

// Runs before the window is first shown, when the fetches have decided
// which panes stay: a pane that will show pages readies the window for them
// now, so that the first page does not make the window anew on screen.
void TFrmmain::PrepareShownPanes() {
  for (WebPane* pane : {EmbeddedWB1, EmbeddedWB2}) {
    if (!pane->isHidden()) pane->PrepareWindow();
  }
}

void TFrmmain::Timer1Timer() { TickPane(kBannerPane, EmbeddedWB2, Timer1, FBannerIndex, FBannerOn); }

void TFrmmain::Timer2Timer() { TickPane(kCentrePane, EmbeddedWB1, Timer2, FCentreIndex, FCentreOn); }

// A line that names no web page, or one on an address more private than the
// vendor server's own (this machine, the user's network), is passed over, as
// a line of neither pane is: the user could do nothing about the vendor's
// line, so it is written to standard error, once, rather than reported.
bool TFrmmain::CanShowLine(int line, const GbkText& url) {
  if (refusedLines_.contains(line)) return false;
  const QUrl page = WebPageUrl(FromGbk(url));
  const char* why = nullptr;
  if (page.isEmpty()) {
    why = "names no http or https page";
  } else if (HostReach(page.host(QUrl::FullyEncoded).toStdString()) > serverReach_) {
    why = "names an address more private than the server's own";
  } else {
    return true;
  }
  refusedLines_.insert(line);
  std::fprintf(stderr, "taliven: schedule line %d %s, and is skipped: %s\n", line + 1, why,
               QuotedForReport(url).c_str());
  return false;
}

// The page is requested before its seconds are read: a bad seconds field
// leaves the index on its line, so the next tick tries it again.
void TFrmmain::TickPane(const ContentPane& row, WebPane* pane, QTimer* timer, int& index, int switchValue) {
  const std::optional<TickStep> step = DecideTick(
      Memo1, row, index, switchValue, [this](int line, const GbkText& url) { return CanShowLine(line, url); });
  if (!step) {
    // The pane keeps its page; should that page have died, it shows it anew.
    if (switchValue != 0) pane->RetryIfGone();
    return;
  }
  index = step->line;
  pane->Navigate(WebPageUrl(FromGbk(step->url)));
  const int intervalMs = DisplayIntervalMs(step->seconds);
  if (intervalMs > 0) {
    timer->start(intervalMs);
  } else {
    timer->stop();  // an interval of 0 would mean "as fast as possible"
  }
  index = step->line + 1;
}

void TFrmmain::OpenPage(const char* url) { services_.browser->Open(QString::fromUtf8(url)); }

void TFrmmain::RzButton1Click() { OpenModal(FrmQQhm); }
void TFrmmain::RzButton4Click() { OpenModal(FrmWangming); }
void TFrmmain::RzButton5Click() { OpenModal(FRM_Date); }
void TFrmmain::RzButton2Click() { OpenModal(Frm_servers); }
void TFrmmain::RzButton3Click() { OpenModal(About); }
void TFrmmain::RzButton6Click() { OpenPage(QqSignUpPageUrl); }
void TFrmmain::RzButton8Click() { OpenPage(VendorHomePageUrl); }
void TFrmmain::RzButton7Click() { LeaveAfterConfirmation(*services_.browser); }

void TFrmmain::FormCloseQuery(bool&) { LeaveAfterConfirmation(*services_.browser); }

void TFrmmain::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  const bool answered = RunGuarded([&] { FormCloseQuery(canClose); });
  if (!answered || !canClose) event->ignore();
}

void TFrmmain::Label1Click() { OpenPage(kZodiacProgramPage); }
void TFrmmain::Label2Click() { OpenPage(kCalendarProgramPage); }
void TFrmmain::Label3Click() { OpenPage(kNamingProgramPage); }
void TFrmmain::Label4Click() { OpenPage(kDreamProgramPage); }
void TFrmmain::Label11Click() { OpenPage(kNotesInstaller); }
void TFrmmain::Label15Click() { OpenPage(kCleanerDownloadPage); }
void TFrmmain::Label16Click() { OpenPage(kViewerInstaller); }
void TFrmmain::Label17Click() { OpenPage(kZipInstaller); }

}  // namespace taliven
