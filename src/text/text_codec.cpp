// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_codec.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace palquin {
namespace {

const QChar kEllipsis(0x2026);

// The most bytes kShownLineLength characters take in either encoding (UTF-8: four per character).
constexpr size_t kShownBytes = static_cast<size_t>(kShownLineLength) * 4;

}  // namespace

QString DecodeFileText(std::string_view bytes, FileEncoding encoding) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (encoding == FileEncoding::Utf8) {
        return QString::fromUtf8(view);
    }
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        return QString::fromLatin1(view);
    }
    // Looking the code page up by name is slow; one stateless decoder serves every line.
    static QStringDecoder cp1251("windows-1251", QStringDecoder::Flag::Stateless);
    return cp1251.decode(view);
}

QString ShortenForDisplay(const QString& text) {
    if (text.size() <= kShownLineLength) {
        return text;
    }
    qsizetype keep = kShownLineLength;
    // Never split a character that takes two UTF-16 units.
    if (text.at(keep - 1).isHighSurrogate()) {
        --keep;
    }
    return text.left(keep) + kEllipsis;
}

QString DecodeForDisplay(std::string_view bytes, FileEncoding encoding) {
    if (bytes.size() <= kShownBytes) {
        return ShortenForDisplay(DecodeFileText(bytes, encoding));
    }
    // A cut through a UTF-8 character lies far past the characters kept.
    QString text = ShortenForDisplay(DecodeFileText(bytes.substr(0, kShownBytes), encoding));
    if (!text.endsWith(kEllipsis)) {
        text += kEllipsis;
    }
    return text;
}

std::string EncodeFileText(const QString& text, FileEncoding encoding) {
    if (encoding == FileEncoding::Utf8) {
        return text.toStdString();
    }
    QStringEncoder cp1251("windows-1251", QStringEncoder::Flag::Stateless);
    const QByteArray bytes = cp1251.encode(text);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString PathForDisplay(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(path.c_str());
#endif
}

}  // namespace palquin
