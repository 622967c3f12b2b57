#include "tools/DialerSession.h"

#include "resources/ConstsZVX.h"
#include "serial/EComPort.h"
#include "tools/ExitStatus.h"

#include <QEventLoop>
#include <QRegularExpression>
#include <QSocketNotifier>

#include <csignal>
#include <memory>

namespace {

QString SignalName(int number)
{
    switch (number) {
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    default:
        return QString::number(number);
    }
}

} // namespace

DialerSession::DialerSession(CommandContext& context, const QString& port)
    : m_reporter(context.out, context.err), m_bar(context.err), m_link(m_reporter)
{
    m_link.SerialPort().SetPort(port.startsWith(QLatin1Char('/')) ? port : port.toUpper());
    m_link.OnTransferStart = [this](TZorvexSettingsControl*) { m_bar.Start(); };
    m_link.OnTransferProgress = [this](int percent) { m_bar.Progress(percent); };
    m_previousSink = ErrorSink::Install([this](std::exception_ptr error) {
        m_bar.End();
        try {
            std::rethrow_exception(error);
        } catch (const EComPort& e) {
            m_sinkStatus = ExitStatus::PortError;
            m_reporter.Error(QString::fromStdString(e.Message()));
        } catch (const std::exception& e) {
            m_sinkStatus = ExitStatus::ExchangeFailed;
            m_reporter.Error(QString::fromUtf8(e.what()));
        } catch (...) {
            m_sinkStatus = ExitStatus::ExchangeFailed;
            m_reporter.Error(QString::fromUtf8(ConstsZVX::UnknownError));
        }
    });
}

DialerSession::~DialerSession()
{
    ErrorSink::Install(m_previousSink);
}

int DialerSession::Run(const std::function<void(TZorvexSettingsControl&)>& start)
{
    QEventLoop loop;
    bool ended = false;
    // The outcome is reported right after the end event, before control returns to
    // the loop, so quitting here still lets it be printed.
    m_link.OnTransferEnd = [&](TZorvexSettingsControl*) {
        ended = true;
        m_bar.End();
        loop.quit();
    };
    // A signal ends the loop; the caller's return then closes the port normally.
    std::unique_ptr<QSocketNotifier> interrupt;
    if (m_interrupt.WakeFd() >= 0) {
        interrupt = std::make_unique<QSocketNotifier>(m_interrupt.WakeFd(), QSocketNotifier::Read);
        QObject::connect(interrupt.get(), &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    }
    try {
        start(m_link);
        if (!ended && !m_interrupt.Caught())
            loop.exec();
    } catch (const EComPort& e) {
        m_bar.End();
        m_reporter.Error(QString::fromStdString(e.Message()));
        m_link.OnTransferEnd = nullptr;
        return ExitStatus::PortError;
    } catch (const std::exception& e) {
        m_bar.End();
        m_reporter.Error(QString::fromUtf8(e.what()));
        m_link.OnTransferEnd = nullptr;
        return ExitStatus::ExchangeFailed;
    }
    m_link.OnTransferEnd = nullptr;
    if (!ended && m_interrupt.Caught()) {
        m_bar.End();
        m_reporter.Error(QStringLiteral("Przerwano (%1)").arg(SignalName(m_interrupt.Caught())));
        return ExitStatus::Interrupted + m_interrupt.Caught();
    }
    if (m_sinkStatus)
        return m_sinkStatus;
    if (m_reporter.SawError() || !m_reporter.SawInformation())
        return ExitStatus::ExchangeFailed;
    return ExitStatus::Success;
}

QString TakePortAndFile(QStringList args, QString& port, QString& file)
{
    if (!TakeOption(args, {QStringLiteral("--port"), QStringLiteral("-p")}, port))
        return QStringLiteral("brak wartości opcji");
    for (const QString& arg : args)
        if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-"))
            return QStringLiteral("nieznana opcja \"%1\"").arg(arg);
    if (const QString problem = PortProblem(port); !problem.isEmpty())
        return problem;
    if (args.size() != 1)
        return args.isEmpty() ? QStringLiteral("podaj plik konfiguracji")
                              : QStringLiteral("podaj jeden plik");
    file = args.first();
    return {};
}

QString PortProblem(const QString& port)
{
    if (port.isEmpty())
        return QStringLiteral("podaj port: --port PORT");
    if (!IsPortArgument(port))
        return QStringLiteral("nieprawidłowy port \"%1\"").arg(port);
    return {};
}

bool IsPortArgument(const QString& port)
{
    if (port.startsWith(QLatin1Char('/')))
        return port.size() > 1;
    static const QRegularExpression com(QStringLiteral("^COM([1-9]|1[0-6])$"),
                                        QRegularExpression::CaseInsensitiveOption);
    return com.match(port).hasMatch();
}
