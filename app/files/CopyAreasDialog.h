#pragma once

#include <QDialog>

#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class DifferencesDialog;
class TZorvexSettings;
struct EditorArea;

// "Kopiowanie obszarów z pliku": one check box per area, captioned as its dialog with a
// letter of its own (Alt+letter ticks it), and "&OK"/"&Anuluj". UI thread only.
class CopyAreasDialog : public QDialog
{
    Q_OBJECT

public:
    CopyAreasDialog(const QString& fileName, QWidget* parent = nullptr);

    // The ticked areas, in the order of the menus.
    std::vector<const EditorArea*> Chosen() const;

    QLabel* Label1;
    std::vector<QCheckBox*> CheckBoxes; // one per area of EditorAreas(), same order
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

    // How the dialog is run: exec() unless a test answers it.
    using Runner = std::function<int(CopyAreasDialog&)>;
    static Runner InstallRunner(Runner runner);
    int Run();
};

// "Kopiuj obszary z pliku...": asks for a file, the areas to copy, shows the differences
// the copy would make (the compare list) and asks before copying. The copy changes only
// the settings in memory (the caller's title shows them modified); nothing is written to
// the dialer or to a file. Throws EIOException for a file that cannot be read. Returns
// whether the settings changed.
bool CopyAreasFromFile(TZorvexSettings& settings, QWidget* parent,
                       const std::function<void(DifferencesDialog& dialog)>& runDifferences);
