// The SHA-2 digests that the AES-256 password hash needs, through libcrypto.
#pragma once

#include <cstddef>
#include <cstdint>

// bits is 256, 384 or 512; digest has room for bits / 8 bytes. Throws code
// -14 when the library fails.
void Sha2Digest(int bits, const void* data, size_t length, uint8_t* digest);
