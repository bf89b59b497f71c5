#pragma once
// Reading a whole file in a test: its bytes as they are, empty when it cannot be read.
#include <fstream>
#include <sstream>
#include <string>

namespace vortan::test {

inline std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace vortan::test
