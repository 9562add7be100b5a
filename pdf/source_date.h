// The reproducible-builds convention: SOURCE_DATE_EPOCH, when set to a whole
// number of seconds since 1970, stands in for the clock wherever the time
// would end up in the file, so that the same input gives the same bytes.
#pragma once

#include <ctime>

// True, with the instant in *out, when SOURCE_DATE_EPOCH holds a valid
// number of seconds (decimal digits only, representable as time_t); false
// when it is unset or not valid, and then the clock is to be used.
bool PdfSourceDateEpoch(time_t* out);

// The instant to write into the file: SOURCE_DATE_EPOCH when valid, else now.
time_t PdfFileTime();
