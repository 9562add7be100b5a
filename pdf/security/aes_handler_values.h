// The values of the standard security handler's AES revisions: revision 4
// (AES-128, keys derived from the passwords through MD5 and RC4) and
// revision 6 (AES-256, a random file key wrapped under password hashes).
#pragma once

#include <cstdint>
#include <string>

// O, the 16-byte file key and U for revision 4, from the padded passwords, P
// and the first file identifier. The caller passes the padded user password
// as owner when there is no owner password.
void ComputeRev4Values(const uint8_t ownerPadded[32], const uint8_t userPadded[32],
                       int32_t permission, const uint8_t fileId[16], uint8_t ownerValue[32],
                       uint8_t key[16], uint8_t userValue[32]);

// The per-object key of revision 4: MD5 of the file key, the object number's
// three low bytes, the generation's two low bytes and "sAlT".
void ObjectKeyRev4(const uint8_t fileKey[16], int objectId, int generation, uint8_t key[16]);

struct Rev6Values {
  uint8_t owner[48];     // O: hash, validation salt, key salt
  uint8_t user[48];      // U: the same for the user password
  uint8_t ownerKey[32];  // OE: the file key under the owner's key hash
  uint8_t userKey[32];   // UE: the file key under the user's key hash
  uint8_t perms[16];     // Perms: P and a check block under the file key
};

// Revision 6 from the prepared passwords (cut to 127 bytes), P and the
// 32-byte file key; salts and the filler of Perms are random.
void ComputeRev6Values(const std::string& ownerPassword, const std::string& userPassword,
                       int32_t permission, const uint8_t fileKey[32], Rev6Values* values);
