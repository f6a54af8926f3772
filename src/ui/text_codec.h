#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace palquin {

/// How a catalogue line is shown: Windows-1251, unless the bytes are valid UTF-8 with non-ASCII
/// characters in them (a catalogue edited on Linux). The bytes themselves are never changed.
QString DecodeFileText(std::string_view bytes);

/// A field text as it goes into satellite.txt (Windows-1251).
std::string EncodeFileText(const QString& text);

}  // namespace palquin
