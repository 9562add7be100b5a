// How a finished file reaches its name. A new name or a regular file (found
// through any chain of symbolic links) is replaced atomically through a
// temporary file beside it, keeping the file's mode, owner and group where
// the process may set them; anything else (a FIFO, a device) is written in
// place, as is a writable file whose folder takes no temporary file.
// Failures throw PdfException -3 with the system's error number.
#pragma once

class PdfStreamBase;

// The writer fills the stream it is given; it may be called a second time
// when a replace turns out not to be allowed and the file is written in
// place instead.
using PdfFileWriter = void (*)(void* context, PdfStreamBase* out);

void PdfWriteOutputFile(const char* fileName, PdfFileWriter writer, void* context);

// Removes the temporary file of a save in progress, if there is one. Only
// async-signal-safe calls, so a handler of a terminating signal may use it
// before the process ends.
void PdfRemovePendingTemporary();
