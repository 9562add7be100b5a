// Preparation of AES-256 passwords (SASLprep, RFC 4013) as far as it goes
// without Unicode normalisation tables: the text must be UTF-8; non-ASCII
// spaces become spaces; characters that are commonly mapped to nothing are
// dropped; control, private-use, non-character, surrogate, display and
// tagging characters are refused. Not done: NFKC normalisation (a password
// with compatibility or decomposed characters must be typed in the same form
// when opening the file) and the bidirectional-text check.
#pragma once

#include <string>

// On success stores the prepared UTF-8 text in *prepared and returns nullptr;
// otherwise returns what is wrong with the text.
const char* SaslPrep(const std::string& text, std::string* prepared);
