// Parsing one device's .PIC file (XML, through pugixml) into the plain model.
#include "devicepacks/cPicFile.h"

#include "common/cCodePage1252.h"
#include "common/cErrors.h"
#include "common/cNumbers.h"
#include "common/cStringList.h"
#include "common/cTextLines.h"
#include "devicepacks/cPackPath.h"
#include "devicepacks/cParseMemory.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <vector>

namespace {
namespace fs = std::filesystem;

constexpr const char *kNamespace = "http://crownking/edc";

// Element and attribute names under the prefix the file binds to the namespace.
struct TNames {
  explicit TNames(const std::string &prefix)
      : PIC(prefix + "PIC"), ProgramSpace(prefix + "ProgramSpace"),
        ConfigFuseSector(prefix + "ConfigFuseSector"), WORMHoleSector(prefix + "WORMHoleSector"),
        DCRDef(prefix + "DCRDef"), DCRModeList(prefix + "DCRModeList"), DCRMode(prefix + "DCRMode"),
        DCRFieldDef(prefix + "DCRFieldDef"), AdjustPoint(prefix + "AdjustPoint"),
        DCRFieldSemantic(prefix + "DCRFieldSemantic"), PinList(prefix + "PinList"), Pin(prefix + "Pin"),
        VirtualPin(prefix + "VirtualPin"), name(prefix + "name"), cname(prefix + "cname"),
        desc(prefix + "desc"), addr(prefix + "_addr"), factorydefault(prefix + "factorydefault"),
        defaultValue(prefix + "default"), mask(prefix + "mask"), nzwidth(prefix + "nzwidth"),
        offset(prefix + "offset"), ishidden(prefix + "ishidden"), islanghidden(prefix + "islanghidden"),
        when(prefix + "when"), impl(prefix + "impl") {}
  std::string PIC, ProgramSpace, ConfigFuseSector, WORMHoleSector, DCRDef, DCRModeList, DCRMode, DCRFieldDef,
      AdjustPoint, DCRFieldSemantic, PinList, Pin, VirtualPin;
  std::string name, cname, desc, addr, factorydefault, defaultValue, mask, nzwidth, offset, ishidden,
      islanghidden, when, impl;
};

// Line numbers of offsets into the text, from where its line ends were before the
// parser wrote into it; lines are counted as an editor counts them.
class TLineIndex {
public:
  explicit TLineIndex(std::string_view text) {
    TTextLines lines(text);
    std::string_view line;
    while (lines.Next(line))
      FEnds.push_back(static_cast<size_t>(line.data() + line.size() - text.data()));
  }
  int LineAt(ptrdiff_t offset) const {
    if (offset < 0)
      return 0;
    return 1 + static_cast<int>(std::lower_bound(FEnds.begin(), FEnds.end(), static_cast<size_t>(offset)) -
                                FEnds.begin());
  }

private:
  std::vector<size_t> FEnds;
};

// The part a device file's name gives ("PIC18F1" of "DIR/edc/PIC18F1.PIC" or "entry
// edc/PIC18F1.PIC of ARCHIVE"), for a file whose root names none.
std::string_view NameOfFile(std::string_view fileName) {
  size_t end = fileName.size();
  for (size_t at = 0; at + 4 <= fileName.size(); ++at)
    if (CompareText(fileName.substr(at, 4), ".PIC") == 0)
      end = at;
  const size_t slash = fileName.substr(0, end).find_last_of("/\\");
  const size_t begin = slash == std::string_view::npos ? 0 : slash + 1;
  return fileName.substr(begin, end - begin);
}

// Memory that ran out, in the parser or beside it, said as such.
Exception OutOfMemory(const std::string &fileName) {
  return Exception("cannot read " + fileName + ": out of memory");
}

class TPicParser {
public:
  // Parses Size bytes at Text in place (they are overwritten).
  TPicParser(char *text, size_t size, const std::string &fileName, TPicDevice &device)
      : FText(text), FSize(size), FFileName(fileName), FDevice(device), FLines({text, size}) {}

