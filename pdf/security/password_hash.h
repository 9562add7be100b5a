// The password hash of the AES-256 security handler (revision 6): SHA-256 of
// password, salt and user data, then at least 64 rounds that encrypt with
// AES-128 and hash with SHA-256, -384 or -512 as the data chooses.
#pragma once

#include <cstdint>

// password: the prepared UTF-8 password, at most 127 bytes; salt: 8 bytes;
// userData: the 48-byte U value when hashing for the owner, else nullptr.
// Writes the 32-byte hash.
void HashPasswordRev6(const uint8_t* password, int passwordLength, const uint8_t salt[8],
                      const uint8_t* userData, uint8_t hash[32]);
