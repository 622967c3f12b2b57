#pragma once

#include "device/TZorvexSettingsControl.h"
#include "model/ErrorSink.h"
#include "tools/CommandLine.h"
#include "tools/ConsoleReporter.h"
#include "tools/InterruptWait.h"
#include "tools/ProgressBar.h"

#include <QString>

#include <functional>

// One exchange with the dialer from the command line: the dialer link with console
// outcomes and a progress bar, run in a Qt event loop (no windows) until the exchange
// ends. The reply timer bounds every exchange, so Run always returns.
//
// While the object lives, errors that end an exchange from inside the link
// (ErrorSink) are printed on standard error, and SIGINT, SIGTERM and SIGHUP end the
// exchange instead of the program: Run returns, and the port is closed (its exclusive
// mode released) when the object goes. Main thread only; needs a QCoreApplication.
class DialerSession
{
public:
    // port: "COM1".."COM16" or a device path (see IsPortArgument).
    DialerSession(CommandContext& context, const QString& port);
    ~DialerSession();
    DialerSession(const DialerSession&) = delete;
    DialerSession& operator=(const DialerSession&) = delete;

    TZorvexSettingsControl& Link() { return m_link; }
    ConsoleReporter& Reporter() { return m_reporter; }

    // Starts the exchange with start (one of the link's start operations) and waits for
    // its end. Returns ExitStatus: Success, ExchangeFailed (the dialer's or the line's
    // outcome), PortError (the port could not be opened or failed during the exchange),
    // Interrupted + the signal's number (SIGINT, SIGTERM or SIGHUP came first).
    int Run(const std::function<void(TZorvexSettingsControl&)>& start);

private:
    // First: its handlers stay until the link has closed the port.
    InterruptWait m_interrupt;
    ConsoleReporter m_reporter;
    ProgressBar m_bar;
    TZorvexSettingsControl m_link;
    ErrorSink::Handler m_previousSink;
    int m_sinkStatus = 0;
};

// "COM1".."COM16" (any case) or a path beginning with "/".
bool IsPortArgument(const QString& port);
// What is wrong with the value of --port ("podaj port: --port PORT", "nieprawidłowy port
// ..."), or an empty text when it names a port.
QString PortProblem(const QString& port);
// Takes "--port PORT FILE" apart (the form of write and verify): the complaint for the
// usage line, or an empty text with port and file set.
QString TakePortAndFile(QStringList args, QString& port, QString& file);
