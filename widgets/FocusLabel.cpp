#include "widgets/FocusLabel.h"

#include <QEvent>

FocusLabel::FocusLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

bool FocusLabel::event(QEvent* event)
{
    // A label receives shortcut events for its own accelerator only.
    if (event->type() == QEvent::Shortcut && buddy()) {
        if (buddy()->focusPolicy() != Qt::NoFocus)
            buddy()->setFocus(Qt::ShortcutFocusReason);
        window()->setAttribute(Qt::WA_KeyboardFocusChange);
        return true;
    }
    return QLabel::event(event);
}
