#include "tests/skin/SkinTestData.h"

#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "framework/ObjectText.h"
#include "platform/core/Text.h"

namespace vandrel::test {

std::unique_ptr<TseBitmap> MakeImage(const std::string& name, int width, int height,
                                     std::initializer_list<TseColor> pixels) {
  auto bitmap = std::make_unique<TseBitmap>();
  bitmap->SetName(name);
  bitmap->SetSize(width, height);
  int i = 0;
  for (TseColor p : pixels) {
    bitmap->SetPixel(i % width, i / width, p);
    ++i;
  }
  return bitmap;
}

TTestCanvas::TTestCanvas(int width, int height) {
  bitmap.SetSize(width, height);
  bitmap.Fill(0xFFFFFFFF);
  canvas.SetHandle(bitmap.DC());
}

TTestCanvas::~TTestCanvas() { canvas.SetHandle(HDC()); }

std::string TTestCanvas::Row(int y, int x0, int x1, std::initializer_list<std::uint32_t> colours,
                             std::string_view legend) const {
  std::string row;
  for (int x = x0; x < x1; ++x) {
    char c = '?';
    size_t i = 0;
    for (std::uint32_t colour : colours) {
      if (At(x, y) == colour && i < legend.size()) c = legend[i];
      ++i;
    }
    row += c;
  }
  return row;
}

void FillSampleSkin(TSeSkinSource& source) {
  source.SetSkinName("Steel");
  source.SetSkinVersion("2.0.0");
  source.SetAuthor("An Author");
  source.SetAuthorEMail("author@example.org");
  source.SetAuthorURL("http://example.org/");
  auto frame = MakeImage("FRAME.BMP", 3, 2, {0xFF102030, 0x007F007F, 0xFFFFFFFF, 0xFF000000, 0xFF405060, 0xFF708090});
  frame->KeyColor(0x7F007F);
  source.Images().Add(std::move(frame));
  source.Images().Add(MakeImage("Glyph.bmp", 1, 1, {0xFF00FF00}));

  auto form = std::make_unique<TSeSkinObject>(nullptr);
  form->SetName("Form");
  form->SetKind(skForm);
  form->SetWidth(375);
  form->SetHeight(600);
  auto* caption = new TSeSkinObject(form.get());
  caption->SetName("Caption");
  caption->SetKind(skCaption);
  caption->SetAlign(saTop);
  caption->SetHeight(29);
  caption->SetColor(clNone);
  auto* client = new TSeSkinObject(caption);
  client->SetName("Client");
  client->SetKind(skClient);
  client->SetAlign(saClient);
  source.AddObject(std::move(form));

  auto button = std::make_unique<TSeSkinObject>(nullptr);
  button->SetName("Button");
  button->Font()->SetName("MS Sans Serif");
  button->Font()->SetHeight(-11);
  button->SetTextAlign(taCenter);
  button->SetMarginLeft(4);
  source.AddObject(std::move(button));
}

std::string Describe(const TSeSkinSource& source) {
  std::string out = source.SkinName() + "|" + source.SkinVersion() + "|" + source.Author() + "|" +
                    source.AuthorEMail() + "|" + source.AuthorURL() + "\n";
  for (int i = 0; i < source.Images().Count(); ++i) {
    const TseBitmap& b = *source.Images().Items(i);
    out += "image " + b.Name() + " " + IntToStr(b.Width()) + "x" + IntToStr(b.Height()) + ":";
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) out += " " + IntToStr(b.Pixel(x, y));
    out += b.HasKey() ? " keyed" : "";
    out += b.HasAlpha() ? " alpha\n" : "\n";
  }
  for (int i = 0; i < source.Count(); ++i) out += ComponentToText(*source.ObjectAt(i));
  return out;
}

ContentBuilder& ContentBuilder::Int(std::int32_t value) {
  for (int i = 0; i < 4; ++i) m_data.push_back(std::uint8_t(std::uint32_t(value) >> (8 * i)));
  return *this;
}

ContentBuilder& ContentBuilder::Str(std::string_view value) {
  Int(std::int32_t(value.size()));
  return Raw(value);
}

ContentBuilder& ContentBuilder::Raw(const Bytes& bytes) {
  m_data.insert(m_data.end(), bytes.begin(), bytes.end());
  return *this;
}

ContentBuilder& ContentBuilder::Raw(std::string_view bytes) {
  m_data.insert(m_data.end(), bytes.begin(), bytes.end());
  return *this;
}

ContentBuilder& ContentBuilder::Header(std::string_view name) {
  return Str(name).Str("1.0").Str("Someone").Str("a@b.c").Str("http://b.c/");
}

Bytes Deflate(const Bytes& data, int level) {
  uLongf size = compressBound(uLong(data.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, data.data(), uLong(data.size()), level) != Z_OK)
    throw std::runtime_error("compress2 failed");
  out.resize(size);
  return out;
}

Bytes Container(const Bytes& content, std::string_view magic, int level) {
  Bytes out(magic.begin(), magic.end());
  Bytes packed = Deflate(content, level);
  out.insert(out.end(), packed.begin(), packed.end());
  return out;
}

Bytes Inflate(const Bytes& data, size_t from) {
  z_stream z{};
  inflateInit(&z);
  z.next_in = const_cast<std::uint8_t*>(data.data() + from);
  z.avail_in = uInt(data.size() - from);
  Bytes out;
  std::uint8_t buffer[4096];
  int result = Z_OK;
  while (result == Z_OK) {
    z.next_out = buffer;
    z.avail_out = sizeof(buffer);
    result = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), buffer, buffer + (sizeof(buffer) - z.avail_out));
  }
  inflateEnd(&z);
  if (result != Z_STREAM_END) throw std::runtime_error("inflate failed");
  return out;
}

std::string ObjectStream(const std::string& className, const std::string& name, std::string_view properties) {
  std::string s = "TPF0";
  s += char(className.size());
  s += className;
  s += char(name.size());
  s += name;
  s += properties;
  s += '\0';
  s += '\0';
  return s;
}

Bytes BinaryRecord(const std::string& className, const std::string& stream) {
  return ContentBuilder().Str(className).Int(std::int32_t(stream.size())).Raw(stream).Data();
}

Bytes TextRecord(const std::string& className, const std::string& stream) {
  return ContentBuilder().Str(className).Str(ObjectBinaryToText(stream)).Data();
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vandrel-skin-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code error;
  std::filesystem::remove_all(m_path, error);
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace vandrel::test
