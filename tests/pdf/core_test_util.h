// Small helpers for the PDF core tests: an output stream that keeps what it
// is given, and the written form of a single object.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

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
