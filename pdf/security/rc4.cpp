#include "pdf/security/rc4.h"

void Rc4Start(uint8_t state[256], uint8_t* i, uint8_t* j, const uint8_t* key, int keyLength) {
  static const uint8_t kZeroKey[1] = {0};
  if (key == nullptr || keyLength <= 0) {
    key = kZeroKey;
    keyLength = 1;
  }
  for (int k = 0; k < 256; k++) state[k] = static_cast<uint8_t>(k);
  uint8_t jj = 0;
  for (int k = 0; k < 256; k++) {
    jj = static_cast<uint8_t>(jj + state[k] + key[k % keyLength]);
    uint8_t t = state[k];
    state[k] = state[jj];
    state[jj] = t;
  }
  *i = 0;
  *j = 0;
}

void Rc4Crypt(uint8_t state[256], uint8_t* i, uint8_t* j, const uint8_t* src, uint8_t* dst,
              int length) {
  uint8_t ii = *i;
  uint8_t jj = *j;
  for (int k = 0; k < length; k++) {
    ii = static_cast<uint8_t>(ii + 1);
    jj = static_cast<uint8_t>(jj + state[ii]);
    uint8_t t = state[ii];
    state[ii] = state[jj];
    state[jj] = t;
    dst[k] = src[k] ^ state[static_cast<uint8_t>(state[ii] + state[jj])];
  }
  *i = ii;
  *j = jj;
}
