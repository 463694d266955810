#include "data/FileImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "data/DatabaseError.h"
#include "data/JetHeader.h"

namespace vandrel {

namespace {

constexpr int kRereads = 3;
constexpr size_t kHashBlock = size_t(64) << 10;

struct TFile {
  int Fd = -1;
  ~TFile() {
    if (Fd >= 0) ::close(Fd);
  }
};

// What tells a change by the writer: the size, the modification time and the header page.
struct TFileMark {
  off_t Size = 0;
  timespec Modified{};
  std::vector<uint8_t> Head;
  bool operator==(const TFileMark& other) const {
    return Size == other.Size && Modified.tv_sec == other.Modified.tv_sec &&
           Modified.tv_nsec == other.Modified.tv_nsec && Head == other.Head;
  }
};

void OpenFile(const std::string& path, TFile& file) {
  // O_NONBLOCK: a FIFO or device under the database's name must not block the open.
  file.Fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (file.Fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR)
      throw EDatabaseError("Could not find file '" + path + "'.");
    throw EDatabaseError("Cannot open the file '" + path + "': " + std::strerror(errno));
  }
  struct stat st {};
  if (::fstat(file.Fd, &st) != 0 || !S_ISREG(st.st_mode))
    throw EDatabaseError("Cannot open the file '" + path + "': not a regular file");
}

TFileMark Mark(const TFile& file, const std::string& path) {
  struct stat st {};
  if (::fstat(file.Fd, &st) != 0) throw EDatabaseError("Cannot read the file '" + path + "': " + std::strerror(errno));
  TFileMark mark{st.st_size, st.st_mtim, std::vector<uint8_t>(JetPageSize)};
  ssize_t n;
  do {
    n = ::pread(file.Fd, mark.Head.data(), mark.Head.size(), 0);
  } while (n < 0 && errno == EINTR);
  if (n < 0) throw EDatabaseError("Cannot read the file '" + path + "': " + std::strerror(errno));
  mark.Head.resize(size_t(n));
  return mark;
}

TByteBuffer ReadAll(const TFile& file, size_t size, const std::string& path) {
  TByteBuffer bytes(size);
  size_t done = 0;
  while (done < bytes.Size()) {
    const ssize_t n = ::pread(file.Fd, bytes.Data() + done, bytes.Size() - done, off_t(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EDatabaseError("Cannot read the file '" + path + "': " + std::strerror(errno));
    if (n == 0) break;  // shrank while being read: the marks tell
    done += size_t(n);
  }
  bytes.Shrink(done);
  return bytes;
}

}  // namespace

TFileImage ReadFileImage(const std::string& path, const std::function<void()>& afterRead) {
  TFile file;
  OpenFile(path, file);
  for (int read = 0;; ++read) {
    const TFileMark before = Mark(file, path);
    TFileImage image;
    image.Bytes = ReadAll(file, size_t(before.Size), path);
    if (afterRead) afterRead();
    if (Mark(file, path) == before && image.Bytes.Size() == size_t(before.Size)) {
      image.Hash = XXH3_64bits(image.Bytes.Data(), image.Bytes.Size());
      return image;
    }
    if (read == kRereads)
      throw EDatabaseError("The database '" + path + "' is busy: it changed while it was read, " +
                           std::to_string(kRereads + 1) + " times in a row.");
    // A writer that is part-way through usually finishes within moments.
    std::this_thread::sleep_for(std::chrono::milliseconds(50 * (read + 1)));
  }
}

bool HashOfSize(const std::string& path, size_t size, uint64_t& hash, std::vector<uint8_t>& head) {
  TFile file;
  OpenFile(path, file);
  const TFileMark before = Mark(file, path);
  if (size_t(before.Size) != size) return false;
  XXH3_state_t* state = XXH3_createState();
  if (!state) return false;
  struct Freer {
    XXH3_state_t* state;
    ~Freer() { XXH3_freeState(state); }
  } freer{state};
  XXH3_64bits_reset(state);
  // Small enough to come from the heap again each time: a fresh megabyte mapped, zeroed and
  // unmapped for every refresh of an unchanged file cost more than the hashing itself.
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[kHashBlock]);
  head.clear();
  size_t done = 0;
  for (;;) {
    const ssize_t n = ::read(file.Fd, buffer.get(), kHashBlock);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    if (head.size() < 3 * JetPageSize)
      head.insert(head.end(), buffer.get(), buffer.get() + std::min<size_t>(size_t(n), 3 * JetPageSize - head.size()));
    XXH3_64bits_update(state, buffer.get(), size_t(n));
    done += size_t(n);
  }
  hash = XXH3_64bits_digest(state);
  // A file written meanwhile is read whole, with the checks of a new one.
  return done == size && Mark(file, path) == before;
}

}  // namespace vandrel
