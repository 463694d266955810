#include "platform/gdi/FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

#include "platform/core/Text.h"

// fontconfig's configuration parser loses two small blocks while it reads the system
// configuration (288 bytes, once per process, inside libfontconfig). Every program that draws text
// links this file, so the leak checker of sanitizer builds is told here, and only about that library.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace vandrel {

extern const char* const kFontAliasesXml;

class TFontFace {
 public:
  TFontFace(FT_Library library, std::string file, int index, FcCharSet* charset, int weight,
            int slant, std::string family)
      : m_library(library), m_file(std::move(file)), m_index(index),
        m_charset(charset ? FcCharSetCopy(charset) : nullptr), m_weight(weight), m_slant(slant),
        m_family(std::move(family)) {}
  ~TFontFace() {
    if (m_face) FT_Done_Face(m_face);
    if (m_charset) FcCharSetDestroy(m_charset);
  }

  FT_Face Face() {
    if (!m_face && !m_failed) {
      if (FT_New_Face(m_library, m_file.c_str(), m_index, &m_face) != 0) {
        m_face = nullptr;
        m_failed = true;
      }
    }
    return m_face;
  }
  bool HasChar(char32_t c) {
    if (m_charset) return FcCharSetHasChar(m_charset, FcChar32(c));
    FT_Face f = Face();
    return f && FT_Get_Char_Index(f, FT_ULong(c)) != 0;
  }
  // The face set to the pixel size (its own size object per size); null when unusable.
  FT_Face Sized(int ppem) {
    FT_Face f = Face();
    if (!f) return nullptr;
    auto it = m_sizes.find(ppem);
    if (it == m_sizes.end()) {
      FT_Size size = nullptr;
      if (FT_New_Size(f, &size) != 0) return nullptr;
      FT_Activate_Size(size);
      if (FT_Set_Pixel_Sizes(f, 0, FT_UInt(ppem)) != 0 && f->num_fixed_sizes > 0) {
        // Bitmap-only faces: the nearest strike.
        int best = 0;
        for (int i = 1; i < f->num_fixed_sizes; ++i)
          if (std::abs(f->available_sizes[i].height - ppem) <
              std::abs(f->available_sizes[best].height - ppem))
            best = i;
        FT_Select_Size(f, best);
      }
      it = m_sizes.emplace(ppem, size).first;
    }
    FT_Activate_Size(it->second);
    return f;
  }
  int Weight() const { return m_weight; }
  int Slant() const { return m_slant; }
  const std::string& Family() const { return m_family; }

 private:
  FT_Library m_library;
  std::string m_file;
  int m_index;
  FcCharSet* m_charset;
  int m_weight;
  int m_slant;
  std::string m_family;
  FT_Face m_face = nullptr;
  bool m_failed = false;
  std::map<int, FT_Size> m_sizes;
};

namespace {
int RoundDiv(long value, long divisor) {
  return int(std::lround(double(value) / double(divisor)));
}
}  // namespace

