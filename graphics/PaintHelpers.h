// Lines, frames and fills on a canvas for the skin layer. Each call sets the pen and brush it
// needs and leaves them so; callers set their own tools again before they draw.
#pragma once

#include "framework/Canvas.h"
#include "framework/SmallSet.h"
#include "platform/core/Color.h"
#include "platform/core/Geometry.h"
#include "platform/gdi/GdiTypes.h"

namespace vandrel {

class TIcon;

// The sides of a control that carry bevels (bits 1, 2, 4, 8 in stored forms).
enum TSeBevelSide { kbsLeft, kbsTop, kbsRight, kbsBottom };
using TSeBevelSides = TSmallSet<TSeBevelSide>;
inline const TSeBevelSides kAllBevelSides{kbsLeft, kbsTop, kbsRight, kbsBottom};

// From the pen position to (x, y), the end point excluded.
void DrawLineTo(TCanvas& canvas, int x, int y, TColor color);
// Top and left edges in topLeft, bottom and right edges in bottomRight.
void DrawFrame3D(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight);
// A one-pixel frame on the rectangle's inner edge.
void DrawFrameRect(TCanvas& canvas, const TRect& r, TColor color);
void DrawFrameRect(TCanvas& canvas, int left, int top, int right, int bottom, TColor color);
// The platform's dotted focus frame, over a brush of the colour.
void DrawFocusFrame(TCanvas& canvas, const TRect& r, TColor color);
void FillColorRect(TCanvas& canvas, const TRect& r, TColor color);
void FillColorRect(TCanvas& canvas, int left, int top, int right, int bottom, TColor color);
void FillRoundRect(TCanvas& canvas, const TRect& r, int radius, TColor color);
// At most 255 solid bands from exactly `start` towards `end`, top to bottom when vertical, else
// left to right; the last visible band stops one band short of `end`.
void FillGradient(TCanvas& canvas, const TRect& r, TColor start, bool vertical, TColor end);
// A one-pixel checkerboard from an 8 x 8 pattern aligned to the brush origin; pixels whose x and
// y are both even or both odd take `second`.
void FillChecker(TCanvas& canvas, const TRect& r, TColor first, TColor second);
// `width` rings of lines on the given sides, moving r's edges on those sides inward as it draws.
void DrawBevelLines(TCanvas& canvas, TRect& r, TSeBevelSides sides, int width, TColor topLeft,
                    TColor bottomRight);
// The icon at its own size on a 16 x 16 place centred in r; nothing without an icon.
void DrawIconCentered(TCanvas& canvas, const TRect& r, HICON icon);
void DrawIconCentered(TCanvas& canvas, const TRect& r, const TIcon* icon);

}  // namespace vandrel
