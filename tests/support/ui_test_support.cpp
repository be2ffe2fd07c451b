// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui_test_support.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace zevra::test {

namespace {

void AppendMunicipalities(QFile& file, const QString& name, int count, int firstCode) {
    for (int i = 0; i < count; ++i) {
        const QString record = QStringLiteral("\r\nObec=%1\r\nKod=%2\r\nOkres=Okres %3\r\n")
                                   .arg(name)
                                   .arg(firstCode + i)
                                   .arg(i + 1);
        file.write(record.toLatin1());
    }
}

}  // namespace

TTestDataDir::TTestDataDir() {
    const QDir source(QStringLiteral(ZEVRA_TEST_DATA_DIR));
    for (const QString& name : source.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        if (!QFile::copy(source.filePath(name), FDir.filePath(name)))
            throw std::runtime_error("cannot copy the reference data");
    }
    QFile list(FDir.filePath(QStringLiteral("MuniInfo.txt")));
    if (!list.open(QIODevice::Append)) throw std::runtime_error("cannot extend the municipality list");
    AppendMunicipalities(list, QStringLiteral("Jedinov"), 1, 999001);
    AppendMunicipalities(list, QStringLiteral("Dvojnice"), 14, 999101);
    AppendMunicipalities(list, QStringLiteral("Mnohov"), 15, 999201);
}

TScriptedDialogsScope::TScriptedDialogsScope() {
    auto dialogs = std::make_unique<TScriptedDialogs>();
    FDialogs = dialogs.get();
    FPrevious = SetDialogs(std::move(dialogs));
}

TScriptedDialogsScope::~TScriptedDialogsScope() { SetDialogs(std::move(FPrevious)); }

QString ExampleFile(const QString& name) { return QDir(QStringLiteral(ZEVRA_EXAMPLES_DIR)).filePath(name); }

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace zevra::test
