// Drawing files named on the program's command line.
#pragma once

// How many drawing files the command line names (the embedding switch is not one).
int CountCommandLineFiles();
// Opens each named drawing in its own window, as Open does; returns how many opened.
int OpenCommandLineFiles();
