#pragma once

#include "editors/dialogs/EditorDialog.h"

#include <array>

class RadioGroup;
class TZorvexSettings;

// "Opcje systemowe": eight yes/no options, bits 0..4 of image byte 55 and bits 0, 1, 3
// of byte 44; every other bit of the two bytes is written back as read. UI thread only.
class TFormSystemOptions : public EditorDialog
{
    Q_OBJECT

public:
    explicit TFormSystemOptions(QWidget* parent = nullptr);

    // Shows the options as the settings hold them; only OK (result 1) writes them back.
    int EditSettings(TZorvexSettings& settings);

private:
    std::array<RadioGroup*, 8> m_groups{};
};
