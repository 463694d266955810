#include "framework/Picture.h"

#include <vector>

#include "framework/Bitmap.h"
#include "framework/Filer.h"
#include "framework/Icon.h"
#include "framework/JpegImage.h"
#include "framework/PropertyInfo.h"
#include "platform/core/Text.h"

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

// The graphic classes a stored picture may name.
std::unique_ptr<TGraphic> NewOfClassName(const std::string& name) {
  if (SameText(name, TBitmap::StaticClassInfo().Name())) return std::make_unique<TBitmap>();
  if (SameText(name, TJPEGImage::StaticClassInfo().Name())) return std::make_unique<TJPEGImage>();
  if (SameText(name, TIcon::StaticClassInfo().Name())) return std::make_unique<TIcon>();
  throw EInvalidGraphic("Picture data names an unknown graphic class '" + name + "'");
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

void TPicture::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); },
      m_graphic && !m_graphic->Empty());
}

void TPicture::ReadData(TStream& stream) {
  std::uint8_t length = 0;
  if (stream.Read(&length, 1) != 1) throw EInvalidGraphic("Picture data is empty");
  std::string name(length, '\0');
  if (stream.Read(name.data(), length) != length) throw EInvalidGraphic("Picture data is truncated in its class name");
  std::unique_ptr<TGraphic> graphic = NewOfClassName(name);
  graphic->ReadData(stream);
  Adopt(std::move(graphic));
}

void TPicture::WriteData(TStream& stream) const {
  const std::string_view name = m_graphic->ClassName();
  const auto length = std::uint8_t(name.size());
  stream.WriteBuffer(&length, 1);
  stream.WriteBuffer(name.data(), std::int64_t(name.size()));
  m_graphic->WriteData(stream);
}

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace vandrel
