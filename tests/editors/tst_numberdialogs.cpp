#include "editors/dialogs/UnitAlarmOut.h"
#include "editors/dialogs/UnitDelay.h"
#include "editors/dialogs/UnitPhoneParam.h"
#include "model/TZorvexSettings.h"
#include "widgets/MessageBoxRecorder.h"
#include "widgets/RadioGroup.h"

#include "tests/editors/DialogTestKit.h"
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <QtTest>

namespace {
// What the context menu's Paste does, which no key filter sees.
bool Paste(const QString& text)
{
    QApplication::clipboard()->setText(text);
    auto* edit = qobject_cast<QLineEdit*>(Focused());
    if (!edit)
        return false;
    edit->paste();
    return true;
}
} // namespace

// Dialogs with one-byte number fields: dialing parameters, PGM outputs, delays.
class TstNumberDialogs : public QObject
{
    Q_OBJECT

private slots:
    void phoneParamShowsAndWritesOptions();
    void phoneParamKeyFilter();
    void phoneParamEmptyAndOutOfRange();
    void phoneParamPasteRefused();
    void pgmTriggersAndFilter();
    void pgmPasteWritesNothing();
    void delaysRowsAndCancel();
    void delaysNumberTypedInTheMiddle();
};

void TstNumberDialogs::phoneParamShowsAndWritesOptions()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(46, 0xF5);
    TFormPhoneParam dialog;
    QCOMPARE(dialog.windowTitle(), QString("Parametry współpracy z linią telefoniczną"));
    QStringList shown;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            for (int i = 1; i <= 4; ++i) {
                auto* group = dialog.findChild<RadioGroup*>(QString("RadioGroup%1").arg(i));
                shown << group->Items().value(group->ItemIndex());
            }
            shown << Text(dialog, "Edit1") << Text(dialog, "Edit2") << Text(dialog, "Edit3");
            // Alt+I lands on the chosen button of the second group; Right chooses "TAK".
            Press(Qt::Key_I, Qt::AltModifier);
            Press(Qt::Key_Right);
            Press(Qt::Key_Return);
        });
    QCOMPARE(shown, (QStringList{"TAK", "NIE", "TAK", "NIE", "2", "4", "0"}));
    QCOMPARE(result, 1);
    QCOMPARE(int(s.Cfg.GetByte(46)), 0xF7);
    QCOMPARE(int(s.Cfg.GetByte(47)), 2);
    QCOMPARE(int(s.Cfg.GetByte(48)), 4);
}

void TstNumberDialogs::phoneParamKeyFilter()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(49, 25);
    TFormPhoneParam dialog;
    QStringList seen;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            Press(Qt::Key_C, Qt::AltModifier); // Edit3, 0..255
            seen << FocusName();
            Press(Qt::Key_End);
            Type("5"); // 255 passes
            seen << Text(dialog, "Edit3");
            Type("6x"); // 2556 and a letter are refused
            seen << Text(dialog, "Edit3");

            Press(Qt::Key_K, Qt::AltModifier); // Edit1, 1..4
            Press(Qt::Key_End);
            Press(Qt::Key_Backspace);
            seen << Text(dialog, "Edit1");
            Type("0"); // 0 is below the range
            seen << Text(dialog, "Edit1");
            Type("3");
            seen << Text(dialog, "Edit1");
            Press(Qt::Key_Up);
            Press(Qt::Key_Up); // no wrap-around past 4
            seen << Text(dialog, "Edit1");
            Press(Qt::Key_Return);
        });
    QCOMPARE(seen, (QStringList{"Edit3", "255", "255", "", "", "3", "4"}));
    QCOMPARE(result, 1);
    QCOMPARE(int(s.Cfg.GetByte(47)), 4);
    QCOMPARE(int(s.Cfg.GetByte(49)), 255);
}

void TstNumberDialogs::phoneParamEmptyAndOutOfRange()
{
    // Bytes outside the up-down ranges are shown as stored and written back unchanged;
    // emptied fields are written as 1 and 0 and show that.
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(47, 9);
    s.Cfg.SetByte(48, 12);
    s.Cfg.SetByte(49, 77);
    TFormPhoneParam dialog;
    QStringList shown;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            shown << Text(dialog, "Edit1") << Text(dialog, "Edit2");
            Press(Qt::Key_C, Qt::AltModifier);
            Press(Qt::Key_Delete); // the whole text is selected
            Press(Qt::Key_Return);
        });
    QCOMPARE(shown, (QStringList{"9", "12"}));
    QCOMPARE(result, 1);
    QCOMPARE(int(s.Cfg.GetByte(47)), 9);
    QCOMPARE(int(s.Cfg.GetByte(48)), 12);
    QCOMPARE(int(s.Cfg.GetByte(49)), 0);
    QCOMPARE(Text(dialog, "Edit3"), QString("0"));
}

