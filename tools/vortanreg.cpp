// vortanreg: query, add, delete and export keys and values of the Vortan settings store.

#include <sys/stat.h>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "config/registry.h"
#include "config/settingsstore.h"

namespace {

using vortan::TRegistry;
using vortan::TRegType;
using vortan::TRegValue;

constexpr int ExitOk = 0;
constexpr int ExitNotFound = 1;
constexpr int ExitUsage = 2;
constexpr int ExitStore = 3;

const char* HelpText =
    "Usage: vortanreg [--store FILE] COMMAND ...\n"
    "\n"
    "Reads and changes the Vortan settings store (default: $VORTAN_STORE, else\n"
    "${XDG_CONFIG_HOME:-$HOME/.config}/vortan/registry.sqlite).\n"
    "\n"
    "Commands:\n"
    "  query KEY [VALUE]    show the key's values and subkeys, or one value\n"
    "  query KEY /v NAME    the same for one value; /ve for the unnamed value\n"
    "  add KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]\n"
    "                       create the key and, with /v or /ve, write a value;\n"
    "                       TYPE is REG_SZ (default), REG_EXPAND_SZ, REG_DWORD or\n"
    "                       REG_BINARY; a DWORD is decimal or 0x-hexadecimal, binary\n"
    "                       data is hexadecimal digits (spaces and commas ignored)\n"
    "  delete KEY [/v NAME | /ve] [/f]\n"
    "                       delete one value, or without /v the key with everything\n"
    "                       below it\n"
    "  export [KEY]         print the key (default: all keys) and everything below it\n"
    "                       as text, in creation order\n"
    "\n"
    "KEY is a path with '\\' between names, e.g. Software\\Ostrel\\Vortan\\2.0\\General;\n"
    "a leading HKCU\\ or HKEY_CURRENT_USER\\ is accepted. Names ignore letter case.\n"
    "\n"
    "Exit status: 0 done, 1 key or value not found, 2 usage error, 3 store unusable.\n";

struct TArgs {
  std::string Store;
  std::string Command;
  std::string Key;
  std::optional<std::string> ValueName;
  std::optional<std::string> Type;
  std::optional<std::string> Data;
};

int Usage(const std::string& message) {
  std::cerr << "vortanreg: " << message << "\nTry 'vortanreg --help'.\n";
  return ExitUsage;
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return s;
}

std::string NormalizeKey(std::string key) {
  for (const char* hive : {"HKEY_CURRENT_USER", "HKCU"}) {
    std::string h = hive;
    std::string head = Upper(key.substr(0, h.size()));
    if (head == h && (key.size() == h.size() || key[h.size()] == '\\')) {
      key.erase(0, h.size());
      break;
    }
  }
  // Joined again from its parts so that stray separators do not show in the output.
  std::string clean;
  for (const std::string& part : vortan::SplitKeyPath(key)) {
    if (!clean.empty()) clean += '\\';
    clean += part;
  }
  return clean;
}

const char* TypeName(TRegType t) {
  switch (t) {
    case TRegType::Sz:
      return "REG_SZ";
    case TRegType::ExpandSz:
      return "REG_EXPAND_SZ";
    case TRegType::Binary:
      return "REG_BINARY";
    case TRegType::Dword:
      return "REG_DWORD";
    default:
      return "REG_NONE";
  }
}

std::optional<TRegType> ParseType(const std::string& s) {
  std::string u = Upper(s);
  if (u == "REG_SZ") return TRegType::Sz;
  if (u == "REG_EXPAND_SZ") return TRegType::ExpandSz;
  if (u == "REG_BINARY") return TRegType::Binary;
  if (u == "REG_DWORD") return TRegType::Dword;
  return std::nullopt;
}

uint32_t DwordOf(const std::string& data) {
  uint32_t v = 0;
  for (size_t i = data.size(); i-- > 0;) v = (v << 8) | static_cast<unsigned char>(data[i]);
  return v;
}

std::optional<std::string> ParseDword(const std::string& s) {
  if (s.empty()) return std::nullopt;
  size_t used = 0;
  long long v;
  try {
    v = std::stoll(s, &used, 0);
  } catch (...) {
    return std::nullopt;
  }
  if (used != s.size() || v < INT32_MIN || v > static_cast<long long>(UINT32_MAX))
    return std::nullopt;
  uint32_t u = static_cast<uint32_t>(v);
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((u >> (8 * i)) & 0xff);
  return out;
}

std::optional<std::string> ParseHex(const std::string& s) {
  std::string digits;
  for (char c : s) {
    if (c == ' ' || c == ',') continue;
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    digits += c;
  }
  if (digits.size() % 2) return std::nullopt;
  std::string out;
  for (size_t i = 0; i < digits.size(); i += 2)
    out += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
  return out;
}

std::string Hex(const std::string& data, const char* separator, bool upper) {
  static const char* lo = "0123456789abcdef";
  static const char* up = "0123456789ABCDEF";
  const char* d = upper ? up : lo;
  std::string out;
  for (size_t i = 0; i < data.size(); ++i) {
    if (i) out += separator;
    unsigned char b = static_cast<unsigned char>(data[i]);
    out += d[b >> 4];
    out += d[b & 15];
  }
  return out;
}

// Quoted the way a .reg file quotes, with control characters escaped so that every value
// stays on one line.
std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7f) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string QueryData(const TRegValue& v) {
  switch (v.Type) {
    case TRegType::Dword: {
      char buf[16];
      std::snprintf(buf, sizeof buf, "0x%x", DwordOf(v.Data));
      return buf;
    }
    case TRegType::Binary:
      return Hex(v.Data, "", true);
    default:
      return v.Data;
  }
}

