// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "ui/notifier.h"

namespace palquin {

inline const QString kPrintFailedMessage = QStringLiteral("Печать невозможна!");

/// The one message of every failed print: OK only, under the application's title, with the
/// reason the program knows on the line below.
inline void ShowPrintFailure(Notifier* notifier, const QString& reason = QString()) {
    if (notifier != nullptr) {
        notifier->ShowDetailed(kPrintFailedMessage, reason, kAppTitle, MessageIcon::None);
    }
}

}  // namespace palquin
