// Objects: creation, linking into layers and groups, unlinking and deletion.
#pragma once

#include "model/records.h"

// A new object with the given values (colours and bounds copied), unlinked. Null when memory is
// exhausted.
ObjectRec* CreateObject(int16_t kind, uint8_t closed, uint8_t objectFlag, const RGB16* fillColor,
                        const RGB16* penColor, float lineWeight, int16_t lineType, int16_t fillPattern,
                        const FloatRect* bounds, PointRec* firstPoint, ObjectRec* firstChild,
                        ObjectRec* parent, LayerRec* layer, void* info);
// Removes the object from its sibling list; `parent` and `layer` stay as they were.
void UnlinkObject(ObjectRec* object);
// Frees the object with its screen polygon, kind data, points and children.
void DeleteObj(ObjectRec* object);
// Told of every object DeleteObj is about to free (members included), so that records kept
// elsewhere (the undo record) can let go of it first. Null by default.
extern void (*gObjectDeletedHook)(ObjectRec* object);
// Appends `child` to the end of `group`'s member list, setting its parent and layer.
void AppendObjectToGroup(ObjectRec* child, ObjectRec* group);
// Appends like AppendObjectToGroup without walking the list: `tail` is the group's last member,
// or null when it has none. A tail of another group falls back to the walk.
void LinkChildAfter(ObjectRec* child, ObjectRec* group, ObjectRec* tail);
// The topmost group that holds the object, or the object itself.
ObjectRec* GetRootObject(ObjectRec* object);
bool IsObjectGrouped(const ObjectRec* object);
