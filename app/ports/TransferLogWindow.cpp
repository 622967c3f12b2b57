#include "app/ports/TransferLogWindow.h"

#include "app/files/FileDialogs.h"
#include "device/MessageFormat.h"
#include "editors/fields/EditorAreas.h"
#include "resources/ConstsZVX.h"
#include "widgets/HelpKey.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <memory>

namespace {

const QSize kWantedSize(720, 420);

QString Stamp(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

} // namespace

TransferLogWindow::TransferLogWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_hide(CodeBytes()), m_live(m_hide)
{
    setObjectName(QStringLiteral("FormTransferLog"));
    setWindowTitle(QStringLiteral("Dziennik transmisji"));
    HelpKey::Bind(this, QStringLiteral("dziennik.html"));

    Text = new QPlainTextEdit(this);
    Text->setObjectName(QStringLiteral("Memo1"));
    Text->setReadOnly(true);
    Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text->setMaximumBlockCount(MaxEntries);
    ShowCodes = new QCheckBox(QStringLiteral("&Pokaż kody dostępu"), this);
    ShowCodes->setObjectName(QStringLiteral("CheckBox1"));
    SaveButton = new QPushButton(QStringLiteral("&Zapisz..."), this);
    SaveButton->setObjectName(QStringLiteral("BitBtn1"));
    ClearButton = new QPushButton(QStringLiteral("&Wyczyść"), this);
    ClearButton->setObjectName(QStringLiteral("BitBtn2"));
    auto* close = new QPushButton(QStringLiteral("Za&mknij"), this);
    close->setObjectName(QStringLiteral("BitBtn3"));
    // Escape closes it, as it closes every other window of the program.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);

    connect(ShowCodes, &QCheckBox::toggled, this, [this] { Redraw(); });
    connect(SaveButton, &QPushButton::clicked, this, &TransferLogWindow::SaveClicked);
    connect(ClearButton, &QPushButton::clicked, this, &TransferLogWindow::Clear);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connect(escape, &QShortcut::activated, this, &QWidget::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ShowCodes);
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    buttons->addWidget(ClearButton);
    buttons->addWidget(close);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Text);
    column->addLayout(buttons);
    resize(kWantedSize);
}

TransferLogText::HideByte TransferLogWindow::CodeBytes()
{
    auto secret = std::make_shared<std::array<bool, 256>>();
    for (const EditorArea* area : EditorAreas())
        for (const EditorField& field : area->fields)
            if (field.secret)
                for (const OwnedBits& bits : field.owned)
                    if (bits.offset >= 0 && bits.offset < 256)
                        (*secret)[bits.offset] = true;
    return [secret](int offset) { return offset >= 0 && offset < 256 && (*secret)[offset]; };
}

QRect TransferLogWindow::PlaceWithin(const QSize& wanted, const QRect& owner, const QRect& screen)
{
    QRect place(QPoint(), wanted.boundedTo(screen.size()));
    place.moveCenter(owner.isValid() ? owner.center() : screen.center());
    place.moveLeft(std::clamp(place.left(), screen.left(), screen.right() - place.width() + 1));
    place.moveTop(std::clamp(place.top(), screen.top(), screen.bottom() - place.height() + 1));
    return place;
}

void TransferLogWindow::showEvent(QShowEvent* event)
{
    if (!Text->testAttribute(Qt::WA_SetFont))
        Text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QWidget::showEvent(event);
}

void TransferLogWindow::Open()
{
    if (!m_placed) {
        // The first time over the main window, as a dialog opens; later where it was left.
        QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        QScreen* screen = owner ? owner->screen() : this->screen();
        // The frame the window manager adds is not known before the first show: room is
        // left for a title bar and the borders.
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const int border = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const QSize frame(border, title + border);
        const QRect place =
            PlaceWithin(kWantedSize + frame, owner ? owner->frameGeometry() : QRect(),
                        screen->availableGeometry());
        resize(place.size() - frame);
        move(place.topLeft());
        m_placed = true;
    }
    // At the newest row, at its beginning (the text's cursor follows the rows as they
    // come, to the end of the last one, and the view would show that end).
    if (!Text->textCursor().hasSelection()) {
        Text->moveCursor(QTextCursor::End);
        Text->moveCursor(QTextCursor::StartOfBlock);
    }
    show();
    raise();
    activateWindow();
}

