// Compiled by ctest, never built into a program: ActionName takes the name given as
// ZVX_ACTION when it is an action's, and the file does not compile when it is not.
#include "app/actions/ActionTable.h"

#define ZVX_TEXT(x) #x
#define ZVX_QUOTED(x) ZVX_TEXT(x)

static_assert(ActionName(ZVX_QUOTED(ZVX_ACTION))[0] != '\0');
