#include "app/UnitMainForm.h"

#include "app/ActionTable.h"
#include "app/AppPrinter.h"
#include "app/FileDialogs.h"
#include "app/HelpFiles.h"
#include "app/MainToolBar.h"
#include "app/PdfReport.h"
#include "app/PrintFlow.h"
#include "app/ShellOpen.h"
#include "app/UnitAbout.h"
#include "app/UnitDifferences.h"
#include "app/UnitProgramOptions.h"
#include "app/UnitProgress.h"
#include "app/UnitReportOptions.h"
#include "app/UnitResetDial.h"
#include "app/VerifyQuestion.h"
#include "app/WindowReport.h"
#include "device/ConfigFileFormat.h"
#include "device/ConfigFileIO.h"
#include "device/EIOException.h"
#include "device/MessageFormat.h"
#include "device/TZorvexSettingsControl.h"
#include "editors/UnitAlarmIn.h"
#include "editors/UnitAlarmOut.h"
#include "editors/UnitCode.h"
#include "editors/UnitConfig.h"
#include "editors/UnitDelay.h"
#include "editors/UnitEventCode.h"
#include "editors/UnitHistory.h"
#include "editors/UnitPhoneParam.h"
#include "editors/UnitPhones.h"
#include "editors/UnitPolpager.h"
#include "editors/UnitStation.h"
#include "editors/UnitSystemOptions.h"
#include "resources/ConstsZVX.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Glyphs.h"
#include "widgets/IniFile.h"
#include "widgets/JpegImage.h"
#include "widgets/MessageBox.h"
#include "widgets/ProgramSettings.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

using Handler = void (TMainFormZORVEX::*)();

struct ActionHandler
{
    const char* name;
    Handler handler;
};

constexpr ActionHandler kHandlers[] = {
    {"OpcjeProgramu", &TMainFormZORVEX::OpcjeProgramuExecute},
    {"NowaKonfiguracjaDialera", &TMainFormZORVEX::NowaKonfiguracjaDialeraExecute},
    {"ZapamietanieKonfiguracjiNaDysku", &TMainFormZORVEX::ZapamietanieKonfiguracjiNaDyskuExecute},
    {"OdczytKonfiguracjiZDysku", &TMainFormZORVEX::OdczytKonfiguracjiZDyskuExecute},
    {"ZapisKonfiguracjiDialera", &TMainFormZORVEX::ZapisKonfiguracjiDialeraExecute},
    {"OdczytKonfiguracjiDialera", &TMainFormZORVEX::OdczytKonfiguracjiDialeraExecute},
    {"WeryfikacjaKonfiguracjiDialera", &TMainFormZORVEX::WeryfikacjaKonfiguracjiDialeraExecute},
    {"PorownajZPlikiem", &TMainFormZORVEX::PorownajZPlikiemExecute},
    {"RestartDialera", &TMainFormZORVEX::RestartDialeraExecute},
    {"OpisKonfiguracji", &TMainFormZORVEX::OpisKonfiguracjiExecute},
    {"WydrukKonfiguracji", &TMainFormZORVEX::WydrukKonfiguracjiExecute},
    {"ZapiszRaportDoPDF", &TMainFormZORVEX::ZapiszRaportDoPDFExecute},
    {"WyjscieZProgramu", &TMainFormZORVEX::WyjscieZProgramuExecute},
    {"NumeryTelefonow", &TMainFormZORVEX::NumeryTelefonowExecute},
    {"ParametryTelefonowania", &TMainFormZORVEX::ParametryTelefonowaniaExecute},
    {"KomunikatPOLPAGER", &TMainFormZORVEX::KomunikatPOLPAGERExecute},
    {"KodyDostepu", &TMainFormZORVEX::KodyDostepuExecute},
    {"WejsciaAlarmowe", &TMainFormZORVEX::WejsciaAlarmoweExecute},
    {"WyjsciaPGM", &TMainFormZORVEX::WyjsciaPGMExecute},
    {"Zwloki", &TMainFormZORVEX::ZwlokiExecute},
    {"OpcjeSystemowe", &TMainFormZORVEX::OpcjeSystemoweExecute},
    {"StacjeMonitorujace", &TMainFormZORVEX::StacjeMonitorujaceExecute},
    {"KodyZdarzen", &TMainFormZORVEX::KodyZdarzenExecute},
    {"HistoriaZdarzen", &TMainFormZORVEX::HistoriaZdarzenExecute},
    {"OProgramie", &TMainFormZORVEX::OProgramieExecute},
    {"NapiszDoNas", &TMainFormZORVEX::NapiszDoNasExecute},
    {"SpisTresci", &TMainFormZORVEX::SpisTresciExecute},
    {"SzukajSlowa", &TMainFormZORVEX::SzukajSlowaExecute},
    {"JakUzywacPomocy", &TMainFormZORVEX::JakUzywacPomocyExecute},
    {"OFirmie", &TMainFormZORVEX::OFirmieExecute},
};

