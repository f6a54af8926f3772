// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's five settings: loaded into the fields, kept by the watchdog, saved on
// closing and before a logout.
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <cstdio>

#include "catalogue/settings_watchdog.h"
#include "layout/slot_texts.h"
#include "text/text_codec.h"
#include "ui/catalogue_model.h"
#include "ui/main_window.h"
#include "ui/notifier.h"

namespace palquin {
namespace {

const QString kLoadFailedMessage = QStringLiteral("Ошибка в процедуре загрузки!");

}  // namespace

void MainWindow::LoadCatalogue(LoadResult loaded) {
    if (loaded.status == LoadResult::Status::Unreadable) {
        loadFailed_ = true;
        notifier_->Show(kLoadFailedMessage, kAppTitle, MessageIcon::None);
    }
    settingsLines_ = loaded.catalogue.Settings();
    const FileEncoding encoding = loaded.catalogue.Encoding();
    catalogue_->SetCatalogue(std::move(loaded.catalogue));
    // A model reset makes every selector pick its first item; slots start empty.
    for (QComboBox* selector : slotSelectors) {
        const QSignalBlocker blockCombo(selector);
        const QSignalBlocker blockEdit(selector->lineEdit());
        selector->setCurrentIndex(-1);
        selector->setEditText(QString());
    }

    const SettingsTexts settings = SettingsFromLines(settingsLines_);
    latitudeField->setText(DecodeFileText(settings[0], encoding));
    latitudeHemisphere->setCurrentIndex(-1);
    latitudeHemisphere->setEditText(DecodeFileText(settings[1], encoding));
    longitudeField->setText(DecodeFileText(settings[2], encoding));
    longitudeHemisphere->setCurrentIndex(-1);
    longitudeHemisphere->setEditText(DecodeFileText(settings[3], encoding));
    focalLengthField->setText(DecodeFileText(settings[4], encoding));
    slotHeadings[0]->setText(QString::fromUtf8(kCentralHeadingAtStart));
}

SettingsTexts MainWindow::CurrentSettings() const {
    const FileEncoding encoding = catalogue_->Text().Encoding();
    return {
        EncodeFileText(latitudeField->text(), encoding),
        EncodeFileText(latitudeHemisphere->currentText(), encoding),
        EncodeFileText(longitudeField->text(), encoding),
        EncodeFileText(longitudeHemisphere->currentText(), encoding),
        EncodeFileText(focalLengthField->text(), encoding),
    };
}

void MainWindow::WatchSettings() {
    SettingsWatchdog* watchdog = setup_.watchdog;
    // A catalogue that could not be read is never written, not even by the watchdog.
    if (watchdog == nullptr || loadFailed_) {
        return;
    }
    watchdog->Arm(setup_.folder, setup_.catalogueFile, catalogue_->Text(), CurrentSettings());
    // The copy follows every change of the five fields, so that it is current whenever the
    // window's thread stops.
    const auto update = [this, watchdog] { watchdog->Update(CurrentSettings()); };
    for (QLineEdit* field : {latitudeField, longitudeField, focalLengthField}) {
        connect(field, &QLineEdit::textChanged, this, update);
    }
    for (QComboBox* field : {latitudeHemisphere, longitudeHemisphere}) {
        connect(field, &QComboBox::editTextChanged, this, update);
        connect(field, &QComboBox::currentTextChanged, this, update);
    }
}

void MainWindow::SaveSettings(bool quietly) {
    // A catalogue that could not be read at start is left alone rather than overwritten.
    if (loadFailed_) {
        return;
    }
    const SettingsTexts settings = CurrentSettings();
    // Through the watchdog, so that its save and this one never both run.
    SaveResult saved;
    if (setup_.watchdog != nullptr) {
        saved = setup_.watchdog->SaveFromWindow(settings);
    } else if (setup_.catalogueFile.empty()) {
        saved = SaveSatelliteFile(setup_.folder, settings, catalogue_->Text());
    } else {
        saved = SaveSatelliteFileAt(setup_.catalogueFile, settings, catalogue_->Text());
    }
    if (!saved.ok) {
        const QString message =
            QStringLiteral("Не удалось сохранить настройки: %1. Файл на диске остался прежним.")
                .arg(QString::fromStdString(saved.error));
        // Asked to end by the system (a logout, kill): nobody may be there to close a box.
        if (quietly) {
            std::fputs((message.toStdString() + "\n").c_str(), stderr);
        } else {
            notifier_->Show(message, kAppTitle, MessageIcon::None);
        }
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Asked to end by the system (a logout, kill): nobody may be there to close a box.
    SaveSettings(closingOnRequest_);
    event->accept();
}

void MainWindow::CommitSessionData() {
    SaveSettings(true);
}

void MainWindow::CloseOnRequest() {
    closingOnRequest_ = true;
    close();
}

void MainWindow::EditDish() {
    std::optional<DishSettings> chosen;
    if (setup_.editDish) {
        chosen = setup_.editDish(dish_, this);
    } else {
        DishDialog dialog(dish_, this);
        if (dialog.exec() == QDialog::Accepted) {
            chosen = dialog.Settings();
        }
    }
    if (!chosen) {
        return;
    }
    dish_ = *chosen;
    if (!SaveDishSettings(dish_, setup_.dishSettingsFile)) {
        notifier_->Show(QStringLiteral("Параметры зеркала не сохранены: файл настроек недоступен "
                                       "для записи. До закрытия программы они действуют."),
                        kAppTitle, MessageIcon::None);
    }
    // The figures and the drawing change with the dish: every chosen slot is calculated again.
    RecalculateAll();
}

}  // namespace palquin
