// steel-skin-sheet [OUT.png]: draws the Steel skin's images, quantised to 5-6-5 as the skin file
// stores them, onto one review sheet: every image grouped by control at 1x and 4x (key pixels as a
// checkerboard), the main window's frame composed at its real size (active and inactive) with its
// status bar, panels and an open system menu, and close-ups of the caption buttons in their states.
// Prints the contrast of each text on the face it sits on.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "platform/gdi/Gdi.h"
#include "tools/steel-skin/SteelSkin.h"

using namespace vandrel;
using namespace vandrel::steelskin;

namespace {

struct TSheet {
  HBITMAP bitmap;
  HDC dc;
  std::shared_ptr<TSurface> surface;

  TSheet(int width, int height) {
    BITMAPINFO info;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    void* bits = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits);
    dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    surface = GetBitmapSurface(bitmap);
  }
  void Put(int x, int y, std::uint32_t c) { surface->SetPixel(x, y, c & 0xFFFFFF); }
  void Fill(int x, int y, int w, int h, std::uint32_t c) {
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) Put(i, j, c);
  }
};

// Text in a rectangle, in a font made for the call.
void Text(TSheet& s, TRect r, const std::string& text, COLORREF colour, int height = -11, int weight = FW_NORMAL,
          UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE, const char* face = "MS Sans Serif") {
  HFONT font = CreateFont(height, 0, 0, 0, weight, false, false, false, DEFAULT_CHARSET, 0, 0, 0, 0, face);
  HFONT old = SelectObject(s.dc, font);
  SetBkMode(s.dc, TRANSPARENT);
  SetTextColor(s.dc, colour);
  DrawText(s.dc, text, &r, format | DT_NOPREFIX);
  SelectObject(s.dc, old);
  DeleteObject(font);
}

bool IsKey(std::uint32_t c) { return MatchesKey(c); }

std::uint32_t Checker(int x, int y, int cell) {
  return ((x / cell + y / cell) & 1) ? Rgb(0xA3A9B0) : Rgb(0xB6BBC1);
}

// Images by name (the first of a name, as the skin finds them).
struct TImages {
  std::vector<TSkinImage> list;
  const TSkinImage& operator[](const std::string& name) const {
    for (const TSkinImage& i : list)
      if (i.Name == name) return i;
    std::fprintf(stderr, "no image %s\n", name.c_str());
    std::abort();
  }
};

// The image at `scale`, key pixels as a checkerboard; a frame line round it.
void ShowImage(TSheet& s, const TSkinImage& image, int x, int y, int scale) {
  for (int j = 0; j < image.Height * scale; ++j)
    for (int i = 0; i < image.Width * scale; ++i) {
      const std::uint32_t c = image.At(i / scale, j / scale);
      s.Put(x + i, y + j, IsKey(c) ? Checker(i, j, scale == 1 ? 2 : 4) : c);
    }
}

// Drawing skin pictures as the skin objects do: unscaled, tiled or stretched (nearest neighbour
// with the platform's rounding), key pixels left out.
void Blit(TSheet& s, const TSkinImage& image, TRect src, TRect dst) {
  const int sw = src.Right - src.Left, sh = src.Bottom - src.Top;
  const int dw = dst.Right - dst.Left, dh = dst.Bottom - dst.Top;
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  auto map = [](int d, int dn, int sLeft, int sn) {
    if (dn < 2) return (2 * sLeft + sn - 1) / 2;
    return int(std::nearbyint(float(d) * float(sn - 1) / float(dn - 1) + float(sLeft)));
  };
  for (int j = 0; j < dh; ++j)
    for (int i = 0; i < dw; ++i) {
      const int sx = dw == sw ? src.Left + i : map(i, dw, src.Left, sw);
      const int sy = dh == sh ? src.Top + j : map(j, dh, src.Top, sh);
      const std::uint32_t c = image.At(sx, sy);
      if (!IsKey(c)) s.Put(dst.Left + i, dst.Top + j, c);
    }
}

void Tile(TSheet& s, const TSkinImage& image, TRect src, TRect dst) {
  const int sw = src.Right - src.Left, sh = src.Bottom - src.Top;
  for (int y = dst.Top; y < dst.Bottom; y += sh)
    for (int x = dst.Left; x < dst.Right; x += sw) {
      const int w = std::min(sw, dst.Right - x), h = std::min(sh, dst.Bottom - y);
      Blit(s, image, {src.Left, src.Top, src.Left + w, src.Top + h}, {x, y, x + w, y + h});
    }
}

