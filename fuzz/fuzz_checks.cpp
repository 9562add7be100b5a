#include <cstdint>
#include <cstring>

#include "app/settings.h"
#include "app/utf8.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"

namespace pvfuzz {

namespace {

bool contains(const uint8_t* data, size_t size, const char* word) {
  size_t n = std::strlen(word);
  for (size_t i = 0; i + n <= size; ++i)
    if (std::memcmp(data + i, word, n) == 0) return true;
  return false;
}

bool isStamp(const std::string& line) {
  auto digit = [&](size_t i) { return line[i] >= '0' && line[i] <= '9'; };
  return line.size() >= 9 && digit(0) && digit(1) && line[2] == ':' && digit(3) && digit(4) &&
         line[5] == ':' && digit(6) && digit(7) && line[8] == ' ';
}

template <size_t N>
void checkText(const char (&field)[N], size_t limit, const char* name) {
  if (std::memchr(field, '\0', N) == nullptr) fail("text field not terminated", name);
  size_t length = std::strlen(field);
  // In UTF-8 mode the limits count characters.
  if (chartSettings.textEncoding == Utf8Text) length = utf8CharCount(field, length);
  if (length > limit) fail("text field longer than its limit", name);
}

}  // namespace

bool couldForgeLogLines(const uint8_t* data, size_t size) {
  return contains(data, size, "ERROR") || contains(data, size, "MakePDF") ||
         contains(data, size, "Finished");
}

int countLogLines(const std::string& out, const char* prefix) {
  int count = 0;
  size_t pos = 0;
  while (pos < out.size()) {
    size_t end = out.find('\n', pos);
    if (end == std::string::npos) end = out.size();
    std::string line = out.substr(pos, end - pos);
    if (isStamp(line) && line.compare(9, std::strlen(prefix), prefix) == 0) ++count;
    pos = end + 1;
  }
  return count;
}

std::string lastLogMessage(const std::string& out) {
  if (out.empty()) return "";
  size_t end = out.back() == '\n' ? out.size() - 1 : out.size();
  size_t begin = out.rfind('\n', end == 0 ? 0 : end - 1);
  begin = begin == std::string::npos ? 0 : begin + 1;
  std::string line = out.substr(begin, end - begin);
  return isStamp(line) ? line.substr(9) : line;
}

void checkSettingsLimits() {
  const ChartSettings& s = chartSettings;
  if (s.dataCount < 0 || s.dataCount > kMaxData) fail("dataCount out of range");
  if (s.barColorCount < 0 || s.barColorCount > kMaxBarColors) fail("barColorCount out of range");
  for (int i = 0; i < s.dataCount; ++i) checkText(s.data[i].label, kMaxLabel, "data label");
  checkText(s.axesCaptionXText, kMaxCaptionText, "axesCaptionXText");
  checkText(s.axesCaptionYText, kMaxCaptionText, "axesCaptionYText");
  checkText(s.barLabelFormat, kMaxBarLabelFormat, "barLabelFormat");
  checkText(s.dataSeparator, kMaxDataSeparator, "dataSeparator");
  checkText(s.producer, kMaxInfoText, "producer");
  checkText(s.creator, kMaxInfoText, "creator");
  checkText(s.author, kMaxInfoText, "author");
  checkText(s.title, kMaxInfoText, "title");
  checkText(s.subject, kMaxInfoText, "subject");
  checkText(s.keywords, kMaxInfoText, "keywords");
  // Longer passwords are taken only for AES-256.
  const int passwordLimit = s.encryption == EncryptAES256 ? kMaxPasswordAes256 : kMaxPassword;
  checkText(s.ownerPassword, passwordLimit, "ownerPassword");
  checkText(s.userPassword, passwordLimit, "userPassword");
  checkText(s.outputFile, kMaxPath + 4, "outputFile");
  checkText(s.logFile, kMaxPath, "logFile");
}

}  // namespace pvfuzz
