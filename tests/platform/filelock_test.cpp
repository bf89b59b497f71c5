#include "platform/filelock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/tempdir.h"

namespace vortan::platform {
namespace {

// The settings store relies on this: a file dialog of the same process that opens and closes
// the lock file (or any other file) never releases the lock, unlike a record lock of fcntl.
TEST(FileLock, HeldUntilUnlockWhateverElseTheProcessOpensAndCloses) {
  test::TTempDir dir;
  const std::string path = dir / "store-lock";
  TFileLock holder, other;
  ASSERT_EQ(holder.Open(path, true), 0);
  ASSERT_EQ(other.Open(path, false), 0);
  ASSERT_TRUE(holder.Lock(0));

  const int probe = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(probe, 0);
  ::close(probe);
  EXPECT_FALSE(other.Lock(0)) << "closing another descriptor released the lock";

  holder.Unlock();
  EXPECT_TRUE(other.Lock(0));
  other.Close();
  EXPECT_TRUE(holder.Lock(0)) << "closing the holder's descriptor releases its lock";
}

}  // namespace
}  // namespace vortan::platform
