#include "window_rules.h"

#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

namespace taliven {
namespace {

class WindowRules final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The event's type first: this filter sees every event of every object,
    // the web engine's own internal ones among them, and needs only these two.
    if (event->type() != QEvent::Show && event->type() != QEvent::WindowStateChange) return false;
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow()) return false;
    if (event->type() == QEvent::Show) {
      widget->setAttribute(Qt::WA_KeyboardFocusChange);
    } else if (event->type() == QEvent::WindowStateChange && widget->isMinimized() &&
               !(widget->windowFlags() & Qt::WindowMinimizeButtonHint)) {
      // Later, so that a window that closes itself on being minimised has
      // done so first.
      QMetaObject::invokeMethod(
          this, [window = QPointer<QWidget>(widget)] { ShowAgain(window); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  static void ShowAgain(QWidget* window) {
    if (window == nullptr || !window->isVisible() || !window->isMinimized()) return;
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
  }
};

}  // namespace

void InstallWindowRules(QApplication& app) { app.installEventFilter(new WindowRules(&app)); }

}  // namespace taliven
