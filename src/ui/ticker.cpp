// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ticker.h"

#include <QLabel>

namespace palquin {

QStringList AboutTicker::AboutLines() {
    return {
        QStringLiteral("Программа Dorvik предназначена для расчета мультифида и определения "
                       "направления на спутник."),
        QStringLiteral("Программа распространяется свободно и бесплатно,"),
        QStringLiteral("ее можно копировать и передавать другим пользователям"),
        QStringLiteral("при условии, что все файлы программы передаются вместе"),
        QStringLiteral("и в неизменном виде, без взимания платы за саму программу."),
        QStringLiteral("Программа предоставляется «как есть», без каких-либо гарантий;"),
        QStringLiteral("результаты расчета следует проверять при настройке антенны,"),
        QStringLiteral("и всю ответственность за их применение несет пользователь."),
        QStringLiteral("Названия спутников и операторов принадлежат их владельцам."),
        QStringLiteral("Вопросы и предложения по программе направляйте ее разработчикам."),
    };
}

AboutTicker::AboutTicker(QLabel* label, QObject* parent)
    : QObject(parent), label_(label), lines_(AboutLines()) {
    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &AboutTicker::Tick);
    timer_.start();
}

void AboutTicker::Tick() {
    label_->setText(li_ >= 0 && li_ < lines_.size() ? lines_.at(li_) : QString());
    ++li_;
    if (li_ > 10) {
        li_ = 0;
    }
}

}  // namespace palquin
