#include "data/ByteBuffer.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace vandrel {

namespace {

constexpr size_t kLargePage = size_t(2) << 20;
// Below this, ordinary memory: a mapping of its own would cost more than it saves.
constexpr size_t kMappedFrom = size_t(4) << 20;

}  // namespace

TByteBuffer::TByteBuffer(size_t size) : m_size(size) {
  if (size >= kMappedFrom) {
    // One large page more, so that the bytes can start on a large-page boundary.
    m_mappingSize = size + kLargePage;
    m_mapping = ::mmap(nullptr, m_mappingSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (m_mapping == MAP_FAILED) {
      m_mapping = nullptr;
      throw std::bad_alloc();
    }
    const auto start = (reinterpret_cast<uintptr_t>(m_mapping) + kLargePage - 1) & ~uintptr_t(kLargePage - 1);
    m_data = reinterpret_cast<uint8_t*>(start);
    // Best effort: without large pages the buffer works the same, only slower to fill.
    ::madvise(m_data, size, MADV_HUGEPAGE);
    return;
  }
  m_data = static_cast<uint8_t*>(std::malloc(size ? size : 1));
  if (!m_data) throw std::bad_alloc();
}

TByteBuffer::TByteBuffer(const uint8_t* data, size_t size) : TByteBuffer(size) {
  if (size) std::memcpy(m_data, data, size);
}

TByteBuffer::~TByteBuffer() { Release(); }

TByteBuffer::TByteBuffer(TByteBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_mapping(std::exchange(other.m_mapping, nullptr)),
      m_mappingSize(std::exchange(other.m_mappingSize, 0)) {}

TByteBuffer& TByteBuffer::operator=(TByteBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    m_data = std::exchange(other.m_data, nullptr);
    m_size = std::exchange(other.m_size, 0);
    m_mapping = std::exchange(other.m_mapping, nullptr);
    m_mappingSize = std::exchange(other.m_mappingSize, 0);
  }
  return *this;
}

void TByteBuffer::Shrink(size_t size) {
  if (size < m_size) m_size = size;
}

void TByteBuffer::Release() {
  if (m_mapping) ::munmap(m_mapping, m_mappingSize);
  else std::free(m_data);
  m_data = nullptr;
  m_size = 0;
  m_mapping = nullptr;
  m_mappingSize = 0;
}

}  // namespace vandrel
