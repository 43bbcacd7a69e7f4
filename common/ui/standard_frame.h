#pragma once
// The layouts that give a window's outer size were drawn on a desktop whose
// standard frame is 4 pixels on every side with a 26-pixel caption above the
// client area. Such a window's client area is that outer size less the frame;
// the window manager then puts its own frame around it.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace taliven {

inline constexpr QMargins kStandardFrameMargins(4, 26 + 4, 4, 4);
inline constexpr QSize kStandardFrame(kStandardFrameMargins.left() + kStandardFrameMargins.right(),
                                      kStandardFrameMargins.top() + kStandardFrameMargins.bottom());

constexpr QSize ClientSizeFor(QSize outer) { return outer - kStandardFrame; }

// The top-left corner of the outer frame that centres a window of client
// size `client` in frame `frame` on `available`. A window larger than
// `available` keeps the frame's top-left corner, and so its caption, on it.
QPoint CentredFrameTopLeft(const QRect& available, QSize client, const QMargins& frame);

// Places `window`, before it is first shown, with its outer frame centred on
// the available area (less panels and docks) of the screen that holds the
// active window, the main window, or of the primary screen when there is none.
// The window manager puts its frame there; where no window manager frames
// windows, the client area goes where it would sit inside the standard frame.
void CentreOnScreen(QWidget& window);

// Places `window`, before it is first shown, with its outer frame's top-left
// corner at `frameTopLeft`, by the same rule: where no window manager frames
// windows, the client area goes where it would sit inside the standard frame.
void MoveFrameTo(QWidget& window, QPoint frameTopLeft);

}  // namespace taliven
