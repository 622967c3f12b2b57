#pragma once

#include "model/TZorvexSettings.h"
#include "tests/common/FactorySettings.h"

#include <QByteArray>

// What the editors' mapping and dialog tests share.

// count image bytes from offset, for comparing with QByteArray::fromHex.
inline QByteArray Read(const TCfg& cfg, int offset, int count)
{
    return QByteArray(reinterpret_cast<const char*>(cfg.Bytes().data()) + offset, count);
}
