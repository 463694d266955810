// Logical fonts: what CreateFont asks for. The face chain that renders it (fontconfig match plus
// fallbacks for missing characters) is resolved on first use and shared by equal requests.
#pragma once

#include <memory>

#include "platform/gdi/GdiObject.h"

namespace vandrel {

class TFontInstance;

class TFontObject : public TGdiObject {
 public:
  explicit TFontObject(LOGFONT font) : m_font(std::move(font)) {}
  int ObjectType() const override { return OBJ_FONT; }
  const LOGFONT& LogFont() const { return m_font; }
  // Never null: an unknown face falls back to whatever fontconfig offers.
  const TFontInstance& Instance() const;

 private:
  LOGFONT m_font;
  mutable std::shared_ptr<TFontInstance> m_instance;
};

HFONT CreateFontIndirect(const LOGFONT& font);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, bool italic,
                 bool underline, bool strikeOut, int charSet, int outPrecision, int clipPrecision,
                 int quality, int pitchAndFamily, const std::string& faceName);
int GetObject(HFONT font, int size, void* out);  // fills a LOGFONT

}  // namespace vandrel
