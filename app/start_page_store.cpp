#include "start_page_store.h"

#include <QSettings>
#include <QString>
#include <QVariant>
#include <memory>

#include "gbk_codec.h"

namespace taliven {
namespace {

// Where the browser keeps a per-user start page of its own, that value is the
// one to change; elsewhere the program keeps it in its own user settings.
#ifdef Q_OS_WIN
std::unique_ptr<QSettings> OpenStore() {
  return std::make_unique<QSettings>(
      QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main"),
      QSettings::NativeFormat);
}
const QString kStartPageKey = QStringLiteral("Start Page");
#else
std::unique_ptr<QSettings> OpenStore() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QStringLiteral("Taliven"), QStringLiteral("Taliven"));
}
const QString kStartPageKey = QStringLiteral("Browser/Start Page");
#endif

}  // namespace

GbkText ReadStartPage() {
  const auto store = OpenStore();
  if (store->status() == QSettings::AccessError) return {};
  const QVariant value = store->value(kStartPageKey);
  if (!value.isValid()) return {};
  if (value.typeId() != QMetaType::QString) {
    throw StartPageError("the stored start page is not a text (" +
                         std::string(value.typeName() ? value.typeName() : "unknown type") + ")");
  }
  return ToGbk(value.toString());
}

void WriteStartPage(std::string_view url) {
  const auto store = OpenStore();
  // A store that could not be read in full would be written back without
  // what it failed to read: leave it untouched instead.
  if (store->status() != QSettings::NoError) {
    throw StartPageError("the start page cannot be changed: the settings in " +
                         store->fileName().toStdString() + " cannot be read");
  }
  store->setValue(kStartPageKey, FromGbk(url));
  store->sync();
  if (store->status() != QSettings::NoError) {
    throw StartPageError("the start page could not be saved to " + store->fileName().toStdString());
  }
}

}  // namespace taliven
