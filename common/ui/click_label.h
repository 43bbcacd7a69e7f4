#pragma once

#include <QAccessible>
#include <QLabel>

namespace taliven {

// A label that reports clicks and mouse presses, as the link labels and the
// calendar's day cells need. A double click is one click and two presses, as
// the desktop's labels count it. `tag` is a free integer the handlers read back.
//
// While it takes the keyboard focus it shows a focus cue, and Enter or Space
// click it once per press (a held key does not repeat the click).
class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(QWidget* parent = nullptr);
  ClickLabel(const QString& text, QWidget* parent = nullptr);

  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }

  // Tab reaches the label, and assistive technology sees it as `role` (a
  // link, a button), named by its accessible name or else by its text. After
  // setTextInteractionFlags, which sets a focus policy of its own.
  void makeKeyboardReachable(QAccessible::Role role);
  // NoRole until the label is made keyboard-reachable.
  QAccessible::Role accessibleRole() const { return role_; }

 signals:
  // Any button pressed over the label.
  void mousePressed(Qt::MouseButton button);
  // The left button pressed and released over the label, or a key pressed.
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  int tag_ = 0;
  bool doubleClicked_ = false;  // the release that ends a double click is no click
  QAccessible::Role role_ = QAccessible::NoRole;
};

}  // namespace taliven
