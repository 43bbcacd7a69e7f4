#include "click_label.h"

#include <QMouseEvent>

namespace taliven {

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
  emit mousePressed(event->button());
  event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
  event->accept();
}

}  // namespace taliven
