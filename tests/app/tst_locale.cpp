// The program speaks Polish whatever the machine's locale. CTest runs this twice, under
// LC_ALL=C and under LANG=en_US.UTF-8 (tests/app/CMakeLists.txt), and it starts as the
// programs do: the program's locale first, then the application.
#include "app/UnitMainForm.h"
#include "model/Cp1250.h"
#include "settings/ProgramLocale.h"
#include "settings/TemporaryProgramSettings.h"
#include "tests/common/EmulatedDialer.h"
#include "tests/editors/ModalDriver.h"
#include "widgets/MessageBoxRecorder.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QProcess>
#include <QRegularExpression>
#include <QToolButton>
#include <QtTest>

namespace {

const QString kZvx = QStringLiteral(ZVX_BINARY_DIR "/tools/zvx");

// The date in description record 3 after a read from the dialer, when the record is
// "Data: %s     Godz: %s" with a time of day as a Polish system writes it ("7:05:04").
QString StampDate(const QString& record)
{
    static const QRegularExpression stamp(
        QStringLiteral("^Data: (\\S+)     Godz: \\d{1,2}:\\d\\d:\\d\\d$"));
    const QRegularExpressionMatch match = stamp.match(record);
    return match.hasMatch() ? match.captured(1) : QString();
}

// How a Polish system writes date in short ("8.12.2026").
QString PolishDate(const QDate& date)
{
    return ProgramLocale::Polish().toString(date, QLocale::ShortFormat);
}

} // namespace

class TstLocale : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readStamp_data();
    void readStamp();
    void calendar();
    void fileDialog();

private:
    TemporaryProgramSettings m_settings;
};

void TstLocale::initTestCase()
{
    // Otherwise this would prove nothing.
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"})
        QVERIFY2(!qgetenv(variable).startsWith("pl"), variable);
}

void TstLocale::readStamp_data()
{
    QTest::addColumn<bool>("window"); // the window's F5, else zvx read
    QTest::newRow("zorvex") << true;
    QTest::newRow("zvx") << false;
}

// A read writes the date and time into record 3 as a Polish system does, with "Data: %s
// Godz: %s" as it stands, from the window and from zvx alike.
void TstLocale::readStamp()
{
    QFETCH(bool, window);
    const auto dialer = StartDialer();
    const QDate before = QDate::currentDate();
    QString record;
    if (window) {
        TMainFormZORVEX form;
        form.ShowAboutBox = [] {};
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.Link().SerialPort().SetPort(PathOf(*dialer));
        MessageBoxRecorder boxes;
        boxes.Answer(mbYes);
        QTest::keyClick(&form, Qt::Key_F5);
        QTRY_COMPARE(form.Link().Operation(), Operation::Idle);
        QCOMPARE(boxes.Texts().last(), QStringLiteral("Konfiguracja odczytana poprawnie"));
        record =
            QString::fromStdString(Cp1250ToUtf8(form.Document().Settings().Comment.GetText(3)));
    } else {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("odczyt.zvx"));
        QProcess zvx;
        zvx.start(kZvx, {QStringLiteral("read"), QStringLiteral("--port"), PathOf(*dialer),
                         QStringLiteral("-o"), file});
        QVERIFY(zvx.waitForFinished(30000));
        QCOMPARE(zvx.exitCode(), 0);
        QProcess show;
        show.start(kZvx, {QStringLiteral("get"), file, QStringLiteral("description.description1")});
        QVERIFY(show.waitForFinished(30000));
        record = QString::fromUtf8(show.readAllStandardOutput()).trimmed();
    }
    const QString date = StampDate(record);
    QVERIFY2(!date.isEmpty(), qPrintable(record));
    // Read just now, perhaps across midnight.
    const QStringList today{PolishDate(before), PolishDate(QDate::currentDate())};
    QVERIFY2(today.contains(date), qPrintable(record));
}

// The archive's "Od dnia": a Polish date, and a calendar in Polish that starts on Monday.
void TstLocale::calendar()
{
    TMainFormZORVEX form;
    MessageBoxRecorder boxes;
    int dates = 0;
    const bool opened = WhileModalOpen(
        [&] { form.Action(QStringLiteral("Archiwum"))->trigger(); },
        [&](QWidget& archive) {
            for (QDateEdit* edit : archive.findChildren<QDateEdit*>()) {
                ++dates;
                QCOMPARE(edit->text(), PolishDate(edit->date()));
                QCalendarWidget* calendar = edit->calendarWidget();
                QVERIFY(calendar);
                QCOMPARE(calendar->firstDayOfWeek(), Qt::Monday);
                auto* month =
                    calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
                QVERIFY(month);
                QCOMPARE(month->text(),
                         ProgramLocale::Polish().standaloneMonthName(calendar->monthShown()));
            }
        });
    QVERIFY(opened);
    QVERIFY(dates > 0);
    QVERIFY2(boxes.Texts().isEmpty(), qPrintable(boxes.Texts().join(u'\n')));
}

// Qt's file dialog, opened by "Odczyt konfiguracji z dysku", gives a file's size and date
// as a Polish system does ("0 bajty", "8.12.2026 12:00"), not "0 bytes" and "8 Dec", and
// shows its places' names whole.
void TstLocale::fileDialog()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("obiekt.ZVX"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 8), QTime(12, 0)),
                             QFileDevice::FileModificationTime));
    file.close();
    TMainFormZORVEX form;
    QString size;
    QString date;
    const bool opened = WhileModalOpen(
        [&] { form.Action(QStringLiteral("OdczytKonfiguracjiZDysku"))->trigger(); },
        [&](QWidget& window) {
            auto* dialog = qobject_cast<QFileDialog*>(&window);
            QVERIFY(dialog);
            dialog->setDirectory(dir.path());
            auto* model = dialog->findChild<QFileSystemModel*>();
            QVERIFY(model);
            QTRY_VERIFY(!model->index(path, 3).data().toString().isEmpty());
            size = model->index(path, 1).data().toString();
            // Its places show whole ("Komputer"), not cut to "Kom...".
            auto* places = dialog->findChild<QListView*>(QStringLiteral("sidebar"));
            QVERIFY(places && places->viewport()->width() >= places->sizeHintForColumn(0));
            date = model->index(path, 3).data().toString();
        });
    QVERIFY(opened);
    QCOMPARE(size, ProgramLocale::Polish().formattedDataSize(0));
    QVERIFY2(date.startsWith(PolishDate(QDate(2026, 12, 8)) + u' '), qPrintable(date));
}

int main(int argc, char* argv[])
{
    ProgramLocale::Install();
    QApplication app(argc, argv);
    TstLocale test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_locale.moc"
