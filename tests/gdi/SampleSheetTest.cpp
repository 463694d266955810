// Renders every frame control in every state and the program's sample strings into one sheet and
// writes it as PNG (and a 3x enlargement) for looking at: $VANDREL_GDI_SHEET, or
// gdi-sample-sheet.png in the working directory (the test's build folder).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/core/Exception.h"
#include "tests/gdi/GdiTestCanvas.h"

namespace vandrel {
namespace {

using test::TTestCanvas;

void Label(HDC dc, int x, int y, const char* text) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TextOut(dc, x, y, text);
}

void Row(HDC dc, int y, const char* label, UINT type, std::initializer_list<UINT> states, int w, int h) {
  Label(dc, 4, y + (h - 13) / 2, label);
  int x = 96;
  for (UINT state : states) {
    TRect r = Bounds(x, y, w, h);
    DrawFrameControl(dc, &r, type, state);
    x += w + 6;
  }
}

std::filesystem::path SheetPath() {
  if (const char* p = std::getenv("VANDREL_GDI_SHEET")) return p;
  return std::filesystem::current_path() / "gdi-sample-sheet.png";
}

TEST(SampleSheet, RendersAndWritesPng) {
  TTestCanvas sheet(480, 460, GetSysColor(COLOR_BTNFACE));
  HDC dc = sheet.dc;
  HFONT small = CreateFont(-11, 0, 0, 0, FW_NORMAL, false, false, false, DEFAULT_CHARSET, 0, 0, 0, 0,
                           "MS Sans Serif");
  HFONT old = SelectObject(dc, small);
  const UINT pushed = DFCS_PUSHED, inactive = DFCS_INACTIVE;
  int y = 6;
  for (UINT kind : {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE,
                    DFCS_CAPTIONHELP}) {
    static const char* names[] = {"close", "minimize", "maximize", "restore", "help"};
    Row(dc, y, names[kind], DFC_CAPTION, {kind, kind | pushed, kind | inactive}, 16, 14);
    TRect big = Bounds(96 + 3 * 22 + 10, y - 2, 18, 18);
    DrawFrameControl(dc, &big, DFC_CAPTION, kind);
    TRect small = Bounds(96 + 3 * 22 + 36, y, 12, 11);
    DrawFrameControl(dc, &small, DFC_CAPTION, kind);
    y += 20;
  }
  for (UINT kind : {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT,
                    DFCS_SCROLLCOMBOBOX}) {
    static const char* names[] = {"scroll up", "scroll down", "scroll left", "scroll right", "", "combo"};
    Row(dc, y, names[kind], DFC_SCROLL, {kind, kind | pushed, kind | inactive, kind | DFCS_FLAT}, 16, 16);
    y += 20;
  }
  Row(dc, y, "size grip", DFC_SCROLL, {DFCS_SCROLLSIZEGRIP}, 16, 16);
  y += 22;
  Row(dc, y, "check box", DFC_BUTTON,
      {DFCS_BUTTONCHECK, DFCS_BUTTONCHECK | DFCS_CHECKED, DFCS_BUTTON3STATE | DFCS_CHECKED,
       DFCS_BUTTONCHECK | inactive, DFCS_BUTTONCHECK | DFCS_CHECKED | inactive,
       DFCS_BUTTONCHECK | pushed, DFCS_BUTTONCHECK | DFCS_CHECKED | pushed,
       DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT},
      13, 13);
  y += 20;
  Row(dc, y, "push button", DFC_BUTTON, {DFCS_BUTTONPUSH, DFCS_BUTTONPUSH | pushed}, 40, 18);
  y += 24;
  Row(dc, y, "menu", DFC_MENU, {DFCS_MENUARROW, DFCS_MENUCHECK, DFCS_MENUBULLET}, 20, 20);
  y += 26;
  Label(dc, 4, y + 4, "edges, focus");
  int x = 96;
  for (UINT edge : {UINT(EDGE_RAISED), UINT(EDGE_SUNKEN), UINT(EDGE_ETCHED), UINT(EDGE_BUMP)}) {
    TRect r = Bounds(x, y, 30, 20);
    DrawEdge(dc, &r, edge, BF_RECT);
    x += 36;
  }
  TRect focus = Bounds(x, y, 40, 20);
  DrawFocusRect(dc, focus);
  y += 30;
  const int textTop = y;

  // The tree's Song face on white, the status bar's sans face on the 3-D face.
  HBRUSH white = HBRUSH(GetStockObject(WHITE_BRUSH));
  FillRect(dc, {0, y, 480, y + 64}, white);
  HFONT song16 = CreateFont(-16, 0, 0, 0, FW_NORMAL, false, false, false, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  HFONT song12 = CreateFont(-12, 0, 0, 0, FW_NORMAL, false, false, false, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  SelectObject(dc, song16);
  Label(dc, 6, y + 4, "信息提示 本日提示 事件提示");
  SelectObject(dc, song12);
  Label(dc, 6, y + 26, "信息提示 本日提示 事件提示 (12 px)");
  SelectObject(dc, small);
  TRect acc{6, y + 44, 300, y + 60};
  DrawText(dc, "&File  E&xit  a&&b  (accelerators)", &acc, DT_SINGLELINE);
  y += 70;
  const char* status = "2024-5-12  农历四月初五  星期日 自动启动 万年历 刷新";
  Label(dc, 6, y, status);
  HFONT sans12 = CreateFont(-12, 0, 0, 0, FW_NORMAL, false, false, false, DEFAULT_CHARSET, 0, 0, 0, 0,
                            "MS Sans Serif");
  SelectObject(dc, sans12);
  Label(dc, 6, y + 16, status);
  HFONT bold = CreateFont(-11, 0, 0, 0, FW_BOLD, false, true, false, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
  SelectObject(dc, bold);
  Label(dc, 6, y + 34, "Tahoma bold underlined 0123 信息");
  HFONT songBold = CreateFont(-12, 0, 0, 0, FW_BOLD, false, false, true, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  SelectObject(dc, songBold);
  Label(dc, 250, y + 34, "宋体 粗体 删除线");

  SelectObject(dc, old);
  for (HFONT f : {small, song16, song12, sans12, bold, songBold}) DeleteObject(f);

  // Pixels at known places: the face behind the controls, the raised edge of the first close
  // button (white top-left, dark bottom-right), the white band, and dark glyph pixels in it.
  EXPECT_EQ(sheet.At(470, 2), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(sheet.At(97, 7), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(sheet.At(96 + 15, 6 + 13), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(sheet.At(470, textTop + 2), RGB(255, 255, 255));
  int dark = 0;
  for (int py = textTop + 4; py < textTop + 22; ++py)
    for (int px = 6; px < 200; ++px) dark += sheet.At(px, py) == RGB(0, 0, 0);
  EXPECT_GT(dark, 50) << "the Song line has ink";
  std::filesystem::path path = SheetPath();
  WritePng(sheet.bitmap, path.string());
  std::ifstream in(path, std::ios::binary);
  char signature[8] = {};
  in.read(signature, 8);
  EXPECT_EQ(std::string(signature, 8), std::string("\x89PNG\r\n\x1a\n", 8));

  TTestCanvas big(480 * 3, 460 * 3);
  StretchBlt(big.dc, 0, 0, 480 * 3, 460 * 3, dc, 0, 0, 480, 460, SRCCOPY);
  for (TPoint p : {TPoint{97, 7}, TPoint{96 + 15, 6 + 13}, TPoint{470, textTop + 2}})
    EXPECT_EQ(big.At(p.X * 3 + 1, p.Y * 3 + 1), sheet.At(p.X, p.Y)) << p.X << "," << p.Y;
  std::filesystem::path zoomed = path;
  zoomed.replace_extension(".x3.png");
  WritePng(big.bitmap, zoomed.string());
  EXPECT_TRUE(std::filesystem::exists(zoomed));
}

TEST(SampleSheet, PngWriterReportsFilesItCannotCreate) {
  TTestCanvas c(2, 2);
  EXPECT_THROW(WritePng(c.bitmap, "/nonexistent-dir/x.png"), EFCreateError);
  EXPECT_THROW(WritePng(HBITMAP(), "/tmp/x.png"), EInvalidArgument);
}

}  // namespace
}  // namespace vandrel
