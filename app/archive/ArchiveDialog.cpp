#include "app/archive/ArchiveDialog.h"

#include "app/archive/ArchiveEntryActions.h"
#include "app/archive/ArchiveListModel.h"
#include "app/report/ReportViewDialog.h"
#include "archive/ArchiveDatabase.h"
#include "device/MessageFormat.h"
#include "document/ConfigDocument.h"
#include "model/Exception.h"
#include "resources/ConstsZVX.h"
#include "widgets/ErrorGuard.h"
#include "widgets/HelpKey.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// The entries' table: a list of rows, so Home and End go to the first and the last entry
// (a plain table keeps them within the row).
class EntryTable : public QTableView
{
public:
    using QTableView::QTableView;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override
    {
        if (action == MoveHome || action == MoveEnd)
            modifiers |= Qt::ControlModifier;
        return QTableView::moveCursor(action, modifiers);
    }
};

} // namespace

ArchiveDialog::ArchiveDialog(ConfigDocument& document, ArchiveDatabase& archive, QWidget* parent)
    : QDialog(parent), m_document(document), m_archive(archive)
{
    setObjectName(QStringLiteral("FormArchive"));
    setWindowTitle(QStringLiteral("Archiwum"));
    HelpKey::Bind(this, QStringLiteral("archiwum.html"));

    QLayout* filters = BuildFilters();
    // A table, not a tree: a tree reads one more page whenever it lays its rows out.
    List = new EntryTable(this);
    Model = new ArchiveListModel(archive, this);
    List->setModel(Model);
    List->setShowGrid(false);
    List->setWordWrap(false);
    List->setTabKeyNavigation(false); // Tab leaves the list for the buttons
    List->verticalHeader()->hide();
    List->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    List->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    List->horizontalHeader()->setStretchLastSection(true);
    List->horizontalHeader()->setHighlightSections(false);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List->setTextElideMode(Qt::ElideMiddle); // a long path keeps its start and its file name
    List->horizontalHeader()->setSortIndicator(ArchiveListModel::Time, Qt::DescendingOrder);
    Shown = new QLabel(this);
    Shown->setObjectName(QStringLiteral("Shown"));
    QLayout* buttons = BuildButtons();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(List, 1);
    layout->addWidget(Shown);
    layout->addLayout(buttons);
    // The keyboard goes as the eye does: search, filters, list, buttons.
    QWidget* order[] = {Search,        EventFilter,   SinceOn,
                        Since,         UntilOn,       Until,
                        List,          ShowButton,    CompareCurrentButton,
                        CompareButton, RestoreButton, SaveAsButton,
                        ShowCodes,     CloseButton};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    resize(std::min(840, screen ? screen->availableGeometry().width() : 840), 520);

    ShowReport = [this](const QString& title, const QStringList& lines) {
        ReportViewDialog view(title, lines, this);
        view.exec();
    };
    connect(Model, &ArchiveListModel::loaded, this, &ArchiveDialog::UpdateShown);
    connect(List->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ArchiveDialog::UpdateButtons);
    connect(List->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ArchiveDialog::UpdateButtons);
    connect(List, &QTableView::doubleClicked, this,
            [this] { ErrorGuard::RunGuarded([this] { ShowChosen(); }); });
    // Sorted by the date, newest first: the first page is read here.
    List->setSortingEnabled(true);
}

