#include "crash_reporter.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QStringDecoder>
#include <cstdio>

#include "error_guard.h"
#include "gbk_codec.h"

namespace taliven {

bool ReportGate::Open(const QString& message) {
  if (open_ || shown_.contains(message)) return false;
  shown_.insert(message);
  open_ = true;
  return true;
}

QString DecodeReportMessage(const std::string& message) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8.decode(QByteArrayView(message.data(), static_cast<qsizetype>(message.size())));
  return utf8.hasError() ? FromGbk(message) : text;
}

namespace {

void ShowReport(const std::string& raw) {
  static ReportGate gate;
  const QString message = DecodeReportMessage(raw);
  std::fprintf(stderr, "taliven: %s\n", message.toLocal8Bit().constData());
  if (!gate.Open(message)) return;

  QMessageBox box(QMessageBox::Critical, QStringLiteral("Taliven"),
                  QStringLiteral("程序遇到一个错误，已取消当前操作：\n\n%1").arg(message), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  box.exec();
  gate.Close();
}

}  // namespace

void InstallCrashReporter() { SetErrorReporter(&ShowReport); }

TalivenApplication::TalivenApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TalivenApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ReportCurrentException();
    return false;
  }
}

}  // namespace taliven
