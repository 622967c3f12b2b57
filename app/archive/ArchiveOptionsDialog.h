#pragma once

#include "settings/ProgramSettings.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// "Archiwum konfiguracji" (from "Opcje programu"): where the archive is kept (a SQLite
// file on this computer, the default one when the name is empty, or a team's
// PostgreSQL database named by a libpq connection string) and how long entries stay.
// A connection string with a password is refused: the password belongs in ~/.pgpass or
// the PostgreSQL service file, never in zorvex.ini. UI thread only.
class ArchiveOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ArchiveOptionsDialog(QWidget* parent = nullptr);

    void SetOptions(const ArchiveOptions& options);
    ArchiveOptions Options() const;
    // Shows the program settings' options; on OK writes them back. True when written.
    bool EditAndKeep();

    QRadioButton* LocalFile;
    QRadioButton* Server;
    QLineEdit* File;
    QLineEdit* Connection;
    QSpinBox* KeepYears;
    QSpinBox* KeepCount;
    QLabel* Problem; // why OK was refused

private:
    void Accept();
};
