#include "editors/dialogs/UnitAlarmIn.h"
#include "editors/dialogs/UnitConfig.h"
#include "editors/dialogs/UnitHistory.h"
#include "editors/dialogs/UnitSystemOptions.h"
#include "model/Cp1250.h"
#include "model/TZorvexSettings.h"
#include "widgets/RadioGroup.h"

#include "tests/editors/DialogTestKit.h"
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <QtTest>

namespace {
QString Chosen(QWidget& dialog, int group)
{
    auto* g = dialog.findChild<RadioGroup*>(QString("RadioGroup%1").arg(group));
    return g ? g->Items().value(g->ItemIndex()) : QString("<none>");
}

QStringList HistoryRows(QWidget& dialog)
{
    QStringList rows;
    for (const char* name : {"Label2", "Label4", "Label6", "Label8"})
        rows << dialog.findChild<QLabel*>(name)->text();
    return rows;
}

void SetHistory(TZorvexSettings& s, const char* hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    s.Cfg.WriteBytes(6, reinterpret_cast<const std::uint8_t*>(bytes.constData()), 8);
}
} // namespace

// The option dialogs (alarm inputs, system options), the event history and the
// configuration description, driven with real key presses.
class TstOptionDialogs : public QObject
{
    Q_OBJECT

private slots:
    void alarmInputsShowAndRebuild();
    void alarmInputsCancel();
    void systemOptionsKeepOtherBits();
    void historyResetThenCancelKeepsTimes();
    void historyResetThenOk();
    void configArrowsStepThroughTheBlocks();
    void configPolishTextAndLimit();
    void configCancel();
    void configTakesOnlyWhatARecordHolds_data();
    void configTakesOnlyWhatARecordHolds();
};

void TstOptionDialogs::alarmInputsShowAndRebuild()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(39, 0xC3);
    s.Cfg.SetByte(40, 0x24);
    s.Cfg.SetByte(41, 0x13);
    TFormAlarmIn dialog;
    QCOMPARE(dialog.windowTitle(), QString("Linie wejściowe"));
    QStringList shown;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            for (int i = 1; i <= 3; ++i)
                shown << dialog.findChild<QComboBox*>(QString("ComboBox%1").arg(i))->currentText();
            for (int g = 1; g <= 6; ++g)
                shown << Chosen(dialog, g);
            // A1 from inactive to the next item, "Wejście alarmowe", with the keyboard.
            dialog.findChild<QComboBox*>("ComboBox1")->setFocus();
            Press(Qt::Key_Down);
            Press(Qt::Key_Return);
        });
    QCOMPARE(shown, (QStringList{"Wejście nieaktywne", "Wejście informacyjne",
                                 "Sterowanie UZBROJONY/ROZBROJONY", "SZYBKA", "NC", "WOLNA", "NO",
                                 "SZYBKA", "NC"}));
    QCOMPARE(result, 1);
    QCOMPARE(int(s.Cfg.GetByte(39)), 0x0F); // alarm, fast, NC; bits 6 and 7 gone
    QCOMPARE(int(s.Cfg.GetByte(40)), 0x04); // bit 5 under the informational function gone
    QCOMPARE(int(s.Cfg.GetByte(41)), 0x13);
}

void TstOptionDialogs::alarmInputsCancel()
{
    TZorvexSettings s = Factory();
    const TZorvexSettings before = s;
    TFormAlarmIn dialog;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            dialog.findChild<QComboBox*>("ComboBox3")->setFocus();
            Press(Qt::Key_Up);
            QTest::mouseClick(dialog.findChild<RadioGroup*>("RadioGroup2")->Button(1),
                              Qt::LeftButton);
            Press(Qt::Key_Escape);
        });
    QCOMPARE(result, 2);
    QVERIFY(s == before);
}

void TstOptionDialogs::systemOptionsKeepOtherBits()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(55, 0xE5);
    s.Cfg.SetByte(44, 0xF4);
    TFormSystemOptions dialog;
    QStringList shown;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            for (int g = 1; g <= 8; ++g)
                shown << Chosen(dialog, g);
            Press(Qt::Key_B, Qt::AltModifier); // row 1 lands on its chosen "TAK"
            Press(Qt::Key_Left);               // "NIE"
            Press(Qt::Key_S, Qt::AltModifier); // row 8, self-arming
            Press(Qt::Key_Right);              // "TAK"
            Press(Qt::Key_Return);
        });
    QCOMPARE(shown, (QStringList{"TAK", "NIE", "TAK", "NIE", "NIE", "NIE", "NIE", "NIE"}));
    QCOMPARE(result, 1);
    QCOMPARE(int(s.Cfg.GetByte(55)), 0xE4);
    QCOMPARE(int(s.Cfg.GetByte(44)), 0xFC); // bits 2 and 4..7 as they were
}

