#pragma once

#include "editors/dialogs/EditorDialog.h"

#include <array>

struct EditorField;
class QLineEdit;
class TZorvexSettings;

// "Zwłoki": delay on entering the alarm mode, pause between alarms and delay on entering
// the armed mode (image bytes 42, 45, 43; byte 44 belongs to other dialogs). UI thread only.
class TFormDelay : public EditorDialog
{
    Q_OBJECT

public:
    explicit TFormDelay(QWidget* parent = nullptr);

    // Shows the delays as the settings hold them; only OK (result 1) writes them back.
    int EditSettings(TZorvexSettings& settings);

    // Key filter of Edit1..Edit3: what the delays' field table lets through (digits, only
    // while the text with the digit appended at its end stays within the field's range).
    void Edit1KeyPress(QObject* sender, QChar& key);

protected:
    // Empty fields become "0"; a text that is not 0..255 keeps the dialog open.
    bool CanClose() override;

private:
    std::array<QLineEdit*, 3> m_edits{};
    std::array<const EditorField*, 3> m_fields{}; // what Edit1..Edit3 edit
};
