#pragma once
// A start from Explorer: a header file dropped on the program (or the
// program double-clicked) opens a console window made for this run alone.
// The run then takes the header file's folder as its current folder, so a
// relative [PAI] means the folder the user sees, and the window stays open
// with the last lines until a key is pressed. In a terminal or a script
// nothing of this happens.

#include <string>

#include "run/command_line.h"

namespace eco {

// Makes the folder of `headerFile` the current folder and returns the
// header's name from there (its bare file name); `headerFile` unchanged
// when it names no folder or the folder cannot be entered.
std::string enterHeaderFolder(const std::string& headerFile);

// True when the program was started from Explorer; then the header file's
// folder is entered and `cl` names the header from there.
bool beginExplorerStart(CommandLine& cl);

// Keeps the window open until a key is pressed after an Explorer start.
void endExplorerStart(bool explorer);

}  // namespace eco
