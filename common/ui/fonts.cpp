#include "fonts.h"

#include <QStringList>

namespace taliven {

void InstallFontSubstitutions() {
  const QStringList song{"Noto Serif CJK SC", "AR PL UMing CN", "Noto Sans CJK SC"};
  const QStringList hei{"Noto Sans CJK SC", "WenQuanYi Zen Hei"};
  // No clerical-script font ships with Debian; a brush-style Kai face is the
  // nearest in spirit.
  const QStringList kai{"AR PL UKai CN", "Noto Serif CJK SC"};
  const QStringList sans{"Liberation Sans", "DejaVu Sans", "Noto Sans CJK SC"};

  QFont::insertSubstitutions(QStringLiteral("宋体"), song);
  QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
  QFont::insertSubstitutions(QStringLiteral("黑体"), hei);
  QFont::insertSubstitutions(QStringLiteral("SimHei"), hei);
  QFont::insertSubstitutions(QStringLiteral("隶书"), kai);
  QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"), kai);
  QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
  QFont::insertSubstitutions(QStringLiteral("Arial Black"), sans);
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
}

QFont PixelFont(const QString& family, int pixels, bool bold) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  if (family == QLatin1String("Arial Black")) font.setWeight(QFont::Black);
  return font;
}

}  // namespace taliven
