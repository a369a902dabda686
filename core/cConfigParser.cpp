// The configuration text's reader: a line at a time, a small scanner per line.
#include "core/cConfigParser.h"

#include "common/cErrors.h"
#include "common/cNumbers.h"
#include "common/cStringList.h"
#include "common/cTextLines.h"
#include "core/cDeviceList.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace {
// The row that names a family's keyword in messages: the family's first.
constexpr const TSyntax &RowOf(TSyntaxFamily family) {
  for (const TSyntax &syntax : kSyntaxes)
    if (syntax.Family == family)
      return syntax;
  return kSyntaxes[0];
}

// Word Index of Text, words being separated by blanks; empty past the last.
constexpr std::string_view WordOf(std::string_view text, size_t index) {
  size_t start = text.find_first_not_of(' ');
  for (; start != std::string_view::npos; --index) {
    const size_t end = std::min(text.find(' ', start), text.size());
    if (index == 0)
      return text.substr(start, end - start);
    start = text.find_first_not_of(' ', end);
  }
  return {};
}

// The keywords and comment markers read, from the rows that write them
// (core/cSyntax.h): the house forms' "config" and the "device" of their
// "device = NAME"; C's "#pragma config" as "#" and two words, blanks allowed
// between; assembler's "PROCESSOR" and "CONFIG"; the comments' "//" (the house
// forms' and C's), "'" (Orvane's) and ";" (assembler's).
constexpr std::string_view kHouseKeyword = RowOf(TSyntaxFamily::House).Keyword;
constexpr std::string_view kDeviceWord = WordOf(RowOf(TSyntaxFamily::House).DeviceBefore, 0);
constexpr std::string_view kPragmaWord = WordOf(RowOf(TSyntaxFamily::Pragma).Keyword.substr(1), 0);
constexpr std::string_view kPragmaKeyword = WordOf(RowOf(TSyntaxFamily::Pragma).Keyword.substr(1), 1);
constexpr std::string_view kProcessorWord = WordOf(RowOf(TSyntaxFamily::Directive).DeviceBefore, 0);
constexpr std::string_view kDirectiveKeyword = RowOf(TSyntaxFamily::Directive).Keyword;
constexpr std::string_view kLineComment = RowOf(TSyntaxFamily::House).Comment;
constexpr char kQuoteComment = kOrvaneSyntax.Comment[0];
constexpr char kSemicolonComment = RowOf(TSyntaxFamily::Directive).Comment[0];
static_assert(RowOf(TSyntaxFamily::Pragma).Keyword[0] == '#' &&
                  RowOf(TSyntaxFamily::Pragma).Comment == kLineComment && kOrvaneSyntax.Comment.size() == 1 &&
                  RowOf(TSyntaxFamily::Directive).Comment.size() == 1,
              "the reader's clauses read these shapes");

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

// A scanner over one line. In the house forms a comment ends the line; in C and
// assembler (Values) the comments are cut out already, a name or setting may
// stand in double or single quotes, and so may a whole entry.
class TLineScanner {
public:
  explicit TLineScanner(std::string_view line, size_t position = 0, bool values = false)
      : FLine(line), FPos(position), FValues(values) {}

  void SkipBlanks() {
    while (FPos < FLine.size() && IsBlank(FLine[FPos]))
      ++FPos;
  }
  bool AtComment() const {
    return !FValues && FPos < FLine.size() &&
           (FLine[FPos] == kQuoteComment || FLine.substr(FPos, kLineComment.size()) == kLineComment);
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
    if (after < FLine.size() && IsName(FLine[after]) &&
        (FValues || FLine.substr(after, kLineComment.size()) != kLineComment))
      return false;
    FPos = after;
    return true;
  }
  // A name or setting: a run of characters other than blanks, "=", ",", "'" and
  // the "//" of a comment (in C and assembler: '"', but "//" is no comment).
  bool TakeName(std::string_view &name) {
    SkipBlanks();
    const size_t start = FPos;
    const size_t size = FLine.size();
    for (; FPos < size && IsName(FLine[FPos]); ++FPos)
      if (!FValues && FLine[FPos] == kLineComment[0] &&
          FLine.substr(FPos, kLineComment.size()) == kLineComment)
        break;
    name = FLine.substr(start, FPos - start);
    return FPos > start;
  }
  // "NAME = SETTING"; on failure the scanner is where it was.
  bool TakeEntry(std::string_view &name, std::string_view &setting) {
    const size_t start = FPos;
    if (FValues) {
      std::string_view quoted;
      if (TakeQuoted(quoted)) {
        TLineScanner whole(quoted, 0, true);
        if (whole.TakeEntry(name, setting) && whole.AtEnd())
          return true;
        FPos = start;
      }
      if (TakeWord(name) && Take('=') && TakeWord(setting))
        return true;
    } else if (TakeName(name) && Take('=') && TakeName(setting)) {
      return true;
    }
    FPos = start;
    return false;
  }
  // The comment's text after its marker and blanks; the scanner must be at it.
  std::string_view CommentText() const {
    return Trimmed(FLine.substr(FPos + (FLine[FPos] == kQuoteComment ? 1 : kLineComment.size())));
  }
  // The rest of the line, without blanks around it.
  std::string_view Rest() const { return Trimmed(FLine.substr(std::min(FPos, FLine.size()))); }
  size_t Position() const { return FPos; }

private:
  bool IsName(char c) const { return IsNameChar(c) && !(FValues && c == '"'); }
  // What stands between a double or a single quote and the next of its kind.
  bool TakeQuoted(std::string_view &inside) {
    SkipBlanks();
    if (FPos >= FLine.size() || (FLine[FPos] != '"' && FLine[FPos] != '\''))
      return false;
    const size_t close = FLine.find(FLine[FPos], FPos + 1);
    if (close == std::string_view::npos)
      return false;
    inside = FLine.substr(FPos + 1, close - FPos - 1);
    FPos = close + 1;
    return true;
  }
  // A name, or a name in quotes.
  bool TakeWord(std::string_view &word) {
    const size_t start = FPos;
    std::string_view quoted;
    if (!TakeQuoted(quoted))
      return TakeName(word);
    TLineScanner inside(quoted, 0, true);
    if (inside.TakeName(word) && inside.AtEnd())
      return true;
    FPos = start;
    return false;
  }

