#include "app/archive/ArchiveOptionsDialog.h"

#include "archive/ArchiveRecorder.h"
#include "resources/ConstsZVX.h"
#include "widgets/HelpKey.h"
#include "widgets/PathEdit.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

ArchiveOptionsDialog::ArchiveOptionsDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormArchiveOptions"));
    setWindowTitle(QStringLiteral("Archiwum konfiguracji"));
    HelpKey::Bind(this, QStringLiteral("archiwum.html#ustawienia"));
    LocalFile = new QRadioButton(QStringLiteral("Plik na tym komputerze (SQLite)"), this);
    Server = new QRadioButton(QStringLiteral("Baza firmy (PostgreSQL)"), this);
    File = new PathEdit(this);
    File->SetDefaultPath(ArchiveRecorder::DefaultPath());
    // Room for a usual path; a longer one scrolls, and its tip shows it whole.
    File->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    ChooseFile = new QPushButton(QStringLiteral("Wy&bierz..."), this);
    AskFile = [this](const QString& current) {
        return QFileDialog::getSaveFileName(
            this, QStringLiteral("Plik archiwum"),
            current.isEmpty() ? File->DefaultPath() : current,
            QStringLiteral("Archiwum SQLite (*.sqlite *.db);;Wszystkie pliki (*)"), nullptr,
            QFileDialog::DontConfirmOverwrite); // an existing archive is opened, not replaced
    };
    connect(ChooseFile, &QPushButton::clicked, this, [this] {
        if (const QString chosen = AskFile(File->text().trimmed()); !chosen.isEmpty())
            File->setText(QDir::toNativeSeparators(chosen));
    });
    Connection = new QLineEdit(this);
    Connection->setPlaceholderText(QStringLiteral("service=zorvex"));
    Connection->setToolTip(QStringLiteral("Hasło w pliku ~/.pgpass lub w pliku usług "
                                          "PostgreSQL, nigdy tutaj"));
    KeepYears = new QSpinBox(this);
    KeepYears->setRange(0, 100);
    KeepYears->setSpecialValueText(QStringLiteral("bez limitu"));
    KeepCount = new QSpinBox(this);
    KeepCount->setRange(0, 100000000);
    KeepCount->setSpecialValueText(QStringLiteral("bez limitu"));
    Problem = new QLabel(this);
    Problem->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(LocalFile);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(File, 1);
    fileRow->addWidget(ChooseFile);
    auto* fileLabel = new QLabel(QStringLiteral("Pli&k:"), this);
    fileLabel->setBuddy(File); // a row of two widgets gets no buddy of its own
    form->addRow(fileLabel, fileRow);
    form->addRow(Server);
    form->addRow(QStringLiteral("&Połączenie:"), Connection);
    form->addRow(QStringLiteral("Przechowuj &lat:"), KeepYears);
    form->addRow(QStringLiteral("Najwyżej &wpisów:"), KeepCount);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Anuluj"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ArchiveOptionsDialog::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(LocalFile, &QRadioButton::toggled, this, [this](bool local) {
        File->setEnabled(local);
        ChooseFile->setEnabled(local);
        Connection->setEnabled(!local);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Problem);
    layout->addWidget(buttons);
    SetOptions({});
}

void ArchiveOptionsDialog::SetOptions(const ArchiveOptions& options)
{
    (options.postgres ? Server : LocalFile)->setChecked(true);
    File->setEnabled(!options.postgres);
    ChooseFile->setEnabled(!options.postgres);
    Connection->setEnabled(options.postgres);
    File->setText(options.file);
    Connection->setText(options.connection);
    KeepYears->setValue(options.keepYears);
    KeepCount->setValue(options.keepCount);
}

ArchiveOptions ArchiveOptionsDialog::Options() const
{
    ArchiveOptions options;
    options.postgres = Server->isChecked();
    options.file = File->text().trimmed();
    options.connection = Connection->text().trimmed();
    options.keepYears = KeepYears->value();
    options.keepCount = KeepCount->value();
    return options;
}

void ArchiveOptionsDialog::Accept()
{
    QString problem;
    const ArchiveOptions options = Options();
    if (options.postgres && options.connection.isEmpty())
        problem = QStringLiteral("Podaj połączenie z bazą (np. service=zorvex)");
    else
        ArchiveRecorder::Make(options, &problem); // the archive's own reading of it
    Problem->setText(problem);
    if (problem.isEmpty())
        accept();
}

bool ArchiveOptionsDialog::EditAndKeep()
{
    ProgramSettings settings;
    SetOptions(settings.Archive());
    if (exec() != QDialog::Accepted)
        return false;
    settings.SetArchive(Options());
    return true;
}
