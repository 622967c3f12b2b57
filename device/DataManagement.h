#pragma once

// The dialer link: TZorvexSettingsControl with its port, exchange engine, frames,
// outcome reporter and the configuration file.
#include "device/ConfigFileFormat.h"
#include "device/ConfigFileIO.h"
#include "device/DialerFrames.h"
#include "device/ExchangeEngine.h"
#include "device/OutcomeReporter.h"
#include "device/TSerialPort.h"
#include "device/TZorvexSettingsControl.h"