enum class TStyle { Tile, Stretch, Center };

void Part(TSheet& s, const TSkinImage& image, TRect src, TRect dst, TStyle style) {
  if (style == TStyle::Stretch) return Blit(s, image, src, dst);
  if (style == TStyle::Tile) return Tile(s, image, src, dst);
  const int w = src.Right - src.Left, h = src.Bottom - src.Top;
  const int x = dst.Left + (dst.Right - dst.Left - w) / 2, y = dst.Top + (dst.Bottom - dst.Top - h) / 2;
  Blit(s, image, src, {x, y, x + w, y + h});
}

// Nine parts with margins (left, top, right, bottom).
void Nine(TSheet& s, const TSkinImage& image, TRect src, TRect dst, int m1, int m2, int m3, int m4,
          TStyle centre, TStyle border) {
  const int L = src.Left, T = src.Top, R = src.Right, B = src.Bottom;
  const int x = dst.Left, y = dst.Top, W = dst.Right - dst.Left, H = dst.Bottom - dst.Top;
  auto d = [x, y](int l, int t, int r, int b) { return TRect{x + l, y + t, x + r, y + b}; };
  Part(s, image, {L + m1, T + m2, R - m3, B - m4}, d(m1, m2, W - m3, H - m4), centre);
  Part(s, image, {L + m1, T, R - m3, T + m2}, d(m1, 0, W - m3, m2), border);
  Part(s, image, {L + m1, B - m4, R - m3, B}, d(m1, H - m4, W - m3, H), border);
  Part(s, image, {L, T + m2, L + m1, B - m4}, d(0, m2, m1, H - m4), border);
  Part(s, image, {R - m3, T + m2, R, B - m4}, d(W - m3, m2, W, H - m4), border);
  Blit(s, image, {L, T, L + m1, T + m2}, d(0, 0, m1, m2));
  Blit(s, image, {R - m3, T, R, T + m2}, d(W - m3, 0, W, m2));
  Blit(s, image, {L, B - m4, L + m1, B}, d(0, H - m4, m1, H));
  Blit(s, image, {R - m3, B - m4, R, B}, d(W - m3, H - m4, W, H));
}

// The program's window icon at 16 x 16, or none when its file cannot be read.
HICON WindowIcon() {
  static HICON icon = [] {
    std::ifstream in(std::string(VANDREL_SOURCE_DIR) + "/resources/artwork/Vandrel.ico", std::ios::binary);
    const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return data.empty() ? HICON() : CreateIconFromIcoData(data, 16);
  }();
  return icon;
}

// The banner picture (RGB rows), empty when it cannot be read.
struct TPicture {
  int Width = 0, Height = 0;
  std::vector<std::uint8_t> Rgb;
};
TPicture Banner() {
  TPicture p;
  FILE* f = std::fopen((std::string(VANDREL_SOURCE_DIR) + "/resources/artwork/Banner.jpg").c_str(), "rb");
  if (!f) return p;
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, f);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  p.Width = int(info.output_width), p.Height = int(info.output_height);
  p.Rgb.resize(std::size_t(p.Width) * p.Height * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = p.Rgb.data() + std::size_t(info.output_scanline) * p.Width * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::fclose(f);
  return p;
}

// Caption button states in the mock-up: which picture row of the face and of the glyph.
struct TCaptionButton {
  const char* Face;
  const char* Glyph;
  int Width;
  int FaceRow;   // 0 active, 21 hot, 42 pressed, 84 inactive
  int GlyphRow;  // 0 normal and hot, 26 pressed and disabled
};