  std::string_view FLine;
  size_t FPos = 0;
  bool FValues = false;
};

enum class TEntriesShape {
  None,   // no entry at all
  Broken, // an entry, then something that is not a further one
  Whole,  // entries separated by commas, then the end or a comment
};

TEntriesShape ShapeOfEntries(std::string_view line, size_t position, bool &trailingComma,
                             bool values = false) {
  TLineScanner scanner(line, position, values);
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

// Whether Line from Position is entries as the house forms write them, no comma
// after the last, followed by a "'" comment: an Orvane statement, which C and
// assembler cannot read.
bool IsOrvaneStatement(std::string_view line, size_t position) {
  TLineScanner scanner(line, position);
  std::string_view name;
  std::string_view setting;
  do {
    if (!scanner.TakeEntry(name, setting))
      return false;
  } while (scanner.Take(','));
  return scanner.AtEnd() && scanner.Position() < line.size() && line[scanner.Position()] == kQuoteComment;
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

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Whether Line begins, after blanks, with Word in any letter case, followed by
// no letter, digit or "_" ("__CONFIG" in "__CONFIG(...)" and "__config _CONFIG1H").
bool BeginsWithWord(std::string_view line, std::string_view word) {
  line = Trimmed(line);
  if (CompareText(line.substr(0, word.size()), word) != 0)
    return false;
  if (line.size() == word.size())
    return true;
  const auto after = static_cast<unsigned char>(line[word.size()]);
  return !(std::isalnum(after) || after == '_');
}

// A device's name as C and assembler give it, without "PIC" or "P" before its
// digits (PIC18F4520, p18f4520, 18F4520); empty where no digits and a letter follow.
std::string_view PartName(std::string_view name) {
  if (name.size() > 3 && CompareText(name.substr(0, 3), "PIC") == 0)
    name.remove_prefix(3);
  else if (!name.empty() && (name[0] == 'p' || name[0] == 'P'))
    name.remove_prefix(1);
  size_t digits = 0;
  while (digits < name.size() && IsDigit(name[digits]))
    ++digits;
  return digits > 0 && digits < name.size() && std::isalpha(static_cast<unsigned char>(name[digits]))
             ? name
             : std::string_view();
}

// The device a header's file name names (p18f4520.inc, pic18f4520.h; in any
// folder), or empty: another file (xc.h, p18cxxx.inc), or a C header where only
// an assembler's ".inc" counts.
std::string_view PartOfFile(std::string_view file, bool incOnly) {
  const size_t slash = file.find_last_of("/\\");
  if (slash != std::string_view::npos)
    file.remove_prefix(slash + 1);
  const size_t dot = file.rfind('.');
  if (dot == std::string_view::npos)
    return {};
  const std::string_view extension = file.substr(dot + 1);
  if (CompareText(extension, "inc") != 0 && (incOnly || CompareText(extension, "h") != 0))
    return {};
  const std::string_view name = PartName(file.substr(0, dot));
  for (size_t i = 0; i + 3 <= name.size(); ++i)
    if (CompareText(name.substr(i, 3), "xxx") == 0)
      return {}; // a family's header, for any of its parts
  return name;
}

// The file an include names after its keyword: <FILE>, "FILE" or FILE.
std::string_view IncludedFile(std::string_view rest) {
  rest = Trimmed(rest);
  if (rest.empty())
    return {};
  if (rest[0] == '<' || rest[0] == '"') {
    const size_t close = rest.find(rest[0] == '<' ? '>' : '"', 1);
    return close == std::string_view::npos ? std::string_view() : rest.substr(1, close - 1);
  }
  size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end]))
    ++end;
  return rest.substr(0, end);
}

// The text of a line that is a comment only ("// x", "/* x */", in assembler
// "; x"), without the markers and blanks around it; false for any other line.
bool CommentOnly(std::string_view line, bool semicolon, std::string_view &comment) {
  line = Trimmed(line);
  if (line.substr(0, kLineComment.size()) == kLineComment ||
      (semicolon && !line.empty() && line[0] == kSemicolonComment)) {
    comment = Trimmed(line.substr(line[0] == kSemicolonComment ? 1 : kLineComment.size()));
    return true;
  }
  if (line.substr(0, 2) == "/*" && line.size() >= 4 && line.find("*/", 2) == line.size() - 2) {
    comment = Trimmed(line.substr(2, line.size() - 4));
    return true;
  }
  return false;
}

// The device the vendor IDE's heading names: "PIC18F4520 Configuration Bit
// Settings", also with a blank after "PIC" and with text after it ("... (generated
// in Memory View)"); empty for another comment.
std::string_view DeviceOfHeading(std::string_view comment) {
  constexpr std::string_view kHeading = "Configuration Bit Settings";
  if (CompareText(comment.substr(0, 3), "PIC") != 0)
    return {};
  size_t start = 3;
  while (start < comment.size() && IsBlank(comment[start]))
    ++start;
  size_t end = start;
  while (end < comment.size() && !IsBlank(comment[end]))
    ++end;
  const std::string_view rest = Trimmed(comment.substr(end));
  if (CompareText(rest.substr(0, kHeading.size()), kHeading) != 0 ||
      (rest.size() > kHeading.size() && std::isalnum(static_cast<unsigned char>(rest[kHeading.size()]))))
    return {};
  return PartName(comment.substr(start, end - start));
}

// The device a comment names: "device = NAME" (the generator's), or the vendor
// IDE's heading; empty for another.
std::string_view DeviceOfComment(std::string_view comment) {
  TLineScanner device(comment);
  std::string_view name;
  if (device.TakeKeyword(kDeviceWord) && device.Take('=') && device.TakeName(name) && device.AtEnd())
    return WithoutPicPrefix(name);
  return DeviceOfHeading(comment);
}

