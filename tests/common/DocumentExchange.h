#pragma once

#include "document/ConfigDocument.h"
#include "model/ConfigEvent.h"

#include <QTime>

// Starts the document's exchange that event names (a restart at 08:15); false for an
// event that is no exchange with the dialer.
inline bool StartExchange(ConfigDocument& document, ConfigEvent event)
{
    switch (event) {
    case ConfigEvent::Read:
        document.Read();
        return true;
    case ConfigEvent::Verify:
        document.Verify();
        return true;
    case ConfigEvent::Write:
        document.Write();
        return true;
    case ConfigEvent::Restart:
        document.Restart(QTime(8, 15));
        return true;
    case ConfigEvent::Load:
    case ConfigEvent::Save:
        break;
    }
    return false;
}
