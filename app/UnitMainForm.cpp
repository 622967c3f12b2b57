#include "app/UnitMainForm.h"

#include "app/EditorActions.h"
#include "app/FileDialogs.h"
#include "app/HelpFiles.h"
#include "app/MainMenus.h"
#include "app/MainToolBar.h"
#include "app/ReportActions.h"
#include "app/ShellOpen.h"
#include "app/UnitAbout.h"
#include "app/UnitDifferences.h"
#include "app/UnitProgramOptions.h"
#include "app/UnitProgress.h"
#include "app/UnitResetDial.h"
#include "app/WindowArchive.h"
#include "device/EIOException.h"
#include "device/FileNames.h"
#include "device/MessageFormat.h"
#include "device/TZorvexSettingsControl.h"
#include "model/Exception.h"
#include "resources/ConstsZVX.h"
#include "settings/ProgramSettings.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Glyphs.h"
#include "widgets/JpegImage.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
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
    {"Archiwum", &TMainFormZORVEX::ArchiwumExecute},
    {"RestartDialera", &TMainFormZORVEX::RestartDialeraExecute},
    {"WydrukKonfiguracji", &TMainFormZORVEX::WydrukKonfiguracjiExecute},
    {"ZapiszRaportDoPDF", &TMainFormZORVEX::ZapiszRaportDoPDFExecute},
    {"WyjscieZProgramu", &TMainFormZORVEX::WyjscieZProgramuExecute},
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

// A file that could not be read or written: the error box with the file's message.
void ThrowIfFailed(const FileResult& result)
{
    if (result.outcome == FileOutcome::Failed)
        throw EIOException(result.message.toStdString());
}

} // namespace

TMainFormZORVEX::TMainFormZORVEX(QWidget* parent)
    : QMainWindow(parent), m_reporter(this), m_verifyPolicy(this),
      m_document(std::make_unique<ConfigDocument>(m_reporter))
{
    setObjectName(QStringLiteral("MainFormZORVEX"));

    // An action without a handler of its own is an editor action.
    BuildMainActions(*this, [this](const char* name) {
        return [this, name, handler = HandlerOf(name)] {
            ErrorGuard::RunGuarded([&] {
                if (handler)
                    (this->*handler)();
                else
                    RunEditorAction(name, m_document->Settings(), this);
            });
            UpdateTitle(); // an editor may have changed the configuration
        };
    });

    m_picture = new QLabel(this);
    m_picture->setAlignment(Qt::AlignCenter);
    const QImage picture = JpegImage::Load(QString::fromLatin1(Glyphs::kMainPicture));
    if (!picture.isNull())
        m_picture->setPixmap(QPixmap::fromImage(picture));
    setCentralWidget(m_picture);
    statusBar()->setSizeGripEnabled(false);

    m_progress = new TFormProgress(this);
    Link().OnTransferStart = [this](TZorvexSettingsControl*) { m_progress->TransferStart(); };
    Link().OnTransferEnd = [this](TZorvexSettingsControl*) { m_progress->TransferEnd(); };
    Link().OnTransferProgress = [this](int percent) { m_progress->TransferProgress(percent); };
    m_document->SetVerifyPolicy(&m_verifyPolicy);
    m_archiver = std::make_unique<DocumentArchiver>(ProgramSettings().Archive());
    m_document->SetObserver(m_archiver.get());
    // The archive never stands in the way: when it cannot be reached, one line says so.
    connect(m_archiver.get(), &DocumentArchiver::problemChanged, this,
            [this](const QString& line) { statusBar()->showMessage(line); });
    connect(m_document.get(), &ConfigDocument::changed, this, &TMainFormZORVEX::UpdateTitle);
    connect(m_document.get(), &ConfigDocument::exchangeFinished, this,
            &TMainFormZORVEX::ExchangeFinished);

    ShowAboutBox = [this] {
        TAboutBox about(this);
        about.exec();
    };

    UpdateTitle();

    resize(MainWindowSize(*this, *findChild<QToolBar*>(QStringLiteral("ToolBar1"))));
}

TMainFormZORVEX::~TMainFormZORVEX()
{
    // The link's events point at the progress window, which Qt destroys with the window.
    Link().OnTransferStart = nullptr;
    Link().OnTransferEnd = nullptr;
    Link().OnTransferProgress = nullptr;
    m_document->disconnect(this);
    m_document->SetObserver(nullptr);
}

