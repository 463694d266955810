#include "platform/core/Stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "platform/core/Exception.h"

namespace vandrel {

void TStream::SetSize(std::int64_t) { throw EStreamError("Stream size cannot be changed"); }

std::int64_t TStream::Position() { return Seek(0, TSeekOrigin::soCurrent); }

std::int64_t TStream::Size() {
  std::int64_t pos = Position();
  std::int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(pos, TSeekOrigin::soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count < 0 || (count > 0 && Read(buffer, count) != count)) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count < 0 || (count > 0 && Write(buffer, count) != count))
    throw EWriteError("Stream write error");
}

std::vector<std::uint8_t> TStream::ReadBytes(std::int64_t count) {
  if (count < 0 || count > Size() - Position()) throw EReadError("Stream read error");
  std::vector<std::uint8_t> bytes(static_cast<size_t>(count));
  ReadBuffer(bytes.data(), count);
  return bytes;
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::int64_t total = count;
  std::vector<std::uint8_t> buffer(size_t(std::min<std::int64_t>(count, 1 << 16)));
  while (count > 0) {
    std::int64_t n = std::min<std::int64_t>(count, std::int64_t(buffer.size()));
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    count -= n;
  }
  return total;
}

namespace {

std::int64_t SeekTarget(std::int64_t position, std::int64_t size, std::int64_t offset,
                        TSeekOrigin origin) {
  std::int64_t base = origin == TSeekOrigin::soBeginning ? 0
                      : origin == TSeekOrigin::soCurrent ? position
                                                         : size;
  std::int64_t target = base + offset;
  if (target < 0) throw EStreamError("Stream seek before its start");
  return target;
}

}  // namespace

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  std::int64_t available = std::int64_t(m_data.size()) - m_position;
  std::int64_t n = std::clamp<std::int64_t>(count, 0, std::max<std::int64_t>(available, 0));
  if (n > 0) std::memcpy(buffer, m_data.data() + m_position, size_t(n));
  m_position += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  if (m_position + count > std::int64_t(m_data.size())) m_data.resize(size_t(m_position + count));
  std::memcpy(m_data.data() + m_position, buffer, size_t(count));
  m_position += count;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  m_position = SeekTarget(m_position, std::int64_t(m_data.size()), offset, origin);
  return m_position;
}

void TMemoryStream::SetSize(std::int64_t newSize) {
  if (newSize < 0) throw EStreamError("Negative stream size");
  m_data.resize(size_t(newSize));
  m_position = std::min(m_position, newSize);
}

void TMemoryStream::Clear() {
  m_data.clear();
  m_position = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  std::int64_t size = source.Size();
  m_data.resize(size_t(size));
  source.ReadBuffer(m_data.data(), size);
  m_position = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead);
  LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& dest) const {
  dest.WriteBuffer(m_data.data(), std::int64_t(m_data.size()));
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

std::int64_t TReadOnlyMemoryStream::Read(void* buffer, std::int64_t count) {
  std::int64_t available = m_size - m_position;
  std::int64_t n = std::clamp<std::int64_t>(count, 0, std::max<std::int64_t>(available, 0));
  if (n > 0) std::memcpy(buffer, m_data + m_position, size_t(n));
  m_position += n;
  return n;
}

std::int64_t TReadOnlyMemoryStream::Write(const void*, std::int64_t) {
  throw EWriteError("Stream is read-only");
}

std::int64_t TReadOnlyMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  m_position = SeekTarget(m_position, m_size, offset, origin);
  return m_position;
}

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : m_fileName(fileName) {
  const char* how = mode == fmOpenRead ? "rb" : mode == fmOpenReadWrite ? "r+b" : "w+b";
  m_file = std::fopen(fileName.c_str(), how);
  if (!m_file) {
    std::string reason = std::strerror(errno);
    if (mode == fmCreate) throw EFCreateError("Cannot create file \"" + fileName + "\". " + reason);
    throw EFOpenError("Cannot open file \"" + fileName + "\". " + reason);
  }
}

TFileStream::~TFileStream() {
  if (m_file) std::fclose(m_file);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  if (m_lastOp == LastOp::Write) std::fflush(m_file);
  m_lastOp = LastOp::Read;
  return std::int64_t(std::fread(buffer, 1, size_t(count), m_file));
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  if (m_lastOp == LastOp::Read) fseeko(m_file, 0, SEEK_CUR);
  m_lastOp = LastOp::Write;
  return std::int64_t(std::fwrite(buffer, 1, size_t(count), m_file));
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
               : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                  : SEEK_END;
  m_lastOp = LastOp::None;
  if (fseeko(m_file, offset, whence) != 0) throw EStreamError("Cannot seek in \"" + m_fileName + "\"");
  return std::int64_t(ftello(m_file));
}

void TFileStream::SetSize(std::int64_t newSize) {
  std::fflush(m_file);
  if (ftruncate(fileno(m_file), newSize) != 0)
    throw EStreamError("Cannot resize \"" + m_fileName + "\"");
  if (Position() > newSize) SetPosition(newSize);
}

}  // namespace vandrel
