// The few window-system objects the core holds: text panes (a text block's edit control),
// metafile pictures and logical fonts. The Windows build keeps them in real EDIT controls,
// metafile handles and LOGFONTs; the host build keeps the same data in plain memory. Nothing
// else in the core knows which build it is in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The fields of a Windows logical font (LOGFONTA), 60 bytes, in the same layout.
struct FontRecord {
  int32_t height, width, escapement, orientation, weight;
  uint8_t italic, underline, strikeOut, charSet;
  uint8_t outPrecision, clipPrecision, quality, pitchAndFamily;
  char faceName[32];
};
static_assert(sizeof(FontRecord) == 60, "FontRecord must keep the logical-font layout");

// Opaque handles. A TextPane is the portable store of a text block's text, alignment and font;
// a MetaPict is an HMETAFILE on Windows and an in-memory record on the host.
typedef struct TextPaneTag* TextPane;
typedef struct MetaPictTag* MetaPict;

// One line of a text block as the edit control shows it: `length` bytes from `start`, without
// the line break.
struct TextLine {
  uint32_t start;
  uint32_t length;
};

// Text alignment of a pane as stored in files: 1 centred, -1 right, 0 left.
constexpr int16_t kAlignCentred = 1;
constexpr int16_t kAlignRight = -1;
constexpr int16_t kAlignLeft = 0;

// Text panes: what a text block shows, kept in plain memory on both builds. A pane costs no
// window: the program gives it a live editor (an edit control) only while the block is typed
// into, and while it has one the editor's text is the pane's text. Null on failure.
TextPane CreateTextPane(int16_t alignment);
// A pane of the same text, alignment and font, with no editor; null on failure.
TextPane CopyTextPane(TextPane source);
// Frees the pane and, through the editor hooks, its live editor.
void DestroyTextPane(TextPane pane);
// Replaces the text; `length` bytes, no NUL needed. False when memory ran out.
bool SetTextPaneText(TextPane pane, const char* text, size_t length);
// The text's length in bytes, without a terminating NUL.
size_t GetTextPaneTextLength(TextPane pane);
// Copies at most capacity - 1 bytes and a NUL; returns the bytes copied (NUL excluded).
size_t GetTextPaneText(TextPane pane, char* buffer, size_t capacity);
// The whole text, without a copy; valid until the pane changes.
const std::string& TextPaneText(TextPane pane);
int16_t GetTextPaneAlignment(TextPane pane);
// Any value other than kAlignCentred and kAlignRight means left.
void SetTextPaneAlignment(TextPane pane, int16_t alignment);
// Null gives the pane back the system's default font.
void SetTextPaneFont(TextPane pane, const FontRecord* font);
// False when the pane has no font of its own (it then shows the system's default).
bool GetTextPaneFont(TextPane pane, FontRecord* font);
// Moves on with every change of text, alignment or font, so that what is derived from them
// (the painted lines) knows when it is stale.
uint32_t GetTextPaneVersion(TextPane pane);

// Where the painted lines of a pane start, kept with the pane by whoever breaks its lines: valid
// for the pane's version and the box width (in pixels at zoom 1) they were broken for.
struct TextLineCache {
  bool valid;
  uint32_t version;
  int width;
  int lineHeight;  // of the font at zoom 1
  std::vector<TextLine> lines;
};
TextLineCache* GetTextPaneLineCache(TextPane pane);

// The live editor of a pane (the program's edit control), or null. Attaching records the
// editor; the program detaches it (null) after the pane has read its text back.
void* GetTextPaneEditor(TextPane pane);
void AttachTextPaneEditor(TextPane pane, void* editor);
// What the core asks of a live editor; the program fills these when it makes editors. A null
// entry does nothing.
struct TextPaneEditorHooks {
  // Reads the editor's whole text; false when it could not (the store keeps what it had).
  bool (*readText)(void* editor, std::string* text);
  // Shows text or a font (null: the system's default) that the core gave the pane.
  void (*showText)(void* editor, const char* text, size_t length);
  void (*showFont)(void* editor, const FontRecord* font);
  // Destroys the editor of a pane about to be freed.
  void (*destroyEditor)(void* editor);
};
extern TextPaneEditorHooks gTextPaneEditorHooks;

// Metafile pictures from and to the bits of a standard Windows metafile.
MetaPict CreateMetaPictFromBits(const uint8_t* bits, uint32_t length);
// The size of the picture's bits; copies them when buffer is not null and capacity suffices.
uint32_t GetMetaPictBits(MetaPict picture, uint8_t* buffer, uint32_t capacity);
MetaPict CopyMetaPict(MetaPict picture);
void DeleteMetaPict(MetaPict picture);

// Files. A save writes the whole new contents to the target's one temporary, the target's real
// path with this suffix, and then replaces the target with it.
constexpr char kSaveTemporarySuffix[] = ".drxsave";

// Why a file was refused before anything was read from or written to it.
enum class FileRefusal : uint8_t {
  kNone,
  kCannotOpen,         // it does not exist or the system would not open it
  kNoName,             // an empty name
  kDanglingLink,       // a symbolic link that leads nowhere
  kNotRegularFile,     // a folder, a pipe, a device
  kReadOnly,           // the target exists and may not be written
  kUnreachable,        // the target's folder cannot be searched
  kTemporaryInTheWay,  // an earlier save's temporary cannot be removed
};

// Opens a file for reading, refusing at once anything that is not a regular file (a folder, a
// pipe, a device) before a read could block on it. Null with the refusal (kNotRegularFile,
// kCannotOpen).
FILE* OpenRegularFileForReading(const char* path, FileRefusal* refusal);

// Where a save to `path` goes. Symbolic links are followed to the file that gets the contents
// (the links stay as they are); a target that exists must be a regular file that is not
// read-only; a temporary left behind by an earlier save that never finished is removed. Fills
// the real target and its temporary and returns kNone, or returns why the save is refused.
FileRefusal PrepareFileReplacement(const char* path, std::string* target, std::string* temporary);

// The refusal in the converter's words ("is read-only"); empty for kNone.
const char* FileRefusalText(FileRefusal refusal);

// Replaces `target` with the fully written `temporary`: the temporary takes the permissions of
// the target it replaces, reaches the disk, and is renamed over the target in one step, and the
// folder is flushed after it. False leaves the target as it was (the caller removes the
// temporary).
bool ReplaceFileWithTemporary(const char* temporary, const char* target);

// A zero-filled block of `bytes` bytes for the record pools, straight from the system and never
// given back; null on failure. The host build aligns it to a huge page and asks for huge pages.
void* AllocatePoolChunk(size_t bytes);
