#pragma once

#include <QDialog>

#include <cstdint>

class PortPanel;
class QComboBox;
class QPushButton;
class QToolButton;

// "Opcje programu": the serial port the dialer hangs on (COM1..COM16, the names the port
// list shows), the printer set-up, and "&Zachowaj", which keeps the port in the program
// settings file.
// UI thread only.
class TFormProgramOptions : public QDialog
{
    Q_OBJECT

public:
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;
    static constexpr int mrAll = 8;

    explicit TFormProgramOptions(QWidget* parent = nullptr);

    // portIndex 0..15 is COM1..COM16; any other value shows no selection, and confirming
    // without a choice stores 255 (no item), so "&Zachowaj" then writes 256. OK and
    // "&Zachowaj" change portIndex; "&Zachowaj" also writes it + 1 under "Program
    // configuration" / "Port" (nothing else in the file changes; an unwritable file
    // raises "Unable to write to <file>" after portIndex has changed).
    // Returns mrOk, mrAll or mrCancel.
    int EditOptions(std::uint8_t& portIndex);

    // Runs the printer set-up; the dialog stays open whatever the answer.
    void SpeedButton1Click();

    // What each COM name opens, the adapters found, and "Wykryj dialer", which selects
    // the port the dialer answered on.
    PortPanel* Ports;
    QComboBox* ComboBox1;
    QToolButton* SpeedButton1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
};
