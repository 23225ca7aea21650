// Drawings named on the command line ("Draxel.exe plan.drx detail.drx") open at start-up, each
// in its own window as Open opens it, so that opening a drawing from a file manager works.
#include "shell/cmdline.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstring>
#include <cwchar>

#include "resources/strings.h"
#include "shell/filecmds.h"
#include "shell/filedlg.h"
#include "shell/shell.h"

namespace {

constexpr int kCannotOpenReason = STR_DRX_REASON_FIRST + 2;  // "The file cannot be opened."

bool IsSwitch(const wchar_t* argument, const wchar_t* name) {
  return (argument[0] == L'-' || argument[0] == L'/') && _wcsicmp(argument + 1, name) == 0;
}

bool IsEmbeddingArgument(const wchar_t* argument) {
  return IsSwitch(argument, L"Embedding");
}

// The full path of an argument in the program's code page. A name the code page cannot spell is
// given by its short form, which it can; false when neither fits.
bool ArgumentPath(const wchar_t* argument, char* path, int size) {
  wchar_t full[MAX_PATH];
  const DWORD length = GetFullPathNameW(argument, MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) return false;
  BOOL lossy = FALSE;
  if (WideCharToMultiByte(CP_ACP, 0, full, -1, path, size, nullptr, &lossy) > 0 && !lossy) return true;
  wchar_t shortPath[MAX_PATH];
  const DWORD shortLength = GetShortPathNameW(full, shortPath, MAX_PATH);
  if (shortLength == 0 || shortLength >= MAX_PATH) return false;
  lossy = FALSE;
  return WideCharToMultiByte(CP_ACP, 0, shortPath, -1, path, size, nullptr, &lossy) > 0 && !lossy;
}

const char* FileTitle(const char* path) {
  const char* title = path;
  for (const char* c = path; *c; ++c)
    if (*c == '\\' || *c == '/' || *c == ':') title = c + 1;
  return title;
}

}  // namespace

bool CommandLineHasEmbedding() {
  return HasEmbeddingSwitch(GetCommandLineW());
}

RegistrationSwitch CommandLineRegistrationSwitch() {
  return FindRegistrationSwitch(GetCommandLineW());
}

bool HasEmbeddingSwitch(const wchar_t* commandLine) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
  if (!arguments) return false;
  bool embedding = false;
  for (int i = 1; i < count; ++i) embedding = embedding || IsEmbeddingArgument(arguments[i]);
  LocalFree(arguments);
  return embedding;
}

RegistrationSwitch FindRegistrationSwitch(const wchar_t* commandLine) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
  if (!arguments) return RegistrationSwitch::kNone;
  RegistrationSwitch found = RegistrationSwitch::kNone;
  for (int i = 1; i < count && found == RegistrationSwitch::kNone; ++i) {
    if (IsSwitch(arguments[i], L"RegServer")) found = RegistrationSwitch::kRegister;
    if (IsSwitch(arguments[i], L"UnregServer")) found = RegistrationSwitch::kUnregister;
  }
  LocalFree(arguments);
  return found;
}

int CountCommandLineFiles() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return 0;
  int files = 0;
  for (int i = 1; i < count; ++i) files += IsEmbeddingArgument(arguments[i]) ? 0 : 1;
  LocalFree(arguments);
  return files;
}

int OpenCommandLineFiles() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return 0;
  int opened = 0;
  for (int i = 1; i < count; ++i) {
    if (IsEmbeddingArgument(arguments[i])) continue;
    char path[kPathBufferSize];
    if (!ArgumentPath(arguments[i], path, sizeof path)) {
      // Reported as Open reports a file it cannot open, in the characters the program can show.
      char shown[kPathBufferSize];
      WideCharToMultiByte(CP_ACP, 0, arguments[i], -1, shown, sizeof shown, nullptr, nullptr);
      shown[sizeof shown - 1] = '\0';
      char reason[256];
      ReportFileFailureWithReason(STR_READ_FAILED, shown, LoadStr(kCannotOpenReason, reason, sizeof reason));
      continue;
    }
    char title[kPathBufferSize];
    std::strcpy(title, FileTitle(path));
    if (OpenDrawingFile(path, title)) ++opened;
  }
  LocalFree(arguments);
  return opened;
}
