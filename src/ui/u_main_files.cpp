// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The files of TfrmMain: the input data file loaded and saved, the report
// composed, saved as RTF and copied.
#include "model/u_format.h"
#include "model/u_object.h"
#include "model/u_savefile.h"
#include "model/u_text.h"
#include "report/u_Tags.h"
#include "report/u_plaintext.h"
#include "report/u_report.h"
#include "report/u_rtf.h"
#include "gui/u_dialogs.h"
#include "gui/u_gui_functions.h"
#include "ui/u_main.h"
#include "ui/u_numedit.h"
#include "ui/u_report_view.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QTextCursor>
#include <QTextEdit>

#include <memory>

namespace zevra {

namespace {

std::string PathOf(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

std::vector<TFileFilter> InputFileFilters() {
    return {{QStringLiteral("Textové soubory (*.txt)"), QStringLiteral("*.txt")},
            {QStringLiteral("Všechny soubory (*)"), QStringLiteral("*")}};
}

}  // namespace

void TfrmMain::btLoadInputDataClick() {
    TFileDialogOptions options;
    options.Title = QStringLiteral("Vyberte soubor se vstupními daty");
    options.Filters = InputFileFilters();
    options.DefaultSuffix = QStringLiteral("txt");
    options.InitialDir = StartFolder(TFileKind::InputData);
    // Reading needs no write access: an installed example or a file on a
    // read-only share loads as any other.
    options.MustExist = true;
    const std::optional<QString> fileName = Dialogs().OpenFileName(options);
    if (!fileName) return;
    RememberFolder(TFileKind::InputData, *fileName);
    FModel->LoadInput(PathOf(*fileName));
    InputToControls();
}

void TfrmMain::btSaveInputDataClick() {
    // The record holds only what the fields could keep: a number in error
    // would be saved as another one.
    const std::vector<std::string> fieldErrors = FieldErrors();
    if (!fieldErrors.empty()) {
        QString text = QStringLiteral("Vstupní data nelze uložit, dokud nejsou opravena tato pole:");
        for (const std::string& line : fieldErrors) text += QLatin1Char('\n') + ToQ(line);
        ShowWarning(text);
        return;
    }
    TFileDialogOptions options;
    options.Filters = InputFileFilters();
    options.DefaultSuffix = QStringLiteral("txt");
    options.InitialDir = StartFolder(TFileKind::InputData);
    options.ProposedName = FileNameOf(edNazevObce->text()) + QStringLiteral(".txt");
    options.RefuseReadOnly = true;
    const std::optional<QString> fileName = Dialogs().SaveFileName(options);
    if (!fileName) return;
    RememberFolder(TFileKind::InputData, *fileName);
    if (QFileInfo::exists(*fileName) && !AskYesNo(QStringLiteral("Soubor již existuje. Chcete jej přepsat?"))) return;
    FModel->SaveInput(PathOf(*fileName));
    ShowInfo(QStringLiteral("Vstupní data byla uložena."));
}

void TfrmMain::ComposeReport() {
    ClearReport();
    FReportEntries = ComposeReportEntries(*FModel->Output());
    TRichTextSink sink(*redObyvatelstvoResult);
    RenderMarkup(sink, FReportEntries);
    redObyvatelstvoResult->moveCursor(QTextCursor::Start);
}

void TfrmMain::ClearReport() {
    ClearRichText(*redObyvatelstvoResult);
    FReportEntries.clear();
}

void TfrmMain::btSaveOutputClick() {
    TFileDialogOptions options;
    options.Filters = {{QStringLiteral("Dokumenty RTF (*.rtf)"), QStringLiteral("*.rtf")},
                       {QStringLiteral("Všechny soubory (*)"), QStringLiteral("*")}};
    options.DefaultSuffix = QStringLiteral("rtf");
    options.InitialDir = StartFolder(TFileKind::Report);
    options.ProposedName = FileNameOf(edNazevObce->text()) + QStringLiteral(".rtf");
    const std::optional<QString> fileName = Dialogs().SaveFileName(options);
    if (!fileName) return;
    RememberFolder(TFileKind::Report, *fileName);
    if (QFileInfo::exists(*fileName) && !AskYesNo(QStringLiteral("Soubor již existuje. Chcete jej přepsat?"))) return;
    SaveFile(PathOf(*fileName), RenderRtfDocument(FReportEntries));
}

void TfrmMain::btCopyOutputToClipboardClick() {
    const std::string rtf = RenderRtfDocument(FReportEntries);
    const QByteArray rtfBytes(rtf.data(), static_cast<qsizetype>(rtf.size()));
    auto mime = std::make_unique<QMimeData>();
    mime->setData(QStringLiteral("text/rtf"), rtfBytes);
    mime->setData(QStringLiteral("application/rtf"), rtfBytes);
    mime->setHtml(ClipboardHtml(*redObyvatelstvoResult->document()));
    // One line end throughout, the clipboard's CR LF (the entries carry CR LF
    // inside and the plain-text writer ends each with LF).
    QString plain = ToQ(RenderPlainText(FReportEntries));
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    mime->setText(plain);
    QGuiApplication::clipboard()->setMimeData(mime.release());
}

}  // namespace zevra
