#pragma once
// What the editor benchmarks share: the generated 100,000-line fixed-form file and an
// editor host reduced to what opening a file needs.

#include <cstdio>
#include <string>

#include "config/storedformats.h"
#include "editor/fortranhighlighter.h"
#include "editor/ui/editorhost.h"

namespace {

// A numerical program's statements: comments, labels, declarations, strings with doubled
// quotes, dot operators, exponents, continuation lines and text beyond column 72.
std::string Generate(int lines) {
  static const char* const kLines[] = {
      "C     STEP %d OF THE RELAXATION: UPDATE THE INTERIOR POINTS",
      "      SUBROUTINE RELAX%d(U, F, NX, NY, OMEGA, RESID)",
      "      IMPLICIT NONE",
      "      INTEGER NX, NY, I, J, ITER%d",
      "      DOUBLE PRECISION U(NX,NY), F(NX,NY), OMEGA, RESID, H%d",
      "      CHARACTER*32 TITLE",
      "      PARAMETER (H%d = 1.0D-02)",
      "      DATA TITLE /'Relaxation didn''t converge'/",
      "*     SWEEP",
      "      DO 10 J = 2, NY - 1",
      "         DO 20 I = 2, NX - 1",
      "            RESID = F(I,J) - (U(I-1,J) + U(I+1,J) - 4.0*U(I,J))/H%d**2",
      "            U(I,J) = U(I,J) + OMEGA * RESID * 2.5E-1                     REL%05d",
      "   20    CONTINUE",
      "   10 CONTINUE",
      "      IF (RESID .GT. 1.0E-6 .AND. .NOT. (ITER%d .GE. 100)) GO TO 30",
      "      WRITE (*, 40) NX, NY, RESID",
      "   40 FORMAT (1X, 'GRID ', I4, ' X ', I4, ' RESIDUAL ', 1PE12.4,",
      "     &        3F10.2)",
      "   30 RETURN",
      "      END",
  };
  constexpr int kCount = static_cast<int>(sizeof kLines / sizeof kLines[0]);
  std::string text;
  text.reserve(static_cast<std::size_t>(lines) * 48);
  char buffer[128];
  for (int i = 0; i < lines; ++i) {
    std::snprintf(buffer, sizeof buffer, kLines[i % kCount], 1 + (i / kCount) % 99999);
    text += buffer;
    text += "\r\n";
  }
  return text;
}

// The editor's host, reduced to what opening a file needs.
class THost : public vortan::TEditorHost {
 public:
  bool BatchClose() const override { return false; }
  void SetBatchClose(bool) override {}
  bool NoToAllChosen() const override { return false; }
  void SetNoToAllChosen(bool) override {}
  bool SaveEditorAs(const std::string&, vortan::TfrmEditor*) override { return false; }
  std::string RunSaveDialog(const std::string&) override { return {}; }
  void SelectFileNode(vortan::TfrmEditor*) override {}
  void RemoveFileNode(vortan::TfrmEditor*) override {}
  void RemoveEditorMessages(vortan::TfrmEditor*) override {}
  void EditorDestroyed(vortan::TfrmEditor*) override {}
  QLabel* MainStatusPanel(int) override { return nullptr; }
  QMenu* EditorContextMenu() override { return nullptr; }
  vortan::TSynFortranSyn* Highlighter() override { return &highlighter; }
  const vortan::THighlightAttribute& DefaultErrorLine() const override { return none; }
  const vortan::THighlightAttribute& UserErrorLine() const override { return none; }
  vortan::TSynFortranSyn highlighter;
  vortan::THighlightAttribute none;
};

}  // namespace