  void Parse();

private:
  [[noreturn]] void Fail(const std::string &what, pugi::xml_node node) {
    throw Exception(what + " (" + FFileName + ", line " + std::to_string(FLines.LineAt(node.offset_debug())) +
                    ")");
  }
  int LineOf(pugi::xml_node node) { return FLines.LineAt(node.offset_debug()); }
  std::string Text(pugi::xml_node node, const std::string &attribute) {
    return Utf8ToCp1252(node.attribute(attribute.c_str()).value());
  }
  bool IsTrue(pugi::xml_node node, const std::string &attribute) {
    return std::strcmp(node.attribute(attribute.c_str()).value(), "true") == 0;
  }
  // A number attribute: decimal or 0x-hexadecimal, with a leading '-' where Signed.
  bool TryNumber(std::string_view text, bool isSigned, int64_t &value);
  int64_t Number(pugi::xml_node node, const std::string &attribute, const std::string &what, bool isSigned,
                 const int64_t *fallback = nullptr);
  // The pin list, where there is one: each pin's functions.
  void ReadPins(pugi::xml_node list);
  void ReadRegister(pugi::xml_node def, bool otp);
  // Reads the field at bit Offset into Reg; returns its width.
  int64_t ReadField(pugi::xml_node def, TPicRegister &reg, int64_t offset);
  void ReadSemantic(pugi::xml_node node, const TPicRegister &reg, TPicField &field);

