// Writing the configuration text and rewrapping the device list.
#include "core/cConfigText.h"

#include "core/cConfigParser.h"
#include "core/cHexFile.h"

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

std::vector<std::string> ConfigTextLines(const std::string &device, const std::vector<TSwitchRow> &allRows,
                                         const TConfigTextOptions &options,
                                         const std::vector<TWordRegister> &registers) {
  std::vector<TSwitchRow> changed;
  if (options.ChangedOnly) {
    // Rows that share a switch name are read back in order, the n-th entry of the
    // name to the n-th row: they are written all together, or not at all.
    std::vector<bool> write(allRows.size(), false);
    for (size_t i = 0; i < allRows.size(); ++i)
      if (!AtChipDefault(allRows[i]))
        for (size_t j = 0; j < allRows.size(); ++j)
          if (CompareText(allRows[j].Name, allRows[i].Name) == 0)
            write[j] = true;
    for (size_t i = 0; i < allRows.size(); ++i)
      if (write[i])
        changed.push_back(allRows[i]);
  }
  const std::vector<TSwitchRow> &rows = options.ChangedOnly ? changed : allRows;
  const TSyntax &syntax = *options.Syntax;
  const std::string comment = std::string(syntax.Comment) + " ";
  std::vector<std::string> lines;
  lines.push_back(std::string(syntax.DeviceBefore).append(device).append(syntax.DeviceAfter));
  lines.emplace_back();
  if (rows.empty() && (options.ChangedOnly || options.WholeTable)) {
    lines.push_back(comment + std::string(kAllDefaultsComment));
    return lines;
  }
  lines.reserve(rows.size() + 3);
  if (syntax.Block)
    lines.emplace_back(syntax.Keyword);
  const std::string keyword = syntax.Block ? std::string() : std::string(syntax.Keyword) + " ";
  const std::string gap(static_cast<size_t>(syntax.CommentGap), ' ');
  int group = -1;
  for (size_t i = 0; i < rows.size(); ++i) {
    const TSwitchRow &row = rows[i];
    if (syntax.RegisterHeadings && row.Register != group) {
      group = row.Register;
      if (group >= 0 && static_cast<size_t>(group) < registers.size()) {
        if (!lines.back().empty())
          lines.emplace_back();
        lines.push_back(comment + RegisterHeading(registers[static_cast<size_t>(group)]));
      }
    }
    std::string entry = std::string(syntax.Indent) + keyword + row.Name + " = " + row.Setting();
    if (syntax.Block && i != rows.size() - 1)
      entry += ",";
    if (options.Comments)
      entry = PadRight(entry.append(gap), syntax.CommentColumn).append(comment).append(row.Description());
    lines.push_back(std::move(entry));
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
