#include "framework/Cursors.h"

#include "platform/win/Input.h"

namespace vandrel {

HCURSOR CursorHandle(TCursor cursor) {
  switch (cursor) {
    case crNone: return nullptr;
    case crCross: return LoadCursor(IDC_CROSS);
    case crIBeam: return LoadCursor(IDC_IBEAM);
    case crSizeNESW: return LoadCursor(IDC_SIZENESW);
    case crSizeNS: return LoadCursor(IDC_SIZENS);
    case crSizeNWSE: return LoadCursor(IDC_SIZENWSE);
    case crSizeWE: return LoadCursor(IDC_SIZEWE);
    case crHourGlass: return LoadCursor(IDC_WAIT);
    case crNo: return LoadCursor(IDC_NO);
    case crSizeAll: return LoadCursor(IDC_SIZEALL);
    case crHandPoint: return LoadCursor(IDC_HAND);
    default: return LoadCursor(IDC_ARROW);
  }
}

}  // namespace vandrel
