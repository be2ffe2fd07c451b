// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The small windows and controls: helpers and error box, the numeric field,
// the radio group, the choice dialog and the report view.
#include "ui/VUNORadioGroup.h"
#include "model/u_format.h"
#include "model/u_object.h"
#include "ui_test_support.h"
#include "gui/u_application.h"
#include "ui/u_frm_Vyber.h"
#include "gui/u_dialogs.h"
#include "gui/u_gui_functions.h"
#include "ui/u_numedit.h"
#include "ui/u_report_view.h"
#include "gui/u_palette.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QScreen>
#include <QTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>

#include <stdexcept>

using namespace zevra;
using TType = TScriptedDialogs::TRequest::TType;

namespace {

// An object whose event handler fails, as a handler of the model would.
class TFailingObject : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw EZevraError("Soubor nelze otevřít");
        return QObject::event(e);
    }
};

// Two fields in a shown, active window, so that focus moves between them.
struct TFieldWindow {
    QWidget Window;
    TNumberEdit* Field = new TNumberEdit(&Window);
    QLineEdit* Other = new QLineEdit(&Window);
    TFieldWindow() {
        auto* layout = new QVBoxLayout(&Window);
        layout->addWidget(Field);
        layout->addWidget(Other);
        Window.show();
        Window.activateWindow();
    }
    void Enter() { Field->setFocus(Qt::TabFocusReason); }
    void Leave() { Other->setFocus(Qt::TabFocusReason); }
};

// The toolkit's boxes alone; the program's own windows are not needed here.
class TBoxesOnly final : public TQtDialogs {
public:
    int ShowChoice(const QString&, const QString&, const QStringList&, int) override { return -1; }
    void ShowInfoText(const QString&, const QString&, const QString&) override {}
    void ShowComposite(const ECompositeException&, QWidget*) override {}
};

}  // namespace

