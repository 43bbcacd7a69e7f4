#include "start_page_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSize>

#include "gbk_codec.h"
#include "temporary_settings.h"

namespace taliven {
namespace {

using testing::TemporarySettings;

TEST(StartPageStore, ReadsBackWhatWasWrittenAsAPlainText) {
  TemporarySettings settings;
  EXPECT_EQ(ReadStartPage(), "");

  // Each of these is special to the settings file's syntax or encoding.
  const QString urls[] = {
      QStringLiteral("http://www.taliven.example/"),   QStringLiteral("http://x.example/list?a=1,2;b=3#top"),
      QStringLiteral("  http://x.example/padded  "),   QStringLiteral("http://例子.example/首页"),
      QStringLiteral("@ByteArray(http://x.example/)"),
  };
  for (const QString& url : urls) {
    SCOPED_TRACE(url.toStdString());
    WriteStartPage(ToGbk(url));
    EXPECT_EQ(ReadStartPage(), ToGbk(url));
    EXPECT_EQ(TemporarySettings::StoredStartPage(), QVariant(url));
  }
}

TEST(StartPageStore, WritingKeepsTheRestOfTheSettings) {
  TemporarySettings settings;
  {
    const auto store = TemporarySettings::Open();
    store->setValue(QStringLiteral("Browser/Home"), QStringLiteral("kept"));
    store->setValue(QStringLiteral("Window/Size"), QSize(800, 600));
    store->setValue(QStringLiteral("Top"), 7);
  }
  WriteStartPage("http://x.example/");

  const auto store = TemporarySettings::Open();
  EXPECT_EQ(store->value(QStringLiteral("Browser/Home")), QVariant(QStringLiteral("kept")));
  EXPECT_EQ(store->value(QStringLiteral("Window/Size")), QVariant(QSize(800, 600)));
  EXPECT_EQ(store->value(QStringLiteral("Top")).toInt(), 7);
  // Saved in place: no temporary file is left beside the settings.
  EXPECT_EQ(QDir(settings.dir().path() + "/Taliven").entryList(QDir::Files),
            QStringList{QStringLiteral("Taliven.conf")});
}

TEST(StartPageStore, AStoredValueThatIsNotATextIsAnError) {
  for (const QVariant& value :
       {QVariant(QByteArray("http://x.example/")), QVariant(QStringList{"http://a.example/", "http://b.example/"})}) {
    SCOPED_TRACE(value.typeName());
    TemporarySettings settings;
    TemporarySettings::StoreStartPage(value);
    EXPECT_THROW(ReadStartPage(), StartPageError);
  }
}

TEST(StartPageStore, AnUnreachableStoreReadsEmptyAndRefusesToBeWritten) {
  TemporarySettings settings;
  // A directory cannot be created beneath a regular file, whoever we are.
  const QString file = settings.dir().filePath(QStringLiteral("plain-file"));
  QFile blocker(file);
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  TemporarySettings::UseLocation(file + "/config");

  EXPECT_EQ(ReadStartPage(), "");
  EXPECT_THROW(WriteStartPage("http://x.example/"), StartPageError);
  EXPECT_FALSE(QFile::exists(file + "/config"));
}

TEST(StartPageStore, ASettingsFileWithAFormatErrorIsStillWrittenWithAllItsSettings) {
  TemporarySettings settings;
  ASSERT_TRUE(QDir().mkpath(settings.dir().path() + "/Taliven"));
  QFile file(settings.dir().path() + "/Taliven/Taliven.conf");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  // The unclosed section header is a format error to the settings parser.
  const QByteArray text = "[Browser]\nStart Page=http://x.example/\n[Window\nsize=1\n";
  ASSERT_EQ(file.write(text), text.size());
  file.close();

  EXPECT_NO_THROW(WriteStartPage("http://y.example/"));
  EXPECT_EQ(ReadStartPage(), "http://y.example/");
  EXPECT_EQ(TemporarySettings::Open()->value(QStringLiteral("Window/size")), QVariant(QStringLiteral("1")));
}

}  // namespace
}  // namespace taliven
