// Reading configuration text back in every syntax of core/cSyntax.h: the Tarnwick
// block and the Orvane statements, C "#pragma config" lines and assembler "CONFIG"
// lines, as the generator writes them and as people write them by hand, found
// anywhere in a program's source. The text is read as it stands, item by item, so
// a text of any size costs no more memory than itself.
#pragma once

#include "common/cTextLines.h"
#include "core/cSyntax.h"

#include <string>
#include <string_view>
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
};

struct TConfigItem {
  TConfigItemKind Kind = TConfigItemKind::Entry;
  int Line = 0;
  std::string_view Name;
  std::string_view Setting;
  std::string Problem;
};

// Which family a text is written in, told once from decisive evidence:
// - C: a "#pragma config" line, or the "/* device = NAME */" line the generator
//   writes first (anywhere in the text: C beats what follows);
// - else assembler: a "PROCESSOR NAME" or "LIST P=NAME" line (NAME a device's,
//   beginning with digits after an optional P or PIC), an "#include" of a device's
//   ".inc" file (p18f4520.inc), a "__CONFIG" line, or a "config" line whose
//   entries are followed by a ";" comment;
// - else the house forms (so every text read before reads as before).
TSyntaxFamily TellSyntaxFamily(std::string_view text);

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
//   never read (strings and characters in quotes hide comment markers);
// - the device from the first of: a comment "device = NAME", the vendor IDE's
//   heading comment "PIC18F4520 Configuration Bit Settings", "#include" of a
//   device's file (<pic18f4520.h>, <p18f4520.inc>); in assembler also
//   "PROCESSOR NAME", "LIST P=NAME" and "include" without "#";
// - a legacy "__CONFIG" line (or C's "__CONFIG(...)") is a warning: not read;
// - preprocessor blocks are not evaluated: what stands under "#if 0" (up to its
//   "#elif", "#else" or "#endif") is passed over like a comment; configuration
//   lines under any other "#if", "#ifdef", "#ifndef", "#elif" or "#else" are read,
//   with one warning at that line, the first time one is read under it, saying so.
// Keywords and names are matched ignoring letter case; blanks and tabs are free;
// CR LF, a lone CR and a lone LF end lines; other lines are program text and
// passed over. A UTF-8 byte-order mark is skipped; a UTF-16 text is one problem at
// line 1. Linear in the length of Text. An item's views stay valid until the next
// call of Next.
class TConfigTextScanner {
public:
  explicit TConfigTextScanner(std::string_view text);

  // The family the text is read in.
  TSyntaxFamily Family() const { return FFamily; }

  // The next item, in text order; false after the last.
  bool Next(TConfigItem &item);

private:
  // Reads lines until one gives an item; false at the end of the text.
  bool NextLine(TConfigItem &item);
  // What the end of the text gives: a problem where a block is still open.
  bool EndOfText(TConfigItem &item);
  // One line of the house forms: inside an open block, and outside one.
  bool BlockLine(std::string_view line, TConfigItem &item);
  bool HouseLine(std::string_view line, TConfigItem &item);
  // One line of C or assembler: a comment only, a "#" directive (C's configuration
  // lines, the preprocessor's blocks and includes, in both), a legacy line, and
  // assembler's own directives (Code without comments, First its first character).
  bool ValuesLine(std::string_view line, TConfigItem &item);
  bool HashLine(std::string_view code, TConfigItem &item);
  bool AssemblerLine(std::string_view code, char first, TConfigItem &item);
  bool CommentLine(std::string_view comment, TConfigItem &item);
  // A "#pragma config" or "CONFIG" line's entries from Position on.
  bool ConfigLine(std::string_view code, size_t position, TConfigItem &item);
  // The line without its comments, each made a blank: a view of the line, or of
  // FCode where a comment was cut out. Follows "/* */" comments across lines.
  std::string_view CodeOf(std::string_view line);
  // Whether the line at hand stands under "#if 0"; a warning for a condition it is
  // read under, the first time (the line is then read again).
  bool Skipped() const;
  bool WarnOfCondition(TConfigItem &item);
  // Items of the line at hand from the entry at FEntryPos on.
  bool NextEntry(TConfigItem &item);
  void StartEntries(std::string_view line, size_t position);
  TTextLines FLines;
  bool FEnded = false;
  std::string_view FLine; // the line at hand, while its entries are handed over
  size_t FEntryPos = std::string_view::npos;
  bool FInBlock = false;  // a block whose last entry was followed by a comma
  int FBlockLine = 0;     // where the open block began
  int FLastBlockLine = 0; // the open block's last line that is not blank, 0 before one
  std::string FPending;   // a problem to hand over before the line's entries

  // C and assembler.
  TSyntaxFamily FFamily = TSyntaxFamily::House;
  bool FInComment = false;     // inside a "/* */" comment
  bool FLineInComment = false; // FInComment where the line at hand began
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
};

// A text's first device line, as the scanner finds it (an empty Name when none),
// and whether the text holds a configuration at all.
struct TTextDevice {
  std::string Name;
  int Line = 0;
  bool Found = false;
};
// Reads only as far as it must to tell both, once the text's syntax is told
// (which looks through all of it).
TTextDevice FindDeviceLine(std::string_view text);
