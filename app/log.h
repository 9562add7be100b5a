// The run's log: one time-stamped line per call, appended to the log file
// when one is named and always written to standard output.
#pragma once

// printf-style; the message is cut at 1023 characters.
void logLine(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
