// Saving when the disk refuses bytes part-way (a file size limit in a child process): the save
// fails with its reason, the old drawing stays as it was and no temporary file is left.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/pthndlr.h"

namespace {

std::vector<char> Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DrxFileSaveFailure, DiskFullMidwayKeepsTheOldFile) {
  const std::string path = std::string(DRX_BINARY_DIR) + "/drxfile-host-full.drx";
  const std::vector<char> old = {'o', 'l', 'd'};
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(old.data(), static_cast<std::streamsize>(old.size()));
  }
  std::fflush(nullptr);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A drawing of a few hundred kilobytes against a limit of 64 KB.
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {64 * 1024, 64 * 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    CreateDocument();
    for (int i = 0; i < 5000; ++i) {
      ObjectRec* line = CreateObject(kLineKind, 0, 1, &kWhite16, &kBlack16, 1, 6, 0, &kEmptyRect, nullptr,
                                     nullptr, nullptr, nullptr, nullptr);
      AppendPointToObject(CreatePoint(1, 0, 0, 0, 0, i, i, 0, 0, line), line);
      AppendPointToObject(CreatePoint(1, 0, 0, 0, 0, i + 5, i, 0, 0, line), line);
      AppendObjectToLayer(line, gCurDocument->firstLayer);
    }
    bool saved = DrxFileWrite(path.c_str());
    bool reasonOk = gDrxFileFailure.reason == DrxReason::kCannotWrite;
    _exit(!saved && reasonOk ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must fail with \"cannot be written\"";
  EXPECT_EQ(Slurp(path), old);
  EXPECT_FALSE(std::ifstream(path + ".drxsave").good()) << "the temporary file is removed";
}

TEST(DrxFileSaveFailure, ATargetThatCannotBeReplacedKeepsNoTemporary) {
  const std::string path = std::string(DRX_BINARY_DIR) + "/drxfile-host-dir.drx";
  mkdir(path.c_str(), 0755);
  ASSERT_NE(CreateDocument(), nullptr);
  EXPECT_FALSE(DrxFileWrite(path.c_str()));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure), "is not a regular file");
  EXPECT_FALSE(std::ifstream(path + ".drxsave").good());
  DeleteDocument(gCurDocument);
}

}  // namespace
