#pragma once
// An exclusive lock on a file kept for nothing else, held by one open descriptor (flock).
// Unlike the record locks of fcntl, which belong to the whole process and fall as soon as any
// descriptor of the same file is closed anywhere in it (a file dialog probing the folder, say),
// this lock ends only through Unlock or Close of this object.

#include <string>

namespace vortan::platform {

class TFileLock {
 public:
  TFileLock() = default;
  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;

  /// Opens the lock file, creating it (mode 0644 less the umask) when `create` is set. A file
  /// that may only be read still serves for locking. Returns 0 or the errno of the failure.
  int Open(const std::string& path, bool create);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  /// Takes the lock, waiting up to `timeoutMs` while another holder keeps it.
  bool Lock(int timeoutMs);
  void Unlock();

 private:
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace vortan::platform
