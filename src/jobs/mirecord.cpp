#include "jobs/mirecord.h"

#include <cctype>
#include <charconv>

namespace vortan {

namespace {

const TMiValue kEmpty;

class TMiReader {
 public:
  explicit TMiReader(std::string_view text) : s_(text) {}

  bool AtEnd() const { return p_ >= s_.size(); }
  char Peek() const { return AtEnd() ? '\0' : s_[p_]; }
  bool Eat(char c) {
    if (Peek() != c) return false;
    ++p_;
    return true;
  }

  bool CString(std::string& out) {
    if (!Eat('"')) return false;
    while (!AtEnd()) {
      char c = s_[p_++];
      if (c == '"') return true;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (AtEnd()) return false;
      c = s_[p_++];
      switch (c) {
        case 'n':
          out += '\n';
          break;
        case 't':
          out += '\t';
          break;
        case 'r':
          out += '\r';
          break;
        case 'a':
          out += '\a';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'v':
          out += '\v';
          break;
        case 'e':
          out += '\x1b';
          break;
        default:
          if (c >= '0' && c <= '7') {
            // Up to three octal digits: gdb writes bytes outside ASCII this way.
            int value = c - '0';
            for (int i = 0; i < 2 && Peek() >= '0' && Peek() <= '7'; ++i)
              value = value * 8 + (s_[p_++] - '0');
            out += static_cast<char>(value);
          } else {
            out += c;
          }
      }
    }
    return false;
  }

  bool Name(std::string& out) {
    const std::size_t start = p_;
    while (!AtEnd() && s_[p_] != '=' && s_[p_] != ',' && s_[p_] != '}' && s_[p_] != ']' &&
           s_[p_] != '"' && s_[p_] != '{' && s_[p_] != '[')
      ++p_;
    out.assign(s_.substr(start, p_ - start));
    return !out.empty();
  }

  bool Value(TMiValue& out, int depth) {
    // Nesting this deep is no output of gdb's; refusing it keeps the stack bounded.
    if (depth > 64) return false;
    if (Peek() == '"') {
      out.Kind = TMiValue::String;
      return CString(out.Text);
    }
    if (Eat('{')) {
      out.Kind = TMiValue::Tuple;
      return Items(out, '}', depth);
    }
    if (Eat('[')) {
      out.Kind = TMiValue::List;
      return Items(out, ']', depth);
    }
    return false;
  }

  // Results "a=v,b=w" up to `close`; in a list bare values are allowed too.
  bool Items(TMiValue& out, char close, int depth) {
    if (Eat(close)) return true;
    for (;;) {
      std::string name;
      TMiValue value;
      if (Peek() == '"' || Peek() == '{' || Peek() == '[') {
        if (!Value(value, depth + 1)) return false;
      } else {
        if (!Name(name) || !Eat('=') || !Value(value, depth + 1)) return false;
      }
      out.Items.emplace_back(std::move(name), std::move(value));
      if (Eat(close)) return true;
      if (!Eat(',')) return false;
    }
  }

  // Top-level results after the class: ",a=v,b=w" to the end of the line.
  bool Results(TMiValue& out) {
    out.Kind = TMiValue::Tuple;
    while (Eat(',')) {
      std::string name;
      TMiValue value;
      if (!Name(name) || !Eat('=') || !Value(value, 1)) return false;
      out.Items.emplace_back(std::move(name), std::move(value));
    }
    return AtEnd();
  }

  std::size_t p_ = 0;
  std::string_view s_;
};

}  // namespace

const TMiValue& TMiValue::operator[](std::string_view name) const {
  for (const auto& item : Items)
    if (item.first == name) return item.second;
  return kEmpty;
}

bool TMiValue::Has(std::string_view name) const {
  for (const auto& item : Items)
    if (item.first == name) return true;
  return false;
}

const std::string& TMiValue::Str(std::string_view name) const {
  const TMiValue& v = (*this)[name];
  return v.Kind == String ? v.Text : kEmpty.Text;
}

long TMiValue::Num(std::string_view name, long fallback) const {
  const std::string& text = Str(name);
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return fallback;
  return value;
}

TMiRecord ParseMiRecord(std::string_view line) {
  TMiRecord record;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  std::string_view trimmed = line;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
  if (trimmed == "(gdb)") {
    record.Type = TMiRecord::Prompt;
    return record;
  }
  TMiReader r(line);
  long token = -1;
  while (std::isdigit(static_cast<unsigned char>(r.Peek()))) {
    // A token beyond any we hand out is no token of ours.
    if (token > 100000000) return record;
    token = (token < 0 ? 0 : token * 10) + (r.s_[r.p_++] - '0');
  }
  const char kind = r.Peek();
  TMiRecord::TType type = TMiRecord::Invalid;
  switch (kind) {
    case '^':
      type = TMiRecord::Result;
      break;
    case '*':
      type = TMiRecord::ExecAsync;
      break;
    case '+':
      type = TMiRecord::StatusAsync;
      break;
    case '=':
      type = TMiRecord::NotifyAsync;
      break;
    case '~':
      type = TMiRecord::Console;
      break;
    case '@':
      type = TMiRecord::Target;
      break;
    case '&':
      type = TMiRecord::Log;
      break;
    default:
      return record;
  }
  ++r.p_;
  if (type == TMiRecord::Console || type == TMiRecord::Target || type == TMiRecord::Log) {
    if (token >= 0 || !r.CString(record.Results.Text) || !r.AtEnd()) return record;
    record.Type = type;
    return record;
  }
  std::string cls;
  while (!r.AtEnd() && r.Peek() != ',') cls += r.s_[r.p_++];
  if (cls.empty() || !r.Results(record.Results)) return TMiRecord{};
  record.Type = type;
  record.Token = token;
  record.Class = std::move(cls);
  return record;
}

std::string MiQuote(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

}  // namespace vortan
