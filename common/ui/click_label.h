#pragma once

#include <QLabel>

namespace taliven {

// A label that reports clicks and mouse presses, as the link labels and the
// calendar's day cells need. A double click is one click and two presses, as
// the desktop's labels count it. `tag` is a free integer the handlers read back.
class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(QWidget* parent = nullptr);
  ClickLabel(const QString& text, QWidget* parent = nullptr);

  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }

 signals:
  // Any button pressed over the label.
  void mousePressed(Qt::MouseButton button);
  // The left button pressed and released over the label.
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  int tag_ = 0;
  bool doubleClicked_ = false;  // the release that ends a double click is no click
};

}  // namespace taliven
