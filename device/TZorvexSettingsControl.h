#pragma once

#include "device/ConfigFileResult.h"
#include "device/ExchangeEngine.h"
#include "device/ExchangeLink.h"
#include "device/OutcomeReporter.h"
#include "device/TSerialPort.h"
#include "model/TZorvexSettings.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>

// The program's one link to the dialer. It owns the configuration, the serial port and
// the reply timer; it reads the image out of the dialer, writes it in, restarts the
// dialer with a time of day, and loads and saves configuration files.
//
// The three start operations return at once; the exchange goes on in PortRxChar (bytes
// from the port), TimerTick (the reply timer: 3000 ms, one retransmission) and GuardTick
// (the guard timer, after a retransmitted frame is answered), and its outcome goes to the
// reporter. Bytes waiting when the port opens are dropped: they cannot be answers to what
// comes next. Bytes that come when no answer is awaited, or that no dialer would send, end
// the exchange as a line fault; an exchange that had to resend a frame reads the image
// back before it is called a success (see ExchangeEngine). The port is opened by each
// start and left open; only SelectPort and destruction close it.
//
// Errors: a start that cannot open the port raises the port's EComPort before anything
// is sent or any event fires. An error inside the reply handling or the timer tick
// (the port's write failing when the adapter is pulled out, say) ends the exchange
// (OnTransferEnd, Operation 0) and goes to ErrorSink::Report once; the next start opens
// the port afresh.
//
// Thread: everything on the thread that constructed the object (the UI thread), which
// must run a Qt event loop while an exchange is in progress.
class TZorvexSettingsControl : private ExchangeLink
{
public:
    // The reporter must outlive the link. Loads the factory configuration and sets the
    // port to the dialer's line on "COM2".
    explicit TZorvexSettingsControl(OutcomeReporter& reporter);
    ~TZorvexSettingsControl() override;
    TZorvexSettingsControl(const TZorvexSettingsControl&) = delete;
    TZorvexSettingsControl& operator=(const TZorvexSettingsControl&) = delete;

    TZorvexSettings& Settings() { return m_settings; }
    const TZorvexSettings& Settings() const { return m_settings; }
    TSerialPort& SerialPort() { return m_port; }

    // Reading the 256-byte image out of the dialer: four frames of 64 bytes.
    void ReadFromDevice();
    // Reading the dialer's image to check it against the configuration: the frames,
    // events and failure messages of ReadFromDevice, but the configuration and its
    // description records stay exactly as they are and no "read done" information is
    // given. A good image (its checksum right) goes to onImage, after OnTransferEnd;
    // after a failure onImage is not called.
    void VerifyDevice(std::function<void(const TCfg& dialerImage)> onImage);
    // Writing the image into the dialer: 64 frames of 4 bytes. Image byte 0 is set to
    // the image checksum first, and stays so even when the write fails.
    void WriteToDevice();
    // The restart command with the hour and minute of time (seconds are dropped).
    void RestartDevice(const QTime& time);
    void RestartDevice(const QDateTime& time);

    // 1..16: closes an open port (putting back its saved settings), then names it
    // "COM1".."COM16" (the names the program maps to devices). Any other number closes
    // the port but keeps the name.
    void SelectPort(int number);
    // "COM2", br1339, one stop bit, 8 data bits, no parity, no flow control, read
    // interval -1 (a read returns at once with what has arrived).
    void SetDefaultPortSettings();

    // The 1024-byte configuration file (ConfigFileIO.h; the name's bytes as FileNames.h
    // gives them). LoadFromFile asks the reporter's Confirm with the file's record 0
    // text and changes the configuration only on OK (declined is Ok too); replaced, when
    // given, tells which.
    ConfigFile::Result SaveToFile(const QString& fileName);
    ConfigFile::Result LoadFromFile(const QString& fileName, bool* replaced = nullptr);

    // Ends the exchange in progress as a failure with reason as its message (the user
    // broke it off), without a message of the link's: OnTransferEnd, then OnExchangeDone
    // with reason. Nothing is sent to undo what the dialer has taken. False when no
    // exchange was running.
    bool CancelExchange(const QString& reason);

