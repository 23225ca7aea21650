// Numbers and names of the program's resources other than strings and commands. Plain macros:
// the resource compiler reads this file.
#pragma once

#define IDI_DRAXEL 1
#define IDR_MAINMENU 128
#define IDD_SPLASH 2000
#define IDD_ABOUT 2002
#define IDD_EXPORT_WARNING 2004
// The export warning's text and buttons.
#define IDC_EXPORT_WARNING_TEXT 3
#define IDYES_EXPORT 1
#define IDNO_EXPORT 2
#define IDB_ARROW_FIRST 1200  // the seven arrowhead pictures: 1200..1206
#define IDB_ARROW_LAST 1206
// Toolbox pictures: each tool button's bitmap has the tool's id (200..209, 300..306, 400..405,
// 500..509); these are the others.
#define IDB_CLOSE_BOX 100
#define IDB_TOOLBAR 700
#define IDB_MISC_PANE 800
#define IDB_PATTERNS 900

// Controls of the "OPENSYMBOL" file dialog template (the standard controls keep their ids).
#define IDC_SYMBOL_PREVIEW 1100
#define IDC_SHOW_PREVIEW 1101
