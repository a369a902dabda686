// The languages a configuration is written in, one row each: how the writer lays
// a text out, and which clause of the reader takes it back. A further language is
// one row, plus one clause of the reader where it reads unlike the others.
#pragma once

#include "common/cDeviceFamily.h"

#include <string>
#include <string_view>

// The reader's clause for a syntax: the rows of one family are read alike.
enum class TSyntaxFamily {
  House,     // "device = NAME" lines, "config" blocks and "config" statements
  Pragma,    // C: "#pragma config" lines
  Directive, // assembler: "PROCESSOR NAME" and "CONFIG" lines
};

struct TSyntax {
  std::string_view Name;    // as the window and messages name it
  std::string_view CliName; // the name a front end's user picks it by
  TSyntaxFamily Family;
  // The text's first line names the device between these two.
  std::string_view DeviceBefore;
  std::string_view DeviceAfter;
  // An entry is Indent, Keyword, a blank and "NAME = SETTING". In a block the
  // keyword stands on a line of its own and the indented entries are separated by
  // commas.
  std::string_view Keyword;
  bool Block;
  std::string_view Indent;
  // The line comment's marker, and where an entry's comment (its setting's
  // description) begins: at CommentColumn, and at least CommentGap blanks after it.
  std::string_view Comment;
  int CommentColumn;
  int CommentGap;
  // The entries are grouped by register, each group under a comment line that
  // names the register and its address.
  bool RegisterHeadings;
  // What its text is made of, as configgen's help says ("#pragma config lines").
  std::string_view About;
  // Whether the window's grid menu offers "Copy as " + Name.
  bool WindowCopies;
};

// Every syntax, in the order configgen's usage lists them.
inline constexpr TSyntax kSyntaxes[] = {
    {"Tarnwick", "tarnwick", TSyntaxFamily::House, "device = ", "", "config", true, "    ", "//", 24, 0,
     false, "a config block", false},
    {"Orvane", "orvane", TSyntaxFamily::House, "device = ", "", "config", false, "", "'", 24, 1, false,
     "config statements", false},
    {"C", "c", TSyntaxFamily::Pragma, "/* device = ", " */", "#pragma config", false, "", "//", 36, 1, true,
     "#pragma config lines", true},
    {"Assembler", "asm", TSyntaxFamily::Directive, "    PROCESSOR ", "", "CONFIG", false, "    ", ";", 32, 1,
     true, "PROCESSOR and CONFIG lines", true},
};
inline constexpr const TSyntax &kTarnwickSyntax = kSyntaxes[0];
inline constexpr const TSyntax &kOrvaneSyntax = kSyntaxes[1];
inline constexpr const TSyntax &kCSyntax = kSyntaxes[2];
inline constexpr const TSyntax &kAssemblerSyntax = kSyntaxes[3];

// The row whose CliName is Name (any letter case), or null.
const TSyntax *FindSyntax(std::string_view name);
// The CLI names, "tarnwick, orvane, c, asm", as usage and messages list them.
std::string SyntaxNames();

// Whether Syntax serves a part of Family: the house forms' compilers (Tarnwick,
// Orvane) serve PIC18 parts only; C and assembler serve every family.
bool SyntaxServes(const TSyntax &syntax, const TDeviceFamily &family);
// Why Syntax does not serve Device, a part of Family; a front end adds what its user
// picks instead (a syntax that SyntaxServes).
std::string SyntaxRefused(const TSyntax &syntax, std::string_view device, const TDeviceFamily &family);

// Whether a family's reader takes a setting as its field's value (0x1A, 26,
// 0b11010), a register's whole word (CONFIG1L = 0x5D) and names in quotes: the
// compilers of C and assembler do, those of the house forms do not.
constexpr bool ReadsValues(TSyntaxFamily family) {
  return family != TSyntaxFamily::House;
}
