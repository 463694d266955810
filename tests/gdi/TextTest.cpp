#include <gtest/gtest.h>

#include "tests/gdi/GdiTestCanvas.h"

namespace vandrel {
namespace {

using test::TTestCanvas;

class TFontScope {
 public:
  TFontScope(HDC dc, const std::string& face, int height, int weight = FW_NORMAL) : m_dc(dc) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfFaceName = face;
    m_font = CreateFontIndirect(lf);
    m_old = SelectObject(dc, m_font);
  }
  ~TFontScope() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_font);
  }

 private:
  HDC m_dc;
  HFONT m_font, m_old;
};

// Bounds of the pixels that are not white.
TRect Ink(const TTestCanvas& c, const TRect& area) {
  TRect ink{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if (c.At(x, y) != RGB(255, 255, 255)) {
        ink.Left = std::min(ink.Left, x);
        ink.Top = std::min(ink.Top, y);
        ink.Right = std::max(ink.Right, x + 1);
        ink.Bottom = std::max(ink.Bottom, y + 1);
      }
  return ink.Left == INT32_MAX ? TRect{} : ink;
}

TEST(Fonts, FaceNamesMapToInstalledFontsAndUnknownOnesFallBack) {
  TTestCanvas c(10, 10);
  struct {
    const char* face;
    const char* family;
  } cases[] = {{"宋体", "AR PL UMing CN"}, {"SimSun", "AR PL UMing CN"},
               {"MS Sans Serif", "Liberation Sans"}, {"Arial", "Liberation Sans"},
               {"Tahoma", "DejaVu Sans"}};
  for (const auto& k : cases) {
    TFontScope f(c.dc, k.face, -12);
    EXPECT_EQ(GetTextFace(c.dc), k.family) << k.face;
  }
  TFontScope unknown(c.dc, "No Such Face 9", -12);
  EXPECT_FALSE(GetTextFace(c.dc).empty());
  TSize size;
  ASSERT_TRUE(GetTextExtentPoint32(c.dc, "Hello", &size));
  EXPECT_GT(size.cx, 10);
}

TEST(Fonts, ExtremeRequestsFallBackAndNeverFail) {
  TTestCanvas c(40, 20);
  for (int height : {INT32_MIN, -1, 0, 1, 5000, INT32_MAX}) {
    for (const char* face : {"", "\xff\xfe bad utf8", "宋体"}) {
      TFontScope f(c.dc, face, height, height == 1 ? 99999 : FW_BOLD);
      TEXTMETRIC tm;
      ASSERT_TRUE(GetTextMetrics(c.dc, &tm));
      EXPECT_GT(tm.tmHeight, 0);
      TextOut(c.dc, -5, -3, "A信\xC0\x80\t");
      TRect r{30, 30, -10, -10};
      DrawText(c.dc, "x y z", &r, DT_WORDBREAK | DT_CENTER | DT_VCENTER);
    }
  }
}

TEST(Fonts, SongFaceAt16PixelsUsesCrispBitmapGlyphs) {
  TTestCanvas c(80, 20);
  TFontScope f(c.dc, "宋体", -16);
  TEXTMETRIC tm;
  ASSERT_TRUE(GetTextMetrics(c.dc, &tm));
  EXPECT_GE(tm.tmHeight, 16);
  TSize size;
  GetTextExtentPoint32(c.dc, "信息 AB", &size);
  EXPECT_EQ(size.cx, 16 * 2 + 8 * 3);  // full-width hanzi, half-width ASCII
  SetBkMode(c.dc, TRANSPARENT);
  TextOut(c.dc, 0, 0, "信息提示");
  int grey = 0, black = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x) {
      COLORREF p = c.At(x, y);
      if (p == 0) ++black;
      else if (p != RGB(255, 255, 255)) ++grey;
    }
  EXPECT_GT(black, 50);
  EXPECT_EQ(grey, 0);
}

