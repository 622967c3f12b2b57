#include "tools/CmdPorts.h"

#include "device/DialerProbe.h"
#include "device/FileNames.h"
#include "serial/ComTypes.h"
#include "serial/LineRate.h"
#include "serial/PortDiscovery.h"
#include "serial/PortNames.h"
#include "tools/ConsoleJson.h"
#include "tools/ExitStatus.h"
#include "tools/LogOption.h"
#include "tools/PortArgument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

PortDiscovery::Roots MachineRoots()
{
    PortDiscovery::Roots roots;
    if (const QString sys = qEnvironmentVariable("ZVX_SYS_ROOT"); !sys.isEmpty())
        roots.sys = sys;
    if (const QString dev = qEnvironmentVariable("ZVX_DEV_ROOT"); !dev.isEmpty())
        roots.dev = dev;
    return roots;
}

QJsonValue TextOrNull(const QString& text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

// The dialer's rate as the port's driver sets it: null when it could not be tried.
QJsonValue RateJson(const PortDiscovery::PortCheck& check)
{
    if (check.actual == 0)
        return {};
    return QJsonObject{{"asked", qint64(check.asked)},
                       {"set", qint64(check.actual)},
                       {"kept", LineRate::Kept(check.asked, check.actual)}};
}

QJsonObject PortJson(const PortDiscovery::PortInfo& port, const QStringList& comNames,
                     const PortDiscovery::PortCheck& check)
{
    QJsonObject usb;
    if (port.usb) {
        usb = QJsonObject{{"vendorId", port.vendorId},
                          {"productId", port.productId},
                          {"manufacturer", TextOrNull(port.manufacturer)},
                          {"product", TextOrNull(port.product)},
                          {"serialNumber", TextOrNull(port.serialNumber)}};
    }
    return QJsonObject{{"device", port.device},
                       {"name", port.name},
                       {"stableName", port.StableName()},
                       {"byId", QJsonArray::fromStringList(port.byId)},
                       {"byPath", QJsonArray::fromStringList(port.byPath)},
                       {"driver", TextOrNull(port.driver)},
                       {"usb", port.usb ? QJsonValue(usb) : QJsonValue()},
                       {"comNames", QJsonArray::fromStringList(comNames)},
                       {"openProblem", TextOrNull(check.problem)},
                       {"lineRate", RateJson(check)}};
}

// The adapter's own strings (maker, product, serial number) and the names udev made of
// them come from the device: printed through PrintableText, so that no byte of theirs
// reaches the terminal as a control.
void PrintPort(QTextStream& out, const PortDiscovery::PortInfo& port, const QStringList& comNames,
               const PortDiscovery::PortCheck& check)
{
    out << PrintableText(port.device);
    if (!comNames.isEmpty())
        out << "  (" << PrintableText(comNames.join(QStringLiteral(", "))) << ")";
    out << "\n";
    for (const QString& name : port.byId + port.byPath)
        out << "  stała nazwa: " << PrintableText(name) << "\n";
    if (port.usb) {
        out << "  USB " << PrintableText(port.vendorId) << ":" << PrintableText(port.productId);
        if (!port.manufacturer.isEmpty())
            out << "  " << PrintableText(port.manufacturer);
        if (!port.product.isEmpty())
            out << "  " << PrintableText(port.product);
        if (!port.serialNumber.isEmpty())
            out << "  nr seryjny " << PrintableText(port.serialNumber);
        out << "\n";
    }
    if (!port.driver.isEmpty())
        out << "  sterownik: " << PrintableText(port.driver) << "\n";
    if (check.actual != 0) {
        out << "  " << check.asked
            << " bit/s: " << (LineRate::Kept(check.asked, check.actual) ? "tak" : "nie");
        if (check.actual != check.asked)
            out << " (sterownik ustawia " << check.actual << " bit/s)";
        out << "\n";
    }
    if (!check.problem.isEmpty())
        out << "  nie można otworzyć: " << PrintableText(check.problem.simplified()) << "\n";
}

} // namespace

