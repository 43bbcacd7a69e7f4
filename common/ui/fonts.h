#pragma once

#include <QFont>
#include <QString>

namespace taliven {

// The family of the cut-down Song face the build makes from the system's
// (tools/subset_song_face.py): the same glyphs, but only those of the shell's
// own texts, in a few hundred kilobytes.
inline constexpr char kCompactSongFamily[] = "Taliven Song";

// Makes the cut-down Song face in `directory` available to the windows, which
// then draw the shell's texts from it and anything else from the full face.
// Call before the first text is laid out. Returns false, changing nothing
// visible, when the folder holds no face or the font system refuses one.
bool AddCompactSongFace(const QString& directory);

// Maps the Windows font names the windows ask for ("宋体", "黑体", "隶书",
// "Arial Black", ...) onto installed fonts with the same role. Call once,
// after the application object exists and before any window is created.
void InstallFontSubstitutions();

// Makes the windows' Song face at 12 pixels the application's font, so that
// every text no window names a face for (message boxes, their buttons,
// tooltips, edit menus) is drawn like the windows' own, whatever the locale.
// Call after InstallFontSubstitutions().
void SetApplicationFont();

// A font of the given family whose character height is `pixels`.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

}  // namespace taliven