TFontInstance::TFontInstance(const LOGFONT& font, std::vector<std::shared_ptr<TFontFace>> chain)
    : m_font(font), m_chain(std::move(chain)) {
  FT_Face primary = nullptr;
  for (auto& face : m_chain)
    if ((primary = face->Face())) break;
  // Pixel size: a negative height is the character height, a positive one the cell height.
  m_ppem = 11;
  if (font.lfHeight < 0) {
    m_ppem = int(std::min<long long>(-(long long)font.lfHeight, 2000));
  } else if (font.lfHeight > 0) {
    m_ppem = std::min(font.lfHeight, 2000);
    if (primary && FT_IS_SCALABLE(primary)) {
      long cell = primary->ascender - primary->descender;
      if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(primary, FT_SFNT_OS2)))
        if (os2->usWinAscent + os2->usWinDescent > 0) cell = os2->usWinAscent + os2->usWinDescent;
      if (cell > 0) m_ppem = std::max(1, RoundDiv(long(m_ppem) * primary->units_per_EM, cell));
    }
  }
  m_ppem = std::clamp(m_ppem, 1, 2000);

  bool wantBold = font.lfWeight >= FW_SEMIBOLD;
  int faceWeight = m_chain.empty() ? FC_WEIGHT_REGULAR : m_chain.front()->Weight();
  m_embolden = wantBold && faceWeight < FC_WEIGHT_DEMIBOLD;
  m_oblique = font.lfItalic && !m_chain.empty() && m_chain.front()->Slant() == FC_SLANT_ROMAN;

  TEXTMETRIC& tm = m_metrics;
  tm.tmWeight = font.lfWeight ? font.lfWeight : FW_NORMAL;
  tm.tmItalic = font.lfItalic;
  tm.tmUnderlined = font.lfUnderline;
  tm.tmStruckOut = font.lfStrikeOut;
  tm.tmCharSet = font.lfCharSet;
  FT_Face f = nullptr;
  for (auto& face : m_chain)
    if ((f = face->Sized(m_ppem))) break;
  if (f) {
    tm.tmAscent = int((f->size->metrics.ascender + 63) >> 6);
    tm.tmDescent = int((-f->size->metrics.descender + 63) >> 6);
    if (tm.tmAscent + tm.tmDescent < m_ppem) tm.tmAscent = m_ppem - tm.tmDescent;
    tm.tmMaxCharWidth = int((f->size->metrics.max_advance + 63) >> 6);
    if (FT_IS_SCALABLE(f) && f->units_per_EM) {
      auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
      if (os2 && os2->xAvgCharWidth > 0)
        tm.tmAveCharWidth = std::max(1, RoundDiv(long(os2->xAvgCharWidth) * m_ppem, f->units_per_EM));
      long pos = FT_MulFix(f->underline_position, f->size->metrics.y_scale);
      long thick = FT_MulFix(f->underline_thickness, f->size->metrics.y_scale);
      m_underlineOffset = std::max(1, int(std::lround(-pos / 64.0)));
      m_lineThickness = std::max(1, int(std::lround(thick / 64.0)));
      if (os2 && os2->yStrikeoutPosition > 0)
        m_strikeOutOffset = -std::max(1, RoundDiv(long(os2->yStrikeoutPosition) * m_ppem, f->units_per_EM));
      else
        m_strikeOutOffset = -std::max(1, m_ppem * 3 / 10);
    }
  } else {
    tm.tmAscent = m_ppem - m_ppem / 5;
    tm.tmDescent = m_ppem / 5;
    tm.tmMaxCharWidth = m_ppem;
    m_strikeOutOffset = -std::max(1, m_ppem * 3 / 10);
  }
  m_underlineOffset = std::min(m_underlineOffset, std::max(1, tm.tmDescent - 1));
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - m_ppem);
  if (tm.tmAveCharWidth == 0) tm.tmAveCharWidth = std::max(1, Advance(U'x'));
  if (m_embolden) tm.tmMaxCharWidth += 1;
}

TFontInstance::~TFontInstance() = default;

std::string TFontInstance::FamilyName() const {
  return m_chain.empty() ? std::string() : m_chain.front()->Family();
}

const TGlyph& TFontInstance::Glyph(char32_t c) const {
  auto it = m_glyphs.find(c);
  if (it != m_glyphs.end()) return it->second;
  return m_glyphs.emplace(c, Render(c)).first->second;
}

TGlyph TFontInstance::Render(char32_t c) const {
  TGlyph g;
  if (c < 0x20 || c == 0x7F) return g;  // control characters take no room
  TFontFace* face = nullptr;
  for (auto& candidate : m_chain)
    if (candidate->HasChar(c) && candidate->Face()) {
      face = candidate.get();
      break;
    }
  FT_UInt index = 0;
  if (face) {
    index = FT_Get_Char_Index(face->Face(), FT_ULong(c));
  } else {
    for (auto& candidate : m_chain)
      if (candidate->Face()) {
        face = candidate.get();  // the missing-glyph box of the first face
        break;
      }
  }
  if (!face) {
    g.advance = m_ppem / 2;
    return g;
  }
  FT_Face f = face->Sized(m_ppem);
  if (!f) return g;
  bool oblique = m_oblique && face->Slant() == FC_SLANT_ROMAN;
  if (oblique) {
    FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};  // about 12 degrees
    FT_Set_Transform(f, &shear, nullptr);
  }
  FT_Error err = FT_Load_Glyph(f, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL);
  if (oblique) FT_Set_Transform(f, nullptr, nullptr);
  if (err) return g;
  FT_GlyphSlot slot = f->glyph;
  if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
    return g;
  const FT_Bitmap& bm = slot->bitmap;
  g.width = int(bm.width);
  g.height = int(bm.rows);
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.advance = int((slot->advance.x + 32) >> 6);
  g.coverage.assign(size_t(g.width) * size_t(g.height), 0);
  for (int y = 0; y < g.height; ++y) {
    const unsigned char* row = bm.buffer + std::ptrdiff_t(y) * bm.pitch;
    std::uint8_t* out = g.coverage.data() + size_t(y) * size_t(g.width);
    for (int x = 0; x < g.width; ++x) {
      switch (bm.pixel_mode) {
        case FT_PIXEL_MODE_MONO: out[x] = (row[x / 8] & (0x80 >> (x % 8))) ? 255 : 0; break;
        case FT_PIXEL_MODE_GRAY:
          out[x] = bm.num_grays == 256 ? row[x] : std::uint8_t(row[x] * 255 / std::max(1, bm.num_grays - 1));
          break;
        case FT_PIXEL_MODE_BGRA: out[x] = row[x * 4 + 3]; break;
        default: out[x] = 0; break;
      }
    }
  }
  if (m_embolden && face->Weight() < FC_WEIGHT_DEMIBOLD && g.width > 0) {
    // Synthetic bold as a one-pixel overstrike: crisp on bitmap strikes, one pixel wider.
    std::vector<std::uint8_t> bold(size_t(g.width + 1) * size_t(g.height), 0);
    for (int y = 0; y < g.height; ++y)
      for (int x = 0; x <= g.width; ++x) {
        std::uint8_t a = x < g.width ? g.coverage[size_t(y * g.width + x)] : 0;
        std::uint8_t b = x > 0 ? g.coverage[size_t(y * g.width + x - 1)] : 0;
        bold[size_t(y * (g.width + 1) + x)] = std::max(a, b);
      }
    g.coverage = std::move(bold);
    ++g.width;
    ++g.advance;
  } else if (m_embolden && face->Weight() < FC_WEIGHT_DEMIBOLD) {
    ++g.advance;
  }
  return g;
}

