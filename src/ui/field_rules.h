// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QValidator>
#include <optional>

#include "core/field_ranges.h"  // the range rules the fields' messages announce

class QInputMethodEvent;
class QKeyEvent;

namespace palquin {

class Notifier;

// Messages of the field rules.
inline const QString kFormatMessage = QStringLiteral("Формат поля: ###.##!");
inline const QString kChooseFromListMessage = QStringLiteral("Выберите значение из списка!");
inline const QString kKeyFilterTitle = QStringLiteral("!!!!!!!!");
inline const QString kCoordinateRangeMessage = QStringLiteral("Диапазон координат: от 0") +
                                               QChar(0x00B0) + QStringLiteral(" до 180") +
                                               QChar(0x00B0) + QStringLiteral("!");
inline const QString kDiameterRangeMessage =
    QStringLiteral("Размер диаметра от 0") + QStringLiteral(" до 100") + QStringLiteral(" мм. !");

/// The character a key press types, as its code; empty for keys that type nothing (arrows,
/// Delete, Tab, function keys), which never reach a key filter.
std::optional<char16_t> TypedCharacter(const QKeyEvent& event);

/// Which characters a field lets through.
enum class KeyRule {
    Number,      ///< sh, dl, fokus: digits, '.', Backspace, Enter; else kFormatMessage
    Diameter,    ///< diam(i): digits, Backspace, Enter; else dropped silently
    NorthSouth,  ///< cmbNS: 'N' and 'S' only; else kChooseFromListMessage
    EastWest,    ///< cmbEW: 'E' and 'W' only; else kChooseFromListMessage
    Satellite,   ///< Combo1_i: nothing; kChooseFromListMessage
};

bool KeyRuleAccepts(KeyRule rule, char16_t character);

/// Drops CR and LF from whatever reaches a settings field (pasted, dropped, set): every
/// setting is one line of satellite.txt, and a line break there would shift the ones after it.
class LineBreakDropper : public QValidator {
    Q_OBJECT
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& cursor) const override;
};

/// Applies a KeyRule to the key presses of the widgets it is installed on: a refused character
/// is announced (where the rule has a message) and never reaches the field. Text an input
/// method commits goes through the same rule, and the fields tell input methods they take none.
class KeyFilter : public QObject {
    Q_OBJECT
  public:
    enum class Keys {
        All,            ///< every typed character, Backspace and Enter included
        PrintableOnly,  ///< printable characters only: an open list keeps Enter and Escape
    };
    KeyFilter(KeyRule rule, Notifier* notifier, QObject* parent, Keys keys = Keys::All);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Refuse() const;
    bool FilterInputMethod(QObject* watched, QInputMethodEvent& event) const;

    KeyRule rule_;
    Notifier* notifier_;
    Keys keys_;
};

}  // namespace palquin
