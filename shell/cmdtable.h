// The command table: every command identifier the dispatcher knows, with its handler. A null
// handler marks a command whose work is not built yet: its menu item is greyed and it does nothing.
#pragma once

#include <cstddef>
#include <cstdint>

struct CommandEntry {
  int id;
  void (*handler)(int id);
};

const CommandEntry* GetCommandTable(size_t* count);
// The entry for `id`, or null when the table has none.
const CommandEntry* FindCommand(int id);
bool IsCommandBuilt(int id);

// The Undo item's text by the undo record: a string number, or kUndoClearText / kRedoClearText
// for the two texts that have no number. Greyed ("Undo", string 139) when nothing can be undone.
constexpr int kUndoClearText = -1;
constexpr int kRedoClearText = -2;
int UndoItemText(bool undoAvailable, int undoKind, bool isRedo, bool* enabled);
