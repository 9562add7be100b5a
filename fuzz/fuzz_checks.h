// Checks of what must hold after any input, shared by the targets that run
// commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pvfuzz {

// Inputs whose text could forge a log line of their own ("ERROR", "MakePDF",
// "Finished" after a line break) would confuse the log check.
bool couldForgeLogLines(const uint8_t* data, size_t size);

// Counts the log lines of captured standard output that begin (after the
// time stamp) with prefix.
int countLogLines(const std::string& out, const char* prefix);

// The message of the last log line, without its time stamp.
std::string lastLogMessage(const std::string& out);

// The settings record stays within its limits whatever the input did.
void checkSettingsLimits();

}  // namespace pvfuzz