QLayout* ArchiveDialog::BuildFilters()
{
    Search = new QLineEdit(this);
    Search->setPlaceholderText(QStringLiteral("Tekst opisu, numer telefonu lub odcisk"));
    auto* searchLabel = new QLabel(QStringLiteral("&Szukaj:"), this);
    searchLabel->setBuddy(Search);
    EventFilter = new QComboBox(this);
    // The event filter: all, then each event in the user's words (its data: the event).
    EventFilter->addItem(QStringLiteral("Wszystkie"));
    for (const ConfigEvent event : AllConfigEvents)
        EventFilter->addItem(QString::fromUtf8(ConfigEventText(event)), int(event));
    SinceOn = new QCheckBox(QStringLiteral("&Od dnia"), this);
    Since = new QDateEdit(QDate::currentDate().addMonths(-1), this);
    UntilOn = new QCheckBox(QStringLiteral("&Do dnia"), this);
    Until = new QDateEdit(QDate::currentDate(), this);
    for (auto [on, date] : {std::pair{SinceOn, Since}, std::pair{UntilOn, Until}}) {
        date->setCalendarPopup(true);
        date->setEnabled(false);
        connect(on, &QCheckBox::toggled, this, [this, date = date](bool checked) {
            date->setEnabled(checked);
            Refresh();
        });
        connect(date, &QDateEdit::dateChanged, this, &ArchiveDialog::Refresh);
    }
    connect(Search, &QLineEdit::textChanged, this, &ArchiveDialog::Refresh);
    connect(EventFilter, &QComboBox::currentIndexChanged, this, &ArchiveDialog::Refresh);

    auto* row = new QHBoxLayout;
    row->addWidget(searchLabel);
    row->addWidget(Search, 1);
    for (QWidget* w : std::initializer_list<QWidget*>{EventFilter, SinceOn, Since, UntilOn, Until})
        row->addWidget(w);
    return row;
}

QLayout* ArchiveDialog::BuildButtons()
{
    ShowButton = new QPushButton(QStringLiteral("&Pokaż"), this);
    CompareCurrentButton = new QPushButton(QStringLiteral("Porównaj z &bieżącą"), this);
    CompareButton = new QPushButton(QStringLiteral("Porównaj &z..."), this);
    RestoreButton = new QPushButton(QStringLiteral("P&rzywróć"), this);
    SaveAsButton = new QPushButton(QStringLiteral("Zapisz &jako..."), this);
    ShowCodes = new QCheckBox(QStringLiteral("Pokaż kody dostępu"), this);
    CloseButton = new QPushButton(QStringLiteral("Zam&knij"), this);
    auto guarded = [this](void (ArchiveDialog::*handler)()) {
        return [this, handler] { ErrorGuard::RunGuarded([&] { (this->*handler)(); }); };
    };
    connect(ShowButton, &QPushButton::clicked, this, guarded(&ArchiveDialog::ShowChosen));
    connect(CompareCurrentButton, &QPushButton::clicked, this,
            guarded(&ArchiveDialog::CompareWithCurrent));
    connect(CompareButton, &QPushButton::clicked, this, guarded(&ArchiveDialog::CompareWith));
    connect(RestoreButton, &QPushButton::clicked, this, guarded(&ArchiveDialog::RestoreChosen));
    connect(SaveAsButton, &QPushButton::clicked, this, guarded(&ArchiveDialog::SaveChosenAs));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    for (QPushButton* b :
         {ShowButton, CompareCurrentButton, CompareButton, RestoreButton, SaveAsButton})
        row->addWidget(b);
    row->addStretch(1);
    row->addWidget(ShowCodes);
    row->addWidget(CloseButton);
    return row;
}

const QList<ArchiveEntry>& ArchiveDialog::Entries() const
{
    return Model->Entries();
}

void ArchiveDialog::Refresh()
{
    ArchiveQuery filter;
    filter.text = Search->text();
    if (const QVariant event = EventFilter->currentData(); event.isValid())
        filter.event = ConfigEvent(event.toInt());
    if (SinceOn->isChecked())
        filter.since = Since->date().startOfDay();
    if (UntilOn->isChecked()) // the whole of that day
        filter.until = Until->date().addDays(1).startOfDay();
    Model->SetFilter(filter);
}