Handler HandlerOf(const char* name)
{
    for (const auto& h : kHandlers)
        if (qstrcmp(h.name, name) == 0)
            return h.handler;
    return nullptr;
}

// A load's status as the window reports it: the three file messages.
void ThrowIfLoadFailed(int status)
{
    if (status == ConfigFile::FileFormatError)
        throw EIOException(ConstsZVX::FileFormatError);
    if (status == ConfigFile::FileSizeError)
        throw EIOException(ConstsZVX::FileSizeError);
    if (status != 0)
        throw EIOException(ConstsZVX::FileReadError);
}

} // namespace

TMainFormZORVEX::TMainFormZORVEX(QWidget* parent)
    : QMainWindow(parent), m_reporter(this),
      m_link(std::make_unique<TZorvexSettingsControl>(m_reporter))
{
    setObjectName(QStringLiteral("MainFormZORVEX"));

    CreateActions();
    CreateMenus();
    CreateToolBar();

    m_picture = new QLabel(this);
    m_picture->setAlignment(Qt::AlignCenter);
    const QImage picture = JpegImage::Load(QString::fromLatin1(Glyphs::kMainPicture));
    if (!picture.isNull())
        m_picture->setPixmap(QPixmap::fromImage(picture));
    setCentralWidget(m_picture);
    statusBar()->setSizeGripEnabled(false);

    m_progress = new TFormProgress(this);
    m_link->OnTransferStart = [this](TZorvexSettingsControl*) { m_progress->TransferStart(); };
    m_link->OnTransferEnd = [this](TZorvexSettingsControl*) { m_progress->TransferEnd(); };
    m_link->OnTransferProgress = [this](int percent) { m_progress->TransferProgress(percent); };

    ShowAboutBox = [this] {
        TAboutBox about(this);
        about.exec();
    };

    // A read or a write that went well makes the configuration the dialer's. The read
    // copies the image only after its box has been closed, so the snapshot waits for the
    // event loop.
    m_reporter.OnInformation = [this](const QString& text) {
        const bool read = text == QString::fromUtf8(ConstsZVX::ReadDone);
        if (read || text == QString::fromUtf8(ConstsZVX::WriteDone))
            QTimer::singleShot(0, this, [this, read] {
                if (read)
                    m_fileName.clear();
                MarkUnmodified();
            });
        // The question comes once the write's box has closed, outside the port's handling.
        if (text == QString::fromUtf8(ConstsZVX::WriteDone))
            QTimer::singleShot(0, this,
                               [this] { ErrorGuard::RunGuarded([this] { OfferVerification(); }); });
    };
    MarkUnmodified();

    resize(MainWindowSize(*this, *findChild<QToolBar*>(QStringLiteral("ToolBar1"))));
}

TMainFormZORVEX::~TMainFormZORVEX()
{
    // The link's events point at the progress window, which Qt destroys with the window.
    m_link->OnTransferStart = nullptr;
    m_link->OnTransferEnd = nullptr;
    m_link->OnTransferProgress = nullptr;
}

