#pragma once

#include "serial/ComTypes.h"
#include "serial/TComBuffer.h"
#include "serial/TComFlowControl.h"
#include "serial/TComParity.h"
#include "serial/TComTimeouts.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class ComBackend;
class EComPort;
class ComDoorbell;
class TComThread;

// One serial port: its settings, opening and closing, text transfer, and the line
// events handed to the handler slots by its event monitor (TComThread).
//
// Threads. The port belongs to the thread that constructs it (the owning thread, the
// user-interface thread in the program). Every member function, and every access to
// the settings objects and handler slots, must come from that thread. The event monitor
// hands its events to that thread through its Qt event loop and waits until they have
// been handled (see TComThread.h); a handler may therefore call ReadText, WriteText and
// the setters freely, and even Close. A handler must not destroy its own port. The
// first Open with events needs the thread's event dispatcher (for the main thread: a
// QCoreApplication exists).
//
// Failures raise EComPort (code and Polish message, see EComPort.h).
class TCustomComPort
{
public:
    TCustomComPort();
    // Closes the port (as Close, but never throws and without notifications: the
    // handlers may belong to parts of a derived port that are already destroyed), then
    // frees the settings objects. A derived port that wants the closing notifications
    // calls Close in its own destructor.
    virtual ~TCustomComPort();
    TCustomComPort(const TCustomComPort&) = delete;
    TCustomComPort& operator=(const TCustomComPort&) = delete;

    // --- Opening and closing -----------------------------------------------------------

    // Opens the device named by Port() (see PortNames.h) for exclusive use, applies all
    // settings, starts the event monitor when Events() is not empty, and raises OnOpen,
    // OnCTSChange, OnDSRChange, OnRLSDChange (current signal states). Does nothing when
    // already open. Failures: code 1 when the device cannot be opened (missing, in use by
    // another port object or program, not a terminal; or the monitor cannot be started),
    // 7, 8 or 9 when a settings group cannot be applied; after any of these the port is closed with
    // no device and no monitor. A failure in the opening notifications (a handler, or reading the
    // signals: code 11) reaches the caller with the port open.
    void Open();
    // Aborts transfers, stops the monitor (carrying out a delivery it has already asked
    // for), closes the device, and raises OnCTSChange, OnDSRChange, OnRLSDChange (all
    // false) and OnClose. Unread received bytes are discarded. Does nothing when closed.
    // A line that has gone away (adapter pulled out) closes normally; any other failure
    // to abort transfers raises code 5 and leaves the port open.
    void Close();
    bool Connected() const { return m_connected; }
    // true: Open; false: Close; the current value: nothing.
    void SetConnected(bool value);

    // --- Text transfer (blocking, owner thread) -------------------------------------------

    // Sends every byte of text (no terminator added) and returns the number of bytes the
    // driver took, fewer than text.size() when the write time-out ran out (at most
    // WriteTotalMultiplier * size + WriteTotalConstant ms). Code 2 with errno when the
    // write fails; when the line has gone away (adapter pulled out), its message says so
    // on a second line (EComPort::LineGone).
    int WriteText(const QByteArray& text);
    // Reads up to count bytes into text, which is left exactly n bytes long; returns n.
    // With the default time-outs it returns at once with what has arrived (0 when
    // nothing). With DiscardNull, zero bytes are dropped from the result. Code 3 with
    // errno when the read fails, as WriteText.
    int ReadText(QByteArray& text, int count);

    // --- Settings ----------------------------------------------------------------------
    // Setters store the value; while open they re-apply their group at once (raising
    // its code on failure, with the new value kept). Equal values change nothing.

    TBaudRate BaudRate() const { return m_baudRate; }
    void SetBaudRate(TBaudRate value);
    // "COM1" .. "COM16" or a device path beginning with "/".
    QString Port() const { return m_port; }
    // Normalised first (NormalizePortName). A different name while open closes the port
    // and opens it on the new name, with both sets of notifications.
    void SetPort(const QString& value);
    TStopBits StopBits() const { return m_stopBits; }
    void SetStopBits(TStopBits value);
    TDataBits DataBits() const { return m_dataBits; }
    void SetDataBits(TDataBits value);
    // Drop received zero bytes (ReadText does it; Linux drivers cannot).
    bool DiscardNull() const { return m_discardNull; }
    void SetDiscardNull(bool value);
    // The byte that raises evRxFlag on platforms that can see it (not Linux).
    std::uint8_t EventChar() const { return m_eventChar; }
    void SetEventChar(std::uint8_t value);
    // Events the monitor listens for; a change takes effect at the next Open.
    TComEvents Events() const { return m_events; }
    void SetEvents(TComEvents value);
    TSyncMethod SyncMethod() const { return m_syncMethod; }
    // Refused with code 14 while open (unless equal); stored while closed.
    void SetSyncMethod(TSyncMethod value);

