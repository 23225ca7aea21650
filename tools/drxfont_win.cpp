// The font dialog of the text commands.
#include "tools/drxfont_win.h"

#include <commdlg.h>

#include <cstring>

#include "tools/drxfont.h"

namespace {

constexpr int kColourScale = 257;  // a 16-bit intensity per 8-bit device step

LOGFONTA gModuleFont = {};
HFONT gModuleFontHandle = nullptr;

COLORREF DeviceColour(const RGB16& colour) {
  return RGB(colour.red / kColourScale, colour.green / kColourScale, colour.blue / kColourScale);
}

RGB16 StoredColour(COLORREF colour) {
  return RGB16{static_cast<uint16_t>(GetRValue(colour) * kColourScale),
               static_cast<uint16_t>(GetGValue(colour) * kColourScale),
               static_cast<uint16_t>(GetBValue(colour) * kColourScale)};
}

void ReplaceModuleFont(HWND window, HFONT font) {
  if (!font) return;
  if (window) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (gModuleFontHandle) DeleteObject(gModuleFontHandle);
  gModuleFontHandle = font;
}

}  // namespace

bool DrxFontChooseFont(HWND owner) {
  static_assert(sizeof(LOGFONTA) == sizeof gCurFontInfo, "FontRecord mirrors LOGFONTA");
  LOGFONTA font;
  std::memcpy(&font, &gCurFontInfo, sizeof font);
  font.lfFaceName[LF_FACESIZE - 1] = '\0';
  CHOOSEFONTA choose = {};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.lpLogFont = &font;
  choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
  choose.rgbColors = DeviceColour(gFontColor);
  if (!ChooseFontA(&choose)) return false;
  std::memcpy(&gCurFontInfo, &font, sizeof font);
  gFontColor = StoredColour(choose.rgbColors);
  return true;
}

void DrxFontInitialize(HWND window) {
  GetObjectA(GetStockObject(SYSTEM_FONT), sizeof gModuleFont, &gModuleFont);
  ReplaceModuleFont(window, CreateFontIndirectA(&gModuleFont));
}

void DrxFontSetFont(HWND window) {
  std::memcpy(&gModuleFont, &gCurFontInfo, sizeof gModuleFont);
  gModuleFont.lfFaceName[LF_FACESIZE - 1] = '\0';
  ReplaceModuleFont(window, CreateFontIndirectA(&gModuleFont));
}

void DrxFontDeinitialize() {
  if (gModuleFontHandle) DeleteObject(gModuleFontHandle);
  gModuleFontHandle = nullptr;
}
