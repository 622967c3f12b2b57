#include "app/UnitMainForm.h"
#include "app/UnitProgramOptions.h"
#include "app/ports/EmulatorMode.h"
#include "app/ports/PortPanel.h"
#include "app/ports/TransferLogRows.h"
#include "app/ports/TransferLogWindow.h"
#include "device/DialerFrames.h"
#include "emulator/DialerEmulator.h"
#include "settings/ProgramSettings.h"
#include "tests/common/EmulatedDialer.h"
#include "tests/common/EngineRig.h"
#include "tests/editors/ModalDriver.h"
#include "tests/serial/FakeSysfs.h"
#include "widgets/MessageBoxRecorder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

namespace {

const char* const kFtdi = "pci0000:00/0000:00:14.0/usb1/1-2";
const char* const kFtdiId = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

QStringList Items(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

// The first four-byte block whose bytes are all access code bytes, and one with none.
int Block(bool codes)
{
    const auto hide = TransferLogWindow::CodeBytes();
    for (int offset = 0; offset < 256; offset += 4) {
        int hidden = 0;
        for (int i = 0; i < 4; ++i)
            hidden += hide(offset + i) ? 1 : 0;
        if (hidden == (codes ? 4 : 0))
            return offset;
    }
    return -1;
}

using Kind = TransferLogEntry::Kind;

TransferLogEntry Logged(Kind kind, const QByteArray& bytes = {}, int count = 0)
{
    TransferLogEntry entry;
    entry.kind = kind;
    entry.bytes = bytes;
    entry.count = count;
    entry.total = DialerFrames::DataReplySize(DialerFrames::ReadBlockSize);
    entry.ok = true;
    return entry;
}

// The access code bytes in the 64-byte block at offset.
int CodesIn(int offset)
{
    const auto hide = TransferLogWindow::CodeBytes();
    int codes = 0;
    for (int i = 0; i < 64; ++i)
        codes += hide(offset + i) ? 1 : 0;
    return codes;
}

// Fills a log window with rows rows.
void FillLog(TransferLogWindow& window, int rows)
{
    for (int i = 0; i < rows; ++i)
        window.Entry(Logged(Kind::Sent, DialerFrames::Read(64, std::uint8_t(i))));
}

} // namespace

class TstPortsAndLog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void panelShowsWhatEachNameOpens();
    void panelFollowsPlugging();
    void detectSelectsTheAnsweringPort();
    void optionsTakeTheFoundPort();
    void logMasksCodes_data();
    void logMasksCodes();
    void savedLogKeepsEveryByte();
    void windowLogsEveryExchange();
    void logRows_data();
    void logRows();
    void logPlace_data();
    void logPlace();
    void logOpensWithinTheScreen();
    void logKeepsItsPlaceWhenCodesShow_data();
    void logKeepsItsPlaceWhenCodesShow();
    void savedLogNamedAndDated_data();
    void savedLogNamedAndDated();
    void emulatorNamesShowTheEmulator();
    void answeringPortChosen();

private:
    QTemporaryDir m_dir;
};

void TstPortsAndLog::initTestCase()
{
    ProgramSettings::OverridePath(m_dir.filePath(QStringLiteral("zorvex.ini")));
}

void TstPortsAndLog::cleanup()
{
    qunsetenv("ZVX_COM3");
    qunsetenv("ZVX_COM4");
    qunsetenv("ZVX_COM12");
}

void TstPortsAndLog::panelShowsWhatEachNameOpens()
{
    FakeSysfs tree;
    QVERIFY(tree.AddUsbDevice(kFtdi, "0403", "6001", "FTDI", "FT232R USB UART", "A50285BI"));
    QVERIFY(tree.AddTty("ttyUSB0", QString(kFtdi) + "/1-2:1.0/ttyUSB0", "ftdi_sio"));
    QVERIFY(tree.AddStableName("by-id", kFtdiId, "ttyUSB0"));
    qputenv("ZVX_COM4", QByteArray("/dev/serial/by-id/") + kFtdiId);
    PortPanel panel({tree.Sys(), tree.Dev()});
    const QStringList items = Items(panel.ListBox1);
    QCOMPARE(items.size(), 16);
    QCOMPARE(items[3], QStringLiteral("COM4 → %1/serial/by-id/%2  (FT232R USB UART, nr A50285BI)")
                           .arg(tree.Dev(), kFtdiId));
    QCOMPARE(items[0], QStringLiteral("COM1 → /dev/ttyS0  (brak urządzenia)"));
}

