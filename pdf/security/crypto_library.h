// Starts libcrypto the one way this program needs it.
#pragma once

// Initialises libcrypto without its exit-time clean-up. The program is
// linked statically, and a run that also loads the font libraries with
// dlopen leaves libcrypto's thread-stop hook pointing at nothing, so the
// clean-up crashed after a successful save; the process is ending anyway.
// Safe to call any number of times.
void PdfCryptoInit();
