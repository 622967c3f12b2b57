#pragma once

#include <array>

// Items of the editors' two-item yes/no radio groups: item 0 clears the option's bit,
// item 1 sets it.
inline constexpr std::array<const char*, 2> YesNoItems{"NIE", "TAK"};

// The item text of an option as its group shows it.
constexpr const char* YesNoText(bool set)
{
    return YesNoItems[set ? 1 : 0];
}
