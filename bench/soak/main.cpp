// Endurance: read-and-write cycles against the emulated dialer without line pacing.
// Every cycle writes a changed image into the dialer and reads it back, then closes the
// port (so that opening, the event monitor's thread and closing are repeated too). Open
// file descriptors and resident memory are printed at the start (after a short warm-up,
// when Qt has made what it makes once) and at the end.
//
//   soak [CYCLES]    (default 1000)
//
// Exit status: 0 every cycle succeeded and nothing grew; 1 a cycle failed; 2 file
// descriptors grew; 3 resident memory grew by more than kRssSlackKiB.

#include "device/TZorvexSettingsControl.h"
#include "emulator/DialerEmulator.h"
#include "resources/ConstsZVX.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kWarmUpCycles = 10;
// The allocator may keep a little more for itself over a long run; a leak of even one
// frame per exchange would pass this within the first few hundred cycles.
constexpr long kRssSlackKiB = 2048;
constexpr int kExchangeLimitMs = 30000;

class Outcome : public OutcomeReporter
{
public:
    void Information(const QString& text) override { last = text; }
    void Error(const QString& text) override { last = QStringLiteral("błąd: ") + text; }
    bool Confirm(const QString&) override { return true; }
    QString last;
};

long OpenDescriptors()
{
    return static_cast<long>(QDir(QStringLiteral("/proc/self/fd"))
                                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
                                 .size());
}

long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Runs one exchange to its end; the text the user would have read.
QString Run(TZorvexSettingsControl& link, Outcome& outcome, void (TZorvexSettingsControl::*start)())
{
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    link.OnTransferEnd = [&loop](TZorvexSettingsControl*) { loop.quit(); };
    outcome.last.clear();
    limit.start(kExchangeLimitMs);
    (link.*start)();
    if (link.Operation() != Operation::Idle)
        loop.exec();
    link.OnTransferEnd = nullptr;
    return link.Operation() == Operation::Idle ? outcome.last
                                               : QStringLiteral("zawieszona wymiana");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int cycles = argc > 1 ? std::max(kWarmUpCycles + 1, std::atoi(argv[1])) : 1000;

    DialerEmulator::Options options;
    options.pacing = false;
    DialerEmulator dialer(options);
    dialer.Start();
    Outcome outcome;
    TZorvexSettingsControl link(outcome);
    link.SerialPort().SetPort(QString::fromStdString(dialer.SlavePath()));
    std::printf("before the first cycle: %ld file descriptors, VmRSS %ld kB\n", OpenDescriptors(),
                ResidentKiB());

    long startFds = 0;
    long startRss = 0;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        TCfg& image = link.Settings().Cfg;
        image.SetByte(1 + cycle % 255, static_cast<std::uint8_t>(cycle));
        const QString written = Run(link, outcome, &TZorvexSettingsControl::WriteToDevice);
        const bool writeOk =
            written == QString::fromUtf8(ConstsZVX::WriteDone) && dialer.Image() == image;
        const TCfg sent = image;
        image.SetByte(1 + cycle % 255, static_cast<std::uint8_t>(~cycle));
        const QString read = Run(link, outcome, &TZorvexSettingsControl::ReadFromDevice);
        const bool readOk = read == QString::fromUtf8(ConstsZVX::ReadDone) && image == sent;
        if (!writeOk || !readOk) {
            std::printf("cycle %d failed: write \"%s\", read \"%s\"\n", cycle,
                        written.toUtf8().constData(), read.toUtf8().constData());
            return 1;
        }
        link.SerialPort().Disconnect();
        if (cycle == kWarmUpCycles) {
            startFds = OpenDescriptors();
            startRss = ResidentKiB();
            std::printf("start (after cycle %d): %ld file descriptors, VmRSS %ld kB\n", cycle,
                        startFds, startRss);
        }
    }
    const long endFds = OpenDescriptors();
    const long endRss = ResidentKiB();
    const auto counters = dialer.GetCounters();
    std::printf("end (after cycle %d): %ld file descriptors, VmRSS %ld kB\n", cycles, endFds,
                endRss);
    std::printf("%d cycles succeeded: %d frames, %lld bytes answered, %d bad frames\n", cycles,
                counters.frames, counters.bytesSent, counters.badFrames);
    if (endFds > startFds) {
        std::printf("file descriptors grew by %ld\n", endFds - startFds);
        return 2;
    }
    if (endRss - startRss > kRssSlackKiB) {
        std::printf("resident memory grew by %ld kB\n", endRss - startRss);
        return 3;
    }
    return 0;
}