struct TFontEngine::TImpl {
  FT_Library library = nullptr;
  FcConfig* config = nullptr;
  std::map<std::pair<std::string, int>, std::shared_ptr<TFontFace>> faces;
  std::map<std::tuple<std::string, int, int, bool>, std::shared_ptr<TFontInstance>> instances;

  std::vector<std::shared_ptr<TFontFace>> Chain(const LOGFONT& font, int pixelSize) {
    std::vector<std::shared_ptr<TFontFace>> chain;
    if (!config || !library) return chain;
    std::string family = font.lfFaceName.empty() ? std::string("MS Sans Serif") : font.lfFaceName;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    int weight = font.lfWeight > 0 ? font.lfWeight : FW_NORMAL;
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(weight, 1, 1000)));
    FcPatternAddInteger(pattern, FC_SLANT, font.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    if (pixelSize > 0) FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixelSize);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* set = FcFontSort(config, pattern, FcTrue, nullptr, &result);
    if (set) {
      for (int i = 0; i < set->nfont && chain.size() < 24; ++i) {
        FcPattern* p = set->fonts[i];
        FcChar8* file = nullptr;
        int index = 0, fw = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        FcCharSet* charset = nullptr;
        FcChar8* fam = nullptr;
        if (FcPatternGetString(p, FC_FILE, 0, &file) != FcResultMatch) continue;
        FcPatternGetInteger(p, FC_INDEX, 0, &index);
        FcPatternGetInteger(p, FC_WEIGHT, 0, &fw);
        FcPatternGetInteger(p, FC_SLANT, 0, &slant);
        FcPatternGetCharSet(p, FC_CHARSET, 0, &charset);
        FcPatternGetString(p, FC_FAMILY, 0, &fam);
        std::pair<std::string, int> key{reinterpret_cast<const char*>(file), index};
        auto it = faces.find(key);
        if (it == faces.end())
          it = faces.emplace(key, std::make_shared<TFontFace>(
                                      library, key.first, index, charset, fw, slant,
                                      fam ? reinterpret_cast<const char*>(fam) : ""))
                   .first;
        chain.push_back(it->second);
      }
      FcFontSetDestroy(set);
    }
    FcPatternDestroy(pattern);
    return chain;
  }
};

TFontEngine& TFontEngine::Instance() {
  // Lives to the end of the process: fonts selected into contexts may outlast any static order.
  static TFontEngine* engine = new TFontEngine();
  return *engine;
}

TFontEngine::TFontEngine() : m_impl(std::make_unique<TImpl>()) {
  if (FT_Init_FreeType(&m_impl->library) != 0) m_impl->library = nullptr;
  m_impl->config = FcInitLoadConfigAndFonts();
  if (m_impl->config)
    FcConfigParseAndLoadFromMemory(m_impl->config, reinterpret_cast<const FcChar8*>(kFontAliasesXml),
                                   FcTrue);
}

TFontEngine::~TFontEngine() = default;

std::shared_ptr<TFontInstance> TFontEngine::Resolve(const LOGFONT& font) {
  bool bold = font.lfWeight >= FW_SEMIBOLD;
  auto key = std::make_tuple(LowerCase(font.lfFaceName), font.lfHeight, bold ? 1 : 0, font.lfItalic);
  // Underline and strike-out only change drawing, so they share the chain and glyphs.
  LOGFONT base = font;
  base.lfUnderline = base.lfStrikeOut = false;
  auto it = m_impl->instances.find(key);
  if (it == m_impl->instances.end()) {
    int pixelSize = font.lfHeight < 0 ? int(std::min<long long>(-(long long)font.lfHeight, 2000))
                                      : (font.lfHeight == 0 ? 11 : 0);
    auto instance = std::make_shared<TFontInstance>(base, m_impl->Chain(base, pixelSize));
    it = m_impl->instances.emplace(key, std::move(instance)).first;
  }
  return it->second;
}

}  // namespace vandrel
