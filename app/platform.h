// The few services the front end needs from the operating system, kept in
// one place so that the rest of the code is plain C++.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>

// Current local time of day.
void localTimeOfDay(int* hour, int* minute, int* second);

// vsnprintf that always terminates and never writes more than size bytes.
void formatBounded(char* dest, size_t size, const char* format, va_list args);

// Case-insensitive comparison: ASCII letters folded to lower case, then the
// bytes compared as unsigned values. Result <0, 0 or >0 like strcmp.
int compareNoCase(const char* a, const char* b);

// Reads the next piece of a text file into dest, as fgets on a text-mode
// stream would: at most maxChars characters, ending after a line break.
// LF, CR LF and a lone CR each count as one line break and arrive as "\n". dest needs room for maxChars + 1 bytes and is always
// terminated. Returns false at the end of the file when nothing was read.
// NUL bytes are copied as they are, so the C string simply ends there.
bool readTextPiece(FILE* file, char* dest, int maxChars);

// Opens a file for the line-by-line readers. Returns nullptr and sets errno
// when the file cannot be opened or is a folder (EISDIR), since reading a
// folder would otherwise look like reading an empty file. A UTF-8
// byte-order mark at the start of the file is skipped: editors on Windows
// write one, and it is no part of the first line.
FILE* openTextFile(const char* path);

// Readies the process for a run that must end in a clear result: standard
// input, output and error are made to exist (on /dev/null when the caller
// closed them), so no file the run opens takes their place; SIGPIPE and
// SIGXFSZ are ignored, so a closed pipe or a file-size limit fails the write
// that met it instead of killing the run; SIGINT, SIGTERM and SIGHUP remove
// the temporary file of a save in progress before they end the process.
void prepareProcess();

// Skips the three bytes of a UTF-8 byte-order mark at the current position
// (the start of a file, or of what is left of standard input); any other
// bytes stay to be read.
void skipByteOrderMark(FILE* file);
