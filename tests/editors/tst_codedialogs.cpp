#include "editors/dialogs/UnitCode.h"
#include "editors/dialogs/UnitEventCode.h"
#include "model/TZorvexSettings.h"
#include "widgets/MessageBoxRecorder.h"
#include "widgets/RadioGroup.h"
#include "widgets/TimePicker.h"

#include "tests/editors/DialogTestKit.h"
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include <QtTest>

namespace {

bool Click(QWidget* widget)
{
    if (!widget)
        return false;
    QTest::mouseClick(widget, Qt::LeftButton);
    return true;
}

} // namespace

// The access codes and event codes dialogs, driven with real key presses.
class TstCodeDialogs : public QObject
{
    Q_OBJECT

private slots:
    void codesValidationLoop();
    void codesCancelAfterFailedCheck();
    void codesOptionAndLocks();
    void eventCodesFilterAndStore();
    void eventCodesInvalidTimeOpens();
    void eventCodesCancel();
};

void TstCodeDialogs::codesValidationLoop()
{
    TZorvexSettings s = Factory();
    MessageBoxRecorder boxes;
    TFormCode dialog;
    QCOMPARE(dialog.windowTitle(), QString("Kody dostępu"));
    QStringList focus;
    QString keptInstaller;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            QCOMPARE(Text(dialog, "Edit1"), QString("9358"));
            QCOMPARE(Text(dialog, "Edit11"), QString("9179"));
            Press(Qt::Key_I, Qt::AltModifier);
            Backspaces(4);
            Type("12");
            QVERIFY(Click(dialog.findChild<QWidget*>("BitBtn1")));
            focus << FocusName();
            keptInstaller = Text(dialog, "Edit11");
            Type("3a4*");
            // KU4 the same as KU0: the focus goes to KU4, the second of the pair.
            Press(Qt::Key_4, Qt::AltModifier);
            Backspaces(4);
            Type("9358");
            Press(Qt::Key_Return);
            focus << FocusName();
            Press(Qt::Key_Backspace);
            Type("9");
            Press(Qt::Key_Return);
        });
    QCOMPARE(boxes.Texts(), (QStringList{"Błędne dane", "Kody nie mogą się powtarzać"}));
    QCOMPARE(focus, (QStringList{"Edit11", "Edit5"}));
    QCOMPARE(keptInstaller, QString("12"));
    QCOMPARE(result, 1);
    QCOMPARE(Read(s.Cfg, 76, 4), QByteArray::fromHex("1234FFFF"));
    QCOMPARE(Read(s.Cfg, 96, 4), QByteArray::fromHex("9359FFFF"));
}

void TstCodeDialogs::codesCancelAfterFailedCheck()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(44, 0x0B);
    s.Cfg.SetByte(59, 0x01);
    const TCfg before = s.Cfg;
    MessageBoxRecorder boxes;
    TFormCode dialog;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            // KU9 equal to KU2: the focus goes to KU9, found from KU2.
            Press(Qt::Key_9, Qt::AltModifier);
            Backspaces(4);
            Type("9246");
            QVERIFY(Click(dialog.findChild<QCheckBox*>("CheckBox3")));
            Press(Qt::Key_Return);
            QCOMPARE(FocusName(), QString("Edit10"));
            Press(Qt::Key_Escape);
        });
    QCOMPARE(boxes.Texts(), QStringList{"Kody nie mogą się powtarzać"});
    QCOMPARE(result, 2);
    QVERIFY(s.Cfg == before);
}

