// The import commands: a file chosen for one format, handed to that format's filter, and what
// comes back placed in the middle of the drawing pane, selected.
#pragma once

#include <cstdint>

// The commands 5097 and 5114..5121.
void OnImport(int id);

// The entries, each taking the chosen path: true when something was imported. They need a
// current drawing and pane, and put every text block into its passive display state after it.
bool DrxFileImportDXF(const char* path);
bool FileImportBMP(const char* path);
bool FileImportCDR(const char* path);
bool FileImportDRW(const char* path);
bool FileImportEPS(const char* path);
bool FileImportGIF(const char* path);
bool FileImportPCX(const char* path);
bool FileImportJPG(const char* path);
bool FileImportTIF(const char* path);

// The importers, each taking the path and the drawing pane: false for a null path or window,
// else the format's source code goes to gFilterName and DoImport does the rest.
bool DXFImport(const char* path, void* window);
bool BMPImport(const char* path, void* window);
bool CDRImport(const char* path, void* window);
bool DRWImport(const char* path, void* window);
bool EPSImport(const char* path, void* window);
bool GIFImport(const char* path, void* window);
bool PCXImport(const char* path, void* window);
bool JPGImport(const char* path, void* window);
bool TIFImport(const char* path, void* window);

// Runs the filter on the file and places the result in `mode`; tells the user why when it
// fails (the filter missing, the file unopenable, the filter's error) and what did not come
// across when it succeeds with a note.
bool DoImport(const char* path, void* window, int16_t mode, const char* filterFile);

// The message of a filter's result (string number), 0 for success; unknown results get
// STR_FILTER_FAILED.
int ImportResultMessage(int16_t result);