// The main window's frame at 392 x 570 (client 382 x 536 at (5, 29)), as the "Form" tree lays it out.
void MockWindow(TSheet& s, const TImages& im, int ox, int oy, bool active, int closeRow, int maxRow) {
  const int W = 392, H = 570, half = active ? 0 : 29;
  const TSkinImage& cap = im["FRAMECAPTION.BMP"];
  Blit(s, cap, {0, half, 10, half + 29}, {ox, oy, ox + 10, oy + 29});
  Blit(s, cap, {56, half, 66, half + 29}, {ox + W - 10, oy, ox + W, oy + 29});
  Blit(s, cap, {10, half, 57, half + 29}, {ox + 10, oy, ox + W - 10, oy + 29});
  // The caption buttons the window's border icons leave: close, maximise, minimise, packed from
  // the right of the container (which keeps its 4 pixels from the right edge).
  const int inactiveRow = 84;
  const TCaptionButton buttons[] = {
      {"CLOSEBUTTON.bmp", "CLOSEGLYPH.BMP", 21, active ? closeRow : inactiveRow, 0},
      {"CAPTIONBUTTON.bmp", "MAXIMIZEGLYPH.BMP", 23, active ? maxRow : inactiveRow, 0},
      {"CAPTIONBUTTON.bmp", "MINIMIZEGLYPH.BMP", 23, active ? 0 : inactiveRow, 0},
  };
  Tile(s, im["TOOLBARBUTTONS.BMP"], {0, 0, 20, 23}, {ox + 184, oy + 5, ox + 388, oy + 26});
  int right = ox + W - 4;
  for (const TCaptionButton& b : buttons) {
    const TRect r{right - b.Width, oy + 5, right, oy + 26};
    Part(s, im[b.Face], {0, b.FaceRow, 21, b.FaceRow + 21}, r, TStyle::Center);
    const int glyphRow = !active || b.FaceRow == 42 ? 26 : 0;
    Blit(s, im[b.Glyph], {0, glyphRow, 13, glyphRow + 13},
         {r.Left + (b.Width - 13) / 2, r.Top + 4, r.Left + (b.Width - 13) / 2 + 13, r.Top + 17});
    right -= b.Width;
  }
  const TRect title{ox + 32, oy + 4, ox + W - 150, oy + 29};
  Text(s, {title.Left + 1, title.Top + 1, title.Right + 1, title.Bottom + 1}, "Vandrel3.0", RGB(0, 0, 0), -11, FW_BOLD);
  Text(s, title, "Vandrel3.0", RGB(255, 255, 255), -11, FW_BOLD);
  // The system menu button draws the window's icon at its top-left corner.
  if (HICON icon = WindowIcon()) DrawIconEx(s.dc, ox + 8, oy + 8, icon, 16, 16, 0, HBRUSH(), DI_NORMAL);

  const int sideTop = active ? 0 : 31, bottomTop = active ? 0 : 5;
  Tile(s, im["FRAMELEFT.BMP"], {0, sideTop, 5, sideTop + 30}, {ox, oy + 29, ox + 5, oy + H - 5});
  Tile(s, im["FRAMERIGHT.BMP"], {0, sideTop, 5, sideTop + 30}, {ox + W - 5, oy + 29, ox + W, oy + H - 5});
  const TSkinImage& bottom = im["FRAMEBOTTOM.BMP"];
  Blit(s, bottom, {0, bottomTop, 5, bottomTop + 5}, {ox, oy + H - 5, ox + 5, oy + H});
  Blit(s, bottom, {44, bottomTop, 49, bottomTop + 5}, {ox + W - 5, oy + H - 5, ox + W, oy + H});
  Tile(s, bottom, {4, bottomTop, 45, bottomTop + 5}, {ox + 5, oy + H - 5, ox + W - 5, oy + H});

  // Client: two skinned panels (frame picture over the whole panel, children 4 pixels inside).
  const int cx = ox + 5, cy = oy + 29;
  s.Fill(cx, cy, 382, 536, 0xEAE9D7);
  const TSkinImage& panel = im["NORMALGROUPBACKGROUND.BMP"];
  Nine(s, panel, {0, 0, 111, 10}, {cx, cy, cx + 382, cy + 65}, 2, 2, 2, 2, TStyle::Stretch, TStyle::Stretch);
  // The banner, stretched to 374 x 57 inside the first panel.
  static const TPicture banner = Banner();
  for (int j = 0; j < 57 && banner.Width; ++j)
    for (int i = 0; i < 374; ++i) {
      const std::uint8_t* p = &banner.Rgb[(std::size_t(j * banner.Height / 57) * banner.Width + i * banner.Width / 374) * 3];
      s.Put(cx + 4 + i, cy + 4 + j, std::uint32_t(p[0]) << 16 | p[1] << 8 | p[2]);
    }
  Nine(s, panel, {0, 0, 111, 10}, {cx, cy + 65, cx + 382, cy + 536}, 2, 2, 2, 2, TStyle::Stretch, TStyle::Stretch);
  const int tx = cx + 4, ty = cy + 65 + 4;
  s.Fill(tx, ty, 374, 441, 0xFFFFFF);
  const char* lines[] = {"本日提示", "  生日提示", "    张三 农历生日 十一月初二", "明日提示", "后天提示", "昨天提示", "本月提示", "下月提示"};
  for (int i = 0; i < 8; ++i) Text(s, {tx + 6, ty + 4 + i * 20, tx + 370, ty + 24 + i * 20}, lines[i], RGB(0, 0, 0), -16, FW_NORMAL, DT_LEFT | DT_VCENTER | DT_SINGLELINE, "宋体");
  // Status bar 374 x 22 with its four panels and hosted controls.
  const int bx = tx, by = ty + 441;
  Blit(s, im["STATUSBACKGROUND.BMP"], {0, 0, 68, 15}, {bx, by, bx + 374, by + 22});
  const int edges[] = {2, 202, 282, 332, 382};
  for (int i = 0; i < 4; ++i) {
    const TRect r{bx + edges[i], by + 2, std::min(bx + edges[i + 1], bx + 372), by + 20};
    Nine(s, im["STATUSPANE.BMP"], {0, 0, 3, 15}, r, 0, 0, 2, 0, TStyle::Tile, TStyle::Stretch);
  }
  Text(s, {bx + 4, by + 2, bx + 200, by + 20}, "2026-12-10 农历 十一月初二 星期四", RGB(0, 0, 0));
  Blit(s, im["CHECKBOX13.bmp"], {0, 52, 13, 65}, {bx + 203, by + 4, bx + 216, by + 17});
  Text(s, {bx + 221, by + 3, bx + 279, by + 19}, "自动启动", RGB(0, 0, 0));
  const char* captions[] = {"万年历", "刷新"};
  const int faceRows[] = {0, active ? 23 : 0};
  for (int i = 0; i < 2; ++i) {
    const TRect r{bx + 283 + 50 * i, by + 3, bx + 329 + 50 * i, by + 19};
    Nine(s, im["BUTTON.bmp"], {0, faceRows[i], 20, faceRows[i] + 23}, r, 5, 5, 5, 5, TStyle::Stretch, TStyle::Stretch);
    Text(s, r, captions[i], RGB(0, 0, 0), -11, FW_NORMAL, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

// The system menu open over the window, as the skin's "PopupMenu" draws it: the outline picture in
// nine parts with 3-pixel margins, items 21 high, white, the hot one in the accent with white text.
void MockMenu(TSheet& s, const TImages& im, int ox, int oy) {
  const char* items[] = {"还原(R)", "移动(M)", "大小(S)", "最小化(N)", "最大化(X)", "-", "关闭(C)"};
  const int w = 170, itemH = 21, n = 7, h = n * itemH + 6;
  Nine(s, im["FIELDOUTLINEBLUE.BMP"], {0, 0, 7, 7}, {ox, oy, ox + w, oy + h}, 3, 3, 3, 3, TStyle::Stretch, TStyle::Stretch);
  for (int i = 0; i < n; ++i) {
    const TRect r{ox + 3, oy + 3 + i * itemH, ox + w - 3, oy + 3 + (i + 1) * itemH};
    const bool hot = i == 3, disabled = i == 0 || i == 2;
    s.Fill(r.Left, r.Top, r.Right - r.Left, itemH, hot ? kMenuItemActiveColor : 0xFFFFFF);
    if (std::string(items[i]) == "-") {
      s.Fill(r.Left + 3, r.Top + itemH / 2 - 1, r.Right - r.Left - 6, 1, 0x000000);
      continue;
    }
    const COLORREF ink = hot ? RGB(255, 255, 255) : disabled ? RGB(128, 128, 128) : RGB(0, 0, 0);
    Text(s, {r.Left + 22, r.Top, r.Right - 10, r.Bottom}, items[i], ink);
    if (i == 6) Text(s, {r.Left + 22, r.Top, r.Right - 10, r.Bottom}, "Alt+F4", ink, -11, FW_NORMAL, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  }
}

// Close-ups of the caption's right end: each caption button state at 3x.
void CaptionCloseUps(TSheet& s, const TImages& im, int ox, int oy) {
  struct TCase {
    const char* Label;
    int CloseRow, MaxRow;
    bool Active;
  };
  const TCase cases[] = {{"active", 0, 0, true},        {"max hot", 0, 21, true}, {"max pressed", 0, 42, true},
                         {"close hot", 21, 0, true},    {"close pressed", 42, 0, true},
                         {"inactive", 0, 0, false}};
  TSheet scratch(392, 570);
  for (int c = 0; c < 6; ++c) {
    MockWindow(scratch, im, 0, 0, cases[c].Active, cases[c].CloseRow, cases[c].MaxRow);
    const int x0 = ox + (c % 3) * 250, y0 = oy + (c / 3) * 120;
    Text(s, {x0, y0, x0 + 240, y0 + 14}, cases[c].Label, RGB(0, 0, 0));
    for (int j = 0; j < 32 * 3; ++j)
      for (int i = 0; i < 80 * 3; ++i) s.Put(x0 + i, y0 + 16 + j, scratch.surface->Pixel(392 - 80 + i / 3, j / 3));
  }
}

// The scroll bar's parts laid out as its tree places them (vertical and horizontal, the thumb
// normal, hot and pressed), and a panel with its caption bar and roll button.
void MockControls(TSheet& s, const TImages& im, int ox, int oy) {
  const TSkinImage& arrows = im["SCROLLARROWS.BMP"];
  const TSkinImage& glyphs = im["SCROLLARROWGLYPHS.BMP"];
  auto button = [&](TRect r, int faceTop, int glyphTop) {
    Nine(s, arrows, {0, faceTop, 17, faceTop + 17}, r, 3, 3, 3, 3, TStyle::Stretch, TStyle::Stretch);
    Blit(s, glyphs, {0, glyphTop, 9, glyphTop + 9}, {r.Left + 4, r.Top + 4, r.Left + 13, r.Top + 13});
  };
  for (int c = 0; c < 3; ++c) {
    const int x = ox + c * 60, thumb = c * 22;
    s.Fill(x - 6, oy - 6, 29, 212, 0xFFFFFF);
    Nine(s, im["SCROLLSHAFTVERTICAL.BMP"], {0, 0, 17, 17}, {x, oy + 17, x + 17, oy + 183}, 2, 0, 2, 0, TStyle::Stretch, TStyle::Stretch);
    button({x, oy, x + 17, oy + 17}, c == 1 ? 17 : 0, c == 1 ? 9 : 0);
    button({x, oy + 183, x + 17, oy + 200}, c == 2 ? 34 : 0, c == 2 ? 54 : 36);
    const TRect t{x, oy + 40 + c * 20, x + 17, oy + 86 + c * 20};
    Nine(s, im["SCROLLTHUMBVERTICAL.BMP"], {0, thumb, 15, thumb + 22}, t, 3, 3, 3, 3, TStyle::Stretch, TStyle::Stretch);
    Tile(s, im["SCROLLTHUMBGRIPPERVERTICAL.BMP"], {0, 0, 8, 8}, {t.Left + 4, t.Top + 19, t.Left + 12, t.Top + 27});
  }
  const int hx = ox + 200, hy = oy;
  for (int c = 0; c < 3; ++c) {
    const int y = hy + c * 30, thumb = c * 15;
    s.Fill(hx - 6, y - 6, 212, 29, 0xFFFFFF);
    Nine(s, im["SCROLLSHAFTHORIZONTAL.BMP"], {0, 0, 17, 17}, {hx + 17, y, hx + 183, y + 17}, 0, 2, 0, 2, TStyle::Stretch, TStyle::Stretch);
    button({hx, y, hx + 17, y + 17}, c == 1 ? 153 : 136, c == 1 ? 81 : 72);
    button({hx + 183, y, hx + 200, y + 17}, c == 2 ? 170 : 136, c == 2 ? 126 : 108);
    const TRect t{hx + 40 + c * 30, y, hx + 90 + c * 30, y + 17};
    Nine(s, im["SCROLLTHUMBHORIZONTAL.BMP"], {0, thumb, 22, thumb + 15}, t, 3, 3, 3, 3, TStyle::Stretch, TStyle::Stretch);
    Tile(s, im["SCROLLTHUMBGRIPPERHORIZONTAL.BMP"], {0, 0, 8, 9}, {t.Left + 21, t.Top + 4, t.Left + 29, t.Top + 12});
  }
  // A panel 200 x 120 with its caption bar (23 high) and the roll-up button hot.
  const int px = ox + 200, py = oy + 100;
  Nine(s, im["NORMALGROUPBACKGROUND.BMP"], {0, 0, 111, 10}, {px, py, px + 200, py + 110}, 2, 2, 2, 2, TStyle::Stretch, TStyle::Stretch);
  Nine(s, im["NORMALGROUPHEAD.BMP"], {0, 0, 111, 21}, {px + 1, py + 1, px + 199, py + 24}, 4, 0, 4, 0, TStyle::Stretch, TStyle::Stretch);
  Text(s, {px + 6, py + 1, px + 170, py + 24}, "Panel caption", RGB(0, 0, 0));
  Blit(s, im["NORMALGROUPCOLLAPSE.BMP"], {0, 19, 18, 37}, {px + 178, py + 3, px + 196, py + 21});
}

struct TGroup {
  const char* Title;
  std::vector<std::string> Names;
};

void PrintContrast(const TImages& im) {
  std::printf("Contrast of text on its face (5-6-5 quantised pictures):\n");
  auto row = [](const char* what, std::uint32_t ink, std::uint32_t face) {
    std::printf("  %-46s %5.2f:1\n", what, ContrastRatio(ink, face));
  };
  const std::uint32_t white = Rgb(0xFFFFFF), black = Rgb(0x000000);
  // The title's glyphs cover rows 8 to 21 of the caption; the lightest of those rows counts.
  for (int half : {0, 29}) {
    double worst = 99;
    for (int y = 8; y <= 21; ++y) worst = std::min(worst, ContrastRatio(white, im["FRAMECAPTION.BMP"].At(30, half + y)));
    std::printf("  %-46s %5.2f:1\n", half ? "white title on inactive caption (lightest row)" : "white title on active caption (lightest row)", worst);
  }
  const char* looks[] = {"normal", "hot", "pressed", "disabled", "focused"};
  for (int s = 0; s < 5; ++s) {
    const std::string what = std::string("black caption on button face, ") + looks[s];
    double worst = 99;
    for (int y = 5; y < 18; ++y) worst = std::min(worst, ContrastRatio(black, im["BUTTON.bmp"].At(10, s * 23 + y)));
    std::printf("  %-46s %5.2f:1\n", what.c_str(), worst);
  }
  double worst = 99;
  for (int y = 2; y < 14; ++y)
    if (!IsKey(im["STATUSBACKGROUND.BMP"].At(30, y))) worst = std::min(worst, ContrastRatio(black, im["STATUSBACKGROUND.BMP"].At(30, y)));
  std::printf("  %-46s %5.2f:1\n", "black status text on the status bar", worst);
  row("black panel caption on panel head (bottom)", black, im["NORMALGROUPHEAD.BMP"].At(50, 18));
  row("black menu item on white", black, white);
  row("white hot menu item on ActiveColor", white, Rgb(kMenuItemActiveColor));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string out = argc > 1 ? argv[1] : "steel-skin-sheet.png";
  TImages im;
  im.list = DrawSteelImages();
  for (TSkinImage& image : im.list)
    for (std::uint32_t& p : image.Pixels) p = Quantise565(p);

  const std::vector<TGroup> groups = {
      {"Window frame", {"FRAMECAPTION.BMP", "FRAMELEFT.BMP", "FRAMERIGHT.BMP", "FRAMEBOTTOM.BMP"}},
      {"Caption buttons", {"CAPTIONBUTTON.bmp", "CLOSEBUTTON.bmp", "TOOLBARBUTTONS.BMP"}},
      {"Caption glyphs", {"CLOSEGLYPH.BMP", "MAXIMIZEGLYPH.BMP", "RESTOREGLYPH.BMP", "MINIMIZEGLYPH.BMP", "ROLlDOWNPGLYPH.bmp", "ROLLUPGLYPH.bmp", "TRAYGLYPH.bmp", "HELPGLYPH.BMP"}},
      {"Check box, radio button, button", {"CHECKBOX13.bmp", "RADIOBUTTON13.bmp", "BUTTON.bmp"}},
      {"Panel, status bar, popup menu", {"NORMALGROUPBACKGROUND.BMP", "NORMALGROUPHEAD.BMP", "NORMALGROUPCOLLAPSE.BMP", "NORMALGROUPEXPAND.BMP", "STATUSBACKGROUND.BMP", "STATUSPANE.BMP", "RESIZEGRIP2.BMP", "FIELDOUTLINEBLUE.BMP"}},
      {"Scroll bar", {"SCROLLSHAFTHORIZONTAL.BMP", "SCROLLSHAFTVERTICAL.BMP", "SCROLLARROWS.BMP", "SCROLLARROWGLYPHS.BMP", "SCROLLTHUMBHORIZONTAL.BMP", "SCROLLTHUMBVERTICAL.BMP", "SCROLLTHUMBGRIPPERHORIZONTAL.BMP", "SCROLLTHUMBGRIPPERVERTICAL.BMP"}},
      {"Other controls", {"MDICAPTIONBUTTON.BMP", "MDIGLYPHCLOSE.BMP", "MDIGLYPHMINIMIZE.BMP", "MDIGLYPHRESTORE.BMP", "GROUPBOX.BMP", "PROGRESSTRACKVERT.BMP", "PROGRESSCHUNK.BMP", "PROGRESSCHUNKVERT.BMP", "SLIDERTRACK.BMP", "TRACKBARHORIZONTAL.BMP", "TRACKBARUP13.BMP", "TRACKBARDOWN13.BMP", "TRACKBARVERTICAL.BMP", "TRACKBARLEFT13.BMP", "TRACKBARRIGHT13.BMP", "COMBOBUTTON.BMP", "COMBOBUTTONGLYPH.BMP", "TABPANEEDGE.BMP", "TABITEM.BMP", "TOOLBARBACKGROUND.BMP", "TOOLBARGRIPPERVERT.BMP", "LISTVIEWHEADER.BMP"}},
  };

  // Groups run down the left side; the first pass only measures how far.
  const int sheetW = 1900, leftW = 1040;
  auto layOut = [&](TSheet* s) {
    int y = 10;
    for (const TGroup& g : groups) {
      if (s) Text(*s, {10, y, leftW, y + 18}, g.Title, RGB(0x20, 0x28, 0x30), -14, FW_BOLD, DT_LEFT | DT_TOP | DT_SINGLELINE, "Arial");
      y += 22;
      int x = 10, rowH = 0;
      for (const std::string& name : g.Names) {
        const TSkinImage& image = im[name];
        const int scale = image.Width >= 100 ? 2 : 4;
        const int w = std::max(image.Width * (scale + 1) + 12, 150), h = image.Height * scale + 16;
        if (x + w > leftW) x = 10, y += rowH + 8, rowH = 0;
        if (s) {
          Text(*s, {x, y, x + w + 60, y + 12}, name, RGB(0x50, 0x58, 0x60), -9, FW_NORMAL, DT_LEFT | DT_TOP | DT_SINGLELINE, "Arial");
          ShowImage(*s, image, x, y + 14, 1);
          ShowImage(*s, image, x + image.Width + 6, y + 14, scale);
        }
        x += w + 14;
        rowH = std::max(rowH, h);
      }
      y += rowH + 14;
    }
    return y;
  };
  const int sheetH = std::max(layOut(nullptr), 1000);
  TSheet s(sheetW, sheetH);
  s.Fill(0, 0, sheetW, sheetH, 0xFFFFFF);
  layOut(&s);
  const int mx = leftW + 20;
  Text(s, {mx, 10, sheetW, 28}, "Main window, active (close-ups below at 3x) / inactive", RGB(0x20, 0x28, 0x30), -14, FW_BOLD, DT_LEFT | DT_TOP | DT_SINGLELINE, "Arial");
  s.Fill(mx - 8, 32, 2 * 392 + 40, 570 + 16, 0x6A8CA8);  // a desktop behind the windows
  MockWindow(s, im, mx, 40, true, 0, 0);
  MockWindow(s, im, mx + 392 + 24, 40, false, 0, 0);
  MockMenu(s, im, mx + 12, 40 + 29);
  CaptionCloseUps(s, im, mx, 640);
  Text(s, {mx, 900, sheetW, 918}, "Scroll bars (thumb normal, hot, pressed) and a panel with its caption bar", RGB(0x20, 0x28, 0x30), -14, FW_BOLD, DT_LEFT | DT_TOP | DT_SINGLELINE, "Arial");
  s.Fill(mx - 8, 924, 440, 230, 0xEAE9D7);
  MockControls(s, im, mx + 6, 936);
  WritePng(s.bitmap, out);
  PrintContrast(im);
  std::printf("Review sheet: %s\n", out.c_str());
  return 0;
}
