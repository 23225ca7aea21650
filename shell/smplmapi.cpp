// Mail through Simple MAPI: the library loaded at start-up when the profile says mail is present,
// and "Send Mail...", which attaches the current drawing to an otherwise empty message.
#include "shell/smplmapi.h"

#include <cstdio>
#include <cstring>

#include "files/drxfile.h"
#include "model/docstate.h"
#include "resources/mailstr.h"
#include "resources/strings.h"
#include "shell/filecmds.h"
#include "shell/shell.h"

BOOL gSimpleMAPIAvailable = FALSE;
HMODULE hlibMAPI = nullptr;
LPMAPILOGON lpfnMAPILogon = nullptr;
LPMAPILOGOFF lpfnMAPILogoff = nullptr;
LPMAPISENDMAIL lpfnMAPISendMail = nullptr;
LHANDLE gMailSession = 0;

namespace {

constexpr char kMailLibrary[] = "MAPI32.DLL";
// The log-on may show its dialog and always starts a session of its own; 0x08 is asked for as
// mail programs have always been asked.
constexpr FLAGS kLogonFlags = MAPI_LOGON_UI | MAPI_NEW_SESSION | 0x08;
// The mail client shows its compose dialog.
constexpr FLAGS kSendFlags = MAPI_DIALOG;
constexpr char kAttachmentExtension[] = ".DRX";
// Attempts at a temporary folder name not taken yet.
constexpr int kFolderAttempts = 100;

// Looks up `name` in the mail library; a missing entry point makes mail unavailable.
template <typename Pointer>
void LookUpEntry(const char* name, Pointer* entry) {
  *entry = reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(hlibMAPI, name)));
  if (!*entry) gSimpleMAPIAvailable = FALSE;
}

bool IsUnfitForFileName(char c) {
  return static_cast<unsigned char>(c) < 32 || std::strchr("<>:\"/\\|?*", c) != nullptr;
}

