#pragma once

#include "editors/dialogs/EditorDialog.h"

#include <QChar>

#include <array>

class QCheckBox;
class QLineEdit;
class RadioGroup;
class TZorvexSettings;

// "Telefony": the eight telephone numbers, their "Zakaz programowania" flags and the
// numbers of Polpager stations 1 and 2 (see PhonesFields). UI thread only.
class TFormPhones : public EditorDialog
{
    Q_OBJECT

public:
    explicit TFormPhones(QWidget* parent = nullptr);

    // Shows the dialog over the settings; only OK (result 1) writes the area back.
    int EditSettings(TZorvexSettings& settings);

    // Key filter of Edit1..Edit8: what the numbers' field table lets through (digits and
    // the dialer's B, C, D, typed in either case and shown in upper case).
    void Edit1KeyPress(QObject* sender, QChar& key);

private:
    std::array<QLineEdit*, 8> m_edits{};
    std::array<const EditorField*, 8> m_fields{}; // what Edit1..Edit8 edit
    std::array<QCheckBox*, 8> m_checkBoxes{};
    RadioGroup* RadioGroup1;
    RadioGroup* RadioGroup2;
};
