#pragma once
// What one fixed-form source file declares and uses: its program units and everything the
// symbol index answers questions about. Names are stored in upper case.

#include <string>
#include <vector>

namespace vortan {

struct TSymbolPos {
  int Line = 0;    ///< from 1
  int Column = 0;  ///< from 1
};

enum class TUnitKind : unsigned char {
  MainProgram,  ///< statements before any header: a main program without PROGRAM
  Program,
  Subroutine,
  Function,
  BlockData,
};

struct TUnitSymbol {
  TUnitKind Kind = TUnitKind::MainProgram;
  std::string Name;  ///< empty for a main program without PROGRAM or an unnamed BLOCK DATA
  std::string Type;  ///< a function's type prefix ("DOUBLE PRECISION", "CHARACTER*(*)")
  std::vector<std::string> Args;  ///< "*" for an alternate return
  TSymbolPos Pos;                 ///< the unit's name in its header
  int HeaderLastLine = 0;
  int CommentFirstLine = 0;  ///< the comment block above the header; 0 when there is none
  int EndLine = 0;           ///< the END statement; 0 when the file ends first
};

/// An entry in a unit: ENTRY, a statement function or a name of EXTERNAL / INTRINSIC.
struct TEntrySymbol {
  std::string Name;
  int Unit = -1;
  std::vector<std::string> Args;
  TSymbolPos Pos;
};

/// A name declared in a unit by a type statement, DIMENSION, COMMON or a dummy argument list.
struct TDeclaration {
  std::string Name;
  std::string Type;  ///< empty when only DIMENSION declares it
  int Unit = -1;
  bool Array = false;
  TSymbolPos Pos;
};

struct TCommonBlock {
  std::string Name;  ///< empty for blank COMMON
  int Unit = -1;
  std::vector<std::string> Members;
  TSymbolPos Pos;  ///< the block's name, or the first member of blank COMMON
};

struct TParameter {
  std::string Name;
  std::string Value;
  int Unit = -1;
  TSymbolPos Pos;
};

struct TLabelDef {
  int Label = 0;
  int Unit = -1;
  bool Format = false;  ///< the labelled statement is a FORMAT
  TSymbolPos Pos;
};

enum class TLabelUseKind : unsigned char {
  Do,
  GoTo,
  ComputedGoTo,
  AssignedGoTo,
  ArithmeticIf,
  Format,  ///< a format label of READ, WRITE or PRINT
  Err,
  End,
  Assign,
};

struct TLabelUse {
  int Label = 0;
  int Unit = -1;
  TLabelUseKind Kind = TLabelUseKind::GoTo;
  TSymbolPos Pos;
};

/// A name used at a place: a CALL site or a function reference.
struct TNameUse {
  std::string Name;
  int Unit = -1;
  TSymbolPos Pos;
};

struct TIncludeLine {
  std::string File;  ///< as written between the quotes
  int Unit = -1;
  TSymbolPos Pos;
};

struct TFileSymbols {
  std::vector<TUnitSymbol> Units;
  std::vector<TEntrySymbol> Entries;
  std::vector<TEntrySymbol> StatementFunctions;
  std::vector<TEntrySymbol> Externals;
  std::vector<TEntrySymbol> Intrinsics;
  std::vector<TDeclaration> Declarations;
  std::vector<TCommonBlock> Commons;
  std::vector<TParameter> Parameters;
  std::vector<TLabelDef> Labels;
  std::vector<TLabelUse> LabelUses;
  std::vector<TIncludeLine> Includes;
  std::vector<TNameUse> Calls;
  std::vector<TNameUse> FunctionRefs;  ///< name(...) in an expression that is no array,
                                       ///< substring or statement function of its unit

  /// The unit whose lines hold `line` (header to END); -1 when none does.
  int UnitAt(int line) const;
};

}  // namespace vortan
