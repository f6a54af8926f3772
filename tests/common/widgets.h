// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Elements of a window found by their objectName, as accessibility tools find them, and their
// texts compared under that name.

#include <QObject>
#include <QString>
#include <QVariant>
#include <QtGlobal>

namespace palquin::testing_support {

/// The element of root named objectName; a missing one (or one of another type) ends the test
/// run with a message naming it, rather than a crash somewhere later.
template <class T>
T* Find(const QObject& root, const QString& objectName) {
    T* found = root.findChild<T*>(objectName);
    if (found == nullptr) {
        qFatal("no %s named \"%s\" in %s", T::staticMetaObject.className(), qPrintable(objectName),
               qPrintable(root.objectName()));
    }
    return found;
}

template <class T>
T* Find(const QObject& root, const char* objectName) {
    return Find<T>(root, QLatin1String(objectName));
}

/// The same for one of a row of elements: Find<QComboBox>(window, "Combo1", 3) is "Combo1_3".
template <class T>
T* Find(const QObject& root, const char* name, int index) {
    return Find<T>(root, QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index));
}

/// The text an element shows: a selector's current text, else its "text" property.
inline QString TextOf(const QObject& root, const QString& objectName) {
    const QObject* found = Find<QObject>(root, objectName);
    const QVariant current = found->property("currentText");
    return (current.isValid() ? current : found->property("text")).toString();
}

}  // namespace palquin::testing_support

/// Compares the text of root's element named objectName (see TextOf) in a Qt test function, and
/// names the element when they differ.
#define COMPARE_TEXT(root, objectName, expected)                                                \
    do {                                                                                        \
        const QString actual_ = ::palquin::testing_support::TextOf(root, objectName);           \
        const QString expected_ = (expected);                                                   \
        QVERIFY2(                                                                               \
            actual_ == expected_,                                                               \
            qPrintable(                                                                         \
                QStringLiteral("%1: \"%2\", not \"%3\"").arg(objectName, actual_, expected_))); \
    } while (false)
