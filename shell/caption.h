// Texts the shell composes: window captions in the four title styles and the help file's path.
// Plain functions, checked without windows.
#pragma once

#include <cstddef>
#include <cstdint>

// Paths this long or longer are not shown as captions; the untitled name is shown instead.
constexpr size_t kLongestCaptionPath = 245;

// The caption of a drawing window in title style `style` (5100..5103). `fileName` may be null;
// `layerName` is the current layer's name or null. False when the caption stays as it is (layer
// style without a current layer, or an unknown style).
bool ComposeWindowCaption(int16_t style, const char* fileName, const char* untitled, const char* layerName,
                          char* caption, size_t size);

// The help file's full path from the program's path: the folder (cut after the last backslash or
// colon) followed by `helpName`, or by `fallback` when the folder and 13 more characters would not
// fit into `size` characters.
void ComposeHelpPath(const char* programPath, const char* helpName, const char* fallback, char* buffer,
                     size_t size);
