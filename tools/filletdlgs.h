// Numbers of the fillet and chamfer tool dialogs, their controls, and the Undo texts of the
// corner and cutting tools. Plain macros: the resource compiler reads this file.
#pragma once

#define IDD_CHAMFER_TOOL 501
#define IDD_FILLET_TOOL 504
// Fillet Tool.
#define IDC_FILLET_RADIUS 3
#define IDC_FILLET_STANDARD 7
#define IDC_FILLET_INVERSED 8
// Chamfer Tool.
#define IDC_CHAMFER_LENGTH 3
// The Undo item: a Redo and an Undo text for each of fillet, chamfer and trim, in that order.
#define STR_REDO_FILLET 1360
#define STR_UNDO_FILLET 1361
#define STR_REDO_CHAMFER 1362
#define STR_UNDO_CHAMFER 1363
#define STR_REDO_TRIM 1364
#define STR_UNDO_TRIM 1365
