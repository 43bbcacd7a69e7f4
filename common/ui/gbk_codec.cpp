#include "gbk_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace taliven {

QString FromGbk(std::string_view text) {
  QStringDecoder decoder("GBK");
  return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

GbkText ToGbk(const QString& text) {
  QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
  QByteArray whole = encoder.encode(text);
  if (!encoder.hasError()) return GbkText(whole.constData(), static_cast<size_t>(whole.size()));

  // Slow path: encode one code point at a time to place the replacement.
  GbkText result;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QStringEncoder single("GBK", QStringConverter::Flag::Stateless);
    const QByteArray bytes = single.encode(QStringView(text).mid(i, width));
    if (single.hasError()) {
      result += kUnrepresentableGbk;
    } else {
      result.append(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    i += width;
  }
  return result;
}

}  // namespace taliven
