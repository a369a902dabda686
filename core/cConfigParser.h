// Reading configuration text back in every syntax of core/cSyntax.h: the Tarnwick
// block and the Orvane statements, C "#pragma config" lines and assembler "CONFIG"
// lines, as the generator writes them and as people write them by hand, found
// anywhere in a program's source. The text is read as it stands, item by item, so
// a text of any size costs no more memory than itself.
#pragma once

#include "common/cTextLines.h"
#include "core/cSyntax.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The comment the generator writes, in either comment form, for a configuration
// that sets no switch: every switch stands at the chip's own default.
inline constexpr std::string_view kAllDefaultsComment = "config: every switch at the chip's default";

enum class TConfigItemKind {
  Device,  // a device line: Name is the device, without a "PIC" prefix
  Config,  // a config line, or the all-defaults comment: the text holds a configuration
  Entry,   // an entry: Name and Setting
  Problem, // a line that cannot be read as what it stands in (Problem says why)
  Warning, // a line not read, or read on an assumption (Problem says which)
  Word,    // C's legacy macro __CONFIG(N, VALUE): Name is N (decimal), Setting the
           // 16-bit word VALUE, a number without its U suffix
  Legacy,  // any other legacy __CONFIG: Name is the word it names as written ("_CONFIG1",
           // "0x2007"; empty for none), Setting a number (the whole word, without its U
           // suffix) or one symbol ("_FOSC_HS", "WDTE_OFF"); symbols joined by "&" give one
           // item each, at its own line. The statement's first item holds in Problem the
           // warning to give where the part does not read the form (PIC18 symbols).
};

struct TConfigItem {
  TConfigItemKind Kind = TConfigItemKind::Entry;
  int Line = 0;
  std::string_view Name;
  std::string_view Setting;
  std::string Problem;
};

// A number as the legacy __CONFIG lines write it: C's (decimal, "0x", "0b"), with a
// "U" or "u" suffix or none, or the vendor assembler's H'3F72', B'1011', D'15'.
bool ParseLegacyNumber(std::string_view text, uint32_t &value);

// The family a file's name says its text is in, by its extension in any letter
// case: ".c" and ".h" C; ".asm", ".s", ".inc" and ".as" assembler; ".bas" and
// ".pbp" the house forms. False for another extension or none.
bool FamilyOfFileName(std::string_view fileName, TSyntaxFamily &family);

// Which family a text is written in, told once, from the first of:
// 1. C's own lines: a "#pragma config" line, the "/* device = NAME */" line the
//    generator writes first, or C's legacy macro "__CONFIG(...);" or "__CONFIG(" left
//    open to go on over the next lines (anywhere in the text: C beats what follows);
// 2. assembler's own lines: "PROCESSOR NAME" or "LIST P=NAME" (NAME a device's,
//    beginning with digits after an optional P or PIC), an "#include" of a device's
//    ".inc" file (p18f4520.inc), a legacy "__CONFIG" line, the vendor IDE's heading
//    as a ";" comment ("; PIC18F4520 Configuration Bit Settings");
// 3. FileName's extension (FamilyOfFileName);
// 4. a "config" line that only assembler reads: its entries followed by a ";"
//    comment, or a setting given as a "0x" or "0b" number (CONFIG FEXTOSC=0b100);
// 5. else the house forms (so every text read before reads as before).
TSyntaxFamily TellSyntaxFamily(std::string_view text, std::string_view fileName = {});

