#include "skin/SkinContent.h"

#include <memory>

#include "framework/Graphic.h"
#include "graphics/Bitmap.h"
#include "platform/core/Text.h"
#include "skin/BmpDecoder.h"
#include "skin/SkinRecords.h"
#include "skin/SkinSource.h"

namespace vandrel {

namespace {

// Real skins hold a few dozen images; an empty image record is only 12 bytes, so the bound keeps
// a damaged count from filling memory with millions of empty bitmaps.
constexpr int kMaxSkinImages = 16384;

constexpr TseColor kMagenta = 0x00FF00FF;

std::unique_ptr<TseBitmap> ReadKeyedRawImage(TStream& stream) {
  auto bitmap = std::make_unique<TseBitmap>();
  bitmap->LoadFromStream(stream);
  bitmap->KeyColor(kMagenta);
  bitmap->KeyColor(kTransparentKey);
  bitmap->CheckAlpha();
  return bitmap;
}

// A legacy record: name, byte count, a complete BMP file. Only (127, 0, 127) is keyed.
std::unique_ptr<TseBitmap> ReadBmpImage(TStream& stream) {
  const std::string name = ReadSkinString(stream, "the name of an image");
  const std::int32_t count = ReadSkinInteger(stream, "the size of image " + name);
  std::vector<std::uint8_t> storage;
  const std::span<const std::uint8_t> file = ReadSkinSpan(stream, count, "image " + name, storage);
  std::unique_ptr<TseBitmap> bitmap;
  try {
    bitmap = DecodeBmp(file);
  } catch (const EInvalidGraphic& e) {
    throw EInvalidGraphic("Image " + name + ": " + e.Message());
  }
  bitmap->KeyColor(kTransparentKey);
  bitmap->CheckAlpha();
  bitmap->SetName(name);
  return bitmap;
}

std::int32_t ReadCount(TStream& stream, std::string_view what, std::int32_t limit) {
  const std::int32_t count = ReadSkinInteger(stream, what);
  if (count < 0 || count > limit)
    throw EReadError("Invalid " + std::string(what) + " " + IntToStr(count));
  return count;
}

}  // namespace

void ReadSkinContent(TSeSkinSource& source, TStream& stream, TSkinContentForm form) {
  source.Clear();
  source.SetSkinName(ReadSkinString(stream, "the skin name"));
  source.SetSkinVersion(ReadSkinString(stream, "the skin version"));
  source.SetAuthor(ReadSkinString(stream, "the author"));
  source.SetAuthorEMail(ReadSkinString(stream, "the author's e-mail address"));
  source.SetAuthorURL(ReadSkinString(stream, "the author's web address"));

  bool raw = true;
  std::int32_t images;
  if (form == TSkinContentForm::General) {
    images = ReadCount(stream, "image count", kMaxSkinImages);
  } else {
    const std::int32_t field = ReadSkinInteger(stream, "image count");
    raw = HasBinaryRecordsMarker(field);
    images = raw ? field & ~kBinaryRecordsMarker : field;
    if (images < 0 || images > kMaxSkinImages) throw EReadError("Invalid image count " + IntToStr(images));
  }
  for (std::int32_t i = 0; i < images; ++i)
    source.Images().Add(raw ? ReadKeyedRawImage(stream) : ReadBmpImage(stream));

  const std::int32_t objects = ReadCount(stream, "object count", kMaxSkinObjects);
  const TObjectRecordForm records =
      form == TSkinContentForm::General ? TObjectRecordForm::Text : TObjectRecordForm::Binary;
  TSkinObjectBudget budget;
  for (std::int32_t i = 0; i < objects; ++i) {
    TSeSkinObject* object = source.AddObject(std::unique_ptr<TSeSkinObject>(ReadObjectRecord(stream, nullptr, records)));
    object->SetImages(&source.Images());
    object->AfterLoad();
  }
}

void WriteSkinContent(const TSeSkinSource& source, TStream& stream, TSkinContentForm form) {
  WriteSkinString(stream, source.SkinName());
  WriteSkinString(stream, source.SkinVersion());
  WriteSkinString(stream, source.Author());
  WriteSkinString(stream, source.AuthorEMail());
  WriteSkinString(stream, source.AuthorURL());
  const std::int32_t images = source.Images().Count();
  if (form == TSkinContentForm::General) {
    WriteSkinInteger(stream, images);
  } else {
    // A larger count would run into the marker bits.
    if (images > 0xFFFF) throw EWriteError("Too many images for the mskn form");
    WriteSkinInteger(stream, images | kBinaryRecordsMarker);
  }
  for (std::int32_t i = 0; i < images; ++i) source.Images().Items(i)->SaveToStream(stream);
  WriteSkinInteger(stream, source.Count());
  const TObjectRecordForm records =
      form == TSkinContentForm::General ? TObjectRecordForm::Text : TObjectRecordForm::Binary;
  for (int i = 0; i < source.Count(); ++i) WriteObjectRecord(stream, *source.ObjectAt(i), records);
}

}  // namespace vandrel
