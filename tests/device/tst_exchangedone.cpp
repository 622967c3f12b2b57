#include "tests/common/EngineRig.h"

#include "device/DialerFrames.h"
#include "device/ExchangeEngine.h"
#include "model/ImageChecksum.h"
#include "resources/ConstsZVX.h"

#include <QtTest>

#include <array>

namespace {

using Image = ExchangeEngine::Image;

struct Rig : EngineRig
{
    void Start(const QString& kind)
    {
        if (kind == "read")
            engine.StartRead();
        else if (kind == "verify")
            engine.StartCheckRead([](const ExchangeEngine::Image&) {});
        else if (kind == "write")
            engine.StartWrite();
        else if (kind == "restart")
            engine.StartRestart(12, 30);
    }
    // One step of the dialer's side: "ack", "nak", "tick", "guard" (the guard timer),
    // "acks" (one per write frame until the write is through), "image" / "bad sum" (good
    // replies, one per block left to read, of an image adding up to 0 / to 1, the guard
    // time passing after an answer to a resent frame), "readback" (the same, of the image
    // written), "bad reply" (a reply whose own checksum is wrong).
    void Step(const QString& step)
    {
        if (step == "ack" || step == "nak") {
            engine.PortRxChar(QByteArray(
                1, char(step == "ack" ? DialerFrames::Acknowledge : DialerFrames::NotAcknowledge)));
        } else if (step == "tick") {
            engine.TimerTick();
        } else if (step == "guard") {
            engine.GuardTick();
        } else if (step == "acks") {
            while (engine.Operation() == Operation::Write && !engine.Guarding() &&
                   !engine.Confirming())
                engine.PortRxChar(QByteArray(1, char(DialerFrames::Acknowledge)));
        } else if (step == "image" || step == "bad sum" || step == "readback") {
            const Image image =
                step == "readback" ? settings.Cfg.Bytes() : ImageSummingTo(step == "image" ? 0 : 1);
            while (engine.Operation() == Operation::Read && !engine.WaitingForQuiet()) {
                engine.PortRxChar(ReadReply(image, engine.Position()));
                if (engine.Guarding())
                    engine.GuardTick();
            }
        } else if (step == "bad reply") {
            engine.PortRxChar(ReadReply(ImageSummingTo(0), 0, true));
        }
    }
};

} // namespace

// The typed end of each exchange: which one, how it went, told once, after its message.
class TstExchangeDone : public QObject
{
    Q_OBJECT

private slots:
    void oneEndPerExchange_data();
    void oneEndPerExchange();
    void readEndsAfterTheCopy();
    void failedFirstFrameTellsNoEnd();
};

