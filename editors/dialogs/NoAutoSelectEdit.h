#pragma once

#include <QLineEdit>

// A line edit that keeps its caret where it was when it gets the focus: Qt selects the
// whole text on Tab, which in a block of lines meant to read as one multi-line text
// would make the next key replace a line. UI thread only.
class NoAutoSelectEdit : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override;
};
