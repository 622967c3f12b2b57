#include "editors/dialogs/NoAutoSelectEdit.h"

#include <QFocusEvent>

void NoAutoSelectEdit::focusInEvent(QFocusEvent* event)
{
    // QLineEdit selects all only for keyboard focus reasons; any other reason keeps the
    // caret and the selection as they were.
    QFocusEvent plain(event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&plain);
}
