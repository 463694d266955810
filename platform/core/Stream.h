// Byte streams: the abstract stream with its checked read/write helpers, a growable memory
// stream, a read-only view over bytes that someone else owns, and a file stream.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace vandrel {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;

  // Read and Write move at most count bytes and return how many moved.
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
  virtual void SetSize(std::int64_t newSize);

  std::int64_t Position();
  void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  virtual std::int64_t Size();

  // All or nothing: raise EReadError / EWriteError when fewer bytes move.
  void ReadBuffer(void* buffer, std::int64_t count);
  void WriteBuffer(const void* buffer, std::int64_t count);
  // Copies count bytes from source's position; count 0 copies the whole source from its start.
  std::int64_t CopyFrom(TStream& source, std::int64_t count);

  template <typename T>
  T ReadValue() {
    T value;
    ReadBuffer(&value, sizeof(T));
    return value;
  }
  template <typename T>
  void WriteValue(const T& value) {
    WriteBuffer(&value, sizeof(T));
  }
  std::vector<std::uint8_t> ReadBytes(std::int64_t count);
  void WriteString(std::string_view bytes) { WriteBuffer(bytes.data(), std::int64_t(bytes.size())); }
};

// A growable stream in memory.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes) : m_data(std::move(bytes)) {}

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  void SetSize(std::int64_t newSize) override;
  std::int64_t Size() override { return std::int64_t(m_data.size()); }

  void Clear();
  const std::uint8_t* Memory() const { return m_data.data(); }
  std::uint8_t* Memory() { return m_data.data(); }
  const std::vector<std::uint8_t>& Bytes() const { return m_data; }
  void LoadFromStream(TStream& source);
  void LoadFromFile(const std::string& fileName);
  void SaveToStream(TStream& dest) const;
  void SaveToFile(const std::string& fileName) const;

 private:
  std::vector<std::uint8_t> m_data;
  std::int64_t m_position = 0;
};

// A read-only stream over bytes owned elsewhere (embedded resources, mapped data).
class TReadOnlyMemoryStream : public TStream {
 public:
  TReadOnlyMemoryStream(const void* data, std::int64_t size)
      : m_data(static_cast<const std::uint8_t*>(data)), m_size(size) {}

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return m_size; }
  // The bytes read from, so that a part of them can be read in place by a stream of its own.
  const std::uint8_t* Memory() const { return m_data; }

 private:
  const std::uint8_t* m_data;
  std::int64_t m_size;
  std::int64_t m_position = 0;
};

enum TFileMode { fmOpenRead, fmOpenReadWrite, fmCreate };

// A stream over a file. fmOpenRead never creates or changes the file.
class TFileStream : public TStream {
 public:
  TFileStream(const std::string& fileName, TFileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  void SetSize(std::int64_t newSize) override;
  const std::string& FileName() const { return m_fileName; }

 private:
  std::string m_fileName;
  std::FILE* m_file = nullptr;
  // stdio needs a seek or flush between a read and a write on the same file.
  enum class LastOp { None, Read, Write } m_lastOp = LastOp::None;
};

}  // namespace vandrel
