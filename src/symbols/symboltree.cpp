#include "symbols/symboltree.h"

#include <algorithm>
#include <filesystem>

#include "platform/text.h"

namespace vortan {
namespace {

const char* KindWord(TUnitKind kind) {
  switch (kind) {
    case TUnitKind::MainProgram:
    case TUnitKind::Program:
      return "PROGRAM";
    case TUnitKind::Subroutine:
      return "SUBROUTINE";
    case TUnitKind::Function:
      return "FUNCTION";
    case TUnitKind::BlockData:
      return "BLOCK DATA";
  }
  return "";
}

std::string ArgList(const std::vector<std::string>& args) {
  std::string s = "(";
  for (std::size_t i = 0; i < args.size(); ++i) s += (i ? ", " : "") + args[i];
  return s + ")";
}

bool Holds(std::string_view name, const std::string& filter) {
  return filter.empty() || UpperAscii(name).find(filter) != std::string::npos;
}

std::string BaseName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

}  // namespace

std::string UnitHeaderText(const TUnitSymbol& u) {
  std::string s;
  if (!u.Type.empty()) s = u.Type + " ";
  s += KindWord(u.Kind);
  if (!u.Name.empty()) s += " " + u.Name;
  if (u.Kind == TUnitKind::Subroutine || u.Kind == TUnitKind::Function ||
      (u.Kind == TUnitKind::Program && !u.Args.empty()))
    s += ArgList(u.Args);
  return s;
}

std::vector<TSymbolNode> SymbolOutline(const TSymbolIndex& index,
                                       const std::vector<std::string>& files,
                                       std::string_view filterText) {
  const std::string filter = UpperAscii(Trim(filterText));
  std::vector<TSymbolNode> out;
  for (const std::string& path : files) {
    const TFileSymbols* s = index.Symbols(path);
    if (!s) continue;
    std::vector<TSymbolNode> units;
    for (std::size_t u = 0; u < s->Units.size(); ++u) {
      const TUnitSymbol& unit = s->Units[u];
      // Statements with no header and no END are a fragment (an INCLUDEd file), no program.
      if (unit.Kind == TUnitKind::MainProgram && unit.Name.empty() && unit.EndLine == 0) continue;
      const int un = static_cast<int>(u);
      TSymbolNode node{TSymbolNodeKind::Unit,
                       UnitHeaderText(unit),
                       {path, unit.Pos.Line, unit.Pos.Column, unit.Name},
                       false,
                       {}};
      const bool unitHolds = Holds(unit.Name, filter);
      auto child = [&](TSymbolNodeKind kind, std::string text, const std::string& name,
                       const TSymbolPos& pos) {
        if (unitHolds || Holds(name, filter))
          node.Children.push_back(
              {kind, std::move(text), {path, pos.Line, pos.Column, name}, false, {}});
      };
      for (const TEntrySymbol& e : s->Entries)
        if (e.Unit == un)
          child(TSymbolNodeKind::Entry, "ENTRY " + e.Name + ArgList(e.Args), e.Name, e.Pos);
      for (const TCommonBlock& c : s->Commons)
        if (c.Unit == un) child(TSymbolNodeKind::Common, "COMMON /" + c.Name + "/", c.Name, c.Pos);
      for (const TLabelDef& l : s->Labels)
        if (l.Unit == un) {
          const std::string label = std::to_string(l.Label);
          child(TSymbolNodeKind::Label, l.Format ? label + " FORMAT" : label, label, l.Pos);
        }
      if (unitHolds || !node.Children.empty()) units.push_back(std::move(node));
    }
    if (files.size() == 1) return units;
    if (units.empty()) continue;
    out.push_back(
        {TSymbolNodeKind::File, BaseName(path), {path, 1, 1, ""}, false, std::move(units)});
  }
  return out;
}

std::vector<TSymbolNode> CallTreeLevel(const TSymbolIndex& index, std::string_view name,
                                       const std::vector<std::string>& path, bool callers) {
  const std::string upper = UpperAscii(name);
  std::vector<TSymbolLocation> found;
  if (callers) {
    found = index.Callers(upper);
  } else {
    for (const std::string& called : index.CalledNames(upper)) {
      const auto defs = index.UnitDefinitions(called);
      found.push_back(defs.empty() ? TSymbolLocation{"", 0, 0, called} : defs.front());
    }
  }
  std::vector<TSymbolNode> out;
  for (const TSymbolLocation& loc : found) {
    TSymbolNode n{TSymbolNodeKind::Unit, loc.Name, loc, false, {}};
    if (!loc.File.empty()) n.Text += "  (" + BaseName(loc.File) + ")";
    n.Recursive = loc.Name == upper || std::find(path.begin(), path.end(), loc.Name) != path.end();
    out.push_back(std::move(n));
  }
  return out;
}

}  // namespace vortan
