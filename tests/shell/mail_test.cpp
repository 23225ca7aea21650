// Mail: when the mail library is loaded and the menu item offered, and what one send does with
// its session and its attached drawing, through stand-in entry points (no mail client runs).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/records.h"
#include "resources/resids.h"
#include "shell/cmdids.h"
#include "shell/shell.h"
#include "shell/smplmapi.h"
#include "tools/buildobj.h"

namespace {

TEST(MailAttachment, IsNamedAfterTheDrawing) {
  struct Row {
    const char* fileName;
    const char* expected;
  };
  const Row rows[] = {
      {nullptr, "Untitled.DRX"},
      {"", "Untitled.DRX"},
      {"C:\\plans\\house.drx", "house.DRX"},
      {"Z:/tmp/house.v2.DRX", "house.v2.DRX"},
      {"C:plan", "plan.DRX"},
      {"C:\\plans\\.drx", "Untitled.DRX"},
      {"C:\\plans\\a|b?.drx", "a_b_.DRX"},
  };
  for (const Row& row : rows) {
    char name[MAX_PATH];
    ASSERT_TRUE(ComposeAttachmentName(row.fileName, "Untitled", name, sizeof name)) << row.expected;
    EXPECT_STREQ(name, row.expected);
  }
  char small[9];
  EXPECT_FALSE(ComposeAttachmentName("C:\\house.drx", "Untitled", small, sizeof small));
  EXPECT_TRUE(ComposeAttachmentName("C:\\hous.drx", "Untitled", small, sizeof small));
}

// The profile's [Mail] MAPI value, put back as it was after each test.
class MailProfile : public ::testing::Test {
 protected:
  void SetUp() override {
    had_ = GetProfileStringA("Mail", "MAPI", "", saved_, sizeof saved_) > 0;
    gAppInstance = GetModuleHandleA(nullptr);
    gMainMenu = LoadMenuA(gAppInstance, MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(gMainMenu, nullptr);
  }
  void TearDown() override {
    WriteProfileStringA("Mail", "MAPI", had_ ? saved_ : nullptr);
    DeinitSimpleMAPI();
    gSimpleMAPIAvailable = FALSE;
    lpfnMAPILogon = nullptr;
    lpfnMAPILogoff = nullptr;
    lpfnMAPISendMail = nullptr;
    DestroyMenu(gMainMenu);
    gMainMenu = nullptr;
  }
  static bool Grey() { return (GetMenuState(gMainMenu, CMD_SEND_MAIL, MF_BYCOMMAND) & MF_GRAYED) != 0; }

  bool had_ = false;
  char saved_[32] = "";
};

TEST_F(MailProfile, DecidesWhetherTheLibraryLoadsAndTheItemIsOffered) {
  // No mail in the profile: the library is never loaded and the item is grey.
  for (const char* value : {static_cast<const char*>(nullptr), "0"}) {
    WriteProfileStringA("Mail", "MAPI", value);
    InitSimpleMAPI();
    EXPECT_FALSE(gSimpleMAPIAvailable) << (value ? value : "absent");
    EXPECT_EQ(hlibMAPI, nullptr);
    EXPECT_EQ(GetModuleHandleA("MAPI32.DLL"), nullptr);
    UpdateMenus();
    EXPECT_TRUE(Grey());
  }
  // Mail there: the system's library with all three entry points, and the item offered.
  WriteProfileStringA("Mail", "MAPI", "1");
  InitSimpleMAPI();
  ASSERT_TRUE(gSimpleMAPIAvailable);
  EXPECT_NE(hlibMAPI, nullptr);
  EXPECT_NE(lpfnMAPILogon, nullptr);
  EXPECT_NE(lpfnMAPILogoff, nullptr);
  EXPECT_NE(lpfnMAPISendMail, nullptr);
  UpdateMenus();
  EXPECT_FALSE(Grey());
  DeinitSimpleMAPI();
  EXPECT_EQ(hlibMAPI, nullptr);
}

TEST_F(MailProfile, ALibraryWithoutTheEntryPointsStaysLoadedButUnavailable) {
  LoadSimpleMAPI("KERNEL32.DLL");
  EXPECT_FALSE(gSimpleMAPIAvailable);
  EXPECT_NE(hlibMAPI, nullptr);
  EXPECT_EQ(lpfnMAPISendMail, nullptr);
  LoadSimpleMAPI("NOSUCHMAIL.DLL");
  EXPECT_FALSE(gSimpleMAPIAvailable);
  EXPECT_EQ(hlibMAPI, nullptr);
}

// A library of the wanted name in the current folder is never the one loaded.
TEST_F(MailProfile, ALibraryPlantedInTheCurrentFolderIsNotLoaded) {
  const std::string plant = std::string(DRX_BINARY_DIR) + "/BMP.FLT";
  if (GetFileAttributesA(plant.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no library to plant";
  char temp[MAX_PATH], folder[MAX_PATH], previous[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::snprintf(folder, sizeof folder, "%sdrxplant-%lu", temp, GetCurrentProcessId());
  CreateDirectoryA(folder, nullptr);
  const std::string planted = std::string(folder) + "\\DRXPLANT.DLL";
  ASSERT_TRUE(CopyFileA(plant.c_str(), planted.c_str(), FALSE));
  GetCurrentDirectoryA(sizeof previous, previous);
  SetCurrentDirectoryA(folder);
  LoadSimpleMAPI("DRXPLANT.DLL");
  // Loaded first, the plant would be found by name among the loaded libraries whatever the flags.
  HMODULE byBareName = LoadLibraryA("DRXPLANT.DLL");
  SetCurrentDirectoryA(previous);
  EXPECT_NE(byBareName, nullptr) << "the planted library loads by its bare name";
  EXPECT_EQ(hlibMAPI, nullptr);
  EXPECT_FALSE(gSimpleMAPIAvailable);
  if (byBareName) FreeLibrary(byBareName);
  DeleteFileA(planted.c_str());
  RemoveDirectoryA(folder);
}

// What the stand-in entry points saw.
struct Seen {
  ULONG logonResult, sendResult;
  LHANDLE sessionGiven;
  int logons, sends, logoffs;
  FLAGS logonFlags, sendFlags;
  LHANDLE sendSession, logoffSession;
  ULONG fileCount;
  std::string fileName, pathName;
  std::vector<char> fileBytes;  // the attachment as it was while the message was handed over
};
Seen gSeen;

ULONG WINAPI StandInLogon(ULONG_PTR, LPSTR, LPSTR, FLAGS flags, ULONG, LPLHANDLE session) {
  ++gSeen.logons;
  gSeen.logonFlags = flags;
  *session = gSeen.sessionGiven;
  return gSeen.logonResult;
}

ULONG WINAPI StandInSend(LHANDLE session, ULONG_PTR, lpMapiMessage message, FLAGS flags, ULONG) {
  ++gSeen.sends;
  gSeen.sendSession = session;
  gSeen.sendFlags = flags;
  gSeen.fileCount = message->nFileCount;
  if (message->nFileCount == 1) {
    gSeen.fileName = message->lpFiles[0].lpszFileName;
    gSeen.pathName = message->lpFiles[0].lpszPathName;
    if (FILE* f = std::fopen(gSeen.pathName.c_str(), "rb")) {
      char buffer[4096];
      for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        gSeen.fileBytes.insert(gSeen.fileBytes.end(), buffer, buffer + n);
      std::fclose(f);
    }
  }
  return gSeen.sendResult;
}

ULONG WINAPI StandInLogoff(LHANDLE session, ULONG_PTR, FLAGS, ULONG) {
  ++gSeen.logoffs;
  gSeen.logoffSession = session;
  return SUCCESS_SUCCESS;
}

TEST(MailSend, SessionAttachmentAndOutcomeOfEachAnswer) {
  struct Row {
    const char* what;
    ULONG logonResult;
    LHANDLE session;
    ULONG sendResult;
    MailStep step;
    bool reported;
  };
  const Row rows[] = {
      {"sent", SUCCESS_SUCCESS, 7, SUCCESS_SUCCESS, MailStep::kSent, false},
      {"log-on cancelled", MAPI_USER_ABORT, 0, SUCCESS_SUCCESS, MailStep::kLogon, false},
      {"log-on refused", MAPI_E_LOGIN_FAILURE, 0, SUCCESS_SUCCESS, MailStep::kLogon, true},
      {"no session", SUCCESS_SUCCESS, 0, SUCCESS_SUCCESS, MailStep::kSession, true},
      {"compose cancelled", SUCCESS_SUCCESS, 9, MAPI_USER_ABORT, MailStep::kSend, false},
      {"send refused", SUCCESS_SUCCESS, 9, MAPI_E_FAILURE, MailStep::kSend, true},
  };
  DocumentRec* document = CreateDocument();
  ASSERT_NE(document, nullptr);
  document->docState->zoomFactor = 2.0f;
  ASSERT_NE(BuildRect(0, 0, 10, 10, document->currentLayer, false), nullptr);
  lpfnMAPILogon = StandInLogon;
  lpfnMAPISendMail = StandInSend;
  lpfnMAPILogoff = StandInLogoff;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    gSeen = Seen{};
    gSeen.logonResult = row.logonResult;
    gSeen.sessionGiven = row.session;
    gSeen.sendResult = row.sendResult;
    const MailOutcome outcome = SendDrawingByMail(nullptr);
    EXPECT_EQ(outcome.step, row.step);
    EXPECT_EQ(IsMailFailureReported(outcome), row.reported);
    EXPECT_EQ(gMailSession, 0u) << "no session is kept after a send";
    EXPECT_EQ(gSeen.logons, 1);
    EXPECT_EQ(gSeen.logonFlags, 0x0Bu);
    const bool sent = row.logonResult == SUCCESS_SUCCESS && row.session != 0;
    EXPECT_EQ(gSeen.sends, sent ? 1 : 0);
    EXPECT_EQ(gSeen.logoffs, sent ? 1 : 0);
    if (!sent) continue;
    EXPECT_EQ(gSeen.sendSession, row.session);
    EXPECT_EQ(gSeen.logoffSession, row.session);
    EXPECT_EQ(gSeen.sendFlags, static_cast<FLAGS>(MAPI_DIALOG));
    // The drawing went along as a whole drawing file, gone again with its folder afterwards.
    ASSERT_EQ(gSeen.fileCount, 1u);
    EXPECT_EQ(gSeen.fileName, "Untitled.DRX");
    DocumentRec* received = CreateDocument();
    ASSERT_NE(received, nullptr);
    EXPECT_TRUE(DrxReadFromMemory(reinterpret_cast<const uint8_t*>(gSeen.fileBytes.data()),
                                  gSeen.fileBytes.size(), "mail"))
        << gSeen.fileBytes.size() << " bytes";
    ASSERT_NE(received->firstLayer, nullptr);
    EXPECT_NE(received->firstLayer->firstObject, nullptr) << "the drawing's rectangle";
    DeleteDocument(received);
    gCurDocument = document;
    EXPECT_EQ(GetFileAttributesA(gSeen.pathName.c_str()), INVALID_FILE_ATTRIBUTES);
    const std::string folder = gSeen.pathName.substr(0, gSeen.pathName.rfind('\\'));
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  // The drawing keeps its view and stays without a name.
  EXPECT_EQ(document->docState->zoomFactor, 2.0f);
  EXPECT_EQ(document->fileName, nullptr);

  // A send already under way is left alone.
  gSeen = Seen{};
  gMailSession = 5;
  EXPECT_EQ(SendDrawingByMail(nullptr).step, MailStep::kBusy);
  EXPECT_EQ(gSeen.logons, 0);
  gMailSession = 0;

  lpfnMAPILogon = nullptr;
  lpfnMAPISendMail = nullptr;
  lpfnMAPILogoff = nullptr;
  DeleteDocument(document);
}

}  // namespace
