// How close the dialer link comes to the line's own speed. Reads and writes the emulated
// dialer, paced at 1339 bit/s, and prints each exchange's time divided by the time the
// line itself needs for it: the frames and answers at 10 bits a byte, plus the
// emulator's turn-around once per frame. Goal: 1.01 or less for both: a clean exchange
// pays for no check of its own.
//
// Then one write whose 33rd answer is lost, so that a frame is resent and the write is
// confirmed by reading the image back: what that costs beyond the clean write.
//
//   transfer [RUNS] [--log FILE]    RUNS reads and RUNS writes (default 3), logged to FILE

#include "device/TZorvexSettingsControl.h"
#include "device/TransferLogText.h"
#include "emulator/DialerEmulator.h"
#include "emulator/LineTiming.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

class QuietReporter : public OutcomeReporter
{
public:
    void Information(const QString&) override { ok = true; }
    void Error(const QString& text) override
    {
        ok = false;
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
    bool Confirm(const QString&) override { return true; }
    bool ok = false;
};

// Seconds from the start to the end of one exchange, or a negative value when it failed.
double Time(TZorvexSettingsControl& link, QuietReporter& reporter,
            void (TZorvexSettingsControl::*start)())
{
    QEventLoop loop;
    link.OnTransferEnd = [&loop](TZorvexSettingsControl*) { loop.quit(); };
    reporter.ok = false;
    QElapsedTimer clock;
    clock.start();
    (link.*start)();
    if (link.Operation() != Operation::Idle)
        loop.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    link.OnTransferEnd = nullptr;
    return reporter.ok ? seconds : -1.0;
}

double LineSeconds(int frames, int bytesPerFrame, std::chrono::microseconds turnaround)
{
    const auto line = DialerLine::ByteTimes(static_cast<long long>(frames) * bytesPerFrame);
    return std::chrono::duration<double>(line + frames * turnaround).count();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // transfer [RUNS] [--log FILE]: with --log every exchange is logged as text to FILE,
    // to compare the figures with logging on and off.
    int runs = 3;
    QString logFile;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--log") == 0 && i + 1 < argc)
            logFile = QString::fromLocal8Bit(argv[++i]);
        else
            runs = std::max(1, atoi(argv[i]));
    }

    DialerEmulator::Options options; // paced, default turn-around
    DialerEmulator dialer(options);
    dialer.Start();
    QuietReporter reporter;
    TZorvexSettingsControl link(reporter);
    link.SerialPort().SetPort(QString::fromStdString(dialer.SlavePath()));
    std::unique_ptr<TextTransferLog> log;
    if (!logFile.isEmpty()) {
        auto file = std::make_unique<QFile>(logFile);
        if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(logFile));
            return 1;
        }
        log = std::make_unique<TextTransferLog>(std::move(file));
        link.SetTransferLog(log.get());
        std::printf("logging to %s\n", qPrintable(logFile));
    }

    // Opening the port is not part of an exchange's time.
    if (Time(link, reporter, &TZorvexSettingsControl::ReadFromDevice) < 0)
        return 1;

    const double readLine = LineSeconds(4, 7 + 67, options.turnaround);
    const double writeLine = LineSeconds(64, 10 + 1, options.turnaround);
    std::printf("line time: read %.3f s, write %.3f s (1339 bit/s, turn-around %lld us)\n",
                readLine, writeLine, static_cast<long long>(options.turnaround.count()));

    double worst[2] = {0, 0};
    for (int run = 1; run <= runs; ++run) {
        const double read = Time(link, reporter, &TZorvexSettingsControl::ReadFromDevice);
        const double write = Time(link, reporter, &TZorvexSettingsControl::WriteToDevice);
        if (read < 0 || write < 0)
            return 1;
        std::printf("run %d: read %.3f s  ratio %.4f   write %.3f s  ratio %.4f\n", run, read,
                    read / readLine, write, write / writeLine);
        worst[0] = std::max(worst[0], read / readLine);
        worst[1] = std::max(worst[1], write / writeLine);
    }
    std::printf("worst: read %.4f  write %.4f  (goal <= 1.01)\n", worst[0], worst[1]);

    // The confirmed write: the line time of the write and of one frame more, the reply
    // time that ran out before the resend, the guard time after its answer, a reply time
    // of quiet, and the line time of the read that confirms it.
    DialerEmulator::Options lossy = options;
    AddFault(lossy.faults, "silent-frame=33");
    DialerEmulator busy(lossy);
    busy.Start();
    QuietReporter confirmReporter;
    TZorvexSettingsControl confirmLink(confirmReporter);
    confirmLink.SerialPort().SetPort(QString::fromStdString(busy.SlavePath()));
    int confirms = 0;
    confirmLink.OnTransferConfirm = [&confirms](ConfigEvent) { ++confirms; };
    const double confirmed =
        Time(confirmLink, confirmReporter, &TZorvexSettingsControl::WriteToDevice);
    if (confirmed < 0 || confirms != 1)
        return 1;
    const double reply = TZorvexSettingsControl::DefaultReplyInterval / 1000.0;
    const double guard = TZorvexSettingsControl::DefaultGuardInterval / 1000.0;
    const double unconfirmed = LineSeconds(65, 10 + 1, options.turnaround) + reply + guard;
    std::printf("write after one retransmission, confirmed: %.3f s (clean write %.3f s; the "
                "retransmission alone %.3f s; the confirmation %.3f s: %.1f s of quiet and a "
                "read of %.3f s on the line)\n",
                confirmed, writeLine, unconfirmed, confirmed - unconfirmed, reply, readLine);
    return worst[0] <= 1.01 && worst[1] <= 1.01 ? 0 : 2;
}
