#pragma once

#include <QString>

#include "ui/notifier.h"

namespace palquin {

inline const QString kPrintFailedMessage = QStringLiteral("Печать невозможна!");

/// The one message of every failed print: OK only, under the application's title.
inline void ShowPrintFailure(Notifier* notifier) {
    if (notifier != nullptr) {
        notifier->Show(kPrintFailedMessage, kAppTitle, MessageIcon::None);
    }
}

}  // namespace palquin
