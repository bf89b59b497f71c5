#include "config/settingstable.h"

#include "platform/platformprofile.h"

namespace vortan {

namespace {

constexpr TSettingRow Str(const char* sub, const char* name, const char* def) {
  return {sub, name, TSettingType::String, def, 0, 0.0};
}
constexpr TSettingRow Bool(const char* sub, const char* name, bool on) {
  return {sub, name, TSettingType::Bool, "", on ? 1 : 0, 0.0};
}
constexpr TSettingRow Int(const char* sub, const char* name, int32_t def) {
  return {sub, name, TSettingType::Integer, "", def, 0.0};
}
constexpr TSettingRow Float(const char* sub, const char* name, double def) {
  return {sub, name, TSettingType::Float, "", 0, def};
}
constexpr TSettingRow List(const char* sub, const char* name, const char* def) {
  return {sub, name, TSettingType::List, def, 0, 0.0};
}
constexpr TSettingRow Object(const char* sub, const char* name, const char* def) {
  return {sub, name, TSettingType::Object, def, 0, 0.0};
}

constexpr bool On = true;
constexpr bool Off = false;

}  // namespace

const std::array<TSettingRow, SettingsCount> SettingsTable = {{
    // Window layout strings.
    Str("Window", "Main window", "0,,,,,"),                                      // 0
    Str("Window", "Menu toolbar", "1,TopDock,TopDock,0,0,0,0,0,0"),              // 1
    Str("Window", "Files window", "1,LeftDock,LeftDock,0,0,0,0,112,218"),        // 2
    Str("Window", "Messages window", "1,BottomDock,BottomDock,0,0,0,0,590,80"),  // 3
    Str("Window", "Output window", "0,,,0,0,,,,"),                               // 4
    Str("Window", "Main toolbar", "1,TopDock,TopDock,1,0,0,0,0,0"),              // 5
    Str("Window", "Edit toolbar", "1,TopDock,TopDock,1,24,0,0,0,0"),             // 6
    Str("Window", "Run toolbar", "1,TopDock,TopDock,1,72,0,0,0,0"),              // 7
    Str("Window", "Print Preview toolbar", "1,TopDock,TopDock,0,0,0,0,0,0"),     // 8

    Str("General", "Language file", ""),                                      // 9
    Bool("General", "New window maximized", On),                              // 10
    Bool("General", "Start with new source file", On),                        // 11
    Bool("General", "Full path in window title", Off),                        // 12
    Bool("General", "ANSI text", Off),                                        // 13
    Str("General", "Theme name", "OfficeXP"),                                 // 14
    Int("General", "Icon style", 0),                                          // 15
    Int("General", "Text style", 0),                                          // 16
    Int("General", "Flat Menu style", 0),                                     // 17
    Bool("General", "Stretch", Off),                                          // 18
    Bool("General", "Show splash screen", On),                                // 19
    Bool("General", "Auto expand messages", On),                              // 20
    Int("General", "Zoom", 100),                                              // 21
    Str("General", "Output font", "Terminal,8,$80000008,255,-11,0,0,0,0,0"),  // 22
    Bool("General", "Merge Statusbar", Off),                                  // 23
    Bool("General", "Auto save before continue", Off),                        // 24
    Bool("General", "Create backup file", On),                                // 25

    List("History", "H", ""),  // 26

    Str("Advanced", "Analyzer Format", "-nonovice -quiet -wrap=999 %s %s"),  // 27
    Str("Advanced", "Compiler Format", "%s %s -o %s %s"),                    // 28
    Str("Advanced", "Debugger Format", "%s %s"),                             // 29
    List("Advanced\\Error", "Error", "ERROR"),                               // 30
    List("Advanced\\Warning", "Warning", "WARNING\r\nNONPORTABLE"),          // 31
    List("Advanced\\Maybe", "Maybe", "POSSIBLY"),                            // 32

    Str("Install", "Analyzer Extension", ""),           // 33
    Str("Install", "Compiler Extension", ""),           // 34
    Str("Install", "Debugger Extension", ""),           // 35
    Str("Install", "Ftnchek Manual Extension", ""),     // 36
    Str("Install", "G77 Manual Extension", ""),         // 37
    Str("Install", "GDB Manual Extension", ""),         // 38
    Str("Install", "Help Extension", ""),               // 39
    Str("Install", "Tutorial Extension", ""),           // 40
    Str("Install", "Parlax Extension", ""),             // 41
    Str("Install", "Install Path", ""),                 // 42
    Str("Install", "Language Path", ""),                // 43
    Str("Install", "Bin Path", ""),                     // 44
    Str("Install", "Lib Path", ""),                     // 45
    Str("Install", "Temp Path", ""),                    // 46
    Str("Install", "Doc Path", ""),                     // 47
    Str("Install", "Start Menu Path", ""),              // 48
    Str("Install", "Programs Group Path", ""),          // 49
    Str("Install", "Desktop Path", ""),                 // 50
    List("Install\\Bin", "B", platform::BinCheckList),  // 51
    List("Install\\Lib", "L", platform::LibCheckList),  // 52

    Bool("Editor", "Syntax highlight", On),                                // 53
    Bool("Editor", "Alt sets column mode", On),                            // 54
    Bool("Editor", "Want tabs", On),                                       // 55
    Bool("Editor", "Tabs to spaces", On),                                  // 56
    Bool("Editor", "Smart tabs", On),                                      // 57
    Bool("Editor", "Smart tab delete", Off),                               // 58
    Bool("Editor", "Show scroll hint", On),                                // 59
    Bool("Editor", "Scroll hint follows mouse", Off),                      // 60
    Bool("Editor", "Disable scroll arrows", Off),                          // 61
    Bool("Editor", "Half page scroll", Off),                               // 62
    Bool("Editor", "Show special chars", Off),                             // 63
    Bool("Editor", "No Caret", Off),                                       // 64
    Bool("Editor", "No Selection", Off),                                   // 65
    Bool("Editor", "Auto indent", On),                                     // 66
    Bool("Editor", "Group undo", On),                                      // 67
    Bool("Editor", "Drag and drop editing", On),                           // 68
    Bool("Editor", "Trim trailing spaces", On),                            // 69
    Bool("Editor", "Insert mode", On),                                     // 70
    Bool("Editor", "Hide selection", Off),                                 // 71
    Bool("Editor", "Enhance Home key", Off),                               // 72
    Bool("Editor", "Hide scrollbars as necessary", Off),                   // 73
    Bool("Editor", "Scroll by one less", Off),                             // 74
    Bool("Editor", "Scroll past end of file", Off),                        // 75
    Bool("Editor", "Scroll past end of line", On),                         // 76
    Bool("Editor", "Maintain caret column", Off),                          // 77
    Bool("Editor", "Right mouse moves cursor", Off),                       // 78
    Int("Editor", "Max left chars", 1024),                                 // 79
    Bool("Editor", "Auto-size 'Max left chars'", Off),                     // 80
    Int("Editor", "Undo limit", 1024),                                     // 81
    Int("Editor", "Tab stops", 8),                                         // 82
    Bool("Editor", "Gutter: Visible", On),                                 // 83
    Bool("Editor", "Gutter: Autosize", Off),                               // 84
    Bool("Editor", "Gutter: Show line numbers", On),                       // 85
    Bool("Editor", "Gutter: Start at zero", Off),                          // 86
    Bool("Editor", "Use Gutter font", On),                                 // 87
    Str("Editor", "Gutter font", "Terminal,8,$80000008,1,-11,0,0,0,0,0"),  // 88
    Bool("Editor", "Gutter: Show leading zeros", Off),                     // 89
    Bool("Editor", "Show Vertical Line", On),                              // 90
    Int("Editor", "Vertical Line color", 12632256),                        // 91
    Int("Editor", "Gutter width", 30),                                     // 92
    Str("Editor", "Vertical Line column", "6,72"),                         // 93
    Int("Editor", "Insert Caret", 0),                                      // 94
    Int("Editor", "Overwrite Caret", 3),                                   // 95
    Str("Editor", "Font", "Courier New"),                                  // 96
    Int("Editor", "Font size", 9),                                         // 97

    Bool("Run", "Autoshow Output window", On),                   // 98
    Bool("Run", "Autoshow Messages window", On),                 // 99
    Bool("Run", "Minimize on run", On),                          // 100
    Bool("Run", "Minimize on debug", On),                        // 101
    Bool("Run", "Ignore analyzer errors", Off),                  // 102
    Int("Run", "Process priority", 3),                           // 103
    Str("Run", "Additional compiler options parameters", "-g"),  // 104
    Str("Run", "Additional compiler libraries parameters", ""),  // 105
    Str("Run", "Additional analyzer parameters", ""),            // 106
    Str("Run", "Additional debugger parameters", ""),            // 107
    Int("Run", "Run with", 0),                                   // 108

    Int("Print", "Margin units", 0),                         // 109
    Float("Print", "Left margin", 25.0),                     // 110
    Float("Print", "Right margin", 15.0),                    // 111
    Float("Print", "Top margin", 25.0),                      // 112
    Float("Print", "Bottom margin", 25.0),                   // 113
    Float("Print", "Gutter margin", 0.0),                    // 114
    Float("Print", "Header margin", 15.0),                   // 115
    Float("Print", "Footer margin", 15.0),                   // 116
    Float("Print", "Header/Footer internal margin", 0.5),    // 117
    Float("Print", "Header/Footer left text indent", 2.0),   // 118
    Float("Print", "Header/Footer right text indent", 2.0),  // 119
    Bool("Print", "Mirror margins", Off),                    // 120
    Bool("Print", "Line numbers", On),                       // 121
    Bool("Print", "Line numbers in margin", Off),            // 122
    Bool("Print", "Syntax print", On),                       // 123
    Bool("Print", "Use colors", On),                         // 124
    Bool("Print", "Wrap lines", On),                         // 125
    Object("Print", "Header text", ""),                      // 126
    Bool("Print", "Header mirror", Off),                     // 127
    Bool("Print", "Header line", On),                        // 128
    Int("Print", "Header line color", 0),                    // 129
    Bool("Print", "Header box", Off),                        // 130
    Bool("Print", "Header shadow", Off),                     // 131
    Int("Print", "Header shadow color", 12895428),           // 132
    Object("Print", "Footer text", ""),                      // 133
    Bool("Print", "Footer mirror", Off),                     // 134
    Bool("Print", "Footer line", On),                        // 135
    Int("Print", "Footer line color", 0),                    // 136
    Bool("Print", "Footer box", Off),                        // 137
    Bool("Print", "Footer shadow", Off),                     // 138
    Int("Print", "Footer shadow color", 12895428),           // 139

    Bool("Messages", "Hiding Menu toolbar", On),   // 140
    Bool("Messages", "Menu toolbar is hide", On),  // 141
    Bool("Messages", "Clear history", On),         // 142
    Bool("Messages", "Associate files", On),       // 143
    Bool("Messages", "Install file missing", On),  // 144
    Bool("Messages", "Save before continue", On),  // 145

    Str("Highlight", "Comment", ",$C0C0C0,0,1,0,0"),  // 146
    Str("Highlight", "Identifier", ",,0,0,0,0"),      // 147
    Str("Highlight", "Key", ",$FF0000,1,0,0,0"),      // 148
    Str("Highlight", "Number", ",$0000FF,0,0,0,0"),   // 149
    Str("Highlight", "Space", ",,0,0,0,0"),           // 150
    Str("Highlight", "String", ",$0000FF,0,0,0,0"),   // 151
    Str("Highlight", "Symbol", ",,0,0,0,0"),          // 152
    Str("Highlight", "Error line", ",,0,0,0,0"),      // 153

    Object("Changes", "Gutter width", "30"),                         // 154
    Object("Changes", "Edge column", "6,72\r\n6\r\n72\r\n6,72,80"),  // 155
    Object("Changes", "Max left chars", "1024"),                     // 156
    Object("Changes", "Undo limit", "32767\r\n1024"),                // 157
    Object("Changes", "Tab stops", "8"),                             // 158
    Object("Changes", "Font size",
           "6\r\n8\r\n9\r\n10\r\n11\r\n12\r\n14\r\n16\r\n18\r\n20\r\n22\r\n25\r\n30\r\n35\r\n"
           "40\r\n45\r\n50"),                                           // 159
    Object("Changes", "Line numbers", ""),                              // 160
    Object("Changes", "Find", ""),                                      // 161
    Object("Changes", "Replace find", ""),                              // 162
    Object("Changes", "Replace with", ""),                              // 163
    Object("Changes", "Additional compiler options parameters", ""),    // 164
    Object("Changes", "Additional compiler libraries parameters", ""),  // 165
    Object("Changes", "Additional analyzer parameters", ""),            // 166
    Object("Changes", "Additional debugger parameters", ""),            // 167

    Bool("Find", "Case sensitive", Off),       // 168
    Bool("Find", "Whole words only", Off),     // 169
    Int("Find", "Direction", 0),               // 170
    Int("Find", "Scope", 0),                   // 171
    Int("Find", "Origin", 0),                  // 172
    Bool("Replace", "Case sensitive", Off),    // 173
    Bool("Replace", "Whole words only", Off),  // 174
    Bool("Replace", "Prompt on replace", On),  // 175
    Int("Replace", "Direction", 0),            // 176
    Int("Replace", "Scope", 0),                // 177
    Int("Replace", "Origin", 0),               // 178

    // Knowing the code: the Symbols panel's place and completion while typing.
    Str("Symbols", "Symbols window", "0,RightDock,RightDock,0,0,0,0,300,300"),       // 179
    Bool("Symbols", "Automatic completion", Off),                                    // 180
    Bool("LiveCheck", "Enabled", On),                                                // 181
    Int("LiveCheck", "Delay", 800),                                                  // 182
    Bool("LiveCheck", "Compiler", On),                                               // 183
    Bool("LiveCheck", "Analyzer", On),                                               // 184
    Bool("LiveCheck", "Analyze all scope", Off),                                     // 185
    Str("Debugger", "Call Stack window", "0,RightDock,RightDock,0,0,0,0,320,150"),   // 186
    Str("Debugger", "Variables window", "0,RightDock,RightDock,0,150,0,0,320,300"),  // 187
    Str("Debugger", "Watch window", "0,RightDock,RightDock,0,450,0,0,320,120"),      // 188
    Str("Debugger", "Breakpoints", ""),                                              // 189
    // Fixed-form editing
    Bool("FixedForm", "Smart Return", On),                          // 190
    Bool("FixedForm", "Continue comments", Off),                    // 191
    Str("FixedForm", "Continuation mark", "&"),                     // 192
    Bool("FixedForm", "Wrap at column 72", Off),                    // 193
    Int("FixedForm", "Block indent", 3),                            // 194
    Bool("FixedForm", "Label field", On),                           // 195
    Bool("FixedForm", "Mark matching statements", On),              // 196
    Bool("FixedForm", "Folding", On),                               // 197
    Str("FixedForm", "Past column 72", "$F0F0F0,$808080,0,0,0,0"),  // 198
    Str("FixedForm", "Reindent options", "-i3 -r0 -k-"),            // 199
    Object("Debugger", "Watch expressions", ""),                    // 200
}};

std::string SettingKeyPath(int id) {
  if (id < 0 || id >= SettingsCount) return std::string();
  return std::string(RootPath) + "\\" + SettingsTable[static_cast<size_t>(id)].Subkey;
}

}  // namespace vortan
