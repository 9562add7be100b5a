// Unpredictable bytes for initialisation vectors, salts and file keys, from
// libcrypto's generator.
#pragma once

#include <cstdint>

// Throws code -14 when the generator cannot deliver.
void RandomBytes(uint8_t* dst, int length);
