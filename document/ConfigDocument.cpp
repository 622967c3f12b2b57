#include "document/ConfigDocument.h"

#include "device/ConfigFileIO.h"
#include "device/ConfigFileMessage.h"
#include "device/FileNames.h"
#include "document/DocumentObserver.h"
#include "document/VerifyPolicy.h"
#include "model/ConfigIdentity.h"
#include "model/ErrorSink.h"

#include <QTimer>

namespace {

// A file result in the user's words: the one place a document's file failure gets its text.
FileResult Outcome(const ConfigFile::Result& result, ConfigFile::Action action)
{
    if (result.Ok())
        return {};
    return {FileOutcome::Failed, ConfigFile::Message(result, action), result};
}

} // namespace

ConfigDocument::ConfigDocument(OutcomeReporter& reporter, QObject* parent)
    : QObject(parent), m_link(reporter)
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

void ConfigDocument::TakeFile(const QString& fileName)
{
    m_fileName = fileName;
    m_fileContent = Settings();
    MarkUnmodified();
}

QString ConfigDocument::FileOfConfiguration() const
{
    return !m_fileName.isEmpty() && SameConfiguration(Settings(), m_fileContent) ? m_fileName
                                                                                 : QString();
}

FileResult ConfigDocument::Load(const QString& fileName)
{
    bool replaced = false;
    const ConfigFile::Result result = m_link.LoadFromFile(fileName, &replaced);
    if (!result.Ok())
        return Outcome(result, ConfigFile::Action::Load);
    if (!replaced)
        return {FileOutcome::Declined, {}, {}}; // unsaved edits stay unsaved
    TakeFile(fileName);
    Notify(ConfigEvent::Load, true, {}, fileName, Settings());
    return {};
}

FileResult ConfigDocument::Open(const QString& fileName)
{
    TZorvexSettings opened = Settings();
    const FileResult result = ReadFile(fileName, opened);
    if (result.outcome != FileOutcome::Done)
        return result;
    Settings() = opened;
    TakeFile(fileName);
    return {};
}

FileResult ConfigDocument::Save(const QString& fileName)
{
    const FileResult result = Outcome(m_link.SaveToFile(fileName), ConfigFile::Action::Save);
    if (result.outcome == FileOutcome::Done)
        TakeFile(fileName);
    Notify(ConfigEvent::Save, result.outcome == FileOutcome::Done, result.message, fileName,
           Settings());
    return result;
}

FileResult ConfigDocument::SaveCopy(const TZorvexSettings& settings, const QString& fileName)
{
    const FileResult result =
        Outcome(ConfigFile::Save(settings, FileNameBytes(fileName)), ConfigFile::Action::Save);
    Notify(ConfigEvent::Save, result.outcome == FileOutcome::Done, result.message, fileName,
           settings);
    return result;
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
        ExchangeDone(BrokenOutcome(event, std::current_exception()));
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

bool ConfigDocument::Cancel(const QString& reason)
{
    return m_link.CancelExchange(reason);
}

void ConfigDocument::ExchangeDone(const ExchangeOutcome& outcome)
{
    // Which file went into the dialer, or was compared with it: asked before a good
    // read or write changes what the document holds.
    const bool namesFile =
        outcome.event == ConfigEvent::Write || outcome.event == ConfigEvent::Verify;
    const QString file = namesFile ? FileOfConfiguration() : QString();
    if (outcome.succeeded && outcome.event == ConfigEvent::Read) {
        m_fileName.clear(); // the dialer's configuration, in no file yet
        MarkUnmodified();
    } else if (outcome.succeeded && outcome.event == ConfigEvent::Write) {
        MarkUnmodified();
        // The question comes once the write's box has closed, outside the port's handling.
        QTimer::singleShot(0, this, [this] { OfferVerification(); });
    }
    TZorvexSettings passed = Settings();
    if (outcome.event == ConfigEvent::Verify && outcome.succeeded)
        passed.Cfg = m_dialerImage; // what the dialer holds, with the document's records
    Notify(outcome.event, outcome.succeeded, outcome.message, file, passed);
    emit exchangeFinished(outcome);
}

void ConfigDocument::Notify(ConfigEvent event, bool succeeded, const QString& message,
                            const QString& fileName, const TZorvexSettings& passed)
{
    if (!m_observer)
        return;
    const bool exchange = event != ConfigEvent::Load && event != ConfigEvent::Save;
    m_observer->DocumentEventHappened({event, succeeded, message, fileName,
                                       exchange ? m_link.SerialPort().Port() : QString(), passed});
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
