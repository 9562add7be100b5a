// The standard security handler: padding, permission value, password checks,
// O/U/key values and the per-object encryptor. Known answers come from files
// encrypted by qpdf with its fixed test identifier (31415926...2795).
#include <gtest/gtest.h>

#include "tests/pdf/core_test_util.h"

#include <cstring>
#include <string>
#include <vector>

#include "pdf/pdf_exception.h"
#include "pdf/pdf_objects.h"
#include "pdf/pdf_stream.h"
#include "pdf/pdf_xref.h"
#include "pdf/security/pdf_encrypt.h"

namespace {

using coretest::FromHex;
using coretest::ToHex;

std::string MemText(PdfMemStream& stream) {
  std::string text;
  for (int k = 0; k < stream.ChunkCount(); k++) {
    int length = 0;
    const unsigned char* chunk = stream.GetChunk(k, &length);
    text.append(reinterpret_cast<const char*>(chunk), length);
  }
  return text;
}

TEST(PdfEncryptPadding, PublishedStringAndPaddingRule) {
  EXPECT_EQ(ToHex(PdfEncrypt::kPadding, 32),
            "28bf4e5e4e758a4164004e56fffa01082e2e00b6d0683e802f0ca9fe6453697a");

  struct Case {
    std::string password;
    std::string expected;  // hex of the 32 padded bytes
  };
  const std::string pad = ToHex(PdfEncrypt::kPadding, 32);
  const std::string thirtyTwo = "0123456789abcdefghijklmnopqrstuv";
  const Case cases[] = {
      {"", pad},
      {"abc", "616263" + pad.substr(0, 58)},
      {thirtyTwo.substr(0, 31), ToHex(reinterpret_cast<const uint8_t*>(thirtyTwo.data()), 31) +
                                    pad.substr(0, 2)},
      {thirtyTwo, ToHex(reinterpret_cast<const uint8_t*>(thirtyTwo.data()), 32)},
      {thirtyTwo + "WXYZ", ToHex(reinterpret_cast<const uint8_t*>(thirtyTwo.data()), 32)},
  };
  for (const Case& c : cases) {
    uint8_t padded[32];
    memset(padded, 0xEE, sizeof(padded));
    PdfEncrypt::PadPassword(c.password.c_str(), padded);
    EXPECT_EQ(ToHex(padded, 32), c.expected) << "password \"" << c.password << "\"";
  }
}

struct KnownValues {
  const char* owner;
  const char* user;
  int32_t permission;
  const char* ownerValue;
  const char* key;
  const char* userValue;
};

// Written by qpdf 11 (--static-id --encrypt user owner 40 ...) and read back
// from its files.
const KnownValues kQpdfValues[] = {
    {"owner", "user", -4, "94e8094419662a774442fb072e3d9f19e9d130ec09a4d0061e78fe920f7ab62f",
     "ee4fd3a223", "2aa12f26bcf1a217c0f1ee491745f646671475ae85bddf3e3c1a45a8457391cb"},
    {"owner", "", -8, "c92422687facee686e373f10b5c7d04738053152f7e2ee30e11c69ec442576ab",
     "7335d1c8aa", "2e34cb12c5baac0232aa86dcc4f811bc965a0938558ba1c25bb510ae6dd3564c"},
    {"Owner", "secret user password that is longer than 32", -60,
     "dc69538fe1334e7618b709caee635fbaf8ef94dc2f404365cb15a33000088591", "304a237e33",
     "728dfbc6593a9a4ee368adcd97d6c829cb5575ed16b570ebedbb2278e4aadbfc"},
};

TEST(PdfEncryptValues, MatchFilesWrittenByQpdf) {
  const std::vector<uint8_t> fileId = FromHex("31415926535897932384626433832795");
  for (const KnownValues& v : kQpdfValues) {
    uint8_t ownerPadded[32], userPadded[32], ownerValue[32], key[5], userValue[32];
    PdfEncrypt::PadPassword(v.owner, ownerPadded);
    PdfEncrypt::PadPassword(v.user, userPadded);
    PdfEncrypt::ComputeValues(ownerPadded, userPadded, v.permission, fileId.data(), ownerValue,
                              key, userValue);
    EXPECT_EQ(ToHex(ownerValue, 32), v.ownerValue) << v.owner << "/" << v.user;
    EXPECT_EQ(ToHex(key, 5), v.key) << v.owner << "/" << v.user;
    EXPECT_EQ(ToHex(userValue, 32), v.userValue) << v.owner << "/" << v.user;
  }
}

TEST(PdfEncryptHandler, RegistersItselfWithFilterVersionAndRevision) {
  PdfXref xref(nullptr);
  PdfEncrypt* encrypt = new PdfEncrypt(&xref, nullptr);
  EXPECT_GT(encrypt->GetObjectId(), 0);
  EXPECT_EQ(xref.GetObject(encrypt->GetObjectId()), encrypt);
  ASSERT_EQ(encrypt->GetCount(), 3);
  EXPECT_STREQ(encrypt->GetKeyAt(0), "Filter");
  EXPECT_STREQ(encrypt->GetNameValue("Filter"), "Standard");
  EXPECT_STREQ(encrypt->GetKeyAt(1), "V");
  EXPECT_EQ(static_cast<PdfNumber*>(encrypt->GetValue("V"))->GetValue(), 1);
  EXPECT_STREQ(encrypt->GetKeyAt(2), "R");
  EXPECT_EQ(static_cast<PdfNumber*>(encrypt->GetValue("R"))->GetValue(), 2);
  // Both passwords start as the padding string (two empty passwords).
  EXPECT_EQ(memcmp(encrypt->GetPaddedOwnerPassword(), PdfEncrypt::kPadding, 32), 0);
  EXPECT_EQ(memcmp(encrypt->GetPaddedUserPassword(), PdfEncrypt::kPadding, 32), 0);
}

TEST(PdfEncryptHandler, PermissionValue) {
  struct Case {
    int flags;
    int32_t expected;
  };
  const Case cases[] = {
      {4, -60}, {0, -64}, {4 | 8 | 16 | 32, -4}, {8, -56}, {16 | 32, -16}, {3, -61}, {-1, -1},
      {0x100, -64},  // bits 7 and up are set anyway
  };
  PdfXref xref(nullptr);
  PdfEncrypt* encrypt = new PdfEncrypt(&xref, nullptr);
  EXPECT_EQ(encrypt->GetPermission(), -4);  // never set
  for (const Case& c : cases) {
    encrypt->SetPermission(c.flags);
    EXPECT_EQ(encrypt->GetPermission(), c.expected) << "flags " << c.flags;
  }
}

TEST(PdfEncryptHandler, PasswordErrorsLeaveThePasswordsUnchanged) {
  struct Case {
    const char* owner;
    const char* user;
    const char* message;
  };
  const Case cases[] = {
      {nullptr, "user", "ERROR: PdfEncrypt::SetPassword -- owner_passwd cannot be set to NULL"},
      {nullptr, nullptr, "ERROR: PdfEncrypt::SetPassword -- owner_passwd cannot be set to NULL"},
      {"owner", nullptr, "ERROR: PdfEncrypt::SetPassword -- user_passwd cannot be set to NULL"},
      {"same", "same",
       "ERROR: PdfEncrypt::SetPassword -- user and owner password must be diiferent."},
      {"", "", "ERROR: PdfEncrypt::SetPassword -- user and owner password must be diiferent."},
  };
  PdfXref xref(nullptr);
  PdfEncrypt* encrypt = new PdfEncrypt(&xref, nullptr);
  encrypt->SetPassword("first owner", "first user");
  uint8_t ownerBefore[32], userBefore[32];
  memcpy(ownerBefore, encrypt->GetPaddedOwnerPassword(), 32);
  memcpy(userBefore, encrypt->GetPaddedUserPassword(), 32);
  for (const Case& c : cases) {
    try {
      encrypt->SetPassword(c.owner, c.user);
      ADD_FAILURE() << "no exception for " << (c.owner ? c.owner : "(null)");
    } catch (const PdfException& e) {
      EXPECT_EQ(e.GetCode(), -13);
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(memcmp(encrypt->GetPaddedOwnerPassword(), ownerBefore, 32), 0);
    EXPECT_EQ(memcmp(encrypt->GetPaddedUserPassword(), userBefore, 32), 0);
  }
}

TEST(PdfEncryptHandler, AcceptedPasswordsArePadded) {
  struct Case {
    const char* owner;
    const char* user;
  };
  const std::string longA = std::string(32, 'x') + "A";
  const std::string longB = std::string(32, 'x') + "B";
  const Case cases[] = {
      {"", "user"},             // an empty owner password stays empty
      {"owner", ""},
      {"owner", "user"},
      {longA.c_str(), longB.c_str()},  // differ only after byte 32
  };
  PdfXref xref(nullptr);
  PdfEncrypt* encrypt = new PdfEncrypt(&xref, nullptr);
  for (const Case& c : cases) {
    EXPECT_NO_THROW(encrypt->SetPassword(c.owner, c.user));
    uint8_t owner[32], user[32];
    PdfEncrypt::PadPassword(c.owner, owner);
    PdfEncrypt::PadPassword(c.user, user);
    EXPECT_EQ(memcmp(encrypt->GetPaddedOwnerPassword(), owner, 32), 0) << c.owner;
    EXPECT_EQ(memcmp(encrypt->GetPaddedUserPassword(), user, 32), 0) << c.user;
  }
  EXPECT_EQ(memcmp(encrypt->GetPaddedOwnerPassword(), encrypt->GetPaddedUserPassword(), 32), 0);
}

TEST(PdfEncryptHandler, PrepareWritesKeysInOrderAndIsConsistent) {
  PdfXref xref(nullptr);
  PdfEncrypt* encrypt = new PdfEncrypt(&xref, nullptr);
  encrypt->SetPermission(4);
  encrypt->SetPassword("owner", "user");
  for (int save = 0; save < 2; save++) {  // a second save replaces O, U and P in place
    encrypt->PrepareEncryption();
    ASSERT_EQ(encrypt->GetCount(), 6);
    const char* keys[] = {"Filter", "V", "R", "O", "U", "P"};
    for (int k = 0; k < 6; k++) EXPECT_STREQ(encrypt->GetKeyAt(k), keys[k]);
    EXPECT_EQ(static_cast<PdfNumber*>(encrypt->GetValue("P"))->GetValue(), -60);

    PdfBinary* o = static_cast<PdfBinary*>(encrypt->GetValue("O"));
    PdfBinary* u = static_cast<PdfBinary*>(encrypt->GetValue("U"));
    ASSERT_EQ(o->GetType(), otBinary);
    ASSERT_EQ(u->GetType(), otBinary);
    EXPECT_FALSE(o->GetEncryptFlag());
    EXPECT_FALSE(u->GetEncryptFlag());
    ASSERT_EQ(o->GetLength(), 32);
    ASSERT_EQ(u->GetLength(), 32);
    EXPECT_EQ(memcmp(o->GetData(), encrypt->GetOwnerValue(), 32), 0);
    EXPECT_EQ(memcmp(u->GetData(), encrypt->GetUserValue(), 32), 0);

    // The stored values agree with the computation from the stored identifier.
    uint8_t owner[32], user[32], ownerValue[32], key[5], userValue[32];
    PdfEncrypt::PadPassword("owner", owner);
    PdfEncrypt::PadPassword("user", user);
    PdfEncrypt::ComputeValues(owner, user, -60, encrypt->GetFileId(), ownerValue, key,
                              userValue);
    EXPECT_EQ(ToHex(encrypt->GetOwnerValue(), 32), ToHex(ownerValue, 32));
    EXPECT_EQ(ToHex(encrypt->GetKey(), 5), ToHex(key, 5));
    EXPECT_EQ(ToHex(encrypt->GetUserValue(), 32), ToHex(userValue, 32));
  }

  // Written with an encryptor, O and U stay as computed.
  PdfEncryptor encryptor(encrypt->GetKey());
  encryptor.Init(encrypt->GetObjectId(), 0);
  PdfMemStream out;
  encrypt->WriteValueToStream(&out, &encryptor);
  const std::string expected = "<<\r\n/Filter /Standard\r\n/V 1\r\n/R 2\r\n/O <" +
                               ToHex(encrypt->GetOwnerValue(), 32) + ">\r\n/U <" +
                               ToHex(encrypt->GetUserValue(), 32) + ">\r\n/P -60\r\n>>";
  std::string written = MemText(out);
  for (char& ch : written) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
  std::string lowered = expected;
  for (char& ch : lowered) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
  EXPECT_EQ(written, lowered);
}

TEST(PdfEncryptHandler, IdentifierTakesTheObjectCount) {
  // Same second, same information: only the object count differs.
  PdfXref xref(nullptr);
  PdfEncrypt* encrypt = new PdfEncrypt(&xref, nullptr);
  std::string first, second;
  for (int attempt = 0; attempt < 3; attempt++) {
    time_t before = time(nullptr);
    encrypt->PrepareEncryption();
    first = ToHex(encrypt->GetFileId(), 16);
    encrypt->PrepareEncryption();
    second = ToHex(encrypt->GetFileId(), 16);
    xref.AddObject(new PdfNumber(attempt));
    encrypt->PrepareEncryption();
    std::string third = ToHex(encrypt->GetFileId(), 16);
    if (time(nullptr) != before) continue;  // a second boundary was crossed; try again
    EXPECT_EQ(first, second);
    EXPECT_NE(second, third);
    return;
  }
  ADD_FAILURE() << "could not complete within one second";
}

TEST(PdfEncryptorTest, StringsMatchQpdf) {
  // qpdf encrypted an information dictionary (object 2) holding Author
  // "Plotvane" and Title "Hello, world" with key ee4fd3a223.
  const std::vector<uint8_t> key = FromHex("ee4fd3a223");
  PdfEncryptor encryptor(key.data());
  encryptor.Init(2, 0);
  const char* texts[] = {"Plotvane", "Hello, world"};
  const char* expected[] = {"af5f310179e1f7ae", "b756321960acb9bc6a64ba34"};
  for (int k = 0; k < 2; k++) {
    int length = static_cast<int>(strlen(texts[k]));
    std::vector<uint8_t> out(length);
    encryptor.Crypt(reinterpret_cast<const uint8_t*>(texts[k]), out.data(), length);
    EXPECT_EQ(ToHex(out.data(), length), expected[k]);
    encryptor.Reset();
  }
}

TEST(PdfEncryptorTest, StateCarriesOnUntilResetAndDependsOnObject) {
  const uint8_t key[5] = {1, 2, 3, 4, 5};
  const uint8_t zeros[64] = {};
  PdfEncryptor encryptor(key);

  auto run = [&](int length) {
    std::vector<uint8_t> out(length);
    encryptor.Crypt(zeros, out.data(), length);
    return ToHex(out.data(), length);
  };

  encryptor.Init(7, 0);
  std::string whole = run(64);
  encryptor.Reset();
  std::string pieces = run(10);
  pieces += run(30);
  pieces += run(24);
  EXPECT_EQ(pieces, whole);  // chunked stream data is one continuous run
  encryptor.Reset();
  EXPECT_EQ(run(64), whole);
  encryptor.Init(7, 0);
  EXPECT_EQ(run(64), whole);

  // Every byte of the object number (three of them) and of the generation
  // (two) changes the object key.
  std::vector<std::pair<int, int>> objects = {{8, 0},       {7 + 256, 0}, {7 + 65536, 0},
                                              {7, 1},       {7, 256},     {7 + 16777216, 0}};
  for (size_t k = 0; k < objects.size(); k++) {
    encryptor.Init(objects[k].first, objects[k].second);
    std::string other = run(64);
    if (objects[k].first == 7 + 16777216) {
      EXPECT_EQ(other, whole) << "only three bytes of the object number enter the key";
    } else {
      EXPECT_NE(other, whole) << objects[k].first << " " << objects[k].second;
    }
  }

  // In place.
  encryptor.Init(7, 0);
  uint8_t buffer[64] = {};
  encryptor.Crypt(buffer, buffer, 64);
  EXPECT_EQ(ToHex(buffer, 64), whole);
}

}  // namespace
