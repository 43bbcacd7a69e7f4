#include "standard_frame.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstring>
#include <memory>

namespace taliven {
namespace {

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <class Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The window that `window`'s _NET_SUPPORTING_WM_CHECK names, or none.
xcb_window_t SupportingWindow(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t check) {
  const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, check, XCB_ATOM_WINDOW, 0, 1), nullptr));
  if (!reply || reply->type != XCB_ATOM_WINDOW || xcb_get_property_value_length(reply.get()) != 4) return XCB_NONE;
  return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
}

// Whether a window manager runs on the X display: it names a window of its
// own on the root window, and that window names itself (a stale property of
// a window manager that is gone names a window that no longer does).
bool WindowManagerFramesWindows() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return false;
  xcb_connection_t* connection = x11->connection();
  const xcb_atom_t check = Atom(connection, "_NET_SUPPORTING_WM_CHECK");
  if (check == XCB_ATOM_NONE) return false;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  const xcb_window_t supporting = SupportingWindow(connection, root, check);
  return supporting != XCB_NONE && SupportingWindow(connection, supporting, check) == supporting;
}

// A window manager may draw another frame than the standard one; its size is
// known only once the window is on screen. At the window's first exposure,
// one framed otherwise moves once to where its own frame is centred.
class RecentreInItsOwnFrame final : public QObject {
 public:
  RecentreInItsOwnFrame(QWidget& window, QRect available) : QObject(&window), window_(window), available_(available) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    QWindow* handle = window_.windowHandle();
    if (watched == &window_ && event->type() == QEvent::Show && handle != nullptr) {
      handle->installEventFilter(this);
    } else if (watched == handle && event->type() == QEvent::Expose && handle->isExposed()) {
      const QMargins frame = handle->frameMargins();
      if (!frame.isNull() && frame != kStandardFrameMargins) {
        window_.move(CentredFrameTopLeft(available_, window_.size(), frame));
      }
      deleteLater();
    }
    return false;
  }

 private:
  QWidget& window_;
  QRect available_;
};

// A window manager puts the frame where a window's position says; a bare
// display puts the client area there.
void MoveFrame(QWidget& window, QPoint frameTopLeft, bool framed) {
  const QPoint clientOffset(kStandardFrameMargins.left(), kStandardFrameMargins.top());
  window.move(framed ? frameTopLeft : frameTopLeft + clientOffset);
}

}  // namespace

QPoint CentredFrameTopLeft(const QRect& available, QSize client, const QMargins& frame) {
  const QSize outer = client.grownBy(frame);
  return {available.left() + std::max(0, (available.width() - outer.width()) / 2),
          available.top() + std::max(0, (available.height() - outer.height()) / 2)};
}

void CentreOnScreen(QWidget& window) {
  const QWidget* active = QApplication::activeWindow();
  const QScreen* screen = active != nullptr ? active->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const bool framed = WindowManagerFramesWindows();
  MoveFrame(window, CentredFrameTopLeft(screen->availableGeometry(), window.size(), kStandardFrameMargins), framed);
  if (framed) new RecentreInItsOwnFrame(window, screen->availableGeometry());
}

void MoveFrameTo(QWidget& window, QPoint frameTopLeft) {
  MoveFrame(window, frameTopLeft, WindowManagerFramesWindows());
}

}  // namespace taliven
