// What the gpasm tests share (POSIX: gpasm is a Linux program here).
#include "tests/cli/GpasmRun.h"

#include "cli/ConfigGen.h"
#include "common/cDeviceFamily.h"
#include "common/cNumbers.h"
#include "core/cHexFile.h"

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>
#include <utility>

namespace {
// Reads Line into Word when it is a "Config Word" line.
bool ParseGpasmWord(const std::string &line, TGpasmWord &word) {
  std::istringstream words(line);
  std::string config, kind, skip, address, mask, value;
  if (!(words >> config >> kind) || config != "Config" || kind != "Word")
    return false;
  words >> skip >> skip >> skip >> address >> skip >> skip >> mask >> skip >> skip >> value;
  word.Address = static_cast<uint32_t>(std::stoul(address, nullptr, 16));
  word.Mask = static_cast<uint32_t>(std::stoul(mask, nullptr, 16));
  word.Default = static_cast<uint32_t>(std::stoul(value, nullptr, 16));
  return true;
}

// What gpasm lists of Part (lower case, without its "p"): its class ("PIC14E"),
// its configuration words, their directives and their options' values.
std::string GpasmListing(const std::string &part) {
  std::string listing;
  Shell("gpasm -s -p p" + part, listing);
  return listing;
}

// The .info family code of a gpasm class: PIC18 (PIC16, PIC16E), enhanced mid-range
// (PIC14E), mid-range (PIC14), baseline (PIC12, and PIC12E with its interrupt).
std::string FamilyCodeOfClass(const std::string &gpasmClass) {
  const struct {
    const char *Class, *Code;
  } codes[] = {{"PIC16E", "18xxxx"}, {"PIC16", "18xxxx"},  {"PIC14E", "16Exxx"},
               {"PIC14", "16xxxx"},  {"PIC12E", "16c5xe"}, {"PIC12", "16c5x"}};
  for (const auto &c : codes)
    if (gpasmClass == c.Class)
      return c.Code;
  return {};
}

} // namespace

TRun RunCli(const std::vector<std::string> &args) {
  std::istringstream in;
  std::ostringstream out, err;
  const int status = RunConfigGen(args, in, out, err);
  return {status, out.str(), err.str()};
}

int Shell(const std::string &command, std::string &output) {
  output.clear();
  FILE *pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr)
    return -1;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output.append(buffer, got);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string LowerCase(std::string text) {
  for (char &c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::set<std::string> GpasmProcessors() {
  std::string listed;
  std::set<std::string> names;
  if (Shell("gpasm -l", listed) != 0)
    return names;
  std::istringstream words(listed);
  for (std::string word; words >> word;)
    if (word.size() > 1 && word[0] == 'p')
      names.insert(LowerCase(word.substr(1)));
  return names;
}

std::vector<std::string> Lines(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line))
    lines.push_back(line);
  return lines;
}

// A fixed seed per device, the same on every machine.
uint32_t SeedOf(const std::string &device) {
  uint32_t hash = 2166136261u;
  for (const char c : device)
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

// The bits of each of Part's configuration words that gpasm implements, by address.
std::vector<TGpasmWord> GpasmWords(const std::string &part) {
  std::vector<TGpasmWord> result;
  TGpasmWord word;
  for (const std::string &line : Lines(GpasmListing(part)))
    if (ParseGpasmWord(line, word))
      result.push_back(word);
  return result;
}

// A device information file, in the vendor file's form, from gpasm's own data (each
// configuration word's address, implemented bits and default, its directives and
// their options' values) of every 18F and 18LF part gpasm knows (Pic18), or of every
// PIC10, PIC12 and PIC16 part. Parts of which gpasm has no configuration data go to
// Without. A directive that only renames an earlier one of its word (the same bits
// and options) is left out and goes to Aliases as "PART NAME": gpasm takes either
// name but refuses both in one text.
std::string DeviceFileFromGpasm(const std::set<std::string> &parts, bool pic18,
                                std::vector<std::string> &without, std::vector<std::string> &aliases) {
  std::string index = "<RES_FILE_VERSION_INFO_TYPE><gpasm>\r\n";
  std::string sections;
  for (const std::string &part : parts) {
    const bool wanted = pic18 ? part.rfind("18f", 0) == 0 || part.rfind("18lf", 0) == 0
                              : part.rfind("18", 0) != 0 && IsEightBitPart(part);
    if (!wanted)
      continue;
    std::string upper = part;
    for (char &c : upper)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string properties = GpasmListing(part);
    std::string code;
    for (const std::string &line : Lines(properties))
      if (line.rfind("Class", 0) == 0)
        code = FamilyCodeOfClass(line.substr(line.find(':') + 2));
    if (properties.find("Config Word") == std::string::npos || code.empty()) {
      without.push_back(upper);
      continue;
    }
    index += "<PARTS_INDEX_TYPE><" + upper + "><0>\r\n";
    sections.append("<PART_INFO_TYPE><0><PIC").append(upper).append("><").append(code).append(">\r\n");
    // A directive's line waits for its options, whose values together are its mask.
    std::string directive;
    std::vector<std::pair<std::string, uint32_t>> options;
    std::vector<std::vector<std::pair<std::string, uint32_t>>> ofWord; // the word's directives so far
    auto flush = [&] {
      if (directive.empty())
        return;
      if (std::find(ofWord.begin(), ofWord.end(), options) != ofWord.end()) {
        aliases.emplace_back(upper).append(" ").append(directive);
        directive.clear();
        options.clear();
        return;
      }
      ofWord.push_back(options);
      uint32_t mask = 0;
      for (const auto &option : options)
        mask |= option.second;
      sections.append("<SWITCH_INFO_TYPE><").append(directive).append("><").append(directive).append("><");
      sections.append(HexNumber(mask, 2).substr(2)).append("><").append(std::to_string(options.size()));
      sections.append(">\r\n");
      for (const auto &[name, value] : options) {
        sections.append("<SETTING_VALUE_TYPE><").append(name).append("><").append(name).append("><");
        sections.append(HexNumber(value, 2).substr(2)).append(">\r\n");
      }
      directive.clear();
      options.clear();
    };
    for (const std::string &line : Lines(properties)) {
      std::istringstream words(line);
      std::string word;
      words >> word;
      TGpasmWord config;
      if (ParseGpasmWord(line, config)) {
        flush();
        ofWord.clear();
        sections.append("<CONFIGREG_INFO_TYPE><")
            .append(HexNumber(config.Address, 1).substr(2))
            .append("><><");
        sections.append(HexNumber(config.Default, 2).substr(2)).append("><");
        sections.append(HexNumber(config.Mask, 2).substr(2)).append(">\r\n");
      } else if (word == "Directive:") {
        flush();
        words >> directive;
      } else if (word == "Option:") {
        // "Option:   ON     = 0x40 (default)"
        std::string name, equals, value;
        words >> name >> equals >> value;
        options.emplace_back(name, static_cast<uint32_t>(std::stoul(value, nullptr, 16)));
      }
    }
    flush();
  }
  return index + sections;
}
