#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

#include "info_message.h"
#include "netname_window.h"
#include "qq_window.h"
#include "recording_reporter.h"

namespace taliven {
namespace {

// A fresh window, shown, with its prompts recorded instead of opening
// message boxes and its reported errors recorded by `reporter`.
template <class Window>
class ReadingWindowTest : public ::testing::Test {
 protected:
  ReadingWindowTest() : previousHandler_(SetInfoMessageHandler([this](const QString& t) { prompts.push_back(t); })) {
    window = new Window;
    window->show();
  }
  ~ReadingWindowTest() override {
    delete window.data();
    SetInfoMessageHandler(std::move(previousHandler_));
  }

  // Puts text into the edit box the way pasting does, unfiltered.
  void Paste(const QString& text) {
    window->edtmun->clear();
    window->edtmun->insert(text);
  }

  QPointer<Window> window;
  QStringList prompts;
  testing::RecordingReporter reporter;

 private:
  InfoMessageHandler previousHandler_;
};

template <class Window>
using ReadingWindowKeys = ReadingWindowTest<Window>;
using ReadingWindows = ::testing::Types<TFrmQQhm, TFrmWangming>;
TYPED_TEST_SUITE(ReadingWindowKeys, ReadingWindows);

// The empty box is prompted for, so each prompt is one run of the reading.
TYPED_TEST(ReadingWindowKeys, EnterAndSpacePressTheFocusedButtonAndEnterInTheBoxRunsTheReadingOnce) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
    this->prompts.clear();
    this->window->RzBitBtn1->setFocus();
    QTest::keyClick(this->window->RzBitBtn1, key);
    EXPECT_EQ(this->prompts.size(), 1) << "key " << key << " on the run button";
  }
  this->prompts.clear();
  this->window->edtmun->setFocus();
  QTest::keyClick(this->window->edtmun, Qt::Key_Return);
  EXPECT_EQ(this->prompts.size(), 1) << "Enter in the box";

  this->window->RzBitBtn2->setFocus();
  QTest::keyClick(this->window->RzBitBtn2, Qt::Key_Return);
  EXPECT_FALSE(this->window->isVisible());
}

using QqWindowTest = ReadingWindowTest<TFrmQQhm>;

QStringList Lines(const TFrmQQhm& w) {
  return {w.RzLabel11->text(), w.RzLabel10->text(), w.RzLabel9->text(), w.RzLabel8->text()};
}

const QStringList kReading12345{
    QStringLiteral("12345"), QStringLiteral("灾难不绝，难望成功，此数大凶，不如更名"), QStringLiteral("凶"),
    QStringLiteral("主人性格类型：[不善表达/疑心大型]，其具体表现为："
                   "在乎身边各人对自己的评价及观感，不善表达个人情感，"
                   "是个先考虑别人感受，再作出相应配合的内敛一族。对于爱侣，经常存有怀疑之心。")};

TEST_F(QqWindowTest, OpensEmptyWithTheEditFocused) {
  EXPECT_EQ(Lines(*window), QStringList(4));
  EXPECT_EQ(window->focusWidget(), window->edtmun);
}

TEST_F(QqWindowTest, TypingLetsOnlyDigitsInAndEnterRunsTheReading) {
  // Every digit, between the characters just below '0' and just above '9'.
  QTest::keyClicks(window->edtmun, "/0:1a2 3-4.5x6+7/8:9");
  EXPECT_EQ(window->edtmun->text(), "0123456789");
  window->edtmun->clear();

  QTest::keyClicks(window->edtmun, "1a2 3-.4x5");
  EXPECT_EQ(window->edtmun->text(), "12345");
  QTest::keyClick(window->edtmun, Qt::Key_6);
  QTest::keyClick(window->edtmun, Qt::Key_Backspace);
  EXPECT_EQ(window->edtmun->text(), "12345");

  QTest::keyClick(window->edtmun, Qt::Key_Return);
  EXPECT_EQ(Lines(*window), kReading12345);
  EXPECT_TRUE(prompts.isEmpty());
}

TEST_F(QqWindowTest, PastedTextIsCutTo18CharactersAndTrimmed) {
  Paste("99999999999999999999");
  EXPECT_EQ(window->edtmun->text(), QString(18, u'9'));
  window->RzBitBtn1->click();
  EXPECT_EQ(window->RzLabel10->text(), QStringLiteral("大展鸿图，信用得固，名利双收，可获成功"));

  Paste("  0012345\t");
  window->RzBitBtn1->click();
  EXPECT_EQ(window->RzLabel11->text(), "0012345");
  EXPECT_EQ(Lines(*window).mid(1), kReading12345.mid(1));
}

TEST_F(QqWindowTest, ANegativeNumberReplacesEveryLineWithTheDefaultText) {
  Paste("12345");
  window->RzBitBtn1->click();
  Paste("-5");
  window->RzBitBtn1->click();
  EXPECT_EQ(Lines(*window), QStringList({"-5", "", "", QStringLiteral("对不起,此号不在分解之类。")}));
}

