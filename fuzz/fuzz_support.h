// What every fuzz target shares: a private working folder, no viewer, a quiet
// standard output, and a clean slate between inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pvfuzz {

// Creates the working folder, makes it the current folder, reads standard
// input from /dev/null, sends standard output to a file beside it and points
// PATH at a folder that does not exist, so
// that no opener or other program can be started. Call once from
// LLVMFuzzerInitialize.
void setUp();

// The working folder, without a trailing "/".
const std::string& workDir();

// Removes every file the last input made in the working folder.
void cleanWorkDir();

// Starts a fresh capture of standard output and returns what was captured
// since the previous call.
std::string takeCapturedOutput();

// Inputs that name paths with "/" could reach files outside the working
// folder (an absolute log file or output, "..", devices), so they are
// skipped.
bool namesPathsOutside(const uint8_t* data, size_t size);

// Writes bytes to a file of the working folder as they are.
void writeWorkFile(const char* name, const uint8_t* data, size_t size);

// Stops the fuzzer with a clear message; libFuzzer reports it as a crash.
[[noreturn]] void fail(const char* what, const std::string& detail = "");

}  // namespace pvfuzz