void TMainFormZORVEX::CreateActions()
{
    for (const ActionSpec& entry : MainActions()) {
        auto* action = new QAction(QString::fromUtf8(entry.caption), this);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setProperty("category", QString::fromUtf8(entry.category));
        if (entry.hint)
            action->setToolTip(QString::fromUtf8(entry.hint));
        if (entry.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        if (entry.image >= 0)
            action->setIcon(Glyphs::Icon(entry.image));
        action->setProperty("imageIndex", entry.image);
        const Handler handler = HandlerOf(entry.name);
        connect(action, &QAction::triggered, this, [this, handler] {
            ErrorGuard::RunGuarded([this, handler] { (this->*handler)(); });
        });
        addAction(action);
    }
}

QAction* TMainFormZORVEX::Action(const QString& name) const
{
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

void TMainFormZORVEX::CreateMenus()
{
    for (const MenuSpec& entry : MainMenus()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(entry.title));
        for (const char* item : entry.items) {
            if (item)
                menu->addAction(Action(QString::fromLatin1(item)));
            else
                menu->addSeparator();
        }
    }
}

void TMainFormZORVEX::CreateToolBar()
{
    CreateMainToolBar(*this);
}

bool TMainFormZORVEX::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate && FirstActivation)
        ErrorGuard::RunGuarded([this] { FormActivate(); });
    return handled;
}

void TMainFormZORVEX::FormActivate()
{
    if (!FirstActivation)
        return;
    FirstActivation = false;
    if (ShowAboutBox)
        ShowAboutBox();
    const QString path = ProgramSettings::Path();
    if (QFileInfo::exists(path))
        ComPortIndex = static_cast<std::uint8_t>(
            IniFile(path).ReadInteger(QString::fromLatin1(ProgramSettings::kSection),
                                      QString::fromLatin1(ProgramSettings::kPortKey), 1) -
            1);
    else
        ComPortIndex = 1;
    ApplyPortChoice();
    if (!StartupFile.isEmpty())
        QTimer::singleShot(0, this, [this] { OpenFile(StartupFile); });
}

bool TMainFormZORVEX::Modified() const
{
    TZorvexSettings now = m_link->Settings();
    now.Cfg.SetByte(0, m_unmodified.Cfg.GetByte(0));
    return !(now == m_unmodified);
}

void TMainFormZORVEX::MarkUnmodified()
{
    m_unmodified = m_link->Settings();
    UpdateTitle();
}

void TMainFormZORVEX::UpdateTitle()
{
    const QString name = m_fileName.isEmpty() ? QString::fromUtf8(ConstsZVX::Untitled)
                                              : QFileInfo(m_fileName).fileName();
    setWindowTitle(
        QStringLiteral("%1 - %2[*]").arg(QString::fromUtf8(ConstsZVX::ProgramCaption), name));
    setWindowModified(Modified());
}

void TMainFormZORVEX::closeEvent(QCloseEvent* event)
{
    UpdateTitle();
    if (Modified()) {
        switch (MessageDlg(mkConfirmation, QString::fromUtf8(ConstsZVX::SaveChanges),
                           mbYes | mbNo | mbCancel, this)) {
        case mbYes:
            ErrorGuard::RunGuarded([this] { SaveAs(); });
            if (Modified()) {
                event->ignore();
                return;
            }
            break;
        case mbNo:
            break;
        default:
            event->ignore();
            return;
        }
    }
    QMainWindow::closeEvent(event);
}

void TMainFormZORVEX::ApplyPortChoice()
{
    m_link->SelectPort(ComPortIndex + 1);
}

void TMainFormZORVEX::OpcjeProgramuExecute()
{
    {
        TFormProgramOptions options(this);
        options.EditOptions(ComPortIndex);
    }
    ApplyPortChoice();
}

void TMainFormZORVEX::NowaKonfiguracjaDialeraExecute()
{
    MessageDlg(mkInformation, QString::fromUtf8(ConstsZVX::NewConfiguration), mbOk, this);
    m_link->Settings().LoadDefaults();
    m_fileName.clear();
    MarkUnmodified();
}

void TMainFormZORVEX::ZapamietanieKonfiguracjiNaDyskuExecute()
{
    SaveAs();
}

void TMainFormZORVEX::SaveAs()
{
    const QString name =
        AskConfigFileName({true, QStringLiteral("Zapis konfiguracji do zbioru")}, this);
    if (name.isEmpty())
        return;
    if (m_link->SaveToFile(name) != 0)
        throw EIOException(ConstsZVX::FileSaveError);
    m_fileName = name;
    MarkUnmodified();
    MessageDlg(mkInformation, FormatMessage(ConstsZVX::FileSaved, {name}), mbOk, this);
}

