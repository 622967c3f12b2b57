#include "tools/CommandDocument.h"

#include "device/ConfigFileMessage.h"
#include "device/FileNames.h"
#include "device/MessageFormat.h"
#include "model/ErrorSink.h"
#include "resources/ConstsZVX.h"
#include "settings/ProgramSettings.h"
#include "tools/ConfigFileArg.h"
#include "tools/ExitStatus.h"
#include "tools/InterruptWait.h"
#include "tools/ProgressBar.h"

#include <QEventLoop>
#include <QScopeGuard>

#include <csignal>
#include <memory>
#include <optional>
#include <utility>

namespace {

QString SignalName(int number)
{
    switch (number) {
    case InterruptSignal::Interrupt:
        return QStringLiteral("SIGINT");
    case InterruptSignal::Terminate:
        return QStringLiteral("SIGTERM");
    case InterruptSignal::HangUp:
        return QStringLiteral("SIGHUP");
    default:
        return QString::number(number);
    }
}

QString InterruptedText(int signal)
{
    return QStringLiteral("Przerwano (%1)").arg(SignalName(signal));
}

// An error's message as the console shows it; never an empty line.
QString ConsoleError(std::exception_ptr error)
{
    const QString text = ErrorText(error);
    return text.isEmpty() ? QString::fromUtf8(ConstsZVX::UnknownError) : text;
}

} // namespace

CommandDocument::CommandDocument(CommandContext& context, QTextStream* information)
    : m_context(context), m_reporter(information ? *information : context.out, context.err),
      m_archive(ProgramSettings().Archive()), m_document(m_reporter)
{
    m_document.SetObserver(&m_archive);
}

CommandDocument::~CommandDocument()
{
    m_document.SetObserver(nullptr);
    if (m_archive.Held() == 0)
        return;
    // What the command printed is out before the archive is waited on.
    m_context.out.flush();
    m_context.err.flush();
    try {
        // A signal now ends the wait on the archive as it ends an exchange.
        InterruptWait interrupt;
        for (const QString& line : m_archive.Record(interrupt.WakeFd()))
            m_context.err << "zvx: " << PrintableText(line) << '\n';
        if (const int signal = interrupt.Caught(); signal != 0 && m_interrupted == 0) {
            m_reporter.Error(InterruptedText(signal));
            m_context.interrupted = signal;
        }
    } catch (...) { // the archive never changes how a command ended
    }
}

int CommandDocument::Open(const QString& file)
{
    const FileResult result = m_document.Open(file);
    if (result.outcome == FileOutcome::Done)
        return ExitStatus::Success;
    m_context.err << ConfigFile::Message(result.result, ConfigFile::Action::Load, file) << '\n';
    return ExitStatus::FileError;
}

int CommandDocument::Save(const QString& output)
{
    if (IsStandardOutput(output))
        return WriteConfigOutput(m_context, Settings());
    return Saved(m_document.Save(output), output);
}

int CommandDocument::SaveCopy(const TZorvexSettings& settings, const QString& output)
{
    if (IsStandardOutput(output))
        return WriteConfigOutput(m_context, settings);
    return Saved(m_document.SaveCopy(settings, output), output);
}

int CommandDocument::Saved(const FileResult& result, const QString& output)
{
    if (result.outcome != FileOutcome::Done) {
        m_context.err << ConfigFile::Message(result.result, ConfigFile::Action::Save, output)
                      << '\n';
        return ExitStatus::FileError;
    }
    m_context.out << FormatMessage(ConstsZVX::FileSaved, {PrintableText(output)}) << '\n';
    return ExitStatus::Success;
}

int CommandDocument::Exchange(const QString& port, TransferLog* log,
                              const std::function<void(ConfigDocument&)>& start)
{
    // Before the port opens, and gone only after it has closed again (close() below runs
    // first, on any way out): a signal at any moment in between ends the exchange, never
    // the program with the port held.
    InterruptWait interrupt;
    ProgressBar bar(m_context.err);
    QEventLoop loop;
    std::optional<ExchangeOutcome> outcome;
    std::exception_ptr sunk; // an error that broke in with no exchange left to end it

    TZorvexSettingsControl& link = m_document.Link();
    link.SerialPort().SetPort(port.startsWith(QLatin1Char('/')) ? port : port.toUpper());
    link.SetTransferLog(log);
    link.OnTransferStart = [&bar](TZorvexSettingsControl*) { bar.Start(); };
    link.OnTransferProgress = [&bar](int percent) { bar.Progress(percent); };
    link.OnTransferConfirm = [&bar](ConfigEvent event) {
        bar.Confirm(QString::fromUtf8(event == ConfigEvent::Write
                                          ? ConstsZVX::ProgressConfirmWrite
                                          : ConstsZVX::ProgressConfirmRead));
    };
    // The outcome's message follows at once, on a clean line.
    link.OnTransferEnd = [&bar](TZorvexSettingsControl*) { bar.End(); };
    const QMetaObject::Connection finished = QObject::connect(
        &m_document, &ConfigDocument::exchangeFinished, &loop, [&](const ExchangeOutcome& end) {
            outcome = end;
            loop.quit();
        });
    // Errors from inside the link (the adapter pulled out): printed here; the exchange
    // they break off then tells its outcome.
    const ErrorSink::Handler previousSink = ErrorSink::Install([&](std::exception_ptr error) {
        bar.End();
        m_reporter.Error(ConsoleError(error));
        if (link.Operation() == ::Operation::Idle && !outcome) {
            sunk = error;
            loop.quit();
        }
    });
    std::unique_ptr<QObject> wake = interrupt.Notifier([&loop] { loop.quit(); });
    bool closed = false;
    auto close = [&] {
        if (std::exchange(closed, true))
            return;
        wake.reset();
        QObject::disconnect(finished);
        ErrorSink::Install(previousSink);
        link.OnTransferStart = nullptr;
        link.OnTransferProgress = nullptr;
        link.OnTransferConfirm = nullptr;
        link.OnTransferEnd = nullptr;
        link.SetTransferLog(nullptr);
        try {
            link.SerialPort().Close(); // the exclusive mode and the lock go with it
        } catch (...) {
        }
    };
    const auto closeOnAnyWayOut = qScopeGuard(close);

    try {
        start(m_document);
        if (!outcome && !interrupt.Caught())
            loop.exec();
    } catch (...) {
        // A start that failed: the document has told its outcome already.
        bar.End();
        sunk = std::current_exception();
        if (!interrupt.Caught())
            m_reporter.Error(ConsoleError(sunk));
    }
    // An exchange a signal broke off ends as the signal's, before the port closes.
    if (const int signal = interrupt.Caught())
        m_document.Cancel(InterruptedText(signal));
    close();
    // The signal before any outcome, looked at once the port is closed, so that one that
    // came while it closed counts too: whatever else happened, the user asked the command
    // to end.
    if (const int signal = interrupt.Caught()) {
        bar.End();
        m_reporter.Error(InterruptedText(signal));
        m_interrupted = signal;
        return ExitStatus::Interrupted + signal;
    }
    if (outcome && outcome->succeeded)
        return ExitStatus::Success;
    const bool portFailed =
        outcome ? outcome->portFailed : BrokenOutcome(ConfigEvent::Read, sunk).portFailed;
    return portFailed ? ExitStatus::PortError : ExitStatus::ExchangeFailed;
}
