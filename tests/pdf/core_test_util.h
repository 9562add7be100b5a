// Small helpers for the PDF core tests: an output stream that keeps what it
// is given, and the written form of a single object.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pdf/pdf_exception.h"
#include "pdf/pdf_objects.h"
#include "pdf/pdf_stream.h"

namespace coretest {

class StringOut : public PdfStreamBase {
 public:
  int Write(const void* bytes, int len) override {
    if (len <= 0) return 0;
    data.append(static_cast<const char*>(bytes), len);
    size_ += len;
    ++writes;
    return len;
  }
  std::string data;
  int writes = 0;
};

inline std::string Written(PdfObject* object) {
  StringOut out;
  object->WriteValueToStream(&out, nullptr);
  return out.data;
}

// Lower-case hexadecimal, two digits per byte, and back.
inline std::string ToHex(const uint8_t* bytes, int length) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (int k = 0; k < length; k++) {
    hex += kDigits[bytes[k] >> 4];
    hex += kDigits[bytes[k] & 15];
  }
  return hex;
}

inline std::vector<uint8_t> FromHex(const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t k = 0; k + 1 < hex.size(); k += 2)
    bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(k, 2), nullptr, 16)));
  return bytes;
}

inline std::string MemBytes(const PdfMemStream& stream) {
  std::string bytes;
  for (int i = 0; i < stream.ChunkCount(); ++i) {
    int n = 0;
    const unsigned char* chunk = stream.GetChunk(i, &n);
    bytes.append(reinterpret_cast<const char*>(chunk), n);
  }
  return bytes;
}

// Runs f, expects a PdfException and returns it (code 0 when none was thrown).
struct Caught {
  int code = 0;
  std::string message;
};

inline Caught CatchPdf(const std::function<void()>& f) {
  Caught c;
  try {
    f();
    ADD_FAILURE() << "no PdfException was thrown";
  } catch (const PdfException& e) {
    c.code = e.GetCode();
    c.message = e.what();
  }
  return c;
}

}  // namespace coretest
