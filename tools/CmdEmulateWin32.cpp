#include "tools/CmdEmulate.h"

#include "resources/ConstsZVX.h"
#include "tools/ExitStatus.h"

// The emulated dialer runs on a pseudo-terminal, which Windows does not have.
int RunEmulate(CommandContext& context)
{
    context.err << "zvx emulate: " << QString::fromUtf8(ConstsZVX::EmulatorLinuxOnly) << '\n';
    return ExitStatus::Usage;
}