int RunPorts(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        context.out << "Użycie: zvx ports [--json]\n"
                       "Wypisuje porty szeregowe komputera: urządzenie, jego stałą nazwę\n"
                       "(/dev/serial/by-id), dla przejściówek USB producenta, produkt, numer\n"
                       "seryjny i sterownik, nazwy COMn, które je otwierają, czy sterownik\n"
                       "utrzyma prędkość dialera 1339 bit/s (sprawdza ją na wolnym porcie i\n"
                       "przywraca jego ustawienia), oraz powód, dla którego portu nie można\n"
                       "otworzyć.\n"
                       "  --json          wynik w JSON\n"
                       "Kod wyjścia: 0 sukces, 2 złe argumenty.\n";
        return ExitStatus::Success;
    }
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    if (!args.isEmpty())
        return UsageError(context.err, "ports",
                          QStringLiteral("nieznany argument \"%1\"").arg(args.first()));

    const PortDiscovery::Roots roots = MachineRoots();
    const auto ports = PortDiscovery::Discover(roots);
    QJsonArray list;
    for (const auto& port : ports) {
        const QStringList comNames =
            PortDiscovery::ComNamesFor(port, PortNames::CurrentLookup(), roots);
        const PortDiscovery::PortCheck check =
            PortDiscovery::CheckPort(port.device, std::uint32_t(BaudRateValue(br1339)));
        if (json)
            list.append(PortJson(port, comNames, check));
        else
            PrintPort(context.out, port, comNames, check);
    }
    if (json)
        context.out << ConsoleJson(QJsonDocument(list));
    else if (ports.isEmpty())
        context.out << "Nie znaleziono portów szeregowych.\n";
    return ExitStatus::Success;
}

int RunProbe(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        context.out << "Użycie: zvx probe [--port PORT]... [--log PLIK]\n"
                       "Szuka dialera: na wszystkich portach naraz (albo na podanych) wysyła\n"
                       "ramkę odczytu pierwszego bloku i wypisuje porty, na których dialer\n"
                       "odpowiedział poprawnie. Do dialera nic nie jest zapisywane.\n"
                       "  --port PORT     COM1..COM16 albo ścieżka urządzenia; można powtarzać\n"
                       "  --log PLIK      dziennik transmisji (\"-\": standardowe wyjście błędów)\n"
                       "Kod wyjścia: 0 dialer znaleziony, 1 nie znaleziony, 2 złe argumenty,\n"
                       "3 błąd pliku dziennika.\n";
        return ExitStatus::Success;
    }
    QString logTarget;
    if (!TakeLogOption(args, logTarget))
        return UsageError(context.err, "probe", QStringLiteral("brak wartości opcji"));
    QStringList ports;
    for (;;) {
        QString port;
        if (!TakeOption(args, {QStringLiteral("--port"), QStringLiteral("-p")}, port))
            return UsageError(context.err, "probe", QStringLiteral("brak wartości opcji"));
        if (port.isEmpty())
            break;
        if (const QString problem = PortProblem(port); !problem.isEmpty())
            return UsageError(context.err, "probe", problem);
        ports << port;
    }
    if (!args.isEmpty())
        return UsageError(context.err, "probe",
                          QStringLiteral("nieznany argument \"%1\"").arg(args.first()));
    if (ports.isEmpty())
        for (const auto& port : PortDiscovery::Discover(MachineRoots()))
            ports << port.device;

    if (!OpenLogOption(context, logTarget))
        return ExitStatus::FileError;
    DialerProbe probe;
    probe.SetLog(context.log.get());
    bool found = false;
    for (const DialerProbe::Result& result : probe.Run(ports)) {
        found = found || result.answered;
        // One line per port: a message's own line break ("portu COM\r(port ...") too.
        context.out << PrintableText(result.port + QStringLiteral(": ") +
                                     (result.answered ? QStringLiteral("dialer odpowiada")
                                                      : result.problem.simplified()))
                    << "\n";
    }
    if (!found)
        context.err << "Nie znaleziono dialera.\n";
    return found ? ExitStatus::Success : ExitStatus::ExchangeFailed;
}
