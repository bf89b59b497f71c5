#include "platform/filebytes.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/platform.h"

namespace vortan::platform {

bool ReadFileBytes(const std::string& fileName, std::string& bytes, std::string& error) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    error = std::strerror(EISDIR);
    return false;
  }
  std::string data;
  if (st.st_size > 0) data.reserve(static_cast<std::size_t>(st.st_size));
  std::vector<char> buffer(1 << 16);
  while (true) {
    const ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      error = std::strerror(errno);
      ::close(fd);
      return false;
    }
    if (got == 0) break;
    data.append(buffer.data(), static_cast<std::size_t>(got));
  }
  ::close(fd);
  bytes = std::move(data);
  return true;
}

namespace {

// The file the name finally stands for: a symbolic link (also a chain) is replaced by its
// target, so that saving through a link keeps the link.
std::string ResolveLinks(const std::string& fileName) {
  std::string name = fileName;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return name;
    std::vector<char> target(PATH_MAX + 1);
    const ssize_t len = ::readlink(name.c_str(), target.data(), PATH_MAX);
    if (len <= 0) return name;
    std::string t(target.data(), static_cast<std::size_t>(len));
    if (t.front() != '/') {
      const std::size_t slash = name.rfind('/');
      t = (slash == std::string::npos ? std::string() : name.substr(0, slash + 1)) + t;
    }
    name = t;
  }
  return name;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

// The new file of a save is "." + name + this + six random characters, beside the target.
constexpr char SaveInfix[] = ".vortan-";
constexpr std::size_t SaveSuffixLength = 6;

struct TNameParts {
  std::string Dir;  // with its trailing separator, or empty
  std::string Base;
};

TNameParts SplitName(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  if (slash == std::string::npos) return {std::string(), target};
  return {target.substr(0, slash + 1), target.substr(slash + 1)};
}

// `forcedMode` sets the permissions whether the target exists or not; otherwise an existing
// target keeps its own and a new one gets `newFileMode` less the umask.
bool Replace(const std::string& fileName, std::string_view bytes, std::string& error,
             std::optional<mode_t> forcedMode, mode_t newFileMode) {
  const std::string target = ResolveLinks(fileName);
  RemoveStaleSaveFiles(target);
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && S_ISDIR(old.st_mode)) {
    error = std::strerror(EISDIR);
    return false;
  }
  // The rename needs only the folder to be writable; the file itself must be ours to change.
  if (existed) {
    if (const int denied = FileWriteDenied(target)) {
      error = std::strerror(denied);
      return false;
    }
  }
  const TNameParts parts = SplitName(target);
  std::string temp = parts.Dir + "." + parts.Base + SaveInfix + "XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  // Held until the file is closed: tells a later clean-up that this save is still alive.
  ::flock(fd, LOCK_EX | LOCK_NB);
  auto fail = [&](int err) {
    ::close(fd);
    ::unlink(temp.c_str());
    error = std::strerror(err);
    return false;
  };
  mode_t mode;
  if (forcedMode) {
    mode = *forcedMode & 07777;
  } else if (existed) {
    mode = old.st_mode & 07777;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Only the owner's group may be kept without privileges; the file stays ours otherwise.
      [[maybe_unused]] int ignored = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = newFileMode & ~mask & 07777;
  }
  if (::fchmod(fd, mode) != 0) return fail(errno);
  if (!WriteAll(fd, bytes)) return fail(errno);
  if (::fsync(fd) != 0) return fail(errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);
  // The data is on disk (fsync) and under its name; closing only releases the lock.
  ::close(fd);
  return true;
}

}  // namespace

bool WriteFileReplacing(const std::string& fileName, std::string_view bytes, std::string& error,
                        unsigned newFileMode) {
  return Replace(fileName, bytes, error, std::nullopt, static_cast<mode_t>(newFileMode));
}

bool WriteBackupCopy(const std::string& fileName, const std::string& backupName,
                     std::string& error) {
  std::string bytes;
  if (!ReadFileBytes(fileName, bytes, error)) return false;
  struct stat st {};
  const mode_t mode = ::stat(fileName.c_str(), &st) == 0 ? st.st_mode & 0777 : 0600;
  return Replace(backupName, bytes, error, mode, mode);
}

void RemoveStaleSaveFiles(const std::string& fileName) {
  const TNameParts parts = SplitName(ResolveLinks(fileName));
  const std::string prefix = "." + parts.Base + SaveInfix;
  DIR* dir = ::opendir(parts.Dir.empty() ? "." : parts.Dir.c_str());
  if (!dir) return;
  const uid_t uid = ::geteuid();
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() != prefix.size() + SaveSuffixLength || name.compare(0, prefix.size(), prefix))
      continue;
    const std::string full = parts.Dir + name;
    const int fd = ::open(full.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st {};
    // Only our own plain files, and only when no live save holds their lock.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == uid &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlink(full.c_str());
    ::close(fd);
  }
  ::closedir(dir);
}

}  // namespace vortan::platform
