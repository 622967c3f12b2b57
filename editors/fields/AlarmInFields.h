#pragma once

#include "editors/fields/EditorField.h"

#include <array>
#include <cstdint>
#include <vector>

class TZorvexSettings;

// What the alarm-inputs dialog shows for the input lines A1, A2, A3 (image bytes 39..41).
// Bit 0 of a line byte is its speed, bit 1 its contact type, bits 2..5 its function.
struct AlarmInFields
{
    static constexpr std::array<int, 3> Offsets{39, 40, 41};

    // Items of the function lists. A2 and A3 have a fourth item of their own.
    enum Function
    {
        fnInactive = 0,
        fnAlarm = 1,
        fnInformational = 2,
        fnSpecial = 3
    };
    static constexpr const char* FunctionInactive = "Wejście nieaktywne";
    static constexpr const char* FunctionAlarm = "Wejście alarmowe";
    static constexpr const char* FunctionInformational = "Wejście informacyjne";
    static constexpr const char* FunctionMains = "Nadzór napięcia sieci AC";         // A2
    static constexpr const char* FunctionArming = "Sterowanie UZBROJONY/ROZBROJONY"; // A3
    // The function list of line 0..2, in item order.
    static std::vector<const char*> FunctionItems(int line);

    // What the dialog names things: one group box per line.
    static constexpr const char* Caption = "Linie wejściowe";
    static constexpr std::array<const char*, 3> LineCaptions{"A1:", "A2:", "A3:"};
    static constexpr std::array<const char*, 3> FunctionLabels{
        "Funkcja wejścia A1:", "Funkcja wejścia A2:", "Funkcja wejścia A3:"};
    static constexpr const char* SpeedLabel = "Szybkość:";
    static constexpr std::array<const char*, 2> SpeedItems{"WOLNA", "SZYBKA"};
    static constexpr const char* ContactLabel = "NO/NC:";
    static constexpr std::array<const char*, 2> ContactItems{"NO", "NC"};

    struct Line
    {
        int function = -1; // item of the function list; -1 = no selection, written as inactive
        bool fast = false; // "SZYBKA" rather than "WOLNA"
        bool normallyClosed = false; // "NC" rather than "NO"
    };
    std::array<Line, 3> lines;

    // The first matching rule decides the function: bits 2 and 3 alarm, bit 2 alone
    // informational, bit 5 on A2 or bit 4 on A3 the line's special function, else inactive.
    static AlarmInFields Load(const TZorvexSettings& settings);
    // Rebuilds each byte from what the dialog shows, in the order 39, 40, 41: whatever
    // else the byte held (bits 6 and 7, a special bit under an active function) is gone.
    void Store(TZorvexSettings& settings) const;

    // The dialog's fields, in its order (see EditorField.h).
    static const EditorArea& Table();
};
