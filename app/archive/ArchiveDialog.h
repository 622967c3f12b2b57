#pragma once

#include "archive/ArchiveEntry.h"

#include <QDialog>
#include <QList>

class ArchiveDatabase;
class ConfigDocument;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// "Archiwum": the configurations the program has kept, newest first (object name,
// address, event, outcome, date, user), a search field (any text of the records, any
// phone number, the fingerprint), filters by event and date, and for the chosen entry
// "Pokaż" (its report), "Porównaj z bieżącą", "Porównaj z..." (another chosen entry, or
// a file), "Przywróć" (into the document, marked modified; nothing goes to the dialer)
// and "Zapisz jako...". Reports show access codes as "****" unless "Pokaż kody dostępu"
// is ticked. UI thread only.
class ArchiveDialog : public QDialog
{
    Q_OBJECT

public:
    // The archive must be open and outlive the dialog.
    ArchiveDialog(ConfigDocument& document, ArchiveDatabase& archive, QWidget* parent = nullptr);

    // Reads the list again with the filters as they stand.
    void Refresh();
    // The entries the list shows, in its order.
    const QList<ArchiveEntry>& Entries() const { return m_entries; }

    QLineEdit* Search;
    QComboBox* EventFilter;
    QCheckBox* SinceOn;
    QDateEdit* Since;
    QCheckBox* ShowCodes;
    QTreeWidget* List;
    QPushButton* ShowButton;
    QPushButton* CompareCurrentButton;
    QPushButton* CompareButton;
    QPushButton* RestoreButton;
    QPushButton* SaveAsButton;

    // The dialogs the buttons open: tests replace them (title, the lines of a report).
    std::function<void(const QString& title, const QStringList& lines)> ShowReport;

private:
    const ArchiveEntry* Chosen() const;
    void ShowChosen();
    void CompareWithCurrent();
    void CompareWith();
    void RestoreChosen();
    void SaveChosenAs();
    void UpdateButtons();

    ConfigDocument& m_document;
    ArchiveDatabase& m_archive;
    QList<ArchiveEntry> m_entries;
};
