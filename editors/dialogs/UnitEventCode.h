#pragma once

#include "editors/dialogs/EditorDialog.h"

#include <QChar>

#include <array>

class QLineEdit;
class TimePicker;
class TZorvexSettings;

// "Kody zdarzeń": the sixteen event codes reported to the monitoring stations and the
// time of the test transmission (see EventCodeFields). UI thread only.
class TFormEventCode : public EditorDialog
{
    Q_OBJECT

public:
    explicit TFormEventCode(QWidget* parent = nullptr);

    // Shows the dialog over the settings; only OK (result 1) writes the area back.
    int EditSettings(TZorvexSettings& settings);

    // Key filter of Edit1..Edit16: what the event codes' field table lets through (hex
    // digits, letters turned into upper case).
    void Edit1KeyPress(QObject* sender, QChar& key);

private:
    std::array<QLineEdit*, 16> m_edits{};
    std::array<const EditorField*, 16> m_fields{}; // what Edit1..Edit16 edit
    TimePicker* DateTimePicker1;
};