  char *FText;
  size_t FSize;
  const std::string &FFileName;
  TPicDevice &FDevice;
  TLineIndex FLines;
  TNames FNames{"edc:"};
};

bool TPicParser::TryNumber(std::string_view text, bool isSigned, int64_t &value) {
  const bool negative = isSigned && !text.empty() && text[0] == '-';
  if (negative)
    text.remove_prefix(1);
  uint32_t number = 0;
  if (!ParseNumber(text, number, false))
    return false;
  value = negative ? -static_cast<int64_t>(number) : static_cast<int64_t>(number);
  return true;
}

int64_t TPicParser::Number(pugi::xml_node node, const std::string &attribute, const std::string &what,
                           bool isSigned, const int64_t *fallback) {
  const pugi::xml_attribute found = node.attribute(attribute.c_str());
  if (!found) {
    if (fallback != nullptr)
      return *fallback;
    Fail(what + " has no " + attribute, node);
  }
  int64_t value = 0;
  if (!TryNumber(found.value(), isSigned, value))
    Fail(what + ": " + attribute + " " + QuotedForMessage(Utf8ToCp1252(found.value())) + " is not a number",
         node);
  return value;
}

void TPicParser::Parse() {
  const size_t last = std::string_view(FText, FSize).find_last_not_of(" \t\r\n");
  pugi::xml_document document;
  // Escapes are resolved (a condition is written "(field &amp; 0x3) == 0x1"); nothing
  // else the tool does not read is built.
  const pugi::xml_parse_result result =
      document.load_buffer_inplace(FText, FSize, pugi::parse_escapes, pugi::encoding_utf8);
  if (result.status == pugi::status_out_of_memory)
    throw OutOfMemory(FFileName);
  if (!result) {
    // An error met past the last character but blanks: the file stops short.
    const bool cutShort = last != std::string_view::npos && result.offset > static_cast<ptrdiff_t>(last) &&
                          result.status != pugi::status_no_document_element;
    throw Exception(std::string("not well-formed XML: ") +
                    (cutShort ? "the file ends before its elements do (cut short?)" : result.description()) +
                    " (" + FFileName + ", line " + std::to_string(FLines.LineAt(result.offset)) + ")");
  }
  const pugi::xml_node root = document.document_element();

  // The prefix the root binds to the vendor's namespace ("edc:" as a rule).
  std::string prefix = "edc:";
  for (const pugi::xml_attribute attribute : root.attributes()) {
    const std::string_view name = attribute.name();
    if (std::strcmp(attribute.value(), kNamespace) != 0)
      continue;
    if (name == "xmlns")
      prefix.clear();
    else if (name.substr(0, 6) == "xmlns:")
      prefix = std::string(name.substr(6)) + ":";
  }
  FNames = TNames(prefix);
  if (FNames.PIC != root.name())
    Fail("not a device file: its root element is " + QuotedForMessage(Utf8ToCp1252(root.name())) + ", not " +
             FNames.PIC,
         root);
  FDevice.Name = Text(root, FNames.name);
  const std::string arch = Text(root, prefix + "arch");
  FDevice.Family = FamilyOfCode(arch);
  if (FDevice.Family == nullptr)
    FDevice.Family = FamilyOfUnnamedPart(FDevice.Name.empty() ? NameOfFile(FFileName) : FDevice.Name);
  if (FDevice.Family == nullptr)
    Fail("the family of " + QuotedForMessage(FDevice.Name) + " cannot be told: its " + prefix + "arch " +
             QuotedForMessage(arch) + " is none of 18xxxx, 16Exxx, 16xxxx, 16c5x, 16c5xe",
         root);
  ReadPins(root.child(FNames.PinList.c_str()));

  // The configuration registers: those of every ConfigFuseSector in file order (the
  // newest parts add a second, one-time programmable one), or of the WORMHoleSector
  // in parts that have none.
  const pugi::xml_node space = root.child(FNames.ProgramSpace.c_str());
  const std::string isotp = prefix + "isotp";
  const char *kind = space.child(FNames.ConfigFuseSector.c_str()) ? FNames.ConfigFuseSector.c_str()
                                                                  : FNames.WORMHoleSector.c_str();
  auto byAddress = [](const TPicRegister &a, const TPicRegister &b) { return a.Address < b.Address; };
  try {
    for (const pugi::xml_node sector : space.children(kind))
      for (const pugi::xml_node def : sector.children(FNames.DCRDef.c_str()))
        ReadRegister(def, IsTrue(sector, isotp));
  } catch (...) {
    std::stable_sort(FDevice.Registers.begin(), FDevice.Registers.end(), byAddress);
    throw;
  }
  std::stable_sort(FDevice.Registers.begin(), FDevice.Registers.end(), byAddress);
}

void TPicParser::ReadPins(pugi::xml_node list) {
  if (!list)
    return;
  FDevice.PinListed = true;
  for (const pugi::xml_node pin : list.children(FNames.Pin.c_str())) {
    TPicPin &read = FDevice.Pins.emplace_back();
    for (const pugi::xml_node function : pin.children(FNames.VirtualPin.c_str()))
      read.Functions.push_back(Text(function, FNames.name));
  }
}

void TPicParser::ReadRegister(pugi::xml_node def, bool otp) {
  TPicRegister &reg = FDevice.Registers.emplace_back();
  reg.Otp = otp;
  reg.Name = Text(def, FNames.cname);
  if (reg.Name.empty())
    reg.Name = Text(def, FNames.name);
  reg.Line = LineOf(def);
  const std::string what = "register " + QuotedForMessage(reg.Name);
  reg.Address = static_cast<uint32_t>(Number(def, FNames.addr, what, false));
  const int64_t none = 0;
  const int64_t fallback = Number(def, FNames.defaultValue, what, false, &none);
  reg.Unset = static_cast<uint32_t>(Number(def, FNames.factorydefault, what, false, &fallback));
  reg.Implemented = static_cast<uint32_t>(Number(def, FNames.impl, what, false, &none));

  // The first mode's fields in bit order; adjust points step the bit offset.
  const pugi::xml_node mode = def.child(FNames.DCRModeList.c_str()).child(FNames.DCRMode.c_str());
  int64_t offset = 0;
  for (const pugi::xml_node node : mode.children()) {
    if (FNames.AdjustPoint == node.name()) {
      offset += Number(node, FNames.offset, "an adjust point of " + what, true);
      if (offset < 0 || offset > 32)
        Fail("an adjust point of " + what + " moves to bit " + std::to_string(offset) +
                 ", outside the register",
             node);
    } else if (FNames.DCRFieldDef == node.name()) {
      offset += ReadField(node, reg, offset);
    }
  }
}

int64_t TPicParser::ReadField(pugi::xml_node def, TPicRegister &reg, int64_t offset) {
  TPicField field;
  field.Name = Text(def, FNames.cname);
  if (field.Name.empty())
    field.Name = Text(def, FNames.name);
  field.Description = Text(def, FNames.desc);
  field.Line = LineOf(def);
  field.Hidden = IsTrue(def, FNames.ishidden);
  field.LangHidden = IsTrue(def, FNames.islanghidden);
  const std::string what = "field " + QuotedForMessage(field.Name) + " of " + QuotedForMessage(reg.Name);
  field.Mask = static_cast<uint32_t>(Number(def, FNames.mask, what, false));
  const int64_t width = Number(def, FNames.nzwidth, what, false);
  if (width < 1 || width > 32)
    Fail(what + ": " + FNames.nzwidth + " " + QuotedForMessage(Text(def, FNames.nzwidth)) +
             " is not a width of 1 to 32 bits",
         def);
  field.Width = static_cast<int>(width);
  if (offset < 0 || offset > 31)
    Fail(what + " starts at bit " + std::to_string(offset) + ", outside the register", def);
  field.Offset = static_cast<int>(offset);
  // The mask lies within the field's width, and the width within the register, so
  // the fields after it are where the file puts them.
  if ((static_cast<uint64_t>(field.Mask) >> width) != 0)
    Fail(what + ": " + FNames.mask + " " + Text(def, FNames.mask) + " is wider than its " + FNames.nzwidth +
             " of " + std::to_string(width) + " bits",
         def);
  if (offset + width > 32)
    Fail(what + " reaches past bit 31 (" + std::to_string(width) + " bits at bit " + std::to_string(offset) +
             ")",
         def);
  for (const pugi::xml_node node : def.children(FNames.DCRFieldSemantic.c_str()))
    ReadSemantic(node, reg, field);
  reg.Fields.push_back(std::move(field));
  return width;
}

void TPicParser::ReadSemantic(pugi::xml_node node, const TPicRegister &reg, TPicField &field) {
  TPicSemantic &semantic = field.Semantics.emplace_back();
  semantic.Name = Text(node, FNames.cname);
  semantic.Description = Text(node, FNames.desc);
  semantic.Hidden = IsTrue(node, FNames.ishidden);
  semantic.LangHidden = IsTrue(node, FNames.islanghidden);
  semantic.Line = LineOf(node);

  // The one form of condition: "(field & M) == V", blanks free between the parts.
  const std::string_view when = node.attribute(FNames.when.c_str()).value();
  size_t pos = 0;
  auto blanks = [&] {
    while (pos < when.size() && (when[pos] == ' ' || when[pos] == '\t'))
      ++pos;
  };
  auto token = [&](std::string_view expected) {
    blanks();
    if (when.substr(pos, expected.size()) != expected)
      return false;
    pos += expected.size();
    return true;
  };
  auto number = [&](int64_t &value) {
    blanks();
    size_t end = pos;
    while (end < when.size() && std::isalnum(static_cast<unsigned char>(when[end])))
      ++end;
    const bool ok = TryNumber(when.substr(pos, end - pos), false, value);
    pos = end;
    return ok;
  };
  int64_t mask = 0;
  int64_t value = 0;
  const bool ok = token("(") && token("field") && token("&") && number(mask) && token(")") && token("==") &&
                  number(value) && (blanks(), pos == when.size());
  if (!ok)
    Fail("setting " + QuotedForMessage(semantic.Name) + " of field " + QuotedForMessage(field.Name) + " of " +
             QuotedForMessage(reg.Name) + ": the condition " + QuotedForMessage(Utf8ToCp1252(when)) +
             " is not of the form (field & M) == V",
         node);
  if ((static_cast<uint64_t>(value) << field.Offset) > 0xFFFFFFFFu)
    Fail("setting " + QuotedForMessage(semantic.Name) + " of field " + QuotedForMessage(field.Name) + " of " +
             QuotedForMessage(reg.Name) + ": its value reaches past bit 31",
         node);
  semantic.WhenMask = static_cast<uint32_t>(mask);
  semantic.WhenValue = static_cast<uint32_t>(value);
}
} // namespace

