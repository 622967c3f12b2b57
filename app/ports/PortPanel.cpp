#include "app/ports/PortPanel.h"

#include "app/ports/EmulatorMode.h"
#include "device/DialerProbe.h"

#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Canonical(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

QString Adapter(const PortDiscovery::PortInfo& port)
{
    // A port on the board says nothing more about itself than its name.
    if (!port.usb)
        return {};
    QString text = port.product.isEmpty()
                       ? QStringLiteral("USB %1:%2").arg(port.vendorId, port.productId)
                       : port.product;
    if (!port.serialNumber.isEmpty())
        text += QStringLiteral(", nr %1").arg(port.serialNumber);
    return text;
}

// The device COMn opens, read under the panel's dev root.
QString MappedPath(int number, const PortDiscovery::Roots& roots)
{
    return PortDiscovery::UnderRoot(
        PortNames::DevicePath(QStringLiteral("COM%1").arg(number), PortNames::CurrentLookup()),
        roots);
}

} // namespace

PortPanel::PortPanel(const PortDiscovery::Roots& roots, QWidget* parent)
    : QWidget(parent), m_roots(roots)
{
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFocusPolicy(Qt::NoFocus);
    DetectButton = new QPushButton(QStringLiteral("&Wykryj dialer"), this);
    DetectButton->setObjectName(QStringLiteral("DetectButton"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setVisible(false);
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setWordWrap(true);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new QLabel(QStringLiteral("Porty i przejściówki:"), this));
    column->addWidget(ListBox1);
    column->addWidget(DetectButton);
    column->addWidget(ProgressBar1);
    column->addWidget(StatusLabel);

    connect(DetectButton, &QPushButton::clicked, this, &PortPanel::Detect);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        Watch();
        Refresh();
    });
    Watch();
    Refresh();
}

PortPanel::~PortPanel() = default;

void PortPanel::Watch()
{
    // by-id appears with the first adapter and goes with the last, so its parents are
    // watched too.
    for (const QString& dir : {m_roots.dev, m_roots.dev + QStringLiteral("/serial"),
                               m_roots.dev + QStringLiteral("/serial/by-id")})
        if (QFileInfo(dir).isDir() && !m_watcher.directories().contains(dir))
            m_watcher.addPath(dir);
}

void PortPanel::Refresh()
{
    const auto ports = PortDiscovery::Discover(m_roots);
    ListBox1->clear();
    QStringList reached;
    const QString emulator = EmulatorMode::Path();
    for (int number = 1; number <= ComNames; ++number) {
        const QString mapped = MappedPath(number, m_roots);
        const QString device = Canonical(mapped);
        QString line = QStringLiteral("COM%1 → %2").arg(number).arg(mapped);
        QStringList notes; // the adapter, what answers there
        bool there = false;
        for (const auto& port : ports) {
            if (Canonical(port.device) != device)
                continue;
            there = true;
            reached << port.device;
            if (const QString adapter = Adapter(port); !adapter.isEmpty())
                notes << adapter;
        }
        // A pseudo-terminal is no port of the machine's, but the dialer may be there.
        if (!emulator.isEmpty() && device == Canonical(emulator)) {
            there = true;
            notes << QStringLiteral("dialer emulowany");
        }
        if (!m_answered.isEmpty() && device == m_answered) {
            there = true;
            notes << QStringLiteral("odpowiada dialer");
        }
        if (!there)
            notes << QStringLiteral("brak urządzenia");
        if (!notes.isEmpty())
            line += QStringLiteral("  (%1)").arg(notes.join(QStringLiteral(", ")));
        ListBox1->addItem(line);
    }
    for (const auto& port : ports) {
        if (reached.contains(port.device))
            continue;
        QString line = QStringLiteral("bez nazwy COM: %1").arg(port.StableName());
        if (const QString adapter = Adapter(port); !adapter.isEmpty())
            line += QStringLiteral("  (%1)").arg(adapter);
        ListBox1->addItem(line);
    }
}

void PortPanel::Detect()
{
    if (m_probe && m_probe->Running())
        return;
    if (ReleasePort)
        ReleasePort();
    // Every device a COM name opens and every port found, each once.
    QStringList candidates;
    QStringList seen;
    auto add = [&](const QString& path) {
        const QString canonical = Canonical(path);
        if (QFileInfo::exists(path) && !seen.contains(canonical)) {
            seen << canonical;
            candidates << path;
        }
    };
    for (int number = 1; number <= ComNames; ++number)
        add(MappedPath(number, m_roots));
    for (const auto& port : PortDiscovery::Discover(m_roots))
        add(port.device);

    if (!m_probe) {
        m_probe = new DialerProbe(this);
        connect(m_probe, &DialerProbe::Progress, this, [this](int done, int total) {
            ProgressBar1->setMaximum(total);
            ProgressBar1->setValue(done);
        });
        connect(m_probe, &DialerProbe::Finished, this,
                [this](const QList<DialerProbe::Result>& results) {
                    ProgressBar1->setVisible(false);
                    DetectButton->setEnabled(true);
                    QString answered;
                    for (const auto& result : results)
                        if (result.answered) {
                            answered = result.port;
                            break;
                        }
                    m_answered = answered.isEmpty() ? QString() : Canonical(answered);
                    Refresh();
                    if (answered.isEmpty()) {
                        StatusLabel->setText(QStringLiteral("Nie znaleziono dialera."));
                        return;
                    }
                    for (int index = 0; index < ComNames; ++index) {
                        if (Canonical(MappedPath(index + 1, m_roots)) == Canonical(answered)) {
                            StatusLabel->setText(QStringLiteral("Dialer odpowiada na COM%1 (%2).")
                                                     .arg(index + 1)
                                                     .arg(answered));
                            emit PortFound(index);
                            return;
                        }
                    }
                    StatusLabel->setText(
                        QStringLiteral("Dialer odpowiada na %1, którego nie otwiera żadna z nazw "
                                       "COM1..COM16: przypisz go w sekcji [Port names] pliku "
                                       "ustawień.")
                            .arg(answered));
                });
    }
    m_probe->SetReplyInterval(ProbeReplyInterval);
    m_probe->SetLog(ProbeLog);
    ProgressBar1->setRange(0, std::max<int>(1, candidates.size()));
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(true);
    DetectButton->setEnabled(false);
    StatusLabel->setText(QStringLiteral("Szukam dialera..."));
    m_probe->Start(candidates);
}
