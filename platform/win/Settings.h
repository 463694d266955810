// User settings the window system honours: double clicks, keyboard repeat, the work area.
#pragma once

#include "platform/win/WinTypes.h"

namespace vandrel {

UINT GetDoubleClickTime();  // 500 ms by default
bool SetDoubleClickTime(UINT ms);
TSize GetDoubleClickSize();  // 4 x 4 pixels by default
void SetDoubleClickSize(TSize size);

enum : UINT {
  SPI_GETKEYBOARDSPEED = 0x000A, SPI_SETKEYBOARDSPEED = 0x000B, SPI_GETKEYBOARDDELAY = 0x0016,
  SPI_SETKEYBOARDDELAY = 0x0017, SPI_SETDOUBLECLKWIDTH = 0x001D, SPI_SETDOUBLECLKHEIGHT = 0x001E,
  SPI_SETDOUBLECLICKTIME = 0x0020, SPI_GETWORKAREA = 0x0030,
};
// The subset of the settings call the system uses: keyboard delay (0..3, default 1) and speed
// (0..31, default 31) through an int pointer, the work area through a TRect pointer. False for
// anything else or an out-of-range value.
bool SystemParametersInfo(UINT action, UINT param, void* data, UINT winIni = 0);

}  // namespace vandrel
