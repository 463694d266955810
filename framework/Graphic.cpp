#include "framework/Graphic.h"

#include <limits>

#include "framework/Filer.h"
#include "framework/PropertyInfo.h"

namespace vandrel {

const TClassInfo& TGraphic::StaticClassInfo() {
  static const TClassInfo info("TGraphic", &TPersistent::StaticClassInfo(), nullptr, {});
  return info;
}

void TGraphic::SetTransparent(bool value) {
  if (value == m_transparent) return;
  m_transparent = value;
  Changed();
}

void TGraphic::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !Empty());
}

std::vector<std::uint8_t> TGraphic::ReadSizedData(TStream& stream, std::string_view what) {
  const std::string kind(what);
  std::uint8_t count[4];
  if (stream.Read(count, 4) != 4) throw EInvalidGraphic(kind + " data is truncated: its byte count is missing");
  const std::int64_t size = std::int64_t(count[0]) | (std::int64_t(count[1]) << 8) |
                            (std::int64_t(count[2]) << 16) | (std::int64_t(count[3]) << 24);
  const std::int64_t remaining = stream.Size() - stream.Position();
  // Both ways are damage: a longer count would read past the block, a shorter one leaves bytes
  // that belong to nothing.
  if (size != remaining)
    throw EInvalidGraphic(kind + " data announces " + std::to_string(size) + " bytes but " +
                          std::to_string(remaining) + " are stored");
  return stream.ReadBytes(size);
}

void TGraphic::WriteSizedData(TStream& stream, const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() > std::numeric_limits<std::int32_t>::max())
    throw EWriteError("Picture too large for a component stream");
  const auto size = std::uint32_t(bytes.size());
  const std::uint8_t count[4] = {std::uint8_t(size), std::uint8_t(size >> 8), std::uint8_t(size >> 16),
                                 std::uint8_t(size >> 24)};
  stream.WriteBuffer(count, 4);
  stream.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
}

void TGraphic::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

}  // namespace vandrel
