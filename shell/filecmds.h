// The file commands: open, save, save as, and placing and saving symbols.
#pragma once

void OnOpen(int id);
// Opens the drawing file `path` in a new window captioned `title`, as Open does after its
// dialog; an unreadable file is told to the user and its window goes again. False when nothing
// could be read.
bool OpenDrawingFile(const char* path, const char* title);
void OnSave(int id);
void OnSaveAs(int id);
void OnOpenSymbol(int id);
void OnSaveSymbol(int id);
// The export commands: DXF, HPGL, EPS and the drawing file's own format under another name.
void OnExport(int id);

struct DocumentRec;
struct FloatRect;
// Moves the selected objects so that their middle lands in the middle of the drawing pane;
// `placed` receives their new bounds. False without a pane.
bool CenterSelectionInPane(DocumentRec* document, FloatRect* placed);

struct DrxFailure;
struct ExportFailure;

// A drawing file's or an export's failure in the user's words, from the string table.
const char* LoadDrxFailureText(const DrxFailure& failure, char* text, int size);
const char* LoadExportFailureText(const ExportFailure& failure, char* text, int size);

// Tells the user which file could not be read or written and why (gDrxFileFailure).
void ReportFileFailure(int messageId, const char* path);
void ReportFileFailureWithReason(int messageId, const char* path, const char* reason);
