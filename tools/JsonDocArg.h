#pragma once

#include "editors/fields/FieldBatch.h"
#include "tools/CommandLine.h"

#include <QString>

class TZorvexSettings;

// A configuration document named on the command line ("-" or nothing: standard input)
// applied to settings, as "zvx apply" and "zvx new --from" do it: read-only keys are
// named in a note on err, keys that name nothing give ExitStatus::Usage, refused values
// one line each and ExitStatus::InvalidValue, with settings untouched. A document that
// cannot be read gives FileError, one that is not a JSON object Usage. Success when
// settings now hold every value the document gives.
int ApplyJsonDocArg(CommandContext& context, const char* command, const QString& path,
                    TZorvexSettings& settings);

// Prints each failure as "zvx COMMAND: KEY: message" and returns InvalidValue.
int ReportFieldFailures(CommandContext& context, const char* command,
                        const std::vector<FieldFailure>& failures);
