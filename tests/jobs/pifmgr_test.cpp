#include "jobs/pifmgr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/tempdir.h"

using namespace vortan;
using vortan::test::TTempDir;

namespace {

using vortan::test::ReadFile;

std::string Words(std::initializer_list<std::uint16_t> words) {
  std::string out;
  for (std::uint16_t w : words) {
    out += static_cast<char>(w & 0xFF);
    out += static_cast<char>(w >> 8);
  }
  return out;
}

struct TField {
  std::size_t offset;
  std::string bytes;
};

// The file as laid out field by field; everything not listed is zero.
std::string ExpectedPif(const std::string& title, const std::string& program) {
  const std::size_t vmm = 0x237;
  const std::vector<TField> fields = {
      {0x001, "\x78"},
      {0x002, title},
      {0x020, Words({640})},
      {0x024, program},
      {0x065, ".\\"},
      {0x0E6, "\x01"},
      {0x0E8, "\xFF"},
      {0x0E9, "\x19"},
      {0x0EA, "\x50"},
      {0x171, "MICROSOFT PIFEX"},
      {0x181, Words({0x0187, 0x0000, 0x0171})},
      {0x187, "WINDOWS 286 3.0"},
      {0x197, Words({0x01A3, 0x019D, 0x0006})},
      {0x19D, Words({1024})},
      {0x1A3, "WINDOWS 386 3.0"},
      {0x1B3, Words({0x0221, 0x01B9, 0x0068})},
      {0x1B9, Words({640, 0, 100, 50, 0xFFFF, 0, 0xFFFF, 0, 0x1002, 0x0002, 0x001F})},
      {0x221, "WINDOWS VMM 4.0"},
      {0x231, Words({0xFFFF, 0x0237, 0x01AC})},
      {vmm + 0x058, "PIFMGR.DLL"},
      {vmm + 0x0AA, Words({2})},
      {vmm + 0x0B6, Words({50, 1})},
      {vmm + 0x0C4, Words({1, 0, 5, 25, 3, 200, 1000, 2, 10, 1})},
      {vmm + 0x0DE, Words({28})},
      {vmm + 0x0EA, "Terminal"},
      {vmm + 0x10A, "Courier New"},
      {vmm + 0x12C, Words({3})},
      {vmm + 0x13C, Words({22, 0, 1, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF})},
      {vmm + 0x1A6, Words({1024, 0, 1})},
  };
  std::string out(995, '\0');
  for (const TField& f : fields) out.replace(f.offset, f.bytes.size(), f.bytes);
  return out;
}

}  // namespace

TEST(PifFile, EveryFieldAtItsOffsetWithTheTitleCutAndTextsInTheConsolePage) {
  TTempDir dir;
  // 40 bytes with an e-acute of the ANSI page (0xE9), which is 0x82 in the console page.
  const std::string name = "r\xE9sultats_de_la_simulation_numerique.exe";
  const std::string program = dir.Write(name, "program");
  const std::string pif = MakePifFile(program);
  EXPECT_EQ(pif, dir / "r\xE9sultats_de_la_simulation_numerique.pif");
  const std::string expected = ExpectedPif("r\x82sultats_de_la_simulation_num",
                                           ".\\r\x82sultats_de_la_simulation_numerique.exe");
  const std::string written = ReadFile(pif);
  ASSERT_EQ(written.size(), 995u);
  for (std::size_t i = 0; i < expected.size(); ++i)
    ASSERT_EQ(static_cast<unsigned char>(written[i]), static_cast<unsigned char>(expected[i]))
        << "at offset 0x" << std::hex << i;
}

TEST(PifFile, NamesTheFileAfterTheProgramOverwritesAndFailsWithoutAProgramOrAPlace) {
  TTempDir dir;
  struct TCase {
    const char* what;
    std::string program;  // empty entries are created by the case itself
    std::string pif;      // expected result
  };
  const std::string plain = dir.Write("prog", "x");
  const std::string out = dir.Write("sub/prog.out", "x");
  // An older, longer file of the same name is replaced whole.
  dir.Write("sub/prog.pif", std::string(2000, 'z'));
  const std::string blocked = dir.Write("blocked", "x");
  std::filesystem::create_directory(dir / "blocked.pif");
  const TCase cases[] = {
      {"no extension", plain, dir / "prog.pif"},
      {"extension replaced, old file overwritten", out, dir / "sub/prog.pif"},
      {"program missing", dir / "missing", ""},
      {"place taken by a directory", blocked, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MakePifFile(c.program), c.pif);
    if (!c.pif.empty()) {
      EXPECT_EQ(std::filesystem::file_size(c.pif), 995u);
    }
  }
}
