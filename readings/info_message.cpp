#include "info_message.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

namespace taliven {
namespace {

InfoMessageHandler& Handler() {
  static InfoMessageHandler handler;
  return handler;
}

}  // namespace

void ShowInfoMessage(const QString& text) {
  if (Handler()) {
    Handler()(text);
    return;
  }
  CreateInfoMessageBox(text, QApplication::activeWindow())->exec();
}

std::unique_ptr<QMessageBox> CreateInfoMessageBox(const QString& text, QWidget* parent) {
  auto box =
      std::make_unique<QMessageBox>(QMessageBox::Information, QStringLiteral("提示"), text, QMessageBox::Ok, parent);
  box->button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  return box;
}

InfoMessageHandler SetInfoMessageHandler(InfoMessageHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

}  // namespace taliven
