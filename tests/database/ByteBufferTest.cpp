// File and database images live in these buffers: large ones in a mapping of their own, aligned
// within it, small ones in ordinary memory; both must hold every byte and move without copying.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "data/ByteBuffer.h"

namespace vandrel {
namespace {

TEST(ByteBuffer, HoldsEveryByteSmallOrMappedAndMoves) {
  for (size_t size : {size_t(0), size_t(1), (size_t(4) << 20) - 1, size_t(4) << 20, (size_t(9) << 20) + 3}) {
    SCOPED_TRACE(size);
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t(7));
    TByteBuffer copy(bytes.data(), bytes.size());
    ASSERT_EQ(copy.Size(), size);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), copy.Data()));
    const uint8_t* data = copy.Data();
    TByteBuffer moved(std::move(copy));
    EXPECT_EQ(moved.Data(), data);
    EXPECT_EQ(copy.Size(), 0u);
    EXPECT_EQ(copy.Data(), nullptr);
    if (size) {
      moved.Data()[size - 1] ^= 0xff;  // the last byte is ours to write
      moved.Shrink(size - 1);
      EXPECT_EQ(moved.Size(), size - 1);
    }
    moved.Shrink(size + 10);  // never grows
    EXPECT_LE(moved.Size(), size);
    TByteBuffer assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.Data(), data);
  }
}

}  // namespace
}  // namespace vandrel
