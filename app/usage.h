// The answers to "plotvane --help" and "plotvane --version".
#pragma once

#include <cstdio>

// The usage text: what the program does, the form of a command line, every
// command of the command table with its arguments, and where the manual is.
// Returns false when the text could not be written.
bool printUsage(FILE* out);

// "plotvane 1.00" and the versions of the libraries built in. Returns false
// when the text could not be written.
bool printVersion(FILE* out);
