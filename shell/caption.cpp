// Texts the shell composes: captions and the help path.
#include "shell/caption.h"

#include <cstdio>
#include <cstring>

#include "shell/cmdids.h"

namespace {

constexpr char kAxisSuffix[] = " (X-Y)";
constexpr char kAxisCaption[] = "X-Y";
// Room the help file's name needs after the folder.
constexpr size_t kHelpNameRoom = 13;

}  // namespace

bool ComposeWindowCaption(int16_t style, const char* fileName, const char* untitled, const char* layerName,
                          char* caption, size_t size) {
  if (!caption || size == 0) return false;
  const char* base = (fileName && std::strlen(fileName) < kLongestCaptionPath) ? fileName : untitled;
  if (!base) base = "";
  switch (style) {
    case CMD_TITLE_NAME:
      std::snprintf(caption, size, "%s", base);
      return true;
    case CMD_TITLE_NAME_AXIS:
      std::snprintf(caption, size, "%s%s", base, kAxisSuffix);
      return true;
    case CMD_TITLE_AXIS:
      std::snprintf(caption, size, "%s", kAxisCaption);
      return true;
    case CMD_TITLE_LAYER:
      if (!layerName) return false;
      std::snprintf(caption, size, "%s", layerName);
      return true;
    default:
      return false;
  }
}

void ComposeHelpPath(const char* programPath, const char* helpName, const char* fallback, char* buffer,
                     size_t size) {
  if (!buffer || size == 0) return;
  buffer[0] = '\0';
  if (!programPath) return;
  std::snprintf(buffer, size, "%s", programPath);
  size_t folder = 0;
  for (size_t i = 0; buffer[i]; ++i)
    if (buffer[i] == '\\' || buffer[i] == ':') folder = i + 1;
  buffer[folder] = '\0';
  const char* name = (folder + kHelpNameRoom < size) ? helpName : fallback;
  std::snprintf(buffer + folder, size - folder, "%s", name ? name : "");
}
