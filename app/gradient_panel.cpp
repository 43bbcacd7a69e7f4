#include "gradient_panel.h"

#include <QLinearGradient>
#include <QPainter>

namespace taliven {

GradientPanel::GradientPanel(QColor from, QColor to, Direction direction, QWidget* parent)
    : QFrame(parent), from_(from), to_(to), direction_(direction) {
  setFrameStyle(QFrame::Box | QFrame::Sunken);  // a groove
  setLineWidth(1);
}

void GradientPanel::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRectF area = rect();
  const QPointF end = direction_ == Direction::Horizontal ? area.topRight()
                      : direction_ == Direction::Vertical ? area.bottomLeft()
                                                          : area.bottomRight();
  QLinearGradient gradient(area.topLeft(), end);
  gradient.setColorAt(0, from_);
  gradient.setColorAt(1, to_);
  painter.fillRect(area, gradient);
  painter.end();
  QFrame::paintEvent(event);
}

}  // namespace taliven
