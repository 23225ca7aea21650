// Installs a printer that writes PostScript to a file into a Wine prefix, so Draxel can print
// where no real printer is set up. Run it inside the prefix (cmake/wine-run.sh does that):
//   wineprinter add      adds the driver and the printer "Draxel PostScript" on the port
//                        "FILE:" and makes it the default printer; nothing when it is there
//   wineprinter remove   removes that printer and forgets the default printer
//   wineprinter list     prints the installed printers, the default one marked with "*"
// Exit status 0 when done, 1 on a failure (with one line on stderr), 2 on a usage error.
//
// The driver is Wine's PostScript driver; its data file is a small printer description written
// here into the prefix's driver folder: 300 dpi, colour, the common paper sizes, a margin of a
// quarter inch on every side. Printing to the port "FILE:" asks for the output file's name.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

namespace {

const wchar_t kPrinterName[] = L"Draxel PostScript";
const wchar_t kDriverName[] = L"Draxel PostScript File";
const wchar_t kDescriptionFile[] = L"DRXPS.PPD";
const wchar_t kPostScriptDriver[] = L"wineps.drv";
const wchar_t kFilePort[] = L"FILE:";

// Paper sizes in points: name, width, height. The printable area leaves kMargin on every side.
struct Paper {
  const char* name;
  int width, height;
};
const Paper kPapers[] = {
    {"Letter", 612, 792}, {"Legal", 612, 1008}, {"Tabloid", 792, 1224}, {"A4", 595, 842},
    {"A3", 842, 1191},    {"A2", 1191, 1684},   {"B4", 729, 1032},
};
constexpr int kMargin = 18;

const char kDescriptionHead[] =
    "*PPD-Adobe: \"4.3\"\n"
    "*FormatVersion: \"4.3\"\n"
    "*FileVersion: \"1.0\"\n"
    "*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n"
    "*PCFileName: \"DRXPS.PPD\"\n"
    "*Manufacturer: \"Draxel\"\n"
    "*Product: \"(Draxel PostScript File)\"\n"
    "*ModelName: \"Draxel PostScript File\"\n"
    "*ShortNickName: \"Draxel PostScript File\"\n"
    "*NickName: \"Draxel PostScript File\"\n"
    "*PSVersion: \"(3010.000) 0\"\n"
    "*LanguageLevel: \"3\"\n"
    "*ColorDevice: True\n"
    "*DefaultColorSpace: RGB\n"
    "*FileSystem: False\n"
    "*Throughput: \"1\"\n"
    "*LandscapeOrientation: Plus90\n"
    "*TTRasterizer: Type42\n"
    "*DefaultResolution: 300dpi\n";

std::vector<char> DescriptionText() {
  std::vector<char> text(kDescriptionHead, kDescriptionHead + std::strlen(kDescriptionHead));
  char line[200];
  auto add = [&text](const char* s) { text.insert(text.end(), s, s + std::strlen(s)); };
  add("*OpenUI *PageSize/Media Size: PickOne\n*OrderDependency: 10 AnySetup *PageSize\n");
  add("*DefaultPageSize: Letter\n");
  for (const Paper& p : kPapers) {
    std::snprintf(line, sizeof line,
                  "*PageSize %s/%s: \"<</PageSize[%d %d]/ImagingBBox null>>setpagedevice\"\n", p.name, p.name,
                  p.width, p.height);
    add(line);
  }
  add("*CloseUI: *PageSize\n*OpenUI *PageRegion: PickOne\n*OrderDependency: 10 AnySetup *PageRegion\n");
  add("*DefaultPageRegion: Letter\n");
  for (const Paper& p : kPapers) {
    std::snprintf(line, sizeof line,
                  "*PageRegion %s/%s: \"<</PageSize[%d %d]/ImagingBBox null>>setpagedevice\"\n", p.name,
                  p.name, p.width, p.height);
    add(line);
  }
  add("*CloseUI: *PageRegion\n*DefaultImageableArea: Letter\n");
  for (const Paper& p : kPapers) {
    std::snprintf(line, sizeof line, "*ImageableArea %s/%s: \"%d %d %d %d\"\n", p.name, p.name, kMargin,
                  kMargin, p.width - kMargin, p.height - kMargin);
    add(line);
  }
  add("*DefaultPaperDimension: Letter\n");
  for (const Paper& p : kPapers) {
    std::snprintf(line, sizeof line, "*PaperDimension %s/%s: \"%d %d\"\n", p.name, p.name, p.width, p.height);
    add(line);
  }
  return text;
}

int Fail(const char* what) {
  std::fprintf(stderr, "wineprinter: %s (error %lu)\n", what, GetLastError());
  return 1;
}

bool PrinterExists() {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(kPrinterName), &printer, nullptr)) return false;
  ClosePrinter(printer);
  return true;
}

