// Errors of the data layer: a file that cannot be opened or read, a wrong password, a query that
// cannot be parsed or run. The message names the file, the SQL text or the missing name.
#pragma once

#include "platform/core/Exception.h"

namespace vandrel {

VANDREL_EXCEPTION(EDatabaseError, Exception);

}  // namespace vandrel
