// The cut-down Song face: the shell's texts come from it and look exactly as
// they would from the full face; every other character still gets the full face.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "drawn_families.h"
#include "fonts.h"

namespace taliven {
namespace {

using testing::FamiliesDrawing;
using testing::Lower;

const QString kShellText = QStringLiteral("欢迎使用Taliven！客服电话：010-62885173 QQ号码测算[荐]");
// Characters no text of the shell uses, as in a user's net name.
const QString kForeignText = QStringLiteral("鑫淼");

QImage Drawing(const QString& text, const QFont& font) {
  QImage image(520, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(4, 28, text);
  return image;
}

QFont FullSongFace(int pixels, bool bold) { return PixelFont(QStringLiteral("Noto Serif CJK SC"), pixels, bold); }

class SongFace : public ::testing::TestWithParam<bool> {};

TEST_P(SongFace, DrawsTheShellsTextsFromTheCutDownFaceExactlyAsTheFullFace) {
  const bool bold = GetParam();
  for (int pixels : {12, 14}) {
    const QFont song = PixelFont(QStringLiteral("宋体"), pixels, bold);
    EXPECT_EQ(FamiliesDrawing(kShellText, song), std::set{Lower(QString::fromLatin1(kCompactSongFamily))});
    EXPECT_EQ(Drawing(kShellText, song), Drawing(kShellText, FullSongFace(pixels, bold))) << pixels << " px";
  }
}

TEST_P(SongFace, DrawsOtherCharactersFromTheFullFace) {
  const bool bold = GetParam();
  const QFont song = PixelFont(QStringLiteral("宋体"), 12, bold);
  EXPECT_EQ(FamiliesDrawing(kForeignText, song), std::set{Lower(QStringLiteral("Noto Serif CJK SC"))});
  const QString mixed = QStringLiteral("网名：") + kForeignText;
  EXPECT_EQ(Drawing(mixed, song), Drawing(mixed, FullSongFace(12, bold)));
}

INSTANTIATE_TEST_SUITE_P(RegularAndBold, SongFace, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Bold" : "Regular"; });

TEST(AddCompactSongFace, RefusesAFolderWithoutFaces) {
  const QTemporaryDir empty;
  EXPECT_FALSE(AddCompactSongFace(empty.path()));
  EXPECT_FALSE(AddCompactSongFace(empty.filePath(QStringLiteral("missing"))));
}

}  // namespace
}  // namespace taliven
