#include "click_label.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <utility>

namespace taliven {
namespace {

// What a screen reader is told of a keyboard-reachable label: its role, its
// name, and that it can be pressed.
class ClickLabelAccessible final : public QAccessibleWidget {
 public:
  explicit ClickLabelAccessible(ClickLabel* label) : QAccessibleWidget(label, label->accessibleRole()) {}

  QString text(QAccessible::Text t) const override {
    const auto* label = static_cast<const ClickLabel*>(widget());
    if (t == QAccessible::Name) return label->accessibleName().isEmpty() ? label->text() : label->accessibleName();
    return QAccessibleWidget::text(t);
  }

  QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }

  void doAction(const QString& action) override {
    if (action == pressAction()) {
      emit static_cast<ClickLabel*>(widget())->clicked();
    } else {
      QAccessibleWidget::doAction(action);
    }
  }
};

QAccessibleInterface* ReachableLabelInterface(const QString& className, QObject* object) {
  if (className != QLatin1String(ClickLabel::staticMetaObject.className())) return nullptr;
  auto* label = static_cast<ClickLabel*>(object);
  // Other click labels are described as the labels they look like.
  if (label->accessibleRole() == QAccessible::NoRole) return nullptr;
  return new ClickLabelAccessible(label);
}

}  // namespace

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ClickLabel::makeKeyboardReachable(QAccessible::Role role) {
  static const bool installed = [] {
    QAccessible::installFactory(&ReachableLabelInterface);
    return true;
  }();
  (void)installed;
  role_ = role;
  setFocusPolicy(Qt::StrongFocus);
  // A text given to the label while it was being made may have had it
  // described as a plain label already; that description goes.
  QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(this)));
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
  emit mousePressed(event->button());
  event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool endsDoubleClick = std::exchange(doubleClicked_, false);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && !endsDoubleClick) {
    emit clicked();
  }
  event->accept();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  doubleClicked_ = true;
  emit mousePressed(event->button());
  event->accept();
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) {
    QLabel::keyPressEvent(event);
    return;
  }
  if (!event->isAutoRepeat()) emit clicked();
  event->accept();
}

void ClickLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  QStyleOptionFocusRect cue;
  cue.initFrom(this);
  // Around the text where the label is wider than its text, as a link's cue is.
  if (textFormat() != Qt::RichText && !text().isEmpty()) {
    cue.rect = style()
                   ->itemTextRect(fontMetrics(), contentsRect(), static_cast<int>(alignment()), true, text())
                   .adjusted(-1, 0, 1, 0)
                   .intersected(rect());
  }
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &cue, &painter, this);
}

}  // namespace taliven