void PrintQueryValue(const TRegValue& v) {
  std::cout << "    " << (v.Name.empty() ? "(Default)" : v.Name) << "    " << TypeName(v.Type)
            << "    " << QueryData(v) << "\n";
}

std::string ExportData(const TRegValue& v) {
  switch (v.Type) {
    case TRegType::Sz:
      return Quoted(v.Data);
    case TRegType::ExpandSz:
      return "expand:" + Quoted(v.Data);
    case TRegType::Dword: {
      char buf[24];
      std::snprintf(buf, sizeof buf, "dword:%08x", DwordOf(v.Data));
      return buf;
    }
    default:
      return "hex:" + Hex(v.Data, ",", false);
  }
}

void ExportKey(TRegistry& reg, const std::string& path) {
  if (!path.empty()) {
    std::cout << "\n[" << path << "]\n";
    for (const TRegValue& v : reg.Values(path))
      std::cout << (v.Name.empty() ? "@" : Quoted(v.Name)) << "=" << ExportData(v) << "\n";
  }
  for (const std::string& sub : reg.SubkeyNames(path))
    ExportKey(reg, path.empty() ? sub : path + "\\" + sub);
}

// The key path spelled as its keys were created.
std::string StoredSpelling(TRegistry& reg, const std::string& path) {
  std::string stored;
  for (const std::string& part : vortan::SplitKeyPath(path)) {
    std::string name = part;
    for (const std::string& sub : reg.SubkeyNames(stored)) {
      if (Upper(sub) == Upper(part)) name = sub;
    }
    stored += (stored.empty() ? "" : "\\") + name;
  }
  return stored;
}

int Query(TRegistry& reg, TArgs a) {
  if (!reg.KeyExists(a.Key)) {
    std::cerr << "vortanreg: key not found: " << a.Key << "\n";
    return ExitNotFound;
  }
  a.Key = StoredSpelling(reg, a.Key);
  if (a.ValueName) {
    auto v = reg.ReadValue(a.Key, *a.ValueName);
    if (!v) {
      std::cerr << "vortanreg: value not found: " << *a.ValueName << "\n";
      return ExitNotFound;
    }
    std::cout << a.Key << "\n";
    PrintQueryValue(*v);
    return ExitOk;
  }
  std::cout << a.Key << "\n";
  for (const TRegValue& v : reg.Values(a.Key)) PrintQueryValue(v);
  auto subs = reg.SubkeyNames(a.Key);
  if (!subs.empty()) std::cout << "\n";
  for (const std::string& s : subs) std::cout << (a.Key.empty() ? s : a.Key + "\\" + s) << "\n";
  return ExitOk;
}

