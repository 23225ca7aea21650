// Drawing (.DRX) and symbol (.SYM) files, and the private scrap that carries objects in the
// same encoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/records.h"

struct DocumentRec;

constexpr int32_t kDrxVersion100 = 100;
constexpr int32_t kDrxVersion150 = 150;
constexpr int16_t kPlatformBigEndian = 1;  // files from the big-endian platform
constexpr int16_t kPlatformWindows = 2;
constexpr int32_t kDocStateBlockLength = 217;  // what the writer stores, whatever follows

// Record tags.
constexpr int16_t kLayerTag = 100;
constexpr int16_t kObjectTag = 200;
constexpr int16_t kGroupStartTag = 202;
constexpr int16_t kGroupEndTag = 203;
constexpr int16_t kEndTag = 400;
// Dimension label markers.
constexpr int16_t kLabelFollows = 300;
constexpr int16_t kNoLabel = 301;

// Mode flags set by the file commands.
extern bool gOpenSymbol;     // place a symbol's objects, selected, into the current layer
extern bool gPreviewSymbol;  // load a symbol into gPreviewLayer
extern bool gSaveSymbol;     // write only the selected objects
extern LayerRec* gPreviewLayer;

// The private scrap: with gUseScrap, ReadSome and WriteSome use this memory block.
extern bool gUseScrap;
extern uint8_t* gPrivateScrap;
extern uint32_t gPrivateScrapSize;
extern uint32_t gScrapIndex;
// Bytes the last serialisation of a whole drawing put into the scrap.
extern uint32_t gOLEScrapSize;

// Why a read or a write failed. The values are stable: the program's string table holds one
// message per reason, in this order from STR_DRX_REASON_FIRST.
enum class DrxReason : uint8_t {
  kNone,
  kNoDrawing,       // no drawing is open
  kCannotOpen,      // the file cannot be opened
  kNotRegularFile,  // a folder or a device, not a file
  kCannotRead,
  kOutOfMemory,
  kUnsupportedVersion,  // `value` is the version
  kCannotCreate,        // the temporary file of a save
  kCannotWrite,
  kCannotReplace,  // the written temporary cannot take the target's place
  // The file refused before anything was read or written:
  kNoName,
  kDanglingLink,  // a symbolic link that leads nowhere
  kReadOnly,
  kUnreachable,        // its folder cannot be searched
  kTemporaryInTheWay,  // an earlier save's temporary cannot be removed
  // Damage, found in `part` at `offset`:
  kRunsPastEnd,
  kNoEndTag,
  kBadPointCount,   // `value` is the count
  kBadTextLength,   // `value` is the length
  kBadStyleLength,  // `value` is the length
  kBadLabelKind,    // `value` is the kind
  kBadLabelMarker,  // `value` is the marker
  kUnknownKind,     // `value` is the kind
  kLayerInGroup,
  kGroupInGroup,
  kGroupStartWithoutGroup,
  kGroupEndWithoutStart,
  kEndInsideGroup,
  kNonFiniteCoordinate,  // a coordinate is not a finite number; `offset` is the value's own
  kCount
};

// The part of a file a damage was found in.
enum class DrxPart : uint8_t { kHeader, kSettings, kRecord };

struct DrxFailure {
  DrxReason reason;
  DrxPart part;
  uint64_t offset;  // byte offset of the header, settings block or record that is damaged
  long value;       // the number the reason names, if any
};

// Why the last read or write failed; reason kNone after success.
extern DrxFailure gDrxFileFailure;

// True for the reasons that say a file is damaged (they carry a part and an offset).
bool IsDrxDamage(DrxReason reason);
// The failure in words, as the converter prints it: "damaged: record at byte 1874 runs past the
// end of the file", "unsupported version 120", "cannot be opened"; empty for kNone.
std::string DrxFailureText(const DrxFailure& failure);
// True when the last read stopped at damage after it had begun to change the drawing (a drawing's
// settings and layers replaced, or objects added): what was read stays, to be shown with a
// warning. A failed read with this flag clear left the drawing as it was.
extern bool gDrxFileDamaged;

// Reads a drawing, or a symbol in the symbol and preview modes, into the current document.
// False with gDrxFileFailure set when the file cannot be opened, has an unknown version, or is
// damaged (what was read before the damage stays in the drawing).
bool DrxFileRead(const char* path);
// Writes the current document through a temporary file that replaces `path` only when every
// byte is written. False with gDrxFileFailure set on failure; the old file is then untouched.
bool DrxFileWrite(const char* path);
// Writes the current document to `path` as DrxFileWrite does (zoom 1 stored), but leaves the
// document and its view untouched: a copy made for someone else, not a save of the drawing.
bool DrxFileWriteCopy(const char* path);

// Reads a drawing from memory (file mode, with header and settings). Same rules as DrxFileRead.
bool DrxReadFromMemory(const uint8_t* data, size_t length, const char* name);

// The private scrap: every object of every layer of the current document as the file stores it
// (object records, group brackets around each group's members, dimensions with their labels,
// text blocks, pictures) and an end tag, without the header, settings or layer records, into
// gPrivateScrap. The drawing is not changed. False with gDrxFileFailure when the scrap cannot be
// grown; it is then empty.
bool WriteScrapObjects();
// Reads object records (and group brackets) from the scrap into the current layer until the end
// tag, never past `length`. Same failure rules as DrxFileRead.
bool ReadScrapObjects(const uint8_t* data, size_t length);
// The scrap becomes a copy of `length` bytes (say, read from a stream); false with
// gDrxFileFailure when there is nothing to copy or no memory (the scrap is then empty).
bool SetPrivateScrap(const uint8_t* data, size_t length);
void FreePrivateScrap();

// Called when the writer resets a zoomed drawing to zoom 1, after zoomFactor became 1 (the window
// applies the zoom change).
extern void (*gZoomResetHook)(DocumentRec* document);
