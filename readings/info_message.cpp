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
  QMessageBox box(QMessageBox::Information, QStringLiteral("提示"), text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  box.exec();
}

InfoMessageHandler SetInfoMessageHandler(InfoMessageHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

}  // namespace taliven
