// The drawing functions of the Steel images, one per image, grouped by the files that hold them.
// Each gets an image of the right name and size, filled with the key, and draws all of it.
#pragma once

#include "tools/steel-skin/SkinImage.h"

namespace vandrel::steelskin {

// SteelFrame.cpp: the window frame, its caption buttons and their glyphs.
void DrawFrameBottom(TSkinImage& image);
void DrawFrameCaption(TSkinImage& image);
void DrawFrameLeft(TSkinImage& image);
void DrawFrameRight(TSkinImage& image);
void DrawCaptionButton(TSkinImage& image);
void DrawCloseButton(TSkinImage& image);
void DrawCloseGlyph(TSkinImage& image);
void DrawMaximizeGlyph(TSkinImage& image);
void DrawRestoreGlyph(TSkinImage& image);
void DrawMinimizeGlyph(TSkinImage& image);
void DrawHelpGlyph(TSkinImage& image);
void DrawRollDownGlyph(TSkinImage& image);
void DrawRollUpGlyph(TSkinImage& image);
void DrawTrayGlyph(TSkinImage& image);

// SteelControls.cpp: the controls the main window shows, and the scroll bar and popup menu.
void DrawFieldOutline(TSkinImage& image);
void DrawCheckBox(TSkinImage& image);
void DrawRadioButton(TSkinImage& image);
void DrawButton(TSkinImage& image);
void DrawToolbarButtons(TSkinImage& image);
void DrawScrollShaft(TSkinImage& image, bool vertical);
void DrawScrollArrows(TSkinImage& image);
void DrawScrollArrowGlyphs(TSkinImage& image);
void DrawScrollThumb(TSkinImage& image, bool vertical);
void DrawScrollGripper(TSkinImage& image, bool vertical);
void DrawGroupBackground(TSkinImage& image);
void DrawGroupHead(TSkinImage& image);
void DrawGroupButton(TSkinImage& image, bool expand);
void DrawStatusBackground(TSkinImage& image);
void DrawStatusPane(TSkinImage& image);
void DrawResizeGrip(TSkinImage& image);

// SteelExtras.cpp: pictures of controls the main window does not place.
void DrawMdiCaptionButton(TSkinImage& image);
void DrawMdiGlyph(TSkinImage& image, char kind);  // 'x' close, '_' minimise, 'r' restore
void DrawGroupBox(TSkinImage& image);
void DrawProgressTrackVertical(TSkinImage& image);
void DrawProgressChunk(TSkinImage& image, bool vertical);
void DrawSliderTrack(TSkinImage& image);
// Track bar thumbs: 'h' plain horizontal-track thumb, 'u' pointing up, 'd' down (11 wide, five
// 21-pixel states); 'v' plain vertical-track thumb, 'l' left, 'r' right (21 wide, five 11-pixel
// states).
void DrawTrackBarThumb(TSkinImage& image, char kind);
void DrawComboButton(TSkinImage& image);
void DrawComboButtonGlyph(TSkinImage& image);
void DrawTabPaneEdge(TSkinImage& image);
void DrawTabItem(TSkinImage& image);
void DrawToolbarBackground(TSkinImage& image);
void DrawToolbarGripper(TSkinImage& image);
void DrawListViewHeader(TSkinImage& image);

}  // namespace vandrel::steelskin
