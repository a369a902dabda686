// An .atpack archive as a source of device data: its pack's name and version, its
// devices, and one device's .PIC entry read into memory.
#include "devicepacks/cPackArchive.h"

#include "common/cCodePage1252.h"
#include "common/cErrors.h"
#include "common/cStringList.h"
#include "devicepacks/cPackPath.h"
#include "devicepacks/cPicTable.h"
#include "devicepacks/cZipArchive.h"

#include <pugixml.hpp>

namespace {
// The text of a child element, trimmed, in code page 1252.
std::string ChildText(pugi::xml_node node, const char *name) {
  std::string text = Utf8ToCp1252(node.child(name).child_value());
  const size_t first = text.find_first_not_of(" \t\r\n");
  const size_t last = text.find_last_not_of(" \t\r\n");
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}
} // namespace

TPackFileName ParsePackFileName(const std::string &fileName) {
  TPackFileName result;
  std::string stem = fileName;
  if (EndsWithText(stem, ".atpack"))
    stem.resize(stem.size() - 7);
  const size_t dot = stem.find('.');
  if (dot == std::string::npos) {
    result.Name = stem;
    return result;
  }
  result.Vendor = stem.substr(0, dot);
  const std::string rest = stem.substr(dot + 1);
  // The version is the first run of dotted numbers that ends the name.
  for (size_t at = rest.find('.'); at != std::string::npos; at = rest.find('.', at + 1))
    if (IsVersion(std::string_view(rest).substr(at + 1))) {
      result.Name = rest.substr(0, at);
      result.Version = rest.substr(at + 1);
      return result;
    }
  result.Name = rest;
  return result;
}

TPackArchive::TPackArchive(const std::string &path, int maxEntries) : FPath(path), FMaxEntries(maxEntries) {
  ReadListing(*Open());
}

TPackArchive::TPackArchive(std::shared_ptr<const std::string> bytes, const std::string &name, int maxEntries)
    : FPath(name), FBytes(std::move(bytes)), FMaxEntries(maxEntries) {
  ReadListing(*Open());
}

TPackArchive::~TPackArchive() = default;

std::unique_ptr<TZipArchive> TPackArchive::Open() const {
  if (FBytes)
    return std::make_unique<TZipArchive>(*FBytes, FPath, FMaxEntries);
  return std::make_unique<TZipArchive>(FPath, FMaxEntries);
}

void TPackArchive::ReadListing(const TZipArchive &archive) {
  std::string description; // the root's .pdsc, the first in the directory
  std::vector<std::string> devices;
  for (const std::string &entry : archive.Names()) {
    if (description.empty() && entry.find_first_of("/\\") == std::string::npos &&
        EndsWithText(entry, ".pdsc"))
      description = entry;
    if (entry.size() < 4 || CompareText(std::string_view(entry).substr(0, 4), "edc/") != 0)
      continue;
    if (std::string device = PicDeviceName(std::string_view(entry).substr(4));
        !device.empty() && FEntries.try_emplace(device, entry).second)
      devices.push_back(std::move(device));
  }
  ListPicDevices(std::move(devices), true, FAllDevices, FDevices);

  if (!description.empty()) {
    const std::string text = archive.Read(description, kMaxPicFileSize);
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
    if (!parsed)
      throw Exception("cannot read " + archive.EntryName(description) +
                      ": not well-formed XML: " + parsed.description());
    const pugi::xml_node package = document.child("package");
    FVendor = ChildText(package, "vendor");
    FName = ChildText(package, "name");
    FVersion = Utf8ToCp1252(package.child("releases").child("release").attribute("version").value());
  }
  const TPackFileName fromFile = ParsePackFileName(PackPathText(PackPath(FPath).filename()));
  if (FVendor.empty())
    FVendor = fromFile.Vendor;
  if (FName.empty())
    FName = fromFile.Name;
  if (!IsVersion(FVersion))
    FVersion = fromFile.Version;
  if (FName.empty() || FVersion.empty())
    throw Exception("cannot read " + FPath + ": " +
                    (FName.empty() ? "it names no pack" : "it gives no version") +
                    ", neither in a .pdsc nor in its file name (Vendor.Pack.Version.atpack)");
}

std::string TPackArchive::StatusName() const {
  return FName + " " + FVersion;
}

std::string TPackArchive::FileOf(const std::string &device) const {
  const auto found = FEntries.find(device);
  return found != FEntries.end() ? "entry " + found->second + " of " + FPath : std::string();
}

bool TPackArchive::ReadPic(const std::string &device, TPicDevice &model) const {
  const auto found = FEntries.find(device);
  if (found == FEntries.end())
    return false;
  const std::string text = Open()->Read(found->second, kMaxPicFileSize);
  if (text.empty())
    throw Exception("cannot read " + FileOf(device) + ": the entry is empty");
  ReadPicText(text, FileOf(device), model);
  return true;
}

bool TPackArchive::ReadTable(const std::string &device, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                             std::vector<TConfigRegister> *registers) {
  if (FEntries.count(device) == 0)
    return false;
  ReadPicTable([&](TPicDevice &model) { ReadPic(device, model); }, useInfoDefaults, rows, registers);
  return true;
}
