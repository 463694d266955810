// Region handles: the platform's region calls over TRegion.
#pragma once

#include <span>

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Region.h"

namespace vandrel {

class TRegionObject : public TGdiObject {
 public:
  explicit TRegionObject(TRegion region) : m_region(std::move(region)) {}
  int ObjectType() const override { return OBJ_REGION; }
  TRegion& Region() { return m_region; }

 private:
  TRegion m_region;
};

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const TRect& r);
// The union of the rectangles; rows of runs in band order are taken in one linear pass.
HRGN ExtCreateRegion(std::span<const TRect> rects);
// A handle over a region value (for higher layers that keep regions as values).
HRGN CreateRegionHandle(TRegion region);
// The region behind a handle, null when it does not resolve.
TRegion* GetRegion(HRGN region);

bool SetRectRgn(HRGN region, int left, int top, int right, int bottom);
// dst may be one of the sources. Returns the complexity of the result, RGN_ERROR on failure.
int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
int GetRgnBox(HRGN region, TRect* box);
bool PtInRegion(HRGN region, int x, int y);
bool RectInRegion(HRGN region, const TRect& r);
bool EqualRgn(HRGN a, HRGN b);

}  // namespace vandrel
