#include "gbk_codec.h"

#include <gtest/gtest.h>

namespace taliven {
namespace {

TEST(GbkCodec, RoundTripsChineseAndAscii) {
  const QString text = QStringLiteral("中国 abc １");
  const GbkText gbk = ToGbk(text);
  EXPECT_EQ(gbk, "\xD6\xD0\xB9\xFA abc \xA3\xB1");
  EXPECT_EQ(FromGbk(gbk), text);
}

TEST(GbkCodec, UnrepresentableCharactersBecomeAUserDefinedPosition) {
  // An emoji (outside the BMP) and a Hangul syllable have no GBK form.
  EXPECT_EQ(ToGbk(QStringLiteral("a\U0001F600b\uAC00")),
            "a\xAA\xA1"
            "b\xAA\xA1");
}

}  // namespace
}  // namespace taliven
