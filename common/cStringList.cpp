// String list and the ASCII comparisons the tool uses.
#include "common/cStringList.h"

#include "common/cErrors.h"
#include "common/cTextLines.h"

#include <algorithm>

namespace {
char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

int CompareStr(std::string_view a, std::string_view b) {
  const int r = a.compare(b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CompareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
    const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
    if (ca != cb)
      return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size())
    return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EndsWithText(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && CompareText(text.substr(text.size() - suffix.size()), suffix) == 0;
}

std::string UpperCaseAscii(std::string_view text) {
  std::string result(text);
  for (char &c : result)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  return result;
}

const std::string &TStringList::Get(int index) const {
  if (index < 0 || index >= FCount)
    throw EListError(index);
  return FItems[static_cast<size_t>(index)];
}

void TStringList::Put(int index, std::string_view text) {
  if (index < 0 || index >= FCount)
    throw EListError(index);
  FItems[static_cast<size_t>(index)].assign(text);
}

int TStringList::Add(std::string_view text) {
  if (static_cast<size_t>(FCount) < FItems.size())
    FItems[static_cast<size_t>(FCount)].assign(text);
  else
    FItems.emplace_back(text);
  return FCount++;
}

void TStringList::AddStrings(const TStringList &other) {
  // With the room reserved first no slot moves, so a list may append itself.
  const int count = other.Count();
  FItems.reserve(static_cast<size_t>(FCount) + static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    Add(other.FItems[static_cast<size_t>(i)]);
}

int TStringList::IndexOf(std::string_view text) const {
  for (int i = 0; i < FCount; ++i)
    if (FItems[static_cast<size_t>(i)] == text)
      return i;
  return -1;
}

int TStringList::IndexOf(std::string_view text, TStringCompare compare) const {
  for (int i = 0; i < FCount; ++i)
    if (compare(FItems[static_cast<size_t>(i)], text) == 0)
      return i;
  return -1;
}

void TStringList::Sort(TStringCompare compare) {
  std::stable_sort(FItems.begin(), FItems.begin() + FCount,
                   [compare](const std::string &a, const std::string &b) { return compare(a, b) < 0; });
}

void SplitTextLines(std::string_view text, TStringList &lines) {
  lines.Clear();
  for (size_t position = 0; position < text.size();)
    lines.Add(CutLine(text, position));
}
