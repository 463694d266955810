// The errors of the component model and of object streams. Stream errors derive from EReadError or
// EWriteError so that a caller loading a skin or a form catches one type for any damaged input.
#pragma once

#include "platform/core/Exception.h"

namespace vandrel {

VANDREL_EXCEPTION(EComponentError, Exception);
VANDREL_EXCEPTION(EClassNotFound, EReadError);
VANDREL_EXCEPTION(EPropertyError, Exception);
// A damaged text form; the message names the line.
VANDREL_EXCEPTION(EParserError, EReadError);

}  // namespace vandrel