class TestWidgets : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetThousandSeparator(" "); }

    void fullStopRule() {
        const std::pair<const char*, const char*> cases[] = {
            {"Chyba", "Chyba."}, {"Chyba!", "Chyba!"}, {"Chyba.", "Chyba."}, {"(x)", "(x)"},
            {"nalezen!\r\n[C:/data/Regions.txt]", "nalezen!\r\n[C:/data/Regions.txt]."},
            {"soubor/", "soubor/."}, {nullptr, nullptr}};  // the last: a null text
        for (const auto& [text, expected] : cases)
            QCOMPARE(WithFullStop(QString::fromUtf8(text)), QString::fromUtf8(expected));
    }

    // The real message box, when asked to stand on the screen: centred
    // there, not with its corner at the centre.
    void messageBoxPlacement() {
        QWidget owner;
        owner.setGeometry(20, 30, 300, 200);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        owner.activateWindow();
        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        for (const TMessagePlacement placement : {TMessagePlacement::ScreenCentre}) {
            QPoint centre;
            QTimer::singleShot(0, [&] {
                QWidget* box = QApplication::activeModalWidget();
                if (!box) return;
                centre = box->frameGeometry().center();
                box->close();
            });
            TBoxesOnly().ShowMessage(TMessageKind::Error, QStringLiteral("ZEVRAModel"), QStringLiteral("text"), placement);
            QVERIFY2((centre - screenCentre).manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
        }
    }

    void proposedFileNames() {
        const std::pair<const char*, const char*> cases[] = {
            {"Lhota/Nová", "Lhota-Nová"}, {"A\\B:C*D?E\"F<G>H|I", "A-B-C-D-E-F-G-H-I"},
            {"Tab\tkonec", "Tab-konec"},  {"Hněvkovice u Opavy", "Hněvkovice u Opavy"}, {"", ""}};
        for (const auto& [name, proposed] : cases)
            QCOMPARE(FileNameOf(QString::fromUtf8(name)), QString::fromUtf8(proposed));
    }

    void messageBoxesHaveTheirCaptions() {
        test::TScriptedDialogsScope dialogs;
        dialogs->YesNoAnswers = {true};
        QVERIFY(AskYesNo(QStringLiteral("Prvni\r\nDruhy")));
        QVERIFY(!AskYesNo(QStringLiteral("Bez odpovedi")));  // closing the box counts as No
        ShowInfo(QStringLiteral("Info"));
        ShowWarning(QStringLiteral("Pozor"));
        const auto& r = dialogs->Requests;
        QCOMPARE(r.size(), std::size_t(4));
        QCOMPARE(r[0].Caption, QStringLiteral("Otázka"));
        QCOMPARE(r[0].Text, QStringLiteral("Prvni\nDruhy"));
        QVERIFY(r[0].DefaultNo);
        QCOMPARE(r[2].Kind, TMessageKind::Information);
        QCOMPARE(r[2].Caption, QStringLiteral("Upozornění"));
        QCOMPARE(r[3].Kind, TMessageKind::Warning);
        QCOMPARE(r[3].Caption, QStringLiteral("Varování"));
    }

    void exceptionInEventHandlerShowsErrorBox() {
        test::TScriptedDialogsScope dialogs;
        TFailingObject failing;
        QEvent event(QEvent::User);
        QApplication::sendEvent(&failing, &event);  // the application goes on
        const auto errors = dialogs->RequestsOf(TType::Message);
        QCOMPARE(errors.size(), std::size_t(1));
        QCOMPARE(errors[0].Kind, TMessageKind::Error);
        QCOMPARE(errors[0].Caption, QStringLiteral("ZEVRAModel"));
        QCOMPARE(errors[0].Text, QStringLiteral("Soubor nelze otevřít."));

        bool ranBefore = false;
        RunGuarded([&] {
            ranBefore = true;
            throw std::runtime_error("Hodnota!");
        });
        QVERIFY(ranBefore);
        QCOMPARE(dialogs->Requests.back().Text, QStringLiteral("Hodnota!"));
    }

    void setControlEnabledColoursOnlyFields() {
        QLineEdit edit;
        QPushButton button;
        const QPalette buttonPalette = button.palette();
        SetControlEnabled(&edit, false, Qt::white);
        SetControlEnabled(&button, false, Qt::white);
        QVERIFY(!edit.isEnabled());
        QVERIFY(!button.isEnabled());
        QCOMPARE(edit.palette().color(QPalette::Base), ButtonFaceColor());
        QCOMPARE(button.palette(), buttonPalette);
        SetControlEnabled(&edit, true, QColor(1, 2, 3));
        QVERIFY(edit.isEnabled());
        QCOMPARE(edit.palette().color(QPalette::Base), QColor(1, 2, 3));
        QCOMPARE(VersionText(), QStringLiteral("1.0.0.0"));
    }

    void numberFieldShowsItsFormats() {
        TNumberEdit field;
        field.SetDisplayFormat(QStringLiteral(",0"));
        field.SetRange(0, 9999999);
        QCOMPARE(field.text(), QString());  // 0 is an empty field
        field.SetValue(1234567);
        QCOMPARE(field.text(), QStringLiteral("1 234 567"));
        QCOMPARE(field.EditText(), QStringLiteral("1234567"));
        field.SetValue(12345678);  // kept, and shown as an error
        QCOMPARE(field.Value(), 12345678.0);
        QCOMPARE(field.InputError(), QStringLiteral("Zadejte hodnotu od 0 do 9 999 999."));

        TNumberEdit area;
        area.SetDisplayFormat(QStringLiteral(",0.000"));
        area.SetDecimals(3);
        area.SetRange(0, 99999.999);
        area.SetValue(4446.5);
        QCOMPARE(area.text(), QStringLiteral("4 446.500"));
        QCOMPARE(area.EditText(), QStringLiteral("4446.5"));

        // Shown to the field's decimals, more when the format has fewer;
        // the value set is kept exactly while its text is not edited.
        TNumberEdit road;
        road.SetDisplayFormat(QStringLiteral(",0.0"));
        road.SetDecimals(1);
        road.SetRange(0, 999.999);
        road.SetValue(2.345);
        QCOMPARE(road.EditText(), QStringLiteral("2.3"));
        QCOMPARE(road.text(), QStringLiteral("2.3"));
        QCOMPARE(road.Value(), 2.345);
        road.SetDecimals(3);
        road.SetValue(2.345);
        QCOMPARE(road.text(), QStringLiteral("2.345"));
        road.SetValue(1.5);
        QCOMPARE(road.text(), QStringLiteral("1.5"));

        TNumberEdit code;  // no range: any value, plain format
        code.SetDisplayFormat(QStringLiteral("0"));
        code.SetValue(-1234567);
        QCOMPARE(code.text(), QStringLiteral("-1234567"));
        QCOMPARE(code.Value(), -1234567.0);
    }

    void numberFieldTypingAndFocus() {
        TFieldWindow w;
        w.Field->SetDecimals(1);
        w.Field->SetRange(0, 2000);
        w.Field->SetValue(1500);
        QVERIFY(QTest::qWaitForWindowActive(&w.Window));
        w.Enter();
        QCOMPARE(w.Field->text(), QStringLiteral("1500"));  // plain while focused
        w.Field->selectAll();
        QTest::keyClicks(w.Field, QStringLiteral("4a1-2,5"));
        QCOMPARE(w.Field->text(), QStringLiteral("412,5"));  // letter and sign refused
        w.Leave();
        QCOMPARE(w.Field->text(), QStringLiteral("412.5"));  // its decimal shows
        QCOMPARE(w.Field->Value(), 412.5);

        w.Enter();
        w.Field->selectAll();
        QTest::keyClicks(w.Field, QStringLiteral("1999"));
        w.Leave();
        QCOMPARE(w.Field->text(), QStringLiteral("1 999"));

        w.Enter();
        w.Field->selectAll();
        QTest::keyClicks(w.Field, QStringLiteral("7.5"));
        QTest::keyClick(w.Field, Qt::Key_Escape);
        QCOMPARE(w.Field->text(), QStringLiteral("1999"));  // Esc restores the value on entry
        w.Field->selectAll();
        QTest::keyClicks(w.Field, QStringLiteral("."));
        QCOMPARE(w.Field->Value(), 0.0);  // no number: the minimum
        w.Leave();
        QCOMPARE(w.Field->text(), QString());

    }

    // A number the field cannot keep, typed or pasted, is never turned into
    // another one: the text stays as entered and the field says why, in
    // Czech, from the first wrong character until it is corrected.
    void numberFieldKeepsWhatItCannotHold() {
        const struct {
            int Decimals;
            const char* Entered;
            bool Paste;
            const char* Error;  // empty: a value of the field
        } cases[] = {
            {0, "12,5", false, "Zadejte celé číslo, bez desetinné čárky."},
            {0, "30.5", false, "Zadejte celé číslo, bez desetinné čárky."},
            {0, "12,5", true, "Zadejte celé číslo, bez desetinné čárky."},
            {0, "12345", false, "Zadejte hodnotu od 0 do 9 999."},  // not made 9999
            {0, "12.", false, "Zadejte celé číslo, bez desetinné čárky."},
            {1, "2.345", false, "Zadejte nejvýše 1 desetinné místo."},
            {3, "1,2345", true, "Zadejte nejvýše 3 desetinná místa."},
            {1, "412,5", false, ""},
            {0, "125", true, ""},
        };
        for (const auto& c : cases) {
            const QString entered = QString::fromUtf8(c.Entered);
            TFieldWindow w;
            w.Field->SetDecimals(c.Decimals);
            w.Field->SetRange(0, 9999);
            QVERIFY(QTest::qWaitForWindowActive(&w.Window));
            w.Enter();
            QSignalSpy shown(w.Field, &TNumberEdit::InputErrorChanged);
            if (c.Paste) {
                QGuiApplication::clipboard()->setText(entered);
                w.Field->paste();
            } else {
                QTest::keyClicks(w.Field, entered);
            }
            const QString error = QString::fromUtf8(c.Error);
            QCOMPARE(w.Field->InputError(), error);
            QCOMPARE(shown.isEmpty(), error.isEmpty());  // at once, not at the end
            w.Leave();
            if (error.isEmpty()) continue;
            QCOMPARE(w.Field->text(), entered);  // kept as typed
            QCOMPARE(w.Field->InputError(), error);
            QCOMPARE(w.Field->toolTip(), error);
            QVERIFY(ContrastRatio(w.Field->palette().color(QPalette::Base), w.Field->palette().color(QPalette::Text)) >= 4.5);
            w.Enter();  // corrected: the error goes
            w.Field->selectAll();
            QTest::keyClicks(w.Field, QStringLiteral("7"));
            QVERIFY(!w.Field->HasInputError());
            QCOMPARE(shown.last().value(0).toString(), QString());
        }
    }

    void radioGroupRules() {
        TVUNORadioGroup group;
        group.resize(200, 100);
        group.SetColumns(0);
        QCOMPARE(group.Columns(), 1);
        group.SetColumns(20);
        QCOMPARE(group.Columns(), 16);
        group.SetColumns(2);
        group.SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        QCOMPARE(group.ButtonCount(), 3);
        QCOMPARE(group.ItemIndex(), -1);
        QSignalSpy clicks(&group, &TVUNORadioGroup::Clicked);
        group.SetItemIndex(99);
        QCOMPARE(group.ItemIndex(), 2);
        QVERIFY(group.Button(2)->isChecked());
        QCOMPARE(clicks.count(), 0);  // setting the index fires no click
        group.SetItems({QStringLiteral("x"), QStringLiteral("y")});
        QCOMPARE(group.ItemIndex(), 1);
        QVERIFY(group.Button(1)->isChecked());
        QCOMPARE(group.Button(0)->text(), QStringLiteral("x"));
        group.SetItemIndex(-7);
        QCOMPARE(group.ItemIndex(), -1);
        QVERIFY(!group.Button(0)->isChecked() && !group.Button(1)->isChecked());

        // Layout: two columns of 200 - 10 split, rows below the caption.
        group.SetItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
        const int h = QFontMetrics(group.ItemsFont()).height();
        const int freeHeight = 100 - h - 5;
        const int top = h + 1 + (freeHeight % 2) / 2;
        QCOMPARE(group.Button(0)->geometry(), QRect(8, top, 95, freeHeight / 2));
        QCOMPARE(group.Button(3)->geometry(), QRect(8 + 95, top + freeHeight / 2, 95, freeHeight / 2));

        QFont big = group.font();
        big.setPointSize(big.pointSize() + 6);
        group.SetItemsFont(big);
        QCOMPARE(group.Button(2)->font(), big);
        QVERIFY(group.font() != big);

        group.show();
        QTest::mouseClick(group.Button(2), Qt::LeftButton, {}, QPoint(6, group.Button(2)->height() / 2));
        QCOMPARE(group.ItemIndex(), 2);
        QCOMPARE(clicks.count(), 1);
        group.setEnabled(false);
        QVERIFY(!group.Button(0)->isEnabled());
    }

    void choiceDialogStartsWithItsChoice() {
        TfrmVyber chosen;
        chosen.Prepare(QStringLiteral("Výběr obce"), QString(), {QStringLiteral("A"), QStringLiteral("B")}, 0);
        QVERIFY(chosen.rgVyber->Button(0)->isChecked());
        QVERIFY(chosen.btOk->isEnabled());
        QVERIFY(chosen.gbOtazka->isHidden());  // an empty question hides its box
        QCOMPARE(chosen.height(), 17 * 2 + 24 + 29);
        QCOMPARE(chosen.width(), TfrmVyber::DesignClientWidth);  // narrow lines keep the design width
        QCOMPARE(chosen.rgVyber->title(), QStringLiteral("Výběr obce"));

        TfrmVyber none;
        const QString wide(40, QLatin1Char('W'));
        none.Prepare(QStringLiteral("Vyberte"), QStringLiteral("Která?\r\nTa druhá"), {QStringLiteral("A"), wide}, -1);
        QVERIFY(!none.btOk->isEnabled());
        QVERIFY(!none.gbOtazka->isHidden());
        QCOMPARE(none.mmOtazka->toPlainText(), QStringLiteral("Která?\nTa druhá"));
        QCOMPARE(none.width(), QFontMetrics(none.font()).horizontalAdvance(wide) + 30);
        QVERIFY(none.minimumSize() != none.maximumSize());  // may be resized
        QCOMPARE(none.height(), 100 + 17 * 2 + 24 + 29);
        none.show();
        QTest::mouseClick(none.rgVyber->Button(1), Qt::LeftButton);
        QVERIFY(none.btOk->isEnabled());
    }

    void choiceDialogResults() {
        const QStringList lines{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
        TfrmVyber ok;
        ok.Prepare(QStringLiteral("x"), QString(), lines, 1);
        ok.open();
        ok.rgVyber->Button(2)->click();
        ok.btOk->click();
        QCOMPARE(ok.Choice(), 2);

        // The keyboard: it opens on the first line, focused; Enter chooses,
        // Esc cancels.
        for (const auto& [key, expected] : {std::pair{Qt::Key_Return, 0}, std::pair{Qt::Key_Escape, -1}}) {
            TfrmVyber keyed;
            keyed.Prepare(QStringLiteral("x"), QString(), lines, 0);
            keyed.open();
            QVERIFY(QTest::qWaitForWindowActive(&keyed));
            QCOMPARE(QApplication::focusWidget(), keyed.rgVyber->Button(0));
            QTest::keyClick(QApplication::focusWidget(), key);
            QVERIFY(!keyed.isVisible());
            QCOMPARE(keyed.Choice(), expected);
        }

        TfrmVyber cancelled;
        cancelled.Prepare(QStringLiteral("x"), QString(), lines, 1);
        cancelled.open();
        cancelled.btCancel->click();
        QCOMPARE(cancelled.Choice(), -1);

        TfrmVyber closed;
        closed.Prepare(QStringLiteral("x"), QString(), lines, 0);
        closed.open();
        closed.close();  // the close box
        QCOMPARE(closed.Choice(), -1);
    }

    void richTextSinkInsertsRuns() {
        QTextEdit view;
        view.setPlainText(QStringLiteral("před"));
        TRichTextSink sink(view);
        RenderMarkup(sink, {"Obec: [b]Lhota[/b]", "[i]a\r\nb[/i] c"});
        const QTextDocument& doc = *view.document();
        // Appended at the end of the old text; every entry ends its paragraph.
        QCOMPARE(doc.blockCount(), 3);
        QCOMPARE(doc.findBlockByNumber(0).text(), QStringLiteral("předObec: Lhota"));
        QCOMPARE(doc.findBlockByNumber(1).text(), QStringLiteral("a") + QChar(QChar::LineSeparator) + QStringLiteral("b c"));
        QCOMPARE(doc.findBlockByNumber(2).text(), QString());
        QTextCursor cursor(view.document());
        cursor.setPosition(12);  // inside "Lhota"
        QVERIFY(cursor.charFormat().fontWeight() == QFont::Bold);
        cursor.setPosition(7);  // inside "Obec: "
        QVERIFY(cursor.charFormat().fontWeight() != QFont::Bold);
        const int second = doc.findBlockByNumber(1).position();
        cursor.setPosition(second + 1);
        QVERIFY(cursor.charFormat().fontItalic());
        cursor.setPosition(second + 5);
        QVERIFY(!cursor.charFormat().fontItalic());
        ClearRichText(view);
        QVERIFY(view.toPlainText().isEmpty());
        QVERIFY(view.currentCharFormat().fontWeight() != QFont::Bold);
    }
};

int main(int argc, char** argv) {
    TZevraApplication app(argc, argv);
    TestWidgets test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_widgets.moc"
