// Command identifiers: the menu, accelerator and toolbox command numbers. They double as the
// operation codes of the object walks and are stored in drawings (arrow, readout, tolerance and
// title styles), so their values never change. Plain macros: the resource compiler reads this file.
#pragma once

// File
#define CMD_EXIT 1
#define CMD_NEW_WINDOW 2  // sent by the document server while it initialises
#define CMD_OPEN 3
#define CMD_CLOSE 4
#define CMD_SAVE 5
#define CMD_SAVE_AS 6
#define CMD_PAGE_SETUP 8
#define CMD_PRINT 9
#define CMD_OPEN_SYMBOL 5000
#define CMD_SAVE_SYMBOL 5001
#define CMD_PAPER_SIZE 5002
#define CMD_PLOT 5109
#define CMD_NEW 5148
#define CMD_SEND_MAIL 5149
// File > Import
#define CMD_IMPORT_DXF 5097
#define CMD_IMPORT_XYZ 5110
#define CMD_IMPORT_BMP 5114
#define CMD_IMPORT_CDR 5115
#define CMD_IMPORT_DRW 5116
#define CMD_IMPORT_EPS 5117
#define CMD_IMPORT_GIF 5118
#define CMD_IMPORT_PCX 5119
#define CMD_IMPORT_JPG 5120
#define CMD_IMPORT_TIF 5121
// File > Export
#define CMD_EXPORT_DXF 5095
#define CMD_EXPORT_HPGL 5096
#define CMD_EXPORT_EPS 5098
#define CMD_EXPORT_XYZ 5104

// Edit
#define CMD_UNDO 16
#define CMD_CUT 18
#define CMD_COPY 19
#define CMD_PASTE 20
#define CMD_CLEAR 21
#define CMD_SHOW_CLIPBOARD 22
#define CMD_SELECT_ALL 5003
#define CMD_DETECT_ALL 5004
#define CMD_HIDE_SELECTION 5005
#define CMD_DUPLICATE 5006
#define CMD_DUPLICATE_OFFSETS 5007
#define CMD_MIRROR_HORIZONTAL 5008
#define CMD_PREFERENCES 5009
#define CMD_FLIP_HORIZONTAL 5034
#define CMD_FLIP_VERTICAL 5035
#define CMD_NUDGE_UP 5036
#define CMD_NUDGE_DOWN 5037
#define CMD_NUDGE_LEFT 5038
#define CMD_NUDGE_RIGHT 5039
#define CMD_NUDGE_RATE 5040
#define CMD_SMOOTH 5041
#define CMD_TENSION 5042
#define CMD_UNSMOOTH 5043

// Layout
#define CMD_MENU_BAR 5010
#define CMD_RULERS_SCALE 5011
#define CMD_FIT_TO_WINDOW 5012
#define CMD_AXIS_LINES 5013
#define CMD_PAGE_BREAKS 5014
#define CMD_DRAW_PARALLEL 5016
#define CMD_PARALLEL 5017
#define CMD_DRAW_FROM_CENTER 5018
#define CMD_FILL_COLOR 5019
#define CMD_GRID_LINES 5044
#define CMD_SNAP_TO_GRID 5045
#define CMD_GRID_SPACING 5046
#define CMD_ARROWS_IN 5047
#define CMD_ARROWS_OUT 5048
#define CMD_TEXT_FRAME 5050
#define CMD_CENTER_TEXT 5052
#define CMD_NO_TOLERANCE 5053
#define CMD_SINGLE_TOLERANCE 5054
#define CMD_DOUBLE_TOLERANCE 5055
#define CMD_LIMITING_TOLERANCE 5056
#define CMD_TOLERANCE_VALUES 5057
#define CMD_READOUT_FIRST 5058  // "0" .. "0'-0''": 5058..5064
#define CMD_READOUT_LAST 5064
#define CMD_LINE_TYPES 5065
#define CMD_LINE_SIZE 5066
#define CMD_ARROW_FIRST 5086  // the seven arrowhead pictures: 5086..5092
#define CMD_ARROW_LAST 5092
#define CMD_PEN_COLOR 5134
#define CMD_ALIGN_TOP_LEFT 5140
#define CMD_ALIGN_TOP_RIGHT 5141
#define CMD_ALIGN_BOTTOM_RIGHT 5142
#define CMD_ALIGN_BOTTOM_LEFT 5143
#define CMD_RULERS 5147

// Options
#define CMD_FILL_PATTERNS 102
#define CMD_LOCK 5021
#define CMD_UNLOCK 5022
#define CMD_JOIN 5023
#define CMD_UNJOIN 5024
#define CMD_GROUP 5025
#define CMD_UNGROUP 5026
#define CMD_MOVE_ORIGIN 5027
#define CMD_ACTUAL_SIZE 5028
#define CMD_BRING_TO_FRONT 5105
#define CMD_SEND_TO_BACK 5106

// Window
#define CMD_SCROLLING_SPEED 5029
#define CMD_BACKGROUND_COLOR 5030
#define CMD_TOOLBOX_EDIT 5067
#define CMD_TOOLBOX_DRAW 5068
#define CMD_TOOLBOX_SNAP 5069
#define CMD_TOOLBOX_DIMENSION 5070
#define CMD_TOOLBOX_POSITION 5071
#define CMD_TITLE_NAME 5100
#define CMD_TITLE_NAME_AXIS 5101
#define CMD_TITLE_AXIS 5102
#define CMD_TITLE_LAYER 5103

// Layers
#define CMD_LAYER_INFO 5099
#define CMD_FIRST_LAYER 10001  // layer items: 10001 is the first layer of the list

// Text
#define CMD_FONTS 30
#define CMD_ALIGN_RIGHT 40
#define CMD_ALIGN_LEFT 41
#define CMD_ALIGN_CENTER 42

// Help
#define CMD_HELP_INDEX 5111
#define CMD_HELP_USING 5112
#define CMD_ABOUT 5113

// Without a menu item
#define CMD_CLOSE_ALL 9000           // also the arrowhead submenu's placeholder item
#define CMD_POPUP_TOOLBOX_EDIT 5080  // the toolbar strip's toolbox pop-up: 5080..5084
#define CMD_POPUP_TOOLBOX_POSITION 5084
#define CMD_FIT_TO_DRAWING 5144

// The multiple-document client lists its windows in the Window menu from this id.
#define CMD_FIRST_MDI_CHILD 25000
