#pragma once

#include "serial/PortDiscovery.h"

#include <QFileSystemWatcher>
#include <QWidget>

#include <functional>

class DialerProbe;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class TransferLog;

// The part of "Opcje programu" that says which cable is which: for COM1..COM16 the
// device each opens (settings file, ZVX_COMn, the ttyS default) and the adapter behind it,
// then the adapters no COM name reaches. Refreshed when /dev (or /dev/serial/by-id)
// changes, that is when an adapter is plugged in or out; no polling. The emulated dialer's
// line ("zorvex --emulator") and the port the dialer last answered on say so. "Wykryj
// dialer" probes every port at once (DialerProbe) with a progress bar and reports the
// COM1..COM16 index of the port the dialer answered on through PortFound. UI thread only.
class PortPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ComNames = 16; // COM1..COM16

    explicit PortPanel(const PortDiscovery::Roots& roots = {}, QWidget* parent = nullptr);
    ~PortPanel() override;

    // Lists the ports again (the watcher calls it).
    void Refresh();
    // Starts the probe; PortFound or the status text follow.
    void Detect();

    // Called before a probe: the link lets go of its port, which it may hold open.
    std::function<void()> ReleasePort;
    // Where the probe's frames are logged; nullptr for nowhere.
    TransferLog* ProbeLog = nullptr;
    // Tests only: a shorter reply time for the probe.
    int ProbeReplyInterval = 3000;

    QListWidget* ListBox1;
    QPushButton* DetectButton;
    QProgressBar* ProgressBar1;
    QLabel* StatusLabel;

signals:
    // The dialer answered on the port COM1..COM16 has as index 0..15.
    void PortFound(int index);

private:
    void Watch();
    void ProbeFinished();

    PortDiscovery::Roots m_roots;
    QFileSystemWatcher m_watcher;
    DialerProbe* m_probe = nullptr;
    QString m_answered; // the device the dialer answered on at the last probe
};
