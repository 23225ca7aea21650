// Numbers of the string table's entries. The texts live in draxel.rc. Plain macros: the
// resource compiler reads this file.
#pragma once

#define STR_LAYER_IS_CURRENT 0
#define STR_LAYERING 1
#define STR_ONE_LAYER_MUST_REMAIN 2
#define STR_PAPER_ARCH_FIRST 3  // paper list texts: architectural 3..9
#define STR_PAPER_MECH_FIRST 10    // mechanical 10..14
#define STR_PAPER_METRIC_FIRST 15  // metric 15..20
#define STR_PAPER_OVERSIZE_FIRST 21  // oversize 21..25
#define STR_PAPER_UNIT_FIRST 26    // custom units "in", "mm", "cm": 26..28
#define STR_UNIT_MM 27
#define STR_UNIT_CM 28
#define STR_INCHES 29  // "Inches" .. "Meters": 29..36
#define STR_METERS 36
#define STR_BAUD_FIRST 37  // plot dialog entries: baud rates 37..47
#define STR_STOP_BITS_FIRST 48
#define STR_PARITY_FIRST 51
#define STR_DATA_BITS_FIRST 54
#define STR_PLOTTER_FIRST 58  // plotter models 58..70
#define STR_UNTITLED 71
#define STR_SAVE_CHANGES 72
#define STR_SUFFIX_INCH 73  // dimension unit suffixes by world unit: 73..80
#define STR_SUFFIX_FOOT 74
#define STR_SUFFIX_METRE 80
#define STR_CANT_OPEN_FILE 81
#define STR_IMPORT_ERROR 82
#define STR_FILE_INCOMPLETE 83
#define STR_IMPORT_NO_MEMORY 84
#define STR_MEMORY_LOW 85
#define STR_METAFILE_TOO_BIG 86
#define STR_INVALID_DATA 87
#define STR_EPS_PREVIEW_QUESTION 89
#define STR_EXPORT_EPS_TITLE 90
#define STR_UNTITLED_DRX 91
#define STR_UNTITLED_IGS 92
#define STR_UNTITLED_XYZ 93
#define STR_UNTITLED_DXF 94
#define STR_UNTITLED_PLT 95
#define STR_UNTITLED_EPS 96
#define STR_UNTITLED_SYM 97
#define STR_COURIER_NEW 98
#define STR_HELP_FALLBACK 99
#define STR_SCALE_INCH 100  // scale texts by screen unit: 100..107
#define STR_UNIT_YD 108
#define STR_UNIT_MI 109
#define STR_UNIT_DM 110
#define STR_UNIT_M 111
#define STR_CLIPBOARD 112
#define STR_SYSMENU_CLOSE 113
#define STR_SYSMENU_NEXT 114
#define STR_REDO_MOVE 115  // undo texts: Redo at odd, Undo at even numbers, 115..138
#define STR_UNDO_MOVE 116
#define STR_UNDO_SPLINE 138
#define STR_UNDO 139
#define STR_IMPORT_DXF_TITLE 140
#define STR_IMPORT_XYZ_TITLE 142
#define STR_OPEN_SYMBOL_TITLE 143
#define STR_EXPORT_DXF_TITLE 144
#define STR_EXPORT_HPGL_TITLE 146
#define STR_EXPORT_EPS_DLG_TITLE 147
#define STR_EXPORT_XYZ_TITLE 148
#define STR_SAVE_SYMBOL_TITLE 149
#define STR_PRINTING 150
#define STR_TOOLBOX_EDIT 151  // toolbox pop-up texts: 151..155
#define STR_X_AXIS 156
#define STR_Y_AXIS 157
#define STR_WIDTH 162
#define STR_HEIGHT 163
#define STR_IMPORT_BMP_TITLE 169
#define STR_IMPORT_CDR_TITLE 170
#define STR_IMPORT_DRW_TITLE 171
#define STR_IMPORT_EPS_TITLE 172
#define STR_IMPORT_GIF_TITLE 173
#define STR_IMPORT_PCX_TITLE 174
#define STR_IMPORT_TIF_TITLE 176
#define STR_FILTER_DXF 177
#define STR_FILTER_BMP 178
#define STR_FILTER_CDR 179
#define STR_FILTER_DRW 180
#define STR_FILTER_EPS 181
#define STR_FILTER_GIF 182
#define STR_FILTER_PCX 183
#define STR_FILTER_HPGL 184
#define STR_FILTER_TIF 185
#define STR_FILTER_DRX 186
#define STR_FILTER_SYM 187
#define STR_FILTER_IGS 188
#define STR_FILTER_TXT 189
#define STR_FILTER_XYZ 190
#define STR_ORIGIN_SNAP_LOCK 191
#define STR_ORIGIN_SNAP 192
#define STR_FILTER_CORRUPT 203
#define STR_EXPORT_WARNING 205
#define STR_WARNING_TITLE 206
// Messages of this build for files that cannot be read or written: %s is the file, then the
// reason the reader or writer gave.
#define STR_READ_FAILED 230
#define STR_WRITE_FAILED 231
#define STR_READ_DAMAGED 232
#define STR_FILE_ERROR_TITLE 233
// Why a drawing file failed, one per reason code of the reader and writer, in their order. A
// damage's text takes the part of the file (one of STR_DRX_PART_*), the byte offset and the
// number it names; the others take only that number.
#define STR_DRX_REASON_FIRST 600
#define STR_DRX_REASON_LAST 628
#define STR_DRX_PART_HEADER 630
#define STR_DRX_PART_SETTINGS 631
#define STR_DRX_PART_RECORD 632
// Why an export failed, one per reason code of the exporter, in its order; %s is the system's
// own words, when it gave any.
#define STR_EXPORT_REASON_FIRST 640
#define STR_EXPORT_REASON_LAST 654
// Import through filters: %s is the filter file; %d the filter's unknown result; the note says
// what did not come across.
#define STR_FILTER_MISSING 670
#define STR_FILTER_FAILED 671
#define STR_IMPORT_NOTE 672
#define STR_IMPORT_NOTE_TITLE 673
#define STR_IMPORT_JPG_TITLE 674
#define STR_FILTER_JPG 675
// Start-up failures: %s says what failed.
#define STR_STARTUP_FAILED 660
#define STR_STARTUP_CLASSES 661
#define STR_STARTUP_FRAME 662
#define STR_STARTUP_CLIENT 663
// Printing, paper and plotting messages of this build.
#define STR_PRINT_TITLE 760
#define STR_NO_PRINTER 761
#define STR_PRINT_DIALOG_FAILED 762
#define STR_PRINT_NOTHING 763
#define STR_PRINT_FAILED 764
#define STR_PRINT_NO_DEVICE 765
#define STR_PRINT_START_DOC 766
#define STR_PRINT_START_PAGE 767
#define STR_PRINT_END_PAGE 768
#define STR_PRINT_END_DOC 769
#define STR_PRINT_PAGE_OF 770
#define STR_PRINT_TO_FILE_TITLE 771
#define STR_FILTER_PS 772
#define STR_PLOT_TITLE 773
#define STR_PLOT_UNSUPPORTED 774
#define STR_PAPER_TITLE 775
#define STR_PAPER_NOT_POSITIVE 776
#define STR_PAPER_TOO_LARGE 777
