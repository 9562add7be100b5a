// The one command-line text the command language is defined on, rebuilt from
// the separate arguments the system hands the program.
#pragma once

#include <string>

// Joins args[0..count-1] with single spaces so that every argument reaches its
// command as exactly the text the user typed. An argument that is empty,
// holds a space or begins with other white space is wrapped in double quotes,
// unless it is the only argument and a non-empty run of white space; others are
// passed as they are. An argument with a double quote passes only when it
// needs no wrapping and does not begin with a quote, or when it is one whole
// quoted word. Otherwise returns false with *badArgument (1-based) and *reason
// set, and *line unspecified.
bool joinArguments(int count, const char* const* args, std::string* line, int* badArgument,
                   const char** reason);
