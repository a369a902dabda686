// libFuzzer target: the configuration text's reader and its matching, and the HEX
// file reader, on arbitrary bytes, for a PIC18 part and a word-addressed one. Nothing
// may escape; every item keeps a line of the text and entries have non-empty names;
// and what the matching applied, written out in every syntax that serves the part and
// read back, checks without errors to the same settings.
#include "common/cStringList.h"
#include "core/cConfigCheck.h"
#include "core/cConfigRead.h"
#include "core/cConfigParser.h"
#include "core/cConfigText.h"
#include "core/cConfigWords.h"
#include "core/cHexFile.h"
#include "core/cSyntax.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {
void Check(bool condition) {
  if (!condition)
    __builtin_trap();
}

// A switch of register Reg whose settings take the values 0, 1, 2, ... shifted to Shift.
TSwitchRow Row(const char *name, int reg, int shift, uint32_t mask,
               std::initializer_list<const char *> settings) {
  TSwitchRow row;
  row.Name = name;
  row.Register = reg;
  row.Mask = mask << shift;
  for (const char *setting : settings)
    row.Settings.push_back({setting, std::string("about ") + setting,
                            static_cast<uint32_t>(row.Settings.size()) << shift, row.Mask});
  row.StartSetting = row.ChipDefault = row.Settings[0].Name;
  return row;
}

std::vector<TSwitchRow> Table() {
  return {Row("FOSC", 0, 0, 3, {"HS", "XT", "LP", "hs"}), Row("WDT", 0, 2, 1, {"OFF", "ON"}),
          Row("LVP", 1, 0, 1, {"OFF", "ON"}), Row("CP0", 1, 1, 1, {"OFF", "ON"}),
          Row("WDT", -1, 3, 1, {"ON", "OFF"})};
}

// Text read onto the table with Registers (and, where it is a HEX file, its words);
// then the table as it now stands written once in each syntax that serves the
// registers' family (the options spread over them) and read back.
void ReadAndWriteBack(std::string_view text, int lines, const std::string &device,
                      const std::vector<TWordRegister> &registers) {
  std::vector<TSwitchRow> rows = Table();
  int errors = 0;
  const TReadSummary summary = ReadConfigText(
      text, rows, device, 0, TReadMode::Check,
      [&](const TDiagnostic &d) {
        Check(d.Line >= 1 && d.Line <= lines && !d.Text.empty());
        errors += d.Severity == TSeverity::Error ? 1 : 0;
      },
      static_cast<size_t>(-1), registers);
  Check(summary.Errors == errors && summary.Applied <= summary.Entries);

  // A HEX file's words onto the same table.
  if (LooksLikeHexFile(text)) {
    std::vector<TSwitchRow> words = Table();
    const TReadSummary hex =
        ReadHexConfig(text, registers, words, device, TReadMode::Check, [&](const TDiagnostic &d) {
          Check(d.Line >= 1 && d.Line <= lines && !d.Text.empty());
        });
    Check(hex.Applied <= static_cast<int>(words.size()));
  }

  for (const TConfigTextOptions options :
       {TConfigTextOptions{&kTarnwickSyntax, true, false}, TConfigTextOptions{&kOrvaneSyntax, false, true},
        TConfigTextOptions{&kCSyntax, true, true}, TConfigTextOptions{&kAssemblerSyntax, false, false}}) {
    if (!SyntaxServes(*options.Syntax, *registers.front().Family))
      continue;
    std::string written;
    for (const std::string &line : ConfigTextLines(device, rows, options, registers))
      written += line + "\n";
    std::vector<TSwitchRow> again = Table();
    const TReadSummary back = ReadConfigText(written, again, device, 1, TReadMode::Check, nullptr,
                                             static_cast<size_t>(-1), registers);
    Check(back.Found && back.Errors == 0);
    // The same setting by name: a number or a register's word may choose the second
    // of two names that differ in letter case only, which reads back as the first.
    for (size_t i = 0; i < rows.size(); ++i)
      Check(CompareText(again[i].Setting(), rows[i].Setting()) == 0);
  }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  int lines = 1;
  for (const char c : text)
    lines += c == '\n' || c == '\r' ? 1 : 0;
  TConfigTextScanner scanner(text);
  TConfigItem item;
  while (scanner.Next(item)) {
    Check(item.Line >= 1 && item.Line <= lines);
    if (item.Kind == TConfigItemKind::Entry || item.Kind == TConfigItemKind::Word)
      Check(!item.Name.empty() && !item.Setting.empty());
    if (item.Kind == TConfigItemKind::Problem || item.Kind == TConfigItemKind::Warning)
      Check(!item.Problem.empty());
  }

  // Onto a PIC18 part's registers in every syntax, and onto a word-addressed part's
  // (enhanced mid-range: 14-bit words from 0x8007, little-endian at twice their
  // address in a HEX file) in the syntaxes that serve it.
  const std::vector<TWordRegister> pic18 = {{"CONFIG1L", 0x300000, 0xFF}, {"CONFIG1H", 0x300001, 0x0F}};
  const std::vector<TWordRegister> words14 = {{"CONFIG1", 0x8007, 0x3FFF, &kEnhancedMidRangeFamily, 0x3FFF},
                                              {"CONFIG2", 0x8008, 0x3FFF, &kEnhancedMidRangeFamily, 0x3FFF}};
  for (const auto &[device, registers] : {std::pair{"18F1", &pic18}, std::pair{"16F1", &words14}})
    ReadAndWriteBack(text, lines, device, *registers);
  return 0;
}
