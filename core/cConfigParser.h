// Reading configuration text back: the Tarnwick block and the Orvane statements as
// the generator writes them and as people edit them by hand, found anywhere in a
// program's source.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One "NAME = SETTING" of the text, with its 1-based line number.
struct TConfigEntry {
  std::string Switch;
  std::string Setting;
  int Line = 0;
};

struct TParsedConfig {
  // The device line's name, without a "PIC" prefix; empty when the text has none.
  std::string Device;
  int DeviceLine = 0;
  std::vector<TConfigEntry> Entries;

  // Whether the text holds a configuration at all.
  bool Found() const { return !Entries.empty(); }
};

// Reads every device line and every configuration of Text, in order:
// - "device = NAME", the name with or without "PIC" (the first such line counts);
// - a line "config", then entries "NAME = SETTING" separated by commas, on that
//   line or on the lines after it, until an entry that no comma follows;
// - lines "config NAME = SETTING".
// Keywords and names are matched ignoring letter case; blanks and tabs are free;
// "//" or "'" begins a comment; lines that belong to no configuration are passed
// over. Linear in the length of Text.
TParsedConfig ParseConfigText(std::string_view text);
