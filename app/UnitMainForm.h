#pragma once

#include "app/dialer/MessageBoxReporter.h"
#include "app/dialer/SettingsVerifyPolicy.h"
#include "document/ConfigDocument.h"
#include "document/DocumentArchiver.h"

#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class ArchiveStatusLabel;
class QAction;
class QLabel;
class DifferencesDialog;
class TFormProgress;
class TransferLogWindow;

// The program's main window, a view of the one ConfigDocument (which owns the dialer link
// and the configuration). It offers every function as an action in the menu and, for
// most, on the tool bar; the actions ask, call the document and show its outcomes. It
// shows the progress window during exchanges, keeps the title (file name, unsaved
// marker), and on its first activation shows the about box, reads the chosen port from
// the program settings file and hands it to the link.
//
// Every action runs inside the error guard: an error is shown in the box titled "Zorvex"
// and the program goes on. UI thread only.
class TMainFormZORVEX : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainFormZORVEX(QWidget* parent = nullptr);
    ~TMainFormZORVEX() override;

    ConfigDocument& Document() { return *m_document; }
    TZorvexSettingsControl& Link() { return m_document->Link(); }
    TFormProgress& Progress() { return *m_progress; }
    // "Dziennik transmisji": every exchange of the link is logged there, shown or not.
    TransferLogWindow& TransferLog() { return *m_transferLog; }

    // The chosen port, 0..15 for COM1..COM16 (other values from a hand-edited settings file
    // leave the link's port as it was).
    std::uint8_t ComPortIndex = 1;
    bool FirstActivation = true;

    // Hands ComPortIndex + 1 to the link.
    void ApplyPortChoice();
    // The action by its name ("OdczytKonfiguracjiDialera"), nullptr if there is none.
    QAction* Action(const QString& name) const;

    // The lines the print action and "Zapisz raport do PDF..." printed last: the report
    // of the configuration (ReportText.h).
    QStringList Report;

    // The document's file name, unsaved state and snapshot (ConfigDocument).
    QString FileName() const { return m_document->FileName(); }
    bool Modified() const { return m_document->Modified(); }
    void MarkUnmodified() { m_document->MarkUnmodified(); }
    // The title: the program, the file name (or "bez nazwy") and "*" while modified. Due
    // after every action and whenever the document says so.
    void UpdateTitle();
    // Loads fileName as the load action does, with its confirmation and messages (a file
    // named on the command line).
    void OpenFile(const QString& fileName);
    // A file named on the command line, opened right after the first activation.
    QString StartupFile;

    // Seams for tests: the about box shown at the first activation and by "O programie",
    // and the restart dialog's clock.
    std::function<void()> ShowAboutBox;
    // The start's work that the window does not need in order to appear (Qt's own
    // translations): run once, from the event loop, after the window's first paint.
    std::function<void()> AfterFirstPaint;
    // Runs the dialog that lists differences (a file's or the dialer's); modal by default.
    std::function<void(DifferencesDialog& dialog)> ShowDifferencesDialog;

    // The actions' handlers; the editor actions run through EditorActions.h.
    void OpcjeProgramuExecute();
    void NowaKonfiguracjaDialeraExecute();
    void ZapamietanieKonfiguracjiNaDyskuExecute();
    void OdczytKonfiguracjiZDyskuExecute();
    void ZapisKonfiguracjiDialeraExecute();
    void OdczytKonfiguracjiDialeraExecute();
    void WeryfikacjaKonfiguracjiDialeraExecute();
    void PorownajZPlikiemExecute();
    void KopiujObszaryZPlikuExecute();
    void ArchiwumExecute();
    void RestartDialeraExecute();
    void WydrukKonfiguracjiExecute();
    void ZapiszRaportDoPDFExecute();
    void WyjscieZProgramuExecute();
    void OProgramieExecute();
    void NapiszDoNasExecute();
    void SpisTresciExecute();
    void SzukajSlowaExecute();
    void JakUzywacPomocyExecute();
    void OFirmieExecute();
    void DziennikTransmisjiExecute();

protected:
    bool event(QEvent* event) override;
    // With unsaved changes asks "Zapisać zmiany w konfiguracji?": "&Tak" saves first (and
    // stays open if the save does not happen), "&Nie" closes, "Anuluj" stays open.
    void closeEvent(QCloseEvent* event) override;

private:
    void FormActivate();
    // The ends of exchanges the window shows beyond the link's own boxes: a verification's
    // differences.
    void ExchangeFinished(const ExchangeOutcome& outcome);

    MessageBoxReporter m_reporter;
    SettingsVerifyPolicy m_verifyPolicy;
    std::unique_ptr<ConfigDocument> m_document;
    // Keeps every load, save and exchange of the document in the archive.
    std::unique_ptr<DocumentArchiver> m_archiver;
    TFormProgress* m_progress = nullptr;
    TransferLogWindow* m_transferLog = nullptr;
    QLabel* m_picture = nullptr;
    ArchiveStatusLabel* m_archiveStatus = nullptr;
    bool m_painted = false;
};