void TMainFormZORVEX::OdczytKonfiguracjiZDyskuExecute()
{
    const QString name =
        AskConfigFileName({false, QStringLiteral("Odczyt konfiguracji ze zbioru")}, this);
    if (!name.isEmpty())
        LoadFile(name);
}

void TMainFormZORVEX::OpenFile(const QString& fileName)
{
    ErrorGuard::RunGuarded([&] { LoadFile(fileName); });
    UpdateTitle();
}

void TMainFormZORVEX::LoadFile(const QString& name)
{
    m_reporter.LastConfirmed = false;
    const int status = m_link->LoadFromFile(name);
    ThrowIfLoadFailed(status);
    if (!m_reporter.LastConfirmed)
        return; // declined: nothing changed, unsaved edits stay unsaved
    m_fileName = name;
    MarkUnmodified();
}

void TMainFormZORVEX::ZapisKonfiguracjiDialeraExecute()
{
    if (MessageDlg(mkConfirmation, QString::fromUtf8(ConstsZVX::ConfirmWrite), mbYes | mbCancel,
                   this) == mbYes)
        m_link->WriteToDevice();
}

void TMainFormZORVEX::OdczytKonfiguracjiDialeraExecute()
{
    if (MessageDlg(mkConfirmation, QString::fromUtf8(ConstsZVX::ConfirmRead), mbYes | mbCancel,
                   this) == mbYes)
        m_link->ReadFromDevice();
}

void TMainFormZORVEX::WeryfikacjaKonfiguracjiDialeraExecute()
{
    StartVerification();
}

void TMainFormZORVEX::StartVerification()
{
    m_link->VerifyDevice([this](const TCfg& image) {
        TZorvexSettings dialer;
        dialer.Cfg = image;
        ShowDifferences(ConfigDifferences(m_link->Settings(), dialer, dsImage),
                        QString::fromUtf8(ConstsZVX::VerifyEqual),
                        QString::fromUtf8(ConstsZVX::VerifyHeading),
                        QString::fromUtf8(ConstsZVX::DiffColumnDialer));
    });
}

void TMainFormZORVEX::OfferVerification()
{
    const QString path = ProgramSettings::Path();
    const QString section = QString::fromLatin1(ProgramSettings::kSection);
    const QString key = QStringLiteral("VerifyAfterWrite");
    const int kept = IniFile(path).ReadInteger(section, key, -1);
    bool verify = kept == 1;
    if (kept != 0 && kept != 1) {
        const VerifyAnswer answer = AskVerifyAfterWrite(this);
        verify = answer.verify;
        // A settings file that cannot be written is reported; the check still runs.
        if (answer.dontAskAgain)
            ErrorGuard::RunGuarded([&] {
                // A settings file that is not there means COM2 at start-up, one without
                // "Port" COM1: a new file says COM2, as its absence did.
                if (!QFileInfo::exists(path))
                    IniFile(path).WriteInteger(section,
                                               QString::fromLatin1(ProgramSettings::kPortKey), 2);
                IniFile(path).WriteInteger(section, key, verify ? 1 : 0);
            });
    }
    if (verify)
        StartVerification();
}

void TMainFormZORVEX::PorownajZPlikiemExecute()
{
    const QString name =
        AskConfigFileName({false, QString::fromUtf8(ConstsZVX::DiffFileTitle)}, this);
    if (name.isEmpty())
        return;
    ConfigFile::Bytes bytes;
    const int status = ConfigFile::Read(QFile::encodeName(name).toStdString(), bytes);
    ThrowIfLoadFailed(status);
    TZorvexSettings file;
    ConfigFile::Apply(bytes, file);
    ShowDifferences(ConfigDifferences(m_link->Settings(), file),
                    QString::fromUtf8(ConstsZVX::DiffEqual),
                    FormatMessage(ConstsZVX::DiffFileHeading, {name}),
                    QString::fromUtf8(ConstsZVX::DiffColumnFile));
}

