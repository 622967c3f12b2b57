#include "emulator/DialerImage.h"
#include "tests/common/DocumentExchange.h"
#include "tests/common/EmulatedDialer.h"
#include "tests/common/FakeReporter.h"

#include "document/ConfigDocument.h"
#include "document/VerifyPolicy.h"
#include "model/ErrorSink.h"
#include "resources/ConstsZVX.h"
#include "serial/CPort.h"

#include <QtTest>

#include <memory>
#include <optional>

namespace {

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The factory image with one byte changed, so that a read is seen to change something.
std::unique_ptr<DialerEmulator> Dialer(const QStringList& faults = {})
{
    TCfg image = DefaultDialerImage();
    image.SetByte(120, 0x12);
    return StartDialer(faults, image);
}

// A document with a record of its events and of the errors that reached ErrorSink.
struct Rig
{
    Rig()
    {
        QObject::connect(&document, &ConfigDocument::exchangeFinished,
                         [this](const ExchangeOutcome& outcome) { ends.append(outcome); });
        QObject::connect(&document, &ConfigDocument::changed, [this] { ++changes; });
        previousSink =
            ErrorSink::Install([this](std::exception_ptr error) { sunk.append(ErrorText(error)); });
    }
    ~Rig() { ErrorSink::Install(previousSink); }
    void LeadTo(const DialerEmulator& dialer)
    {
        document.Link().SerialPort().SetPort(PathOf(dialer));
        document.Link().SetReplyInterval(300);
    }
    // True once a zero timer queued now has run: whatever the document queued before it
    // (the question after a write) has run too.
    bool Settle()
    {
        bool settled = false;
        QTimer::singleShot(0, [&] { settled = true; });
        return QTest::qWaitFor([&] { return settled; }, 5000);
    }

    FakeReporter reporter;
    ConfigDocument document{reporter};
    QList<ExchangeOutcome> ends;
    QStringList sunk;
    int changes = 0;
    ErrorSink::Handler previousSink;
};

// Answers from a table; records what it was asked and told.
class PresetPolicy : public VerifyAfterWritePolicy
{
public:
    std::optional<bool> Kept() override { return kept; }
    VerifyChoice Ask() override
    {
        ++asked;
        return answer;
    }
    void Keep(bool verify) override
    {
        keptNow = verify;
        if (keepFails)
            throw Exception("Unable to write to zorvex.ini");
    }

