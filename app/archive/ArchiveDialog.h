#pragma once

#include "archive/ArchiveEntry.h"

#include <QDialog>
#include <QList>

#include <functional>

class ArchiveDatabase;
class ArchiveListModel;
class ConfigDocument;
class DifferencesDialog;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTableView;

// "Archiwum": the configurations the program has kept (object name, address, event,
// outcome, date, file or port, user), newest first by date or as a column's header sorts
// them, read a page at a time as the list scrolls, with a line that says how many match
// and how many are shown; a search field (any text of the records, any phone number, the
// fingerprint), filters by event and by dates ("Od dnia", "Do dnia"), and for the chosen
// entry "Pokaż" (its report), "Porównaj z bieżącą", "Porównaj z..." (another chosen
// entry, or a file), "Przywróć" (into the document, marked modified, after a question
// when that has unsaved changes; the window then closes) and "Zapisz jako...". Reports
// show access codes as "****" unless "Pokaż kody dostępu" is ticked. UI thread only.
class ArchiveDialog : public QDialog
{
    Q_OBJECT

public:
    // The archive must be open and outlive the dialog.
    ArchiveDialog(ConfigDocument& document, ArchiveDatabase& archive, QWidget* parent = nullptr);

    // Reads the list again with the filters as they stand.
    void Refresh();
    // The entries the list shows, in its order.
    const QList<ArchiveEntry>& Entries() const;
    // After "Przywróć": what was restored, as the status bar says it; empty when nothing.
    const QString& Restored() const { return m_restored; }

    QLineEdit* Search;
    QComboBox* EventFilter;
    QCheckBox* SinceOn;
    QDateEdit* Since;
    QCheckBox* UntilOn;
    QDateEdit* Until;
    QTableView* List;
    ArchiveListModel* Model;
    QLabel* Shown; // how many entries match, how many are listed
    QPushButton* ShowButton;
    QPushButton* CompareCurrentButton;
    QPushButton* CompareButton;
    QPushButton* RestoreButton;
    QPushButton* SaveAsButton;
    QCheckBox* ShowCodes;
    QPushButton* CloseButton;

    // The windows the buttons open: tests replace them (title, the lines of a report; the
    // list of differences, modal by default).
    std::function<void(const QString& title, const QStringList& lines)> ShowReport;
    std::function<void(DifferencesDialog& dialog)> ShowDifferencesDialog;

private:
    QLayout* BuildFilters();
    QLayout* BuildButtons();
    const ArchiveEntry* Chosen() const;
    ArchiveEntry Full(const ArchiveEntry& listed) const;
    void ShowChosen();
    void CompareWithCurrent();
    void CompareWith();
    void RestoreChosen();
    void SaveChosenAs();
    void UpdateButtons();
    void UpdateShown();
    void FitColumns();

    ConfigDocument& m_document;
    ArchiveDatabase& m_archive;
    QString m_restored;
    bool m_fitted = false; // columns sized to the first page; the user's widths stay
};