// A fresh folder in the user's temporary folder; false when none can be made.
bool MakeMailFolder(char* folder, size_t size) {
  char temp[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length >= sizeof temp) return false;
  const unsigned long process = GetCurrentProcessId();
  const unsigned long tick = GetTickCount();
  for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
    const int written = std::snprintf(folder, size, "%sDraxelMail-%lx-%lx-%d", temp, process, tick, attempt);
    if (written < 0 || static_cast<size_t>(written) >= size) return false;
    if (CreateDirectoryA(folder, nullptr)) return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

// Writes the current drawing into a fresh temporary folder as `name`; `path` receives the file's
// full name, `folder` the folder's. The drawing, its name, its undo and its view stay as they are.
MailStep WriteAttachment(const char* name, char* folder, char* path, size_t size) {
  if (!MakeMailFolder(folder, size)) return MailStep::kFolder;
  const int written = std::snprintf(path, size, "%s\\%s", folder, name);
  if (written < 0 || static_cast<size_t>(written) >= size) {
    RemoveDirectoryA(folder);
    return MailStep::kFolder;
  }
  if (!DrxFileWriteCopy(path)) {
    RemoveDirectoryA(folder);
    return MailStep::kAttach;
  }
  return MailStep::kSent;
}

// Shows `text` in the mail command's message box.
void ShowMailMessage(HWND owner, const char* text, UINT style) {
  char caption[64];
  LoadStr(STR_MAIL_CAPTION, caption, sizeof caption);
  MessageBoxA(owner, text, caption, style);
}

// The message of each failing step: the drawing file's failure fills the %s of kAttach, the mail
// system's code the %lu of kLogon and kSend.
struct MailFailureText {
  MailStep step;
  int text;
};
constexpr MailFailureText kMailFailureTexts[] = {
    {MailStep::kFolder, STR_MAIL_NO_FOLDER},   {MailStep::kAttach, STR_MAIL_ATTACH_FAILED},
    {MailStep::kLogon, STR_MAIL_LOGON_FAILED}, {MailStep::kSession, STR_MAIL_NO_SESSION},
    {MailStep::kSend, STR_MAIL_SEND_FAILED},
};

void ReportMailFailure(const MailOutcome& outcome) {
  int id = 0;
  for (const MailFailureText& entry : kMailFailureTexts)
    if (entry.step == outcome.step) id = entry.text;
  if (!id) return;
  char format[256], text[1024], reason[512];
  LoadStr(id, format, sizeof format);
  if (outcome.step == MailStep::kAttach)
    std::snprintf(text, sizeof text, format, LoadDrxFailureText(gDrxFileFailure, reason, sizeof reason));
  else
    std::snprintf(text, sizeof text, format, static_cast<unsigned long>(outcome.code));
  MessageBeep(MB_ICONEXCLAMATION);
  ShowMailMessage(gFrameWindow, text, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void InitSimpleMAPI() {
  if (GetProfileIntA("Mail", "MAPI", 0) == 0) {
    gSimpleMAPIAvailable = FALSE;
    return;
  }
  LoadSimpleMAPI(kMailLibrary);
}

void LoadSimpleMAPI(const char* library) {
  DeinitSimpleMAPI();  // a second start-up must not leak the first library
  gSimpleMAPIAvailable = TRUE;
  // A library of that name in the current folder must never be the one loaded.
  const UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  hlibMAPI = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetErrorMode(previous);
  if (!hlibMAPI) {
    gSimpleMAPIAvailable = FALSE;
    return;
  }
  LookUpEntry("MAPILogon", &lpfnMAPILogon);
  LookUpEntry("MAPILogoff", &lpfnMAPILogoff);
  LookUpEntry("MAPISendMail", &lpfnMAPISendMail);
}

void DeinitSimpleMAPI() {
  if (!hlibMAPI) return;
  FreeLibrary(hlibMAPI);
  hlibMAPI = nullptr;
}

bool ComposeAttachmentName(const char* fileName, const char* untitled, char* name, size_t size) {
  const char* base = untitled;
  size_t length = std::strlen(untitled);
  if (fileName && *fileName) {
    base = fileName;
    for (const char* c = fileName; *c; ++c)
      if (*c == '\\' || *c == '/' || *c == ':') base = c + 1;
    const char* dot = std::strrchr(base, '.');
    length = dot ? static_cast<size_t>(dot - base) : std::strlen(base);
    if (length == 0) {  // ".drx" or a bare folder: the drawing has no title of its own
      base = untitled;
      length = std::strlen(untitled);
    }
  }
  const int written =
      std::snprintf(name, size, "%.*s%s", static_cast<int>(length), base, kAttachmentExtension);
  if (written < 0 || static_cast<size_t>(written) >= size) return false;
  for (char* c = name; *c; ++c)
    if (IsUnfitForFileName(*c)) *c = '_';
  return true;
}

bool IsMailFailureReported(const MailOutcome& outcome) {
  if (outcome.step == MailStep::kSent || outcome.step == MailStep::kBusy) return false;
  return !((outcome.step == MailStep::kLogon || outcome.step == MailStep::kSend) &&
           outcome.code == MAPI_USER_ABORT);
}

MailOutcome SendDrawingByMail(HWND owner) {
  if (gMailSession != 0) return {MailStep::kBusy, 0};
  if (!lpfnMAPILogon || !lpfnMAPILogoff || !lpfnMAPISendMail) return {MailStep::kLogon, MAPI_E_FAILURE};

  // The attachment first: when it cannot be written no session is started.
  char name[MAX_PATH] = "", folder[MAX_PATH] = "", path[MAX_PATH] = "";
  MapiFileDesc file = {};
  MapiMessage message = {};
  if (gCurDocument) {
    char untitled[64];
    LoadStr(STR_UNTITLED, untitled, sizeof untitled);
    if (!ComposeAttachmentName(gCurDocument->fileName, untitled, name, sizeof name))
      return {MailStep::kFolder, 0};
    const MailStep written = WriteAttachment(name, folder, path, sizeof path);
    if (written != MailStep::kSent) return {written, 0};
    file.nPosition = static_cast<ULONG>(-1);  // the message has no text to place it in
    file.lpszPathName = path;
    file.lpszFileName = name;
    message.nFileCount = 1;
    message.lpFiles = &file;
  }

  MailOutcome outcome = {MailStep::kSent, 0};
  const ULONG_PTR parent = reinterpret_cast<ULONG_PTR>(owner);
  const ULONG logon = lpfnMAPILogon(parent, nullptr, nullptr, kLogonFlags, 0, &gMailSession);
  if (logon != SUCCESS_SUCCESS) {
    outcome = {MailStep::kLogon, logon};
  } else if (gMailSession == 0) {
    outcome = {MailStep::kSession, 0};
  } else {
    const ULONG sent = lpfnMAPISendMail(gMailSession, parent, &message, kSendFlags, 0);
    if (sent != SUCCESS_SUCCESS) outcome = {MailStep::kSend, sent};
    lpfnMAPILogoff(gMailSession, parent, 0, 0);
  }
  gMailSession = 0;

  if (message.nFileCount) {
    DeleteFileA(path);
    RemoveDirectoryA(folder);
  }
  return outcome;
}

void SendMail() {
  if (!gSimpleMAPIAvailable) {
    char text[256];
    LoadStr(STR_MAIL_NOT_INSTALLED, text, sizeof text);
    ShowMailMessage(nullptr, text, MB_OK);
    return;
  }
  const MailOutcome outcome = SendDrawingByMail(gFrameWindow);
  if (IsMailFailureReported(outcome)) ReportMailFailure(outcome);
}