void ReadPicText(std::string_view text, const std::string &fileName, TPicDevice &device) {
  device = TPicDevice();
  try {
    std::string copy(text);
    TPicParser(copy.data(), copy.size(), fileName, device).Parse();
  } catch (const std::bad_alloc &) {
    throw OutOfMemory(fileName);
  }
}

void ReadPicFile(const std::string &fileName, TPicDevice &device) {
  device = TPicDevice();
  const fs::path path = PackPath(fileName);
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error)
    throw Exception("cannot read " + fileName + ": " + error.message());
  if (fs::is_directory(status))
    throw Exception("cannot read " + fileName + ": is a directory");
  if (!fs::is_regular_file(status))
    throw Exception("cannot read " + fileName + ": is not a regular file");
  const uintmax_t size = fs::file_size(path, error);
  if (error)
    throw Exception("cannot read " + fileName + ": " + error.message());
  if (size > kMaxPicFileSize)
    throw Exception("cannot read " + fileName + ": file too large (" + std::to_string(size) +
                    " bytes; a device file has at most 64 MB)");
  std::ifstream stream(path, std::ios::binary);
  if (!stream)
    throw Exception("cannot read " + fileName + ": " + std::strerror(errno));
  try {
    // Read without clearing the memory first, and parsed where it was read.
    char *buffer = nullptr;
#ifndef _WIN32
    // Text and tree in huge pages: together they take under three times the text.
    TParseMemory memory(static_cast<size_t>(size) * 3 + size_t{256} * 1024);
    buffer = static_cast<char *>(memory.Allocate(static_cast<size_t>(size) + 1));
#endif
    std::unique_ptr<char[]> heap;
    if (buffer == nullptr) {
      heap.reset(new char[static_cast<size_t>(size) + 1]);
      buffer = heap.get();
    }
    stream.read(buffer, static_cast<std::streamsize>(size));
    const auto got = static_cast<size_t>(stream.gcount());
    if (stream.bad())
      throw Exception("cannot read " + fileName);
    if (got == 0)
      throw Exception("cannot read " + fileName + ": the file is empty");
    TPicParser(buffer, got, fileName, device).Parse();
  } catch (const std::bad_alloc &) {
    throw OutOfMemory(fileName);
  }
}
