#pragma once

#include <QColor>
#include <QFrame>

namespace taliven {

// A panel with a grooved border over a gradient fill, as the main window's
// regions are drawn.
class GradientPanel : public QFrame {
  Q_OBJECT
 public:
  enum class Direction { Horizontal, Vertical, Diagonal };

  GradientPanel(QColor from, QColor to, Direction direction, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor from_;
  QColor to_;
  Direction direction_;
};

}  // namespace taliven
