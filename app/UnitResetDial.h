#pragma once

#include <QDateTime>
#include <QDialog>

#include <functional>

class QPushButton;
class TimePicker;
class TZorvexSettingsControl;

// "Restart Dialera": asks for the time of day to send with the restart command.
// UI thread only.
class TFormResetDial : public QDialog
{
    Q_OBJECT

public:
    explicit TFormResetDial(QWidget* parent = nullptr);

    // Sets the picker to now, runs the dialog, and on "&Restart" sends the restart with
    // the picker's hour and minute. Returns the modal result (QDialog::Accepted/Rejected).
    int RequestRestart(TZorvexSettingsControl& link);
    // The same, handing the time to restart instead (ConfigDocument::Restart).
    int RequestRestart(const std::function<void(const QTime& time)>& restart);

    // The clock the picker starts from; tests set a fixed time.
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };

    TimePicker* DateTimePicker1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};
