#include "editors/dialogs/UnitPhones.h"
#include "editors/dialogs/UnitPolpager.h"
#include "editors/dialogs/UnitStation.h"
#include "model/TZorvexSettings.h"
#include "widgets/MessageBoxRecorder.h"
#include "widgets/RadioGroup.h"

#include "tests/editors/DialogTestKit.h"
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <QtTest>

namespace {

bool Click(QWidget& dialog, const char* name)
{
    auto* widget = dialog.findChild<QWidget*>(name);
    if (!widget)
        return false;
    QTest::mouseClick(widget, Qt::LeftButton);
    return true;
}

} // namespace

// The telephone numbers, Polpager message and monitoring stations dialogs, driven with
// real key presses.
class TstPhoneDialogs : public QObject
{
    Q_OBJECT

private slots:
    void phonesFilterAndStore();
    void phonesCancelAndClose_data();
    void phonesCancelAndClose();
    void polpagerTypedAndEnter();
    void polpagerTooLongKeptThenShortened();
    void polpagerRefusedThenCancel();
    void polpagerLengthOneAndLimit();
    void stationsFieldsAndDual();
};

void TstPhoneDialogs::phonesFilterAndStore()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(56, 9);
    s.Cfg.SetByte(58, 0x81);
    s.Cfg.SetDigits("582", 112, 8);
    TFormPhones dialog;
    QCOMPARE(dialog.windowTitle(), QString("Telefony"));
    int station1 = -2;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            QCOMPARE(Text(dialog, "Edit1"), QString("582"));
            station1 = dialog.findChild<RadioGroup*>("RadioGroup1")->ItemIndex();
            Press(Qt::Key_3, Qt::AltModifier);
            QCOMPARE(FocusName(), QString("Edit3"));
            Type("1a2e*#c3bD-x");
            QCOMPARE(Text(dialog, "Edit3"), QString("12C3BD"));
            // Clipboard shortcuts are characters the filter refuses.
            QApplication::clipboard()->setText("999");
            Press(Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(Text(dialog, "Edit3"), QString("12C3BD"));
            // From "Brak" one up is number 8.
            Press(Qt::Key_L, Qt::AltModifier);
            Press(Qt::Key_Up);
            QVERIFY(Click(dialog, "CheckBox2"));
            Press(Qt::Key_Z, Qt::AltModifier);
            QCOMPARE(FocusName(), QString("CheckBox1"));
            Press(Qt::Key_Space);
            Press(Qt::Key_8, Qt::AltModifier);
            Press(Qt::Key_Return);
        });
    QCOMPARE(result, 1);
    QCOMPARE(station1, 8);
    QCOMPARE(Read(s.Cfg, 112, 8), QByteArray::fromHex("582FFFFFFFFFFFFF"));
    QCOMPARE(Read(s.Cfg, 128, 8), QByteArray::fromHex("12C3BDFFFFFFFFFF"));
    QCOMPARE(int(s.Cfg.GetByte(56)), 0);
    QCOMPARE(int(s.Cfg.GetByte(66)), 8);
    QCOMPARE(int(s.Cfg.GetByte(58)), 0x82);
}

void TstPhoneDialogs::phonesCancelAndClose_data()
{
    QTest::addColumn<bool>("closeWindow");
    QTest::newRow("Escape") << false;
    QTest::newRow("window closed") << true;
}

void TstPhoneDialogs::phonesCancelAndClose()
{
    QFETCH(bool, closeWindow);
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(66, 4);
    const TCfg before = s.Cfg;
    TFormPhones dialog;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            Press(Qt::Key_1, Qt::AltModifier);
            Type("123");
            QVERIFY(Click(dialog, "CheckBox5"));
            Press(Qt::Key_P, Qt::AltModifier);
            Press(Qt::Key_Up);
            if (closeWindow)
                dialog.close();
            else
                Press(Qt::Key_Escape);
        });
    QCOMPARE(result, 2);
    QVERIFY(s.Cfg == before);
}

void TstPhoneDialogs::polpagerTypedAndEnter()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetDigits("123", 120, 8);
    s.Cfg.SetByte(56, 2);
    s.Cfg.SetByte(66, 3);
    TFormPolpager dialog;
    QCOMPARE(dialog.windowTitle(), QString("Komunikat do stacji POLPAGER"));
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            QCOMPARE(Text(dialog, "Label2"), QString("(2)  123"));
            QCOMPARE(Text(dialog, "Label4"), QString("(3)  NIEZDEFINIOWANY"));
            QCOMPARE(FocusName(), QString("Memo1"));
            Type(QString::fromUtf8("kqz ą1,  2"));
            QCOMPARE(Text(dialog, "Memo1"), QString("K 1  2"));
            // Enter presses OK instead of breaking the line.
            Press(Qt::Key_Return);
        });
    QCOMPARE(result, 1);
    // "**5", "0", "0*1", "*"; the second space in a row goes out in letter mode: "**0";
    // then "0*2", "#".
    QCOMPARE(int(s.Cfg.GetByte(57)), 15);
    QCOMPARE(Read(s.Cfg, 192, 9), QByteArray::fromHex("EE500E1EEE00E2FFFF"));
}

