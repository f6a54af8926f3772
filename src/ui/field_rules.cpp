#include "ui/field_rules.h"

#include <QKeyEvent>

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

bool CoordinateInRange(double value) {
    return value >= 0.0 && value <= 180.0;
}
bool DiameterInRange(double value) {
    return value >= 0.0 && value <= 100.0;
}

KeyFilter::KeyFilter(KeyRule rule, Notifier* notifier, QObject* parent, Keys keys)
    : QObject(parent), rule_(rule), notifier_(notifier), keys_(keys) {}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto character = TypedCharacter(*static_cast<QKeyEvent*>(event));
    if (!character || KeyRuleAccepts(rule_, *character)) {
        return false;
    }
    if (keys_ == Keys::PrintableOnly && *character < u' ') {
        return false;
    }
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
    return true;  // the character never reaches the field
}

}  // namespace palquin