// Reads Text's device lines, configurations and faults in text order, in the
// family TellSyntaxFamily gives it. The house forms:
// - "device = NAME", the name with or without "PIC";
// - a line "config", then entries "NAME = SETTING" separated by commas, on that
//   line or on the lines after it, until an entry that no comma follows; while such
//   a block is open every line must be entries, blank or a comment, and any other
//   is a problem at its own line (a second config line among them, too); a block
//   still open at the end of the text is a problem at its last line;
// - lines "config NAME = SETTING"; a config line that begins with an entry and then
//   holds something else is a problem;
// - the all-defaults comment; "//" or "'" begins a comment.
// C and assembler:
// - "#pragma config" (C) or "CONFIG" (assembler) followed by entries separated by
//   commas, each "NAME = SETTING" with either or both in double or single quotes,
//   or the whole entry in quotes; any other such line is a problem;
// - comments "//" and "/* */", in assembler ";" too, anywhere: what they hold is
//   never read (strings and characters in quotes hide comment markers); in C a "//"
//   comment whose line ends in a backslash goes on over the next line;
// - the device from the first of: a comment "device = NAME", the vendor IDE's
//   heading comment "PIC18F4520 Configuration Bit Settings" (also "PIC 18F4520",
//   with text after it, and as a ";" comment), "#include" of a device's file
//   (<pic18f4520.h>, <p18f4520.inc>); in assembler also "PROCESSOR NAME",
//   "LIST P=NAME" and "include" without "#";
// - C's legacy macro "__CONFIG(N, VALUE)", N and VALUE numbers (several to a line),
//   is a Word item; the other legacy forms, "__CONFIG(VALUE)", "__CONFIG(WORD,
//   VALUE)" in C (over several lines where its parenthesis stays open) and
//   "__CONFIG VALUE", "__CONFIG WORD, VALUE" in assembler (VALUE a number or symbols
//   joined by "&", WORD a name or a number), are Legacy items; any other "__CONFIG"
//   line is a warning: not read;
// - preprocessor blocks are not evaluated: what stands under "#if 0" (up to its
//   "#elif", "#else" or "#endif") is passed over like a comment; configuration
//   lines under any other "#if", "#ifdef", "#ifndef", "#elif" or "#else" are read,
//   with one warning at that line, the first time one is read under it, saying so.
// A C or assembler text may mix in the other forms, each line read in the form
// only it can be: "#pragma config" lines; assembler's "PROCESSOR", "LIST P=",
// "include" and "CONFIG" lines (in C up to a ";" comment); "device = NAME" (NAME a
// device's); a "config" line alone, which opens a house block; a "config" line
// that only the house forms read whole (an Orvane statement with its "'" comment).
// Keywords and names are matched ignoring letter case; blanks and tabs are free;
// CR LF, a lone CR and a lone LF end lines; other lines are program text and
// passed over. A UTF-8 byte-order mark is skipped; a UTF-16 text is one problem at
// line 1. Linear in the length of Text. An item's views stay valid until the next
// call of Next.
class TConfigTextScanner {
public:
  // FileName, where the text has one, is evidence of its family.
  explicit TConfigTextScanner(std::string_view text, std::string_view fileName = {});

  // The family the text is read in.
  TSyntaxFamily Family() const { return FFamily; }

  // The next item, in text order; false after the last.
  bool Next(TConfigItem &item);

