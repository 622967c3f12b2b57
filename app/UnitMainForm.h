#pragma once

#include "app/WindowReporter.h"

#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class TFormProgress;
class TZorvexSettingsControl;

// The program's main window. It owns the dialer link (and through it the one
// configuration), offers every function as an action in the menu and, for most, on the
// tool bar, shows the progress window during exchanges, and on its first activation shows
// the about box, reads the chosen port from the program settings file and hands it to the
// link.
//
// Every action runs inside the error guard: an error is shown in the box titled "Zorvex"
// and the program goes on. UI thread only.
class TMainFormZORVEX : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainFormZORVEX(QWidget* parent = nullptr);
    ~TMainFormZORVEX() override;

    TZorvexSettingsControl& Link() { return *m_link; }
    TFormProgress& Progress() { return *m_progress; }

    // The chosen port, 0..3 for COM1..COM4 (other values from a hand-edited settings file
    // leave the link's port as it was).
    std::uint8_t ComPortIndex = 1;
    bool FirstActivation = true;

    // Hands ComPortIndex + 1 to the link.
    void ApplyPortChoice();
    // The action by its name ("OdczytKonfiguracjiDialera"), nullptr if there is none.
    QAction* Action(const QString& name) const;

    // The lines the print action prints.
    QStringList Report;

    // Seams for tests: the about box shown at the first activation and by "O programie",
    // and the restart dialog's clock.
    std::function<void()> ShowAboutBox;

    // Actions.
    void OpcjeProgramuExecute();
    void NowaKonfiguracjaDialeraExecute();
    void ZapamietanieKonfiguracjiNaDyskuExecute();
    void OdczytKonfiguracjiZDyskuExecute();
    void ZapisKonfiguracjiDialeraExecute();
    void OdczytKonfiguracjiDialeraExecute();
    void RestartDialeraExecute();
    void OpisKonfiguracjiExecute();
    void WydrukKonfiguracjiExecute();
    void WyjscieZProgramuExecute();
    void NumeryTelefonowExecute();
    void ParametryTelefonowaniaExecute();
    void KomunikatPOLPAGERExecute();
    void KodyDostepuExecute();
    void WejsciaAlarmoweExecute();
    void WyjsciaPGMExecute();
    void ZwlokiExecute();
    void OpcjeSystemoweExecute();
    void StacjeMonitorujaceExecute();
    void KodyZdarzenExecute();
    void HistoriaZdarzenExecute();
    void OProgramieExecute();
    void NapiszDoNasExecute();
    void SpisTresciExecute();
    void SzukajSlowaExecute();
    void JakUzywacPomocyExecute();
    void OFirmieExecute();

protected:
    bool event(QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void FormActivate();
    template <class Dialog> void RunEditor();

    WindowReporter m_reporter;
    std::unique_ptr<TZorvexSettingsControl> m_link;
    TFormProgress* m_progress = nullptr;
    QLabel* m_picture = nullptr;
};
