#include "app/screenshots/ShotCatalogue.h"

#include "app/UnitAbout.h"
#include "app/UnitMainForm.h"
#include "app/UnitProgramOptions.h"
#include "app/UnitProgress.h"
#include "app/UnitResetDial.h"
#include "app/archive/ArchiveDialog.h"
#include "app/archive/ArchiveEntryActions.h"
#include "app/archive/ArchiveOptionsDialog.h"
#include "app/dialer/VerifyQuestion.h"
#include "app/files/CopyAreasDialog.h"
#include "app/files/DifferencesDialog.h"
#include "app/files/FileDialogs.h"
#include "app/ports/TransferLogWindow.h"
#include "app/report/ReportOptionsDialog.h"
#include "app/report/ReportViewDialog.h"
#include "archive/ArchiveDatabase.h"
#include "device/DataManagement.h"
#include "device/DialerFrames.h"
#include "editors/dialogs/UnitAlarmIn.h"
#include "editors/dialogs/UnitAlarmOut.h"
#include "editors/dialogs/UnitCode.h"
#include "editors/dialogs/UnitConfig.h"
#include "editors/dialogs/UnitDelay.h"
#include "editors/dialogs/UnitEventCode.h"
#include "editors/dialogs/UnitHistory.h"
#include "editors/dialogs/UnitPhoneParam.h"
#include "editors/dialogs/UnitPhones.h"
#include "editors/dialogs/UnitPolpager.h"
#include "editors/dialogs/UnitStation.h"
#include "editors/dialogs/UnitSystemOptions.h"
#include "model/Cp1250.h"
#include "resources/ConstsZVX.h"
#include "widgets/MessageBox.h"
#include "widgets/MessageBoxRecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

namespace ShotCatalogue {

namespace {

using Take = std::function<void(const Shot& shot)>;

// Runs show(), which opens a modal window; once it is open, hands it to take and closes
// it. A window that did not open is added to missing.
void TakeModal(const QString& name, bool qtOwn, const Take& take, QStringList& missing,
               const std::function<void()>& show)
{
    QTimer::singleShot(0, [&, name, qtOwn] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            missing << name;
            return;
        }
        take({name, modal, qtOwn});
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
    show();
}

template <class Dialog>
void TakeEditor(const QString& name, TZorvexSettings& settings, const Take& take,
                QStringList& missing)
{
    Dialog dialog;
    TakeModal(name, false, take, missing, [&] { dialog.EditSettings(settings); });
}

// A configuration that fills the dialogs as a real one would.
TZorvexSettings Sample()
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    TCfg& cfg = settings.Cfg;
    cfg.SetDigits("0226543210", 112, 8);
    cfg.SetDigits("601234567", 120, 8);
    cfg.SetByte(58, 0x01);
    cfg.SetByte(56, 2);
    // Event history: two times set, two not.
    cfg.SetByte(12, 0x21);
    cfg.SetByte(13, 0x05);
    cfg.SetByte(6, 0x07);
    cfg.SetByte(7, 0x30);
    settings.Comment.SetText(1, "ul. Wiejska 12");
    settings.Comment.SetText(2, "00-902 Warszawa");
    // The widest letter, a full line of it: the description fields must show it whole.
    settings.Comment.SetText(3, std::string(50, 'W'));
    return settings;
}

// A write of four bytes of access codes, then a read of the block they are in, whose
// first frame goes unanswered, as the link logs them.
void SampleExchanges(TransferLog& log)
{
    using Kind = TransferLogEntry::Kind;
    auto note = [](Kind kind, qint64 ms, const QByteArray& bytes = {}) {
        TransferLogEntry entry;
        entry.kind = kind;
        entry.ms = ms;
        entry.bytes = bytes;
        entry.ok = true;
        entry.total = DialerFrames::DataReplySize(DialerFrames::ReadBlockSize);
        return entry;
    };
    const auto hide = TransferLogWindow::CodeBytes();
    int codes = 0;
    while (codes < 256 && !hide(codes))
        ++codes;
    const std::uint8_t code[4] = {0x12, 0x34, 0x56, 0x78};
    const std::uint8_t block = std::uint8_t(codes & ~63);
    QByteArray data(DialerFrames::ReadBlockSize, char(0xFF));
    for (int i = 0; i < data.size(); ++i)
        if (hide(block + i))
            data[i] = char(0x12 + i);
    std::uint8_t sum = 0x11 + 0x22;
    for (const char c : data)
        sum = std::uint8_t(sum + std::uint8_t(c));

    TransferLogEntry start = note(Kind::Start, 0);
    start.text = QStringLiteral("zapis");
    log.Entry(start);
    log.Entry(note(Kind::Sent, 2, DialerFrames::Write(4, std::uint8_t(codes & ~3), code)));
    log.Entry(note(Kind::Received, 95, QByteArray::fromHex("27")));
    log.Entry(note(Kind::Ack, 95));
    log.Entry(note(Kind::End, 96));
    start.text = QStringLiteral("odczyt");
    log.Entry(start);
    log.Entry(note(Kind::Sent, 1, DialerFrames::Read(64, block)));
    log.Entry(note(Kind::Timeout, 3001));
    log.Entry(note(Kind::Resent, 3002, DialerFrames::Read(64, block)));
    log.Entry(note(Kind::Received, 3560, QByteArray::fromHex("1122")));
    TransferLogEntry part = note(Kind::Partial, 3560);
    part.count = 2;
    log.Entry(part);
    log.Entry(note(Kind::Received, 4036, data + char(sum)));
    TransferLogEntry good = note(Kind::BlockGood, 4036);
    good.offset = block;
    log.Entry(good);
}

} // namespace