    // The port's OnRxChar and the reply timer's tick. Never throw.
    void PortRxChar(TCustomComPort* sender, int count);
    void TimerTick(QObject* sender);
    void GuardTick(QObject* sender);

    // Fired when an exchange begins and when it ends (well or badly; before its
    // message). Progress: 0..100 percent of the image moved, -1 on a retransmission.
    std::function<void(TZorvexSettingsControl* sender)> OnTransferStart;
    std::function<void(TZorvexSettingsControl* sender)> OnTransferEnd;
    std::function<void(int percent)> OnTransferProgress;
    // Fired when an exchange that had to resend a frame starts to confirm itself: it waits
    // for the line to go quiet for a reply time, then reads the image back (event Write)
    // or once more (Read, Verify). The progress that follows is the confirming read's.
    std::function<void(ConfigEvent event)> OnTransferConfirm;
    // Fired once per exchange that got its first frame out, when it has ended and its
    // message has been given (a read's image copied); after an error that broke off an
    // exchange, once the error has gone to ErrorSink. A start that throws fires nothing.
    std::function<void(const ExchangeOutcome& outcome)> OnExchangeDone;

    // Every exchange from now on is logged to log (nullptr: none). See ExchangeEngine::SetLog.
    void SetTransferLog(TransferLog* log) { m_engine.SetLog(log); }

    // The state of the exchange (see ExchangeEngine).
    ::Operation Operation() const { return m_engine.Operation(); }
    std::uint8_t RetriesLeft() const { return m_engine.RetriesLeft(); }
    const QByteArray& LastFrame() const { return m_engine.LastFrame(); }
    int Position() const { return m_engine.Position(); }
    std::uint8_t BlockSize() const { return m_engine.BlockSize(); }
    std::uint8_t RxCount() const { return m_engine.RxCount(); }
    const std::array<std::uint8_t, 256>& RxBuffer() const { return m_engine.RxBuffer(); }
    const std::array<std::uint8_t, 256>& ReadImage() const { return m_engine.ReadImage(); }

    static constexpr int DefaultReplyInterval = 3000; // ms
    // Tests only: a shorter reply time-out, so that silences need not take seconds.
    void SetReplyInterval(int ms) { m_replyInterval = ms; }
    int ReplyInterval() const { return m_replyInterval; }

    // After a retransmitted frame has been answered the line must stay quiet this long
    // before the exchange goes on, so that the dialer's answer to the second copy is seen
    // as the duplicate it is. It covers the dialer's turn-around (a few ms), the longest
    // frame still going out when the first answer came (10 bytes, 75 ms), and a few byte
    // times (7.5 ms each) of slack for adapters that hand bytes over in bursts. Only an
    // exchange that retransmitted pays for it.
    static constexpr int DefaultGuardInterval = 150; // ms
    // Tests only, like SetReplyInterval.
    void SetGuardInterval(int ms) { m_guardInterval = ms; }
    int GuardInterval() const { return m_guardInterval; }

private:
    void OpenLine();
    void EndAfterError(std::exception_ptr error);

    // ExchangeLink
    void SendFrame(const QByteArray& frame) override;
    int DiscardInput() override;
    void StartReplyTimer() override;
    void StopReplyTimer() override;
    void StartGuardTimer() override;
    void StopGuardTimer() override;
    void TransferStarted() override;
    void TransferEnded() override;
    void TransferProgress(int percent) override;
    void TransferConfirming(ConfigEvent event) override;
    void ExchangeDone(const ExchangeOutcome& outcome) override;

    // Declared in this order so that destruction stops the timer, then closes the port,
    // then frees the configuration.
    OutcomeReporter& m_reporter;
    TZorvexSettings m_settings;
    TSerialPort m_port;
    QTimer m_timer;
    QTimer m_guardTimer;
    ExchangeEngine m_engine{m_settings, *this, m_reporter};
    int m_replyInterval = DefaultReplyInterval;
    int m_guardInterval = DefaultGuardInterval;
    bool m_reopenLine = false;
};
