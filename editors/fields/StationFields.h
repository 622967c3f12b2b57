#pragma once

#include "editors/fields/EditorField.h"

#include "model/TZorvexSettings.h"

#include <array>
#include <string>

// The monitoring stations area (16..38): for SMA1 and SMA2 the telephone number (8
// packed bytes at 16 and 24), the transmission format (bytes 32, 33), the subscriber code
// (2 packed bytes at 34 and 36, always four digits), and the monitoring mode (byte 38).
struct StationFields
{
    static constexpr int Stations = 2;
    static constexpr int FormatCount = 15;
    static constexpr int ModeCount = 5;
    // Item texts of the format lists; the first ten keep their two leading blanks.
    static constexpr std::array<const char*, FormatCount> Formats{
        "  0:SILENT KNIGHT/ADEMCO SLOW",
        "  1:SESCOA, FRANKLIN, DTI, VERTEX",
        "  2:SILENT KNIGTH FAST",
        "  3:RADIONICS 1400",
        "  4:RADIONICS 1400 WITH PARITY",
        "  5:RADIONICS 2300",
        "  6:RADIONICS 2300 WITH PARITY",
        "  7:zarezerwowany dla celow testowych",
        "  8:SILENT KNIGHT/ADEMCO SLOW EXTENDED",
        "  9:SESCOA,FRANKLIN,DTI,VERTEX EXTENDED",
        "10:SILENT KNIGTH FAST EXTENDED",
        "11:RADIONICS 1400 EXTENDED",
        "12:RADIONICS 1400 EXTENDED WITH PARITY",
        "13:RADIONICS 2300 EXTENDED",
        "14:RADIONICS 2300 EXTENDED WITH PARITY",
    };
    static constexpr std::array<const char*, ModeCount> Modes{"BRAK SMA", "TYLKO SMA1", "SPLIT",
                                                              "BACKUP", "DUAL"};

    // What the dialog names things ("&" marks the accelerator): the mode group, then per
    // station the labels of its number, subscriber code and format.
    static constexpr const char* Caption = "Stacje monitorujące";
    static constexpr const char* ModeLabel = "&Tryby monitoringu:";
    static constexpr std::array<std::array<const char*, 3>, Stations> Labels{{
        {"&Nr telefonu SMA:", "&Kod SMA:", "&Format SMA1:"},
        {"N&r telefonu SMA:", "Kod S&MA:", "F&ormat SMA2:"},
    }};

    // What the report heads each station's box with (the boxes have no caption).
    static constexpr std::array<const char*, Stations> Groups{"SMA1", "SMA2"};

    // Digits up to the first F.
    std::array<std::string, Stations> numbers;
    // Digits up to the first F; Store pads with "0" on the right to four and keeps four.
    std::array<std::string, Stations> subscribers;
    // Item index 0..14, or -1 (no selection) for a stored value of 15 or more, which
    // Store writes as 255.
    std::array<int, Stations> formats{};
    // Item index 0..4; a stored value above 4 loads as 4 ("DUAL").
    int mode = 0;

    static StationFields Load(const TZorvexSettings& settings);
    void Store(TZorvexSettings& settings) const;

    // The dialog's fields, in its order (see EditorField.h).
    static const EditorArea& Table();
};