    TComParity& Parity() { return m_parity; }
    const TComParity& Parity() const { return m_parity; }
    TComTimeouts& Timeouts() { return m_timeouts; }
    const TComTimeouts& Timeouts() const { return m_timeouts; }
    TComFlowControl& FlowControl() { return m_flowControl; }
    const TComFlowControl& FlowControl() const { return m_flowControl; }
    TComBuffer& Buffer() { return m_buffer; }
    const TComBuffer& Buffer() const { return m_buffer; }
    // Set as a whole: Assign every field, then re-apply the group (without comparing).
    void SetParity(const TComParity& value);
    void SetTimeouts(const TComTimeouts& value);
    void SetFlowControl(const TComFlowControl& value);
    void SetBuffer(const TComBuffer& value);

    // Re-apply settings groups; each does nothing while closed.
    // ApplySettings: line settings, time-outs, queue sizes, in that order.
    virtual void ApplySettings();
    // Rate, framing, parity, flow control, DTR/RTS, raw line. Code 7 with errno on
    // failure; code 7 with the rates in its message (EComPort::RateNotKept) when the rate
    // the driver really set is more than 2 % off (LineRate.h).
    virtual void ApplyLineSettings();
    // Values go to the platform as unsigned 32-bit (-1 as all ones). Code 8 on failure.
    virtual void ApplyTimeouts();
    // Code 9 on failure (a size of 0 or less).
    virtual void ApplyBufferSizes();

    // --- Settings text form ------------------------------------------------------------
    // Key/value entries ("Port", "BaudRate", ..., "FlowControl.XonChar") for the chosen
    // groups; enumerations as texts ("1339", "1.5", "Odd", "Hardware", ...), Booleans as
    // "Yes"/"No", numbers and characters in decimal. Loading matches texts without
    // regard to case; an unknown text gives that setting's default, a missing key leaves
    // the setting as it is. Loading goes through the setters.
    void StoreSettings(QMap<QString, QString>& entries, TStoredProps what = {spBasic}) const;
    void LoadSettings(const QMap<QString, QString>& entries, TStoredProps what = {spBasic});

    // --- Port names --------------------------------------------------------------------
    // The application's mapping of "COMn" to a device path (the program settings file's
    // "Port names" section). It returns an empty text for names it does not map. Called
    // on the owning thread during Open. An empty function removes it.
    static void SetPortNameLookup(std::function<QString(const QString& comName)> lookup);

    // --- Handler slots (see TComThread.h for when each is raised) ----------------------
    TRxCharEvent OnRxChar;
    TRxBufEvent OnRxBuf;
    TNotifyEvent OnTxEmpty;
    TNotifyEvent OnBreak;
    TNotifyEvent OnRing;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TComErrorEvent OnError;
    TNotifyEvent OnRxFlag;
    TNotifyEvent OnOpen;
    TNotifyEvent OnClose;
    TNotifyEvent OnRx80Full;

protected:
    // A port on another backend than the platform's (tests: a driver that rounds rates).
    explicit TCustomComPort(std::unique_ptr<ComBackend> backend);

    // Opens the device (code 1 on failure) / closes it if open.
    virtual void OpenDevice();
    virtual void CloseDevice();

    // Event raisers: call the slot when it is set, nothing otherwise.
    virtual void NotifyClose();
    virtual void NotifyOpen();
    virtual void NotifyRxChar(int count);
    virtual void NotifyRxBuf(const std::uint8_t* buffer, int count);
    virtual void NotifyTxEmpty();
    virtual void NotifyBreak();
    virtual void NotifyRing();
    virtual void NotifyRxFlag();
    virtual void NotifyCTSChange(bool onOff);
    virtual void NotifyDSRChange(bool onOff);
    virtual void NotifyError(TComErrors errors);
    virtual void NotifyRLSDChange(bool onOff);
    virtual void NotifyRx80Full();

private:
    friend class TComThread;

    void StopMonitor();
    // Code 2 or 3 for errno error, saying so when the line has gone away.
    EComPort TransferError(int code, int error) const;
    void AnswerDoorbell();

    std::unique_ptr<ComBackend> m_backend;
    std::unique_ptr<ComDoorbell> m_doorbell; // made at the first Open, on the owning thread
    std::unique_ptr<TComThread> m_thread;
    bool m_threadCreated = false;
    std::uint64_t m_openCount = 0; // tells a delivery whether its port was reopened
    bool m_connected = false;
    bool m_closing = false;
    TBaudRate m_baudRate = br9600;
    QString m_port = QStringLiteral("COM1");
    TStopBits m_stopBits = sbOneStopBit;
    TDataBits m_dataBits = dbEight;
    bool m_discardNull = false;
    std::uint8_t m_eventChar = 0;
    TComEvents m_events = TComEvents::All();
    TComParity m_parity{this};
    TComFlowControl m_flowControl{this};
    TComTimeouts m_timeouts{this};
    TComBuffer m_buffer{this};
    TSyncMethod m_syncMethod = smThreadSync;
};
