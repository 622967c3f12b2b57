#include "app/archive/ArchiveDialog.h"

#include "app/files/DifferencesDialog.h"
#include "app/files/FileDialogs.h"
#include "archive/ArchiveDatabase.h"
#include "device/ConfigFileMessage.h"
#include "document/ConfigDocument.h"
#include "model/Exception.h"
#include "report/ConfigDiff.h"
#include "report/ConfigReport.h"
#include "report/ReportText.h"
#include "resources/ConstsZVX.h"
#include "widgets/ErrorGuard.h"
#include "widgets/HelpKey.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

void ShowTextDialog(QWidget* parent, const QString& title, const QStringList& lines)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* text = new QPlainTextEdit(lines.join(QLatin1Char('\n')), &dialog);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(buttons);
    dialog.resize(640, 560);
    dialog.exec();
}

} // namespace

ArchiveDialog::ArchiveDialog(ConfigDocument& document, ArchiveDatabase& archive, QWidget* parent)
    : QDialog(parent), m_document(document), m_archive(archive)
{
    setObjectName(QStringLiteral("FormArchive"));
    setWindowTitle(QStringLiteral("Archiwum"));
    HelpKey::Bind(this, QStringLiteral("archiwum.html"));

    Search = new QLineEdit(this);
    Search->setPlaceholderText(QStringLiteral("Tekst opisu, numer telefonu lub odcisk"));
    EventFilter = new QComboBox(this);
    // The event filter: all, then each event in the user's words (its data: the event).
    EventFilter->addItem(QStringLiteral("Wszystkie"));
    for (const ConfigEvent event : AllConfigEvents)
        EventFilter->addItem(QString::fromUtf8(ConfigEventText(event)), int(event));
    SinceOn = new QCheckBox(QStringLiteral("Od dnia"), this);
    Since = new QDateEdit(QDate::currentDate().addMonths(-1), this);
    Since->setCalendarPopup(true);
    Since->setEnabled(false);
    ShowCodes = new QCheckBox(QStringLiteral("Pokaż kody dostępu"), this);

    List = new QTreeWidget(this);
    List->setHeaderLabels({QStringLiteral("Obiekt"), QStringLiteral("Adres"),
                           QStringLiteral("Zdarzenie"), QStringLiteral("Wynik"),
                           QStringLiteral("Data"), QStringLiteral("Użytkownik")});
    List->setRootIsDecorated(false);
    List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    ShowButton = new QPushButton(QStringLiteral("&Pokaż"), this);
    CompareCurrentButton = new QPushButton(QStringLiteral("Porównaj z &bieżącą"), this);
    CompareButton = new QPushButton(QStringLiteral("Porównaj &z..."), this);
    RestoreButton = new QPushButton(QStringLiteral("P&rzywróć"), this);
    SaveAsButton = new QPushButton(QStringLiteral("Zapisz &jako..."), this);
    auto* close = new QPushButton(QStringLiteral("Zam&knij"), this);

    auto* filters = new QHBoxLayout;
    auto* searchLabel = new QLabel(QStringLiteral("&Szukaj:"), this);
    searchLabel->setBuddy(Search);
    filters->addWidget(searchLabel);
    filters->addWidget(Search, 1);
    filters->addWidget(EventFilter);
    filters->addWidget(SinceOn);
    filters->addWidget(Since);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b :
         {ShowButton, CompareCurrentButton, CompareButton, RestoreButton, SaveAsButton})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(ShowCodes);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(List, 1);
    layout->addLayout(buttons);
    resize(860, 520);

    ShowReport = [this](const QString& title, const QStringList& lines) {
        ShowTextDialog(this, title, lines);
    };
    connect(Search, &QLineEdit::textChanged, this, &ArchiveDialog::Refresh);
    connect(EventFilter, &QComboBox::currentIndexChanged, this, &ArchiveDialog::Refresh);
    connect(SinceOn, &QCheckBox::toggled, this, [this](bool on) {
        Since->setEnabled(on);
        Refresh();
    });
    connect(Since, &QDateEdit::dateChanged, this, &ArchiveDialog::Refresh);
    connect(List, &QTreeWidget::itemSelectionChanged, this, &ArchiveDialog::UpdateButtons);
    connect(List, &QTreeWidget::itemDoubleClicked, this, [this] { ShowChosen(); });
    auto guarded = [this](void (ArchiveDialog::*handler)()) {
        return [this, handler] { ErrorGuard::RunGuarded([&] { (this->*handler)(); }); };
    };
    connect(ShowButton, &QPushButton::clicked, this, guarded(&ArchiveDialog::ShowChosen));
    connect(CompareCurrentButton, &QPushButton::clicked, this,
            guarded(&ArchiveDialog::CompareWithCurrent));
    connect(CompareButton, &QPushButton::clicked, this, guarded(&ArchiveDialog::CompareWith));
    connect(RestoreButton, &QPushButton::clicked, this, guarded(&ArchiveDialog::RestoreChosen));
    connect(SaveAsButton, &QPushButton::clicked, this, guarded(&ArchiveDialog::SaveChosenAs));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    Refresh();
}

