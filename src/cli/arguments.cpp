// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/arguments.h"

namespace palquin::cli {
namespace {

constexpr char32_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at the start of bytes and its code point; 0 when the
// bytes there are not valid UTF-8 (overlong forms and surrogates included).
size_t DecodeOne(std::string_view bytes, char32_t* codePoint) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        *codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1Fu, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0Fu, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07u, minimum = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (byte(i) & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    *codePoint = value;
    return length;
}

}  // namespace

QString ArgumentText(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    while (!bytes.empty()) {
        char32_t codePoint = 0;
        size_t length = DecodeOne(bytes, &codePoint);
        if (length == 0) {
            codePoint = kEscapeBase + static_cast<unsigned char>(bytes[0]);
            length = 1;
        }
        if (codePoint > 0xFFFF) {
            text.append(QChar(QChar::highSurrogate(codePoint)));
            text.append(QChar(QChar::lowSurrogate(codePoint)));
        } else {
            text.append(QChar(static_cast<char16_t>(codePoint)));
        }
        bytes.remove_prefix(length);
    }
    return text;
}

std::string ArgumentBytes(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        char32_t codePoint = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(unit, text[i + 1].unicode());
            ++i;
        } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
            bytes.push_back(static_cast<char>(unit - kEscapeBase));
            continue;
        }
        const QByteArray utf8 = QString::fromUcs4(&codePoint, 1).toUtf8();
        bytes.append(utf8.constData(), static_cast<size_t>(utf8.size()));
    }
    return bytes;
}

std::filesystem::path PathFromArgument(const QString& text) {
#ifdef _WIN32
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(ArgumentBytes(text));
#endif
}

QString PathText(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return ArgumentText(path.native());
#endif
}

QString EscapeControls(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit >= 0x20 && unit != 0x7F && !(unit >= 0x80 && unit <= 0x9F)) {
            shown.append(c);
        } else if (unit == 0x1B) {
            shown.append(QStringLiteral("\\e"));
        } else if (unit == u'\t') {
            shown.append(QStringLiteral("\\t"));
        } else if (unit == u'\n') {
            shown.append(QStringLiteral("\\n"));
        } else if (unit == u'\r') {
            shown.append(QStringLiteral("\\r"));
        } else if (unit < 0x80) {
            shown.append(
                QStringLiteral("\\x%1").arg(static_cast<uint>(unit), 2, 16, QLatin1Char('0')));
        } else {
            shown.append(
                QStringLiteral("\\u%1").arg(static_cast<uint>(unit), 4, 16, QLatin1Char('0')));
        }
    }
    return shown;
}

QString ShownArgument(const QString& text) {
    constexpr qsizetype kLongest = 200;
    if (text.size() <= kLongest) {
        return EscapeControls(text);
    }
    return EscapeControls(text.left(kLongest)) + QStringLiteral("…");
}

}  // namespace palquin::cli
