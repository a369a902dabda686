// TStringList: ordered list of 8-bit strings, duplicates allowed, with checked reads.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Three-way comparison used by Sort and the case-insensitive lookups.
using TStringCompare = int (*)(std::string_view, std::string_view);

// Exact, byte-wise comparison.
int CompareStr(std::string_view a, std::string_view b);
// Comparison that ignores the case of the ASCII letters a to z.
int CompareText(std::string_view a, std::string_view b);
// Whether Text ends with Suffix, ignoring the case of the ASCII letters (".atpack").
bool EndsWithText(std::string_view text, std::string_view suffix);
// Upper-cases the ASCII letters a to z; every other byte stays as it is.
std::string UpperCaseAscii(std::string_view text);

class TStringList {
public:
  int Count() const { return FCount; }
  bool Empty() const { return FCount == 0; }

  // Reads entry Index; outside 0..Count-1 raises EListError.
  const std::string &Get(int index) const;
  const std::string &operator[](int index) const { return Get(index); }
  void Put(int index, std::string_view text);
  const std::string &Last() const { return Get(FCount - 1); }

  // Appends; returns the new entry's index. Slots freed by Clear are reused,
  // so refilling a list with short texts allocates nothing.
  int Add(std::string_view text);
  void AddStrings(const TStringList &other);
  void Clear() { FCount = 0; }

  // First exact match, or -1.
  int IndexOf(std::string_view text) const;
  // First match under Compare, or -1.
  int IndexOf(std::string_view text, TStringCompare compare) const;

  // Ascending, stable; exact byte order unless another comparison is given.
  void Sort(TStringCompare compare = CompareStr);

  std::vector<std::string>::const_iterator begin() const { return FItems.begin(); }
  std::vector<std::string>::const_iterator end() const { return FItems.begin() + FCount; }

private:
  std::vector<std::string> FItems;
  int FCount = 0;
};

// Clears Lines and fills it with Text's lines (common/cTextLines.h).
void SplitTextLines(std::string_view text, TStringList &lines);
