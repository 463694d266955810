// The shared pictures and measures of menus: the menu font and metrics, the image column, the
// check mark, the submenu arrow, the scroll-button triangle and the classic popup frame.
#pragma once

#include "platform/core/Color.h"
#include "platform/core/Geometry.h"

namespace vandrel {

class TCanvas;
class TCustomImageList;

// The platform's menu item width and height, each at least 20.
int MenuItemWidth();
int MenuItemHeight();
// Puts the platform's menu font on the canvas (colour left alone).
void SelectMenuFont(TCanvas& canvas);
// 22, or the images' width + 6 when they are wider than the menu height.
int ImageColumnWidth(const TCustomImageList* images);
// The check mark's two polylines around the anchor.
void DrawCheckMark(TCanvas& canvas, TPoint anchor, TColor first, TColor second);
// The platform's submenu arrow, every arrow pixel set in `color`, in a size x size square at
// (x, y). The classic look uses a 20-pixel picture; the skinned look draws one of its column's size.
void DrawSubmenuArrow(TCanvas& canvas, int x, int y, int size, TColor color);
// A solid 7 x 4 triangle centred in r, pointing up or down.
void DrawScrollTriangle(TCanvas& canvas, const TRect& r, bool up, TColor color);
// The classic frame of a popup window of the given size: three 3D rings.
void PaintClassicPopupFrame(TCanvas& canvas, TSize size);

}  // namespace vandrel