    std::optional<bool> kept;
    VerifyChoice answer;
    bool keepFails = false;
    int asked = 0;
    std::optional<bool> keptNow;
};

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace

class TstDocument : public QObject
{
    Q_OBJECT

private slots:
    void load_data();
    void load();
    void save_data();
    void save();
    void snapshot();
    void exchanges_data();
    void exchanges();
    void startThatFails();
    void exchangeBrokenByError();
    void cancelEndsAsFailure();
    void verifyAfterWrite_data();
    void verifyAfterWrite();

private:
    QTemporaryDir m_dir;
};

void TstDocument::load_data()
{
    QTest::addColumn<QString>("file"); // "good", "bad format", "short", "missing"
    QTest::addColumn<bool>("open");    // a command's input (Open) instead of the user's Load
    QTest::addColumn<bool>("answer");  // to the question with record 0's text
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    const int done = int(FileOutcome::Done), declined = int(FileOutcome::Declined),
              failed = int(FileOutcome::Failed);
    QTest::newRow("loaded") << "good" << false << true << done << "";
    QTest::newRow("declined") << "good" << false << false << declined << "";
    QTest::newRow("bad format") << "bad format" << false << true << failed
                                << Text(ConstsZVX::FileFormatError);
    QTest::newRow("short") << "short" << false << true << failed << Text(ConstsZVX::FileSizeError);
    // The system's reason wins over the size: a file that is not there cannot be read.
    QTest::newRow("missing") << "missing" << false << true << failed
                             << Text(ConstsZVX::FileReadError);
    // Opened without a question: no answer could decline it.
    QTest::newRow("opened") << "good" << true << false << done << "";
    QTest::newRow("opened, bad format")
        << "bad format" << true << true << failed << Text(ConstsZVX::FileFormatError);
}

void TstDocument::load()
{
    QFETCH(QString, file);
    QFETCH(bool, open);
    QFETCH(bool, answer);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(file + QStringLiteral(".zvx"));
    QFile::remove(path);
    Rig writer;
    writer.document.Settings().Comment.SetText(0, "Obiekt przy rynku");
    writer.document.Settings().Cfg.SetByte(100, 0x42);
    if (file == "good")
        QCOMPARE(writer.document.Save(path).outcome, FileOutcome::Done);
    QByteArray bad(1024, '\0');
    bad.replace(0, 6, "Zorvex");
    bad[40] = 1;
    if (file == "bad format")
        QVERIFY(WriteFile(path, bad));
    if (file == "short")
        QVERIFY(WriteFile(path, QByteArray(1023, 'x')));

    Rig rig;
    rig.document.Settings().Cfg.SetByte(101, 0x77); // an unsaved edit
    const TZorvexSettings before = rig.document.Settings();
    rig.reporter.confirmAnswer = answer;
    const FileResult result = open ? rig.document.Open(path) : rig.document.Load(path);
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(result.message, message);
    if (result.outcome == FileOutcome::Done) {
        QCOMPARE(rig.document.Settings().Cfg.GetByte(100), std::uint8_t(0x42));
        QCOMPARE(rig.document.Settings().Cfg.GetByte(101),
                 writer.document.Settings().Cfg.GetByte(101));
        QCOMPARE(rig.document.FileName(), path);
        QVERIFY(!rig.document.Modified());
        QCOMPARE(rig.reporter.shown, open ? QStringList{} : QStringList{"C:Obiekt przy rynku"});
    } else {
        QVERIFY(rig.document.Settings() == before);
        QVERIFY(rig.document.FileName().isEmpty());
        QVERIFY(rig.document.Modified()); // the edit stays unsaved
        QCOMPARE(rig.changes, 0);
    }
}

void TstDocument::save_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("saved");
    QTest::newRow("saved") << "obiekt.ZVX" << true;
    QTest::newRow("no such folder") << "no/such/folder/x.zvx" << false;
}

void TstDocument::save()
{
    QFETCH(QString, name);
    QFETCH(bool, saved);
    const QString path = m_dir.filePath(name);
    Rig rig;
    rig.document.Settings().Cfg.SetByte(101, 0x77);
    const FileResult result = rig.document.Save(path);
    QCOMPARE(result.outcome, saved ? FileOutcome::Done : FileOutcome::Failed);
    QCOMPARE(result.message, saved ? QString() : Text(ConstsZVX::FileSaveError));
    QCOMPARE(rig.document.FileName(), saved ? path : QString());
    QCOMPARE(rig.document.Modified(), !saved);
    QCOMPARE(rig.changes, saved ? 1 : 0);

    // What was saved reads back the same, without a question.
    TZorvexSettings read;
    QCOMPARE(ConfigDocument::ReadFile(path, read).outcome,
             saved ? FileOutcome::Done : FileOutcome::Failed);
    if (saved)
        QCOMPARE(read.Cfg.GetByte(101), std::uint8_t(0x77));
    QVERIFY(rig.reporter.shown.isEmpty());
}

void TstDocument::snapshot()
{
    Rig rig;
    ConfigDocument& document = rig.document;
    QVERIFY(!document.Modified());
    document.Settings().Cfg.SetByte(0, 0x5A); // the checksum a write fills in
    QVERIFY(!document.Modified());
    document.Settings().Comment.SetText(7, "x");
    QVERIFY(document.Modified());
    document.MarkUnmodified();
    QVERIFY(!document.Modified());
    QCOMPARE(rig.changes, 1);

    QVERIFY(document.Save(m_dir.filePath(QStringLiteral("s.zvx"))).outcome == FileOutcome::Done);
    document.Settings().Cfg.SetByte(130, 0x01);
    QVERIFY(document.Modified());
    document.LoadDefaults();
    QVERIFY(!document.Modified());
    QVERIFY(document.FileName().isEmpty());
    TZorvexSettings factory;
    factory.LoadDefaults();
    QVERIFY(document.Settings() == factory);
    QCOMPARE(rig.changes, 3);
}