void ArchiveDialog::Refresh()
{
    ArchiveQuery query;
    query.text = Search->text();
    if (const QVariant event = EventFilter->currentData(); event.isValid())
        query.event = ConfigEvent(event.toInt());
    if (SinceOn->isChecked())
        query.since = Since->date().startOfDay();
    query.limit = 1000;
    const std::optional<QList<ArchiveEntry>> found = m_archive.Find(query, false);
    m_entries = found.value_or(QList<ArchiveEntry>{});
    List->clear();
    for (const ArchiveEntry& e : m_entries) {
        auto* item = new QTreeWidgetItem(
            List, {e.site, e.address, e.EventText(), e.succeeded ? QStringLiteral("OK") : e.outcome,
                   e.LocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                   e.user + QLatin1Char('@') + e.host});
        item->setToolTip(0, e.fileName.isEmpty() ? e.port : e.fileName);
    }
    if (!found)
        List->setToolTip(m_archive.Error());
    UpdateButtons();
}

const ArchiveEntry* ArchiveDialog::Chosen() const
{
    const QTreeWidgetItem* item = List->currentItem();
    const int row = item ? List->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
    return row >= 0 && row < m_entries.size() && item->isSelected() ? &m_entries[row] : nullptr;
}

void ArchiveDialog::UpdateButtons()
{
    const bool chosen = Chosen() != nullptr;
    for (QPushButton* b :
         {ShowButton, CompareCurrentButton, CompareButton, RestoreButton, SaveAsButton})
        b->setEnabled(chosen);
}

// The chosen entry with its configuration: the list reads without images.
static ArchiveEntry Full(ArchiveDatabase& archive, const ArchiveEntry& entry)
{
    const std::optional<ArchiveEntry> full = archive.Get(entry.id);
    if (!full)
        throw Exception(archive.Error().toStdString());
    return *full;
}

void ArchiveDialog::ShowChosen()
{
    const ArchiveEntry* chosen = Chosen();
    if (!chosen)
        return;
    const ArchiveEntry entry = Full(m_archive, *chosen);
    ReportOptions options;
    options.fileName = entry.fileName;
    options.printedAt = entry.LocalTime();
    options.masked = !ShowCodes->isChecked();
    ShowReport(QStringLiteral("Archiwum: wpis %1").arg(entry.id),
               ReportTextLines(ConfigReport(entry.Settings(), options)));
}

void ArchiveDialog::CompareWithCurrent()
{
    const ArchiveEntry* chosen = Chosen();
    if (!chosen)
        return;
    const ArchiveEntry entry = Full(m_archive, *chosen);
    ShowDifferences(ConfigDifferences(m_document.Settings(), entry.Settings()),
                    QString::fromUtf8(ConstsZVX::DiffEqual),
                    QStringLiteral("Różnice między konfiguracją w programie a wpisem %1 archiwum")
                        .arg(entry.id),
                    QStringLiteral("W archiwum"), this, {});
}

void ArchiveDialog::CompareWith()
{
    const ArchiveEntry* chosen = Chosen();
    if (!chosen)
        return;
    const ArchiveEntry entry = Full(m_archive, *chosen);
    // Two entries chosen: one against the other; one: against a file.
    const QList<QTreeWidgetItem*> selected = List->selectedItems();
    TZorvexSettings other;
    QString heading;
    if (selected.size() == 2) {
        const QTreeWidgetItem* second =
            selected[0] == List->currentItem() ? selected[1] : selected[0];
        const ArchiveEntry b = Full(
            m_archive, m_entries[List->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(second))]);
        other = b.Settings();
        heading = QStringLiteral("Różnice między wpisami %1 i %2 archiwum").arg(entry.id).arg(b.id);
    } else {
        const QString name =
            AskConfigFileName({false, QString::fromUtf8(ConstsZVX::DiffFileTitle)}, this);
        if (name.isEmpty())
            return;
        const FileResult read = ConfigDocument::ReadFile(name, other);
        if (read.outcome != FileOutcome::Done)
            throw Exception(read.message.toStdString());
        heading = QStringLiteral("Różnice między wpisem %1 archiwum a plikiem %2")
                      .arg(entry.id)
                      .arg(name);
    }
    ShowDifferences(ConfigDifferences(entry.Settings(), other),
                    QString::fromUtf8(ConstsZVX::DiffEqual), heading,
                    QString::fromUtf8(ConstsZVX::DiffColumnFile), this, {});
}

void ArchiveDialog::RestoreChosen()
{
    const ArchiveEntry* chosen = Chosen();
    if (!chosen)
        return;
    // Into memory only, as an edit: the unsaved marker shows, nothing reaches the dialer.
    m_document.Settings() = Full(m_archive, *chosen).Settings();
    emit m_document.changed();
}

void ArchiveDialog::SaveChosenAs()
{
    const ArchiveEntry* chosen = Chosen();
    if (!chosen)
        return;
    const ArchiveEntry entry = Full(m_archive, *chosen);
    const QString name =
        AskConfigFileName({true, QStringLiteral("Zapisz wpis archiwum jako")}, this);
    if (name.isEmpty())
        return;
    // Through the document, so that the archive keeps the save as it keeps "zvx archive restore".
    const FileResult saved = m_document.SaveCopy(entry.Settings(), name);
    if (saved.outcome != FileOutcome::Done)
        throw Exception(
            ConfigFile::Message(saved.result, ConfigFile::Action::Save, name).toStdString());
}
