#pragma once

#include "editors/dialogs/EditorDialog.h"

#include <QChar>

#include <array>

class QCheckBox;
class QLineEdit;
class RadioGroup;
class TZorvexSettings;

// "Kody dostępu": the eleven access codes, the "Zakaz programowania" flags of KU0..KU7
// and the option "Stosowanie KU0 w trybie TRC" (see CodeFields). OK is refused until
// every code has four digits or more and no two codes are equal. UI thread only.
class TFormCode : public EditorDialog
{
    Q_OBJECT

public:
    explicit TFormCode(QWidget* parent = nullptr);

    // Shows the dialog over the settings; only OK (result 1) writes the area back.
    int EditSettings(TZorvexSettings& settings);

    // Key filter of the eleven code fields: what the codes' field table lets through
    // (digits).
    void Edit1KeyPress(QObject* sender, QChar& key);

protected:
    // Says "Błędne dane" or "Kody nie mogą się powtarzać" and focuses the field the
    // check names.
    bool CanClose() override;

private:
    std::array<QLineEdit*, 11> m_edits{};
    std::array<const EditorField*, 11> m_fields{}; // what Edit1..Edit11 edit
    std::array<QCheckBox*, 8> m_checkBoxes{};
    RadioGroup* RadioGroup1;
};
