#include "platform/win/Settings.h"

#include "platform/win/WindowSystem.h"

namespace vandrel {

namespace {

struct TSettings {
  UINT doubleClickTime = 500;
  TSize doubleClickSize{4, 4};
  int keyboardDelay = 1;
  int keyboardSpeed = 31;
};

TSettings& S() {
  static TSettings s;
  return s;
}

}  // namespace

UINT GetDoubleClickTime() { return S().doubleClickTime; }

bool SetDoubleClickTime(UINT ms) {
  S().doubleClickTime = ms ? ms : 500;
  return true;
}

TSize GetDoubleClickSize() { return S().doubleClickSize; }

void SetDoubleClickSize(TSize size) { S().doubleClickSize = size; }

bool SystemParametersInfo(UINT action, UINT param, void* data, UINT) {
  switch (action) {
    case SPI_GETKEYBOARDDELAY:
      if (!data) return false;
      *static_cast<int*>(data) = S().keyboardDelay;
      return true;
    case SPI_GETKEYBOARDSPEED:
      if (!data) return false;
      *static_cast<int*>(data) = S().keyboardSpeed;
      return true;
    case SPI_SETKEYBOARDDELAY:
      if (param > 3) return false;
      S().keyboardDelay = int(param);
      return true;
    case SPI_SETKEYBOARDSPEED:
      if (param > 31) return false;
      S().keyboardSpeed = int(param);
      return true;
    case SPI_SETDOUBLECLICKTIME: return SetDoubleClickTime(param);
    case SPI_SETDOUBLECLKWIDTH: S().doubleClickSize.cx = int(param); return true;
    case SPI_SETDOUBLECLKHEIGHT: S().doubleClickSize.cy = int(param); return true;
    case SPI_GETWORKAREA:
      if (!data) return false;
      *static_cast<TRect*>(data) = WorkAreaRect();
      return true;
    default: return false;
  }
}

}  // namespace vandrel
