// drxconv as scripts use it: the built program is run on drawings written byte by byte here,
// its JSON is parsed back and checked field by field, and its exit statuses and messages are
// checked for every kind of failure.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/bytewriter.h"
#include "tests/support/jsonreader.h"

#ifdef _WIN32
#include <windows.h>

#include "dimensions/dimlabel.h"
#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

// ---- Running the program -------------------------------------------------------------------

struct RunResult {
  int status = -1;
  std::string out, err;
};

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) {
  return std::ifstream(path, std::ios::binary).good();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Paths handed to the Windows build under Wine: a Unix absolute path becomes a Z: path.
std::string NativePath(const std::string& path) {
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') return "Z:" + path;
#endif
  return path;
}

std::string WorkDir() {
  static const std::string dir = [] {
    // One folder per test: ctest runs tests side by side, each in its own process.
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string base = NativePath(std::string(DRX_BINARY_DIR) + "/drxconv-test");
    const std::string path =
        test ? base + "/" + test->test_suite_name() + "." + test->name() : base + "/outside-tests";
#ifdef _WIN32
    CreateDirectoryA(base.c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
#else
    mkdir(base.c_str(), 0755);
    mkdir(path.c_str(), 0755);
#endif
    return path;
  }();
  return dir;
}

std::string WorkPath(const std::string& name) {
  return WorkDir() + "/" + name;
}

std::string ProgramPath() {
#ifdef _WIN32
  return NativePath(std::string(DRX_BINARY_DIR) + "/drxconv.exe");
#else
  return std::string(DRX_BINARY_DIR) + "/drxconv";
#endif
}

// Runs drxconv with `args`; stdout and stderr go through files, so nothing can deadlock.
RunResult RunDrxconv(const std::vector<std::string>& args) {
  RunResult result;
  // Fresh names for every run: under Wine a finished child's handles can stay open a moment.
  static int runCount = 0;
  const std::string stem = WorkPath("run" + std::to_string(++runCount));
  const std::string outPath = stem + ".out";
  const std::string errPath = stem + ".err";
  const std::string program = ProgramPath();
#ifdef _WIN32
  std::string commandLine = "\"" + program + "\"";
  for (const std::string& arg : args) commandLine += " \"" + arg + "\"";
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out =
      CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  HANDLE err =
      CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process = {};
  if (out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
      CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                     nullptr, &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.status = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    std::fprintf(stderr, "cannot run %s: error %lu\n", commandLine.c_str(), GetLastError());
  }
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
#else
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int wstatus = 0;
  if (child > 0 && waitpid(child, &wstatus, 0) == child && WIFEXITED(wstatus))
    result.status = WEXITSTATUS(wstatus);
#endif
  result.out = ReadWholeFile(outPath);
  result.err = ReadWholeFile(errPath);
  std::remove(outPath.c_str());
  std::remove(errPath.c_str());
  return result;
}

// ---- Drawings written byte by byte ---------------------------------------------------------

class Bytes : public ByteWriter<Bytes> {
 public:
  // Object info of version 150: kind, closed, flag, fill, weight, type, pattern, pen.
  Bytes& Info(int kind, int closed, float weight, int type, int pattern) {
    return Short(kind)
        .Byte(closed)
        .Byte(1)
        .Color(1000, 2000, 3000)
        .Float(weight)
        .Short(type)
        .Short(pattern)
        .Color(4000, 5000, 6000);
  }
  Bytes& Point(int kind, float x, float y, float inX = 0, float inY = 0, float outX = 0, float outY = 0) {
    return Short(kind).Byte(0).Byte(1).Byte(0).Float(inX).Float(inY).Float(x).Float(y).Float(outX).Float(
        outY);
  }
  Bytes& Corners(float top, float left, float bottom, float right) {
    return Long(4).Point(1, left, top).Point(1, right, top).Point(1, right, bottom).Point(1, left, bottom);
  }
  // A font record: five little-endian 16-bit values, eight bytes, a 32-byte face name.
  Bytes& Font(int height, int weight, int italic, const char* face) {
    LittleShort(height).LittleShort(0).LittleShort(0).LittleShort(0).LittleShort(weight);
    Byte(italic).Byte(0).Byte(0).Byte(0).Byte(0).Byte(0).Byte(0).Byte(0x22);
    std::string name(face);
    name.resize(32, '\0');
    return Raw(name);
  }
};

// The smallest standard metafile: its 18-byte header and the end record.
std::string TinyMetafile() {
  Bytes wmf;
  wmf.LittleShort(1).LittleShort(9).LittleShort(0x300);
  wmf.LittleShort(12).LittleShort(0);  // size in 16-bit words, as a little-endian long
  wmf.LittleShort(0).LittleShort(3).LittleShort(0).LittleShort(0);
  wmf.LittleShort(3).LittleShort(0).LittleShort(0);  // end record: 3 words, function 0
  return wmf.str();
}

constexpr char kText[] = "Door \"A\"\\\n\tcaf\xE9";

// A version-150 drawing: settings with values unlike the defaults, a visible layer with one
// object of each family (rectangle, curved spline, bracketed group, text block, dimension with
// label, picture) and a hidden layer with a line.
std::string FixtureDrawing(int version = 150) {
  Bytes b;
  b.Long(version).Short(2);
  b.Long(217);
  b.Float(0.75f).Float(-1.25f).Short(3).Float(36.0f).Float(756.0f);  // dup offsets, repeat, origin
  b.Byte(1).Byte(0).Byte(1).Byte(1).Float(0.5f).Float(0.25f);        // axis, breaks, grid, snap, grid
  b.Short(40).Float(0.125f).Short(8).Short(2);                       // scroll, nudge, line type, weight
  b.Float(0).Float(0).Float(1224).Float(792);                        // pageRect
  b.Short(14).Short(2).Short(3).Short(4).Short(5).Short(2);          // paper kind and choices
  b.Float(11.0f).Float(17.0f).Short(5088).Float(0.01f).Float(-0.02f).Short(5055);
  b.Float(0.3f).Short(8).Color(100, 200, 300).Color(65535, 65000, 64000);
  b.Short(5061).Short(24).Byte(0).Float(48.0f).Short(1).Short(2).Byte(1).Float(1.0f).Float(4.0f);
  b.Short(12).Short(6).Short(40).Short(7).Short(5).Float(1.0f).Short(50).Byte(1).Byte(0);
  b.Long(0x80204).Short(5101).Color(7, 8, 9).Float(0.5f).Float(0.75f).Byte(1).Byte(1).Short(4);

  b.Short(100);
  std::string name = "Walls";
  name.resize(256, '\0');
  b.Raw(name).Byte(1).Byte(1);
  // 0: rectangle.
  b.Short(200).Info(1, 1, 2.5f, 7, 11).Corners(10, 20, 110, 220);
  // 1: spline whose curve bulges above its points.
  b.Short(200)
      .Info(7, 0, 1.0f, 6, 0)
      .Long(2)
      .Point(1, 100, 300, 0, 0, 0, -200)
      .Point(1, 200, 300, 0, 200, 0, 0);
  // 2: group with two lines.
  b.Short(200).Info(1000, 0, 1.0f, 6, 0).Long(0).Short(202);
  b.Short(200).Info(6, 0, 1.0f, 6, 0).Long(2).Point(1, 0, 0).Point(1, 50, 60);
  b.Short(200).Info(6, 0, 3.0f, 9, 0).Long(2).Point(1, 5, 6).Point(1, 70, 80);
  b.Short(203);
  // 3: right-aligned text block.
  b.Short(200).Info(200, 1, 0.0f, 6, 0).Corners(400, 100, 440, 300);
  b.Long(sizeof kText).Raw(std::string(kText, sizeof kText)).Long(0).Short(-1).Font(-13, 700, 1, "Arial");
  // 4: length dimension with its label (5).
  b.Short(200).Info(102, 0, 1.0f, 6, 0).Long(2).Point(1, 10, 500).Point(1, 210, 500);
  b.Short(300).Info(201, 1, 0.0f, 6, 0).Corners(480, 90, 495, 130);
  b.Short(3).Short(12).Byte(2).Font(-11, 400, 0, "Courier New");
  b.Long(0x81001).Float(0.5f).Float(-0.25f);
  // 6: picture.
  const std::string bits = TinyMetafile();
  b.Short(200).Info(302, 1, 0.0f, 6, 0).Corners(600, 50, 700, 150);
  b.Short(8).Short(-10).Short(-20).Short(1000).Short(2000).Short(1440);
  b.LittleShort(static_cast<int>(bits.size())).LittleShort(0).Raw(bits);
  // 7: a right-angle dimension (readout 0.00, bit 14) with its label (8).
  b.Short(200)
      .Info(103, 0, 1.0f, 6, 0)
      .Long(4)
      .Point(1, 300, 300)
      .Point(1, 400, 300)
      .Point(1, 300, 200)
      .Point(1, 300, 250);
  b.Short(300).Info(201, 1, 0.0f, 6, 0).Corners(260, 320, 280, 360);
  b.Short(0).Short(0).Byte(0).Font(-11, 400, 0, "Arial");
  b.Long(0x4001).Float(0).Float(0);

  b.Short(100);
  name = "Hidden";
  name.resize(256, '\0');
  b.Raw(name).Byte(0).Byte(1);
  b.Short(200).Info(6, 0, 1.0f, 6, 0).Long(2).Point(1, 1, 2).Point(1, 3, 4);
  b.Short(400);
  return b.str();
}

Json ParseInfo(const std::string& path) {
  const RunResult run = RunDrxconv({"info", path});
  Json json;
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(JsonReader(run.out).Parse(&json)) << run.out.substr(0, 2000);
  return json;
}

std::string WriteFixture(const std::string& name, const std::string& bytes) {
  const std::string path = WorkPath(name);
  WriteWholeFile(path, bytes);
  return path;
}

// A failure: the status, nothing on stdout, exactly one stderr line naming `file`.
void ExpectFailure(const RunResult& run, int status, const std::string& file,
                   const char* reasonWord = nullptr) {
  EXPECT_EQ(run.status, status) << run.err;
  EXPECT_EQ(run.out, "");
  const std::string prefix = "drxconv: " + file + ": ";
  EXPECT_EQ(run.err.compare(0, prefix.size(), prefix), 0) << run.err;
  ASSERT_FALSE(run.err.empty());
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  if (reasonWord) {
    EXPECT_NE(run.err.find(reasonWord), std::string::npos) << run.err;
  }
}

void ExpectColor(const Json& color, int red, int green, int blue) {
  ASSERT_EQ(color.size(), 3u);
  EXPECT_EQ(color[0].number, red);
  EXPECT_EQ(color[1].number, green);
  EXPECT_EQ(color[2].number, blue);
}

void ExpectRect(const Json& rect, float top, float left, float bottom, float right) {
  ASSERT_EQ(rect.size(), 4u);
  EXPECT_EQ(rect[0].number, top);
  EXPECT_EQ(rect[1].number, left);
  EXPECT_EQ(rect[2].number, bottom);
  EXPECT_EQ(rect[3].number, right);
}

TEST(DrxconvInfo, PrintsEveryStoredFieldOfAHandMadeDrawing) {
  const Json info = ParseInfo(WriteFixture("fixture.drx", FixtureDrawing()));
  EXPECT_EQ(info["version"].number, 150);
  EXPECT_EQ(info["platform"].number, 2);

  const Json& s = info["docState"];
  EXPECT_EQ(s.size(), 58u);  // every stored field, nothing of the in-memory ones
  EXPECT_FALSE(s.Has("lineSize"));
  EXPECT_FALSE(s.Has("selectionState"));
  EXPECT_EQ(s["dupOffsetH"].number, 0.75);
  EXPECT_EQ(s["dupOffsetV"].number, -1.25);
  EXPECT_EQ(s["dupRepeat"].number, 3);
  EXPECT_EQ(s["originV"].number, 756);
  EXPECT_EQ(s["showGrid"].number, 1);
  EXPECT_EQ(s["showPageBreaks"].number, 0);
  EXPECT_EQ(s["gridV"].number, 0.25);
  EXPECT_EQ(s["nudgeRate"].number, 0.125);
  ExpectRect(s["pageRect"], 0, 0, 1224, 792);
  EXPECT_EQ(s["paperKind"].number, 14);
  EXPECT_EQ(s["paperCustomUnit"].number, 2);
  EXPECT_EQ(s["paperHeight"].number, 17);
  EXPECT_EQ(s["arrowStyle"].number, 5088);
  // Floats read back as the same single-precision values.
  EXPECT_EQ(static_cast<float>(s["upperTolerance"].number), 0.01f);
  EXPECT_EQ(static_cast<float>(s["lowerTolerance"].number), -0.02f);
  EXPECT_EQ(static_cast<float>(s["parallelWidth"].number), 0.3f);
  ExpectColor(s["fillColor"], 100, 200, 300);
  ExpectColor(s["backColor"], 65535, 65000, 64000);
  EXPECT_EQ(s["readoutStyle"].number, 5061);
  EXPECT_EQ(s["scaleFactor"].number, 48);
  EXPECT_EQ(s["worldScale"].number, 4);
  EXPECT_EQ(s["curveSmoothness"].number, 12);
  EXPECT_EQ(s["tension"].number, 5);
  EXPECT_EQ(s["drawFromCenter"].number, 1);
  EXPECT_EQ(s["dimFlags"].number, 0x80204);
  EXPECT_EQ(s["titleStyle"].number, 5101);
  ExpectColor(s["penColor"], 7, 8, 9);
  EXPECT_EQ(s["snapV"].number, 0.75);
  EXPECT_EQ(s["showVerticalRuler"].number, 1);
  EXPECT_EQ(s["minorDivisions"].number, 4);

  const Json& layers = info["layers"];
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_EQ(layers[0]["name"].text, "Walls");
  EXPECT_EQ(layers[1]["name"].text, "Hidden");
  EXPECT_EQ(layers[1]["visible"].number, 0);
  EXPECT_EQ(layers[1]["layerFlag"].number, 1);
  ASSERT_EQ(layers[1]["objects"].size(), 1u);

  const Json& objects = layers[0]["objects"];
  ASSERT_EQ(objects.size(), 9u);
  const Json& rect = objects[0];
  EXPECT_EQ(rect["kind"].number, 1);
  EXPECT_EQ(rect["closed"].number, 1);
  EXPECT_EQ(rect["objectFlag"].number, 1);
  ExpectColor(rect["fillColor"], 1000, 2000, 3000);
  ExpectColor(rect["penColor"], 4000, 5000, 6000);
  EXPECT_EQ(rect["lineWeight"].number, 2.5);
  EXPECT_EQ(rect["lineType"].number, 7);
  EXPECT_EQ(rect["fillPattern"].number, 11);
  ExpectRect(rect["bounds"], 10, 20, 110, 220);
  ASSERT_EQ(rect["points"].size(), 4u);
  const Json& corner = rect["points"][2];
  EXPECT_EQ(corner["pointKind"].number, 1);
  EXPECT_EQ(corner["selected"].number, 0);
  EXPECT_EQ(corner["detectable"].number, 1);
  EXPECT_EQ(corner["locked"].number, 0);
  EXPECT_EQ(corner["x"].number, 220);
  EXPECT_EQ(corner["y"].number, 110);

  const Json& spline = objects[1];
  EXPECT_EQ(spline["points"][0]["outTangent"][1].number, -200);
  EXPECT_EQ(spline["points"][1]["inTangent"][1].number, 200);
  EXPECT_LT(spline["bounds"][0].number, 300);  // the curve rises above its points
  EXPECT_EQ(spline["bounds"][2].number, 300);

  const Json& group = objects[2];
  EXPECT_EQ(group["kind"].number, 1000);
  ASSERT_EQ(group["children"].size(), 2u);
  EXPECT_EQ(group["children"][1]["lineType"].number, 9);
  ExpectRect(group["bounds"], 0, 0, 80, 70);

  const Json& text = objects[3];
  EXPECT_EQ(text["kind"].number, 200);
  EXPECT_EQ(text["text"].text, kText);  // quotes, backslash, control bytes and 0xE9 survive
  EXPECT_EQ(text["alignment"].number, -1);
  EXPECT_EQ(text["font"]["height"].number, -13);
  EXPECT_EQ(text["font"]["weight"].number, 700);
  EXPECT_EQ(text["font"]["italic"].number, 1);
  EXPECT_EQ(text["font"]["pitchAndFamily"].number, 0x22);
  EXPECT_EQ(text["font"]["faceName"].text, "Arial");

  const Json& dimension = objects[4];
  EXPECT_EQ(dimension["kind"].number, 102);
  EXPECT_EQ(dimension["dimFlags"].number, 0x81001);
  EXPECT_EQ(dimension["upperTolerance"].number, 0.5);
  EXPECT_EQ(dimension["lowerTolerance"].number, -0.25);
  EXPECT_EQ(dimension["textObject"].number, 5);
  const Json& label = objects[5];
  EXPECT_EQ(label["kind"].number, 201);
  EXPECT_EQ(label["ownerDimension"].type, Json::kNumber);
  EXPECT_EQ(label["ownerDimension"].number, 4);
  EXPECT_EQ(label["fontNumber"].number, 3);
  EXPECT_EQ(label["fontSize"].number, 12);
  EXPECT_EQ(label["fontStyle"].number, 2);
  EXPECT_EQ(label["font"]["faceName"].text, "Courier New");
  ExpectRect(label["bounds"], 480, 90, 495, 130);
  // A length dimension short of its dimension line reads nothing; the angle dimension reads its
  // angle in its own readout style.
  EXPECT_EQ(dimension["value"].type, Json::kNull);
  EXPECT_EQ(dimension["readout"].type, Json::kNull);
  const Json& angle = objects[7];
  EXPECT_EQ(angle["kind"].number, 103);
  EXPECT_EQ(angle["textObject"].number, 8);
  EXPECT_EQ(objects[8]["ownerDimension"].number, 7);
  EXPECT_NEAR(angle["value"].number, 90, 1e-4);
  EXPECT_EQ(angle["readout"].text, "90.00");

  const Json& picture = objects[6];
  EXPECT_EQ(picture["kind"].number, 302);
  EXPECT_EQ(picture["mapMode"].number, 8);
  ASSERT_EQ(picture["frame"].size(), 4u);  // left, top, right, bottom from the stored top, left, ...
  EXPECT_EQ(picture["frame"][0].number, -20);
  EXPECT_EQ(picture["frame"][1].number, -10);
  EXPECT_EQ(picture["frame"][2].number, 2000);
  EXPECT_EQ(picture["frame"][3].number, 1000);
  EXPECT_EQ(picture["unitsPerInch"].number, 1440);
  EXPECT_EQ(picture["metaFileBytes"].number, TinyMetafile().size());
}

TEST(DrxconvInfo, VersionHundredFileShowsAbsentFieldsAsZero) {
  // A version-100 file has no pen colours in object info and no settings after titleStyle.
  std::string bytes = FixtureDrawing();
  Bytes b;
  b.Long(100).Short(3).Long(217);
  b.Raw(bytes.substr(10, 152));
  b.Short(100).Raw(std::string(256, '\0')).Byte(1).Byte(1);
  b.Short(200)
      .Short(6)
      .Byte(0)
      .Byte(1)
      .Color(1, 2, 3)
      .Float(1)
      .Short(6)
      .Short(0)
      .Long(2)
      .Point(1, 1, 1)
      .Point(1, 9, 9);
  b.Short(400);
  const Json info = ParseInfo(WriteFixture("v100.drx", b.str()));
  EXPECT_EQ(info["version"].number, 100);
  EXPECT_EQ(info["platform"].number, 2);  // platform 3 reads as 2
  ExpectColor(info["docState"]["penColor"], 0, 0, 0);
  EXPECT_EQ(info["docState"]["minorDivisions"].number, 0);
  EXPECT_EQ(info["docState"]["titleStyle"].number, 5101);
  ExpectColor(info["layers"][0]["objects"][0]["penColor"], 0, 0, 0);
  ExpectColor(info["layers"][0]["objects"][0]["fillColor"], 1, 2, 3);
}

TEST(DrxconvConvert, NativeRoundTripKeepsTheInfo) {
  const std::string in = WriteFixture("round.drx", FixtureDrawing());
  const RunResult before = RunDrxconv({"info", in});
  ASSERT_EQ(before.status, 0) << before.err;

  const std::string out = WorkPath("round-out.DRX");  // extensions are case-insensitive
  std::remove(out.c_str());
  const RunResult convert = RunDrxconv({"convert", in, out});
  ASSERT_EQ(convert.status, 0) << convert.err;
  EXPECT_EQ(convert.out + convert.err, "");
  EXPECT_EQ(RunDrxconv({"info", out}).out, before.out);
  EXPECT_FALSE(FileExists(out + ".drxconv~"));

  // Converting a file onto itself reads it whole first.
  ASSERT_EQ(RunDrxconv({"convert", out, out}).status, 0);
  EXPECT_EQ(RunDrxconv({"info", out}).out, before.out);
}

TEST(DrxconvConvert, SymbolHoldsEveryObjectSelected) {
  const std::string in = WriteFixture("symbol-in.drx", FixtureDrawing());
  const std::string out = WorkPath("symbol.sym");
  ASSERT_EQ(RunDrxconv({"convert", in, out}).status, 0);
  const Json before = ParseInfo(in);
  const Json after = ParseInfo(out);
  ASSERT_EQ(after["layers"].size(), 2u);
  EXPECT_EQ(after["layers"][0]["objects"].size(), before["layers"][0]["objects"].size());
  EXPECT_EQ(after["layers"][1]["objects"].size(), 1u);
  const Json& group = after["layers"][0]["objects"][2];
  ASSERT_EQ(group["children"].size(), 2u);
  EXPECT_EQ(group["children"][1]["points"][1]["selected"].number, 1);
  EXPECT_EQ(after["layers"][0]["objects"][0]["points"][0]["selected"].number, 1);
  EXPECT_EQ(after["layers"][0]["objects"][0]["points"][3]["x"].number, 20);
}

#ifdef _WIN32
// A drawing with one rectangle and, when asked, a length dimension with its label above it.
std::string WriteDimensionedDrawing(const std::string& name, bool withDimension) {
  DocumentRec* document = CreateDocument();
  LayerRec* layer = document->firstLayer;
  const RGB16 black = kBlack16, white = kWhite16;
  const FloatRect empty = kEmptyRect;
  auto add = [&](int16_t kind, std::vector<FloatPoint> points) {
    ObjectRec* object = CreateObject(kind, kind == kRectKind, 1, &white, &black, 1.0f, kSolidLineType,
                                     kNoFill, &empty, nullptr, nullptr, nullptr, layer, nullptr);
    for (const FloatPoint& p : points)
      AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, p.x, p.y, 0, 0, object), object);
    UpdateObjectBounds(object);
    AppendObjectToLayer(object, layer);
    return object;
  };
  add(kRectKind, {{100, 200}, {300, 200}, {300, 300}, {100, 300}});
  if (withDimension) {
    ObjectRec* dim = add(kLengthDimKind, {{100, 200}, {100, 150}, {300, 150}, {300, 200}});
    FontRecord font = {};
    font.height = -11;
    std::strcpy(font.faceName, "Arial");
    EXPECT_TRUE(AddDimensionInfo(dim, 200, 150, true, &font));
  }
  const std::string path = WorkPath(name);
  EXPECT_TRUE(DrxFileWrite(path.c_str())) << DrxFailureText(gDrxFileFailure);
  DeleteDocument(document);
  return path;
}

