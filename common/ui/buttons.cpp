#include "buttons.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>

namespace taliven {
namespace {

class EnterPresses final : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    // Held down, Enter presses once, as Space does.
    if (!key->isAutoRepeat()) static_cast<QAbstractButton*>(watched)->click();
    return true;
  }
};

// The toolkit turns the second press of a double click into a press of its
// own; dropping it leaves the first press's click the only one.
class DoubleClickDropper final : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::MouseButtonDblClick; }
};

}  // namespace

void PressOnEnter(QAbstractButton* button) { button->installEventFilter(new EnterPresses(button)); }

void ClickOnceOnDoubleClick(QAbstractButton* button) { button->installEventFilter(new DoubleClickDropper(button)); }

}  // namespace taliven
