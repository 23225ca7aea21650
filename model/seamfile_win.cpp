// Opening and replacing files on Windows.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "model/seam.h"

namespace {

// Attributes a replacement keeps from the file it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Puts what was written to the file on the disk.
bool FlushToDisk(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool flushed = FlushFileBuffers(file) != FALSE;
  return CloseHandle(file) != FALSE && flushed;
}

}  // namespace

FILE* OpenRegularFileForReading(const char* path, FileRefusal* refusal) {
  *refusal = FileRefusal::kCannotOpen;
  if (!path || !*path) return nullptr;
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    *refusal = FileRefusal::kNotRegularFile;
    return nullptr;
  }
  HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  // Devices (CON, NUL, COM1) and pipes open like files; only a disk file holds a drawing.
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    *refusal = FileRefusal::kNotRegularFile;
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  FILE* file = _fdopen(fd, "rb");
  if (!file) _close(fd);
  return file;
}

FileRefusal PrepareFileReplacement(const char* path, std::string* target, std::string* temporary) {
  if (!path || !*path) return FileRefusal::kNoName;
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileRefusal::kNotRegularFile;
    if (attributes & FILE_ATTRIBUTE_READONLY) return FileRefusal::kReadOnly;
  }
  *target = path;
  *temporary = std::string(path) + kSaveTemporarySuffix;
  // A temporary that is still there belongs to a save that never finished.
  const DWORD left = GetFileAttributesA(temporary->c_str());
  if (left != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesA(temporary->c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileA(temporary->c_str())) return FileRefusal::kTemporaryInTheWay;
  }
  return FileRefusal::kNone;
}

bool ReplaceFileWithTemporary(const char* temporary, const char* target) {
  if (!temporary || !target) return false;
  if (!FlushToDisk(temporary)) return false;
  const DWORD attributes = GetFileAttributesA(target);
  // The replacement takes over the attributes of the file it replaces. (It is renamed rather
  // than swapped in with ReplaceFile, whose failures can leave the target under another name.)
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKeptAttributes))
    SetFileAttributesA(temporary, attributes & kKeptAttributes);
  return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}