// Pixels other than white in a 24-bit bottom-up BMP as the converter writes it.
size_t BmpInk(const std::string& path) {
  const std::string bytes = ReadWholeFile(path);
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return 0;
  auto u32 = [&bytes](size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  const uint32_t offset = u32(10), width = u32(18), height = u32(22);
  const size_t row = (width * 3 + 3) & ~3u;
  size_t ink = 0;
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      const size_t at = offset + y * row + x * 3;
      if (at + 3 > bytes.size()) return ink;
      if (static_cast<uint8_t>(bytes[at]) != 0xFF || static_cast<uint8_t>(bytes[at + 1]) != 0xFF ||
          static_cast<uint8_t>(bytes[at + 2]) != 0xFF)
        ++ink;
    }
  return ink;
}

TEST(DrxconvConvert, PicturesShowTheDimensions) {
  const std::string plain = WriteDimensionedDrawing("undimensioned.drx", false);
  const std::string dimensioned = WriteDimensionedDrawing("dimensioned.drx", true);
  const std::string plainBmp = WorkPath("undimensioned.bmp"), dimBmp = WorkPath("dimensioned.bmp");
  ASSERT_EQ(RunDrxconv({"convert", plain, plainBmp}).status, 0);
  const RunResult run = RunDrxconv({"convert", dimensioned, dimBmp});
  ASSERT_EQ(run.status, 0) << run.err;
  // Two extension lines, the dimension line, two arrowheads and the readout.
  EXPECT_GT(BmpInk(dimBmp), BmpInk(plainBmp) + 200);
  const std::string plainPng = WorkPath("undimensioned.png"), dimPng = WorkPath("dimensioned.png");
  ASSERT_EQ(RunDrxconv({"convert", plain, plainPng}).status, 0);
  ASSERT_EQ(RunDrxconv({"convert", dimensioned, dimPng}).status, 0);
  EXPECT_NE(ReadWholeFile(plainPng), ReadWholeFile(dimPng));
}
#endif

