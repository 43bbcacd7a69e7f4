#include "info_windows.h"

#include <QLabel>
#include <QPainter>

#include "browser_launcher.h"
#include "click_label.h"
#include "fonts.h"
#include "standard_frame.h"
#include "svg_picture.h"

namespace taliven {

TAbout* About = nullptr;
TFrm_servers* Frm_servers = nullptr;

namespace {

constexpr Qt::WindowFlags kSystemMenuOnly =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

const QColor kNavy(0x00, 0x00, 0x80);

// A panel with a rounded flat border, drawn rather than styled: a style sheet
// would keep the window's font from the panel's children.
class RoundedPanel final : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x9D, 0xB9, 0xD8));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
  }
};

QLabel* AddLabel(QWidget* parent, const QString& text, int x, int y, const QFont& font, QColor colour = Qt::black) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  label->adjustSize();
  label->move(x, y);
  return label;
}

// An e-mail address drawn as a link, which the mouse and the keyboard open
// as the links of the main window are opened, for the desktop's mail program.
void AddMailLink(QWidget* parent, const QString& address, QPoint pos, const QFont& font) {
  auto* link = new ClickLabel(QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(address), parent);
  link->setObjectName(QStringLiteral("MailLink"));
  link->setTextFormat(Qt::RichText);
  link->setTextInteractionFlags(Qt::NoTextInteraction);  // the label's own clicks, not the text's
  link->makeKeyboardReachable(QAccessible::Link);
  link->setFont(font);
  link->setCursor(Qt::PointingHandCursor);
  link->setAccessibleName(address);
  link->adjustSize();
  link->move(pos);
  QObject::connect(link, &ClickLabel::clicked, link,
                   [address] { DesktopBrowserLauncher().Open(QStringLiteral("mailto:") + address); });
}

}  // namespace

TAbout::TAbout(QWidget* parent) : QDialog(parent, kSystemMenuOnly) {
  setObjectName(QStringLiteral("About"));
  setWindowTitle(QStringLiteral("关于系统"));
  setFont(PixelFont(QStringLiteral("宋体"), 12));
  setFixedSize(321, 149);
  CentreOnScreen(*this);

  auto* picture = new SvgPicture(QStringLiteral(":/images/about.svg"), this);
  picture->setGeometry(0, 0, 153, 149);
  picture->setAccessibleName(QStringLiteral("Taliven 标志"));

  const QFont text = PixelFont(QStringLiteral("宋体"), 12);
  AddLabel(this, QStringLiteral("塔利文软件工作室"), 166, 18, PixelFont(QStringLiteral("楷体_GB2312"), 16, true),
           Qt::red)
      ->setObjectName(QStringLiteral("Vendor"));
  AddLabel(this, QStringLiteral("联 系 人：林晓峰"), 166, 50, text);
  AddLabel(this, QStringLiteral("联系 QQ：800055173"), 166, 72, text);
  AddLabel(this, QStringLiteral("联系电话：010-6288 5173"), 166, 94, text);
  AddMailLink(this, QStringLiteral("support@taliven.example"), QPoint(166, 116), text);
}

TFrm_servers::TFrm_servers(QWidget* parent) : QDialog(parent, kSystemMenuOnly) {
  setObjectName(QStringLiteral("Frm_servers"));
  setWindowTitle(QStringLiteral("客户服务"));
  setFont(PixelFont(QStringLiteral("宋体"), 12));
  setFixedSize(ClientSizeFor(QSize(428, 307)));
  CentreOnScreen(*this);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);

  auto* panel = new RoundedPanel(this);
  panel->setGeometry(rect().adjusted(8, 8, -8, -8));

  createRow(panel, 8, QStringLiteral(":/images/service_business.svg"), QStringLiteral("市场合作:"),
            QStringLiteral("欢迎网站、软件厂商与我们洽谈广告投放、软件捆绑与联合推广等商务合作，期待与您携手共赢。"));
  createRow(panel, 70, QStringLiteral(":/images/service_phone.svg"), QStringLiteral("服务电话：010-6288 5173"),
            QStringLiteral("使用中遇到任何问题，或对我们的软件有好的建议，欢迎在工作日白天致电。"));
  createRow(panel, 132, QStringLiteral(":/images/service_qq.svg"), QStringLiteral("在线客服QQ：800055173"),
            QStringLiteral("客服人员在线为您解答使用中的疑问，当天的问题当天答复。"));
  createRow(panel, 194, QStringLiteral(":/images/service_mail.svg"),
            QStringLiteral("技术支持邮箱：support@taliven.example"),
            QStringLiteral("需要详细描述问题或附上截图时，欢迎来信，我们会尽快回复。"));
}

void TFrm_servers::createRow(QWidget* panel, int top, const QString& icon, const QString& heading,
                             const QString& text) {
  auto* picture = new SvgPicture(icon, panel);
  picture->setGeometry(12, top, 41, 41);
  picture->setAccessibleName(heading);

  AddLabel(panel, heading, 66, top, PixelFont(QStringLiteral("宋体"), 12, true), kNavy);
  auto* sentence = new QLabel(text, panel);
  sentence->setWordWrap(true);
  sentence->setGeometry(66, top + 18, 324, 40);
  sentence->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

}  // namespace taliven
