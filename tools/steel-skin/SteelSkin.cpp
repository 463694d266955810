// The image table of the Steel skin: order, names and sizes as the skin file lists them, each with
// the function that draws it.
#include "tools/steel-skin/SteelSkin.h"

#include <functional>

#include "tools/steel-skin/SteelParts.h"

namespace vandrel::steelskin {

namespace {

struct TEntry {
  const char* Name;
  int Width, Height;
  std::function<void(TSkinImage&)> Draw;
};

std::vector<TEntry> Table() {
  return {
      {"FRAMEBOTTOM.BMP", 49, 10, DrawFrameBottom},
      {"FRAMECAPTION.BMP", 66, 58, DrawFrameCaption},
      {"FRAMELEFT.BMP", 5, 62, DrawFrameLeft},
      {"FRAMERIGHT.BMP", 5, 62, DrawFrameRight},
      {"CAPTIONBUTTON.bmp", 21, 168, DrawCaptionButton},
      {"CLOSEBUTTON.bmp", 21, 168, DrawCloseButton},
      {"CLOSEGLYPH.BMP", 13, 104, DrawCloseGlyph},
      {"MAXIMIZEGLYPH.BMP", 13, 104, DrawMaximizeGlyph},
      {"RESTOREGLYPH.BMP", 13, 104, DrawRestoreGlyph},
      {"MINIMIZEGLYPH.BMP", 13, 104, DrawMinimizeGlyph},
      {"FIELDOUTLINEBLUE.BMP", 14, 7, DrawFieldOutline},
      {"MDICAPTIONBUTTON.BMP", 13, 52, DrawMdiCaptionButton},
      {"CHECKBOX13.bmp", 13, 156, DrawCheckBox},
      {"SCROLLSHAFTHORIZONTAL.BMP", 17, 68, [](TSkinImage& i) { DrawScrollShaft(i, false); }},
      {"SCROLLARROWS.BMP", 17, 272, DrawScrollArrows},
      {"SCROLLARROWGLYPHS.BMP", 9, 144, DrawScrollArrowGlyphs},
      {"SCROLLTHUMBGRIPPERHORIZONTAL.BMP", 8, 32, [](TSkinImage& i) { DrawScrollGripper(i, false); }},
      {"SCROLLTHUMBHORIZONTAL.BMP", 22, 60, [](TSkinImage& i) { DrawScrollThumb(i, false); }},
      {"SCROLLTHUMBVERTICAL.BMP", 15, 88, [](TSkinImage& i) { DrawScrollThumb(i, true); }},
      {"SCROLLSHAFTVERTICAL.BMP", 17, 68, [](TSkinImage& i) { DrawScrollShaft(i, true); }},
      {"SCROLLTHUMBGRIPPERVERTICAL.BMP", 8, 32, [](TSkinImage& i) { DrawScrollGripper(i, true); }},
      {"BUTTON.bmp", 20, 115, DrawButton},
      {"TOOLBARBUTTONS.BMP", 20, 138, DrawToolbarButtons},
      {"HELPGLYPH.BMP", 13, 104, DrawHelpGlyph},
      {"GROUPBOX.BMP", 22, 20, DrawGroupBox},
      {"PROGRESSTRACKVERT.BMP", 19, 9, DrawProgressTrackVertical},
      {"PROGRESSCHUNK.BMP", 10, 12, [](TSkinImage& i) { DrawProgressChunk(i, false); }},
      {"PROGRESSCHUNKVERT.BMP", 12, 10, [](TSkinImage& i) { DrawProgressChunk(i, true); }},
      {"SLIDERTRACK.BMP", 5, 5, DrawSliderTrack},
      {"TRACKBARHORIZONTAL.BMP", 11, 105, [](TSkinImage& i) { DrawTrackBarThumb(i, 'h'); }},
      {"COMBOBUTTON.BMP", 15, 64, DrawComboButton},
      {"COMBOBUTTONGLYPH.BMP", 10, 28, DrawComboButtonGlyph},
      {"NORMALGROUPBACKGROUND.BMP", 111, 10, DrawGroupBackground},
      {"NORMALGROUPHEAD.BMP", 111, 21, DrawGroupHead},
      {"NORMALGROUPCOLLAPSE.BMP", 19, 57, [](TSkinImage& i) { DrawGroupButton(i, false); }},
      {"NORMALGROUPEXPAND.BMP", 19, 57, [](TSkinImage& i) { DrawGroupButton(i, true); }},
      {"TABPANEEDGE.BMP", 48, 48, DrawTabPaneEdge},
      {"TABITEM.BMP", 18, 90, DrawTabItem},
      {"ROLlDOWNPGLYPH.bmp", 13, 104, DrawRollDownGlyph},
      {"ROLLUPGLYPH.bmp", 13, 104, DrawRollUpGlyph},
      {"TRAYGLYPH.bmp", 13, 104, DrawTrayGlyph},
      {"MDIGLYPHCLOSE.BMP", 10, 40, [](TSkinImage& i) { DrawMdiGlyph(i, 'x'); }},
      {"MDIGLYPHMINIMIZE.BMP", 10, 40, [](TSkinImage& i) { DrawMdiGlyph(i, '_'); }},
      {"MDIGLYPHRESTORE.BMP", 10, 40, [](TSkinImage& i) { DrawMdiGlyph(i, 'r'); }},
      {"TRACKBARUP13.BMP", 11, 105, [](TSkinImage& i) { DrawTrackBarThumb(i, 'u'); }},
      {"TRACKBARDOWN13.BMP", 11, 105, [](TSkinImage& i) { DrawTrackBarThumb(i, 'd'); }},
      {"TOOLBARBACKGROUND.BMP", 320, 13, DrawToolbarBackground},
      {"TOOLBARGRIPPERVERT.BMP", 10, 6, DrawToolbarGripper},
      {"LISTVIEWHEADER.BMP", 18, 90, DrawListViewHeader},
      {"TRACKBARVERTICAL.BMP", 21, 55, [](TSkinImage& i) { DrawTrackBarThumb(i, 'v'); }},
      {"TRACKBARLEFT13.BMP", 21, 55, [](TSkinImage& i) { DrawTrackBarThumb(i, 'l'); }},
      {"TRACKBARRIGHT13.BMP", 21, 55, [](TSkinImage& i) { DrawTrackBarThumb(i, 'r'); }},
      {"RADIOBUTTON13.bmp", 13, 104, DrawRadioButton},
      // A second image of that name; lookups by name always find the first, so it only has to
      // be a sensible picture.
      {"LISTVIEWHEADER.BMP", 18, 90, DrawListViewHeader},
      {"STATUSBACKGROUND.BMP", 68, 15, DrawStatusBackground},
      {"STATUSPANE.BMP", 3, 15, DrawStatusPane},
      {"RESIZEGRIP2.BMP", 32, 17, DrawResizeGrip},
  };
}

}  // namespace

std::vector<TSkinImage> DrawSteelImages() {
  std::vector<TSkinImage> images;
  for (const TEntry& entry : Table()) {
    TSkinImage& image = images.emplace_back(entry.Name, entry.Width, entry.Height);
    entry.Draw(image);
  }
  return images;
}

}  // namespace vandrel::steelskin