void TstOptionDialogs::historyResetThenCancelKeepsTimes()
{
    TZorvexSettings s = Factory();
    SetHistory(s, "00FFFFFFFF302105"); // AC 00:FF, line cut not set with a minute byte
    const TZorvexSettings before = s;
    const QStringList expected{"21:05", "NIE BYŁO", "00:FF", "NIE BYŁO"};
    {
        TFormHistory dialog;
        QCOMPARE(dialog.windowTitle(), QString("Historia zdarzeń"));
        QStringList shown, afterReset;
        const int result = DriveModal(
            dialog, [&] { return dialog.EditSettings(s); },
            [&] {
                shown = HistoryRows(dialog);
                Press(Qt::Key_W, Qt::AltModifier); // clicks "&Wyzeruj" a moment later
                QTRY_COMPARE(HistoryRows(dialog), QStringList(4, "NIE BYŁO"));
                afterReset = HistoryRows(dialog);
                Press(Qt::Key_Escape);
            });
        QCOMPARE(shown, expected);
        QCOMPARE(afterReset, QStringList(4, "NIE BYŁO"));
        QCOMPARE(result, 2);
        QVERIFY(s == before);
    }
    // The next opening shows the times again; OK without a reset writes nothing.
    TFormHistory dialog;
    QStringList shown;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            shown = HistoryRows(dialog);
            Press(Qt::Key_Return);
        });
    QCOMPARE(shown, expected);
    QCOMPARE(result, 1);
    QVERIFY(s == before);
}

void TstOptionDialogs::historyResetThenOk()
{
    TZorvexSettings s = Factory();
    SetHistory(s, "0102030405062105");
    s.Cfg.SetByte(14, 0x50);
    TFormHistory dialog;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            Press(Qt::Key_W, Qt::AltModifier);
            QTRY_VERIFY(dialog.ResetRequested);
            Press(Qt::Key_Return);
        });
    QCOMPARE(result, 1);
    for (int i = 6; i <= 13; ++i)
        QCOMPARE(int(s.Cfg.GetByte(i)), 0xFF);
    QCOMPARE(int(s.Cfg.GetByte(14)), 0x50);
    QCOMPARE(dialog.ResetRequested, true);
}

void TstOptionDialogs::configArrowsStepThroughTheBlocks()
{
    TZorvexSettings s = Factory();
    TFormConfig dialog;
    QStringList path;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            path << FocusName();               // Edit1 on opening
            Press(Qt::Key_Down);               // Edit2
            Press(Qt::Key_D, Qt::AltModifier); // Edit2 by its label
            Press(Qt::Key_Down);               // Edit3
            path << FocusName();
            Press(Qt::Key_Down);
            path << FocusName();
            Press(Qt::Key_Up);
            path << FocusName();
            for (int i = 0; i < 11; ++i) // from Edit3 through the description block
                Press(Qt::Key_Down);
            path << FocusName();
            Press(Qt::Key_Down); // wraps to the buttons
            path << FocusName();
            Press(Qt::Key_Down);
            path << FocusName();
            Press(Qt::Key_Down);
            path << FocusName();
            Press(Qt::Key_Up);
            path << FocusName();
            Press(Qt::Key_Escape);
        });
    QCOMPARE(path, (QStringList{"Edit1", "Edit3", "Edit4", "Edit3", "Edit14", "BitBtn1", "BitBtn2",
                                "Edit1", "BitBtn2"}));
    QCOMPARE(result, 2);
}

