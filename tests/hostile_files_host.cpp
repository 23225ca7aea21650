// What a save keeps of what the user set up on a POSIX file system: symbolic links stay links and
// their targets get the contents, permissions stay as they were; and inputs that are not files
// (a named pipe, a device) are refused at once instead of waiting for a writer.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "exchange/exporter.h"
#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/pthndlr.h"
#include "model/seam.h"
#include "tests/textfiles.h"

namespace {

namespace fs = std::filesystem;

bool IsLink(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

mode_t ModeOf(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

class HostileFilesHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::string(DRX_BINARY_DIR) + "/hostile-host-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::error_code error;
    fs::remove_all(folder_, error);
    fs::create_directories(folder_ + "/real", error);
    ASSERT_NE(CreateDocument(), nullptr);
    ObjectRec* line = CreateObject(kLineKind, 0, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill,
                                   &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, 10, 10, 0, 0, line), line);
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, 90, 40, 0, 0, line), line);
    AppendObjectToLayer(line, gCurDocument->firstLayer);
  }
  void TearDown() override {
    DeleteDocument(gCurDocument);
    std::error_code error;
    fs::remove_all(folder_, error);
  }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }

  // Saves or exports by the name's extension; false with the reason in `reason`.
  bool Write(const std::string& path, std::string* reason) {
    const bool drawing = path.size() > 4 && path.compare(path.size() - 4, 4, ".drx") == 0;
    const bool ok = drawing ? DrxFileWrite(path.c_str()) : ExportFile(kExportEPS, path.c_str());
    *reason = drawing ? DrxFailureText(gDrxFileFailure) : ExportFailureText(gExportFailure);
    return ok;
  }

  std::string folder_;
};

TEST_F(HostileFilesHostTest, SymbolicLinksAreFollowedAndStay) {
  // link -> relative link in another folder -> file; a link to a file not made yet; a loop.
  SpillText(Path("real/plan.drx"), "old");
  SpillText(Path("real/plan.eps"), "old");
  for (const char* ext : {"drx", "eps"}) {
    const std::string name = std::string("plan.") + ext;
    ASSERT_EQ(symlink(("plan." + std::string(ext)).c_str(), Path("real/alias." + std::string(ext)).c_str()),
              0);
    ASSERT_EQ(symlink(("real/alias." + std::string(ext)).c_str(), Path(name).c_str()), 0);
    std::string reason;
    ASSERT_TRUE(Write(Path(name), &reason)) << reason;
    EXPECT_TRUE(IsLink(Path(name)));
    EXPECT_TRUE(IsLink(Path("real/alias." + std::string(ext))));
    EXPECT_NE(SlurpText(Path("real/" + name)), "old") << "the file at the end of the links gets the contents";
    EXPECT_FALSE(fs::exists(Path(name) + kSaveTemporarySuffix));
    EXPECT_FALSE(fs::exists(Path("real/" + name) + kSaveTemporarySuffix));
  }
  ASSERT_TRUE(DrxFileRead(Path("plan.drx").c_str())) << DrxFailureText(gDrxFileFailure);

  ASSERT_EQ(symlink("real/new.drx", Path("dangling.drx").c_str()), 0);
  std::string reason;
  ASSERT_TRUE(Write(Path("dangling.drx"), &reason)) << reason;
  EXPECT_TRUE(IsLink(Path("dangling.drx")));
  EXPECT_TRUE(fs::is_regular_file(Path("real/new.drx")));

  ASSERT_EQ(symlink("loop-b.drx", Path("loop-a.drx").c_str()), 0);
  ASSERT_EQ(symlink("loop-a.drx", Path("loop-b.drx").c_str()), 0);
  EXPECT_FALSE(Write(Path("loop-a.drx"), &reason));
  EXPECT_EQ(reason, "is a symbolic link that leads nowhere");
  EXPECT_TRUE(IsLink(Path("loop-a.drx")));
}

TEST_F(HostileFilesHostTest, PermissionsAreKept) {
  const mode_t kModes[] = {0600, 0640, 0604, 0755};
  for (mode_t mode : kModes) {
    for (const char* name : {"kept.drx", "kept.eps"}) {
      const std::string path = Path(name);
      SpillText(path, "old");
      ASSERT_EQ(chmod(path.c_str(), mode), 0);
      std::string reason;
      ASSERT_TRUE(Write(path, &reason)) << reason;
      EXPECT_EQ(ModeOf(path), mode) << name;
      EXPECT_NE(SlurpText(path), "old");
    }
  }
  // A new file gets the mode any new file gets (the umask applied), not the temporary's.
  const mode_t mask = umask(022);
  std::string reason;
  ASSERT_TRUE(Write(Path("fresh.drx"), &reason)) << reason;
  umask(mask);
  EXPECT_EQ(ModeOf(Path("fresh.drx")), 0644u);
}

TEST_F(HostileFilesHostTest, AReadOnlyTargetBehindALinkIsRefused) {
  SpillText(Path("real/locked.drx"), "old");
  ASSERT_EQ(chmod(Path("real/locked.drx").c_str(), 0444), 0);
  ASSERT_EQ(symlink("real/locked.drx", Path("locked.drx").c_str()), 0);
  std::string reason;
  EXPECT_FALSE(Write(Path("locked.drx"), &reason));
  EXPECT_EQ(reason, "is read-only");
  EXPECT_EQ(SlurpText(Path("real/locked.drx")), "old");
  EXPECT_EQ(ModeOf(Path("real/locked.drx")), 0444u);
  EXPECT_TRUE(IsLink(Path("locked.drx")));
}

TEST_F(HostileFilesHostTest, PipesAndDevicesAreRefusedAtOnce) {
  const std::string pipe = Path("pipe.drx");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // Nobody ever writes to the pipe: a read that opened it the ordinary way would wait forever.
  EXPECT_FALSE(DrxFileRead(pipe.c_str()));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure), "is not a regular file");
  EXPECT_FALSE(DrxFileRead("/dev/zero"));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure), "is not a regular file");
  // As targets they are refused too: a save never renames a file over a device or a pipe.
  std::string reason;
  for (const std::string& target : {pipe, std::string("/dev/null")}) {
    EXPECT_FALSE(Write(target, &reason)) << target;
    EXPECT_EQ(reason, "is not a regular file");
  }
  struct stat status;
  ASSERT_EQ(stat("/dev/null", &status), 0);
  EXPECT_TRUE(S_ISCHR(status.st_mode));
  ASSERT_EQ(stat(pipe.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
  EXPECT_FALSE(fs::exists("/dev/null" + std::string(kSaveTemporarySuffix)));
}

}  // namespace
