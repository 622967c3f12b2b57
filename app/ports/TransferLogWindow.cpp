#include "app/ports/TransferLogWindow.h"

#include "editors/fields/EditorAreas.h"
#include "widgets/HelpKey.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <memory>

TransferLogWindow::TransferLogWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_hide(CodeBytes())
{
    setObjectName(QStringLiteral("FormTransferLog"));
    setWindowTitle(QStringLiteral("Dziennik transmisji"));
    HelpKey::Bind(this, QStringLiteral("dziennik.html"));

    Text = new QPlainTextEdit(this);
    Text->setObjectName(QStringLiteral("Memo1"));
    Text->setReadOnly(true);
    Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text->setMaximumBlockCount(MaxEntries);
    Text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ShowCodes = new QCheckBox(QStringLiteral("&Pokaż kody dostępu"), this);
    ShowCodes->setObjectName(QStringLiteral("CheckBox1"));
    SaveButton = new QPushButton(QStringLiteral("&Zapisz..."), this);
    SaveButton->setObjectName(QStringLiteral("BitBtn1"));
    ClearButton = new QPushButton(QStringLiteral("&Wyczyść"), this);
    ClearButton->setObjectName(QStringLiteral("BitBtn2"));
    auto* close = new QPushButton(QStringLiteral("Za&mknij"), this);
    close->setObjectName(QStringLiteral("BitBtn3"));

    connect(ShowCodes, &QCheckBox::toggled, this, [this] { Redraw(); });
    connect(SaveButton, &QPushButton::clicked, this, &TransferLogWindow::SaveClicked);
    connect(ClearButton, &QPushButton::clicked, this, &TransferLogWindow::Clear);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ShowCodes);
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    buttons->addWidget(ClearButton);
    buttons->addWidget(close);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Text);
    column->addLayout(buttons);
    resize(720, 420);
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

void TransferLogWindow::Entry(const TransferLogEntry& entry) noexcept
{
    try {
        m_entries.push_back(entry);
        if (m_entries.size() > std::size_t(MaxEntries))
            m_entries.pop_front();
        Text->appendPlainText(TransferLogText::Line(
            entry, ShowCodes->isChecked() ? TransferLogText::HideByte() : m_hide));
    } catch (...) {
        // The exchange matters more than its log.
    }
}

QStringList TransferLogWindow::ShownLines() const
{
    return Text->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList TransferLogWindow::FullLines() const
{
    QStringList lines;
    for (const TransferLogEntry& entry : m_entries)
        lines << TransferLogText::Line(entry);
    return lines;
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
    Text->clear();
}

void TransferLogWindow::Redraw()
{
    const TransferLogText::HideByte hide =
        ShowCodes->isChecked() ? TransferLogText::HideByte() : m_hide;
    QStringList lines;
    for (const TransferLogEntry& entry : m_entries)
        lines << TransferLogText::Line(entry, hide);
    Text->setPlainText(lines.join(QLatin1Char('\n')));
}

void TransferLogWindow::SaveClicked()
{
    const QString name =
        AskSaveName
            ? AskSaveName()
            : QFileDialog::getSaveFileName(this, QStringLiteral("Zapisz dziennik transmisji"),
                                           QString(), QStringLiteral("Dziennik (*.txt *.log)"));
    if (name.isEmpty())
        return;
    QString error;
    if (!SaveTo(name, error))
        MessageDlg(mkError, QStringLiteral("Nie można zapisać dziennika %1: %2").arg(name, error),
                   mbOk, this);
}
