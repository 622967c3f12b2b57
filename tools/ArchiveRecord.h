#pragma once

#include "model/ConfigEvent.h"
#include "tools/CommandLine.h"

#include <QString>

class TZorvexSettings;

// Keeps a command's event in the archive that the program settings name (the window's
// events come from the document). An archive out of reach never changes the command's
// outcome: the entry waits in the local queue and one line on err says so.
//   status: the command's ExitStatus so far (Success: the event succeeded)
//   message: the failure in the user's words (may be empty)
void RecordCommandEvent(CommandContext& context, ConfigEvent event, const TZorvexSettings& settings,
                        int status, const QString& message, const QString& file,
                        const QString& port);
