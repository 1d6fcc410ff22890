#pragma once
// The program's version, defined here only: the code (window caption), the version resource, CMake's
// project version and the release package's file names all take it from this file.

#define BRINDLE_VERSION_MAJOR 0
#define BRINDLE_VERSION_MINOR 1
#define BRINDLE_VERSION_REVISION 14
// The resource states the version in the program's historical four-digit style.
#define BRINDLE_VERSION_TEXT "0.01.0014"
#define BRINDLE_TITLE "Brindle"
