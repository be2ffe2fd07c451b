// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch window's output file: the format its name's extension chooses
// among the registered formats, the name a save dialog proposes, the
// agreement of a chosen filter with a typed extension, and the save itself,
// written off the GUI thread with its progress shown.
#include "batch/gui/u_batch.h"

#include "batch/core/u_batchmessages.h"
#include "batch/gui/u_batch_progress.h"
#include "model/u_object.h"
#include "model/u_savefile.h"
#include "model/u_text.h"
#include "gui/u_gui_functions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

namespace zevra {

namespace {

std::string PathOf(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

QString FirstExtension(const TOutputFormat& format) {
    return format.Extensions.empty() ? QString() : ToQ(format.Extensions.front());
}

}  // namespace

const TOutputFormat* TfrmBatchProcessing::FormatOfName(const QString& name) const {
    const std::string lower = AsciiLower(name.toStdString());
    for (const TOutputFormat& format : FFormats.All()) {
        for (const std::string& extension : format.Extensions)
            if (lower.ends_with(extension)) return &format;
    }
    return nullptr;
}

QString TfrmBatchProcessing::ProposedOutputName(const TOutputFormat& format) const {
    const QString typed = edOutputFile->text().trimmed();
    if (!typed.isEmpty()) return typed;
    const QString source = QFile::decodeName(QByteArray::fromStdString(FLoadedFile)).trimmed();
    if (source.isEmpty()) return QString();
    const QFileInfo info(source);
    return info.completeBaseName() + FirstExtension(format);
}

std::optional<QString> TfrmBatchProcessing::AgreeOnFormat(const QString& chosen, const TOutputFormat& filter) {
    const TOutputFormat* typed = FormatOfName(chosen);
    if (typed == &filter) return chosen;
    // No extension of any format: the filter's is added.
    if (!typed) return chosen + FirstExtension(filter);
    // The name's extension names another format than the filter: the user
    // says which one is meant; the name always ends as its format.
    const QFileInfo info(chosen);
    const QString asFilter = info.dir().filePath(info.completeBaseName() + FirstExtension(filter));
    const QString question =
        QStringLiteral("Přípona souboru „%1“ neodpovídá zvolenému typu souboru „%2“.\r\n"
                       "Uložit výsledky ve formátu „%2“ jako „%3“?\r\n"
                       "(Ne: uložit je ve formátu „%4“ pod zadaným jménem.)")
            .arg(info.fileName(), ToQ(filter.FilterTitle), QFileInfo(asFilter).fileName(), ToQ(typed->FilterTitle));
    return AskYesNo(question, false) ? asFilter : chosen;
}

// The format follows the name's extension; a name without the extension of
// any format gets the first format's (the HTML table), so that the file
// written is always the one the field shows and can be opened by its type.
bool TfrmBatchProcessing::WriteHtmlOutput() {
    // Writing the results over the file they came from would destroy it. The
    // check takes both names as the loader and the writers do (FileNameOf),
    // so that it compares the very files that are read and written.
    // The file the rows came from counts as well as the one the field names.
    const std::string input = PathOf(edInputFile->text());
    std::string output = PathOf(edOutputFile->text());
    const auto refuseInput = [&] {
        for (const std::string& source : {input, FLoadedFile}) {
            if (!IsBlank(source) && !IsBlank(output) && SameFile(source, output))
                throw EZevraError(SameAsInputMessage(FileNameOf(output)));
        }
    };
    refuseInput();
    if (!IsBlank(output) && !FormatOfName(QString::fromStdString(FileNameOf(output)))) {
        const QString named = QFile::decodeName(QByteArray::fromStdString(FileNameOf(output)));
        edOutputFile->setText(named + FirstExtension(FFormats.All().front()));
        output = PathOf(edOutputFile->text());
        refuseInput();
    }
    const TOutputFormat& format = FFormats.ForFile(FileNameOf(output));
    // The write only reads the batch; the window takes no input meanwhile.
    FSaving = true;
    bool written = false;
    try {
        written = RunOffGuiThread(this, QStringLiteral("Ukládání výsledků..."),
                                  [&](const TBatchProgress& progress) { format.Write(FBatch, output, progress); });
    } catch (...) {
        FSaving = false;
        throw;
    }
    FSaving = false;
    return written;
}

}  // namespace zevra