void TstPortsAndLog::panelFollowsPlugging()
{
    FakeSysfs tree;
    QVERIFY(QDir().mkpath(tree.Dev() + "/serial/by-id"));
    QVERIFY(QDir().mkpath(tree.Sys() + "/class/tty"));
    PortPanel panel({tree.Sys(), tree.Dev()});
    QCOMPARE(panel.ListBox1->count(), 16);

    // Plugged in: the kernel's side first, then udev's node and link.
    QVERIFY(tree.AddUsbDevice(kFtdi, "0403", "6001", "FTDI", "FT232R USB UART", "A50285BI"));
    QVERIFY(tree.AddTty("ttyUSB0", QString(kFtdi) + "/1-2:1.0/ttyUSB0", "ftdi_sio"));
    QVERIFY(tree.AddStableName("by-id", kFtdiId, "ttyUSB0"));
    const QString line = QStringLiteral("bez nazwy COM: %1/serial/by-id/%2  (FT232R USB UART, nr "
                                        "A50285BI)")
                             .arg(tree.Dev(), kFtdiId);
    QTRY_VERIFY(Items(panel.ListBox1).contains(line));

    // Pulled out.
    QVERIFY(QFile::remove(tree.Dev() + "/serial/by-id/" + kFtdiId));
    QVERIFY(QDir(tree.Sys() + "/devices/" + kFtdi).removeRecursively());
    QVERIFY(QFile::remove(tree.Sys() + "/class/tty/ttyUSB0"));
    QVERIFY(QFile::remove(tree.Dev() + "/ttyUSB0"));
    QTRY_COMPARE(panel.ListBox1->count(), 16);
}

void TstPortsAndLog::detectSelectsTheAnsweringPort()
{
    DialerEmulator::Options options;
    options.pacing = false;
    DialerEmulator dialer(options);
    dialer.Start();
    qputenv("ZVX_COM3", QByteArray::fromStdString(dialer.SlavePath()));

    FakeSysfs tree;
    QVERIFY(tree.AddTty("ttyS0", "platform/serial8250/serial8250:0.0", "port", "4"));
    PortPanel panel({tree.Sys(), tree.Dev()});
    panel.ProbeReplyInterval = 1000;
    int released = 0;
    panel.ReleasePort = [&] { ++released; };
    QSignalSpy found(&panel, &PortPanel::PortFound);
    panel.DetectButton->click();
    QVERIFY(!panel.ProgressBar1->isHidden());
    QVERIFY(!panel.DetectButton->isEnabled());
    QTRY_COMPARE(found.size(), 1);
    QCOMPARE(found.first().at(0).toInt(), 2);
    QCOMPARE(released, 1);
    QVERIFY(panel.ProgressBar1->isHidden());
    QVERIFY(panel.DetectButton->isEnabled());
    QVERIFY(panel.StatusLabel->text().startsWith(QStringLiteral("Dialer odpowiada na COM3")));
    QCOMPARE(dialer.GetCounters().frames, 1);
}

void TstPortsAndLog::optionsTakeTheFoundPort()
{
    TFormProgramOptions dialog;
    dialog.ComboBox1->setCurrentIndex(0);
    emit dialog.Ports->PortFound(2);
    QCOMPARE(dialog.ComboBox1->currentIndex(), 2);
}

void TstPortsAndLog::logMasksCodes_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("showCodes");
    QTest::addColumn<bool>("masked");

    QVERIFY(Block(true) >= 0 && Block(false) >= 0);
    QTest::newRow("code block") << Block(true) << false << true;
    QTest::newRow("code block, codes shown") << Block(true) << true << false;
    QTest::newRow("other block") << Block(false) << false << false;
}

