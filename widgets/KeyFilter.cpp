#include "widgets/KeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QWidget>

#include <utility>

KeyFilter::KeyFilter(Filter filter, QObject* parent) : QObject(parent), m_filter(std::move(filter))
{}

void KeyFilter::Attach(QWidget* widget)
{
    widget->installEventFilter(this);
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (m_forwarding || !m_filter || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QString typed = key->text();
    if (typed.isEmpty())
        return false;
    // Ctrl+V and the like are commands even where the platform reports a letter as their
    // text; Ctrl+Alt is AltGr, which types characters.
    const Qt::KeyboardModifiers mods = key->modifiers();
    if ((mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier))
        return false;

    QString kept;
    for (QChar c : typed) {
        // Backspace, Enter, Escape, Tab and Ctrl+letter shortcuts are keys, not text.
        if (c.category() != QChar::Other_Control) {
            m_filter(c);
            if (c.isNull())
                continue;
        }
        kept += c;
    }
    if (kept == typed)
        return false;
    if (!kept.isEmpty()) {
        // Type the changed text through the widget's own key handling, so its length
        // limit, validator and undo stack apply as to any typed character.
        QKeyEvent changed(QEvent::KeyPress, key->key(), key->modifiers(), kept, key->isAutoRepeat(),
                          ushort(kept.size()));
        const QScopedValueRollback forwarding(m_forwarding, true);
        QCoreApplication::sendEvent(watched, &changed);
    }
    return true;
}
