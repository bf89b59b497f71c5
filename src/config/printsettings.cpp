#include "config/printsettings.h"

#include "config/settingids.h"
#include "config/settingsstore.h"

namespace vortan {

namespace {

enum : uint8_t { FrameLine = 1, FrameBox = 2, FrameShaded = 4 };

double PerMillimeter(TMarginUnit unit) {
  switch (unit) {
    case TMarginUnit::Centimeters:
      return 0.1;
    case TMarginUnit::Inches:
      return 1.0 / 25.4;
    case TMarginUnit::Thousandths:
      return 1000.0 / 25.4;
    case TMarginUnit::Millimeters:
      break;
  }
  return 1.0;
}

TMarginUnit UnitFrom(int32_t v) {
  return v >= 0 && v <= 3 ? static_cast<TMarginUnit>(v) : TMarginUnit::Millimeters;
}

TFontSpec PrintFont(int32_t size) {
  TFontSpec f;
  f.Name = "Arial";
  f.Size = size;
  f.Color = 0;  // black
  f.Charset = 1;
  return f;
}

THeaderFooterItem Item(std::string text, int32_t line, THFAlignment align, int32_t size = 10) {
  THeaderFooterItem item;
  item.Text = std::move(text);
  item.LineNumber = line;
  item.Alignment = align;
  item.Font = PrintFont(size);
  return item;
}

// Header and footer share one layout: text object, mirror, line, line colour, box, shadow,
// shadow colour at ids base..base+6.
void LoadHF(TSettingsStore& store, int base, THeaderFooter& hf) {
  THeaderFooter stored;
  if (store.ReadObject(base, stored) > 0) hf = stored;
  hf.MirrorPosition = store.ReadBool(base + 1);
  hf.LineColor = static_cast<TColor>(store.ReadInteger(base + 3));
  hf.FrameKinds = static_cast<uint8_t>((store.ReadBool(base + 2) ? FrameLine : 0) |
                                       (store.ReadBool(base + 4) ? FrameBox : 0) |
                                       (store.ReadBool(base + 5) ? FrameShaded : 0));
  hf.ShadedColor = static_cast<TColor>(store.ReadInteger(base + 6));
}

void SaveHF(TSettingsStore& store, int base, const THeaderFooter& hf) {
  store.WriteObject(base, hf);
  store.WriteBool(base + 1, hf.MirrorPosition);
  store.WriteBool(base + 2, hf.FrameKinds & FrameLine);
  store.WriteInteger(base + 3, static_cast<int32_t>(hf.LineColor));
  store.WriteBool(base + 4, hf.FrameKinds & FrameBox);
  store.WriteBool(base + 5, hf.FrameKinds & FrameShaded);
  store.WriteInteger(base + 6, static_cast<int32_t>(hf.ShadedColor));
}

}  // namespace

double ConvertMargin(double value, TMarginUnit from, TMarginUnit to) {
  if (from == to) return value;
  return value / PerMillimeter(from) * PerMillimeter(to);
}

THeaderFooter DefaultPrintHeader() {
  THeaderFooter hf;
  hf.FrameKinds = FrameLine;
  hf.LineColor = 0;
  hf.ShadedColor = 0x00C4C4C4;
  hf.DefaultFont = PrintFont(10);
  hf.Items = {Item("$TITLE$", 1, THFAlignment::Left),
              Item("$PAGENUM$/$PAGECOUNT$", 1, THFAlignment::Right),
              Item("$DATE$ $TIME$", 2, THFAlignment::Right, 6)};
  return hf;
}

THeaderFooter DefaultPrintFooter() {
  THeaderFooter hf = DefaultPrintHeader();
  hf.Items = {Item("$PAGENUM$/$PAGECOUNT$", 1, THFAlignment::Right)};
  return hf;
}

void TPrintSettings::SetUnit(TMarginUnit unit) {
  for (double* m : {&Left, &Right, &Top, &Bottom, &Gutter, &Header, &Footer, &HFInternal,
                    &HFLeftIndent, &HFRightIndent})
    *m = ConvertMargin(*m, Unit, unit);
  Unit = unit;
}

void TPrintSettings::Load(TSettingsStore& store) {
  // The unit first: the margins are stored in it.
  Unit = UnitFrom(store.ReadInteger(sidMarginUnits));
  Left = store.ReadFloat(sidLeftMargin);
  Right = store.ReadFloat(sidRightMargin);
  Top = store.ReadFloat(sidTopMargin);
  Bottom = store.ReadFloat(sidBottomMargin);
  Gutter = store.ReadFloat(sidGutterMargin);
  Header = store.ReadFloat(sidHeaderMargin);
  Footer = store.ReadFloat(sidFooterMargin);
  HFInternal = store.ReadFloat(sidHeaderFooterInternalMargin);
  HFLeftIndent = store.ReadFloat(sidHeaderFooterLeftTextIndent);
  HFRightIndent = store.ReadFloat(sidHeaderFooterRightTextIndent);
  MirrorMargins = store.ReadBool(sidMirrorMargins);
  LineNumbers = store.ReadBool(sidPrintLineNumbers);
  LineNumbersInMargin = store.ReadBool(sidPrintLineNumbersInMargin);
  SyntaxPrint = store.ReadBool(sidSyntaxPrint);
  UseColors = store.ReadBool(sidUseColors);
  WrapLines = store.ReadBool(sidWrapLines);
  LoadHF(store, sidHeaderText, PageHeader);
  LoadHF(store, sidFooterText, PageFooter);
}

void TPrintSettings::Save(TSettingsStore& store) const {
  store.WriteInteger(sidMarginUnits, static_cast<int32_t>(Unit));
  store.WriteFloat(sidLeftMargin, Left);
  store.WriteFloat(sidRightMargin, Right);
  store.WriteFloat(sidTopMargin, Top);
  store.WriteFloat(sidBottomMargin, Bottom);
  store.WriteFloat(sidGutterMargin, Gutter);
  store.WriteFloat(sidHeaderMargin, Header);
  store.WriteFloat(sidFooterMargin, Footer);
  store.WriteFloat(sidHeaderFooterInternalMargin, HFInternal);
  store.WriteFloat(sidHeaderFooterLeftTextIndent, HFLeftIndent);
  store.WriteFloat(sidHeaderFooterRightTextIndent, HFRightIndent);
  store.WriteBool(sidMirrorMargins, MirrorMargins);
  store.WriteBool(sidPrintLineNumbers, LineNumbers);
  store.WriteBool(sidPrintLineNumbersInMargin, LineNumbersInMargin);
  store.WriteBool(sidSyntaxPrint, SyntaxPrint);
  store.WriteBool(sidUseColors, UseColors);
  store.WriteBool(sidWrapLines, WrapLines);
  SaveHF(store, sidHeaderText, PageHeader);
  SaveHF(store, sidFooterText, PageFooter);
}

}  // namespace vortan
