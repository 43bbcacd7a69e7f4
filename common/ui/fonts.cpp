#include "fonts.h"

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QDir>
#include <QStringList>

namespace taliven {
namespace {

// The toolkit picks a face for Chinese text only among faces that fontconfig
// says speak Chinese, and fontconfig says so only of faces holding the whole
// GB 2312 alphabet. The cut-down face holds a few hundred characters, so it is
// declared Chinese (and English, for the Latin letters it keeps) as it is
// scanned; the characters it lacks still fall back to the full face.
QByteArray DeclareCompactSongChinese() {
  return QByteArrayLiteral(R"(<?xml version="1.0"?><fontconfig><match target="scan"><test name="family"><string>)") +
         kCompactSongFamily +
         QByteArrayLiteral(R"(</string></test><edit name="lang" mode="assign"><langset>)"
                           R"(<string>zh-cn</string><string>en</string></langset></edit></match></fontconfig>)");
}

}  // namespace

bool AddCompactSongFace(const QString& directory) {
  const QDir folder(directory);
  const QStringList faces = folder.entryList({QStringLiteral("*.otf")}, QDir::Files, QDir::Name);
  if (faces.isEmpty()) return false;
  FcConfig* config = FcConfigGetCurrent();
  static const bool ruleLoaded = FcConfigParseAndLoadFromMemory(
      config, reinterpret_cast<const FcChar8*>(DeclareCompactSongChinese().constData()), FcTrue);
  if (!ruleLoaded) return false;
  bool added = true;
  for (const QString& face : faces) {
    const QByteArray path = QFile::encodeName(folder.filePath(face));
    added = FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(path.constData())) && added;
  }
  return added;
}

void InstallFontSubstitutions() {
  // The cut-down face first: a family that is not installed is skipped.
  const QStringList song{kCompactSongFamily, "Noto Serif CJK SC", "AR PL UMing CN", "Noto Sans CJK SC"};
  const QStringList hei{"Noto Sans CJK SC", "WenQuanYi Zen Hei"};
  // No clerical-script font ships with Debian; a brush-style Kai face is the
  // nearest in spirit.
  const QStringList kai{"AR PL UKai CN", "Noto Serif CJK SC"};
  // A Chinese character in a Latin face comes from the Song face, as the
  // desktop the layouts were drawn on links its Latin faces to Song.
  const QStringList sans = QStringList{"Liberation Sans", "DejaVu Sans"} + song;

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

void SetApplicationFont() { QApplication::setFont(PixelFont(QStringLiteral("宋体"), 12)); }

QFont PixelFont(const QString& family, int pixels, bool bold) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  if (family == QLatin1String("Arial Black")) font.setWeight(QFont::Black);
  return font;
}

}  // namespace taliven
