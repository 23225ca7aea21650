// The dialogs of the editing tools (move, point move, resize, skew, rotate): resource numbers,
// control ids and their strings. Plain macros: the resource compiler reads this file.
#pragma once

#define IDD_POINT_TOOL 499
#define IDD_SELECTION_TOOL 500
#define IDD_RESIZE_TOOL 502
#define IDD_SKEW_TOOL 503
#define IDD_ROTATE_TOOL 505

// Selection and Point Select Tool: two numbers, Cartesian or Polar.
#define IDC_RELOCATE_LABEL1 3
#define IDC_RELOCATE_LABEL2 4
#define IDC_RELOCATE_FIRST 5
#define IDC_RELOCATE_SECOND 6
#define IDC_RELOCATE_CARTESIAN 9
#define IDC_RELOCATE_POLAR 10

// Resize Tool: two numbers, Percent or Object Size, and the point that stays.
#define IDC_RESIZE_FIRST 4
#define IDC_RESIZE_SECOND 5
#define IDC_RESIZE_LABEL1 6
#define IDC_RESIZE_LABEL2 7
#define IDC_RESIZE_SIZE 8
#define IDC_RESIZE_PERCENT 9
#define IDC_RESIZE_UPPER_LEFT 3
#define IDC_RESIZE_LOWER_LEFT 15
#define IDC_RESIZE_CENTER 16
#define IDC_RESIZE_UPPER_RIGHT 17
#define IDC_RESIZE_LOWER_RIGHT 18

// Skew Tool: the distance and its direction.
#define IDC_SKEW_UP 3
#define IDC_SKEW_DISTANCE 4
#define IDC_SKEW_LEFT 9
#define IDC_SKEW_RIGHT 10
#define IDC_SKEW_DOWN 11

// Rotate Tool: the angle, in degrees or radians.
#define IDC_ROTATE_ANGLE 3
#define IDC_ROTATE_DEGREES 6
#define IDC_ROTATE_RADIANS 7

// Labels and refusals.
#define STR_EDIT_ANGLE 1380
#define STR_EDIT_DISTANCE 1381
#define STR_EDIT_X_PERCENT 1382
#define STR_EDIT_Y_PERCENT 1383
#define STR_EDIT_NOT_ZERO 1384
#define STR_EDIT_NO_WIDTH 1385
#define STR_EDIT_NO_HEIGHT 1386
#define STR_EDIT_TOO_LARGE 1387
