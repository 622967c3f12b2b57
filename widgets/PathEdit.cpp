#include "widgets/PathEdit.h"

#include <QFontMetrics>
#include <QResizeEvent>

#include <algorithm>

PathEdit::PathEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &PathEdit::UpdateHints);
}

void PathEdit::SetDefaultPath(const QString& path)
{
    m_defaultPath = path;
    UpdateHints();
}

void PathEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    UpdateHints();
}

void PathEdit::UpdateHints()
{
    // The room the placeholder has: the field less its frame and margins, and a blank each side.
    const QMargins margins = textMargins();
    const int room = contentsRect().width() - margins.left() - margins.right() -
                     2 * fontMetrics().averageCharWidth();
    setPlaceholderText(fontMetrics().elidedText(m_defaultPath, Qt::ElideMiddle, std::max(room, 0)));
    setToolTip(text().isEmpty() ? m_defaultPath : text());
}