void TstPortsAndLog::logMasksCodes()
{
    QFETCH(int, offset);
    QFETCH(bool, showCodes);
    QFETCH(bool, masked);

    TransferLogWindow window;
    const std::uint8_t bytes[4] = {0x12, 0x34, 0x56, 0x78};
    TransferLogEntry entry;
    entry.kind = TransferLogEntry::Kind::Sent;
    entry.bytes = DialerFrames::Write(4, std::uint8_t(offset), bytes);
    window.Entry(entry);
    window.ShowCodes->setChecked(showCodes);
    // Ticking redraws what is there; entries after it follow the box too.
    window.Entry(entry);
    const QStringList lines = window.ShownLines();
    QCOMPARE(lines.size(), 2);
    for (const QString& line : lines) {
        QCOMPARE(line.contains(QLatin1String("** ** ** **")), masked);
        QCOMPARE(line.contains(QLatin1String("12 34 56 78")), !masked);
    }
}

void TstPortsAndLog::savedLogKeepsEveryByte()
{
    TransferLogWindow window;
    const std::uint8_t bytes[4] = {0x12, 0x34, 0x56, 0x78};
    TransferLogEntry entry;
    entry.kind = TransferLogEntry::Kind::Sent;
    entry.bytes = DialerFrames::Write(4, std::uint8_t(Block(true)), bytes);
    window.Entry(entry);
    const QString file = m_dir.filePath(QStringLiteral("dziennik.txt"));
    window.AskSaveName = [&] { return file; };
    window.SaveButton->click();
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("12 34 56 78"));
    QCOMPARE(saved.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
             QFileDevice::Permissions());

    window.ClearButton->click();
    QVERIFY(window.ShownLines().isEmpty());
    QVERIFY(window.FullLines().isEmpty());
}

void TstPortsAndLog::windowLogsEveryExchange()
{
    DialerEmulator::Options options;
    options.pacing = false;
    DialerEmulator dialer(options);
    dialer.Start();
    TMainFormZORVEX window;
    window.Link().SerialPort().SetPort(QString::fromStdString(dialer.SlavePath()));
    MessageBoxRecorder boxes;
    boxes.Answer(mbYes);
    window.Action(QStringLiteral("OdczytKonfiguracjiDialera"))->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(window.Link().Operation(), Operation::Idle, 20000);
    const QStringList lines = window.TransferLog().FullLines();
    QVERIFY(lines.filter(QStringLiteral("odczyt 64 B od 0xC0")).size() == 1);
    QVERIFY2(lines.last().contains(QStringLiteral("koniec: sukces")), qPrintable(lines.last()));

    window.Action(QStringLiteral("DziennikTransmisji"))->trigger();
    QVERIFY(window.TransferLog().isVisible());
    QCOMPARE(window.TransferLog().ShownLines().size(), lines.size());
}

void TstPortsAndLog::logRows_data()
{
    QTest::addColumn<int>("offset"); // of the block read
    QTest::addColumn<bool>("showCodes");
    QTest::addColumn<int>("stars"); // bytes of the reply shown as "**"
    int codes = 0;
    while (CodesIn(codes) == 0)
        codes += 64;
    int plain = 0;
    while (CodesIn(plain) != 0)
        plain += 64;
    // The codes and the checksum after them.
    QTest::newRow("block of codes, masked") << codes << false << CodesIn(codes) + 1;
    QTest::newRow("block of codes, shown") << codes << true << 0;
    QTest::newRow("block without codes") << plain << false << 0;
}

// A chunk received and what the link made of it on one row; in a reply to a read frame
// the access-code bytes and the checksum after them show as "**" unless asked for.
void TstPortsAndLog::logRows()
{
    QFETCH(int, offset);
    QFETCH(bool, showCodes);
    QFETCH(int, stars);
    TransferLogWindow window;
    window.ShowCodes->setChecked(showCodes);
    ExchangeEngine::Image image;
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = std::uint8_t(0x40 + i % 64);
    const QByteArray reply = ReadReply(image, offset);
    window.Entry(Logged(Kind::Sent, DialerFrames::Read(64, std::uint8_t(offset))));
    window.Entry(Logged(Kind::Received, reply.left(2)));
    window.Entry(Logged(Kind::Partial, {}, 2));
    window.Entry(Logged(Kind::Received, reply.mid(2)));
    TransferLogEntry good = Logged(Kind::BlockGood);
    good.offset = offset;
    window.Entry(good);
    const QStringList shown = window.ShownLines();
    QCOMPARE(shown.size(), 3);
    QVERIFY2(shown[1].contains(QStringLiteral("<- A1 00")) &&
                 shown[1].endsWith(QStringLiteral("  część odpowiedzi: 2 z 67 B")),
             qPrintable(shown[1]));
    QVERIFY2(shown[2].endsWith(QStringLiteral(", suma kontrolna dobra")), qPrintable(shown[2]));
    QCOMPARE(shown[2].count(QStringLiteral("**")), stars);
    QCOMPARE(shown[2].contains(QStringLiteral("**  blok od")), stars > 0);
    // Redrawn (the box ticked and unticked) it is the same; saved, every byte.
    window.ShowCodes->toggle();
    window.ShowCodes->toggle();
    QCOMPARE(window.ShownLines(), shown);
    QVERIFY(
        window.FullLines().last().contains(QString::fromLatin1(reply.mid(2).toHex(' ').toUpper())));
}

