#pragma once
// A program of three files: the main program, a file of subroutines and a file that shares
// the COMMON block. As written it compiles, links and prints its totals; the two edits below
// put in the mistakes only a check across files finds.
#include <string>

namespace vortan::test {

inline const char* const MainFile =
    "      PROGRAM SHAPES\n"
    "      REAL TOTAL\n"
    "      INTEGER COUNT\n"
    "      COMMON /STATS/ TOTAL, COUNT\n"
    "      TOTAL = 0.0\n"
    "      COUNT = 0\n"
    "      CALL ADDUP(3.0, 4.0)\n"
    "      CALL ADDUP(5.0, 6.0)\n"
    "      CALL REPORT\n"
    "      END\n";

inline const char* const SubsFile =
    "C     Adds two values to the totals.\n"
    "      SUBROUTINE ADDUP(A, B)\n"
    "      REAL A, B\n"
    "      REAL TOTAL\n"
    "      INTEGER COUNT\n"
    "      COMMON /STATS/ TOTAL, COUNT\n"
    "      TOTAL = TOTAL + A + B\n"
    "      COUNT = COUNT + 2\n"
    "      END\n";

inline const char* const StatsFile =
    "      SUBROUTINE REPORT\n"
    "      REAL TOTAL\n"
    "      INTEGER COUNT\n"
    "      COMMON /STATS/ TOTAL, COUNT\n"
    "      WRITE (*, '(A, F6.1, A, I3)') ' TOTAL =', TOTAL, ' COUNT =', COUNT\n"
    "      END\n";

/// What the program prints.
inline const char* const ExpectedOutput = " TOTAL =  18.0 COUNT =  4\n";

/// Line 8 of the main file passes an INTEGER where ADDUP (subs, line 2) takes a REAL.
inline std::string MainWithArgumentMismatch() {
  std::string text = MainFile;
  const std::string from = "CALL ADDUP(5.0, 6.0)";
  text.replace(text.find(from), from.size(), "CALL ADDUP(5, 6.0)");
  return text;
}

/// Line 2 of the stats file declares TOTAL DOUBLE PRECISION, the main file REAL.
inline std::string StatsWithCommonMismatch() {
  std::string text = StatsFile;
  const std::string from = "      REAL TOTAL";
  text.replace(text.find(from), from.size(), "      DOUBLE PRECISION TOTAL");
  return text;
}

/// A second main program.
inline const char* const OtherMainFile =
    "      PROGRAM OTHER\n"
    "      CALL REPORT\n"
    "      END\n";

}  // namespace vortan::test