TEST(DrxconvFailures, UnreadableInputsExitWithTwoAndNameTheFile) {
  const std::string missing = WorkPath("no-such-drawing.drx");
  std::remove(missing.c_str());
  ExpectFailure(RunDrxconv({"info", missing}), 2, missing);

  std::string bytes = FixtureDrawing();
  const std::string damaged = WriteFixture("damaged.drx", bytes.substr(0, bytes.size() - 200));
  ExpectFailure(RunDrxconv({"info", damaged}), 2, damaged, "damaged");

  const std::string unknown = WriteFixture("v120.drx", FixtureDrawing(120));
  ExpectFailure(RunDrxconv({"info", unknown}), 2, unknown, "version");

  const std::string empty = WriteFixture("empty.drx", "");
  ExpectFailure(RunDrxconv({"info", empty}), 2, empty);
}

TEST(DrxconvFailures, FailedConversionLeavesNoOutput) {
  const std::string good = WriteFixture("good.drx", FixtureDrawing());
  std::string bytes = FixtureDrawing();
  const std::string damaged = WriteFixture("damaged2.drx", bytes.substr(0, 700));

  // A damaged input: status 2, an existing OUT keeps its bytes, no temporary is left.
  const std::string kept = WriteFixture("kept.drx", "old bytes");
  ExpectFailure(RunDrxconv({"convert", damaged, kept}), 2, damaged, "damaged");
  EXPECT_EQ(ReadWholeFile(kept), "old bytes");
  EXPECT_FALSE(FileExists(kept + ".drxconv~"));

  // An output that cannot be created.
  const std::string unwritable = WorkPath("no-such-folder/out.drx");
  ExpectFailure(RunDrxconv({"convert", good, unwritable}), 2, unwritable);
  EXPECT_FALSE(FileExists(unwritable));

  // Unsupported outputs are refused before the input is read.
  const std::string strange = WorkPath("out.xyz");
  ExpectFailure(RunDrxconv({"convert", good, strange}), 1, strange, "xyz");
  EXPECT_FALSE(FileExists(strange));
  ExpectFailure(RunDrxconv({"convert", WorkPath("no-such-drawing.drx"), strange}), 1, strange);
#ifndef _WIN32
  const std::string picture = WorkPath("out.png");
  ExpectFailure(RunDrxconv({"convert", good, picture}), 1, picture, "Windows build");
  EXPECT_FALSE(FileExists(picture));
#endif
}

