#pragma once

#include "editors/dialogs/EditorDialog.h"

#include <QChar>

#include <array>

class QComboBox;
class QLineEdit;
class RadioGroup;
class TZorvexSettings;

// "Stacje monitorujące": the monitoring mode and, for SMA1 and SMA2, the telephone
// number, the subscriber code and the transmission format (see StationFields).
// UI thread only.
class TFormStation : public EditorDialog
{
    Q_OBJECT

public:
    explicit TFormStation(QWidget* parent = nullptr);

    // Shows the dialog over the settings; only OK (result 1) writes the area back.
    int EditSettings(TZorvexSettings& settings);

    // Key filter of Edit1..Edit4: what the stations' field table lets through (digits and
    // the dialer's B, C, D, typed in either case and shown in upper case).
    void Edit1KeyPress(QObject* sender, QChar& key);

private:
    RadioGroup* RadioGroup1;
    // Edit1 (SMA1 number), Edit2 (SMA1 code), Edit3 (SMA2 number), Edit4 (SMA2 code).
    std::array<QLineEdit*, 4> m_edits{};
    std::array<const EditorField*, 4> m_fields{}; // what Edit1..Edit4 edit
    std::array<QComboBox*, 2> m_comboBoxes{};
};