QStringList TakeAll(const Take& take)
{
    QStringList missing;
    TMainFormZORVEX window;
    window.ShowAboutBox = [] {};
    window.show();
    QApplication::processEvents();
    take({QStringLiteral("main"), &window, false});

    // A message box and the question after a write, as the user answers them.
    TakeModal(QStringLiteral("message"), false, take, missing, [&] {
        MessageDlg(mkConfirmation, QString::fromUtf8(ConstsZVX::ConfirmWrite), mbYes | mbCancel,
                   &window);
    });
    TakeModal(QStringLiteral("verifyquestion"), false, take, missing,
              [&] { AskVerifyAfterWrite(&window); });
    // From here on no message box may wait for an answer.
    MessageBoxRecorder boxes;

    {
        TAboutBox about(&window);
        TakeModal(QStringLiteral("about"), false, take, missing, [&] { about.exec(); });
    }
    window.Link().OnTransferStart(&window.Link());
    window.Link().OnTransferProgress(50);
    take({QStringLiteral("progress"), &window.Progress(), false});
    window.Link().OnTransferEnd(&window.Link());

    TZorvexSettings settings = Sample();
    TakeEditor<TFormPhones>(QStringLiteral("phones"), settings, take, missing);
    TakeEditor<TFormPhoneParam>(QStringLiteral("phoneparam"), settings, take, missing);
    TakeEditor<TFormPolpager>(QStringLiteral("polpager"), settings, take, missing);
    TakeEditor<TFormCode>(QStringLiteral("code"), settings, take, missing);
    TakeEditor<TFormAlarmIn>(QStringLiteral("alarmin"), settings, take, missing);
    TakeEditor<TFormAlarmOut>(QStringLiteral("alarmout"), settings, take, missing);
    TakeEditor<TFormDelay>(QStringLiteral("delay"), settings, take, missing);
    TakeEditor<TFormEventCode>(QStringLiteral("eventcode"), settings, take, missing);
    TakeEditor<TFormHistory>(QStringLiteral("history"), settings, take, missing);
    TakeEditor<TFormStation>(QStringLiteral("station"), settings, take, missing);
    TakeEditor<TFormSystemOptions>(QStringLiteral("systemoptions"), settings, take, missing);
    TakeEditor<TFormConfig>(QStringLiteral("config"), settings, take, missing);

    {
        TFormProgramOptions options(&window);
        std::uint8_t port = 1;
        TakeModal(QStringLiteral("programoptions"), false, take, missing,
                  [&] { options.EditOptions(port); });
    }
    {
        TFormResetDial restart(&window);
        TakeModal(QStringLiteral("restart"), false, take, missing,
                  [&] { restart.RequestRestart(window.Link()); });
    }
    {
        ReportOptionsDialog report(QStringLiteral("Wydruk konfiguracji"), &window);
        TakeModal(QStringLiteral("reportoptions"), false, take, missing, [&] { report.exec(); });
    }
    {
        DifferencesDialog differences(&window);
        TZorvexSettings other = settings;
        other.Cfg.SetByte(56, 5);
        other.Comment.SetText(0, "Inny obiekt");
        differences.SetDifferences(QStringLiteral("Konfiguracja dialera różni się od "
                                                  "konfiguracji w programie:"),
                                   QStringLiteral("W programie"), QStringLiteral("W dialerze"),
                                   ConfigDifferences(settings, other));
        TakeModal(QStringLiteral("differences"), false, take, missing, [&] { differences.exec(); });
    }
    {
        // The archive's windows, over an archive of their own; a client folder deep enough
        // to try the elided paths.
        QTemporaryDir dir;
        const QString deep = QStringLiteral(
            "/home/instalator/Klienci/2026/Województwo mazowieckie/Warszawa Śródmieście/"
            "Sklep spożywczy „Pod Lipą” sp. z o.o./konfiguracje/po modernizacji/obiekt.ZVX");
        ArchiveDatabase archive(ArchiveDatabase::Kind::SQLite,
                                dir.filePath(QStringLiteral("archiwum.sqlite")));
        ArchiveEntry shown;
        if (archive.Open()) {
            const char* const sites[] = {"Apteka Pod Orłem", "Bank Spółdzielczy", "Cukiernia"};
            for (int i = 0; i < 12; ++i) {
                TZorvexSettings one = settings;
                one.Comment.SetText(0, Utf8ToCp1250(sites[i % 3]));
                ArchiveEntry entry = ArchiveEntry::Now(AllConfigEvents[i % 6], one);
                entry.when = entry.when.addSecs(-3600 * i);
                if (i % 2)
                    entry.port = QStringLiteral("COM%1").arg(i % 4 + 1);
                else
                    entry.fileName = deep;
                archive.Append(entry);
                shown = entry;
            }
        }
        ArchiveDialog list(window.Document(), archive, &window);
        TakeModal(QStringLiteral("archive"), false, take, missing, [&] { list.exec(); });
        ArchiveOptionsDialog options(&window);
        TakeModal(QStringLiteral("archiveoptions"), false, take, missing, [&] { options.exec(); });
        ReportViewDialog report(QStringLiteral("Archiwum: wpis %1").arg(shown.id),
                                EntryReportLines(shown, true), &window);
        TakeModal(QStringLiteral("reportview"), false, take, missing, [&] { report.exec(); });
        CopyAreasDialog copy(deep, &window);
        TakeModal(QStringLiteral("copyareas"), false, take, missing, [&] { copy.exec(); });
    }
    {
        TransferLogWindow log(&window);
        SampleExchanges(log);
        log.Open();
        QApplication::processEvents();
        take({QStringLiteral("transferlog"), &log, false});
    }
    {
        // Qt's own dialogs, in Polish, as the program opens them; the print dialog with its
        // options shown.
        TakeModal(QStringLiteral("filedialog"), true, take, missing, [&] {
            AskConfigFileName({false, QStringLiteral("Odczyt konfiguracji ze zbioru")}, &window);
        });
        QPrinter printer;
        QPrintDialog print(&printer, &window);
        for (QAbstractButton* button : print.findChildren<QAbstractButton*>())
            if (button->text() == QPrintDialog::tr("&Options >>"))
                button->click();
        TakeModal(QStringLiteral("printdialog"), true, take, missing, [&] { print.exec(); });
    }
    return missing;
}

QString Outline(const Shot& shot)
{
    QStringList lines{QStringLiteral("title: ") + shot.window->windowTitle()};
    for (QWidget* w : shot.window->findChildren<QWidget*>()) {
        // What Qt's print dialog shows depends on the printer chosen: all its options.
        if (!shot.qtOwn && !w->isVisibleTo(shot.window))
            continue;
        const QString kind = QString::fromLatin1(w->metaObject()->className());
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            const bool option = qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w);
            if (!button->text().isEmpty() && (option || !shot.qtOwn))
                lines << kind + QStringLiteral(": ") + button->text();
            continue;
        }
        if (shot.qtOwn)
            continue;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty())
            lines << kind + QStringLiteral(": ") + label->text();
        else if (auto* group = qobject_cast<QGroupBox*>(w); group && !group->title().isEmpty())
            lines << kind + QStringLiteral(": ") + group->title();
        else if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                lines << kind + QStringLiteral(": ") + tabs->tabText(i);
        else if (auto* list = qobject_cast<QComboBox*>(w); list && !list->isEditable())
            for (int i = 0; i < list->count(); ++i)
                lines << kind + QStringLiteral(": ") + list->itemText(i);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace ShotCatalogue