void TstOptionDialogs::configPolishTextAndLimit()
{
    TZorvexSettings s = Factory();
    TComment::Record full;
    full.fill('x');
    full[49] = 0xB9; // ą, no zero byte anywhere
    s.Comment.SetRecord(13, full);
    TFormConfig dialog;
    QString last;
    int lastLength = 0;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            last = dialog.findChild<QLineEdit*>("Edit14")->text();
            Press(Qt::Key_D, Qt::AltModifier);
            Type("Łódź, ul. Żółta 7");
            dialog.findChild<QLineEdit*>("Edit14")->setFocus();
            Type("y"); // a 51st character
            lastLength = int(dialog.findChild<QLineEdit*>("Edit14")->text().size());
            Press(Qt::Key_Return);
        });
    QCOMPARE(last, QString(49, 'x') + "ą");
    QCOMPARE(lastLength, 50);
    QCOMPARE(result, 1);
    QCOMPARE(QByteArray::fromStdString(s.Comment.GetText(1)),
             QByteArray("\xA3\xF3\x64\x9F, ul. \xAF\xF3\xB3ta 7"));
    TComment::Record back;
    s.Comment.GetRecord(13, back);
    QVERIFY(back == full);
    QCOMPARE(s.Comment.GetText(0), std::string("Dialer MEDRA ZVX-A"));
}

void TstOptionDialogs::configCancel()
{
    TZorvexSettings s = Factory();
    const TZorvexSettings before = s;
    TFormConfig dialog;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            Press(Qt::Key_End);
            Type(" 2");
            Press(Qt::Key_Escape);
        });
    QCOMPARE(result, 2);
    QVERIFY(s == before);
}

void TstOptionDialogs::configTakesOnlyWhatARecordHolds_data()
{
    QTest::addColumn<QByteArray>("record"); // record 1 (Edit2) as the file holds it
    QTest::addColumn<QString>("input");     // typed as one key, or pasted with Ctrl+V
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("shown"); // Edit2 afterwards, and record 1 after OK
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    QTest::newRow("typed Polish") << QByteArray() << "Ż" << false << "Ż";
    QTest::newRow("typed euro sign") << QByteArray("a") << "€" << false << "a€";
    QTest::newRow("typed emoji") << QByteArray("a") << emoji << false << "a";
    QTest::newRow("typed CJK") << QByteArray("a") << "中" << false << "a";
    QTest::newRow("typed lone surrogate")
        << QByteArray("a") << QString(QChar(0xD800)) << false << "a";
    QTest::newRow("pasted Polish") << QByteArray("a") << "ul. Żółta 5" << true << "aul. Żółta 5";
    QTest::newRow("pasted with emoji") << QByteArray("a") << "ul. " + emoji << true << "a";
    QTest::newRow("pasted with CJK") << QByteArray("a") << "ul. 中" << true << "a";
    QTest::newRow("pasted with a tab") << QByteArray("a") << "ul.\t5" << true << "a";
    QTest::newRow("pasted escape") << QByteArray("a") << "\x1B[2J" << true << "a";
    // What the file holds stays, and does not stop the record from being edited.
    QTest::newRow("record with a tab, typed") << QByteArray("a\tb") << "c" << false << "a\tbc";
    QTest::newRow("record with a tab, pasted tab") << QByteArray("a\tb") << "\t" << true << "a\tb";
}

// Edit1..Edit14 take only characters a record can hold (Windows-1250, no control
// characters), typed or pasted; a paste that brings in another is not taken at all.
void TstOptionDialogs::configTakesOnlyWhatARecordHolds()
{
    QFETCH(QByteArray, record);
    QFETCH(QString, input);
    QFETCH(bool, paste);
    QFETCH(QString, shown);
    TZorvexSettings s = Factory();
    s.Comment.SetText(1, record.toStdString());
    TFormConfig dialog;
    QString edited;
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(s); },
        [&] {
            Press(Qt::Key_D, Qt::AltModifier); // Edit2
            Press(Qt::Key_End);
            if (paste) {
                QApplication::clipboard()->setText(input);
                Press(Qt::Key_V, Qt::ControlModifier);
            } else {
                QTest::sendKeyEvent(QTest::KeyAction::Press, Focused(), Qt::Key_unknown, input,
                                    Qt::NoModifier);
                QTest::sendKeyEvent(QTest::KeyAction::Release, Focused(), Qt::Key_unknown, input,
                                    Qt::NoModifier);
            }
            edited = dialog.findChild<QLineEdit*>("Edit2")->text();
            Press(Qt::Key_Return);
        });
    QCOMPARE(result, 1);
    QCOMPARE(edited, shown);
    QCOMPARE(QString::fromStdString(Cp1250ToUtf8(s.Comment.GetText(1))), shown);
}

QTEST_MAIN(TstOptionDialogs)
#include "tst_optiondialogs.moc"
