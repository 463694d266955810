#include "framework/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

#include "framework/Canvas.h"
#include "framework/PropertyInfo.h"

namespace vandrel {

namespace {
// Larger pictures are refused before any pixel memory is taken.
constexpr std::uint64_t kMaxPixels = 64ull << 20;
constexpr std::int64_t kMaxFileSize = 256ll << 20;

struct TErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = {};
  int warnings = 0;
  char warning[JMSG_LENGTH_MAX] = {};
};

void OnError(j_common_ptr info) {
  auto* err = reinterpret_cast<TErrorManager*>(info->err);
  info->err->format_message(info, err->message);
  std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
  // Level -1 is a warning: corrupt or truncated data that libjpeg would paper over.
  if (level < 0) {
    auto* err = reinterpret_cast<TErrorManager*>(info->err);
    if (err->warnings++ == 0) info->err->format_message(info, err->warning);
  }
}

// Decodes into bitmap; returns an empty string or the reason it failed. No C++ object with a
// destructor lives across the setjmp.
std::string Decode(const std::vector<std::uint8_t>& data, TBitmap& bitmap) {
  jpeg_decompress_struct cinfo;
  TErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  std::vector<std::uint8_t>* rowBuffer = new std::vector<std::uint8_t>();
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    delete rowBuffer;
    return err.message;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&cinfo, TRUE);
  bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  if (std::uint64_t(cinfo.image_width) * cinfo.image_height > kMaxPixels || cinfo.image_width > 32768 ||
      cinfo.image_height > 32768) {
    jpeg_destroy_decompress(&cinfo);
    delete rowBuffer;
    return "image too large";
  }
  jpeg_start_decompress(&cinfo);
  int w = int(cinfo.output_width), h = int(cinfo.output_height), comps = cinfo.output_components;
  bitmap.SetSize(w, h);
  rowBuffer->resize(size_t(w) * size_t(comps));
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = rowBuffer->data();
    int y = int(cinfo.output_scanline);
    jpeg_read_scanlines(&cinfo, &row, 1);
    std::uint32_t* out = bitmap.ScanLine(y);
    const std::uint8_t* in = rowBuffer->data();
    for (int x = 0; x < w; ++x) {
      if (cmyk) {
        // Adobe writes CMYK inverted; k scales the other three.
        int c = in[x * 4], m = in[x * 4 + 1], yy = in[x * 4 + 2], k = in[x * 4 + 3];
        out[x] = PixelFromRGB(c * k / 255, m * k / 255, yy * k / 255);
      } else {
        out[x] = PixelFromRGB(in[x * 3], in[x * 3 + 1], in[x * 3 + 2]);
      }
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  delete rowBuffer;
  if (err.warnings > 0) return std::string("damaged data (") + err.warning + ")";
  return {};
}
}  // namespace

bool LooksLikeJpeg(const std::uint8_t* data, size_t size) {
  return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

const TClassInfo& TJPEGImage::StaticClassInfo() {
  static const TClassInfo info("TJPEGImage", &TGraphic::StaticClassInfo(), nullptr, {});
  return info;
}

TJPEGImage::TJPEGImage() : m_bitmap(std::make_unique<TBitmap>()) {}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(const TPersistent& source) {
  if (auto* j = dynamic_cast<const TJPEGImage*>(&source)) {
    if (j == this) return;
    m_bitmap->Assign(*j->m_bitmap);
    m_data = j->m_data;
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

void TJPEGImage::LoadFromStream(TStream& stream) {
  std::int64_t size = stream.Size() - stream.Position();
  if (size <= 0) throw EInvalidGraphic("JPEG image is empty");
  if (size > kMaxFileSize) throw EInvalidGraphic("JPEG image is too large");
  LoadFromBytes(stream.ReadBytes(size));
}

void TJPEGImage::LoadFromBytes(const std::vector<std::uint8_t>& bytes) {
  if (!LooksLikeJpeg(bytes.data(), bytes.size())) throw EInvalidGraphic("Not a JPEG image");
  TBitmap decoded;
  std::string error = Decode(bytes, decoded);
  if (!error.empty()) throw EInvalidGraphic("JPEG image is not valid: " + error);
  m_bitmap->Assign(decoded);
  m_data = bytes;
  Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) const {
  if (m_data.empty()) throw EInvalidOperation("JPEG image has no data to save");
  stream.WriteBuffer(m_data.data(), std::int64_t(m_data.size()));
}

void TJPEGImage::ReadData(TStream& stream) { LoadFromBytes(ReadSizedData(stream, "JPEG image")); }

void TJPEGImage::WriteData(TStream& stream) const {
  if (m_data.empty()) throw EInvalidOperation("JPEG image has no data to save");
  WriteSizedData(stream, m_data);
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& rect) const { canvas.StretchDraw(rect, *m_bitmap); }

}  // namespace vandrel
