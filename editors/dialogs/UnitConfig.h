#pragma once

#include "editors/dialogs/EditorDialog.h"

#include <QList>

class CodePageValidator;
class QLineEdit;
class TZorvexSettings;

// "Konfiguracja": the fourteen description records kept with a configuration on the PC
// (object name, two address lines, eleven description lines). UI thread only.
class TFormConfig : public EditorDialog
{
    Q_OBJECT

public:
    explicit TFormConfig(QWidget* parent = nullptr);

    // Shows the records; only OK (result 1) stores the fields back into them.
    int EditSettings(TZorvexSettings& settings);

    // Down and Up move the focus to the next or previous control in tab order, wrapping
    // around, so the address and description blocks step like a multi-line text. Any
    // other key is ignored; the arrow still reaches the field it was pressed in.
    void FormKeyDown(QObject* sender, int key, Qt::KeyboardModifiers shift);

protected:
    // Key preview: the form sees key presses before its controls.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QLineEdit*> m_edits;
    // A character a record cannot hold is never typed or pasted into Edit1..Edit14.
    QList<CodePageValidator*> m_validators;
    QList<QWidget*> m_tabOrder; // BitBtn1, BitBtn2, Edit1..Edit14
};
