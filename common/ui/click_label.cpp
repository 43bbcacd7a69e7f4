#include "click_label.h"

#include <QMouseEvent>
#include <utility>

namespace taliven {

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

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

}  // namespace taliven