void TstDocument::exchanges_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QString>("failure");   // empty: succeeds
    QTest::addColumn<bool>("takesDialers"); // the file name goes, the edit is the dialer's
    const int read = int(ConfigEvent::Read), verify = int(ConfigEvent::Verify),
              write = int(ConfigEvent::Write), restart = int(ConfigEvent::Restart);
    const QString noAnswer = Text(ConstsZVX::TransferNoAnswer);
    QTest::newRow("read") << read << QStringList{} << "" << true;
    QTest::newRow("read, silent") << read << QStringList{"silent"} << noAnswer << false;
    QTest::newRow("read, bad image")
        << read << QStringList{"bad-image"} << Text(ConstsZVX::BadImageChecksum) << false;
    QTest::newRow("verify") << verify << QStringList{} << "" << false;
    QTest::newRow("write") << write << QStringList{} << "" << true;
    QTest::newRow("write refused")
        << write << QStringList{"nak-frame=3"} << Text(ConstsZVX::BadRecordChecksum) << false;
    QTest::newRow("restart") << restart << QStringList{} << "" << false;
    QTest::newRow("restart, silent")
        << restart << QStringList{"silent"} << Text(ConstsZVX::RestartNoAnswer) << false;
}

void TstDocument::exchanges()
{
    QFETCH(int, kind);
    QFETCH(QStringList, faults);
    QFETCH(QString, failure);
    QFETCH(bool, takesDialers);
    const auto dialer = Dialer(faults);
    Rig rig;
    rig.LeadTo(*dialer);
    ConfigDocument& document = rig.document;
    const QString path = m_dir.filePath(QStringLiteral("wymiana.zvx"));
    QCOMPARE(document.Save(path).outcome, FileOutcome::Done);
    document.Settings().Cfg.SetByte(130, 0x55); // unsaved
    const int changesBefore = rig.changes;
    const TZorvexSettings before = document.Settings();

    QVERIFY(StartExchange(document, ConfigEvent(kind)));
    QTRY_COMPARE_WITH_TIMEOUT(rig.ends.size(), 1, 20000);
    QVERIFY(rig.Settle());
    QCOMPARE(rig.ends.size(), 1); // no policy: no check read after a write
    const ExchangeOutcome& end = rig.ends.first();
    QCOMPARE(int(end.event), kind);
    QCOMPARE(end.succeeded, failure.isEmpty());
    QCOMPARE(end.message, failure);
    QCOMPARE(document.Modified(), !takesDialers);
    QCOMPARE(rig.changes, changesBefore + (takesDialers ? 1 : 0));
    const bool read = kind == int(ConfigEvent::Read);
    QCOMPARE(document.FileName(), read && takesDialers ? QString() : path);
    if (read && takesDialers)
        QCOMPARE(document.Settings().Cfg.GetByte(120), std::uint8_t(0x12));
    if (kind == int(ConfigEvent::Verify)) {
        QCOMPARE(document.DialerImage(), dialer->Image());
        QVERIFY(document.Settings() == before);
    }
    QVERIFY(rig.sunk.isEmpty());
}

void TstDocument::startThatFails()
{
    Rig rig;
    rig.document.Link().SerialPort().SetPort(QStringLiteral("/nonexistent/ttyZVX"));
    QVERIFY_THROWS_EXCEPTION(EComPort, rig.document.Write());
    QCOMPARE(rig.ends.size(), 1);
    QCOMPARE(rig.ends.first().event, ConfigEvent::Write);
    QVERIFY(!rig.ends.first().succeeded);
    QVERIFY(rig.ends.first().portFailed); // the line, not the dialer
    QVERIFY(!rig.ends.first().message.isEmpty());
}

void TstDocument::exchangeBrokenByError()
{
    const auto dialer = Dialer();
    Rig rig;
    rig.LeadTo(*dialer);
    rig.document.Link().OnTransferProgress = [](int percent) {
        if (percent == 50)
            throw Exception("przerwane w obsłudze postępu");
    };
    const TZorvexSettings before = rig.document.Settings();
    rig.document.Read();
    QTRY_COMPARE_WITH_TIMEOUT(rig.ends.size(), 1, 20000);
    QCOMPARE(rig.sunk, QStringList{"przerwane w obsłudze postępu"}); // before the end
    QCOMPARE(rig.ends.first().event, ConfigEvent::Read);
    QVERIFY(!rig.ends.first().succeeded);
    QCOMPARE(rig.ends.first().message, QStringLiteral("przerwane w obsłudze postępu"));
    QVERIFY(!rig.ends.first().portFailed);
    QVERIFY(rig.document.Settings() == before);
}

