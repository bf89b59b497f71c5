#pragma once
// A pseudo-terminal pair: a program opens the slave side as its terminal, and this side
// reads what it prints and types what it reads.

#include <string>
#include <string_view>

namespace vortan {

class TPseudoTerminal {
 public:
  TPseudoTerminal() = default;
  ~TPseudoTerminal();
  TPseudoTerminal(const TPseudoTerminal&) = delete;
  TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

  bool Open();
  /// The slave's device name ("/dev/pts/N"); empty until opened.
  const std::string& SlaveName() const { return slave_; }
  /// Types `text` as the keyboard would.
  bool Type(std::string_view text);
  /// Appends what the program printed, waiting up to `timeoutMs` for the first bytes; false
  /// when nothing came.
  bool Read(std::string& text, int timeoutMs);

 private:
  int master_ = -1;
  std::string slave_;
};

}  // namespace vortan