void TMainFormZORVEX::ShowDifferences(const QList<ConfigDifference>& differences,
                                      const QString& equalText, const QString& heading,
                                      const QString& columnB)
{
    if (differences.isEmpty()) {
        MessageDlg(mkInformation, equalText, mbOk, this);
        return;
    }
    TFormDifferences dialog(this);
    dialog.SetDifferences(heading, QString::fromUtf8(ConstsZVX::DiffColumnProgram), columnB,
                          differences);
    if (ShowDifferencesDialog)
        ShowDifferencesDialog(dialog);
    else
        dialog.exec();
}

void TMainFormZORVEX::RestartDialeraExecute()
{
    TFormResetDial dialog(this);
    dialog.RequestRestart(*m_link);
}

void TMainFormZORVEX::WydrukKonfiguracjiExecute()
{
    const std::optional<bool> masked = AskCustomerCopy(QStringLiteral("Wydruk konfiguracji"), this);
    if (!masked || !RunPrintDialog(this))
        return;
    Report = WindowReportLines(m_link->Settings(), FileName(), *masked);
    QPrinter& printer = AppPrinter();
    PrintReport(Report, printer, font(), printer.copyCount());
}

void TMainFormZORVEX::ZapiszRaportDoPDFExecute()
{
    const std::optional<bool> masked =
        AskCustomerCopy(QStringLiteral("Zapisz raport do PDF"), this);
    if (!masked)
        return;
    const QString name = AskPdfFileName(SuggestedPdfName(FileName(), *masked), this);
    if (name.isEmpty())
        return;
    Report = WindowReportLines(m_link->Settings(), FileName(), *masked);
    SaveReportPdf(Report, name, font());
    MessageDlg(mkInformation, FormatMessage(ConstsZVX::ReportPdfSaved, {name}), mbOk, this);
}

void TMainFormZORVEX::WyjscieZProgramuExecute()
{
    close();
}

template <class Dialog> void TMainFormZORVEX::RunEditor()
{
    Dialog dialog(this);
    dialog.EditSettings(m_link->Settings());
}

void TMainFormZORVEX::OpisKonfiguracjiExecute()
{
    RunEditor<TFormConfig>();
}
void TMainFormZORVEX::NumeryTelefonowExecute()
{
    RunEditor<TFormPhones>();
}
void TMainFormZORVEX::ParametryTelefonowaniaExecute()
{
    RunEditor<TFormPhoneParam>();
}
void TMainFormZORVEX::KomunikatPOLPAGERExecute()
{
    RunEditor<TFormPolpager>();
}
void TMainFormZORVEX::KodyDostepuExecute()
{
    RunEditor<TFormCode>();
}
void TMainFormZORVEX::WejsciaAlarmoweExecute()
{
    RunEditor<TFormAlarmIn>();
}
void TMainFormZORVEX::WyjsciaPGMExecute()
{
    RunEditor<TFormAlarmOut>();
}
void TMainFormZORVEX::ZwlokiExecute()
{
    RunEditor<TFormDelay>();
}
void TMainFormZORVEX::OpcjeSystemoweExecute()
{
    RunEditor<TFormSystemOptions>();
}
void TMainFormZORVEX::StacjeMonitorujaceExecute()
{
    RunEditor<TFormStation>();
}
void TMainFormZORVEX::KodyZdarzenExecute()
{
    RunEditor<TFormEventCode>();
}
void TMainFormZORVEX::HistoriaZdarzenExecute()
{
    RunEditor<TFormHistory>();
}

void TMainFormZORVEX::OProgramieExecute()
{
    if (ShowAboutBox)
        ShowAboutBox();
}

void TMainFormZORVEX::NapiszDoNasExecute()
{
    ShellOpen(QUrl(QString::fromLatin1(Vendor::MailUrl)));
}
void TMainFormZORVEX::OFirmieExecute()
{
    ShellOpen(QUrl(QString::fromLatin1(Vendor::WebUrl)));
}
void TMainFormZORVEX::SpisTresciExecute()
{
    ShellOpen(HelpFiles::Contents());
}
void TMainFormZORVEX::SzukajSlowaExecute()
{
    ShellOpen(HelpFiles::Index());
}
void TMainFormZORVEX::JakUzywacPomocyExecute()
{
    ShellOpen(HelpFiles::UsingHelp());
}
