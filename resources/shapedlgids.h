// Numbers of the shape tools' dialogs, their controls and their messages. Plain macros: the
// resource compiler reads this file. Each dialog's number is its tool's number plus 300.
#pragma once

#define IDD_RECT_TOOL 600
#define IDD_OVAL_TOOL 601
#define IDD_POLY_TOOL 602
#define IDD_MULTI_TOOL 603
#define IDD_LINE_TOOL 604
#define IDD_SPLINE_TOOL 605
#define IDD_ARC_TOOL 606

// Rectangle, oval and multigon: two numbers with their labels, what the numbers are, and which
// point of the figure the start point is (five buttons, 13 to 17).
#define IDC_SHAPE_FIELD1 3
#define IDC_SHAPE_FIELD2 4
#define IDC_SHAPE_LABEL1 5
#define IDC_SHAPE_LABEL2 6
#define IDC_SHAPE_SIZE 7
#define IDC_SHAPE_START 8
#define IDC_DRAW_FROM_FIRST 13
#define IDC_DRAW_FROM_LAST 17
// Rectangle: the start point is the corner or the centre.
#define IDC_RECT_UPPER_LEFT 13
#define IDC_RECT_LOWER_LEFT 14
#define IDC_RECT_UPPER_RIGHT 15
#define IDC_RECT_LOWER_RIGHT 16
#define IDC_RECT_CENTER 17
// Oval and multigon: the start point is the centre or the middle of a side.
#define IDC_OVAL_CENTER 13
#define IDC_OVAL_LEFT 14
#define IDC_OVAL_RIGHT 15
#define IDC_OVAL_TOP 16
#define IDC_OVAL_BOTTOM 17
#define IDC_OVAL_RADIUS 19
#define IDC_OVAL_DIAMETER 20
#define IDC_MULTI_SIDES 20

// Polygon and spline: the point being entered, its form, the count entered, and the buttons.
#define IDC_POLY_FIELD1 3
#define IDC_POLY_FIELD2 4
#define IDC_POLY_LABEL1 5
#define IDC_POLY_LABEL2 6
#define IDC_POLY_CARTESIAN 7
#define IDC_POLY_POLAR 8
#define IDC_POLY_OPEN 15
#define IDC_POLY_CLOSED 16
#define IDC_POLY_COUNT 18
#define IDC_POLY_ENTER 19
#define IDC_POLY_END 20

// Line: which end the two numbers show, and the end's form.
#define IDC_LINE_END_PAGE 3
#define IDC_LINE_START_PAGE 4
#define IDC_LINE_FIELD1 5
#define IDC_LINE_FIELD2 6
#define IDC_LINE_LABEL1 7
#define IDC_LINE_LABEL2 8
#define IDC_LINE_CARTESIAN 9
#define IDC_LINE_POLAR 10

// Arc.
#define IDC_ARC_START_X 3
#define IDC_ARC_START_Y 4
#define IDC_ARC_ELLIPTICAL 12
#define IDC_ARC_CIRCULAR 13
#define IDC_ARC_END_X 15
#define IDC_ARC_END_Y 16
#define IDC_ARC_RADIUS 17
#define IDC_ARC_START_ANGLE 18
#define IDC_ARC_SWEEP 19

// Messages of refused figures, and the labels the dialogs switch to.
#define STR_SHAPE_NO_SIZE 1400
#define STR_SHAPE_NO_RADIUS 1401
#define STR_SHAPE_BAD_SWEEP 1402
#define STR_SHAPE_SAME_POINTS 1403
#define STR_SHAPE_OUT_OF_RANGE 1404
#define STR_SHAPE_REPEATED_POINT 1405
#define STR_SHAPE_TOO_FEW_POINTS 1406
#define STR_SHAPE_SAME_ENDS 1407
#define STR_LABEL_RADIUS 1410
#define STR_LABEL_DIAMETER 1411
#define STR_LABEL_ANGLE 1412
#define STR_LABEL_LENGTH 1413
