#include "ui/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace palquin {

QString DecodeFileText(std::string_view bytes) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (ascii) {
        return QString::fromLatin1(view);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError()) {
        return text;
    }
    // Looking the code page up by name is slow; one stateless decoder serves every line.
    static QStringDecoder cp1251("windows-1251", QStringDecoder::Flag::Stateless);
    return cp1251.decode(view);
}

std::string EncodeFileText(const QString& text) {
    QStringEncoder cp1251("windows-1251", QStringEncoder::Flag::Stateless);
    const QByteArray bytes = cp1251.encode(text);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace palquin
