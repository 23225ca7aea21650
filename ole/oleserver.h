// What the rest of the program asks of the embedding server.
#pragma once

#include <windows.h>

// Makes the frame object and starts OLE; started for embedding, also offers the embeddable object
// to containers. False when OLE cannot start (or the object cannot be offered when embedding).
bool StartOleServer();
// Ends the server after the frame window is gone: the class offer withdrawn, OLE uninitialised.
void CloseOLEClient();
// True when the program was started by a container to serve an embedded drawing.
bool OleServerEmbedding();
// A new untitled drawing window with its document object (the command New and the file commands
// through it); null when it cannot be made.
HWND CreateDrawingDocument();
// The drawing window is being destroyed: its document object goes.
void CloseDocument(HWND drawingWindow);
// A left-button press on the drawing window outside its panes: the drawing is dragged out as a
// data object.
void StartDragNDrop(HWND drawingWindow);
// Writes (or removes) the registry entries of the embeddable object; false on failure.
bool RegisterOleServer();
bool UnregisterOleServer();