void TstExchangeDone::oneEndPerExchange_data()
{
    QTest::addColumn<QString>("start"); // "" starts nothing
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("ended");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("succeeded");
    QTest::addColumn<QString>("message");
    const int read = int(ConfigEvent::Read), verify = int(ConfigEvent::Verify),
              write = int(ConfigEvent::Write), restart = int(ConfigEvent::Restart);
    const QString badRecord = QString::fromUtf8(ConstsZVX::BadRecordChecksum);
    QTest::newRow("read") << "read" << QStringList{"image"} << true << read << true << "";
    QTest::newRow("verify") << "verify" << QStringList{"image"} << true << verify << true << "";
    QTest::newRow("read, image sum wrong")
        << "read" << QStringList{"bad sum"} << true << read << false
        << QString::fromUtf8(ConstsZVX::BadImageChecksum);
    QTest::newRow("verify, reply checksum wrong")
        << "verify" << QStringList{"bad reply"} << true << verify << false << badRecord;
    QTest::newRow("read, silent") << "read" << QStringList{"tick", "tick"} << true << read << false
                                  << QString::fromUtf8(ConstsZVX::TransferNoAnswer);
    QTest::newRow("read, one silence only")
        << "read" << QStringList{"tick"} << false << 0 << false << "";
    QTest::newRow("verify refused")
        << "verify" << QStringList{"nak"} << true << verify << false << badRecord;
    QTest::newRow("write") << "write" << QStringList{"acks"} << true << write << true << "";
    QTest::newRow("write refused midway")
        << "write" << QStringList{"ack", "ack", "nak"} << true << write << false << badRecord;
    QTest::newRow("restart") << "restart" << QStringList{"ack", "guard"} << true << restart << true
                             << "";
    QTest::newRow("restart, silent") << "restart" << QStringList{"tick", "tick"} << true << restart
                                     << false << QString::fromUtf8(ConstsZVX::RestartNoAnswer);
    // After a resent frame is answered the line must stay quiet; a refusal then is a fault.
    QTest::newRow("write, refusal in the guard time")
        << "write" << QStringList{"tick", "ack", "nak"} << true << write << false
        << QString::fromUtf8(ConstsZVX::TransferNoAnswer);
    QTest::newRow("refusal while idle") << "" << QStringList{"nak"} << false << 0 << false << "";
    // A resent exchange is told only once it has been confirmed, or has failed to be.
    const QString writeUnsure = QString::fromUtf8(ConstsZVX::WriteNotConfirmed);
    const QString readUnsure = QString::fromUtf8(ConstsZVX::ReadNotConfirmed);
    QTest::newRow("write resent, read back")
        << "write" << QStringList{"tick", "ack", "guard", "acks", "tick", "readback"} << true
        << write << true << "";
    QTest::newRow("write resent, another image read back")
        << "write" << QStringList{"tick", "ack", "guard", "acks", "tick", "image"} << true << write
        << false << writeUnsure;
    QTest::newRow("write resent, not yet confirmed")
        << "write" << QStringList{"tick", "ack", "guard", "acks"} << false << 0 << false << "";
    QTest::newRow("read resent, read again")
        << "read" << QStringList{"tick", "image", "tick", "image"} << true << read << true << "";
    QTest::newRow("verify resent, the second read unanswered")
        << "verify" << QStringList{"tick", "image", "tick", "tick"} << true << verify << false
        << readUnsure;
}

void TstExchangeDone::oneEndPerExchange()
{
    QFETCH(QString, start);
    QFETCH(QStringList, steps);
    QFETCH(bool, ended);
    QFETCH(int, kind);
    QFETCH(bool, succeeded);
    QFETCH(QString, message);
    Rig rig;
    qsizetype shownAtEnd = -1;
    rig.link.onDone = [&] { shownAtEnd = rig.reporter.shown.size(); };
    rig.Start(start);
    for (const QString& step : steps)
        rig.Step(step);
    const qsizetype shownAfterSteps = rig.reporter.shown.size();
    if (ended) { // anything more after the end tells nothing more
        rig.Step("tick");
        rig.Step("tick");
        rig.Step("nak");
    }

    QCOMPARE(rig.link.done.size(), ended ? 1 : 0);
    if (!ended)
        return;
    const ExchangeOutcome& outcome = rig.link.done.first();
    QCOMPARE(int(outcome.event), kind);
    QCOMPARE(outcome.succeeded, succeeded);
    QCOMPARE(outcome.message, message);
    QCOMPARE(rig.engine.Operation(), Operation::Idle);
    // After the exchange's own message, if it gives one (a verification gives none).
    QCOMPARE(shownAtEnd, shownAfterSteps);
}

void TstExchangeDone::readEndsAfterTheCopy()
{
    Rig rig;
    bool copied = false;
    const Image image = ImageSummingTo(0);
    rig.link.onDone = [&] { copied = rig.settings.Cfg.GetByte(200) == image[200]; };
    rig.engine.StartRead();
    rig.Step("image");
    QCOMPARE(rig.link.done.size(), 1);
    QVERIFY(copied);
}

void TstExchangeDone::failedFirstFrameTellsNoEnd()
{
    Rig rig;
    rig.link.failSendsFrom = 0;
    QVERIFY_THROWS_EXCEPTION(Exception, rig.engine.StartWrite());
    QVERIFY(rig.link.done.isEmpty());
    QCOMPARE(rig.link.events, (QStringList{"start", "end"}));
}

QTEST_MAIN(TstExchangeDone)
#include "tst_exchangedone.moc"