void TstPortsAndLog::logPlace_data()
{
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("place");
    QTest::newRow("owner low on an 800-pixel screen")
        << QRect(300, 420, 600, 370) << QRect(0, 0, 1280, 770) << QRect(230, 310, 740, 460);
    QTest::newRow("screen smaller than the window")
        << QRect(0, 0, 600, 400) << QRect(0, 0, 640, 452) << QRect(0, 0, 640, 452);
    QTest::newRow("second screen")
        << QRect(2400, 900, 400, 300) << QRect(1920, 0, 1280, 1000) << QRect(2230, 540, 740, 460);
}

// The log window goes over its owner, all of it on the owner's screen, smaller when the
// screen is.
void TstPortsAndLog::logPlace()
{
    QFETCH(QRect, owner);
    QFETCH(QRect, screen);
    QFETCH(QRect, place);
    QCOMPARE(TransferLogWindow::PlaceWithin(QSize(740, 460), owner, screen), place);
}

// On the offscreen platform's 800 x 600 screen, from a main window low on it, the log
// opens whole; Escape closes it, and it opens again where the user left it.
void TstPortsAndLog::logOpensWithinTheScreen()
{
    TMainFormZORVEX window;
    window.ShowAboutBox = [] {};
    window.show();
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.left() + 100, screen.bottom() - window.frameGeometry().height() + 1);
    window.Action(QStringLiteral("DziennikTransmisji"))->trigger();
    TransferLogWindow& log = window.TransferLog();
    QVERIFY(QTest::qWaitForWindowActive(&log));
    QVERIFY(screen.contains(log.frameGeometry()));
    QTest::keyClick(log.Text, Qt::Key_Escape);
    QVERIFY(!log.isVisible());
    QVERIFY(window.isVisible());
    log.move(log.pos() + QPoint(-10, -10));
    const QPoint left = log.pos();
    window.Action(QStringLiteral("DziennikTransmisji"))->trigger();
    QCOMPARE(log.pos(), left);
}

void TstPortsAndLog::logKeepsItsPlaceWhenCodesShow_data()
{
    QTest::addColumn<int>("row"); // the first row in view; -1: the end
    QTest::newRow("in the middle") << 150;
    QTest::newRow("at the top") << 0;
    QTest::newRow("at the end, following") << -1;
}

// Ticking "Pokaż kody dostępu" redraws the rows, and the view stays where it was (at the
// end it stays at the end, as new rows come).
void TstPortsAndLog::logKeepsItsPlaceWhenCodesShow()
{
    QFETCH(int, row);
    TransferLogWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FillLog(window, 400);
    QScrollBar* bar = window.Text->verticalScrollBar();
    bar->setValue(row < 0 ? bar->maximum() : row);
    const int before = bar->value();
    window.ShowCodes->click();
    QCOMPARE(bar->value(), before);
    window.ShowCodes->click();
    QCOMPARE(bar->value(), before);
    FillLog(window, 5);
    QCOMPARE(bar->value(), row < 0 ? bar->maximum() : before);
}

void TstPortsAndLog::savedLogNamedAndDated_data()
{
    QTest::addColumn<QString>("type"); // the file type chosen in the dialog
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    const char* const rows[][4] = {
        {"no extension: .txt", "", "dziennik", "dziennik.txt"},
        {"log type: .log", "Dziennik (*.log)", "awaria", "awaria.log"},
        {"extension typed kept", "", "serwis.log", "serwis.log"},
    };
    for (const auto& row : rows)
        QTest::newRow(row[0]) << row[1] << row[2] << row[3];
}

