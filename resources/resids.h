// Numbers and names of the program's resources other than strings and commands. Plain macros:
// the resource compiler reads this file.
#pragma once

#define IDI_DRAXEL 1
#define IDR_MAINMENU 128
#define IDD_SPLASH 2000
#define IDD_ABOUT 2002
#define IDD_EXPORT_WARNING 2004
#define IDD_PAPER_SIZE 1010
#define IDD_PLOT 1015
#define IDD_PRINTING 2001
// The paper dialog: width and height of the custom size, the family radio buttons (their ids
// are the stored paperKind) and each family's list.
#define IDC_PAPER_WIDTH 8
#define IDC_PAPER_HEIGHT 9
#define IDC_PAPER_ARCH 10
#define IDC_PAPER_MECH 11
#define IDC_PAPER_METRIC 14
#define IDC_PAPER_OVERSIZE 15
#define IDC_PAPER_CUSTOM 19
#define IDC_PAPER_ARCH_LIST 12
#define IDC_PAPER_MECH_LIST 13
#define IDC_PAPER_METRIC_LIST 16
#define IDC_PAPER_OVERSIZE_LIST 17
#define IDC_PAPER_UNIT_LIST 20
// The plot dialog's lists.
#define IDC_PLOT_BAUD 6
#define IDC_PLOT_STOP_BITS 7
#define IDC_PLOT_PARITY 9
#define IDC_PLOT_DATA_BITS 11
#define IDC_PLOT_MODEL 14
// The printing progress dialog's texts.
#define IDC_PRINT_STATUS 100
#define IDC_PRINT_PAGE 101
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