void TransferLogWindow::Entry(const TransferLogEntry& entry) noexcept
{
    try {
        m_entries.push_back({QDateTime::currentDateTime(), entry});
        if (m_entries.size() > std::size_t(MaxEntries))
            m_entries.pop_front();
        const TransferLogRows::Row row = m_live.Add(entry);
        if (row.replacesLast && !Text->document()->isEmpty()) {
            QTextCursor last(Text->document()->lastBlock());
            last.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            last.insertText(row.text);
        } else {
            Text->appendPlainText(row.text);
        }
    } catch (...) {
        // The exchange matters more than its log.
    }
}

QStringList TransferLogWindow::Rows(const TransferLogText::HideByte& hide, bool withTime) const
{
    TransferLogRows rows(hide);
    QStringList lines;
    QString stamp; // of the row's first entry
    for (const Logged& logged : m_entries) {
        const TransferLogRows::Row row = rows.Add(logged.entry);
        if (!row.replacesLast || lines.isEmpty()) {
            stamp = withTime ? Stamp(logged.when) + QStringLiteral("  ") : QString();
            lines << QString();
        }
        lines.last() = stamp + row.text;
    }
    return lines;
}

QStringList TransferLogWindow::ShownLines() const
{
    return Text->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList TransferLogWindow::FullLines() const
{
    return Rows({}, true);
}

bool TransferLogWindow::SaveTo(const QString& fileName, QString& error) const
{
    QFile file(fileName);
    // Owner only before the first byte: the log holds the access codes.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        error = file.errorString();
        return false;
    }
    for (const QString& line : FullLines())
        file.write(line.toUtf8() + '\n');
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

void TransferLogWindow::Clear()
{
    m_entries.clear();
    m_live = TransferLogRows(ShowCodes->isChecked() ? TransferLogText::HideByte() : m_hide);
    Text->clear();
}

void TransferLogWindow::Redraw()
{
    const TransferLogText::HideByte hide =
        ShowCodes->isChecked() ? TransferLogText::HideByte() : m_hide;
    // The same rows either way, so the view stays on the rows the user was reading (or
    // at the end, following the exchange, if it was there).
    QScrollBar* down = Text->verticalScrollBar();
    const bool atEnd = down->value() == down->maximum();
    const int row = down->value();
    const int column = Text->horizontalScrollBar()->value();
    Text->setPlainText(Rows(hide, false).join(QLatin1Char('\n')));
    m_live = TransferLogRows(hide);
    for (const Logged& logged : m_entries)
        m_live.Add(logged.entry);
    down->setValue(atEnd ? down->maximum() : row);
    Text->horizontalScrollBar()->setValue(column);
}

QString TransferLogWindow::AskFileName()
{
    if (AskSaveName)
        return AskSaveName();
    const QString text = QStringLiteral("Dziennik tekstowy (*.txt)");
    const QString log = QStringLiteral("Dziennik (*.log)");
    QFileDialog dialog(this, QStringLiteral("Zapisz dziennik transmisji"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({text, log});
    // A name typed without an extension gets the one of the type chosen.
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, log](const QString& filter) {
        dialog.setDefaultSuffix(filter == log ? QStringLiteral("log") : QStringLiteral("txt"));
    });
    dialog.selectFile(QDateTime::currentDateTime().toString(
        QStringLiteral("'dziennik-'yyyy-MM-dd-HHmmss'.txt'")));
    dialog.setSizeGripEnabled(true);
    FitPlaces(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void TransferLogWindow::SaveClicked()
{
    const QString name = AskFileName();
    if (name.isEmpty())
        return;
    QString error;
    if (!SaveTo(name, error))
        MessageDlg(mkError, FormatMessage(ConstsZVX::LogSaveError, {name, error}), mbOk, this);
}