int Add(TRegistry& reg, const TArgs& a) {
  if (!a.ValueName) {
    if (a.Type || a.Data) return Usage("/t and /d need /v NAME or /ve");
    return reg.CreateKey(a.Key) ? ExitOk : ExitStore;
  }
  TRegType type = TRegType::Sz;
  if (a.Type) {
    auto t = ParseType(*a.Type);
    if (!t) return Usage("unknown type: " + *a.Type);
    type = *t;
  }
  std::string text = a.Data.value_or("");
  std::optional<std::string> data = text;
  if (type == TRegType::Dword) data = ParseDword(a.Data ? text : "0");
  if (type == TRegType::Binary) data = ParseHex(text);
  if (!data) return Usage("invalid data for " + std::string(TypeName(type)) + ": " + text);
  return reg.WriteValue(a.Key, *a.ValueName, type, *data) ? ExitOk : ExitStore;
}

int Delete(TRegistry& reg, const TArgs& a) {
  if (a.ValueName) {
    if (reg.DeleteValue(a.Key, *a.ValueName)) return ExitOk;
    std::cerr << "vortanreg: value not found: " << *a.ValueName << "\n";
    return ExitNotFound;
  }
  if (reg.DeleteKeyTree(a.Key)) return ExitOk;
  std::cerr << "vortanreg: key not found: " << a.Key << "\n";
  return ExitNotFound;
}

int Export(TRegistry& reg, TArgs a) {
  if (!reg.KeyExists(a.Key)) {
    std::cerr << "vortanreg: key not found: " << a.Key << "\n";
    return ExitNotFound;
  }
  a.Key = StoredSpelling(reg, a.Key);
  std::cout << "Vortan Registry Export 1\n";
  ExportKey(reg, a.Key);
  return ExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  TArgs a;
  size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& s = args[i];
    if (s == "--help" || s == "-h" || s == "/?") {
      std::cout << HelpText;
      return ExitOk;
    }
    if (s == "--store") {
      if (++i >= args.size()) return Usage("--store needs a file name");
      a.Store = args[i];
    } else if (s.rfind("--store=", 0) == 0) {
      a.Store = s.substr(8);
    } else {
      break;
    }
  }
  if (i >= args.size()) return Usage("no command given");
  a.Command = args[i++];
  if (a.Command != "query" && a.Command != "add" && a.Command != "delete" && a.Command != "export")
    return Usage("unknown command: " + a.Command);

  std::vector<std::string> positional;
  for (; i < args.size(); ++i) {
    std::string opt = Upper(args[i]);
    auto next = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (opt == "/V") {
      a.ValueName = next();
      if (!a.ValueName) return Usage("/v needs a value name");
    } else if (opt == "/VE") {
      a.ValueName = std::string();
    } else if (opt == "/T" && a.Command == "add") {
      a.Type = next();
      if (!a.Type) return Usage("/t needs a type");
    } else if (opt == "/D" && a.Command == "add") {
      a.Data = next();
      if (!a.Data) return Usage("/d needs data");
    } else if (opt == "/F" && (a.Command == "add" || a.Command == "delete")) {
      // Accepted for habit's sake: this tool never asks before overwriting.
    } else if (!args[i].empty() && args[i][0] == '/' && args[i].size() <= 3) {
      return Usage("unknown option: " + args[i]);
    } else {
      positional.push_back(args[i]);
    }
  }
  size_t maxPositional = a.Command == "query" && !a.ValueName ? 2 : 1;
  if (positional.size() > maxPositional) return Usage("too many arguments");
  if (positional.empty() && a.Command != "export") return Usage("no key given");
  if (!positional.empty()) a.Key = NormalizeKey(positional[0]);
  if (positional.size() == 2) a.ValueName = positional[1];
  if ((a.Command == "add" || a.Command == "delete") && a.Key.empty())
    return Usage("a command that changes the store needs a key below the hive");

  std::string path = a.Store.empty() ? vortan::DefaultStorePath() : a.Store;
  // Reading never creates a store file that was not there.
  struct stat st;
  bool exists = ::stat(path.c_str(), &st) == 0;
  if (!exists && a.Command != "add") {
    std::cerr << "vortanreg: no store at " << path << "\n";
    return ExitNotFound;
  }
  if (!exists) {
    std::error_code ec;
    auto parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  }
  TRegistry reg;
  std::string error;
  if (!reg.Open(path, error)) {
    std::cerr << "vortanreg: " << error << "\n";
    return ExitStore;
  }
  if (a.Command == "query") return Query(reg, a);
  if (a.Command == "add") return Add(reg, a);
  if (a.Command == "delete") return Delete(reg, a);
  return Export(reg, a);
}
