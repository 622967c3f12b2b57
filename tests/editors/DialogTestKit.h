#pragma once

#include "tests/editors/FieldsTestKit.h"
#include "tests/editors/ModalDriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QWidget>

// The text of the edit, label or memo called name in dialog, or a note that there is none.
inline QString Text(QWidget& dialog, const char* name)
{
    if (auto* edit = dialog.findChild<QLineEdit*>(name))
        return edit->text();
    if (auto* label = dialog.findChild<QLabel*>(name))
        return label->text();
    if (auto* memo = dialog.findChild<QPlainTextEdit*>(name))
        return memo->toPlainText();
    return QString("<no %1>").arg(name);
}

// The object name of the widget that has the focus.
inline QString FocusName()
{
    return Focused() ? Focused()->objectName() : QString();
}

inline void Backspaces(int count)
{
    for (int i = 0; i < count; ++i)
        Press(Qt::Key_Backspace);
}