TEST(Text, MeasuredWidthEqualsTheDrawnAdvance) {
  for (const char* face : {"MS Sans Serif", "宋体"}) {
    TTestCanvas c(200, 20);
    TFontScope f(c.dc, face, -11);
    const char* text = "2024-5-12 农历四月初五 Wj";
    TSize size;
    GetTextExtentPoint32(c.dc, text, &size);
    SetTextAlign(c.dc, TA_UPDATECP);
    MoveToEx(c.dc, 5, 2, nullptr);
    TextOut(c.dc, 5, 2, text);
    TPoint pos;
    GetCurrentPositionEx(c.dc, &pos);
    EXPECT_EQ(pos.X, 5 + size.cx) << face;
    TRect ink = Ink(c, {0, 0, 200, 20});
    EXPECT_GE(ink.Left, 5) << face;
    EXPECT_LE(ink.Right, 5 + size.cx + 1) << face;
    int fit = 0;
    GetTextExtentExPoint(c.dc, "农历ab", 23, &fit, {}, nullptr);
    EXPECT_EQ(fit, 2) << face;
  }
}

TEST(Text, OpaqueBackgroundFillsTheCellAndClippingHoldsToTheRectangle) {
  TTestCanvas c(60, 20);
  TFontScope f(c.dc, "MS Sans Serif", -11);
  SetBkColor(c.dc, RGB(255, 0, 0));
  TSize size;
  GetTextExtentPoint32(c.dc, "Hi", &size);
  TextOut(c.dc, 1, 1, "Hi");
  EXPECT_EQ(c.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(c.At(size.cx, size.cy), RGB(255, 0, 0));
  EXPECT_EQ(c.At(size.cx + 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(c.At(1, size.cy + 1), RGB(255, 255, 255));
  TTestCanvas d(60, 20);
  TFontScope g(d.dc, "MS Sans Serif", -11);
  SetBkMode(d.dc, TRANSPARENT);
  TRect clip{0, 0, 4, 20};
  ExtTextOut(d.dc, 0, 0, ETO_CLIPPED, &clip, "WWWW");
  EXPECT_LE(Ink(d, {0, 0, 60, 20}).Right, 4);
  // Given advances place the characters; a short array leaves the rest to their own advances.
  TTestCanvas e(60, 20);
  TFontScope h(e.dc, "宋体", -16);
  SetBkMode(e.dc, TRANSPARENT);
  const int dx[] = {30};
  ExtTextOut(e.dc, 0, 0, 0, nullptr, "信信", dx);
  TRect ink = Ink(e, {0, 0, 60, 20});
  EXPECT_GE(ink.Right, 30 + 12);
  EXPECT_LE(ink.Right, 30 + 16);
  int extents[1] = {};
  TSize three;
  GetTextExtentExPoint(e.dc, "信信信", 100, nullptr, extents, &three);
  EXPECT_EQ(extents[0], 16);
  EXPECT_EQ(three.cx, 48);
}

TEST(DrawText, CalcRectReportsTheExtentOfEveryLayout) {
  TTestCanvas c(10, 10);
  TFontScope f(c.dc, "宋体", -16);
  TEXTMETRIC tm;
  GetTextMetrics(c.dc, &tm);
  int lh = tm.tmHeight;
  struct {
    const char* text;
    UINT format;
    int width;  // of the starting rectangle
    TSize expected;
  } cases[] = {
      {"信息提示", DT_SINGLELINE, 10, {64, lh}},
      {"信息提示", DT_CENTER | DT_SINGLELINE, 500, {64, lh}},
      {"AB\nCDE", 0, 10, {24, 2 * lh}},
      {"AB\r\nCDE\r", 0, 10, {24, 3 * lh}},
      {"信息提示本日", DT_WORDBREAK, 40, {32, 3 * lh}},
      {"aaa bbb ccc", DT_WORDBREAK, 60, {56, 2 * lh}},
      {"aaaaaaaa bb", DT_WORDBREAK, 20, {64, 2 * lh}},  // a long word stays whole
      {"&File", 0, 10, {32, lh}},
      {"&File", DT_NOPREFIX, 10, {40, lh}},
      {"a&&b", 0, 10, {24, lh}},
      {"a\tb", DT_EXPANDTABS, 10, {8 * tm.tmAveCharWidth + 8, lh}},
      {"信息提示本日", DT_SINGLELINE | DT_END_ELLIPSIS, 60, {56, lh}},  // 信息提 + "..."
      {"", 0, 10, {0, 0}},
      {"", DT_SINGLELINE, 10, {0, lh}},
  };
  for (const auto& k : cases) {
    TRect r{3, 4, 3 + k.width, 100};
    int h = DrawText(c.dc, k.text, &r, k.format | DT_CALCRECT);
    EXPECT_EQ(r.Left, 3) << k.text;
    EXPECT_EQ(r.Top, 4) << k.text;
    EXPECT_EQ(r.Size(), k.expected) << k.text << " format " << k.format;
    EXPECT_EQ(h, k.expected.cy == 0 ? lh : k.expected.cy) << k.text;
  }
  EXPECT_EQ(DrawText(c.dc, "x", nullptr, 0), 0);
  EXPECT_EQ(DrawText(HDC(), "x", nullptr, 0), 0);
}

TEST(DrawText, AcceleratorIsUnderlinedUnderItsCharacterOnly) {
  TTestCanvas c(60, 20);
  TFontScope f(c.dc, "宋体", -16);
  SetBkMode(c.dc, TRANSPARENT);
  TEXTMETRIC tm;
  GetTextMetrics(c.dc, &tm);
  TRect r{0, 0, 60, 20};
  DrawText(c.dc, "a&bc", &r, DT_SINGLELINE);
  // The underline row lies below every glyph's ink: find the lowest inked row.
  TRect ink = Ink(c, {0, 0, 60, 20});
  int row = ink.Bottom - 1;
  std::string line;
  for (int x = 0; x < 24; ++x) line += c.At(x, row) == 0 ? '#' : '.';
  EXPECT_EQ(line, "........########........");
  EXPECT_GT(row, tm.tmAscent - 1);

  TTestCanvas plain(60, 20);
  TFontScope g(plain.dc, "宋体", -16);
  SetBkMode(plain.dc, TRANSPARENT);
  DrawText(plain.dc, "a&bc", &r, DT_SINGLELINE | DT_HIDEPREFIX);
  TTestCanvas reference(60, 20);
  TFontScope h(reference.dc, "宋体", -16);
  SetBkMode(reference.dc, TRANSPARENT);
  DrawText(reference.dc, "abc", &r, DT_SINGLELINE);
  EXPECT_EQ(plain.Picture(r), reference.Picture(r));
}

TEST(DrawText, AlignmentPlacesTheLineInTheRectangle) {
  struct {
    UINT format;
    int left, top;
  } cases[] = {
      {DT_SINGLELINE, 10, 5},
      {DT_SINGLELINE | DT_CENTER, 10 + (80 - 32) / 2, 5},
      {DT_SINGLELINE | DT_RIGHT, 90 - 32, 5},
      {DT_SINGLELINE | DT_VCENTER, 10, 5 + (30 - 18) / 2},
      {DT_SINGLELINE | DT_BOTTOM, 10, 35 - 18},
  };
  for (const auto& k : cases) {
    TTestCanvas c(100, 40);
    TFontScope f(c.dc, "宋体", -16);
    TEXTMETRIC tm;
    GetTextMetrics(c.dc, &tm);
    ASSERT_EQ(tm.tmHeight, 18);
    SetBkColor(c.dc, RGB(0, 0, 0));  // the opaque cell shows where the line went
    TRect r{10, 5, 90, 35};
    int ret = DrawText(c.dc, "信息", &r, k.format);
    EXPECT_EQ(Ink(c, {0, 0, 100, 40}), (TRect{k.left, k.top, k.left + 32, k.top + 18})) << k.format;
    if (k.format & (DT_VCENTER | DT_BOTTOM)) {
      EXPECT_EQ(ret, k.top + 18 - 5);
    }
  }
}

TEST(DrawText, RightToLeftReadingMovesTheNeutralEnds) {
  auto draw = [](const char* text, UINT format) {
    auto c = std::make_unique<TTestCanvas>(80, 20);
    TFontScope f(c->dc, "MS Sans Serif", -11);
    SetBkMode(c->dc, TRANSPARENT);
    TRect r{0, 0, 80, 20};
    DrawText(c->dc, text, &r, format | DT_SINGLELINE);
    return c->Picture(r);
  };
  EXPECT_EQ(draw("abc!", DT_RTLREADING), draw("!abc", 0));
  EXPECT_EQ(draw("(x) y", DT_RTLREADING), draw("x) y(", 0));
}

}  // namespace
}  // namespace vandrel