// Whether a line ends in a backslash, blanks after it allowed (as C compilers
// allow them, with a warning): the line goes on over the next one.
bool EndsInBackslash(std::string_view line) {
  line = Trimmed(line);
  return !line.empty() && line.back() == '\\';
}

// Code up to a ";" outside quotes: what assembler reads of a line.
std::string_view BeforeSemicolon(std::string_view code) {
  const size_t size = code.size();
  for (size_t i = 0; i < size; ++i) {
    const char c = code[i];
    if (c == kSemicolonComment)
      return code.substr(0, i);
    if (c == '"' || c == '\'') {
      for (++i; i < size && code[i] != c; ++i)
        if (code[i] == '\\')
          ++i;
    }
  }
  return code;
}

bool IsSymbolChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// A symbol of the legacy forms: letters, digits and "_", not beginning with a digit.
bool IsSymbol(std::string_view text) {
  return !text.empty() && !IsDigit(text[0]) && std::all_of(text.begin(), text.end(), IsSymbolChar);
}

// A term of a legacy value: without blanks and parentheses around it.
std::string_view Term(std::string_view text) {
  while (!text.empty() && (IsBlank(text.front()) || text.front() == '('))
    text.remove_prefix(1);
  while (!text.empty() && (IsBlank(text.back()) || text.back() == ')'))
    text.remove_suffix(1);
  return text;
}

// A number without its "U" suffix.
std::string_view WithoutSuffix(std::string_view number) {
  if (number.size() > 1 && (number.back() == 'U' || number.back() == 'u'))
    number.remove_suffix(1);
  return number;
}

// The first "," of Text outside parentheses, or npos.
size_t TopLevelComma(std::string_view text) {
  int depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    depth += text[i] == '(' ? 1 : text[i] == ')' ? -1 : 0;
    if (text[i] == ',' && depth == 0)
      return i;
  }
  return std::string_view::npos;
}

// Parentheses opened and not closed in Text (negative: more closed).
int OpenParentheses(std::string_view text) {
  int depth = 0;
  for (const char c : text)
    depth += c == '(' ? 1 : c == ')' ? -1 : 0;
  return depth;
}

// A legacy "__CONFIG" statement: C's macro "__CONFIG(ARGUMENTS)" and a ";" after it,
// or assembler's directive "__CONFIG ARGUMENTS" to the end of the line; ARGUMENTS
// a VALUE or "WORD, VALUE", VALUE one number or symbols joined by "&".
struct TLegacyStatement {
  bool Macro = false;     // C's form, its arguments in parentheses
  bool Closed = false;    // (the macro) its parenthesis is closed
  bool Semicolon = false; // (the macro) a ";" follows it
  bool Readable = false;  // its arguments are of the forms above
  bool Number = false;    // VALUE is one number
  std::string_view Where; // WORD, a name or a number; empty for none
  std::string_view Value; // the number without its suffix, or the symbols with "&" between
};

// The statement at Position ("__CONFIG" after blanks), Position moved past it (the
// directive: to the end of Code, in C's text up to a ";" comment).
void TakeLegacyStatement(std::string_view code, size_t &position, bool cutSemicolon,
                         TLegacyStatement &statement) {
  constexpr std::string_view kKeyword = "__CONFIG";
  statement = {};
  const size_t size = code.size();
  size_t i = position;
  while (i < size && IsBlank(code[i]))
    ++i;
  i += kKeyword.size();
  while (i < size && IsBlank(code[i]))
    ++i;
  std::string_view arguments;
  if (i < size && code[i] == '(') {
    statement.Macro = true;
    const size_t open = ++i;
    for (int depth = 1; depth > 0; ++i) {
      if (i >= size) {
        position = size; // not closed
        return;
      }
      depth += code[i] == '(' ? 1 : code[i] == ')' ? -1 : 0;
    }
    statement.Closed = true;
    arguments = code.substr(open, i - 1 - open);
    while (i < size && IsBlank(code[i]))
      ++i;
    statement.Semicolon = i < size && code[i] == ';';
    position = statement.Semicolon ? i + 1 : i;
  } else {
    arguments = code.substr(std::min(i, size));
    if (cutSemicolon)
      arguments = BeforeSemicolon(arguments);
    position = size;
  }
  std::string_view value = arguments;
  const size_t comma = TopLevelComma(arguments);
  if (comma != std::string_view::npos) {
    statement.Where = Term(arguments.substr(0, comma));
    value = arguments.substr(comma + 1);
    uint32_t number = 0;
    if (TopLevelComma(value) != std::string_view::npos ||
        !(IsSymbol(statement.Where) || ParseLegacyNumber(statement.Where, number)))
      return;
  }
  // One number, or symbols only.
  size_t terms = 0;
  bool symbols = true;
  std::string_view term;
  for (size_t from = 0; from <= value.size(); ++terms) {
    const size_t amp = std::min(value.find('&', from), value.size());
    term = Term(value.substr(from, amp - from));
    symbols = symbols && IsSymbol(term);
    from = amp + 1;
  }
  uint32_t number = 0;
  statement.Number = terms == 1 && ParseLegacyNumber(term, number);
  statement.Readable = statement.Number || symbols;
  statement.Value = statement.Number ? WithoutSuffix(term) : value;
}

// C's legacy macro as C writes it: "__CONFIG(...);", or "__CONFIG(" left open to go
// on over the next lines, which only C does.
bool IsCMacro(std::string_view line) {
  if (!BeginsWithWord(line, "__CONFIG"))
    return false;
  size_t position = 0;
  TLegacyStatement statement;
  TakeLegacyStatement(line, position, false, statement);
  return statement.Macro && (statement.Semicolon || !statement.Closed);
}

// What may stand on the lines of a "__CONFIG(" that goes on: symbols, numbers, "&",
// parentheses, "," and ";" (quotes, for assembler's numbers), blanks; or nothing.
bool IsMacroText(std::string_view code) {
  return std::all_of(code.begin(), code.end(), [](char c) {
    return IsSymbolChar(c) || IsBlank(c) || std::strchr("&(),;'", c) != nullptr;
  });
}

