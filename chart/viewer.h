// Opens a finished file in the desktop's default viewer without waiting for
// the viewer to close.
#pragma once

// Returns 0 when the opener started and reported success, else a non-zero
// code: the errno of the failed start or the opener's exit status.
int openInDefaultViewer(const char* path);
