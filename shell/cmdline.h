// Drawing files named on the program's command line.
#pragma once

// How many drawing files the command line names (the embedding switch is not one).
int CountCommandLineFiles();
// True when a container started the program ("-Embedding" or "/Embedding" anywhere after the
// program's own path, in any case).
bool CommandLineHasEmbedding();
// The registration switches: "/RegServer" or "-RegServer", "/UnregServer" or "-UnregServer".
enum class RegistrationSwitch { kNone, kRegister, kUnregister };
RegistrationSwitch CommandLineRegistrationSwitch();
// The same for a given command line (the program's path first, as the system splits it).
bool HasEmbeddingSwitch(const wchar_t* commandLine);
RegistrationSwitch FindRegistrationSwitch(const wchar_t* commandLine);
// Opens each named drawing in its own window, as Open does; returns how many opened.
int OpenCommandLineFiles();
