#include "editor/ui/synoptions.h"

#include "widgets/qtconvert.h"

namespace vortan {

TSynOptions TSynOptions::From(const TEditorSettings& settings) {
  TSynOptions o;
  o.Settings = settings;
  TFontSpec textFont;
  textFont.Name = settings.FontName;
  textFont.Size = settings.FontSize;
  textFont.Pitch = 2;
  o.Font = ToQFont(textFont);
  o.GutterFont = ToQFont(settings.GutterFont);
  o.GutterFontColor = ToQColor(settings.GutterFont.Color);
  return o;
}

}  // namespace vortan
