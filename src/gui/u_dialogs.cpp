// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/u_dialogs.h"


#include <QApplication>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>
#include <stdexcept>

namespace zevra {

namespace {

std::unique_ptr<IDialogs>& CurrentDialogs() {
    static std::unique_ptr<IDialogs> current;
    return current;
}

QMessageBox::Icon IconOf(TMessageKind kind) {
    switch (kind) {
    case TMessageKind::Question: return QMessageBox::Question;
    case TMessageKind::Information: return QMessageBox::Information;
    case TMessageKind::Warning: return QMessageBox::Warning;
    case TMessageKind::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QString NameFilters(const std::vector<TFileFilter>& filters) {
    QStringList list;
    for (const TFileFilter& f : filters) {
        const bool showsPattern = f.Description.contains(QLatin1Char('('));
        list << (showsPattern ? f.Description : f.Description + QStringLiteral(" (") + f.Patterns + QLatin1Char(')'));
    }
    return list.join(QStringLiteral(";;"));
}

std::optional<QString> RunFileDialog(const TFileDialogOptions& options, bool save) {
    for (;;) {
        QFileDialog dialog(QApplication::activeWindow(), options.Title, options.InitialDir, NameFilters(options.Filters));
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(options.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // The callers ask the overwrite question themselves.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        dialog.setDefaultSuffix(options.DefaultSuffix);
        if (!options.ProposedName.isEmpty()) dialog.selectFile(options.ProposedName);
        if (options.SelectedFilter > 0 && options.SelectedFilter < static_cast<int>(options.Filters.size()))
            dialog.selectNameFilter(dialog.nameFilters().value(options.SelectedFilter));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        const QString path = dialog.selectedFiles().constFirst();
        if (options.ChosenFilter)
            *options.ChosenFilter =
                std::max(0, static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter())));
        const QFileInfo info(path);
        if (options.RefuseReadOnly && info.exists() && !info.isWritable()) {
            QMessageBox::warning(dialog.parentWidget(), options.Title,
                                 QStringLiteral("Soubor je určen pouze pro čtení:\n") + path);
            continue;
        }
        // A typed name in a folder that does not exist would only fail at
        // the save itself, after the user has left the dialog.
        if (save && !info.absoluteDir().exists()) {
            QMessageBox::warning(dialog.parentWidget(), options.Title,
                                 QStringLiteral("Složka neexistuje:\n") + info.absolutePath());
            continue;
        }
        return path;
    }
}

}  // namespace

IDialogs& Dialogs() {
    if (!CurrentDialogs()) throw std::logic_error("no dialogs installed");
    return *CurrentDialogs();
}

std::unique_ptr<IDialogs> SetDialogs(std::unique_ptr<IDialogs> dialogs) {
    std::unique_ptr<IDialogs> previous = std::move(CurrentDialogs());
    CurrentDialogs() = std::move(dialogs);
    return previous;
}

bool TQtDialogs::AskYesNo(const QString& caption, const QString& text, bool defaultNo) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

namespace {

// A message box centred on the available area of its screen once its size
// is known (a message box sizes itself only as it is shown).
class TScreenCentredBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
};

}  // namespace

void TQtDialogs::ShowMessage(TMessageKind kind, const QString& caption, const QString& text,
                             TMessagePlacement placement) {
    if (placement == TMessagePlacement::ScreenCentre) {
        TScreenCentredBox box(IconOf(kind), caption, text, QMessageBox::Ok, QApplication::activeWindow());
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
        return;
    }
    QMessageBox box(IconOf(kind), caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

std::optional<QString> TQtDialogs::OpenFileName(const TFileDialogOptions& options) { return RunFileDialog(options, false); }

std::optional<QString> TQtDialogs::SaveFileName(const TFileDialogOptions& options) { return RunFileDialog(options, true); }

}  // namespace zevra
