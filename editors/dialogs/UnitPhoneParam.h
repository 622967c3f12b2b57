#pragma once

#include "editors/dialogs/EditorDialog.h"
#include "editors/fields/PhoneParamFields.h"

#include <array>

class QLineEdit;
class RadioGroup;
class TZorvexSettings;

// "Parametry współpracy z linią telefoniczną": the dialer's four line options (image
// byte 46, bits 0..3) and three numbers (bytes 47..49). UI thread only.
class TFormPhoneParam : public EditorDialog
{
    Q_OBJECT

public:
    explicit TFormPhoneParam(QWidget* parent = nullptr);

    // Shows the dialog over the settings' values; only OK (result 1) writes them back.
    int EditSettings(TZorvexSettings& settings);

    // Key filter of Edit1..Edit3: what the field table lets through (digits, only while
    // the text with the digit appended at its end stays within the sender's field range).
    void Edit1KeyPress(QObject* sender, QChar& key);

protected:
    // Empty edits become "1", "0", "0"; a text that is not 0..255 keeps the dialog open.
    bool CanClose() override;

private:
    PhoneParamFields m_fields;
    std::array<RadioGroup*, 4> m_groups{};
    std::array<QLineEdit*, 3> m_edits{};
    std::array<const EditorField*, 3> m_numberFields{}; // what Edit1..Edit3 edit
};
