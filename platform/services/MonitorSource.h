// The monitors of a display. A backend that knows several monitors (X11 through RandR or
// Xinerama) implements this beside TDisplayBackend; a backend that does not is one monitor: the
// whole screen with the backend's work area.
#pragma once

#include <vector>

#include "platform/core/Geometry.h"

namespace vandrel {

struct TMonitorArea {
  TRect Monitor;  // screen coordinates
  TRect Work;     // the part not taken by panels and docks
};

class TMonitorSource {
 public:
  virtual ~TMonitorSource() = default;
  virtual std::vector<TMonitorArea> Monitors() const = 0;
};

// The monitors of the display in use, at least one.
std::vector<TMonitorArea> DisplayMonitors();

}  // namespace vandrel
