#include "framework/Picture.h"

#include <vector>

#include "framework/Bitmap.h"
#include "framework/Icon.h"
#include "framework/JpegImage.h"
#include "framework/PropertyInfo.h"

namespace vandrel {

const TClassInfo& TPicture::StaticClassInfo() {
  static const TClassInfo info("TPicture", &TPersistent::StaticClassInfo(), nullptr, {});
  return info;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

namespace {
std::unique_ptr<TGraphic> NewOfKind(const TGraphic& g) {
  if (dynamic_cast<const TJPEGImage*>(&g)) return std::make_unique<TJPEGImage>();
  if (dynamic_cast<const TIcon*>(&g)) return std::make_unique<TIcon>();
  if (dynamic_cast<const TBitmap*>(&g)) return std::make_unique<TBitmap>();
  throw EInvalidGraphic("Unknown picture kind");
}
}  // namespace

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
  m_graphic = std::move(graphic);
  if (m_graphic) m_graphic->OnChange = [this](TGraphic*) { Changed(); };
  Changed();
}

void TPicture::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TPicture*>(&source)) {
    SetGraphic(p->m_graphic.get());
    return;
  }
  if (auto* g = dynamic_cast<const TGraphic*>(&source)) {
    SetGraphic(g);
    return;
  }
  TPersistent::Assign(source);
}

void TPicture::SetGraphic(const TGraphic* graphic) {
  if (!graphic) {
    Adopt(nullptr);
    return;
  }
  auto copy = NewOfKind(*graphic);
  copy->Assign(*graphic);
  Adopt(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(m_graphic.get())) return b;
  Adopt(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(m_graphic.get());
}

int TPicture::Width() const { return m_graphic ? m_graphic->Width() : 0; }
int TPicture::Height() const { return m_graphic ? m_graphic->Height() : 0; }

void TPicture::LoadFromStream(TStream& stream) {
  std::int64_t start = stream.Position();
  std::uint8_t head[4] = {};
  std::int64_t n = stream.Read(head, 4);
  stream.SetPosition(start);
  std::unique_ptr<TGraphic> g;
  if (n >= 3 && LooksLikeJpeg(head, size_t(n)))
    g = std::make_unique<TJPEGImage>();
  else if (n >= 2 && head[0] == 'B' && head[1] == 'M')
    g = std::make_unique<TBitmap>();
  else if (n >= 4 && head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0)
    g = std::make_unique<TIcon>();
  else
    throw EInvalidGraphic("Unknown picture format");
  g->LoadFromStream(stream);
  Adopt(std::move(g));
}

void TPicture::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead);
  LoadFromStream(stream);
}

void TPicture::SaveToFile(const std::string& fileName) const {
  if (!m_graphic) throw EInvalidOperation("Picture is empty");
  m_graphic->SaveToFile(fileName);
}

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace vandrel
