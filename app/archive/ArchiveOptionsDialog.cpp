#include "app/archive/ArchiveOptionsDialog.h"

#include "archive/ArchiveRecorder.h"
#include "widgets/HelpKey.h"

#include <QDialogButtonBox>
#include <QFormLayout>
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
    File = new QLineEdit(this);
    File->setPlaceholderText(ArchiveRecorder::DefaultPath());
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
    form->addRow(QStringLiteral("Pli&k:"), File);
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
        (void)ArchiveRecorder::Make(options, &problem);
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
