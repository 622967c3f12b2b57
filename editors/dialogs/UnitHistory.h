#pragma once

#include "editors/dialogs/EditorDialog.h"

#include <array>

class QLabel;
class QPushButton;
class TZorvexSettings;

// "Historia zdarzeń": shows the four event times the dialer recorded (image bytes 6..13)
// and lets the user clear them all. UI thread only.
class TFormHistory : public EditorDialog
{
    Q_OBJECT

public:
    explicit TFormHistory(QWidget* parent = nullptr);

    // Shows the times. Writes only when the user pressed "&Wyzeruj" and then OK.
    int EditSettings(TZorvexSettings& settings);

    // The reset button: every row shows "NIE BYŁO"; the image waits for OK.
    void BitBtn3Click();

    // Set by the reset button, cleared at the start of every EditSettings.
    bool ResetRequested = false;

private:
    QPushButton* BitBtn3;
    std::array<QLabel*, 4> m_values{};
};
