#pragma once
// Points the program's user settings at a fresh directory for one test and
// gives the test its own view of the start-page value.

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

namespace taliven::testing {

class TemporarySettings {
 public:
  TemporarySettings() { UseLocation(dir_.path()); }

  // Moves the settings to `path`, which need not be creatable.
  static void UseLocation(const QString& path) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
  }

  const QTemporaryDir& dir() const { return dir_; }

  static std::unique_ptr<QSettings> Open() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Taliven"),
                                       QStringLiteral("Taliven"));
  }

  // An invalid value stands for "no value stored".
  static void StoreStartPage(const QVariant& value) {
    if (value.isValid()) {
      Open()->setValue(kKey, value);
    } else {
      Open()->remove(kKey);
    }
  }
  static QVariant StoredStartPage() { return Open()->value(kKey); }

  static inline const QString kKey = QStringLiteral("Browser/Start Page");

 private:
  QTemporaryDir dir_;
};

}  // namespace taliven::testing
