#pragma once

#include "document/DocumentArchiver.h"

#include <QLabel>

// The main window's line about the archive: while the archive cannot be reached, one
// sentence that says so and how many entries wait in the local queue, and "Szczegóły",
// which shows the archive's own words in the error box. A status-bar widget of its own,
// so that a menu's tip does not wipe it out; hidden again once the archive is reached.
// UI thread only.
class ArchiveStatusLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ArchiveStatusLabel(QWidget* parent = nullptr);

    void SetStatus(const ArchiveStatus& status);
    // The sentence shown; empty while all is well.
    const QString& Sentence() const { return m_sentence; }
    // The error box with the sentence and, under "Szczegóły", the archive's own words.
    void ShowDetails();

private:
    QString m_sentence;
    QString m_details;
};

// The sentence for status: the archive out of reach, and whether entries wait in the local
// queue (how many) or one could not be kept at all.
QString ArchiveStatusSentence(const ArchiveStatus& status);
