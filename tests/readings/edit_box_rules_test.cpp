#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <memory>

#include "edit_box_rules.h"
#include "netname_window.h"
#include "qq_window.h"

namespace taliven {
namespace {

// What each reading window's box holds after the text is pasted into it: the
// pure rules must say exactly that, or the terminal companion would read
// another name or number than the window.
TEST(EditBoxRules, MatchWhatBothReadingWindowsKeepOfPastedText) {
  const struct {
    std::u16string pasted;
    std::u16string kept;
  } cases[] = {
      {u"tom", u"TOM"},
      {u"abcdefghijklmnopqrstuvwxyz", u"ABCDEFGHIJKLMNOPQR"},
      {u"stuvwxyz zoe", u"STUVWXYZ ZOE"},  // the letters past the cut above, within it here
      {u"1234567890123456789", u"123456789012345678"},
      {u"张三abc张三abc张三abc张三xy", u"张三ABC张三ABC张三ABC张三X"},
      {u"éàü ß tom", u"éàü ß TOM"},                          // only ASCII letters change
      {u"abcdefghijklmnopq😀z", u"ABCDEFGHIJKLMNOPQ\xD83D"},  // the cut splits the pair
      {u"a\nb", u"A\nB"},
      {u"", u""},
  };
  TFrmQQhm qq;
  TFrmWangming netname;
  for (const auto& c : cases) {
    const QString pasted = QString::fromStdU16String(c.pasted);
    SCOPED_TRACE(pasted.toStdString());
    EXPECT_EQ(ApplyEditBoxRules(c.pasted), c.kept);
    for (QLineEdit* box : {qq.edtmun, netname.edtmun}) {
      box->clear();
      QGuiApplication::clipboard()->setText(pasted);
      box->paste();
      EXPECT_EQ(box->text().toStdU16String(), c.kept);
    }
  }
}

}  // namespace
}  // namespace taliven
