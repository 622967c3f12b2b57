// Draws the main window and every dialog, as the user meets them, into PNG files:
//
//     shots OUTPUT-FOLDER
//
// The scale is the environment's (QT_SCALE_FACTOR); scripts/screenshots runs this at
// 100 % and 150 % into the build folder. It also prints the widths the tool bar needs,
// so that a change of style or glyphs that hides a button shows in the numbers.
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
#include "app/report/ReportOptionsDialog.h"
#include "app/report/ReportViewDialog.h"
#include "archive/ArchiveDatabase.h"
#include "device/DataManagement.h"
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
#include "widgets/QtTranslations.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QToolBar>

#include <cstdio>
#include <functional>

namespace {

QString g_folder;
int g_failures = 0;

// No window may be wider than a laptop's screen of 1280 pixels, at 150 % too.
constexpr int kWidestWindow = 1280; // device pixels

void Save(QWidget& widget, const QString& name)
{
    const QString path = QDir(g_folder).filePath(name + QStringLiteral(".png"));
    const QPixmap picture = widget.grab();
    if (!picture.save(path)) {
        std::fprintf(stderr, "shots: cannot write %s\n", qPrintable(path));
        ++g_failures;
    }
    if (picture.width() > kWidestWindow) {
        std::fprintf(stderr, "shots: %s is %d pixels wide, more than %d\n", qPrintable(name),
                     picture.width(), kWidestWindow);
        ++g_failures;
    }
}

// Runs show(), which opens a modal window; once it is open, draws it into name and
// closes it.
void ShootModal(const QString& name, const std::function<void()>& show)
{
    QTimer::singleShot(0, [name] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            std::fprintf(stderr, "shots: %s did not open\n", qPrintable(name));
            ++g_failures;
            return;
        }
        Save(*modal, name);
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
    show();
}

template <class Dialog> void ShootEditor(const QString& name, TZorvexSettings& settings)
{
    Dialog dialog;
    ShootModal(name, [&] { dialog.EditSettings(settings); });
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

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: shots OUTPUT-FOLDER\n");
        return 2;
    }
    g_folder = arguments[1];
    QDir().mkpath(g_folder);
    if (!InstallQtTranslations(app))
        std::fprintf(stderr, "shots: Qt's Polish translations are missing\n");
    TMainFormZORVEX window;
    window.ShowAboutBox = [] {};
    window.show();
    QApplication::processEvents();
    Save(window, QStringLiteral("main"));
    auto* bar = window.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    QTextStream(stdout) << "scale " << qEnvironmentVariable("QT_SCALE_FACTOR", "1") << ": window "
                        << window.width() << " x " << window.height() << ", tool bar needs "
                        << (bar ? bar->sizeHint().width() : -1) << " (device-independent pixels)\n";

    // A message box and the question after a write, as the user answers them.
    ShootModal(QStringLiteral("message"), [&] {
        MessageDlg(mkConfirmation, QString::fromUtf8(ConstsZVX::ConfirmWrite), mbYes | mbCancel,
                   &window);
    });
    ShootModal(QStringLiteral("verifyquestion"), [&] { AskVerifyAfterWrite(&window); });
    // From here on no message box may wait for an answer.
    MessageBoxRecorder boxes;

    {
        TAboutBox about(&window);
        ShootModal(QStringLiteral("about"), [&] { about.exec(); });
    }
    window.Link().OnTransferStart(&window.Link());
    window.Link().OnTransferProgress(50);
    Save(window.Progress(), QStringLiteral("progress"));
    window.Link().OnTransferEnd(&window.Link());

    TZorvexSettings settings = Sample();
    ShootEditor<TFormPhones>(QStringLiteral("phones"), settings);
    ShootEditor<TFormPhoneParam>(QStringLiteral("phoneparam"), settings);
    ShootEditor<TFormPolpager>(QStringLiteral("polpager"), settings);
    ShootEditor<TFormCode>(QStringLiteral("code"), settings);
    ShootEditor<TFormAlarmIn>(QStringLiteral("alarmin"), settings);
    ShootEditor<TFormAlarmOut>(QStringLiteral("alarmout"), settings);
    ShootEditor<TFormDelay>(QStringLiteral("delay"), settings);
    ShootEditor<TFormEventCode>(QStringLiteral("eventcode"), settings);
    ShootEditor<TFormHistory>(QStringLiteral("history"), settings);
    ShootEditor<TFormStation>(QStringLiteral("station"), settings);
    ShootEditor<TFormSystemOptions>(QStringLiteral("systemoptions"), settings);
    ShootEditor<TFormConfig>(QStringLiteral("config"), settings);

    {
        TFormProgramOptions options(&window);
        std::uint8_t port = 1;
        ShootModal(QStringLiteral("programoptions"), [&] { options.EditOptions(port); });
    }
    {
        TFormResetDial restart(&window);
        ShootModal(QStringLiteral("restart"), [&] { restart.RequestRestart(window.Link()); });
    }
    {
        ReportOptionsDialog report(QStringLiteral("Wydruk konfiguracji"), &window);
        ShootModal(QStringLiteral("reportoptions"), [&] { report.exec(); });
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
        ShootModal(QStringLiteral("differences"), [&] { differences.exec(); });
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
        ShootModal(QStringLiteral("archive"), [&] { list.exec(); });
        ArchiveOptionsDialog options(&window);
        ShootModal(QStringLiteral("archiveoptions"), [&] { options.exec(); });
        ReportViewDialog report(QStringLiteral("Archiwum: wpis %1").arg(shown.id),
                                EntryReportLines(shown, true), &window);
        ShootModal(QStringLiteral("reportview"), [&] { report.exec(); });
        CopyAreasDialog copy(deep, &window);
        ShootModal(QStringLiteral("copyareas"), [&] { copy.exec(); });
    }
    {
        // Qt's own dialogs, in Polish.
        QFileDialog open(&window, QStringLiteral("Odczyt konfiguracji z dysku"), QDir::homePath(),
                         QStringLiteral("Konfiguracja dialera (*.ZVX)"));
        open.setOption(QFileDialog::DontUseNativeDialog);
        ShootModal(QStringLiteral("filedialog"), [&] { open.exec(); });
        QPrinter printer;
        QPrintDialog print(&printer, &window);
        ShootModal(QStringLiteral("printdialog"), [&] { print.exec(); });
    }
    return g_failures == 0 ? 0 : 1;
}
