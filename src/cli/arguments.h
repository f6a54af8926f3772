#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace palquin::cli {

/// An argument's bytes as text for the option parser. Valid UTF-8 is decoded; every byte that
/// is not part of valid UTF-8 becomes U+DC80 + byte, so a file name in another code page comes
/// back unchanged from ArgumentBytes.
QString ArgumentText(std::string_view bytes);

/// The bytes an ArgumentText stood for.
std::string ArgumentBytes(const QString& text);

}  // namespace palquin::cli