TEST(DrxconvFailures, UsageErrorsExitWithOne) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"info"},
      {"info", "a.drx", "b.drx"},
      {"convert", "a.drx"},
      {"convert", "a.drx", "b.drx", "c.drx"},
      {"convert", "a.drx", "b.png", "--zoom"},
      {"convert", "a.drx", "b.png", "--zoom", "-2"},
      {"convert", "a.drx", "b.drx", "--frobnicate"},
      {"explode", "a.drx"},
  };
  for (const auto& args : cases) {
    const RunResult run = RunDrxconv(args);
    EXPECT_EQ(run.status, 1) << (args.empty() ? "(none)" : args[0]) << " " << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.compare(0, 9, "drxconv: "), 0) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  }
  const RunResult help = RunDrxconv({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("convert IN OUT"), std::string::npos);
  const RunResult version = RunDrxconv({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.compare(0, 8, "drxconv "), 0);
}

TEST(DrxconvImport, DxfBecomesObjectsAndTheRestIsToldApart) {
  const std::string dxf = WriteFixture(
      "square.DXF",
      "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n0\n20\n0\n11\n144\n21\n0\n0\nCIRCLE\n10\n72\n20\n72\n40\n36\n"
      "0\nHATCH\n0\nENDSEC\n0\nEOF\n");
  const std::string out = WorkPath("square.drx");
  const RunResult convert = RunDrxconv({"convert", dxf, out});
  ASSERT_EQ(convert.status, 0) << convert.err;
  // What did not come across is said in one line.
  EXPECT_NE(convert.err.find("Not imported: 1 HATCH."), std::string::npos) << convert.err;
  const RunResult info = RunDrxconv({"info", out});
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("\"kind\": 3"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("\"kind\": 2"), std::string::npos) << info.out;
  // The imported file reads as a drawing for info too.
  EXPECT_EQ(RunDrxconv({"info", dxf}).status, 0);

  // A DXF file that is not one: status 2, its reason, no output.
  const std::string broken = WriteFixture("broken.dxf", "this is\nnot dxf\n");
  const std::string brokenOut = WorkPath("broken.drx");
  ExpectFailure(RunDrxconv({"convert", broken, brokenOut}), 2, broken, "invalid data");
  EXPECT_FALSE(FileExists(brokenOut));

  // Picture formats: the host build refuses them; the Windows build reads them through the
  // filters beside it, as one picture, and a file the filter cannot read is status 2.
  const std::string bmp = WriteFixture("picture.bmp", "BM");
#ifdef _WIN32
  ExpectFailure(RunDrxconv({"convert", bmp, WorkPath("broken-picture.drx")}), 2, bmp);
  // A 2 x 2 pixel, 24-bit picture without a resolution: placed at 96 per inch.
  std::string pixels = "BM";
  const auto put32 = [&pixels](uint32_t v) {
    for (int i = 0; i < 4; ++i) pixels.push_back(static_cast<char>(v >> (8 * i)));
  };
  const auto put16 = [&pixels](uint16_t v) {
    pixels.push_back(static_cast<char>(v));
    pixels.push_back(static_cast<char>(v >> 8));
  };
  put32(70), put32(0), put32(54), put32(40), put32(2), put32(2), put16(1), put16(24);
  for (int i = 0; i < 6; ++i) put32(0);
  pixels += std::string("\xff\0\0\0\xff\0\0\0\0\0\xff\xff\xff\xff\0\0", 16);
  const std::string good = WriteFixture("good.bmp", pixels);
  const std::string placed = WorkPath("good-picture.drx");
  const RunResult picture = RunDrxconv({"convert", good, placed});
  ASSERT_EQ(picture.status, 0) << picture.err;
  const RunResult read = RunDrxconv({"info", placed});
  ASSERT_EQ(read.status, 0) << read.err;
  EXPECT_NE(read.out.find("\"kind\": 302"), std::string::npos) << read.out;
#else
  ExpectFailure(RunDrxconv({"convert", bmp, WorkPath("picture.drx")}), 1, bmp, "Windows build");
#endif
}

}  // namespace
