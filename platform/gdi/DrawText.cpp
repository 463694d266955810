#include "platform/gdi/DrawText.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gdi/Raster.h"
#include "platform/gdi/TextRender.h"

namespace vandrel {

namespace {

struct TChar {
  char32_t code;
  bool underline;
};
using TLine = std::vector<TChar>;

bool IsFullWidth(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
         (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

bool IsNeutral(char32_t c) {
  return c == ' ' || c == '\t' || (c < 0x80 && !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                                                (c >= 'a' && c <= 'z'))) ||
         (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFF0F);
}

class TLayout {
 public:
  TLayout(const TFontInstance& font, UINT format) : m_font(font), m_format(format) {
    int chars = (format & DT_TABSTOP) ? int((format >> 8) & 0xFF) : 8;
    if (chars <= 0) chars = 8;
    m_tab = std::max(1, chars * font.Metrics().tmAveCharWidth);
  }

  // Advance of each character of a line in order, tabs expanded from the line's start.
  std::vector<int> Advances(const TLine& line) const {
    std::vector<int> out;
    out.reserve(line.size());
    int x = 0;
    for (const TChar& c : line) {
      int a;
      if (c.code == '\t' && (m_format & DT_EXPANDTABS))
        a = (x / m_tab + 1) * m_tab - x;
      else
        a = m_font.Advance(c.code);
      out.push_back(a);
      x += a;
    }
    return out;
  }
  int Width(const TLine& line) const {
    int w = 0;
    for (int a : Advances(line)) w += a;
    return w;
  }

  std::vector<TLine> Lines(const std::u32string& text, int maxWidth) const {
    TLine all = Prefixed(text);
    std::vector<TLine> paragraphs;
    if (m_format & DT_SINGLELINE) {
      paragraphs.push_back(all);
    } else {
      paragraphs.emplace_back();
      for (size_t i = 0; i < all.size(); ++i) {
        char32_t c = all[i].code;
        if (c == '\r' || c == '\n') {
          if (c == '\r' && i + 1 < all.size() && all[i + 1].code == '\n') ++i;
          paragraphs.emplace_back();
        } else {
          paragraphs.back().push_back(all[i]);
        }
      }
    }
    if (!(m_format & DT_WORDBREAK) || (m_format & DT_SINGLELINE)) return paragraphs;
    std::vector<TLine> lines;
    for (const TLine& p : paragraphs) Wrap(p, maxWidth, lines);
    return lines;
  }

 private:
  TLine Prefixed(const std::u32string& text) const {
    TLine out;
    bool prefixes = !(m_format & DT_NOPREFIX);
    bool show = !(m_format & DT_HIDEPREFIX);
    for (size_t i = 0; i < text.size(); ++i) {
      if (prefixes && text[i] == '&') {
        if (i + 1 >= text.size()) break;  // a lone "&" at the end shows nothing
        ++i;
        out.push_back({text[i], show && text[i] != '&'});
        continue;
      }
      out.push_back({text[i], false});
    }
    return out;
  }

  // Greedy breaking at spaces and around full-width characters.
  void Wrap(const TLine& p, int maxWidth, std::vector<TLine>& lines) const {
    // Words: a run of non-spaces, or one full-width character, with its trailing spaces.
    std::vector<std::pair<size_t, size_t>> words;  // [begin, end) including trailing spaces
    size_t i = 0;
    while (i < p.size()) {
      size_t start = i;
      if (IsFullWidth(p[i].code)) {
        ++i;
      } else {
        while (i < p.size() && p[i].code != ' ' && !IsFullWidth(p[i].code)) ++i;
      }
      while (i < p.size() && p[i].code == ' ') ++i;
      if (i == start) ++i;
      words.push_back({start, i});
    }
    TLine line;
    for (auto [b, e] : words) {
      TLine word(p.begin() + std::ptrdiff_t(b), p.begin() + std::ptrdiff_t(e));
      TLine candidate = line;
      candidate.insert(candidate.end(), word.begin(), word.end());
      if (!line.empty() && Width(TrimEnd(candidate)) > maxWidth) {
        lines.push_back(TrimEnd(line));
        line = word;
      } else {
        line = std::move(candidate);
      }
    }
    lines.push_back(TrimEnd(line));
  }

  static TLine TrimEnd(TLine line) {
    while (!line.empty() && line.back().code == ' ') line.pop_back();
    return line;
  }

  const TFontInstance& m_font;
  UINT m_format;
  int m_tab = 8;
};

// The longest prefix of the line that fits in maxWidth together with "...", then "...".
void EndEllipsis(const TLayout& layout, TLine& line, int maxWidth) {
  if (layout.Width(line) <= maxWidth) return;
  TLine dots(3, TChar{U'.', false});
  while (!line.empty()) {
    line.pop_back();
    TLine candidate = line;
    candidate.insert(candidate.end(), dots.begin(), dots.end());
    if (layout.Width(candidate) <= maxWidth) break;
  }
  line.insert(line.end(), dots.begin(), dots.end());
}

// Right-to-left reading order for a line without right-to-left letters: the neutral ends swap.
void ReorderRtl(TLine& line, std::vector<int>& advances) {
  size_t first = 0, last = line.size();
  while (first < line.size() && IsNeutral(line[first].code)) ++first;
  while (last > first && IsNeutral(line[last - 1].code)) --last;
  std::vector<size_t> order;
  for (size_t i = line.size(); i > last; --i) order.push_back(i - 1);
  for (size_t i = first; i < last; ++i) order.push_back(i);
  for (size_t i = first; i > 0; --i) order.push_back(i - 1);
  TLine l;
  std::vector<int> a;
  for (size_t i : order) {
    l.push_back(line[i]);
    a.push_back(advances[i]);
  }
  line = std::move(l);
  advances = std::move(a);
}

}  // namespace

int DrawText(HDC dc, std::string_view text, TRect* rect, UINT format) {
  TDeviceContext* d = LookupDC(dc);
  if (!d || !rect) return 0;
  const TFontObject& fontObject = CurrentFont(*d);
  const TFontInstance& font = fontObject.Instance();
  const TEXTMETRIC& tm = font.Metrics();
  int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  bool single = format & DT_SINGLELINE;

  if (text.empty()) {
    if (format & DT_CALCRECT) {
      rect->Right = rect->Left;
      rect->Bottom = TDeviceContext::Clamp(std::int64_t(rect->Top) + (single ? lineHeight : 0));
    }
    return lineHeight;
  }

  TLayout layout(font, format);
  // Layout and drawing work in surface coordinates, which are kept far from overflow.
  const TRect logical = *rect;
  TRect area = d->ToSurface(logical);
  std::vector<TLine> lines = layout.Lines(DecodeUtf8(text), area.Width());
  if (format & DT_END_ELLIPSIS)
    for (TLine& line : lines) EndEllipsis(layout, line, area.Width());
  int height = int(lines.size()) * lineHeight;

  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const TLine& line : lines) widest = std::max(widest, layout.Width(line));
    rect->Right = TDeviceContext::Clamp(std::int64_t(logical.Left) + widest);
    rect->Bottom = TDeviceContext::Clamp(std::int64_t(logical.Top) + height);
    return height;
  }

