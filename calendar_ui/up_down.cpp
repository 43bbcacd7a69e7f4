#include "up_down.h"

#include <QToolButton>
#include <algorithm>

#include "buttons.h"

namespace taliven {

UpDown::UpDown(int minimum, int maximum, QWidget* parent)
    : QWidget(parent),
      minimum_(minimum),
      maximum_(maximum),
      position_(minimum),
      up_(createArrow(Qt::UpArrow, QStringLiteral("增加"), Direction::Up)),
      down_(createArrow(Qt::DownArrow, QStringLiteral("减少"), Direction::Down)) {}

void UpDown::setPosition(int position) { position_ = std::clamp(position, minimum_, maximum_); }

QToolButton* UpDown::createArrow(Qt::ArrowType arrow, const QString& name, Direction direction) {
  auto* button = new QToolButton(this);
  button->setArrowType(arrow);
  button->setAccessibleName(name);
  // Held down, the arrow keeps stepping, as a spinner's arrows do.
  button->setAutoRepeat(true);
  PressOnEnter(button);
  connect(button, &QToolButton::clicked, this, [this, direction] { step(direction); });
  return button;
}

void UpDown::step(Direction direction) {
  const int before = position_;
  setPosition(position_ + (direction == Direction::Up ? 1 : -1));
  // At the end of the range the arrow changes nothing, so it says nothing.
  if (position_ != before) emit clicked(direction);
}

void UpDown::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int upperHeight = height() / 2;
  up_->setGeometry(0, 0, width(), upperHeight);
  down_->setGeometry(0, upperHeight, width(), height() - upperHeight);
}

}  // namespace taliven