void TstPhoneDialogs::polpagerTooLongKeptThenShortened()
{
    TZorvexSettings s = Factory();
    MessageBoxRecorder boxes;
    TFormPolpager dialog;
    QString kept;
    QString focus;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            // 62 first letters: "**", two symbols each, "0##" = 129 symbols.
            Type(QString(62, 'a'));
            QVERIFY(Click(dialog, "BitBtn1"));
            QVERIFY(dialog.isVisible());
            kept = Text(dialog, "Memo1");
            focus = FocusName();
            Press(Qt::Key_Backspace);
            Press(Qt::Key_Return);
        });
    QCOMPARE(boxes.Texts(), QStringList{"Za długi komunikat do Polpagera"});
    QCOMPARE(boxes.Last().kind, mkError);
    QCOMPARE(kept, QString(62, 'A'));
    QCOMPARE(focus, QString("Memo1"));
    QCOMPARE(result, 1);
    QCOMPARE(int(s.Cfg.GetByte(57)), 127);
}

void TstPhoneDialogs::polpagerRefusedThenCancel()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(57, 10);
    s.Cfg.WriteBytes(192, reinterpret_cast<const std::uint8_t*>("\xEE\x56\xF8\xE0\xFF"), 5);
    const TCfg before = s.Cfg;
    MessageBoxRecorder boxes;
    TFormPolpager dialog;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            QCOMPARE(Text(dialog, "Memo1"), QString("KOT"));
            Type(QString(70, 'A'));
            QVERIFY(Click(dialog, "BitBtn1"));
            QVERIFY(Click(dialog, "BitBtn2"));
        });
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(result, 2);
    QVERIFY(s.Cfg == before);
}

void TstPhoneDialogs::polpagerLengthOneAndLimit()
{
    TZorvexSettings s = Factory();
    s.Cfg.Fill(192, 0x12, 64);
    s.Cfg.SetByte(57, 1);
    TFormPolpager dialog;
    QString opened;
    int typed = 0;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            opened = Text(dialog, "Memo1");
            Type(QString(130, '7'));
            typed = int(Text(dialog, "Memo1").size());
            // Pasted text is cut to the same length.
            auto* memo = dialog.findChild<QPlainTextEdit*>("Memo1");
            QApplication::clipboard()->setText(QString(10, '5'));
            memo->paste();
            QCOMPARE(Text(dialog, "Memo1"), QString(126, '7'));
            Press(Qt::Key_Return);
        });
    QCOMPARE(opened, QString());
    QCOMPARE(typed, 126);
    QCOMPARE(result, 1);
    QCOMPARE(int(s.Cfg.GetByte(57)), 127);
}

void TstPhoneDialogs::stationsFieldsAndDual()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetDigits("582107", 16, 8);
    s.Cfg.SetByte(32, 14);
    s.Cfg.SetByte(33, 0xFF);
    s.Cfg.SetByte(38, 7);
    TFormStation dialog;
    QCOMPARE(dialog.windowTitle(), QString("Stacje monitorujące"));
    QString format1;
    int format2 = 0;
    QString mode;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            QCOMPARE(Text(dialog, "Edit1"), QString("582107"));
            QCOMPARE(Text(dialog, "Edit2"), QString("0000"));
            format1 = dialog.findChild<QComboBox*>("ComboBox1")->currentText();
            format2 = dialog.findChild<QComboBox*>("ComboBox2")->currentIndex();
            auto* group = dialog.findChild<RadioGroup*>("RadioGroup1");
            mode = group->Items().value(group->ItemIndex());
            Press(Qt::Key_K, Qt::AltModifier);
            QCOMPARE(FocusName(), QString("Edit2"));
            Backspaces(4);
            Type("1a2e#*");
            QCOMPARE(Text(dialog, "Edit2"), QString("12"));
            Press(Qt::Key_R, Qt::AltModifier);
            Type("b1cd");
            QCOMPARE(Text(dialog, "Edit3"), QString("B1CD"));
            Press(Qt::Key_Return);
        });
    QCOMPARE(format1, QString("14:RADIONICS 2300 EXTENDED WITH PARITY"));
    QCOMPARE(format2, -1);
    QCOMPARE(mode, QString("DUAL"));
    QCOMPARE(result, 1);
    QCOMPARE(Read(s.Cfg, 16, 8), QByteArray::fromHex("582107FFFFFFFFFF"));
    QCOMPARE(Read(s.Cfg, 24, 8), QByteArray::fromHex("B1CDFFFFFFFFFFFF"));
    QCOMPARE(Read(s.Cfg, 32, 7), QByteArray::fromHex("0EFF1200000004"));
}

QTEST_MAIN(TstPhoneDialogs)
#include "tst_phonedialogs.moc"
