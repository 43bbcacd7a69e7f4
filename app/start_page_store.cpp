#include "start_page_store.h"

#include <QSettings>
#include <QString>
#include <QVariant>
#include <memory>
#include <string>

#include "error_guard.h"
#include "gbk_codec.h"

namespace taliven {
namespace {

// Where the browser keeps a per-user start page of its own, that value is the
// one to change; elsewhere the program keeps it in its own user settings.
#ifdef Q_OS_WIN
std::unique_ptr<QSettings> OpenStore() {
  return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main"),
                                     QSettings::NativeFormat);
}
const QString kStartPageKey = QStringLiteral("Start Page");
#else
std::unique_ptr<QSettings> OpenStore() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Taliven"),
                                     QStringLiteral("Taliven"));
}
const QString kStartPageKey = QStringLiteral("Browser/Start Page");
#endif

}  // namespace

GbkText ReadStartPage() {
  const auto store = OpenStore();
  const QVariant value = store->value(kStartPageKey);
  if (!value.isValid()) return {};  // none stored, or a store that cannot be read
  if (value.typeId() != QMetaType::QString) {
    throw StartPageError(ErrorMessage("无法读取浏览器首页的设置：保存的值不是文本。",
                                      std::string("the stored start page is not a text but a ") + value.typeName()));
  }
  return ToGbk(value.toString());
}

void WriteStartPage(std::string_view url) {
  const auto store = OpenStore();
  store->setValue(kStartPageKey, FromGbk(url));
  store->sync();
  // A format error is no failure to save: the file is replaced as a whole
  // with every setting that could be read, plus this one.
  if (store->status() == QSettings::AccessError) {
    throw StartPageError(ErrorMessage("无法保存浏览器首页的设置。",
                                      "the start page could not be saved to " + store->fileName().toStdString()));
  }
}

}  // namespace taliven
