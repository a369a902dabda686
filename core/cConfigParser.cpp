// The configuration text's reader: a line at a time, a small scanner per line.
#include "core/cConfigParser.h"

#include "common/cErrors.h"
#include "common/cStringList.h"
#include "core/cDeviceList.h"

#include <algorithm>
#include <array>

namespace {
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Characters of a name or setting: all but controls, blanks, DEL, "=", "," and "'".
constexpr auto kNameChars = [] {
  std::array<bool, 256> table{};
  for (int c = '!'; c < 256; ++c)
    table[static_cast<size_t>(c)] = c != '=' && c != ',' && c != '\'' && c != 0x7F;
  return table;
}();

bool IsNameChar(char c) {
  return kNameChars[static_cast<unsigned char>(c)];
}

// A scanner over one line; the comment, if any, ends the line.
class TLineScanner {
public:
  explicit TLineScanner(std::string_view line, size_t position = 0) : FLine(line), FPos(position) {}

  void SkipBlanks() {
    while (FPos < FLine.size() && IsBlank(FLine[FPos]))
      ++FPos;
  }
  bool AtComment() const {
    return FPos < FLine.size() && (FLine[FPos] == '\'' || FLine.substr(FPos, 2) == "//");
  }
  // At the line's end or at a comment, after blanks.
  bool AtEnd() {
    SkipBlanks();
    return FPos >= FLine.size() || AtComment();
  }
  bool Take(char c) {
    SkipBlanks();
    if (FPos < FLine.size() && FLine[FPos] == c) {
      ++FPos;
      return true;
    }
    return false;
  }
  // The word Keyword, ignoring letter case, followed by the end, a blank, "=" or a
  // comment.
  bool TakeKeyword(std::string_view keyword) {
    SkipBlanks();
    if (CompareText(FLine.substr(FPos, keyword.size()), keyword) != 0)
      return false;
    const size_t after = FPos + keyword.size();
    if (after < FLine.size() && IsNameChar(FLine[after]) && FLine.substr(after, 2) != "//")
      return false;
    FPos = after;
    return true;
  }
  // A name or setting: a run of characters other than blanks, "=", ",", "'" and
  // the "//" of a comment.
  bool TakeName(std::string_view &name) {
    SkipBlanks();
    const size_t start = FPos;
    const size_t size = FLine.size();
    for (; FPos < size && IsNameChar(FLine[FPos]); ++FPos)
      if (FLine[FPos] == '/' && FPos + 1 < size && FLine[FPos + 1] == '/')
        break;
    name = FLine.substr(start, FPos - start);
    return FPos > start;
  }
  // "NAME = SETTING"; on failure the scanner is where it was.
  bool TakeEntry(std::string_view &name, std::string_view &setting) {
    const size_t start = FPos;
    if (TakeName(name) && Take('=') && TakeName(setting))
      return true;
    FPos = start;
    return false;
  }
  // The comment's text after its marker and blanks; the scanner must be at it.
  std::string_view CommentText() const {
    std::string_view text = FLine.substr(FPos + (FLine[FPos] == '\'' ? 1 : 2));
    while (!text.empty() && IsBlank(text.front()))
      text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
      text.remove_suffix(1);
    return text;
  }
  size_t Position() const { return FPos; }

private:
  std::string_view FLine;
  size_t FPos = 0;
};

enum class TEntriesShape {
  None,   // no entry at all
  Broken, // an entry, then something that is not a further one
  Whole,  // entries separated by commas, then the end or a comment
};

TEntriesShape ShapeOfEntries(std::string_view line, size_t position, bool &trailingComma) {
  TLineScanner scanner(line, position);
  std::string_view name;
  std::string_view setting;
  bool any = false;
  for (;;) {
    if (!scanner.TakeEntry(name, setting))
      return any ? TEntriesShape::Broken : TEntriesShape::None;
    any = true;
    trailingComma = scanner.Take(',');
    if (scanner.AtEnd())
      return TEntriesShape::Whole;
    if (!trailingComma)
      return TEntriesShape::Broken;
  }
}

// The line's first character that is not a blank, or a NUL for none.
char FirstNonBlank(std::string_view line) {
  for (const char c : line)
    if (!IsBlank(c))
      return c;
  return '\0';
}

// The line as a message quotes it: from its first non-blank, shortened.
std::string QuotedLine(std::string_view line) {
  size_t first = 0;
  while (first < line.size() && IsBlank(line[first]))
    ++first;
  return QuotedForMessage(line.substr(first));
}
} // namespace

TConfigTextScanner::TConfigTextScanner(std::string_view text) : FLines(text) {
  if (LooksLikeUtf16(text))
    FPending = kUtf16Text; // and nothing else of it is read
}

bool TConfigTextScanner::Next(TConfigItem &item) {
  if (!FPending.empty()) {
    item = {TConfigItemKind::Problem, 1, {}, {}, std::move(FPending)};
    FPending.clear();
    FEnded = true;
    return true;
  }
  if (FEntryPos != std::string_view::npos && NextEntry(item))
    return true;
  return NextLine(item);
}

void TConfigTextScanner::StartEntries(std::string_view line, size_t position) {
  FLine = line;
  FEntryPos = position;
}

