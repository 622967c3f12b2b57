#include "document/ConfigDocument.h"

#include "device/ConfigFileIO.h"
#include "device/ConfigFileMessage.h"
#include "device/FileNames.h"
#include "device/OutcomeReporter.h"
#include "document/DocumentObserver.h"
#include "document/VerifyPolicy.h"
#include "model/Cp1250.h"
#include "model/ErrorSink.h"
#include "resources/ConstsZVX.h"

#include <QTimer>

namespace {

// A file result in the user's words: the one place a document's file failure gets its text.
FileResult Outcome(const ConfigFile::Result& result, ConfigFile::Action action)
{
    if (result.Ok())
        return {};
    return {FileOutcome::Failed, ConfigFile::Message(result, action)};
}

} // namespace

ConfigDocument::ConfigDocument(OutcomeReporter& reporter, QObject* parent)
    : QObject(parent), m_reporter(reporter), m_link(reporter)
{
    m_link.OnExchangeDone = [this](const ExchangeOutcome& outcome) { ExchangeDone(outcome); };
    m_unmodified = Settings();
}

ConfigDocument::~ConfigDocument()
{
    m_link.OnExchangeDone = nullptr;
}

bool ConfigDocument::Modified() const
{
    TZorvexSettings now = Settings();
    now.Cfg.SetByte(0, m_unmodified.Cfg.GetByte(0));
    return !(now == m_unmodified);
}

void ConfigDocument::MarkUnmodified()
{
    m_unmodified = Settings();
    emit changed();
}

void ConfigDocument::LoadDefaults()
{
    Settings().LoadDefaults();
    m_fileName.clear();
    MarkUnmodified();
}

FileResult ConfigDocument::Load(const QString& fileName)
{
    bool accepted = false;
    const ConfigFile::Result result =
        ConfigFile::Load(Settings(), FileNameBytes(fileName), [&](const std::string& record0) {
            accepted = m_reporter.Confirm(QString::fromStdString(Cp1250ToUtf8(record0)));
            return accepted;
        });
    if (!result.Ok())
        return Outcome(result, ConfigFile::Action::Load);
    if (!accepted)
        return {FileOutcome::Declined, {}}; // unsaved edits stay unsaved
    m_fileName = fileName;
    MarkUnmodified();
    Notify(ConfigEvent::Load, true, {}, fileName);
    return {};
}

FileResult ConfigDocument::Save(const QString& fileName)
{
    const ConfigFile::Result result = ConfigFile::Save(Settings(), FileNameBytes(fileName));
    if (!result.Ok()) {
        const FileResult failed = Outcome(result, ConfigFile::Action::Save);
        Notify(ConfigEvent::Save, false, failed.message, fileName);
        return failed;
    }
    m_fileName = fileName;
    MarkUnmodified();
    Notify(ConfigEvent::Save, true, {}, fileName);
    return {};
}

FileResult ConfigDocument::ReadFile(const QString& fileName, TZorvexSettings& settings)
{
    ConfigFile::Bytes bytes;
    const ConfigFile::Result result = ConfigFile::Read(FileNameBytes(fileName), bytes);
    if (!result.Ok())
        return Outcome(result, ConfigFile::Action::Load);
    ConfigFile::Apply(bytes, settings);
    return {};
}

template <class Start> void ConfigDocument::Begin(ConfigEvent event, Start start)
{
    try {
        start();
    } catch (...) {
        const ExchangeOutcome failed = BrokenOutcome(event, std::current_exception());
        Notify(event, false, failed.message, {});
        emit exchangeFinished(failed);
        throw;
    }
}

void ConfigDocument::Read()
{
    Begin(ConfigEvent::Read, [this] { m_link.ReadFromDevice(); });
}

void ConfigDocument::Write()
{
    Begin(ConfigEvent::Write, [this] { m_link.WriteToDevice(); });
}

void ConfigDocument::Verify()
{
    Begin(ConfigEvent::Verify,
          [this] { m_link.VerifyDevice([this](const TCfg& image) { m_dialerImage = image; }); });
}

void ConfigDocument::Restart(const QTime& time)
{
    Begin(ConfigEvent::Restart, [this, time] { m_link.RestartDevice(time); });
}

void ConfigDocument::ExchangeDone(const ExchangeOutcome& outcome)
{
    if (outcome.succeeded && outcome.event == ConfigEvent::Read) {
        m_fileName.clear(); // the dialer's configuration, in no file yet
        MarkUnmodified();
    } else if (outcome.succeeded && outcome.event == ConfigEvent::Write) {
        MarkUnmodified();
        // The question comes once the write's box has closed, outside the port's handling.
        QTimer::singleShot(0, this, [this] { OfferVerification(); });
    }
    Notify(outcome.event, outcome.succeeded, outcome.message, {});
    emit exchangeFinished(outcome);
}

void ConfigDocument::Notify(ConfigEvent event, bool succeeded, const QString& message,
                            const QString& fileName)
{
    if (!m_observer)
        return;
    TZorvexSettings passed = Settings();
    if (event == ConfigEvent::Verify && succeeded)
        passed.Cfg = m_dialerImage;
    m_observer->DocumentEventHappened(
        {event, succeeded, message, fileName, m_link.SerialPort().Port(), passed});
}

void ConfigDocument::OfferVerification()
{
    try {
        if (!m_verifyPolicy)
            return;
        const std::optional<bool> kept = m_verifyPolicy->Kept();
        bool verify = kept.value_or(false);
        if (!kept) {
            const VerifyChoice answer = m_verifyPolicy->Ask();
            verify = answer.verify;
            if (answer.keep) {
                try {
                    m_verifyPolicy->Keep(verify);
                } catch (...) {
                    ErrorSink::Report(std::current_exception()); // the check still runs
                }
            }
        }
        if (verify)
            Verify();
    } catch (...) {
        ErrorSink::Report(std::current_exception());
    }
}
