// Checks every shipped language file against the built-in template: a key the file lacks
// silently stays English, and a changed placeholder or list length breaks the code that
// formats the text or picks an item by its position.

#include "i18n/parlax.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace vortan {
namespace {

namespace fs = std::filesystem;

const fs::path kLangDir = fs::path(VORTAN_TEST_DATA "/../../resources/lang");

std::vector<fs::path> LanguageFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(kLangDir)) {
    const fs::path& p = entry.path();
    if (entry.is_regular_file() && p.extension() == ".prlx" && p.filename() != "template.prlx") {
      files.push_back(p);
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Calls `visit` for every value of the template with its block path ("OBJECTS/Form:Main/...")
// and the block of `other` at the same path, or nullptr when `other` lacks a block on the way.
using Visitor = std::function<void(const std::string& path, const std::string& key,
                                   const std::string& value, const TParlaxItem* otherBlock)>;

void Walk(const TParlaxItem& templ, const TParlaxItem* other, const std::string& path,
          const Visitor& visit) {
  for (std::size_t i = 0; i < templ.ValueCount(); ++i) {
    visit(path, templ.ValueAt(i).first, templ.ValueAt(i).second, other);
  }
  for (std::size_t i = 0; i < templ.ChildCount(); ++i) {
    const std::string& name = templ.ChildName(i);
    Walk(templ.ChildAt(i), other ? other->FindChild(name) : nullptr,
         path.empty() ? name : path + "/" + name, visit);
  }
}

std::vector<std::string> Placeholders(const std::string& text) {
  static const std::regex format("%%|%[-+ 0#]*[0-9]*(\\.[0-9]+)?[sdiuxXfgc]");
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), format), end; it != end; ++it) {
    if (it->str() != "%%") found.push_back(it->str());
  }
  return found;
}

std::string NormalizedShortcut(std::string text) {
  std::string out;
  for (char c : text) {
    if (c != ' ') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

std::size_t LineCount(const std::string& text) {
  std::size_t lines = 1;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos;
       at = text.find("\r\n", at + 2)) {
    ++lines;
  }
  return lines;
}

// Decimal, or hexadecimal after "$", "x" or "0x", as the language selector reads each part.
bool IsLanguageId(std::string part) {
  const auto blank = [](unsigned char c) { return c <= ' '; };
  part.erase(part.begin(), std::find_if_not(part.begin(), part.end(), blank));
  part.erase(std::find_if_not(part.rbegin(), part.rend(), blank).base(), part.end());
  bool hex = false;
  for (const char* prefix : {"0x", "0X", "$", "x", "X"}) {
    if (part.rfind(prefix, 0) == 0) {
      part.erase(0, std::string(prefix).size());
      hex = true;
      break;
    }
  }
  return !part.empty() && std::all_of(part.begin(), part.end(), [hex](unsigned char c) {
    return hex ? std::isxdigit(c) != 0 : std::isdigit(c) != 0;
  });
}

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += "  " + l + "\n";
  return out;
}

class LanguageFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    templ_.LoadFromResource();
    files_ = LanguageFiles();
    ASSERT_FALSE(files_.empty()) << "no language file in " << kLangDir;
  }
  TParlax templ_;
  std::vector<fs::path> files_;
};

TEST_F(LanguageFilesTest, HoldEveryTemplateKey) {
  for (const fs::path& file : files_) {
    TParlax lang;
    lang.LoadFromFile(file.string());
    std::vector<std::string> missing;
    Walk(templ_.Root(), &lang.Root(), "",
         [&](const std::string& path, const std::string& key, const std::string&,
             const TParlaxItem* block) {
           if (!block || !block->FindValue(key)) missing.push_back(path + "/" + key);
         });
    EXPECT_TRUE(missing.empty()) << file.filename() << " lacks " << missing.size() << " key(s):\n"
                                 << Join(missing);
  }
}

TEST_F(LanguageFilesTest, KeepPlaceholdersShortcutsAndListLengths) {
  for (const fs::path& file : files_) {
    TParlax lang;
    lang.LoadFromFile(file.string());
    std::vector<std::string> wrong;
    Walk(templ_.Root(), &lang.Root(), "",
         [&](const std::string& path, const std::string& key, const std::string& english,
             const TParlaxItem* block) {
           const std::string* text = block ? block->FindValue(key) : nullptr;
           if (!text) return;  // reported by HoldEveryTemplateKey
           const std::string where = path + "/" + key + " = " + *text;
           if (path.rfind("INFO", 0) == 0) return;  // the file's own facts
           if (Placeholders(*text) != Placeholders(english)) {
             wrong.push_back(where + "  (placeholders differ from: " + english + ")");
           }
           if (key == "Shortcut" && NormalizedShortcut(*text) != NormalizedShortcut(english)) {
             wrong.push_back(where + "  (shortcut must stay: " + english + ")");
           }
           if ((key == "Items" || key == "Strings" || key == "Lines") &&
               LineCount(*text) != LineCount(english)) {
             wrong.push_back(path + "/" + key + " has " + std::to_string(LineCount(*text)) +
                             " lines, needs " + std::to_string(LineCount(english)));
           }
         });
    EXPECT_TRUE(wrong.empty()) << file.filename() << ":\n" << Join(wrong);
  }
}

TEST_F(LanguageFilesTest, InfoNamesLanguageWithNumericIds) {
  for (const fs::path& file : files_) {
    SCOPED_TRACE(file.filename().string());
    // The language selector lists only files whose INFO block it can read this way.
    std::unique_ptr<TParlaxItem> info = ReadSection(file.string(), {"INFO"});
    ASSERT_NE(info, nullptr);
    std::string language, ids;
    info->GetString("Language", language);
    EXPECT_FALSE(language.empty());
    ASSERT_TRUE(info->GetString("LangID", ids)) << "LangID missing";
    std::stringstream parts(ids);
    for (std::string part; std::getline(parts, part, ',');) {
      EXPECT_TRUE(IsLanguageId(part)) << "LangID part '" << part << "' is not a number";
    }
  }
}

}  // namespace
}  // namespace vortan