// "Zapisz..." through the real file dialog: a name typed without an extension gets the
// type's, and each saved row begins with the date and the time of day of its exchange.
void TstPortsAndLog::savedLogNamedAndDated()
{
    QFETCH(QString, type);
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QTemporaryDir dir;
    TransferLogWindow window;
    TransferLogEntry start = Logged(Kind::Start);
    start.text = QStringLiteral("odczyt");
    window.Entry(start);
    window.Entry(Logged(Kind::Sent, DialerFrames::Read(64, 0)));
    const QDateTime before = QDateTime::currentDateTime();
    const bool asked = WhileModalOpen(
        [&] { window.SaveButton->click(); },
        [&](QWidget& opened) {
            auto* dialog = qobject_cast<QFileDialog*>(&opened);
            QVERIFY(dialog);
            QVERIFY(dialog->selectedFiles().value(0).endsWith(QStringLiteral(".txt")));
            if (!type.isEmpty()) {
                // The user steps the file type list down to the type wanted.
                auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                QVERIFY(types);
                while (types->currentText() != type && types->currentIndex() + 1 < types->count())
                    QTest::keyClick(types, Qt::Key_Down);
                QCOMPARE(types->currentText(), type);
            }
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(QDir(dir.path()).filePath(typed));
            QTest::keyClick(name, Qt::Key_Return);
        });
    QVERIFY(asked);
    QFile file(QDir(dir.path()).filePath(saved));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    for (const QString& line : lines) {
        const QDateTime when =
            QDateTime::fromString(line.left(23), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        QVERIFY2(when.isValid() && qAbs(when.secsTo(before)) < 60, qPrintable(line));
    }
    QVERIFY(lines[0].contains(QStringLiteral("początek: odczyt")));
}

// "zorvex --emulator": every COM name opens the emulated dialer's line, and the list says
// so; the port choice offers every name the list shows.
void TstPortsAndLog::emulatorNamesShowTheEmulator()
{
    EmulatorMode emulator;
    TFormProgramOptions dialog;
    const QStringList items = Items(dialog.Ports->ListBox1);
    QCOMPARE(items.mid(0, 16).filter(QStringLiteral("(dialer emulowany)")).size(), 16);
    QStringList names;
    for (int i = 0; i < dialog.ComboBox1->count(); ++i) {
        names << dialog.ComboBox1->itemText(i);
        QCOMPARE(
            items[i],
            QStringLiteral("%1 → %2  (dialer emulowany)").arg(names.last(), EmulatorMode::Path()));
    }
    QCOMPARE(names.size(), 16);
    QCOMPARE(names.last(), QStringLiteral("COM16"));
}

// "Wykryj dialer" in "Opcje programu", opened from the menu: the dialer on COM12 is found,
// its line says it answers (not "brak urządzenia"), OK keeps COM12 for the link and
// "Zachowaj" for the next start.
void TstPortsAndLog::answeringPortChosen()
{
    const auto dialer = StartDialer();
    qputenv("ZVX_COM12", PathOf(*dialer).toUtf8());
    TMainFormZORVEX window;
    window.ShowAboutBox = [] {};
    QString line;
    const bool opened =
        WhileModalOpen([&] { window.Action(QStringLiteral("OpcjeProgramu"))->trigger(); },
                       [&](QWidget& modal) {
                           auto* options = qobject_cast<TFormProgramOptions*>(&modal);
                           QVERIFY(options);
                           options->Ports->ProbeReplyInterval = 300;
                           QSignalSpy found(options->Ports, &PortPanel::PortFound);
                           options->Ports->DetectButton->click();
                           QVERIFY(found.wait(10000));
                           line = Items(options->Ports->ListBox1).value(11);
                           QCOMPARE(options->ComboBox1->currentText(), QStringLiteral("COM12"));
                           options->BitBtn3->click();
                       });
    qunsetenv("ZVX_COM12");
    QVERIFY(opened);
    QVERIFY2(line.endsWith(QStringLiteral("(odpowiada dialer)")), qPrintable(line));
    QCOMPARE(int(window.ComPortIndex), 11);
    QCOMPARE(window.Link().SerialPort().Port(), QStringLiteral("COM12"));
    QCOMPARE(ProgramSettings().Port(), 12);
}

QTEST_MAIN(TstPortsAndLog)
#include "tst_portsandlog.moc"