  int y = area.Top;
  if (single && (format & DT_VCENTER))
    y = area.Top + (area.Height() - lineHeight) / 2;
  else if (single && (format & DT_BOTTOM))
    y = area.Bottom - lineHeight;
  const int result = (single && (format & (DT_VCENTER | DT_BOTTOM))) ? y + lineHeight - area.Top : height;

  TDcState& st = d->State();
  TRect clip = area;
  const TRect* clipPtr = (format & DT_NOCLIP) ? nullptr : &clip;
  if (clipPtr && clip.IsEmpty()) return result;
  std::uint32_t color = PixelFromColor(st.textColor);
  std::uint32_t bk = PixelFromColor(st.bkColor);
  bool prefixOnly = format & DT_PREFIXONLY;

  for (size_t n = 0; n < lines.size(); ++n, y += lineHeight) {
    TLine& line = lines[n];
    std::vector<int> advances = layout.Advances(line);
    int width = 0;
    for (int a : advances) width += a;
    if (format & DT_RTLREADING) ReorderRtl(line, advances);
    int x = area.Left;
    if (format & DT_CENTER)
      x = area.Left + (area.Width() - width) / 2;
    else if (format & DT_RIGHT)
      x = area.Right - width;
    int baseline = y + tm.tmAscent;
    int sx = x;
    if (st.bkMode == OPAQUE && !prefixOnly && width > 0) {
      TRect cell{sx, y, sx + width, y + lineHeight};
      if (clipPtr) IntersectRect(cell, cell, clip);
      FillSurfaceRect(*d, cell, SolidPaint(bk));
    }
    std::u32string codes;
    for (const TChar& c : line) codes.push_back(c.code == '\t' ? U' ' : c.code);
    if (!prefixOnly) {
      TGlyphRunStyle style;
      style.color = color;
      style.underline = fontObject.LogFont().lfUnderline;
      style.strikeOut = fontObject.LogFont().lfStrikeOut;
      style.dx = advances.data();
      style.clip = clipPtr;
      DrawGlyphRun(*d, font, codes, {sx, baseline}, style);
    }
    int cx = sx;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i].underline) DrawUnderline(*d, font, cx, cx + advances[i], baseline, color, clipPtr);
      cx += advances[i];
    }
  }
  return result;
}

}  // namespace vandrel
