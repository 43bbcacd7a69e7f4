#pragma once
// Which faces the toolkit really draws a text with, as opposed to the family a
// font asks for: substitution and fallback happen at layout time.

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QString>
#include <QTextLayout>
#include <set>
#include <string>

namespace taliven::testing {

inline std::string Lower(const QString& family) { return family.toLower().toStdString(); }

// The families, in lower case, whose glyphs a single line of `text` is drawn with.
inline std::set<std::string> FamiliesDrawing(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  std::set<std::string> families;
  for (const QGlyphRun& run : layout.glyphRuns()) families.insert(Lower(run.rawFont().familyName()));
  return families;
}

}  // namespace taliven::testing