  // A scanner to read the text again from the line of this one's first item, as
  // this one stood there: it gives every item again, without reading once more
  // the lines before, which give none (at the end of the text where this one gave
  // no item; from the start where it gave none yet).
  TConfigTextScanner Rewound() const;

private:
  // In a family told already.
  TConfigTextScanner(std::string_view text, TSyntaxFamily family);
  bool NextItem(TConfigItem &item);
  // Reads lines until one gives an item; false at the end of the text.
  bool NextLine(TConfigItem &item);
  // What the end of the text gives: a problem where a block is still open.
  bool EndOfText(TConfigItem &item);
  // One line of the house forms: inside an open block, and outside one.
  bool BlockLine(std::string_view line, TConfigItem &item);
  bool HouseLine(std::string_view line, TConfigItem &item);
  // One line of C or assembler: a comment only, a "#" directive (C's configuration
  // lines, the preprocessor's blocks and includes, in both), a legacy line, a
  // "config" line, a house device line, and assembler's own directives (Code
  // without comments, First its first character; in C, Code keeps ";" comments).
  bool ValuesLine(std::string_view line, TConfigItem &item);
  bool HashLine(std::string_view code, TConfigItem &item);
  bool LegacyLine(std::string_view code, TConfigItem &item);
  bool ConfigKeywordLine(std::string_view code, TConfigItem &item);
  bool DeviceLine(std::string_view code, TConfigItem &item);
  bool AssemblerLine(std::string_view code, char first, TConfigItem &item);
  bool CommentLine(std::string_view comment, TConfigItem &item);
  // A "#pragma config" or "CONFIG" line's entries from Position on, Family's
  // keyword named in its problems.
  bool ConfigLine(std::string_view code, size_t position, TSyntaxFamily family, TConfigItem &item);
  // Code as assembler reads it: in C, without a ";" comment.
  std::string_view AssemblerCode(std::string_view code) const;
  // The line without its comments, each made a blank: a view of the line, or of
  // FCode where a comment was cut out. Follows "/* */" comments across lines.
  std::string_view CodeOf(std::string_view line);
  // Whether the line at hand stands under "#if 0"; a warning for a condition it is
  // read under, the first time (the line is then read again).
  bool Skipped() const;
  bool WarnOfCondition(TConfigItem &item);
  // Items of the line at hand from the entry (or legacy macro) at FEntryPos on.
  enum class TItems {
    House,  // entries as the house forms write them
    Values, // entries as C and assembler write them
    Macros, // C's legacy macros
  };
  bool NextEntry(TConfigItem &item);
  bool NextMacro(TConfigItem &item);
  bool NextSymbol(TConfigItem &item);
  // Code with the lines after it joined on, while a "__CONFIG(" stays open and they
  // hold only what its symbols may (at most a few); the line they stop at is read
  // again.
  std::string_view JoinedMacro(std::string_view code);
  // The line Position of FLine stands on.
  int LineAt(size_t position) const;
  // The warning for a legacy line that is not read.
  std::string NotRead() const;
  void StartEntries(std::string_view line, size_t position, TItems items);
  TTextLines FLines;
  bool FEnded = false;
  std::string_view FLine; // the line at hand, while its entries are handed over
  size_t FEntryPos = std::string_view::npos;
  TItems FItems = TItems::House; // what the line's items are
  bool FInBlock = false;         // a block whose last entry was followed by a comma
  int FBlockLine = 0;            // where the open block began
  int FLastBlockLine = 0;        // the open block's last line that is not blank, 0 before one
  std::string FPending;          // a problem to hand over before the line's entries
  // A legacy statement's symbols, from FSymbolPos to FSymbolsEnd of FLine, and the
  // word it names.
  size_t FSymbolPos = std::string_view::npos;
  size_t FSymbolsEnd = 0;
  std::string_view FWhere;
  std::string FJoined;                              // a macro's lines joined
  std::vector<std::pair<size_t, int>> FJoinedLines; // where each begins in FJoined, its number

  // C and assembler.
  TSyntaxFamily FFamily = TSyntaxFamily::House;
  bool FInComment = false;     // inside a "/* */" comment
  bool FLineInComment = false; // FInComment where the line at hand began
  bool FSpliced = false;       // C: the next line goes on with a "//" comment
  bool FLineSpliced = false;   // FSpliced where the line at hand began
  std::string FCode;           // the line at hand without its comments, where it had any
  std::string_view FRawLine;   // the line at hand as it stands
  // An open preprocessor block and the branch of it at hand.
  struct TCondition {
    int Line = 0;               // the branch's directive
    std::string_view Directive; // its line
    bool Skipped = false;       // "#if 0" or "#elif 0": passed over
    bool Assumed = false;       // read as if its condition held
    bool Warned = false;        // that was said
    bool OnlyZeros = true;      // every branch so far was a "0": an "#else" surely holds
  };
  std::vector<TCondition> FConditions; // the open preprocessor blocks, outermost first
  int FDeepConditions = 0;             // open ones beyond those, only counted

  // Where the line of the first item began, and what was known there.
  struct TRestart {
    TTextLines Lines;
    bool InComment = false;
    bool Spliced = false;
    std::vector<TCondition> Conditions;
    int DeepConditions = 0;
    bool Taken = false; // the first item was given
  };
  TRestart FRestart;
};

// A text's first device line, as the scanner finds it (an empty Name when none),
// and whether the text holds a configuration at all.
struct TTextDevice {
  std::string Name;
  int Line = 0;
  bool Found = false;
  TSyntaxFamily Family = TSyntaxFamily::House; // the family the text is read in
};
// Reads only as far as it must to tell both, once the text's syntax is told
// (which looks through all of it; FileName as for TellSyntaxFamily).
TTextDevice FindDeviceLine(std::string_view text, std::string_view fileName = {});
// The same with Scanner, a new one over the text, which is left where it stopped.
TTextDevice FindDeviceLine(TConfigTextScanner &scanner);
