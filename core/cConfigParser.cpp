// The configuration text's reader: a line at a time, a small scanner per line.
#include "core/cConfigParser.h"

#include "common/cStringList.h"

namespace {
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsNameChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u > ' ' && c != '=' && c != ',' && c != '\'' && u != 0x7F;
}

// A scanner over one line; the comment, if any, ends the line.
class TLineScanner {
public:
  explicit TLineScanner(std::string_view line) : FLine(line) {}

  void SkipBlanks() {
    while (FPos < FLine.size() && IsBlank(FLine[FPos]))
      ++FPos;
  }
  // At the line's end or at a comment, after blanks.
  bool AtEnd() {
    SkipBlanks();
    return FPos >= FLine.size() || FLine[FPos] == '\'' || FLine.substr(FPos, 2) == "//";
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
  bool TakeName(std::string &name) {
    SkipBlanks();
    const size_t start = FPos;
    while (FPos < FLine.size() && IsNameChar(FLine[FPos]) && FLine.substr(FPos, 2) != "//")
      ++FPos;
    name.assign(FLine.substr(start, FPos - start));
    return FPos > start;
  }
  size_t Position() const { return FPos; }
  void Reset(size_t position) { FPos = position; }

private:
  std::string_view FLine;
  size_t FPos = 0;
};

// "NAME = SETTING" at the scanner; on failure the scanner is where it was.
bool TakeEntry(TLineScanner &scanner, int line, TConfigEntry &entry) {
  const size_t start = scanner.Position();
  entry.Line = line;
  if (scanner.TakeName(entry.Switch) && scanner.Take('=') && scanner.TakeName(entry.Setting))
    return true;
  scanner.Reset(start);
  return false;
}

// Entries separated by commas, then the end of the line or a comment; a line that
// holds anything else is no configuration and gives no entries. True when the
// last entry is followed by a comma: the block goes on on the next line.
bool TakeEntries(TLineScanner &scanner, int line, std::vector<TConfigEntry> &entries) {
  const size_t before = entries.size();
  TConfigEntry entry;
  for (;;) {
    if (!TakeEntry(scanner, line, entry))
      break;
    entries.push_back(entry);
    const bool comma = scanner.Take(',');
    if (scanner.AtEnd())
      return comma;
    if (!comma)
      break;
  }
  entries.resize(before);
  return false;
}

std::string WithoutPicPrefix(const std::string &name) {
  if (name.size() > 3 && CompareText(std::string_view(name).substr(0, 3), "PIC") == 0)
    return name.substr(3);
  return name;
}
} // namespace

TParsedConfig ParseConfigText(std::string_view text) {
  TParsedConfig result;
  TStringList lines;
  SplitTextLines(text, lines);
  bool inBlock = false; // a Tarnwick block whose last entry was followed by a comma
  for (int i = 0; i < lines.Count(); ++i) {
    const int number = i + 1;
    TLineScanner scanner(lines[i]);
    if (inBlock) {
      if (scanner.AtEnd())
        continue; // blank or comment lines inside a block
      inBlock = TakeEntries(scanner, number, result.Entries);
      continue;
    }
    if (scanner.TakeKeyword("config")) {
      // The block's entries follow on this line or the next ones.
      inBlock = scanner.AtEnd() || TakeEntries(scanner, number, result.Entries);
      continue;
    }
    scanner.Reset(0);
    if (scanner.TakeKeyword("device")) {
      std::string name;
      if (scanner.Take('=') && scanner.TakeName(name) && scanner.AtEnd() && result.DeviceLine == 0) {
        result.Device = WithoutPicPrefix(name);
        result.DeviceLine = number;
      }
    }
  }
  return result;
}
