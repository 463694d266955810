// The monitors of a display. A display backend that knows several monitors implements this beside
// TDisplayBackend (the class must see this header, so it lives at this layer or above, e.g. an
// adapter made by the application around the X11 backend's RandR list); a backend that does not is
// one monitor: the whole screen with the backend's work area.
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
