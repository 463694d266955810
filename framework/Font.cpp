#include "framework/Font.h"

#include <array>
#include <cmath>
#include <string_view>

#include "framework/PropertyInfo.h"
#include "platform/core/Text.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/GdiObject.h"

namespace vandrel {

namespace {
constexpr std::array<std::string_view, 4> kFontStyleNames = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
constexpr std::array<std::string_view, 3> kFontPitchNames = {"fpDefault", "fpVariable", "fpFixed"};
static_assert(kFontStyleNames.size() == size_t(fsStrikeOut) + 1);
static_assert(kFontPitchNames.size() == size_t(fpFixed) + 1);

// Stored fonts name their character set by identifier (Font.Charset = DEFAULT_CHARSET).
struct TCharsetIdent {
  int value;
  std::string_view name;
};
constexpr TCharsetIdent kCharsetIdents[] = {
    {0, "ANSI_CHARSET"},        {1, "DEFAULT_CHARSET"},     {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},        {128, "SHIFTJIS_CHARSET"},  {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},     {134, "GB2312_CHARSET"},    {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},     {162, "TURKISH_CHARSET"},   {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},    {178, "ARABIC_CHARSET"},    {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"},   {222, "THAI_CHARSET"},      {238, "EASTEUROPE_CHARSET"},
    {255, "OEM_CHARSET"},
};
}  // namespace

std::optional<std::string_view> CharsetIdentOf(std::int32_t charset) {
  for (const TCharsetIdent& c : kCharsetIdents)
    if (c.value == charset) return c.name;
  return std::nullopt;
}

std::optional<std::int32_t> CharsetOfIdent(std::string_view ident) {
  for (const TCharsetIdent& c : kCharsetIdents)
    if (SameText(c.name, ident)) return c.value;
  return std::nullopt;
}

const TClassInfo& TFont::StaticClassInfo() {
  using T = TFont;
  static const TClassInfo info("TFont", &TPersistent::StaticClassInfo(), nullptr, {
      prop::IdentInteger("Charset", &T::Charset, &T::SetCharset, &CharsetIdentOf, &CharsetOfIdent, DEFAULT_CHARSET),
      prop::Color("Color", &T::Color, &T::SetColor, clWindowText),
      prop::Integer("Height", &T::Height, &T::SetHeight),
      prop::String("Name", &T::Name, &T::SetName),
      prop::Enum("Pitch", &T::Pitch, &T::SetPitch, kFontPitchNames, fpDefault),
      prop::Set("Style", &T::Style, &T::SetStyle, kFontStyleNames, TFontStyles{}),
  });
  return info;
}

TFont::TFont() = default;

TFont::~TFont() { FreeHandle(); }

void TFont::Assign(const TPersistent& source) {
  if (auto* f = dynamic_cast<const TFont*>(&source)) {
    if (SameAs(*f)) return;
    m_name = f->m_name;
    m_height = f->m_height;
    m_style = f->m_style;
    m_color = f->m_color;
    m_charset = f->m_charset;
    m_pitch = f->m_pitch;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

bool TFont::SameAs(const TFont& o) const {
  return m_name == o.m_name && m_height == o.m_height && m_style == o.m_style && m_color == o.m_color &&
         m_charset == o.m_charset && m_pitch == o.m_pitch;
}

void TFont::SetName(const std::string& name) {
  if (name.empty() || name == m_name) return;
  m_name = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == m_height) return;
  m_height = height;
  Changed();
}

int TFont::Size() const { return int(std::lround(-m_height * 72.0 / 96.0)); }

void TFont::SetSize(int points) { SetHeight(-int(std::lround(points * 96.0 / 72.0))); }

void TFont::SetStyle(TFontStyles style) {
  if (style == m_style) return;
  m_style = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == m_color) return;
  m_color = color;
  // The colour is not part of the platform font: the handle stays.
  if (OnChange) OnChange(this);
}

void TFont::SetCharset(int charset) {
  if (charset == m_charset) return;
  m_charset = charset;
  Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == m_pitch) return;
  m_pitch = pitch;
  Changed();
}

LOGFONT TFont::LogFont() const {
  LOGFONT lf;
  lf.lfHeight = m_height;
  lf.lfWeight = m_style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = m_style.Contains(fsItalic);
  lf.lfUnderline = m_style.Contains(fsUnderline);
  lf.lfStrikeOut = m_style.Contains(fsStrikeOut);
  lf.lfCharSet = m_charset;
  lf.lfFaceName = m_name;
  return lf;
}

HFONT TFont::Handle() const {
  if (!m_handle) m_handle = CreateFontIndirect(LogFont());
  return m_handle;
}

void TFont::FreeHandle() const {
  if (m_handle) DeleteObject(m_handle);
  m_handle = HFONT();
}

void TFont::Changed() {
  FreeHandle();
  if (OnChange) OnChange(this);
}

}  // namespace vandrel
