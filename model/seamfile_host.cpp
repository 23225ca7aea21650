// Opening and replacing files on the host build (POSIX).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>

#include "model/seam.h"

namespace {

// Links followed before a path is taken for a loop.
constexpr int kMostLinksFollowed = 40;
constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;

// The folder of a path, for joining a relative link and for flushing the folder.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Follows symbolic links from `path` to the file they name, which need not exist yet (a link
// may name a file a save is to create). False for a loop or a link that cannot be read.
bool FollowLinks(const char* path, std::string* target) {
  std::string current = path;
  for (int hops = 0; hops <= kMostLinksFollowed; ++hops) {
    struct stat status;
    if (lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
      *target = current;
      return true;
    }
    char link[PATH_MAX];
    const ssize_t length = readlink(current.c_str(), link, sizeof link);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof link) return false;
    std::string next(link, static_cast<size_t>(length));
    current = next[0] == '/' ? next : FolderOf(current) + "/" + next;
  }
  return false;
}

// Asks the system to put what was written to a file or folder on the disk.
bool FlushToDisk(const char* path, int flags) {
  const int fd = open(path, flags | O_CLOEXEC);
  if (fd < 0) return false;
  bool flushed = fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot flush a folder
  if (close(fd) != 0) flushed = false;
  return flushed;
}

}  // namespace

FILE* OpenRegularFileForReading(const char* path, FileRefusal* refusal) {
  *refusal = FileRefusal::kCannotOpen;
  if (!path || !*path) return nullptr;
  // Without O_NONBLOCK the open itself waits for a writer on a named pipe.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    if (fstat(fd, &status) == 0) *refusal = FileRefusal::kNotRegularFile;
    close(fd);
    return nullptr;
  }
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    return nullptr;
  }
  FILE* file = fdopen(fd, "rb");
  if (!file) close(fd);
  return file;
}

FileRefusal PrepareFileReplacement(const char* path, std::string* target, std::string* temporary) {
  if (!path || !*path) return FileRefusal::kNoName;
  std::string real;
  if (!FollowLinks(path, &real)) return FileRefusal::kDanglingLink;
  struct stat status;
  if (stat(real.c_str(), &status) == 0) {
    if (!S_ISREG(status.st_mode)) return FileRefusal::kNotRegularFile;
    // The write bits say what the user asked for, also where the system would let us write.
    if ((status.st_mode & kAnyWriteBit) == 0 || access(real.c_str(), W_OK) != 0)
      return FileRefusal::kReadOnly;
  } else if (errno != ENOENT) {
    return FileRefusal::kUnreachable;
  }
  *target = real;
  *temporary = real + kSaveTemporarySuffix;
  // A temporary that is still there belongs to a save that never finished.
  if (unlink(temporary->c_str()) != 0 && errno != ENOENT) {
    struct stat left;
    if (lstat(temporary->c_str(), &left) == 0) return FileRefusal::kTemporaryInTheWay;
  }
  return FileRefusal::kNone;
}

bool ReplaceFileWithTemporary(const char* temporary, const char* target) {
  if (!temporary || !target) return false;
  struct stat status;
  if (stat(target, &status) == 0) {
    // Only a privileged save can give the file back to its owner; anyone else's keeps theirs.
    // The owner goes first: changing it clears the set-id bits the mode then puts back.
    if (chown(temporary, status.st_uid, status.st_gid) != 0 && errno != EPERM) return false;
    if (chmod(temporary, status.st_mode & kPermissionBits) != 0) return false;
  }
  if (!FlushToDisk(temporary, O_RDONLY)) return false;
  if (std::rename(temporary, target) != 0) return false;
  // The rename is only durable once the folder is on the disk too. The target is replaced by now:
  // a failure here is not one the user can act on.
  FlushToDisk(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY);
  return true;
}
