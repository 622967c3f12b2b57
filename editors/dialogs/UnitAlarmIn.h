#pragma once

#include "editors/dialogs/EditorDialog.h"

#include <array>

class QComboBox;
class RadioGroup;
class TZorvexSettings;

// "Linie wejściowe": function, speed and contact type of the input lines A1, A2, A3
// (image bytes 39..41). UI thread only.
class TFormAlarmIn : public EditorDialog
{
    Q_OBJECT

public:
    explicit TFormAlarmIn(QWidget* parent = nullptr);

    // Shows the lines as the settings hold them; only OK (result 1) writes, rebuilding
    // each byte from what the dialog shows.
    int EditSettings(TZorvexSettings& settings);

private:
    std::array<QComboBox*, 3> m_functions{};
    std::array<RadioGroup*, 3> m_speeds{};
    std::array<RadioGroup*, 3> m_contacts{};
};
