// The compression and decompression streams over zlib that pack the skin container: a write-only
// stream that deflates into another stream and a read-only stream that inflates from one, each
// through a fixed 8192-byte buffer and bound to the other stream at its position at creation.
#pragma once

#include <cstdint>
#include <limits>

#include <zlib.h>

#include "platform/core/Exception.h"
#include "platform/core/Stream.h"

namespace vandrel {

VANDREL_EXCEPTION(EZlibError, Exception);
VANDREL_EXCEPTION(ECompressionError, EZlibError);
VANDREL_EXCEPTION(EDecompressionError, EZlibError);

class TCompressionStream : public TStream {
 public:
  // level: 1 (fastest) to 9 (smallest), zlib's default window and memory settings.
  TCompressionStream(int level, TStream& dest);
  // Finishes the deflate stream and writes the rest of the output. A failure here cannot leave a
  // destructor; callers that must know call Finish first.
  ~TCompressionStream() override;
  TCompressionStream(const TCompressionStream&) = delete;
  TCompressionStream& operator=(const TCompressionStream&) = delete;

  // Ends the deflate stream and writes everything out; raises what zlib or the destination
  // raises. Later writes raise ECompressionError.
  void Finish();

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  // Only the current position (the count of bytes taken in) can be asked for.
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

 private:
  void Flush(std::int64_t count);

  TStream& m_dest;
  z_stream m_z{};
  std::int64_t m_taken = 0;
  bool m_finished = false;
  unsigned char m_buffer[8192];
};

class TDecompressionStream : public TStream {
 public:
  static constexpr std::int64_t kUnlimited = std::numeric_limits<std::int64_t>::max();

  // limit: the most bytes this stream hands out; inflating past it raises EDecompressionError,
  // so a small damaged or hostile input cannot unpack into unbounded data.
  explicit TDecompressionStream(TStream& source, std::int64_t limit = kUnlimited);
  ~TDecompressionStream() override;
  TDecompressionStream(const TDecompressionStream&) = delete;
  TDecompressionStream& operator=(const TDecompressionStream&) = delete;

  // Fewer bytes than asked once the source runs dry or the deflate stream has ended.
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  // To 0 from the start (inflating again from where the stream was bound), and forward from the
  // start or the current position by inflating and discarding; a forward seek stops at the end
  // of the data.
  // The size is only known by inflating everything, so Size raises like any other seek.
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

 private:
  std::int64_t Inflate(unsigned char* out, std::int64_t count);
  void Skip(std::int64_t count);

  TStream& m_source;
  std::int64_t m_origin;
  std::int64_t m_limit;
  z_stream m_z{};
  bool m_ended = false;
  unsigned char m_buffer[8192];
};

}  // namespace vandrel
