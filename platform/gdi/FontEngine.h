// Font resolution and glyph rendering: fontconfig (with the program's alias file loaded from
// memory) turns a logical font into an ordered chain of faces, FreeType renders glyphs from the
// first face of the chain that has them. Chains are cached per face name, size and style; faces
// are opened once per process; glyphs are cached per chain as 8-bit coverage (embedded 1-bit
// strikes expanded to 0/255, so bitmap faces stay crisp in grey mode).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace vandrel {

struct TGlyph {
  int width = 0;
  int height = 0;
  int left = 0;     // from the pen position to the first column
  int top = 0;      // from the baseline up to the first row
  int advance = 0;  // whole pixels
  std::vector<std::uint8_t> coverage;  // width * height, 0..255
};

class TFontFace;

class TFontInstance {
 public:
  TFontInstance(const LOGFONT& font, std::vector<std::shared_ptr<TFontFace>> chain);
  ~TFontInstance();

  const TGlyph& Glyph(char32_t c) const;
  int Advance(char32_t c) const { return Glyph(c).advance; }
  const TEXTMETRIC& Metrics() const { return m_metrics; }
  int PixelSize() const { return m_ppem; }
  // Rows below the baseline (positive down) and thickness of the underline and strike-out.
  int UnderlineOffset() const { return m_underlineOffset; }
  int StrikeOutOffset() const { return m_strikeOutOffset; }
  int LineThickness() const { return m_lineThickness; }
  // The family of the first face of the chain ("" when there is none).
  std::string FamilyName() const;

 private:
  TGlyph Render(char32_t c) const;

  LOGFONT m_font;
  std::vector<std::shared_ptr<TFontFace>> m_chain;
  int m_ppem = 11;
  bool m_embolden = false;
  bool m_oblique = false;
  TEXTMETRIC m_metrics;
  int m_underlineOffset = 1;
  int m_strikeOutOffset = -3;
  int m_lineThickness = 1;
  mutable std::unordered_map<char32_t, TGlyph> m_glyphs;
};

class TFontEngine {
 public:
  static TFontEngine& Instance();
  // Never null: with no usable font at all, an instance without faces (blank glyphs).
  std::shared_ptr<TFontInstance> Resolve(const LOGFONT& font);
  ~TFontEngine();

 private:
  TFontEngine();
  struct TImpl;
  std::unique_ptr<TImpl> m_impl;
};

}  // namespace vandrel
