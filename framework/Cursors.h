// The platform cursor of each TCursor value.
#pragma once

#include "framework/Control.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

HCURSOR CursorHandle(TCursor cursor);

}  // namespace vandrel
