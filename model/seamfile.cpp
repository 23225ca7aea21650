// The words for a file's refusal, shared by the drawing files, the exporters and the converter.
#include "model/seam.h"

const char* FileRefusalText(FileRefusal refusal) {
  switch (refusal) {
    case FileRefusal::kNone:
      return "";
    case FileRefusal::kCannotOpen:
      return "cannot be opened";
    case FileRefusal::kNoName:
      return "has no name";
    case FileRefusal::kDanglingLink:
      return "is a symbolic link that leads nowhere";
    case FileRefusal::kNotRegularFile:
      return "is not a regular file";
    case FileRefusal::kReadOnly:
      return "is read-only";
    case FileRefusal::kUnreachable:
      return "cannot be reached";
    case FileRefusal::kTemporaryInTheWay:
      return "cannot be saved: an earlier save's temporary is in the way";
  }
  return "";
}
