#include "jobs/pifmgr.h"

#include <cstdint>
#include <fstream>
#include <string_view>

#include "platform/codepage.h"
#include "platform/platform.h"
#include "platform/shortname.h"
#include "system/sourcefilenames.h"

namespace vortan {

namespace {

void Byte(std::string& out, std::uint8_t v) { out += static_cast<char>(v); }

void Word(std::string& out, std::uint16_t v) {
  Byte(out, static_cast<std::uint8_t>(v & 0xFF));
  Byte(out, static_cast<std::uint8_t>(v >> 8));
}

void DWord(std::string& out, std::uint32_t v) {
  Word(out, static_cast<std::uint16_t>(v & 0xFFFF));
  Word(out, static_cast<std::uint16_t>(v >> 16));
}

void Zero(std::string& out, std::size_t n) { out.append(n, '\0'); }

// A fixed field: the text cut at the field's size, the rest zero.
void Text(std::string& out, std::string_view text, std::size_t size) {
  text = text.substr(0, size);
  out.append(text);
  Zero(out, size - text.size());
}

void Heading(std::string& out, const char* name, std::uint16_t next, std::uint16_t dataAt,
             std::uint16_t length) {
  Text(out, name, 16);
  Word(out, next);
  Word(out, dataAt);
  Word(out, length);
}

std::string WithPifExtension(const std::string& program) {
  const std::size_t nameStart = program.size() - FileNamePart(program).size();
  const std::size_t dot = program.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return program + ".pif";
  return program.substr(0, dot) + ".pif";
}

}  // namespace

std::string PifFileBytes(const std::string& program) {
  const std::string title = platform::AnsiToOem(FileNamePart(program));
  const std::string shortName =
      platform::AnsiToOem(".\\" + FileNamePart(platform::ShortPathName(program)));
  std::string out;
  out.reserve(PifFileSize);

  // Basic section
  Byte(out, 0);
  Byte(out, 0x78);
  Text(out, title, 30);
  Word(out, 640);  // maximum memory, KB
  Word(out, 0);    // minimum memory
  Text(out, shortName, 63);
  Word(out, 0);
  Text(out, platform::AnsiToOem(".\\"), 64);  // start directory
  Zero(out, 64);                              // parameters
  Byte(out, 0);
  Byte(out, 1);
  Byte(out, 0);
  Byte(out, 0xFF);
  Byte(out, 25);  // rows
  Byte(out, 80);  // columns
  Byte(out, 0);
  Byte(out, 0);
  Word(out, 0);
  Zero(out, 64);
  Zero(out, 64);
  Word(out, 0);
  Heading(out, "MICROSOFT PIFEX", 0x0187, 0x0000, 0x0171);

  Heading(out, "WINDOWS 286 3.0", 0x01A3, 0x019D, 0x0006);
  Word(out, 1024);
  Zero(out, 4);

  Heading(out, "WINDOWS 386 3.0", 0x0221, 0x01B9, 0x0068);
  Word(out, 640);
  Word(out, 0);
  Word(out, 100);
  Word(out, 50);
  Word(out, 0xFFFF);
  Word(out, 0);
  Word(out, 0xFFFF);
  Word(out, 0);
  DWord(out, 0x00021002);
  Word(out, 0x001F);
  Zero(out, 82);

  Heading(out, "WINDOWS VMM 4.0", 0xFFFF, 0x0237, 0x01AC);
  Zero(out, 88);
  Text(out, "PIFMGR.DLL", 80);  // icon file
  Word(out, 0);                 // icon index
  Word(out, 2);
  Zero(out, 10);
  Word(out, 50);
  Word(out, 1);
  Zero(out, 10);
  for (std::uint16_t v : {1, 0, 5, 25, 3, 200, 1000, 2, 10, 1}) Word(out, v);
  Zero(out, 6);
  Word(out, 28);
  Zero(out, 10);
  Text(out, "Terminal", 32);
  Text(out, "Courier New", 32);
  Word(out, 0);
  Word(out, 3);
  Zero(out, 14);
  Word(out, 22);
  Word(out, 0);
  Word(out, 1);
  for (int i = 0; i < 4; ++i) Word(out, 0xFFFF);
  Zero(out, 92);
  Word(out, 1024);
  Word(out, 0);
  Word(out, 1);
  return out;
}

std::string MakePifFile(const std::string& program) {
  if (!platform::FileExists(program)) return {};
  const std::string pif = WithPifExtension(program);
  const std::string bytes = PifFileBytes(program);
  std::ofstream file(pif, std::ios::binary | std::ios::trunc);
  if (!file) return {};
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  return file ? pif : std::string();
}

}  // namespace vortan
