#include "model/ErrorSink.h"
#include "model/Exception.h"
#include "widgets/ErrorGuard.h"
#include "widgets/GuardedApplication.h"
#include "widgets/MessageBoxRecorder.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

Q_DECLARE_METATYPE(TMsgKind)

class TestErrorGuard : public QObject
{
    Q_OBJECT

private slots:
    void recorderRecordsAndAnswers_data()
    {
        QTest::addColumn<TMsgKind>("kind");
        QTest::addColumn<unsigned>("buttons");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<unsigned>("unanswered");

        QTest::newRow("information") << mkInformation << unsigned(mbOk) << "Informacja"
                                     << QStringList{"OK"} << unsigned(mbOk);
        QTest::newRow("error") << mkError << unsigned(mbOk) << "Błąd" << QStringList{"OK"}
                               << unsigned(mbOk);
        QTest::newRow("confirmation") << mkConfirmation << unsigned(mbYes | mbCancel) << "Potwierdź"
                                      << QStringList{"&Tak", "Anuluj"} << unsigned(mbYes);
        QTest::newRow("save question")
            << mkConfirmation << unsigned(mbCancel | mbNo | mbYes) << "Potwierdź"
            << QStringList{"&Tak", "&Nie", "Anuluj"} << unsigned(mbYes);
        QTest::newRow("program, no buttons given")
            << mkProgram << unsigned(mbNone) << "Zorvex" << QStringList{"OK"} << unsigned(mbOk);
    }
    void recorderRecordsAndAnswers()
    {
        QFETCH(TMsgKind, kind);
        QFETCH(unsigned, buttons);
        QFETCH(QString, title);
        QFETCH(QStringList, captions);
        QFETCH(unsigned, unanswered);

        MessageBoxRecorder boxes;
        boxes.Answer(mbCancel);
        QCOMPARE(MessageDlg(kind, QStringLiteral("pierwsze"), buttons), mbCancel);
        QCOMPARE(unsigned(MessageDlg(kind, QStringLiteral("drugie"), buttons)), unanswered);
        QCOMPARE(boxes.Count(), 2);
        QCOMPARE(boxes.Texts(), QStringList({"pierwsze", "drugie"}));
        QCOMPARE(boxes.Last().kind, kind);
        QCOMPARE(boxes.Last().title, title);
        QCOMPARE(boxes.Last().captions, captions);
    }

    void recordersNest()
    {
        MessageBoxRecorder outer;
        {
            MessageBoxRecorder inner;
            ShowMessage(QStringLiteral("wewnątrz"));
            QCOMPARE(inner.Count(), 1);
        }
        ShowMessage(QStringLiteral("na zewnątrz"));
        QCOMPARE(outer.Texts(), QStringList{"na zewnątrz"});
    }

    // Without a recorder the real box answers with the button clicked, or Escape's.
    void realBox_data()
    {
        QTest::addColumn<unsigned>("buttons");
        QTest::addColumn<QString>("click"); // empty: press Escape
        QTest::addColumn<unsigned>("expected");

        const unsigned all = mbYes | mbNo | mbCancel;
        QTest::newRow("yes") << all << "&Tak" << unsigned(mbYes);
        QTest::newRow("no") << all << "&Nie" << unsigned(mbNo);
        QTest::newRow("escape is cancel") << all << "" << unsigned(mbCancel);
        QTest::newRow("escape on yes/no is no") << unsigned(mbYes | mbNo) << "" << unsigned(mbNo);
        QTest::newRow("escape on OK is OK") << unsigned(mbOk) << "" << unsigned(mbOk);
    }
    void realBox()
    {
        QFETCH(unsigned, buttons);
        QFETCH(QString, click);
        QFETCH(unsigned, expected);

        QStringList captions;
        QTimer answer;
        answer.setInterval(5);
        connect(&answer, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            answer.stop();
            for (QAbstractButton* b : box->buttons())
                captions << b->text();
            if (click.isEmpty()) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* b : box->buttons())
                if (b->text() == click)
                    b->click();
        });
        answer.start();
        QCOMPARE(unsigned(MessageDlg(mkConfirmation,
                                     QStringLiteral("Zapisać zmiany w konfiguracji?"), buttons)),
                 expected);
        QCOMPARE(captions.size(), DescribeMessage(mkConfirmation, {}, buttons).captions.size());
    }

    void guardShowsMessage_data()
    {
        QTest::addColumn<int>("thrown");
        QTest::addColumn<QString>("message");

        QTest::newRow("our exception") << 0 << "Błąd zapisu pliku";
        QTest::newRow("conversion") << 1 << "'x' is not a valid integer value";
        QTest::newRow("standard") << 2 << "vector";
        QTest::newRow("anything else") << 3 << "Nieznany błąd";
    }
    void guardShowsMessage()
    {
        QFETCH(int, thrown);
        QFETCH(QString, message);

        MessageBoxRecorder boxes;
        bool after = false;
        const bool ok = ErrorGuard::RunGuarded([&] {
            switch (thrown) {
            case 0:
                throw Exception("Błąd zapisu pliku");
            case 1:
                throw EConvertError("'x' is not a valid integer value");
            case 2:
                throw std::out_of_range("vector");
            default:
                throw 42;
            }
            after = true;
        });
        QVERIFY(!ok);
        QVERIFY(!after);
        QCOMPARE(boxes.Count(), 1);
        QCOMPARE(boxes.Last().kind, mkProgram);
        QCOMPARE(boxes.Last().title, QStringLiteral("Zorvex"));
        QCOMPARE(boxes.Last().text, message);
        QCOMPARE(boxes.Last().captions, QStringList{"OK"});

        QVERIFY(ErrorGuard::RunGuarded([] {}));
        QCOMPARE(boxes.Count(), 1);
    }

    void errorSinkShowsBox()
    {
        MessageBoxRecorder boxes;
        const ErrorSink::Handler previous = ErrorGuard::InstallAsErrorSink();
        ErrorSink::Report(std::make_exception_ptr(Exception("Dialer nie odpowiada na komendę")));
        ErrorSink::Install(previous);
        QCOMPARE(boxes.Texts(), QStringList{"Dialer nie odpowiada na komendę"});
        QCOMPARE(boxes.Last().title, QStringLiteral("Zorvex"));
    }

    // An exception thrown by a timer tick is shown once, and the event loop goes on.
    void applicationGuardsEvents()
    {
        MessageBoxRecorder boxes;
        int ticks = 0;
        QTimer::singleShot(0, this, [] { throw Exception("Błąd odczytu pliku"); });
        QTimer::singleShot(0, this, [&] { ++ticks; });
        QTRY_COMPARE(ticks, 1);
        QCOMPARE(boxes.Texts(), QStringList{"Błąd odczytu pliku"});
        QCOMPARE(boxes.Last().title, QStringLiteral("Zorvex"));
    }
};

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    TestErrorGuard test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorguard.moc"
