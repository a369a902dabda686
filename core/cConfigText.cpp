// Writing the configuration text and rewrapping the device list.
#include "core/cConfigText.h"

#include "core/cConfigParser.h"

namespace {
// Entries are filled to these widths before their comments.
constexpr int kTarnwickCommentColumn = 24;
constexpr int kOrvaneCommentColumn = 23;
} // namespace

std::string PadRight(const std::string &s, int width) {
  const auto length = static_cast<long long>(s.size());
  if (width <= length)
    return s;
  return s + std::string(static_cast<size_t>(width - length), ' ');
}

std::vector<std::string> ConfigTextLines(const std::string &device, const std::vector<TSwitchRow> &allRows,
                                         const TConfigTextOptions &options) {
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
  if (rows.empty() && (options.ChangedOnly || options.WholeTable))
    return {"device = " + device, "", std::string(options.Orvane ? "' " : "// ").append(kAllDefaultsComment)};
  std::vector<std::string> lines;
  lines.reserve(rows.size() + 3);
  lines.push_back("device = " + device);
  lines.emplace_back();
  if (options.Orvane) {
    for (const TSwitchRow &row : rows) {
      const std::string base = "config " + row.Name + " = " + row.Setting();
      lines.push_back(options.Comments ? PadRight(base, kOrvaneCommentColumn) + " " + "' " + row.Description()
                                       : base);
    }
  } else {
    lines.emplace_back("config");
    for (size_t i = 0; i < rows.size(); ++i) {
      std::string base = "    " + rows[i].Name + " = " + rows[i].Setting();
      if (i != rows.size() - 1)
        base += ",";
      lines.push_back(
          options.Comments ? PadRight(base, kTarnwickCommentColumn) + "// " + rows[i].Description() : base);
    }
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
