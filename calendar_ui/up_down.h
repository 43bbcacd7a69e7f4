#pragma once
// A bare up-down spinner: two stacked arrow buttons that step a position
// within a range, without wrapping around and without a text box of its own.

#include <QWidget>

class QToolButton;

namespace taliven {

class UpDown : public QWidget {
  Q_OBJECT
 public:
  enum class Direction { Up, Down };

  UpDown(int minimum, int maximum, QWidget* parent = nullptr);

  int position() const { return position_; }
  // Clamped into the range. Emits nothing: only the arrows click.
  void setPosition(int position);

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 signals:
  // An arrow was pressed and the position has moved one step that way. An
  // arrow pressed at its end of the range does nothing at all.
  void clicked(taliven::UpDown::Direction direction);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* createArrow(Qt::ArrowType arrow, const QString& name, Direction direction);
  void step(Direction direction);

  int minimum_;
  int maximum_;
  int position_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace taliven
