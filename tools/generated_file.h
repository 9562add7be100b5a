// Reading and writing the files that the generators in tools/ keep up to
// date, whole and byte for byte. Each generator reports failures its own way.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

inline bool readWholeFile(const std::string& path, std::string* out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::ostringstream s;
  s << f.rdbuf();
  *out = s.str();
  return true;
}

inline bool writeWholeFile(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << text;
  f.close();
  return static_cast<bool>(f);
}