QAction* TMainFormZORVEX::Action(const QString& name) const
{
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
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
    const ProgramSettings settings;
    ComPortIndex = static_cast<std::uint8_t>(settings.Port() - 1);
    // A settings file that could not be used (a FIFO, a link to a device, a huge file):
    // the program goes on with the defaults and says why.
    if (const QString problem = settings.Problem(); !problem.isEmpty())
        MessageDlg(mkInformation, problem, mbOk, this);
    ApplyPortChoice();
    if (!StartupFile.isEmpty())
        QTimer::singleShot(0, this, [this] { OpenFile(StartupFile); });
}

void TMainFormZORVEX::UpdateTitle()
{
    const QString name = FileName().isEmpty() ? QString::fromUtf8(ConstsZVX::Untitled)
                                              : QFileInfo(FileName()).fileName();
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
    Link().SelectPort(ComPortIndex + 1);
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
    m_document->LoadDefaults();
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
    ThrowIfFailed(m_document->Save(name));
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
    ThrowIfFailed(m_document->Load(name)); // declined: nothing changed
}

void TMainFormZORVEX::ZapisKonfiguracjiDialeraExecute()
{
    if (MessageDlg(mkConfirmation, QString::fromUtf8(ConstsZVX::ConfirmWrite), mbYes | mbCancel,
                   this) == mbYes)
        m_document->Write();
}

void TMainFormZORVEX::OdczytKonfiguracjiDialeraExecute()
{
    if (MessageDlg(mkConfirmation, QString::fromUtf8(ConstsZVX::ConfirmRead), mbYes | mbCancel,
                   this) == mbYes)
        m_document->Read();
}

void TMainFormZORVEX::WeryfikacjaKonfiguracjiDialeraExecute()
{
    m_document->Verify();
}

void TMainFormZORVEX::ExchangeFinished(const ExchangeOutcome& outcome)
{
    if (outcome.operation != ExchangeKind::Verify || !outcome.succeeded)
        return;
    TZorvexSettings dialer;
    dialer.Cfg = m_document->DialerImage();
    ShowDifferences(ConfigDifferences(m_document->Settings(), dialer, dsImage),
                    QString::fromUtf8(ConstsZVX::VerifyEqual),
                    QString::fromUtf8(ConstsZVX::VerifyHeading),
                    QString::fromUtf8(ConstsZVX::DiffColumnDialer), this, ShowDifferencesDialog);
}

void TMainFormZORVEX::PorownajZPlikiemExecute()
{
    const QString name =
        AskConfigFileName({false, QString::fromUtf8(ConstsZVX::DiffFileTitle)}, this);
    if (name.isEmpty())
        return;
    TZorvexSettings file;
    ThrowIfFailed(ConfigDocument::ReadFile(name, file));
    ShowDifferences(ConfigDifferences(m_document->Settings(), file),
                    QString::fromUtf8(ConstsZVX::DiffEqual),
                    FormatMessage(ConstsZVX::DiffFileHeading, {name}),
                    QString::fromUtf8(ConstsZVX::DiffColumnFile), this, ShowDifferencesDialog);
}

void TMainFormZORVEX::ArchiwumExecute()
{
    ArchiveDatabase* archive = m_archiver->Recorder().Database();
    if (!archive)
        throw Exception(m_archiver->Problem().toStdString());
    m_archiver->Recorder().Flush();
    TFormArchive dialog(*m_document, *archive, this);
    dialog.exec();
}

void TMainFormZORVEX::RestartDialeraExecute()
{
    TFormResetDial dialog(this);
    dialog.RequestRestart([this](const QTime& time) { m_document->Restart(time); });
}

void TMainFormZORVEX::WydrukKonfiguracjiExecute()
{
    if (const auto printed = PrintDocumentReport(*m_document, font(), this))
        Report = *printed;
}

void TMainFormZORVEX::ZapiszRaportDoPDFExecute()
{
    if (const auto written = SaveDocumentReportPdf(*m_document, font(), this))
        Report = *written;
}

void TMainFormZORVEX::WyjscieZProgramuExecute()
{
    close();
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