// A macro goes on over at most this many lines.
constexpr int kMaxJoinedLines = 64;

// A setting written as a "0x" or "0b" number, which names no setting.
bool IsPrefixedNumber(std::string_view setting) {
  uint32_t value = 0;
  return setting.size() > 2 && setting[0] == '0' && std::strchr("xXbB", setting[1]) != nullptr &&
         ParseNumber(setting, value);
}

// The device a "LIST" directive's options name (after the keyword): P=NAME.
std::string_view ListedPart(TLineScanner &options) {
  std::string_view name;
  std::string_view value;
  do {
    if (options.TakeEntry(name, value)) {
      if (CompareText(name, "P") == 0)
        return PartName(value);
    } else if (!options.TakeName(name)) {
      return {};
    }
  } while (options.Take(','));
  return {};
}

// The device an assembler directive names, "PROCESSOR NAME" or "LIST P=NAME" (Code
// without comments); empty for another line.
std::string_view DeviceOfDirective(std::string_view code) {
  TLineScanner directive(code, 0, true);
  std::string_view name;
  if (directive.TakeKeyword(kProcessorWord))
    return directive.TakeName(name) && directive.AtEnd() ? PartName(name) : std::string_view();
  return directive.TakeKeyword("list") ? ListedPart(directive) : std::string_view();
}

// The evidence of C: a "#pragma config" line, or the generator's first line
// "/* device = NAME */".
bool IsCEvidence(std::string_view line) {
  TLineScanner pragma(line);
  if (pragma.Take('#'))
    return pragma.TakeKeyword(kPragmaWord) && pragma.TakeKeyword(kPragmaKeyword);
  std::string_view comment;
  return Trimmed(line).substr(0, 2) == "/*" && CommentOnly(line, false, comment) &&
         !DeviceOfComment(comment).empty() &&
         CompareText(comment.substr(0, kDeviceWord.size()), kDeviceWord) == 0;
}

enum class TEvidence {
  None,
  Hint, // a line that only assembler reads, but that a file's name may overrule
  Own,  // a line only assembler has
};

// A "config" line that only assembler reads: its entries followed by a ";" comment
// before any comment of the house forms, or a setting given as a "0x" or "0b"
// number, up to a comment.
bool IsAssemblerConfig(std::string_view line) {
  TLineScanner config(line);
  if (!config.TakeKeyword(kDirectiveKeyword))
    return false;
  const std::string_view rest = line.substr(config.Position());
  const std::string_view before = rest.substr(0, rest.find(kSemicolonComment));
  if (before.find(kQuoteComment) != std::string_view::npos)
    return false;
  if (before.size() < rest.size() && before.find('=') != std::string_view::npos &&
      before.find(kLineComment) == std::string_view::npos)
    return true;
  TLineScanner entries(before.substr(0, before.find(kLineComment)), 0, true);
  std::string_view name;
  std::string_view setting;
  do {
    if (!entries.TakeEntry(name, setting))
      return false;
    if (IsPrefixedNumber(setting))
      return true;
  } while (entries.Take(','));
  return false;
}

// The evidence of assembler (First is the line's first character that is no blank).
TEvidence AssemblerEvidence(char first, std::string_view line) {
  switch (first) {
  case '#': {
    TLineScanner include(line);
    return include.Take('#') && include.TakeKeyword("include") &&
                   !PartOfFile(IncludedFile(include.Rest()), true).empty()
               ? TEvidence::Own
               : TEvidence::None;
  }
  case '_':
    return BeginsWithWord(line, "__CONFIG") ? TEvidence::Own : TEvidence::None;
  case kSemicolonComment: {
    std::string_view comment;
    return CommentOnly(line, true, comment) && !DeviceOfHeading(comment).empty() ? TEvidence::Own
                                                                                 : TEvidence::None;
  }
  case 'c':
  case 'C':
    return IsAssemblerConfig(line) ? TEvidence::Hint : TEvidence::None;
  default:
    break;
  }
  // "PROCESSOR NAME" or "LIST P=NAME", read up to a comment.
  return DeviceOfDirective(line.substr(0, std::min(line.find(kSemicolonComment), line.find(kLineComment))))
                 .empty()
             ? TEvidence::None
             : TEvidence::Own;
}

// The file extensions that tell a family, in any letter case.
constexpr struct {
  std::string_view Extension;
  TSyntaxFamily Family;
} kExtensions[] = {
    {"c", TSyntaxFamily::Pragma},    {"h", TSyntaxFamily::Pragma},      {"asm", TSyntaxFamily::Directive},
    {"s", TSyntaxFamily::Directive}, {"inc", TSyntaxFamily::Directive}, {"as", TSyntaxFamily::Directive},
    {"bas", TSyntaxFamily::House},   {"pbp", TSyntaxFamily::House},
};

// Open preprocessor blocks kept apart; deeper ones are only counted.
constexpr size_t kMaxConditions = 256;

// The lines each reading acts on, by the keyword they begin with (all others are
// passed over unread): telling the family, before and after assembler's evidence is
// found (then only C's can change it); the house forms outside a block; C and
// assembler outside a comment, where a line may also open one ("/*") or, in C, go
// on over the next with a "//" comment that ends in a backslash. The words are the
// syntax rows' (a filter takes them in either case, so "config" is assembler's
// "CONFIG" too), as a line begins with them: "#" of C's keyword, "/" of its
// comments, ";" and "'" (assembler's and Orvane's comments); the others are the
// legacy forms no row writes.
constexpr std::string_view kHashMark = RowOf(TSyntaxFamily::Pragma).Keyword.substr(0, 1);
constexpr std::string_view kSlashMark = kLineComment.substr(0, 1);
constexpr std::string_view kSemicolonMark = RowOf(TSyntaxFamily::Directive).Comment;
constexpr std::string_view kQuoteMark = kOrvaneSyntax.Comment;
constexpr TLineFilter kTellLines({kHashMark, kSlashMark, "__config", kSemicolonMark, kHouseKeyword, "list",
                                  kProcessorWord});