// Writes the printer description into the driver folder; its full path goes to `path`.
bool WriteDescription(wchar_t* path, DWORD size) {
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(path), size * sizeof(wchar_t),
                                  &needed))
    return false;
  CreateDirectoryW(path, nullptr);
  if (std::wcslen(path) + 2 + std::wcslen(kDescriptionFile) >= size) return false;
  std::wcscat(path, L"\\");
  std::wcscat(path, kDescriptionFile);
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::vector<char> text = DescriptionText();
  DWORD written = 0;
  const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size();
  return CloseHandle(file) && ok;
}

int Add() {
  if (PrinterExists())
    return SetDefaultPrinterW(kPrinterName) ? 0 : Fail("cannot make the printer the default");
  wchar_t description[MAX_PATH];
  if (!WriteDescription(description, MAX_PATH)) return Fail("cannot write the printer description");
  DRIVER_INFO_3W driver = {};
  driver.cVersion = 3;
  driver.pName = const_cast<wchar_t*>(kDriverName);
  driver.pDriverPath = const_cast<wchar_t*>(kPostScriptDriver);
  driver.pDataFile = description;
  driver.pConfigFile = const_cast<wchar_t*>(kPostScriptDriver);
  driver.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
  if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver),
                           APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY))
    return Fail("cannot add the PostScript driver");
  PRINTER_INFO_2W info = {};
  info.pPrinterName = const_cast<wchar_t*>(kPrinterName);
  info.pPortName = const_cast<wchar_t*>(kFilePort);
  info.pDriverName = const_cast<wchar_t*>(kDriverName);
  info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
  info.pDatatype = const_cast<wchar_t*>(L"RAW");
  info.pComment = const_cast<wchar_t*>(L"PostScript written to a file");
  info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  if (!printer) return Fail("cannot add the printer");
  ClosePrinter(printer);
  return SetDefaultPrinterW(kPrinterName) ? 0 : Fail("cannot make the printer the default");
}

int Remove() {
  if (PrinterExists()) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(const_cast<wchar_t*>(kPrinterName), &printer, &access))
      return Fail("cannot open the printer");
    const bool removed = DeletePrinter(printer);
    ClosePrinter(printer);
    if (!removed) return Fail("cannot remove the printer");
  }
  // Forget the default printer in both places programs look for it.
  WriteProfileStringW(L"windows", L"device", nullptr);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", 0,
                    KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, L"Device");
    RegCloseKey(key);
  }
  return 0;
}

int List() {
  DWORD needed = 0, count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count))
    return needed == 0 ? 0 : Fail("cannot list the printers");
  wchar_t standard[256] = L"";
  DWORD size = 256;
  if (!GetDefaultPrinterW(standard, &size)) standard[0] = L'\0';
  const PRINTER_INFO_2W* printers = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i)
    std::printf("%s%ls\t%ls\t%ls\n", std::wcscmp(printers[i].pPrinterName, standard) == 0 ? "*" : "",
                printers[i].pPrinterName, printers[i].pPortName, printers[i].pDriverName);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "add") == 0) return Add();
  if (argc == 2 && std::strcmp(argv[1], "remove") == 0) return Remove();
  if (argc == 2 && std::strcmp(argv[1], "list") == 0) return List();
  std::fprintf(stderr, "usage: wineprinter add | remove | list\n");
  return 2;
}
