// Uninitialised bytes for a whole file or database image. Large buffers are mapped in 2 MB
// pages where the kernel offers them: tens of megabytes in 4 KB pages cost a page fault each
// (and a zeroing pass for a std::vector), more than reading the file into them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vandrel {

class TByteBuffer {
 public:
  TByteBuffer() = default;
  // Raises std::bad_alloc.
  explicit TByteBuffer(size_t size);
  TByteBuffer(const uint8_t* data, size_t size);
  ~TByteBuffer();
  TByteBuffer(TByteBuffer&& other) noexcept;
  TByteBuffer& operator=(TByteBuffer&& other) noexcept;
  TByteBuffer(const TByteBuffer&) = delete;
  TByteBuffer& operator=(const TByteBuffer&) = delete;

  uint8_t* Data() { return m_data; }
  const uint8_t* Data() const { return m_data; }
  size_t Size() const { return m_size; }
  // Keeps the first `size` bytes (at most all it has).
  void Shrink(size_t size);

 private:
  void Release();

  uint8_t* m_data = nullptr;
  size_t m_size = 0;
  void* m_mapping = nullptr;  // the mapping m_data lies in, for large buffers
  size_t m_mappingSize = 0;
};

}  // namespace vandrel
