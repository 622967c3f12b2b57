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

    // Key filter of Edit1..Edit8: "0".."9" and "B", "C", "D" in either case (the edit
    // shows them in upper case); anything else is discarded.
    void Edit1KeyPress(QObject* sender, QChar& key);

private:
    std::array<QLineEdit*, 8> m_edits{};
    std::array<QCheckBox*, 8> m_checkBoxes{};
    RadioGroup* RadioGroup1;
    RadioGroup* RadioGroup2;
};
