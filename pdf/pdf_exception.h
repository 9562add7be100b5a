// The one exception type of the PDF layer: a printf-style message of at most
// 512 characters and a negative error code.
#pragma once

#include <exception>

// Error codes of the PDF layer.
enum PdfErrorCode {
  PDF_ERR_LIST = -1,         // the object table or a list refused an element
  PDF_ERR_WRITE = -3,        // output write failed
  PDF_ERR_RANGE = -4,        // real out of range, unknown array item
  PDF_ERR_INVALID = -5,      // invalid argument or operation, mode, font, limit
  PDF_ERR_ARGUMENT = -6,     // operator argument out of range
  PDF_ERR_DEFLATE = -8,      // deflate failure
  PDF_ERR_MISSING = -9,      // missing object, invalid value
  PDF_ERR_DICT_GROW = -10,   // a dictionary that cannot grow
  PDF_ERR_PASSWORD = -13,    // password error
  PDF_ERR_CRYPTO = -14       // the cryptographic library failed (AES, SHA-2, random bytes)
};

class PdfException : public std::exception {
 public:
  static const int kMaxMessage = 512;

  PdfException(int code, const char* format, ...) __attribute__((format(printf, 3, 4)));

  const char* what() const noexcept override { return message_; }
  int GetCode() const { return code_; }

 private:
  char message_[kMaxMessage + 1];
  int code_;
};
