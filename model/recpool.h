// Object and point records come from pools: large zero-filled chunks carved into records of one
// size, with a free list per size. A record never moves while it lives; a freed record goes back
// to its pool's free list and is zeroed again when handed out, so every new record starts
// zero-filled. Chunks are never given back. Under AddressSanitizer the pools fall back to plain
// calloc and free, so the sanitizer still sees every use after free and every leak.
#pragma once

#include <cstddef>

#include "model/records.h"

// The size of the chunks the pools ask the system for (a whole number of huge pages).
constexpr size_t kRecordChunkBytes = size_t{4} << 20;

// A zero-filled record, or null when no memory could be had.
ObjectRec* NewObjectRecord();
// Gives the record back; null is ignored. Nothing the record points at is freed.
void FreeObjectRecord(ObjectRec* object);

// How many object records are handed out and not given back: every object of every drawing,
// clipboard and undo step, so at least as many as any one drawing holds.
size_t LiveObjectRecordCount();

PointRec* NewPointRecord();
void FreePointRecord(PointRec* point);
