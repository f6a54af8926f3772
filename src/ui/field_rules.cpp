// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/field_rules.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QWidget>

#include "ui/notifier.h"

namespace palquin {

std::optional<char16_t> TypedCharacter(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Backspace:
            return u'\b';
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return u'\r';
        case Qt::Key_Delete:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return std::nullopt;
        default:
            break;
    }
    const QString text = event.text();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return text.at(0).unicode();
}

bool KeyRuleAccepts(KeyRule rule, char16_t c) {
    const bool digit = c >= u'0' && c <= u'9';
    const bool editing = c == u'\b' || c == u'\r';
    switch (rule) {
        case KeyRule::Number:
            return digit || c == u'.' || editing;
        case KeyRule::Diameter:
            return digit || editing;
        case KeyRule::NorthSouth:
            return c == u'N' || c == u'S';
        case KeyRule::EastWest:
            return c == u'E' || c == u'W';
        case KeyRule::Satellite:
            return false;
    }
    return false;
}

QValidator::State LineBreakDropper::validate(QString& input, int& cursor) const {
    for (qsizetype at = input.size() - 1; at >= 0; --at) {
        if (input.at(at) == u'\r' || input.at(at) == u'\n') {
            input.remove(at, 1);
            if (at < cursor) {
                --cursor;
            }
        }
    }
    return Acceptable;
}

KeyFilter::KeyFilter(KeyRule rule, Notifier* notifier, QObject* parent, Keys keys)
    : QObject(parent), rule_(rule), notifier_(notifier), keys_(keys) {}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            break;
        case QEvent::InputMethod:
            return FilterInputMethod(watched, *static_cast<QInputMethodEvent*>(event));
        case QEvent::InputMethodQuery: {
            // Answered here because QLineEdit says "enabled" whatever its attribute holds.
            auto* widget = qobject_cast<QWidget*>(watched);
            auto* query = static_cast<QInputMethodQueryEvent*>(event);
            if (widget == nullptr || !query->queries().testFlag(Qt::ImEnabled)) {
                return false;
            }
            for (int bit = 0; bit < 32; ++bit) {
                const auto one = static_cast<Qt::InputMethodQuery>(1u << bit);
                if (query->queries().testFlag(one)) {
                    query->setValue(one, one == Qt::ImEnabled ? QVariant(false)
                                                              : widget->inputMethodQuery(one));
                }
            }
            query->accept();
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
    const auto character = TypedCharacter(*static_cast<QKeyEvent*>(event));
    if (!character || KeyRuleAccepts(rule_, *character)) {
        return false;
    }
    if (keys_ == Keys::PrintableOnly && *character < u' ') {
        return false;
    }
    Refuse();
    return true;  // the character never reaches the field
}

void KeyFilter::Refuse() const {
    switch (rule_) {
        case KeyRule::Number:
            notifier_->Show(kFormatMessage, kKeyFilterTitle, MessageIcon::None);
            break;
        case KeyRule::NorthSouth:
        case KeyRule::EastWest:
        case KeyRule::Satellite:
            notifier_->Show(kChooseFromListMessage, kKeyFilterTitle, MessageIcon::None);
            break;
        case KeyRule::Diameter:
            break;
    }
}

bool KeyFilter::FilterInputMethod(QObject* watched, QInputMethodEvent& event) const {
    // Each committed character is taken as if typed; text replaced around the cursor counts as
    // Backspace. Text still being composed is not shown: it may hold anything.
    QString kept;
    bool refused = false;
    for (const QChar c : event.commitString()) {
        const bool accepted = KeyRuleAccepts(rule_, c.unicode()) && c != u'\b' && c != u'\r';
        refused = refused || !accepted;
        if (accepted) {
            kept += c;
        }
    }
    const bool replaces = event.replacementLength() > 0;
    const bool replaceAllowed = !replaces || KeyRuleAccepts(rule_, u'\b');
    refused = refused || !replaceAllowed;
    if (!refused && event.preeditString().isEmpty()) {
        return false;
    }
    if (refused) {
        Refuse();  // once for the whole commit
    }
    if (kept.isEmpty() && !replaces && event.preeditString().isEmpty()) {
        return true;
    }
    QInputMethodEvent cleaned;
    if (replaceAllowed) {
        cleaned.setCommitString(kept, event.replacementStart(), event.replacementLength());
    } else {
        cleaned.setCommitString(kept);
    }
    QCoreApplication::sendEvent(watched, &cleaned);
    return true;
}

}  // namespace palquin
