// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace palquin {

/// Opens a link text with the desktop's default handler. Tests put in a recorder, or the real one
/// with a stub handler first on PATH.
class LinkOpener {
  public:
    virtual ~LinkOpener() = default;
    /// Hands text over unchanged; failures are not reported (the links window ignores them).
    virtual void Open(const QString& text) = 0;
};

/// The real thing: OpenWithDesktop with the text in UTF-8, as one argument, never through a
/// shell. QDesktopServices is not used: through its QUrl, xdg-open receives blanks and quotes as
/// %20 and %22, a Cyrillic host in punycode with its path %-escaped, and %41 decoded to A.
class DesktopLinkOpener : public LinkOpener {
  public:
    void Open(const QString& text) override;
};

}  // namespace palquin
