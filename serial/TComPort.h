#pragma once

#include "serial/TCustomComPort.h"

// The port as programs use it: every property and handler slot of TCustomComPort is
// public already, so this class adds nothing but the name that derived ports (the
// dialer link's TSerialPort) build on.
class TComPort : public TCustomComPort
{
public:
    TComPort() = default;
};
