// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui_test_support.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QTest>

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

TScreenSize::TScreenSize(QSize size) {
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
    if (platform != QStringLiteral("offscreen")) return;
    const QString config = FDir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    const QByteArray json = QStringLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": %1, "height": %2, )"
                                           R"("logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                                .arg(size.width())
                                .arg(size.height())
                                .toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.flush())
        throw std::runtime_error("cannot write the screen configuration");
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
}

void VerifyOnScreen(const QWidget* window, const QString& what) {
    const QRect area = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    QVERIFY2(area.contains(frame), qPrintable(QStringLiteral("%1: window %2,%3 %4x%5 (min %6x%7), screen %8x%9")
                                                  .arg(what)
                                                  .arg(frame.x())
                                                  .arg(frame.y())
                                                  .arg(frame.width())
                                                  .arg(frame.height())
                                                  .arg(window->minimumWidth())
                                                  .arg(window->minimumHeight())
                                                  .arg(area.width())
                                                  .arg(area.height())));
}

void ShowInstalledDataDir(QWidget* window, const QString& testDir) {
    auto* label = window->findChild<QLabel*>(QStringLiteral("lblDataDir"));
    if (label == nullptr) throw std::logic_error("no label lblDataDir");
    label->setText(label->text().replace(testDir, QStringLiteral("/usr/share/zevra/data")));
}

QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::AlternateBase, QColor(60, 60, 60));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(60, 60, 60));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

QString ExampleFile(const QString& name) { return QDir(QStringLiteral(ZEVRA_EXAMPLES_DIR)).filePath(name); }

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace zevra::test
