// TFont: the font a control or canvas draws text with. A value object with a change callback; the
// platform font handle is made on first use and dropped whenever a property changes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "framework/Persistent.h"
#include "framework/SmallSet.h"
#include "platform/core/Color.h"
#include "platform/gdi/GdiTypes.h"

namespace vandrel {

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSmallSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  TFont();
  ~TFont() override;

  void Assign(const TPersistent& source) override;
  bool SameAs(const TFont& other) const;

  const std::string& Name() const { return m_name; }
  void SetName(const std::string& name);
  // Negative: character height in pixels; positive: cell height.
  int Height() const { return m_height; }
  void SetHeight(int height);
  // Points at 96 pixels per inch.
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return m_style; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return m_color; }
  void SetColor(TColor color);
  int Charset() const { return m_charset; }
  void SetCharset(int charset);
  TFontPitch Pitch() const { return m_pitch; }
  void SetPitch(TFontPitch pitch);

  // Owned by the font; valid until the next change.
  HFONT Handle() const;
  LOGFONT LogFont() const;

  std::function<void(TFont*)> OnChange;

 private:
  void Changed();
  void FreeHandle() const;

  std::string m_name = "MS Sans Serif";
  int m_height = -11;
  TFontStyles m_style;
  TColor m_color = clWindowText;
  int m_charset = DEFAULT_CHARSET;
  TFontPitch m_pitch = fpDefault;
  mutable HFONT m_handle;
};

// The stored identifiers of character sets (DEFAULT_CHARSET, GB2312_CHARSET, ...).
std::optional<std::string_view> CharsetIdentOf(std::int32_t charset);
std::optional<std::int32_t> CharsetOfIdent(std::string_view ident);

}  // namespace vandrel
