#pragma once

#include "model/TZorvexSettings.h"

// The configuration as "Nowa konfiguracja" leaves it: the factory image, empty records.
inline TZorvexSettings Factory()
{
    TZorvexSettings s;
    s.LoadDefaults();
    return s;
}
