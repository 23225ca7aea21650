// Mail: "Send Mail..." hands the current drawing, saved to a temporary file and attached, to the
// system's mail client through Simple MAPI, loaded at run time only when the user's profile says
// that mail is present.
#pragma once

#include <windows.h>

#include <mapi.h>

#include <cstddef>
#include <cstdint>

// All owned by this module, for the whole run.
extern BOOL gSimpleMAPIAvailable;  // the library is loaded and all three entry points were found
extern HMODULE hlibMAPI;
extern LPMAPILOGON lpfnMAPILogon;
extern LPMAPILOGOFF lpfnMAPILogoff;
extern LPMAPISENDMAIL lpfnMAPISendMail;
extern LHANDLE gMailSession;  // non-zero only between the log-on and the log-off of one send

// At start-up: the profile's "MAPI" value of section "Mail" decides whether the library is loaded.
void InitSimpleMAPI();
// The library part of InitSimpleMAPI: loads `library` from the system folder alone (never from the
// current or the program's folder) with no error box, and looks up the three entry points. The
// library stays loaded even when an entry point is missing.
void LoadSimpleMAPI(const char* library);
// After the message loop: frees the library.
void DeinitSimpleMAPI();

// Command 5149: tells the user when mail is not there, else sends; a failure other than the
// user's cancel is told in a message box.
void SendMail();

// Where a send stopped.
enum class MailStep : uint8_t {
  kSent,
  kBusy,     // a send is already under way: nothing is done
  kFolder,   // no temporary folder for the attachment
  kAttach,   // the drawing could not be written (gDrxFileFailure says why)
  kLogon,    // the log-on failed with `code`
  kSession,  // the log-on succeeded but gave no session
  kSend,     // the mail system refused the message with `code`
};
struct MailOutcome {
  MailStep step;
  ULONG code;  // the mail system's result for kLogon and kSend
};

// The send itself, with the windows of `owner` disabled by the mail system's dialogs: the current
// drawing (when there is one) is written to a fresh temporary folder under its own title, attached,
// handed over, and removed with its folder once the mail system returns.
MailOutcome SendDrawingByMail(HWND owner);
// True when `outcome` is a failure the user should be told about (not a send, a cancel or a send
// already under way).
bool IsMailFailureReported(const MailOutcome& outcome);

// The attachment's file name: the drawing file's own name without its folder and extension, or
// `untitled` without one, with ".DRX" after it; characters a file name cannot hold become '_'.
// False when `size` cannot hold it.
bool ComposeAttachmentName(const char* fileName, const char* untitled, char* name, size_t size);
