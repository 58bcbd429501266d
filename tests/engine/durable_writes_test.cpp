#include "engine/durable_writes.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/test_support.h"

namespace {

// Pipes cannot be synced: their file system is no ext4 or tmpfs, so they are synced one by
// one, together, and the first failure is what the wait reports.
TEST(DurableWritesTest, TheWaitReportsTheFirstFailure) {
  const TempFolder root;
  const UniqueFd file(::open((root / "a").c_str(), O_WRONLY | O_CREAT, 0600));
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const UniqueFd in(ends[0]);
  const UniqueFd out(ends[1]);
  EXPECT_FALSE(WaitForMedium({&file}));
  EXPECT_EQ(WaitForMedium({&file, &in, &out, &in, &out}), std::errc::invalid_argument);
  EXPECT_GE(BatchCapacity(), 8u);
}

}  // namespace
