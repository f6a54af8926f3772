// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/link_opener.h"

#include "platform/desktop_open.h"

namespace palquin {

void DesktopLinkOpener::Open(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    OpenWithDesktop(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

}  // namespace palquin
