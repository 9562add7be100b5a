// The RC4 stream cipher, in the form the security handler needs: a state that
// can be started from a key and then run over any number of buffers.
#pragma once

#include <cstdint>

// Key schedule: fills the 256-byte permutation from the key and sets both
// indices to 0. A key length of 0 is treated as a one-byte zero key.
void Rc4Start(uint8_t state[256], uint8_t* i, uint8_t* j, const uint8_t* key, int keyLength);
// Keystream XOR over length bytes, continuing the state; src and dst may be
// the same buffer.
void Rc4Crypt(uint8_t state[256], uint8_t* i, uint8_t* j, const uint8_t* src, uint8_t* dst,
              int length);

class Rc4 {
 public:
  Rc4(const uint8_t* key, int keyLength) { Rc4Start(state_, &i_, &j_, key, keyLength); }
  void Crypt(const uint8_t* src, uint8_t* dst, int length) {
    Rc4Crypt(state_, &i_, &j_, src, dst, length);
  }

 private:
  uint8_t state_[256];
  uint8_t i_;
  uint8_t j_;
};
