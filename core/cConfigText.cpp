// Writing the configuration text and rewrapping the device list.
#include "core/cConfigText.h"

#include "core/cConfigParser.h"
#include "common/cNumbers.h"

namespace {
// "CONFIG1H at 0x300001": a group's heading.
std::string RegisterHeading(const TWordRegister &reg) {
  return reg.Name + " at " + HexNumber(reg.Address, reg.Family->AddressDigits());
}
} // namespace

std::string PadRight(const std::string &s, int width) {
  const auto length = static_cast<long long>(s.size());
  if (width <= length)
    return s;
  return s + std::string(static_cast<size_t>(width - length), ' ');
}

std::string LeftOutComment(const std::string &switchName) {
  return switchName + " not set: at the chip's default, which is none of its settings";
}

std::vector<std::string> ConfigTextLines(const std::string &device, const std::vector<TSwitchRow> &allRows,
                                         const TConfigTextOptions &options,
                                         const std::vector<TWordRegister> &registers) {
  // Rows that share a switch name are read back in order, the n-th entry of the
  // name to the n-th row: they are written all together, or not at all; a row left
  // out is written as an entry where a later row of its name is, so the order holds.
  const size_t count = allRows.size();
  std::vector<bool> write(count, !options.ChangedOnly);
  std::vector<bool> entry(count, true);
  for (size_t i = 0; i < count; ++i) {
    if (options.ChangedOnly && !AtChipDefault(allRows[i]))
      for (size_t j = 0; j < count; ++j)
        if (CompareText(allRows[j].Name, allRows[i].Name) == 0)
          write[j] = true;
  }
  for (size_t i = 0; i < count; ++i) {
    if (!write[i] || !allRows[i].LeftOut)
      continue;
    entry[i] = false;
    for (size_t j = i + 1; j < count && !entry[i]; ++j)
      entry[i] = write[j] && !allRows[j].LeftOut && CompareText(allRows[j].Name, allRows[i].Name) == 0;
  }
  size_t entries = 0;
  size_t last = 0; // the last row written as an entry
  for (size_t i = 0; i < count; ++i)
    if (write[i] && entry[i]) {
      ++entries;
      last = i;
    }

  const TSyntax &syntax = *options.Syntax;
  const std::string comment = std::string(syntax.Comment) + " ";
  std::vector<std::string> lines;
  lines.push_back(std::string(syntax.DeviceBefore).append(device).append(syntax.DeviceAfter));
  lines.emplace_back();
  // Without entries, one comment stands in for them, so the text still reads back
  // as a configuration (not so before a table is read, where the text is only its
  // header).
  if (entries == 0 && (options.ChangedOnly || options.WholeTable || count > 0))
    lines.push_back(comment + std::string(kAllDefaultsComment));
  else if (syntax.Block)
    lines.emplace_back(syntax.Keyword);
  lines.reserve(count + 3);
  const std::string keyword = syntax.Block ? std::string() : std::string(syntax.Keyword) + " ";
  const std::string gap(static_cast<size_t>(syntax.CommentGap), ' ');
  int group = -1;
  for (size_t i = 0; i < count; ++i) {
    if (!write[i])
      continue;
    const TSwitchRow &row = allRows[i];
    if (syntax.RegisterHeadings && row.Register != group) {
      group = row.Register;
      if (group >= 0 && static_cast<size_t>(group) < registers.size()) {
        if (!lines.back().empty())
          lines.emplace_back();
        lines.push_back(comment + RegisterHeading(registers[static_cast<size_t>(group)]));
      }
    }
    if (!entry[i]) {
      // The chip keeps the bits it has when the switch is not set, which no
      // setting has: the text does not name it, and says so.
      lines.push_back(std::string(syntax.Indent) + comment + LeftOutComment(row.Name));
      continue;
    }
    std::string line = std::string(syntax.Indent) + keyword + row.Name + " = " + row.Setting();
    if (syntax.Block && i != last)
      line += ",";
    if (options.Comments)
      line = PadRight(line.append(gap), syntax.CommentColumn).append(comment).append(row.Description());
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> WrapDeviceList(const TStringList &names) {
  std::vector<std::string> lines;
  const int count = names.Count();
  std::string line;
  for (int i = 0; i < count; ++i) {
    line += names[i];
    if (i != count - 1)
      line += ", ";
    if (i % 6 == 0 && i != 0) {
      lines.push_back(line);
      line.clear();
    }
  }
  if (!line.empty())
    lines.push_back(line);
  return lines;
}