void ArchiveDialog::UpdateShown()
{
    const QLocale locale;
    const qsizetype listed = Model->Entries().size();
    const std::optional<qint64> total = Model->Total();
    if (!Model->Error().isEmpty())
        Shown->setText(Model->Error());
    else if (!total && listed == 0 && Model->Reading())
        Shown->setText(QString::fromUtf8(ConstsZVX::ArchiveSearching));
    else if (!total && Model->Reading())
        Shown->setText(
            FormatMessage(ConstsZVX::ArchiveShownCounting, {locale.toString(qint64(listed))}));
    else if (!total || *total == 0)
        Shown->setText(QString::fromUtf8(ConstsZVX::ArchiveNoMatch));
    else if (listed >= *total)
        Shown->setText(
            FormatMessage(ConstsZVX::ArchiveShownAll, {locale.toString(qint64(*total))}));
    else
        Shown->setText(
            FormatMessage(ConstsZVX::ArchiveShownSome,
                          {locale.toString(qint64(listed)), locale.toString(qint64(*total))}));
    if (!m_fitted && listed > 0)
        FitColumns();
    UpdateButtons();
}

// Each column as wide as the first page needs, the texts that may run long no wider than
// a fair share of the window (they elide; the whole text is in the tip or the report).
void ArchiveDialog::FitColumns()
{
    m_fitted = true;
    const int widest = fontMetrics().averageCharWidth() * 28;
    for (int column = 0; column < ArchiveListModel::ColumnCount; ++column) {
        List->resizeColumnToContents(column);
        if (List->columnWidth(column) > widest)
            List->setColumnWidth(column, widest);
    }
}

const ArchiveEntry* ArchiveDialog::Chosen() const
{
    const QModelIndex current = List->currentIndex();
    if (!current.isValid() || !List->selectionModel()->isRowSelected(current.row(), {}))
        return nullptr;
    return &Model->Entries()[current.row()];
}

void ArchiveDialog::UpdateButtons()
{
    const bool chosen = Chosen() != nullptr;
    for (QPushButton* b :
         {ShowButton, CompareCurrentButton, CompareButton, RestoreButton, SaveAsButton})
        b->setEnabled(chosen);
}

// The chosen entry with its configuration: the list reads without images.
ArchiveEntry ArchiveDialog::Full(const ArchiveEntry& listed) const
{
    const std::optional<ArchiveEntry> full = m_archive.Get(listed.id);
    if (!full)
        throw Exception(m_archive.Error().toStdString());
    return *full;
}

void ArchiveDialog::ShowChosen()
{
    if (const ArchiveEntry* chosen = Chosen())
        ShowReport(QStringLiteral("Archiwum: wpis %1").arg(chosen->id),
                   EntryReportLines(Full(*chosen), !ShowCodes->isChecked()));
}

void ArchiveDialog::CompareWithCurrent()
{
    if (const ArchiveEntry* chosen = Chosen())
        CompareWithDocument(m_document, Full(*chosen), this, ShowDifferencesDialog);
}

// Two entries chosen: the current one against the other; one: against a file.
void ArchiveDialog::CompareWith()
{
    const ArchiveEntry* chosen = Chosen();
    if (!chosen)
        return;
    const QModelIndexList selected = List->selectionModel()->selectedRows();
    if (selected.size() != 2) {
        CompareEntryWithFile(Full(*chosen), this, ShowDifferencesDialog);
        return;
    }
    const int other =
        selected[0].row() == List->currentIndex().row() ? selected[1].row() : selected[0].row();
    CompareEntries(Full(*chosen), Full(Model->Entries()[other]), this, ShowDifferencesDialog);
}

void ArchiveDialog::RestoreChosen()
{
    const ArchiveEntry* chosen = Chosen();
    if (!chosen)
        return;
    m_restored = RestoreEntry(m_document, Full(*chosen), this);
    if (!m_restored.isEmpty())
        accept(); // the window steps back; the main window's status bar says what came in
}

void ArchiveDialog::SaveChosenAs()
{
    if (const ArchiveEntry* chosen = Chosen())
        SaveEntryAs(m_document, Full(*chosen), this);
}
