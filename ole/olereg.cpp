// The registry entries that let containers find and start the program: the class (with its
// local server, handler, program id, formats, verbs, names and status) and the program id.
#include <cstdio>
#include <cwchar>
#include <string>

#include "ole/cosmo.h"
#include "ole/oleserver.h"

namespace {

constexpr wchar_t kClassesRoot[] = L"Software\\Classes";
constexpr wchar_t kProgId[] = L"Draxel.Design.1";

struct Entry {
  const wchar_t* key;   // under the class key; empty for the class key itself
  const wchar_t* name;  // null for the default value
  const wchar_t* value;
};

// The class key's entries; the local server's path is added with the program's own.
const Entry kClassEntries[] = {
    {L"", nullptr, kUserTypeName},
    {L"InprocHandler32", nullptr, L"ole32.dll"},
    {L"ProgID", nullptr, kProgId},
    {L"Insertable", nullptr, L""},
    {L"DataFormats\\GetSet\\0", nullptr, L"Stuff,1,1,3"},
    {L"DataFormats\\GetSet\\1", nullptr, L"Embed Source,1,8,1"},
    {L"DataFormats\\GetSet\\2", nullptr, L"Object Descriptor,1,1,1"},
    {L"DataFormats\\GetSet\\3", nullptr, L"3,1,32,1"},
    {L"DataFormats\\DefaultFile", nullptr, L"Stuff"},
    {L"Verbs\\0", nullptr, L"&Edit,0,2"},
    {L"AuxUserType\\2", nullptr, L"Draxel"},
    {L"AuxUserType\\3", nullptr, L"Draxel Pro 2.0"},
    {L"MiscStatus", nullptr, L"0"},
};

std::wstring ClassKey() {
  wchar_t text[64];
  if (!StringFromGUID2(CLSID_CosmoFigure, text, 64)) return {};
  return std::wstring(kClassesRoot) + L"\\CLSID\\" + text;
}

bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG result = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

}  // namespace

bool RegisterOleServer() {
  const std::wstring classKey = ClassKey();
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (classKey.empty() || length == 0 || length >= MAX_PATH) return false;
  bool ok = SetValue(classKey + L"\\LocalServer32", nullptr, L"\"" + std::wstring(path) + L"\"");
  for (const Entry& entry : kClassEntries) {
    const std::wstring key = *entry.key ? classKey + L"\\" + entry.key : classKey;
    ok = SetValue(key, entry.name, entry.value) && ok;
  }
  const std::wstring progKey = std::wstring(kClassesRoot) + L"\\" + kProgId;
  wchar_t clsid[64];
  StringFromGUID2(CLSID_CosmoFigure, clsid, 64);
  ok = SetValue(progKey, nullptr, kUserTypeName) && ok;
  ok = SetValue(progKey + L"\\CLSID", nullptr, clsid) && ok;
  ok = SetValue(progKey + L"\\Insertable", nullptr, L"") && ok;
  return ok;
}

bool UnregisterOleServer() {
  const std::wstring classKey = ClassKey();
  const std::wstring progKey = std::wstring(kClassesRoot) + L"\\" + kProgId;
  bool ok = true;
  for (const std::wstring& key : {classKey, progKey}) {
    const LONG result = RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) ok = false;
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
  }
  return ok;
}
