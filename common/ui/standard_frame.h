#pragma once
// The layouts that give a window's outer size were drawn on a desktop whose
// standard frame is 4 pixels on every side with a 26-pixel caption above the
// client area. Such a window's client area is that outer size less the frame;
// the window manager then puts its own frame around it.

#include <QSize>

namespace taliven {

inline constexpr QSize kStandardFrame(4 + 4, 26 + 4 + 4);

constexpr QSize ClientSizeFor(QSize outer) { return outer - kStandardFrame; }

}  // namespace taliven
