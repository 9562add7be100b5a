// The run's log: one time-stamped line per call, appended to the log file
// when one is named and always written to standard output (or standard error
// while standard output carries the PDF).
#pragma once

// printf-style; the message is cut at 1023 characters.
void logLine(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Where the lines go besides the log file. Held keeps them in memory until
// the place is known; switching from Held writes them there, in order.
enum class LogConsole { Output, Error, Held };
void setLogConsole(LogConsole where);
LogConsole logConsole();