// The user breaks an exchange off (zvx on a signal): it ends at once as a failure that
// says why, like any other end, and the link is free again.
void TstDocument::cancelEndsAsFailure()
{
    const auto dialer = Dialer({"silent"});
    Rig rig;
    rig.LeadTo(*dialer);
    QVERIFY(!rig.document.Cancel(QStringLiteral("Przerwano (SIGINT)"))); // nothing running
    const TZorvexSettings before = rig.document.Settings();
    rig.document.Read();
    QVERIFY(rig.document.Cancel(QStringLiteral("Przerwano (SIGINT)")));
    QCOMPARE(rig.ends.size(), 1);
    QCOMPARE(rig.ends.first().event, ConfigEvent::Read);
    QVERIFY(!rig.ends.first().succeeded);
    QCOMPARE(rig.ends.first().message, QStringLiteral("Przerwano (SIGINT)"));
    QCOMPARE(rig.document.Link().Operation(), Operation::Idle);
    QVERIFY(!rig.document.Cancel(QStringLiteral("Przerwano (SIGINT)")));
    QVERIFY(rig.document.Settings() == before);
    QVERIFY(rig.reporter.shown.isEmpty()); // no box of the link's
}

void TstDocument::verifyAfterWrite_data()
{
    QTest::addColumn<int>("kept"); // -1 none kept, 0 never, 1 always
    QTest::addColumn<bool>("verify");
    QTest::addColumn<bool>("keep");
    QTest::addColumn<bool>("keepFails");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("verified");
    QTest::newRow("kept: always") << 1 << false << false << false << false << true;
    QTest::newRow("kept: never") << 0 << true << false << false << false << false;
    QTest::newRow("asked: no") << -1 << false << false << false << true << false;
    QTest::newRow("asked: no, kept") << -1 << false << true << false << true << false;
    QTest::newRow("keeping fails, still verifies") << -1 << true << true << true << true << true;
}

void TstDocument::verifyAfterWrite()
{
    QFETCH(int, kept);
    QFETCH(bool, verify);
    QFETCH(bool, keep);
    QFETCH(bool, keepFails);
    QFETCH(bool, asked);
    QFETCH(bool, verified);
    const auto dialer = Dialer();
    Rig rig;
    rig.LeadTo(*dialer);
    PresetPolicy policy;
    if (kept >= 0)
        policy.kept = kept == 1;
    policy.answer = {verify, keep};
    policy.keepFails = keepFails;
    rig.document.SetVerifyPolicy(&policy);
    int askedWithShown = -1;
    rig.reporter.onShown = [&] { askedWithShown = policy.asked; };

    rig.document.Write();
    QTRY_COMPARE_WITH_TIMEOUT(rig.ends.size(), verified ? 2 : 1, 20000);
    QVERIFY(rig.Settle());
    QTRY_COMPARE(rig.document.Link().Operation(), Operation::Idle);
    QCOMPARE(rig.ends.size(), verified ? 2 : 1);
    QCOMPARE(rig.ends.first().event, ConfigEvent::Write);
    QCOMPARE(askedWithShown, 0); // the write's message came before any question
    QCOMPARE(policy.asked, asked ? 1 : 0);
    QCOMPARE(policy.keptNow, keep ? std::optional<bool>(verify) : std::nullopt);
    QCOMPARE(rig.sunk, keepFails ? QStringList{"Unable to write to zorvex.ini"} : QStringList{});
    if (verified) {
        QCOMPARE(rig.ends.last().event, ConfigEvent::Verify);
        QVERIFY(rig.ends.last().succeeded);
        QCOMPARE(dialer->GetCounters().frames, 64 + 4);
    } else {
        QCOMPARE(dialer->GetCounters().frames, 64);
    }
}

QTEST_MAIN(TstDocument)
#include "tst_document.moc"
