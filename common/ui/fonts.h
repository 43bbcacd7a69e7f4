#pragma once

#include <QFont>
#include <QString>

namespace taliven {

// Maps the Windows font names the windows ask for ("宋体", "黑体", "隶书",
// "Arial Black", ...) onto installed fonts with the same role. Call once,
// after the application object exists and before any window is created.
void InstallFontSubstitutions();

// A font of the given family whose character height is `pixels`.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

}  // namespace taliven
