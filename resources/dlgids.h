// Numbers of the settings dialogs and of their controls. Plain macros: the resource compiler
// reads this file. OK is control 1 and Cancel control 2 in every dialog.
#pragma once

#define IDD_DUPLICATE_OFFSETS 1000
#define IDD_LINE_SIZE 1001
#define IDD_TOLERANCES 1002
#define IDD_PARALLEL_FORMAT 1003
#define IDD_GRID_SPACING 1004
#define IDD_SCROLLING_SPEED 1005
#define IDD_NUDGE_RATE 1007
#define IDD_LINE_TYPES 1009
#define IDD_DRAWING_SCALE 1011
#define IDD_TENSION 1012
#define IDD_MOVE_ORIGIN 1013
#define IDD_LAYERING 1014
#define IDD_PREFERENCES 130
#define IDD_CDR_IMPORT 2003

// Duplicate Offsets.
#define IDC_DUP_HORIZONTAL 8
#define IDC_DUP_VERTICAL 9
#define IDC_DUP_REPEAT 11
// The one field of Nudge Rate, Line Size, Scrolling Speed and Tension, and their arrows.
#define IDC_SINGLE_FIELD 6
#define IDC_FIELD_ARROWS 7
// Line Size: where the line is shown.
#define IDC_LINE_PREVIEW 20
// Line Types: one radio button per type, the button's id being the type.
#define IDC_LINE_TYPE_FIRST 6
#define IDC_LINE_TYPE_LAST 10
// Tolerances.
#define IDC_UPPER_TOLERANCE 7
#define IDC_LOWER_TOLERANCE 8
// Parallel Format.
#define IDC_PARALLEL_WIDTH 6
#define IDC_PARALLEL_INSIDE 7
#define IDC_PARALLEL_OUTSIDE 8
#define IDC_PARALLEL_CENTER 9
// Grid Spacing and Move Origin.
#define IDC_HORIZONTAL 7
#define IDC_VERTICAL 8
#define IDC_ORIGIN_RESET 9
// Preferences.
#define IDC_PREF_ZOOM 16
#define IDC_PREF_SIDES 3
#define IDC_PREF_SMOOTHNESS 4
#define IDC_PREF_SENSITIVITY 5
#define IDC_PREF_PERCENTAGE 6
#define IDC_PREF_AUTO_RESET 7
#define IDC_PREF_NUDGE_PIXEL 144
// Rulers / Scale.
#define IDC_SCREEN_SCALE 7
#define IDC_WORLD_SCALE 8
#define IDC_SCREEN_UNIT 9
#define IDC_WORLD_UNIT 10
#define IDC_RESCALE 12
#define IDC_MINOR_DIVISIONS 106
#define IDC_MINOR_LABEL 107
#define IDC_SCALE_PREVIEW 20
// Layering.
#define IDC_LAYER_NEW 5
#define IDC_LAYER_LIST 6
#define IDC_LAYER_NAME 8
#define IDC_LAYER_RENAME 10
#define IDC_LAYER_REMOVE 11
#define IDC_LAYER_SHOW 12
#define IDC_LAYER_SHOW_ALL 13
#define IDC_LAYER_HIDE 14
#define IDC_LAYER_HIDE_ALL 15
// CorelDraw Import.
#define IDC_CDR_PICTURE 102
#define IDC_CDR_VECTOR 103
