#include "app/UnitMainForm.h"

#include "app/UnitAbout.h"
#include "app/UnitProgramOptions.h"
#include "app/UnitProgress.h"
#include "app/UnitResetDial.h"
#include "app/actions/EditorActions.h"
#include "app/actions/MainFormHandlers.h"
#include "app/actions/MainMenus.h"
#include "app/actions/MainToolBar.h"
#include "app/archive/ArchiveDialog.h"
#include "app/archive/ArchiveStatusLabel.h"
#include "app/files/CopyAreasDialog.h"
#include "app/files/DifferencesDialog.h"
#include "app/files/FileActions.h"
#include "app/help/HelpFiles.h"
#include "app/help/ShellOpen.h"
#include "app/ports/PortPanel.h"
#include "app/ports/TransferLogWindow.h"
#include "app/report/ReportActions.h"
#include "device/TZorvexSettingsControl.h"
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
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

TMainFormZORVEX::TMainFormZORVEX(QWidget* parent)
    : QMainWindow(parent), m_reporter(this), m_verifyPolicy(this),
      m_document(std::make_unique<ConfigDocument>(m_reporter))
{
    setObjectName(QStringLiteral("MainFormZORVEX"));

    // An action without a handler of its own is an editor action.
    BuildMainActions(*this, [this](const char* name) {
        return [this, name, handler = MainFormHandlerOf(name)] {
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
    m_transferLog = new TransferLogWindow(this);
    Link().SetTransferLog(m_transferLog);
    Link().OnTransferStart = [this](TZorvexSettingsControl*) { m_progress->TransferStart(); };
    Link().OnTransferEnd = [this](TZorvexSettingsControl*) { m_progress->TransferEnd(); };
    Link().OnTransferProgress = [this](int percent) { m_progress->TransferProgress(percent); };
    Link().OnTransferConfirm = [this](ConfigEvent event) { m_progress->TransferConfirm(event); };
    m_document->SetVerifyPolicy(&m_verifyPolicy);
    m_archiver = std::make_unique<DocumentArchiver>(ProgramSettings().Archive());
    m_document->SetObserver(m_archiver.get());
    // The archive never stands in the way: when it cannot be reached, one line says so,
    // and stays until it is reached again.
    m_archiveStatus = new ArchiveStatusLabel(this);
    statusBar()->addPermanentWidget(m_archiveStatus, 1);
    connect(m_archiver.get(), &DocumentArchiver::statusChanged, m_archiveStatus,
            &ArchiveStatusLabel::SetStatus);
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
    Link().SetTransferLog(nullptr);
    Link().OnTransferStart = nullptr;
    Link().OnTransferEnd = nullptr;
    Link().OnTransferProgress = nullptr;
    Link().OnTransferConfirm = nullptr;
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
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        QTimer::singleShot(0, this, [this] {
            if (AfterFirstPaint)
                ErrorGuard::RunGuarded(AfterFirstPaint);
        });
    }
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
    if (!SaveChangesBeforeClose(*m_document, this)) {
        event->ignore();
        return;
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
        // The link may hold its port open; the probe must be able to open it too.
        options.Ports->ReleasePort = [this] { Link().SelectPort(0); };
        options.Ports->ProbeLog = m_transferLog;
        options.EditOptions(ComPortIndex);
    }
    ApplyPortChoice();
    m_archiver->SetOptions(ProgramSettings().Archive());
}

void TMainFormZORVEX::DziennikTransmisjiExecute()
{
    m_transferLog->Open();
}

void TMainFormZORVEX::NowaKonfiguracjaDialeraExecute()
{
    MessageDlg(mkInformation, QString::fromUtf8(ConstsZVX::NewConfiguration), mbOk, this);
    m_document->LoadDefaults();
}

void TMainFormZORVEX::ZapamietanieKonfiguracjiNaDyskuExecute()
{
    SaveDocumentAs(*m_document, this);
}

void TMainFormZORVEX::OdczytKonfiguracjiZDyskuExecute()
{
    AskAndLoadDocument(*m_document, this);
}

void TMainFormZORVEX::OpenFile(const QString& fileName)
{
    ErrorGuard::RunGuarded([&] { LoadDocumentFile(*m_document, fileName); });
    UpdateTitle();
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
    if (outcome.event != ConfigEvent::Verify || !outcome.succeeded)
        return;
    ShowDialerDifferences(m_document->Settings(), m_document->DialerImage(), this,
                          ShowDifferencesDialog);
}

void TMainFormZORVEX::PorownajZPlikiemExecute()
{
    CompareDocumentWithFile(*m_document, this, ShowDifferencesDialog);
}

void TMainFormZORVEX::KopiujObszaryZPlikuExecute()
{
    CopyAreasFromFile(m_document->Settings(), this, ShowDifferencesDialog);
}

void TMainFormZORVEX::ArchiwumExecute()
{
    // A connection of the window's own: the archiver's belongs to its thread.
    QString problem;
    const std::unique_ptr<ArchiveDatabase> archive =
        ArchiveRecorder::Make(ProgramSettings().Archive(), &problem);
    if (archive) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor); // a server out of reach: up to 5 s
        if (!archive->Open())
            problem = archive->Error();
        QGuiApplication::restoreOverrideCursor();
    }
    if (!problem.isEmpty()) {
        MessageDlg(mkError, QString::fromUtf8(ConstsZVX::ArchiveUnreachable), problem, mbOk, this);
        return;
    }
    // The list shows the last event and whatever waited in the queue; the status bar's
    // line goes once the queue has reached the archive.
    m_archiver->Flush();
    m_archiver->Settle();
    ArchiveDialog dialog(*m_document, *archive, this);
    dialog.ShowDifferencesDialog = ShowDifferencesDialog;
    dialog.exec();
    if (!dialog.Restored().isEmpty())
        statusBar()->showMessage(dialog.Restored());
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
