// The snap tools' share of the message queue while a press is tracked (Windows build).
#pragma once

// Takes one waiting key press from the queue, unseen by the windows: Tab moves to the next snap
// tool (when gChangeSnapOK allows it) and Escape abandons the drag. Other messages stay queued.
// True when the snap changed.
bool MaintainSnapTools();