void TstCodeDialogs::codesOptionAndLocks()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(44, 0x0B);
    s.Cfg.SetByte(59, 0x01);
    TFormCode dialog;
    int shown = -1;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            auto* group = dialog.findChild<RadioGroup*>("RadioGroup1");
            shown = group->ItemIndex();
            QVERIFY(Click(group->Button(1)));
            QVERIFY(dialog.findChild<QCheckBox*>("CheckBox1")->isChecked());
            QVERIFY(Click(dialog.findChild<QCheckBox*>("CheckBox8")));
            // The accelerator selects the whole text; End keeps it.
            Press(Qt::Key_0, Qt::AltModifier);
            Press(Qt::Key_End);
            Type("12345");
            QCOMPARE(Text(dialog, "Edit1"), QString("93581234"));
            Press(Qt::Key_8, Qt::AltModifier);
            Press(Qt::Key_End);
            Type("5");
            QCOMPARE(Text(dialog, "Edit9"), QString("0791"));
            Press(Qt::Key_Return);
        });
    QCOMPARE(shown, 0);
    QCOMPARE(result, 1);
    QCOMPARE(int(s.Cfg.GetByte(44)), 0x0F);
    QCOMPARE(int(s.Cfg.GetByte(59)), 0x81);
    QCOMPARE(Read(s.Cfg, 80, 4), QByteArray::fromHex("93581234"));
}

void TstCodeDialogs::eventCodesFilterAndStore()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(176, 0x3A);
    s.Cfg.SetByte(191, 0xFF);
    s.Cfg.SetByte(62, 0x07);
    s.Cfg.SetByte(63, 0x30);
    TFormEventCode dialog;
    QCOMPARE(dialog.windowTitle(), QString("Kody zdarzeń"));
    QTime shown;
    QString display;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            QCOMPARE(Text(dialog, "Edit1"), QString("3A"));
            QCOMPARE(Text(dialog, "Edit16"), QString("FF"));
            auto* picker = dialog.findChild<TimePicker*>("DateTimePicker1");
            shown = picker->Time();
            display = picker->text();
            Press(Qt::Key_2, Qt::AltModifier);
            Backspaces(2);
            Type("bG* 5");
            QCOMPARE(Text(dialog, "Edit2"), QString("B5"));
            Press(Qt::Key_3, Qt::AltModifier);
            Backspaces(2);
            Press(Qt::Key_K, Qt::AltModifier);
            Backspaces(2);
            Type("5");
            Press(Qt::Key_G, Qt::AltModifier);
            picker->setSelectedSection(QDateTimeEdit::HourSection);
            Press(Qt::Key_Up);
            picker->setSelectedSection(QDateTimeEdit::MinuteSection);
            Press(Qt::Key_Down);
            Press(Qt::Key_Return);
        });
    QCOMPARE(shown, QTime(7, 30));
    QCOMPARE(display, QString("07") + TimePicker::TimeSeparator() + "30" +
                          TimePicker::TimeSeparator() + "00");
    QCOMPARE(result, 1);
    QCOMPARE(Read(s.Cfg, 176, 4), QByteArray::fromHex("3AB5005F"));
    QCOMPARE(int(s.Cfg.GetByte(191)), 0xFF);
    QCOMPARE(Read(s.Cfg, 62, 2), QByteArray::fromHex("0829"));
}

void TstCodeDialogs::eventCodesInvalidTimeOpens()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(62, 0x24);
    s.Cfg.SetByte(63, 0xFF);
    MessageBoxRecorder boxes; // the dialog says that 00:00 stands in for the stored time
    TFormEventCode dialog;
    QTime shown;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            shown = dialog.findChild<TimePicker*>("DateTimePicker1")->Time();
            Press(Qt::Key_Return);
        });
    QCOMPARE(shown, QTime(0, 0));
    QCOMPARE(result, 1);
    QCOMPARE(Read(s.Cfg, 62, 2), QByteArray::fromHex("0000"));
}

void TstCodeDialogs::eventCodesCancel()
{
    TZorvexSettings s = Factory();
    const TCfg before = s.Cfg;
    TFormEventCode dialog;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            Press(Qt::Key_1, Qt::AltModifier);
            Backspaces(2);
            Type("77");
            Press(Qt::Key_G, Qt::AltModifier);
            Press(Qt::Key_Up);
            dialog.close();
        });
    QCOMPARE(result, 2);
    QVERIFY(s.Cfg == before);
}

QTEST_MAIN(TstCodeDialogs)
#include "tst_codedialogs.moc"
