// Reading configuration text back: the Tarnwick block and the Orvane statements as
// the generator writes them and as people edit them by hand, found anywhere in a
// program's source. The text is read as it stands, item by item, so a text of any
// size costs no more memory than itself.
#pragma once

#include "common/cTextLines.h"

#include <string>
#include <string_view>
#include <vector>

// The comment the generator writes, in either comment form, for a configuration
// that sets no switch: every switch stands at the chip's own default.
inline constexpr std::string_view kAllDefaultsComment = "config: every switch at the chip's default";

// One "NAME = SETTING" of the text, as views into it, with its 1-based line.
struct TConfigEntry {
  std::string_view Switch;
  std::string_view Setting;
  int Line = 0;
};

enum class TConfigItemKind {
  Device,  // a device line: Name is the device, without a "PIC" prefix
  Config,  // a config line, or the all-defaults comment: the text holds a configuration
  Entry,   // an entry: Name and Setting
  Problem, // a line that cannot be read as what it stands in (Problem says why)
};

struct TConfigItem {
  TConfigItemKind Kind = TConfigItemKind::Entry;
  int Line = 0;
  std::string_view Name;
  std::string_view Setting;
  std::string Problem;
};

// Reads Text's device lines, configurations and faults in text order:
// - "device = NAME", the name with or without "PIC";
// - a line "config", then entries "NAME = SETTING" separated by commas, on that
//   line or on the lines after it, until an entry that no comma follows; while such
//   a block is open every line must be entries, blank or a comment, and any other
//   is a problem at its own line (a second config line among them, too); a block
//   still open at the end of the text is a problem at its last line;
// - lines "config NAME = SETTING"; a config line that begins with an entry and then
//   holds something else is a problem;
// - the all-defaults comment.
// Keywords and names are matched ignoring letter case; blanks and tabs are free;
// "//" or "'" begins a comment; CR LF, a lone CR and a lone LF end lines; other
// lines are program text and passed over. A UTF-8 byte-order mark is skipped; a
// UTF-16 text is one problem at line 1. Linear in the length of Text.
class TConfigTextScanner {
public:
  explicit TConfigTextScanner(std::string_view text);

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
};

// A text's first device line, as the scanner finds it (an empty Name when none),
// and whether the text holds a configuration at all.
struct TTextDevice {
  std::string Name;
  int Line = 0;
  bool Found = false;
};
// Reads only as far as it must to tell both.
TTextDevice FindDeviceLine(std::string_view text);
