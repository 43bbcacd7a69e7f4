#include "reading_window_frame.h"

#include <QEvent>
#include <QGroupBox>
#include <QPalette>
#include <QValidator>
#include <algorithm>

#include "buttons.h"
#include "edit_box_rules.h"
#include "fonts.h"
#include "input_method.h"
#include "standard_frame.h"

namespace taliven {
namespace {

const QColor kPanelColour(205, 237, 252);

// Runs on typed and pasted text alike, so the box never holds small letters.
// The terminal companion applies the same rules to what it is given.
class CapitalsValidator : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int& /*pos*/) const override {
    input = QString::fromStdU16String(ApplyEditBoxRules(input.toStdU16String()));
    return Acceptable;
  }
};

class InputMethodRequester : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) {
      RequestInputMethod(static_cast<QWidget*>(watched), kChineseInputMethod);
    }
    return false;
  }
};

QPushButton* CreateButton(QWidget* parent, const QString& caption, const QRect& geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  PressOnEnter(button);
  return button;
}

}  // namespace

QWidget* SetUpReadingWindow(QDialog* window, const QString& caption, QSize clientSize) {
  window->setWindowTitle(caption);
  window->setFont(PixelFont(QStringLiteral("宋体"), 12));
  window->setFixedSize(clientSize);
  CentreOnScreen(*window);

  auto* panel = new QWidget(window);
  panel->setGeometry(QRect(QPoint(0, 0), clientSize));
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, kPanelColour);
  panel->setPalette(palette);
  panel->setAutoFillBackground(true);
  return panel;
}

ReadingInput CreateReadingInput(QWidget* panel, const QString& caption, QPoint captionPos) {
  auto* group = new QGroupBox(panel);
  group->setGeometry(4, 0, 381, 41);
  CreateCaptionLabel(group, caption, captionPos);

  auto* edit = new QLineEdit(group);
  edit->setGeometry(81, 12, 144, 20);
  edit->setMaxLength(static_cast<int>(kEditBoxMaxLength));
  edit->setValidator(new CapitalsValidator(edit));
  edit->installEventFilter(new InputMethodRequester(edit));
  edit->setFocus();

  return {edit, CreateButton(group, QStringLiteral("测算"), QRect(246, 11, 60, 23)),
          CreateButton(group, QStringLiteral("关闭"), QRect(305, 11, 60, 23))};
}

QLabel* CreateCaptionLabel(QWidget* parent, const QString& text, QPoint pos) {
  auto* label = new QLabel(text, parent);
  label->move(pos);
  label->adjustSize();
  return label;
}

QLabel* CreateValueLabel(QWidget* parent, const QRect& geometry, bool wrap) {
  auto* label = new QLabel(parent);
  // The installed CJK fonts have a taller line than the 12 pixels the layout
  // was drawn for; a label of that height would cut the text off.
  QRect fitted = geometry;
  fitted.setHeight(std::max(geometry.height(), label->fontMetrics().height()));
  label->setGeometry(fitted);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(wrap);
  return label;
}

QString TrimmedInput(const QString& text) {
  auto blank = [](QChar c) { return c.unicode() <= 0x20; };
  const auto first = std::find_if_not(text.begin(), text.end(), blank);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  return first < last ? QString(first, last - first) : QString();
}

void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

}  // namespace taliven