TEST_F(QqWindowTest, BlankInputPromptsAndKeepsThePreviousReading) {
  Paste("12345");
  window->RzBitBtn1->click();
  Paste("   ");
  QTest::keyClick(window->edtmun, Qt::Key_Return);  // exactly once: no default button runs it again
  EXPECT_EQ(prompts, QStringList{QStringLiteral("请输入你的QQ号码！")});
  EXPECT_EQ(Lines(*window), kReading12345);
}

TEST_F(QqWindowTest, TextThatIsNoIntegerIsReportedEveryTimeAsPastedAndChangesNothing) {
  Paste("12345");
  window->RzBitBtn1->click();
  const QString pasted[] = {
      QStringLiteral("abc"),     // the edit box turns it into capitals
      QStringLiteral(" 小一 "),  // GBK inside the reading, quoted as typed
      QStringLiteral("12😀"),     // no GBK at all
      QStringLiteral(" 小一 "),  // the same again: a user's action is reported every time
  };
  const QString quoted[] = {"ABC", QStringLiteral("小一"), QStringLiteral("12😀"), QStringLiteral("小一")};
  for (const QString& text : pasted) {
    Paste(text);
    window->RzBitBtn1->click();
  }
  ASSERT_EQ(reporter.messages().size(), std::size(quoted));
  for (std::size_t i = 0; i < std::size(quoted); ++i) {
    const ErrorText text = SplitErrorMessage(reporter.messages()[i]);
    EXPECT_EQ(QString::fromStdString(text.sentence),
              QStringLiteral("无法测算“%1”：QQ号码必须是一个整数。").arg(quoted[i]));
    EXPECT_EQ(QString::fromStdString(text.details), QStringLiteral("'%1' is not a valid integer value").arg(quoted[i]));
    EXPECT_EQ(reporter.sources()[i], ErrorSource::UserAction);
  }
  EXPECT_EQ(Lines(*window), kReading12345);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(prompts.isEmpty());
}

TEST_F(QqWindowTest, ClosingFreesTheWindowAndClearsItsReference) {
  FrmQQhm = window;
  window->RzBitBtn2->click();
  EXPECT_EQ(FrmQQhm, nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

using NetNameWindowTest = ReadingWindowTest<TFrmWangming>;

QStringList Lines(const TFrmWangming& w) { return {w.RzLabel11->text(), w.RzLabel8->text()}; }

TEST_F(NetNameWindowTest, ShowsTheNameAndTheTraitOfItsLastLetter) {
  const struct {
    QString name;
    QString line1;
    QString line2;
  } cases[] = {
      {QStringLiteral("张三"), QStringLiteral("你的网名：张三"),
       QStringLiteral("你的性格：心胸宽大，有深藏不露的自恋")},
      {"ABC123", QStringLiteral("你的网名：ABC123"), QStringLiteral("你的性格：可爱，较明显的自恋")},
      {QStringLiteral(" 小明0 "), QStringLiteral("你的网名：小明0"), QStringLiteral("你的性格：煽情高手")},
      {"!?.,", QStringLiteral("你的网名：!?.,"), QStringLiteral("你的性格：")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    Paste(c.name);
    window->RzBitBtn1->click();
    EXPECT_EQ(Lines(*window), QStringList({c.line1, c.line2}));
  }
  EXPECT_TRUE(prompts.isEmpty());
  EXPECT_TRUE(reporter.messages().empty());
}

TEST_F(NetNameWindowTest, ACharacterGbkCannotHoldReadsAsNoReadingButShowsAsTyped) {
  Paste(QStringLiteral("张三😀"));
  window->RzBitBtn1->click();
  EXPECT_EQ(Lines(*window), QStringList({QStringLiteral("你的网名：张三😀"), QStringLiteral("你的性格：")}));
  Paste(QStringLiteral("😀张三"));
  window->RzBitBtn1->click();
  EXPECT_EQ(Lines(*window),
            QStringList({QStringLiteral("你的网名：😀张三"), QStringLiteral("你的性格：心胸宽大，有深藏不露的自恋")}));
  EXPECT_TRUE(reporter.messages().empty());
}

TEST_F(NetNameWindowTest, TypedLettersBecomeCapitalsAndEnterRunsTheReading) {
  QTest::keyClicks(window->edtmun, "tom");
  EXPECT_EQ(window->edtmun->text(), "TOM");
  QTest::keyClick(window->edtmun, Qt::Key_Return);
  EXPECT_EQ(Lines(*window),
            QStringList({QStringLiteral("你的网名：TOM"),
                         QStringLiteral("你的性格：反复无常，喜欢模仿神秘人物举动的小孩子性格，但是常常被宠爱")}));
}

TEST_F(NetNameWindowTest, BlankInputPromptsAndKeepsThePreviousReading) {
  Paste("ABC123");
  window->RzBitBtn1->click();
  const QStringList before = Lines(*window);
  Paste(" \t ");
  window->RzBitBtn1->click();
  EXPECT_EQ(prompts, QStringList{QStringLiteral("请输入你的网名！")});
  EXPECT_EQ(Lines(*window), before);
}

TEST_F(NetNameWindowTest, EscapeFreesTheWindowAndClearsItsReference) {
  FrmWangming = window;
  QTest::keyClick(window->edtmun, Qt::Key_Escape);
  EXPECT_EQ(FrmWangming, nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace taliven
