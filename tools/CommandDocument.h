#pragma once

#include "document/ConfigDocument.h"
#include "document/DeferredArchiver.h"
#include "tools/CommandLine.h"
#include "tools/ConsoleReporter.h"

#include <QString>

#include <functional>

class TransferLog;

// The configuration a command works on: the window's ConfigDocument, with the link's
// messages as console lines, so that every load, save and exchange of "zvx" takes the
// window's path and leaves the window's archive entries. The entries are held until the
// object goes (after the command's port is closed and its file saved, whatever the
// command's outcome) and then kept in the archive the program settings name, within
// ArchiveRecorder::Patience; one line on standard error when they did not reach it. An
// archive out of reach never changes a command's outcome; SIGINT, SIGTERM or SIGHUP
// while it is waited on end the wait (the entries go to the local queue) and the command
// (CommandContext::interrupted).
//
// Main thread only; needs a QCoreApplication.
class CommandDocument
{
public:
    // The link's information lines ("Konfiguracja odczytana poprawnie") go to information,
    // standard output unless given (standard error when the configuration itself goes to
    // standard output).
    explicit CommandDocument(CommandContext& context, QTextStream* information = nullptr);
    ~CommandDocument();
    CommandDocument(const CommandDocument&) = delete;
    CommandDocument& operator=(const CommandDocument&) = delete;

    ConfigDocument& Document() { return m_document; }
    TZorvexSettings& Settings() { return m_document.Settings(); }

    // Opens the file the command works on (ConfigDocument::Open): ExitStatus Success, or
    // FileError with the system's message on standard error.
    int Open(const QString& file);
    // Saves the configuration to output (ConfigDocument::Save), then prints "Konfiguracja
    // została zapisana w zbiorze: ..."; "-" writes the file's bytes to standard output
    // instead, which is no save of a file and is recorded as none. Success or FileError
    // with the message on standard error.
    int Save(const QString& output);
    // The same for a configuration that is not the document's (ConfigDocument::SaveCopy).
    int SaveCopy(const TZorvexSettings& settings, const QString& output);

    // One exchange with the dialer on port ("COM1".."COM16" or a device path): start
    // calls one of the document's exchanges; the call returns when exchangeFinished has
    // told its outcome, with a progress bar on a terminal meanwhile and every frame in
    // log (none: nullptr). The reply timer bounds every exchange. ExitStatus: Success,
    // ExchangeFailed (the dialer's or the line's outcome), PortError (the port could not
    // be opened or failed during the exchange), or Interrupted + the signal's number when
    // SIGINT, SIGTERM or SIGHUP came at any time during the call: the signal wins over
    // any outcome, and an exchange it broke off ends as a failure that names it. The port
    // is closed before the call returns, and the three signals only end the exchange
    // while the port is open.
    int Exchange(const QString& port, TransferLog* log,
                 const std::function<void(ConfigDocument&)>& start);

private:
    int Saved(const FileResult& result, const QString& output);

    CommandContext& m_context;
    int m_interrupted = 0; // the signal that ended an exchange
    ConsoleReporter m_reporter;
    DeferredArchiver m_archive;
    ConfigDocument m_document;
};
