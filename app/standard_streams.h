// Standard input and output as the files of a run, for use in pipelines: the
// name "-" stands for them.
#pragma once

#include <cstdio>

// True for the name "-".
bool isStandardStreamName(const char* path);

// Opens a file for the line readers; "-" is standard input, which one run can
// read only once (a second reader would find it used up). On failure logs
// "ERROR: <display> - could not open [<path>], error=<errno>" or "ERROR:
// <display> - standard input can be read only once" and returns nullptr.
FILE* openInputFile(const char* path, const char* display);

// Closes what openInputFile returned; standard input is left open.
void closeInputFile(FILE* file);

// Whether the command text holds "-output -". The log of such a run goes to
// standard error from its first line on, before the command is reached.
bool commandLineWritesToStandardOutput(const char* commandLine);
