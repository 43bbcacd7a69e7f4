#include "crash_reporter.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <cstdio>

namespace taliven {
namespace {

constexpr auto kLogInterval = std::chrono::minutes(1);

const char kUnexpectedError[] = "程序遇到了一个意外的错误。";
const char kProgramGoesOn[] = "程序会继续运行。";

// The details button's captions as the desktop's own dialogs word them; the
// toolkit's translation says 显示详情.
class ReportTexts final : public QTranslator {
 public:
  using QTranslator::QTranslator;

  bool isEmpty() const override { return false; }

  QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                    int /*n*/) const override {
    if (qstrcmp(context, "QMessageBox") != 0) return {};
    if (qstrcmp(sourceText, "Show Details...") == 0) return QStringLiteral("显示详细信息…");
    if (qstrcmp(sourceText, "Hide Details...") == 0) return QStringLiteral("隐藏详细信息…");
    return {};
  }
};

ReportGate& Gate() {
  static ReportGate gate;
  return gate;
}

void ShowReport(const std::string& message, ErrorSource source) {
  const ReportGate::Verdict verdict = Gate().Admit(message, source, ReportGate::Clock::now());
  if (verdict.log) std::fputs(ReportLogLine(message, verdict.times).c_str(), stderr);
  if (!verdict.show) return;
  std::unique_ptr<QMessageBox> box = CreateReportBox(message, QApplication::activeWindow());
  if (source == ErrorSource::UserAction) {
    box->exec();
    Gate().Close();
    return;
  }
  // A tick's report must not hold up its timer: the handler returns while
  // the report stays on screen, as modal as ever, until the user closes it.
  box->setWindowModality(Qt::ApplicationModal);
  box->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(box.get(), &QDialog::finished, [] { Gate().Close(); });
  box.release()->show();
}

}  // namespace

ReportGate::Verdict ReportGate::Admit(const std::string& message, ErrorSource source, Clock::time_point now) {
  Verdict verdict;
  if (source == ErrorSource::UserAction) {
    verdict.show = !open_;
    verdict.log = true;
  } else {
    const bool first = !ticks_.contains(message);
    TickError& error = ticks_[message];
    ++error.unwritten;
    verdict.show = !error.shown && !open_;
    verdict.log = first || verdict.show || now - error.written >= kLogInterval;
    error.shown = error.shown || verdict.show;
    if (verdict.log) {
      verdict.times = error.unwritten;
      error.unwritten = 0;
      error.written = now;
    }
  }
  open_ = open_ || verdict.show;
  return verdict;
}

std::unique_ptr<QMessageBox> CreateReportBox(const std::string& message, QWidget* parent) {
  const ErrorText text = SplitErrorMessage(message);
  auto box = std::make_unique<QMessageBox>(
      QMessageBox::Critical, QStringLiteral("Taliven"),
      text.sentence.empty() ? QString::fromUtf8(kUnexpectedError) : QString::fromStdString(text.sentence),
      QMessageBox::Ok, parent);
  box->setInformativeText(QString::fromUtf8(kProgramGoesOn));
  box->setDetailedText(QString::fromStdString(text.details));
  box->button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  return box;
}

std::string ReportLogLine(const std::string& message, int times) {
  const ErrorText text = SplitErrorMessage(message);
  std::string line = "taliven: " + (text.sentence.empty() ? std::string(kUnexpectedError) : text.sentence) + " (";
  for (const char c : text.details) line += c == '\n' ? std::string("; ") : std::string(1, c);
  line += ")";
  if (times > 1) line += " [" + std::to_string(times) + " times since its last line]";
  return line + "\n";
}

void InstallCrashReporter() {
  QCoreApplication::installTranslator(new ReportTexts(qApp));
  SetErrorReporter(&ShowReport);
}

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