constexpr TLineFilter kTellCLines({kHashMark, kSlashMark, "__config"});
constexpr TLineFilter kHouseLines({kHouseKeyword, kDeviceWord, kSlashMark, kQuoteMark});
constexpr TLineFilter kValuesLines({kHashMark, "__config", kHouseKeyword, kDeviceWord, "include", "list",
                                    kProcessorWord, kSlashMark, kSemicolonMark},
                                   {"/*", "\\"});

// Whether Line begins, after blanks, with one of Filter's words.
bool BeginsWithWord(std::string_view line, const TLineFilter &filter) {
  const std::string_view rest = line.substr(std::min(line.find_first_not_of(" \t"), line.size()));
  return !rest.empty() && filter.Begins(rest.data(), rest.size());
}
} // namespace

bool ParseLegacyNumber(std::string_view text, uint32_t &value) {
  // The vendor assembler's radix prefix and quotes: H'3F72'.
  if (text.size() > 3 && text[1] == '\'' && text.back() == '\'') {
    const char radix = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    const int base = radix == 'H' ? 16 : radix == 'B' ? 2 : radix == 'D' ? 10 : 0;
    const std::string_view digits = text.substr(2, text.size() - 3);
    uint64_t result = 0;
    if (base == 0 || digits.empty())
      return false;
    for (const char c : digits) {
      const int digit = DigitValue(c, base);
      if (digit < 0 ||
          (result = result * static_cast<unsigned>(base) + static_cast<unsigned>(digit)) > 0xFFFFFFFFu)
        return false;
    }
    value = static_cast<uint32_t>(result);
    return true;
  }
  return ParseNumber(WithoutSuffix(text), value);
}

bool FamilyOfFileName(std::string_view fileName, TSyntaxFamily &family) {
  const size_t slash = fileName.find_last_of("/\\");
  if (slash != std::string_view::npos)
    fileName.remove_prefix(slash + 1);
  const size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos)
    return false;
  const std::string_view extension = fileName.substr(dot + 1);
  for (const auto &row : kExtensions)
    if (CompareText(extension, row.Extension) == 0) {
      family = row.Family;
      return true;
    }
  return false;
}

TSyntaxFamily TellSyntaxFamily(std::string_view text, std::string_view fileName) {
  if (LooksLikeUtf16(text))
    return TSyntaxFamily::House;
  TTextLines lines(text);
  std::string_view line;
  bool assembler = false;
  bool hint = false;
  // Most lines of a program are told by their first character.
  for (lines.SkipLines(kTellLines); lines.Next(line); lines.SkipLines(assembler ? kTellCLines : kTellLines)) {
    const char first = FirstNonBlank(line);
    switch (first) {
    case '#':
    case '/':
      if (IsCEvidence(line))
        return TSyntaxFamily::Pragma;
      break;
    case '_':
      if (IsCMacro(line))
        return TSyntaxFamily::Pragma;
      break;
    case kSemicolonComment:
    case 'c':
    case 'C':
    case 'l':
    case 'L':
    case 'p':
    case 'P':
      break;
    default:
      continue;
    }
    if (!assembler) {
      const TEvidence evidence = AssemblerEvidence(first, line);
      assembler = evidence == TEvidence::Own;
      hint = hint || evidence == TEvidence::Hint;
    }
  }
  if (assembler)
    return TSyntaxFamily::Directive;
  TSyntaxFamily named = TSyntaxFamily::House;
  if (FamilyOfFileName(fileName, named))
    return named;
  return hint ? TSyntaxFamily::Directive : TSyntaxFamily::House;
}

TConfigTextScanner::TConfigTextScanner(std::string_view text, std::string_view fileName)
    : TConfigTextScanner(text, TellSyntaxFamily(text, fileName)) {}

TConfigTextScanner::TConfigTextScanner(std::string_view text, TSyntaxFamily family)
    : FLines(text), FFamily(family), FRestart{FLines, false, false, {}, 0, false} {
  if (LooksLikeUtf16(text))
    FPending = kUtf16Text; // and nothing else of it is read
}

TConfigTextScanner TConfigTextScanner::Rewound() const {
  TConfigTextScanner again(FRestart.Lines.Text(), FFamily);
  if (!FRestart.Taken && FEnded) {
    // The text gave no item: none is left to give.
    again.FPending.clear();
    again.FEnded = true;
    return again;
  }
  again.FLines = FRestart.Lines;
  again.FInComment = FRestart.InComment;
  again.FSpliced = FRestart.Spliced;
  again.FConditions = FRestart.Conditions;
  for (TCondition &condition : again.FConditions)
    condition.Warned = false; // a warning is an item: none was given before the first
  again.FDeepConditions = FRestart.DeepConditions;
  return again;
}

bool TConfigTextScanner::Next(TConfigItem &item) {
  if (!NextItem(item))
    return false;
  if (!FRestart.Taken) {
    FRestart.Taken = true;
    FRestart.Conditions = FConditions;
    FRestart.DeepConditions = FDeepConditions;
  }
  return true;
}

bool TConfigTextScanner::NextItem(TConfigItem &item) {
  if (!FPending.empty()) {
    item = {TConfigItemKind::Problem, 1, {}, {}, std::move(FPending)};
    FPending.clear();
    FEnded = true;
    return true;
  }
  if ((FEntryPos != std::string_view::npos || FSymbolPos != std::string_view::npos) && NextEntry(item))
    return true;
  return NextLine(item);
}

void TConfigTextScanner::StartEntries(std::string_view line, size_t position, TItems items) {
  FLine = line;
  FEntryPos = position;
  FItems = items;
}

