// Opens a finished file in the desktop's default viewer without waiting for
// the viewer, or an opener that runs it in the foreground, to close.
#pragma once

// Returns 0 when the opener started and did not fail within a short wait,
// else a non-zero code: the errno of the failed start, or the exit status of
// an opener that failed at once.
int openInDefaultViewer(const char* path);
