#include "app/archive/ArchiveStatusLabel.h"

#include "device/MessageFormat.h"
#include "resources/ConstsZVX.h"
#include "widgets/MessageBox.h"

ArchiveStatusLabel::ArchiveStatusLabel(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("ArchiveStatus"));
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(this, &QLabel::linkActivated, this, &ArchiveStatusLabel::ShowDetails);
    hide();
}

QString ArchiveStatusSentence(const ArchiveStatus& status)
{
    if (status.lost)
        return QString::fromUtf8(ConstsZVX::ArchiveEntryLost);
    if (status.waiting > 0)
        return FormatMessage(ConstsZVX::ArchiveEntriesWaiting, {QString::number(status.waiting)});
    return QString::fromUtf8(ConstsZVX::ArchiveUnreachable);
}

void ArchiveStatusLabel::SetStatus(const ArchiveStatus& status)
{
    if (status.problem.isEmpty()) {
        m_sentence.clear();
        m_details.clear();
        clear();
        setToolTip(QString());
        hide();
        return;
    }
    m_sentence = ArchiveStatusSentence(status);
    m_details = status.problem;
    setText(QStringLiteral("%1 <a href=\"details\">%2</a>")
                .arg(m_sentence.toHtmlEscaped(), QString::fromUtf8(ConstsZVX::ArchiveDetails)));
    setToolTip(m_details);
    show();
}

void ArchiveStatusLabel::ShowDetails()
{
    if (!m_sentence.isEmpty())
        MessageDlg(mkError, m_sentence, m_details, mbOk, window());
}