bool TConfigTextScanner::NextEntry(TConfigItem &item) {
  TLineScanner scanner(FLine, FEntryPos);
  item.Kind = TConfigItemKind::Entry;
  item.Line = FLines.Number();
  item.Problem.clear();
  if (!scanner.TakeEntry(item.Name, item.Setting)) {
    FEntryPos = std::string_view::npos; // cannot happen: the line was checked whole
    return false;
  }
  scanner.Take(',');
  FEntryPos = scanner.AtEnd() ? std::string_view::npos : scanner.Position();
  return true;
}

bool TConfigTextScanner::NextLine(TConfigItem &item) {
  item.Name = {};
  item.Setting = {};
  item.Problem.clear();
  std::string_view line;
  while (!FEnded) {
    if (!FLines.Next(line)) {
      FEnded = true;
      return EndOfText(item);
    }
    if (line.empty()) {
      FLines.SkipEmptyLines(); // counted at once: they never matter
      continue;
    }
    if (FInBlock ? BlockLine(line, item) : HouseLine(line, item))
      return true;
  }
  return false;
}

bool TConfigTextScanner::EndOfText(TConfigItem &item) {
  if (!FInBlock)
    return false;
  // The last entry's comma promises an entry that never comes.
  FInBlock = false;
  item.Kind = TConfigItemKind::Problem;
  if (FLastBlockLine > 0) {
    item.Line = FLastBlockLine;
    item.Problem = "the config block begun on line " + std::to_string(FBlockLine) +
                   " is still open at the end of the text: an entry without a comma must end it";
  } else {
    item.Line = FBlockLine;
    item.Problem = "the config line has no entries";
  }
  return true;
}

bool TConfigTextScanner::BlockLine(std::string_view line, TConfigItem &item) {
  TLineScanner scanner(line);
  if (scanner.AtEnd())
    return false; // blank and comment lines belong to the block
  const int number = FLines.Number();
  const size_t position = scanner.Position();
  FLastBlockLine = number;
  if (scanner.TakeKeyword("config")) {
    // The block was left open; the line is read again as the config line it is.
    FInBlock = false;
    FLines.Again();
    item = {TConfigItemKind::Problem,
            number,
            {},
            {},
            "a config line inside the config block begun on line " + std::to_string(FBlockLine) +
                ", which is still open: its last entry is followed by a comma"};
    return true;
  }
  bool comma = false;
  if (ShapeOfEntries(line, position, comma) == TEntriesShape::Whole) {
    FInBlock = comma;
    StartEntries(line, position);
    return NextEntry(item);
  }
  item = {TConfigItemKind::Problem,
          number,
          {},
          {},
          "expected NAME = SETTING entries separated by commas, as the config block begun on line " +
              std::to_string(FBlockLine) + " is still open; found " + QuotedLine(line)};
  return true;
}

bool TConfigTextScanner::HouseLine(std::string_view line, TConfigItem &item) {
  // Only a line that begins with "config", "device" or a comment can matter: most
  // lines of a program are told by their first character.
  switch (FirstNonBlank(line)) {
  case 'c':
  case 'C':
  case 'd':
  case 'D':
  case '/':
  case '\'':
    break;
  default:
    return false;
  }
  const int number = FLines.Number();
  TLineScanner scanner(line);
  if (scanner.TakeKeyword("config")) {
    item.Line = number;
    if (scanner.AtEnd()) {
      // The block's entries follow on the next lines.
      FInBlock = true;
      FBlockLine = number;
      FLastBlockLine = 0;
      item.Kind = TConfigItemKind::Config;
      return true;
    }
    const size_t position = scanner.Position();
    bool comma = false;
    switch (ShapeOfEntries(line, position, comma)) {
    case TEntriesShape::Whole:
      FInBlock = comma;
      FBlockLine = number;
      FLastBlockLine = number;
      StartEntries(line, position);
      item.Kind = TConfigItemKind::Config;
      return true;
    case TEntriesShape::Broken:
      item.Kind = TConfigItemKind::Problem;
      item.Problem =
          "expected NAME = SETTING entries separated by commas after config; found " + QuotedLine(line);
      return true;
    case TEntriesShape::None:
      return false; // program text that begins with the word, such as "config = 5"
    }
  }

  TLineScanner device(line);
  std::string_view name;
  if (device.TakeKeyword("device") && device.Take('=') && device.TakeName(name) && device.AtEnd()) {
    item.Kind = TConfigItemKind::Device;
    item.Line = number;
    item.Name = WithoutPicPrefix(name);
    return true;
  }

  TLineScanner comment(line);
  comment.SkipBlanks();
  if (comment.AtComment() && CompareText(comment.CommentText(), kAllDefaultsComment) == 0) {
    item.Kind = TConfigItemKind::Config;
    item.Line = number;
    return true;
  }
  return false;
}

TTextDevice FindDeviceLine(std::string_view text) {
  TTextDevice device;
  TConfigTextScanner scanner(text);
  TConfigItem item;
  while ((device.Line == 0 || !device.Found) && scanner.Next(item)) {
    if (item.Kind == TConfigItemKind::Device && device.Line == 0) {
      device.Name = item.Name;
      device.Line = item.Line;
    } else if (item.Kind == TConfigItemKind::Config || item.Kind == TConfigItemKind::Entry) {
      device.Found = true;
    }
  }
  return device;
}
