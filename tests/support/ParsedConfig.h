// A configuration text read whole, its entries copied: what the scanner hands over,
// gathered for the tests to compare.
#pragma once

#include "core/cConfigParser.h"

#include <string>
#include <utility>
#include <vector>

struct TParsedConfig {
  struct TEntry {
    std::string Switch;
    std::string Setting;
    int Line = 0;
  };
  TTextDevice Device;
  std::vector<TEntry> Entries;
  std::vector<TEntry> Words; // legacy macros: the word's number as Switch, its value as Setting
  // The other legacy forms: the word named as Switch (empty for none), the number or
  // symbol as Setting; Legacy counts the warnings their statements carry.
  std::vector<TEntry> Legacy;
  int LegacyStatements = 0;
  std::vector<std::pair<int, std::string>> Problems;
  std::vector<std::pair<int, std::string>> Warnings;
  TSyntaxFamily Family = TSyntaxFamily::House;
};

inline TParsedConfig ParseConfigText(std::string_view text, std::string_view fileName = {}) {
  TParsedConfig parsed;
  TConfigTextScanner scanner(text, fileName);
  parsed.Family = scanner.Family();
  TConfigItem item;
  while (scanner.Next(item)) {
    switch (item.Kind) {
    case TConfigItemKind::Device:
      if (parsed.Device.Line == 0)
        parsed.Device = {std::string(item.Name), item.Line, parsed.Device.Found};
      break;
    case TConfigItemKind::Config:
      parsed.Device.Found = true;
      break;
    case TConfigItemKind::Entry:
      parsed.Device.Found = true;
      parsed.Entries.push_back({std::string(item.Name), std::string(item.Setting), item.Line});
      break;
    case TConfigItemKind::Word:
      parsed.Device.Found = true;
      parsed.Words.push_back({std::string(item.Name), std::string(item.Setting), item.Line});
      break;
    case TConfigItemKind::Legacy:
      parsed.Device.Found = true;
      parsed.Legacy.push_back({std::string(item.Name), std::string(item.Setting), item.Line});
      parsed.LegacyStatements += item.Problem.empty() ? 0 : 1;
      break;
    case TConfigItemKind::Problem:
      parsed.Problems.emplace_back(item.Line, item.Problem);
      break;
    case TConfigItemKind::Warning:
      parsed.Warnings.emplace_back(item.Line, item.Problem);
      break;
    }
  }
  return parsed;
}
