#include "editors/dialogs/UnitAlarmOut.h"
#include "editors/dialogs/UnitCode.h"
#include "editors/dialogs/UnitDelay.h"
#include "editors/dialogs/UnitEventCode.h"
#include "editors/dialogs/UnitPhoneParam.h"
#include "editors/dialogs/UnitPhones.h"
#include "editors/dialogs/UnitPolpager.h"
#include "editors/dialogs/UnitStation.h"
#include "model/TZorvexSettings.h"

#include "tests/editors/DialogTestKit.h"

#include <QtTest>

namespace {

// Every printable ASCII character in order, then letters and signs no field takes.
QString Candidates()
{
    QString all;
    for (char16_t c = u' '; c <= u'~'; ++c)
        all += QChar(c);
    return all + QStringLiteral("ąĘół€");
}

void SetText(QWidget& field, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(&field))
        edit->setText(text);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(&field)) {
        memo->setPlainText(text);
        memo->moveCursor(QTextCursor::End);
    }
}

// Types each candidate alone into the field called name, which holds start before each
// key, and returns what each key added, one after another.
using Typist = QString (*)(const QString& name, const QString& start);

template <class Dialog> QString TypeEachKey(const QString& name, const QString& start)
{
    TZorvexSettings settings = Factory();
    Dialog dialog;
    QString added = QStringLiteral("<not typed>");
    DriveModal(
        dialog, [&] { return dialog.EditSettings(settings); },
        [&] {
            auto* field = dialog.template findChild<QWidget*>(name);
            if (!field)
                return;
            added.clear();
            field->setFocus();
            for (const QChar key : Candidates()) {
                SetText(*field, start);
                Type(QString(key));
                added += Text(dialog, name.toLatin1().constData()).mid(start.size());
            }
        });
    return added;
}

} // namespace

Q_DECLARE_METATYPE(Typist)

// What each dialog's key filter lets through, for each kind of field it filters: typed
// as it is, turned into upper case, or discarded; a number's digit only while the number
// stays in its range.
class TstKeyFilters : public QObject
{
    Q_OBJECT

private slots:
    void typedKeys_data();
    void typedKeys();
};

void TstKeyFilters::typedKeys_data()
{
    QTest::addColumn<Typist>("type");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("added");

    const QString dial = QStringLiteral("0123456789BCDBCD");
    QTest::newRow("phone number") << &TypeEachKey<TFormPhones> << "Edit1"
                                  << "" << dial;
    QTest::newRow("station number") << &TypeEachKey<TFormStation> << "Edit1"
                                    << "" << dial;
    QTest::newRow("subscriber code") << &TypeEachKey<TFormStation> << "Edit4"
                                     << "" << dial;
    QTest::newRow("access code") << &TypeEachKey<TFormCode> << "Edit1"
                                 << ""
                                 << "0123456789";
    QTest::newRow("event code") << &TypeEachKey<TFormEventCode> << "Edit1"
                                << ""
                                << "0123456789ABCDEFABCDEF";
    QTest::newRow("polpager message")
        << &TypeEachKey<TFormPolpager> << "Memo1"
        << ""
        << " 0123456789ABCDEFGHIJKLMNOPRSTUVWXYABCDEFGHIJKLMNOPRSTUVWXY";
    QTest::newRow("count 1..4") << &TypeEachKey<TFormPhoneParam> << "Edit1"
                                << ""
                                << "1234";
    QTest::newRow("byte after 25") << &TypeEachKey<TFormPhoneParam> << "Edit3"
                                   << "25"
                                   << "012345";
    QTest::newRow("pgm time") << &TypeEachKey<TFormAlarmOut> << "Edit2"
                              << ""
                              << "0123456789";
    QTest::newRow("delay after 26") << &TypeEachKey<TFormDelay> << "Edit1"
                                    << "26"
                                    << "";
}

void TstKeyFilters::typedKeys()
{
    QFETCH(Typist, type);
    QFETCH(QString, field);
    QFETCH(QString, start);
    QFETCH(QString, added);
    QCOMPARE(type(field, start), added);
}

QTEST_MAIN(TstKeyFilters)
#include "tst_keyfilters.moc"