void TstNumberDialogs::phoneParamPasteRefused()
{
    TZorvexSettings s = Factory();
    const TZorvexSettings before = s;
    MessageBoxRecorder boxes;
    TFormPhoneParam dialog;
    QString focusAfter;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            Press(Qt::Key_W, Qt::AltModifier);
            Press(Qt::Key_Right); // option 1 to "TAK": must not be written either
            Press(Qt::Key_S, Qt::AltModifier);
            QVERIFY(Paste("dwa"));
            Press(Qt::Key_Return);
            focusAfter = FocusName();
            Press(Qt::Key_Escape);
        });
    QCOMPARE(boxes.Texts(), QStringList{"'dwa' is not a valid integer value"});
    QCOMPARE(boxes.Last().kind, mkProgram);
    QCOMPARE(focusAfter, QString("Edit2"));
    QCOMPARE(result, 2);
    QVERIFY(s == before);
}

void TstNumberDialogs::pgmTriggersAndFilter()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(50, 0x40);
    s.Cfg.SetByte(51, 0x03);
    s.Cfg.SetByte(53, 255);
    TFormAlarmOut dialog;
    QStringList seen;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            auto* list1 = dialog.findChild<QComboBox*>("ComboBox1");
            auto* list2 = dialog.findChild<QComboBox*>("ComboBox2");
            seen << list1->currentText() << QString::number(list2->currentIndex())
                 << QString::number(list2->count()) << list2->itemText(7) << Text(dialog, "Edit2");
            Press(Qt::Key_P, Qt::AltModifier); // Edit1
            Press(Qt::Key_Backspace);          // the whole "0" is selected
            Type("256");
            seen << Text(dialog, "Edit1");
            Press(Qt::Key_V, Qt::ControlModifier);
            seen << Text(dialog, "Edit1");
            Press(Qt::Key_Return);
        });
    QCOMPARE(seen, (QStringList{"Problem techniczny <SYSTEM>", "-1", "8", "Wyjście nieaktywne",
                                "255", "25", "25"}));
    QCOMPARE(result, 1);
    QCOMPARE(int(s.Cfg.GetByte(50)), 0x40);
    QCOMPARE(int(s.Cfg.GetByte(51)), 0x00);
    QCOMPARE(int(s.Cfg.GetByte(52)), 25);
    QCOMPARE(int(s.Cfg.GetByte(53)), 255);
}

void TstNumberDialogs::pgmPasteWritesNothing()
{
    TZorvexSettings s = Factory();
    const TZorvexSettings before = s;
    MessageBoxRecorder boxes;
    TFormAlarmOut dialog;
    QString focusAfter;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            Press(Qt::Key_1, Qt::AltModifier); // trigger list of PGM1
            Press(Qt::Key_Up);                 // to "Problem techniczny <SYSTEM>"
            Press(Qt::Key_G, Qt::AltModifier); // Edit2
            QVERIFY(Paste("5s"));
            Press(Qt::Key_Return);
            focusAfter = FocusName();
            // Cancel after the refusal: the trigger chosen above is not written.
            Press(Qt::Key_Escape);
        });
    QCOMPARE(boxes.Texts(), QStringList{"'5s' is not a valid integer value"});
    QCOMPARE(focusAfter, QString("Edit2"));
    QCOMPARE(result, 2);
    QVERIFY(s == before);
}

void TstNumberDialogs::delaysRowsAndCancel()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(42, 30);
    s.Cfg.SetByte(45, 5);
    s.Cfg.SetByte(43, 60);
    s.Cfg.SetByte(44, 0x5A);
    const TZorvexSettings before = s;
    TFormDelay dialog;
    QStringList rows;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            rows << Text(dialog, "Edit1") << Text(dialog, "Edit2") << Text(dialog, "Edit3");
            Press(Qt::Key_P, Qt::AltModifier);
            Press(Qt::Key_Backspace);
            Type("300"); // 300 is refused at its last digit
            rows << Text(dialog, "Edit2");
            Press(Qt::Key_Escape);
        });
    QCOMPARE(rows, (QStringList{"30", "5", "60", "30"}));
    QCOMPARE(result, 2);
    QVERIFY(s == before);
}

void TstNumberDialogs::delaysNumberTypedInTheMiddle()
{
    // "25" with the caret in front: the filter judges 253 and lets the 3 in, which makes
    // 325. OK refuses it and writes none of the rows; the user mends it and OK writes all.
    TZorvexSettings s = Factory();
    MessageBoxRecorder boxes;
    TFormDelay dialog;
    QStringList seen;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            Press(Qt::Key_W, Qt::AltModifier); // Edit1
            Type("7");                         // replaces the selected "0"
            Press(Qt::Key_U, Qt::AltModifier); // Edit3
            Type("25");
            Press(Qt::Key_Home);
            Type("3");
            seen << Text(dialog, "Edit3");
            Press(Qt::Key_Return);
            seen << FocusName() << QString::number(s.Cfg.GetByte(42));
            Press(Qt::Key_Home);
            Press(Qt::Key_Delete);
            Press(Qt::Key_Return);
        });
    QCOMPARE(boxes.Texts(), QStringList{"'325' is not a valid integer value"});
    QCOMPARE(seen, (QStringList{"325", "Edit3", "0"}));
    QCOMPARE(result, 1);
    QCOMPARE(int(s.Cfg.GetByte(42)), 7);
    QCOMPARE(int(s.Cfg.GetByte(43)), 25);
    QCOMPARE(int(s.Cfg.GetByte(44)), 0);
}

QTEST_MAIN(TstNumberDialogs)
#include "tst_numberdialogs.moc"