bool TConfigTextScanner::NextEntry(TConfigItem &item) {
  if (FItems == TItems::Macros)
    return NextMacro(item);
  TLineScanner scanner(FLine, FEntryPos, FItems == TItems::Values);
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

bool TConfigTextScanner::NextMacro(TConfigItem &item) {
  item.Problem.clear();
  if (FSymbolPos != std::string_view::npos)
    return NextSymbol(item);
  const size_t start = FEntryPos;
  FEntryPos = std::string_view::npos;
  // After the statements, program text.
  if (!BeginsWithWord(FLine.substr(start), "__CONFIG"))
    return false;
  size_t position = start;
  TLegacyStatement statement;
  TakeLegacyStatement(FLine, position, FFamily != TSyntaxFamily::Directive, statement);
  item.Line = LineAt(start);
  if (!statement.Readable) {
    item.Kind = TConfigItemKind::Warning;
    item.Problem = NotRead();
    return true;
  }
  FEntryPos = position < FLine.size() ? position : std::string_view::npos;
  uint32_t number = 0;
  if (statement.Macro && statement.Number && ParseNumber(statement.Where, number)) {
    item.Kind = TConfigItemKind::Word;
    item.Name = statement.Where;
    item.Setting = statement.Value;
    return true;
  }
  item.Problem = NotRead();
  if (statement.Number) {
    item.Kind = TConfigItemKind::Legacy;
    item.Name = statement.Where;
    item.Setting = statement.Value;
    return true;
  }
  FWhere = statement.Where;
  FSymbolPos = static_cast<size_t>(statement.Value.data() - FLine.data());
  FSymbolsEnd = FSymbolPos + statement.Value.size();
  return NextSymbol(item);
}

bool TConfigTextScanner::NextSymbol(TConfigItem &item) {
  const size_t amp = std::min(FLine.find('&', FSymbolPos), FSymbolsEnd);
  const std::string_view term = Term(FLine.substr(FSymbolPos, amp - FSymbolPos));
  item.Kind = TConfigItemKind::Legacy;
  item.Name = FWhere;
  item.Setting = term;
  item.Line = LineAt(static_cast<size_t>(term.data() - FLine.data()));
  FSymbolPos = amp < FSymbolsEnd ? amp + 1 : std::string_view::npos;
  return true;
}

int TConfigTextScanner::LineAt(size_t position) const {
  int line = FLines.Number();
  for (const auto &[offset, number] : FJoinedLines)
    if (offset <= position)
      line = number;
  return line;
}

std::string TConfigTextScanner::NotRead() const {
  return "a legacy __CONFIG line is not read; write its settings as " + std::string(RowOf(FFamily).Keyword) +
         " NAME = SETTING: " + QuotedLine(FRawLine);
}

std::string_view TConfigTextScanner::JoinedMacro(std::string_view code) {
  FJoined.assign(code);
  FJoinedLines.assign(1, {0, FLines.Number()});
  int open = OpenParentheses(code);
  std::string_view line;
  for (int joined = 0; open > 0 && joined < kMaxJoinedLines && FLines.Next(line); ++joined) {
    const bool inComment = FInComment;
    const bool spliced = FSpliced;
    std::string_view more;
    if (FSpliced)
      FSpliced = EndsInBackslash(line); // the end of a "//" comment
    else
      more = CodeOf(line);
    if (!IsMacroText(more)) {
      // Another statement: read it again as it began.
      FInComment = inComment;
      FSpliced = spliced;
      FLines.Again();
      break;
    }
    FJoinedLines.emplace_back(FJoined.size() + 1, FLines.Number());
    FJoined.append(" ").append(more);
    open += OpenParentheses(more);
  }
  return FJoined;
}

bool TConfigTextScanner::NextLine(TConfigItem &item) {
  item.Name = {};
  item.Setting = {};
  item.Problem.clear();
  std::string_view line;
  while (!FEnded) {
    // Lines that can give nothing are passed over unread, outside a block and a
    // comment (and the line a C comment's backslash goes on over).
    if (!FInBlock && (FFamily == TSyntaxFamily::House || (!FInComment && !FSpliced)))
      FLines.SkipLines(FFamily == TSyntaxFamily::House ? kHouseLines : kValuesLines);
    if (!FRestart.Taken) {
      FRestart.Lines = FLines;
      FRestart.InComment = FInComment;
      FRestart.Spliced = FSpliced;
    }
    if (!FLines.Next(line)) {
      FEnded = true;
      return EndOfText(item);
    }
    if (line.empty()) {
      FLines.SkipEmptyLines(); // counted at once: they never matter
      continue;
    }
    // An open block's lines are the house forms' in every family.
    if (FInBlock                          ? BlockLine(line, item)
        : FFamily != TSyntaxFamily::House ? ValuesLine(line, item)
                                          : HouseLine(line, item))
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
  if (scanner.TakeKeyword(kHouseKeyword)) {
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
    StartEntries(line, position, TItems::House);
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
  case kQuoteComment:
    break;
  default:
    return false;
  }
  const int number = FLines.Number();
  TLineScanner scanner(line);
  if (scanner.TakeKeyword(kHouseKeyword)) {
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
      StartEntries(line, position, TItems::House);
      item.Kind = TConfigItemKind::Config;
      return true;
    case TEntriesShape::Broken:
      item.Kind = TConfigItemKind::Problem;
      item.Problem = "expected NAME = SETTING entries separated by commas after " +
                     std::string(kHouseKeyword) + "; found " + QuotedLine(line);
      return true;
    case TEntriesShape::None:
      return false; // program text that begins with the word, such as "config = 5"
    }
  }

  TLineScanner device(line);
  std::string_view name;
  if (device.TakeKeyword(kDeviceWord) && device.Take('=') && device.TakeName(name) && device.AtEnd()) {
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

bool TConfigTextScanner::ValuesLine(std::string_view line, TConfigItem &item) {
  const bool assembler = FFamily == TSyntaxFamily::Directive;
  FLineInComment = FInComment;
  FLineSpliced = FSpliced;
  FRawLine = line;
  if (FSpliced) {
    // C reads the line as the end of the "//" comment before it.
    FSpliced = EndsInBackslash(line);
    return false;
  }
  // A line that begins with no keyword nor comment only opens or closes comments
  // (SkipLines stopped at it for a mark), and only matters where its last "/*" is
  // left open (a "*/" after it closes whichever opened) or it ends in a backslash.
  if (!FInComment && !BeginsWithWord(line, kValuesLines)) {
    const size_t open = line.rfind("/*");
    if ((open != std::string_view::npos && line.find("*/", open + 2) == std::string_view::npos) ||
        EndsInBackslash(line))
      CodeOf(line);
    return false;
  }
  // A comment only; in C, a ";" comment only where it names the device (assembler's
  // heading in a C text).
  std::string_view comment;
  const std::string_view trimmed = Trimmed(line);
  if (!FInComment && CommentOnly(line, true, comment) &&
      (assembler || trimmed[0] != kSemicolonComment || !DeviceOfComment(comment).empty())) {
    FSpliced =
        !assembler && trimmed.substr(0, kLineComment.size()) == kLineComment && EndsInBackslash(trimmed);
    return !Skipped() && CommentLine(comment, item);
  }
  const std::string_view code = CodeOf(line);
  const char first = FirstNonBlank(code);
  if (first == '#')
    return HashLine(code, item);
  if (Skipped())
    return false;
  switch (first) {
  case '_':
    return LegacyLine(code, item);
  case 'c':
  case 'C':
    return ConfigKeywordLine(code, item);
  case 'd':
  case 'D':
    return DeviceLine(code, item);
  case 'i':
  case 'I':
  case 'l':
  case 'L':
  case 'p':
  case 'P':
    return AssemblerLine(AssemblerCode(code), first, item);
  default:
    return false;
  }
}

std::string_view TConfigTextScanner::AssemblerCode(std::string_view code) const {
  return FFamily == TSyntaxFamily::Directive ? code : BeforeSemicolon(code);
}

bool TConfigTextScanner::LegacyLine(std::string_view code, TConfigItem &item) {
  if (!BeginsWithWord(code, "__CONFIG"))
    return false;
  // Under a condition, a statement to be read is read with its warning; a macro left
  // open is taken to be one.
  size_t position = 0;
  TLegacyStatement statement;
  TakeLegacyStatement(code, position, FFamily != TSyntaxFamily::Directive, statement);
  if ((statement.Readable || (statement.Macro && !statement.Closed)) && WarnOfCondition(item))
    return true;
  FJoinedLines.clear();
  if (OpenParentheses(code) > 0)
    code = JoinedMacro(code);
  // The statements' words and symbols, or the warning that they are not read.
  StartEntries(code, 0, TItems::Macros);
  FSymbolPos = std::string_view::npos;
  return NextMacro(item);
}

bool TConfigTextScanner::ConfigKeywordLine(std::string_view code, TConfigItem &item) {
  const std::string_view assemblerCode = AssemblerCode(code);
  TLineScanner directive(assemblerCode, 0, true);
  if (!directive.TakeKeyword(kDirectiveKeyword))
    return false;
  // Each form where only it reads the line: a keyword alone opens a house block;
  // entries read whole are assembler's, else an Orvane statement's; what none reads
  // is assembler's problem in assembler, and C's own program text in C.
  const size_t position = directive.Position();
  // The house forms read the line as it stands, their comments in it.
  TLineScanner house(FRawLine);
  const bool houseKeyword = !FLineInComment && house.TakeKeyword(kHouseKeyword);
  bool comma = false;
  if (directive.AtEnd()) {
    if (houseKeyword && house.AtEnd())
      return WarnOfCondition(item) || HouseLine(FRawLine, item);
    return FFamily == TSyntaxFamily::Directive &&
           ConfigLine(assemblerCode, position, TSyntaxFamily::Directive, item);
  }
  if (ShapeOfEntries(assemblerCode, position, comma, true) == TEntriesShape::Whole && !comma) {
    // In C, "config x = 5;" is C's own statement: assembler's ";" comment says something.
    if (assemblerCode.size() < code.size() && Trimmed(code.substr(assemblerCode.size() + 1)).empty())
      return false;
    return ConfigLine(assemblerCode, position, TSyntaxFamily::Directive, item);
  }
  // An Orvane statement, with its "'" comment.
  if (houseKeyword && IsOrvaneStatement(FRawLine, house.Position()))
    return WarnOfCondition(item) || HouseLine(FRawLine, item);
  return FFamily == TSyntaxFamily::Directive &&
         ConfigLine(assemblerCode, position, TSyntaxFamily::Directive, item);
}

bool TConfigTextScanner::DeviceLine(std::string_view code, TConfigItem &item) {
  // "device = NAME" as the house forms write it, NAME a device's (in C,
  // "device = x" may be a program's own).
  TLineScanner device(AssemblerCode(code));
  std::string_view name;
  if (!(device.TakeKeyword(kDeviceWord) && device.Take('=') && device.TakeName(name) && device.AtEnd()))
    return false;
  item.Name = PartName(name);
  item.Kind = TConfigItemKind::Device;
  item.Line = FLines.Number();
  return !item.Name.empty();
}

bool TConfigTextScanner::AssemblerLine(std::string_view code, char first, TConfigItem &item) {
  TLineScanner directive(code, 0, true);
  std::string_view name;
  if (first == 'i' || first == 'I') {
    if (directive.TakeKeyword("include"))
      name = PartOfFile(IncludedFile(directive.Rest()), false);
  } else {
    name = DeviceOfDirective(code);
  }
  if (name.empty())
    return false;
  item.Kind = TConfigItemKind::Device;
  item.Line = FLines.Number();
  item.Name = name;
  return true;
}

bool TConfigTextScanner::HashLine(std::string_view code, TConfigItem &item) {
  TLineScanner directive(code, 0, true);
  directive.Take('#');
  const int number = FLines.Number();
  // Preprocessor blocks: followed even where passed over, for their nesting.
  const bool isIf = directive.TakeKeyword("if");
  if (isIf || directive.TakeKeyword("ifdef") || directive.TakeKeyword("ifndef")) {
    if (FConditions.size() >= kMaxConditions) {
      ++FDeepConditions;
      return false;
    }
    const bool zero = isIf && directive.Rest() == "0";
    FConditions.push_back({number, FRawLine, zero, !zero, false, zero});
    return false;
  }
  const bool isElif = directive.TakeKeyword("elif");
  if (isElif || directive.TakeKeyword("else")) {
    if (FDeepConditions > 0 || FConditions.empty())
      return false;
    TCondition &condition = FConditions.back();
    const bool zero = isElif && directive.Rest() == "0";
    condition.Skipped = zero;
    condition.Assumed = !zero && !(condition.OnlyZeros && !isElif);
    condition.OnlyZeros = condition.OnlyZeros && zero;
    condition.Line = number;
    condition.Directive = FRawLine;
    condition.Warned = false;
    return false;
  }
  if (directive.TakeKeyword("endif")) {
    if (FDeepConditions > 0)
      --FDeepConditions;
    else if (!FConditions.empty())
      FConditions.pop_back();
    return false;
  }
  if (Skipped())
    return false;
  if (directive.TakeKeyword(kPragmaWord) && directive.TakeKeyword(kPragmaKeyword))
    return ConfigLine(code, directive.Position(), TSyntaxFamily::Pragma, item);
  if (!directive.TakeKeyword("include"))
    return false;
  const std::string_view name = PartOfFile(IncludedFile(directive.Rest()), false);
  if (name.empty())
    return false;
  item.Kind = TConfigItemKind::Device;
  item.Line = number;
  item.Name = name;
  return true;
}

bool TConfigTextScanner::CommentLine(std::string_view comment, TConfigItem &item) {
  item.Line = FLines.Number();
  if (CompareText(comment, kAllDefaultsComment) == 0) {
    item.Kind = TConfigItemKind::Config;
    return true;
  }
  item.Name = DeviceOfComment(comment);
  item.Kind = TConfigItemKind::Device;
  return !item.Name.empty();
}

bool TConfigTextScanner::ConfigLine(std::string_view code, size_t position, TSyntaxFamily family,
                                    TConfigItem &item) {
  const std::string keyword(RowOf(family).Keyword);
  item.Line = FLines.Number();
  bool comma = false;
  if (TLineScanner(code, position, true).AtEnd()) {
    item.Kind = TConfigItemKind::Problem;
    item.Problem = "the " + keyword + " line has no entries";
    return true;
  }
  if (ShapeOfEntries(code, position, comma, true) != TEntriesShape::Whole || comma) {
    item.Kind = TConfigItemKind::Problem;
    item.Problem = "expected NAME = SETTING entries separated by commas after " + keyword + "; found " +
                   QuotedLine(FRawLine);
    return true;
  }
  if (WarnOfCondition(item))
    return true;
  StartEntries(code, position, TItems::Values);
  item.Kind = TConfigItemKind::Config;
  return true;
}

std::string_view TConfigTextScanner::CodeOf(std::string_view line) {
  const bool semicolon = FFamily == TSyntaxFamily::Directive;
  size_t i = 0;
  if (FInComment) {
    const size_t end = line.find("*/");
    if (end == std::string_view::npos)
      return {};
    FInComment = false;
    i = end + 2;
  } else if (line.find('/') == std::string_view::npos &&
             (!semicolon || line.find(kSemicolonComment) == std::string_view::npos)) {
    return line; // no comment in it: most lines
  }
  // The text kept so far is FCode plus Line from Kept on; each comment a blank.
  FCode.assign(i > 0 ? " " : "");
  size_t kept = i;
  const size_t size = line.size();
  while (i < size) {
    const char c = line[i];
    if (c == '"' || c == '\'') {
      // A string or a character: comment markers inside it are its text.
      for (++i; i < size && line[i] != c; ++i)
        if (line[i] == '\\')
          ++i;
      ++i;
      continue;
    }
    const bool lineComment =
        (c == '/' && i + 1 < size && line[i + 1] == '/') || (semicolon && c == kSemicolonComment);
    if (!lineComment && !(c == '/' && i + 1 < size && line[i + 1] == '*')) {
      ++i;
      continue;
    }
    FCode.append(line.substr(kept, i - kept)).append(" ");
    if (lineComment) {
      // In C, a "//" comment whose line ends in a backslash goes on over the next.
      FSpliced = FFamily == TSyntaxFamily::Pragma && c == '/' && EndsInBackslash(line);
      return FCode;
    }
    const size_t end = line.find("*/", i + 2);
    if (end == std::string_view::npos) {
      FInComment = true;
      return FCode;
    }
    i = end + 2;
    kept = i;
  }
  if (kept < size)
    FCode.append(line.substr(kept));
  return FCode;
}

bool TConfigTextScanner::Skipped() const {
  return std::any_of(FConditions.begin(), FConditions.end(),
                     [](const TCondition &condition) { return condition.Skipped; });
}

bool TConfigTextScanner::WarnOfCondition(TConfigItem &item) {
  for (TCondition &condition : FConditions)
    if (condition.Assumed && !condition.Warned) {
      condition.Warned = true;
      item = {TConfigItemKind::Warning,
              condition.Line,
              {},
              {},
              QuotedLine(condition.Directive) + ": the " + std::string(RowOf(FFamily).Keyword) +
                  " lines under it are read as if its condition held; the preprocessor's conditions are not "
                  "evaluated"};
      // The line is read again, its comments as they began.
      FInComment = FLineInComment;
      FSpliced = FLineSpliced;
      FLines.Again();
      return true;
    }
  return false;
}

TTextDevice FindDeviceLine(std::string_view text, std::string_view fileName) {
  TConfigTextScanner scanner(text, fileName);
  return FindDeviceLine(scanner);
}

TTextDevice FindDeviceLine(TConfigTextScanner &scanner) {
  TTextDevice device;
  device.Family = scanner.Family();
  TConfigItem item;
  while ((device.Line == 0 || !device.Found) && scanner.Next(item)) {
    if (item.Kind == TConfigItemKind::Device && device.Line == 0) {
      device.Name = item.Name;
      device.Line = item.Line;
    } else if (item.Kind == TConfigItemKind::Config || item.Kind == TConfigItemKind::Entry ||
               item.Kind == TConfigItemKind::Word || item.Kind == TConfigItemKind::Legacy) {
      device.Found = true;
    }
  }
  return device;
}
