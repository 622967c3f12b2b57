#pragma once

#include "editors/dialogs/EditorDialog.h"

#include <array>

struct EditorField;
class QComboBox;
class QLineEdit;
class TZorvexSettings;

// "Wyjścia programowalne PGM": trigger and on-time of the outputs PGM1 and PGM2 (image
// bytes 50..53). UI thread only.
class TFormAlarmOut : public EditorDialog
{
    Q_OBJECT

public:
    explicit TFormAlarmOut(QWidget* parent = nullptr);

    // Shows the outputs as the settings hold them; only OK (result 1) writes them back.
    int EditSettings(TZorvexSettings& settings);

    // Key filter of Edit1 and Edit2: what the field table lets through (digits, only
    // while the text with the digit appended at its end stays within the field's range).
    void Edit1KeyPress(QObject* sender, QChar& key);

protected:
    // Empty times become "0"; a text that is not 0..255 keeps the dialog open.
    bool CanClose() override;

private:
    std::array<QComboBox*, 2> m_triggers{};
    std::array<QLineEdit*, 2> m_edits{};
    std::array<const EditorField*, 2> m_timeFields{}; // what Edit1 and Edit2 edit
};
