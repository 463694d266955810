#include "platform/gdi/Font.h"

#include <cstring>

#include "platform/gdi/FontEngine.h"

namespace vandrel {

const TFontInstance& TFontObject::Instance() const {
  if (!m_instance) m_instance = TFontEngine::Instance().Resolve(m_font);
  return *m_instance;
}

HFONT CreateFontIndirect(const LOGFONT& font) {
  return HFONT(TGdiObjectTable::Instance().Add(std::make_shared<TFontObject>(font)));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, bool italic,
                 bool underline, bool strikeOut, int charSet, int, int, int quality, int,
                 const std::string& faceName) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfStrikeOut = strikeOut;
  lf.lfCharSet = charSet;
  lf.lfQuality = quality;
  lf.lfFaceName = faceName;
  return CreateFontIndirect(lf);
}

int GetObject(HFONT font, int size, void* out) {
  auto* f = LookupObject<TFontObject>(font.Value());
  if (!f || !out || size < int(sizeof(LOGFONT))) return 0;
  *static_cast<LOGFONT*>(out) = f->LogFont();
  return int(sizeof(LOGFONT));
}

}  // namespace vandrel
