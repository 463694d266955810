#include "skin/ZlibStream.h"

#include <algorithm>

#include "platform/core/Text.h"

namespace vandrel {

namespace {

constexpr const char* kInvalidOperation = "Invalid stream operation";
constexpr const char* kZlibFailure = "error";

}  // namespace

TCompressionStream::TCompressionStream(int level, TStream& dest) : m_dest(dest) {
  if (deflateInit(&m_z, level) != Z_OK) throw ECompressionError(kZlibFailure);
  m_z.next_out = m_buffer;
  m_z.avail_out = sizeof(m_buffer);
}

TCompressionStream::~TCompressionStream() {
  try {
    Finish();
  } catch (const Exception&) {
    // Nothing can be reported from here; Finish is how a caller learns of the failure.
  }
  deflateEnd(&m_z);
}

void TCompressionStream::Flush(std::int64_t count) {
  m_dest.WriteBuffer(m_buffer, count);
  m_z.next_out = m_buffer;
  m_z.avail_out = sizeof(m_buffer);
}

std::int64_t TCompressionStream::Write(const void* buffer, std::int64_t count) {
  if (m_finished) throw ECompressionError(kInvalidOperation);
  if (count <= 0) return 0;
  const unsigned char* in = static_cast<const unsigned char*>(buffer);
  std::int64_t left = count;
  while (left > 0) {
    // zlib counts in 32 bits.
    const uInt piece = uInt(std::min<std::int64_t>(left, 1 << 30));
    m_z.next_in = const_cast<unsigned char*>(in);
    m_z.avail_in = piece;
    while (m_z.avail_in > 0) {
      if (deflate(&m_z, Z_NO_FLUSH) < 0) throw ECompressionError(kZlibFailure);
      if (m_z.avail_out == 0) Flush(sizeof(m_buffer));
    }
    in += piece;
    left -= piece;
  }
  m_taken += count;
  return count;
}

void TCompressionStream::Finish() {
  if (m_finished) return;
  m_finished = true;
  m_z.next_in = nullptr;
  m_z.avail_in = 0;
  for (;;) {
    int result = deflate(&m_z, Z_FINISH);
    if (result < 0) throw ECompressionError(kZlibFailure);
    if (result == Z_STREAM_END) break;
    if (m_z.avail_out == 0) Flush(sizeof(m_buffer));
  }
  Flush(std::int64_t(sizeof(m_buffer) - m_z.avail_out));
}

std::int64_t TCompressionStream::Read(void*, std::int64_t) { throw ECompressionError(kInvalidOperation); }

std::int64_t TCompressionStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  if (offset == 0 && origin == TSeekOrigin::soCurrent) return m_taken;
  throw ECompressionError(kInvalidOperation);
}

TDecompressionStream::TDecompressionStream(TStream& source, std::int64_t limit)
    : m_source(source), m_origin(source.Position()), m_limit(limit) {
  if (inflateInit(&m_z) != Z_OK) throw EDecompressionError(kZlibFailure);
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&m_z); }

std::int64_t TDecompressionStream::Inflate(unsigned char* out, std::int64_t count) {
  std::int64_t produced = 0;
  while (produced < count && !m_ended) {
    if (m_z.avail_in == 0) {
      std::int64_t got = m_source.Read(m_buffer, sizeof(m_buffer));
      if (got <= 0) break;
      m_z.next_in = m_buffer;
      m_z.avail_in = uInt(got);
    }
    const uInt room = uInt(std::min<std::int64_t>(count - produced, 1 << 30));
    m_z.next_out = out + produced;
    m_z.avail_out = room;
    int result = inflate(&m_z, Z_NO_FLUSH);
    produced += room - m_z.avail_out;
    // A stream that asks for a preset dictionary can never go on: it would ask again for ever.
    if (result < 0 || result == Z_NEED_DICT) throw EDecompressionError(kZlibFailure);
    if (result == Z_STREAM_END) m_ended = true;
  }
  return produced;
}

std::int64_t TDecompressionStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  unsigned char* out = static_cast<unsigned char*>(buffer);
  const std::int64_t allowed = m_limit - std::int64_t(m_z.total_out);
  const std::int64_t produced = Inflate(out, std::min(count, allowed));
  if (produced == allowed && produced < count && !m_ended) {
    unsigned char probe;
    if (Inflate(&probe, 1) > 0)
      throw EDecompressionError("Decompressed data exceeds " + IntToStr(m_limit) + " bytes");
  }
  return produced;
}

std::int64_t TDecompressionStream::Write(const void*, std::int64_t) {
  throw EDecompressionError(kInvalidOperation);
}

void TDecompressionStream::Skip(std::int64_t count) {
  unsigned char scrap[4096];
  while (count > 0) {
    std::int64_t piece = std::min<std::int64_t>(count, sizeof(scrap));
    std::int64_t got = Read(scrap, piece);
    count -= got;
    if (got < piece) return;
  }
}

std::int64_t TDecompressionStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const std::int64_t position = std::int64_t(m_z.total_out);
  if (origin == TSeekOrigin::soBeginning && offset == 0) {
    if (inflateReset(&m_z) != Z_OK) throw EDecompressionError(kZlibFailure);
    m_z.next_in = nullptr;
    m_z.avail_in = 0;
    m_ended = false;
    m_source.SetPosition(m_origin);
    return 0;
  }
  std::int64_t target = -1;
  if (origin == TSeekOrigin::soBeginning) target = offset;
  if (origin == TSeekOrigin::soCurrent && offset >= 0) target = position + offset;
  if (target < position) throw EDecompressionError(kInvalidOperation);
  Skip(target - position);
  return std::int64_t(m_z.total_out);
}

}  // namespace vandrel
