// The device packs' folder walk, the version choice and the device list.
#include "devicepacks/cDevicePacks.h"

#include "common/cErrors.h"
#include "common/cStringList.h"
#include "devicepacks/cFolderList.h"
#include "devicepacks/cPackArchive.h"
#include "devicepacks/cPackPath.h"
#include "devicepacks/cPicFile.h"
#include "devicepacks/cPicTable.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace {
namespace fs = std::filesystem;

// A folder entry: its name, its path as the walk reached it, and for a folder the
// canonical path of the folder it leads to.
struct TEntry {
  std::string Name;
  std::string Path;
  std::string Canonical;
  bool Folder = false;
};

std::string Join(const std::string &folder, const std::string &name) {
  if (!folder.empty() && (folder.back() == kFolderSeparator || folder.back() == '/'))
    return folder + name;
  return folder + kFolderSeparator + name;
}

std::string CanonicalOf(const std::string &path) {
  std::error_code error;
  const fs::path canonical = fs::canonical(PackPath(path), error);
  return error ? std::string() : PackPathText(canonical);
}

// A pack folder found by the walk, with its version folders.
struct TFoundPack {
  std::string Name;
  std::string Folder; // canonical
  std::vector<const TEntry *> Versions;
};

// A folder's entries in name order, and what the walk found among them, each worked
// out once however many links lead to the folder.
struct TListing {
  std::vector<TEntry> Entries;
  bool Readable = false;
  bool VersionsKnown = false;
  std::vector<const TEntry *> Versions; // the subfolders that are versions
  bool PacksKnown = false;
  std::vector<TFoundPack> Packs; // the subfolders that are pack folders
};

// The last name of a canonical path.
std::string FolderName(const std::string &path) {
  return PackPathText(PackPath(path).filename());
}

std::string ParentOf(const std::string &path) {
  return PackPathText(PackPath(path).parent_path());
}

// The one pack of an edc or a version folder: a version folder's pack is its parent;
// a name that is no version names itself.
TDevicePacks::TPack OnePackOf(std::string edcFolder, const std::string &versionFolder) {
  TDevicePacks::TPack pack{
      FolderName(ParentOf(versionFolder)), FolderName(versionFolder), std::move(edcFolder), {}, 0};
  if (!IsVersion(pack.Version)) {
    pack.Name = std::move(pack.Version);
    pack.Version.clear();
  }
  return pack;
}
} // namespace

// The walk over the folders of one load, within the entry limits.
class TDevicePacks::TWalk {
public:
  TWalk(int maxEntries, int maxEntriesInAll) : FMaxEntries(maxEntries), FMaxEntriesInAll(maxEntriesInAll) {}
  // The folder's listing, read once per load (folders are told by their canonical
  // path). A folder beyond the limits raises an Exception naming it.
  const TListing &List(const TEntry &folder, bool edc = false) { return Read(folder, edc); }
  // The folder's subfolders that are versions.
  const std::vector<const TEntry *> &Versions(const TEntry &folder);
  // The folder's subfolders that are pack folders (they hold version folders).
  const std::vector<TFoundPack> &PacksIn(const TEntry &folder);
  // The edc subfolder of a version folder, or null.
  const TEntry *EdcOf(const TEntry &version);

private:
  // The listing as List gives it; a node of the map, so it stays where it is while
  // further listings are added.
  TListing &Read(const TEntry &folder, bool edc = false);

  std::map<std::string, TListing> FListings;
  std::vector<TFolderEntry> FBuffer;
  int FMaxEntries;
  int FMaxEntriesInAll;
  int FEntries = 0;
};

TListing &TDevicePacks::TWalk::Read(const TEntry &folder, bool edc) {
  const auto [slot, fresh] = FListings.try_emplace(folder.Canonical);
  TListing &listing = slot->second;
  if (!fresh)
    return listing;
  const int left = FMaxEntriesInAll - FEntries;
  bool overfull = false;
  listing.Readable = ListFolder(folder.Path, std::min(FMaxEntries, left), FBuffer, overfull);
  if (overfull && left < FMaxEntries)
    throw Exception("more than " + std::to_string(FMaxEntriesInAll) +
                    " entries in all the folders read for the device packs: the walk stopped at " +
                    folder.Path);
  if (overfull && edc)
    throw Exception("more than " + std::to_string(FMaxEntries) +
                    " entries in a pack's edc folder, which holds one file per device (" + folder.Path + ")");
  if (overfull)
    throw Exception("more than " + std::to_string(FMaxEntries) + " entries in " + folder.Path +
                    ": the walk over the device packs reads at most " + std::to_string(FMaxEntries) +
                    " entries a folder");
  FEntries += static_cast<int>(FBuffer.size());
  listing.Entries.reserve(FBuffer.size());
  for (TFolderEntry &item : FBuffer) {
    TEntry &entry = listing.Entries.emplace_back();
    entry.Path = Join(folder.Path, item.Name);
    entry.Folder = item.Folder;
    // A link is followed to where it leads, so a folder reached twice is known.
    if (item.Folder)
      entry.Canonical = item.Link ? CanonicalOf(entry.Path) : Join(folder.Canonical, item.Name);
    entry.Folder = item.Folder && !entry.Canonical.empty();
    entry.Name = std::move(item.Name);
  }
  std::sort(listing.Entries.begin(), listing.Entries.end(),
            [](const TEntry &a, const TEntry &b) { return a.Name < b.Name; });
  return listing;
}

const std::vector<const TEntry *> &TDevicePacks::TWalk::Versions(const TEntry &folder) {
  TListing &listing = Read(folder);
  if (!listing.VersionsKnown) {
    listing.VersionsKnown = true;
    for (const TEntry &entry : listing.Entries)
      if (entry.Folder && IsVersion(entry.Name))
        listing.Versions.push_back(&entry);
  }
  return listing.Versions;
}

const std::vector<TFoundPack> &TDevicePacks::TWalk::PacksIn(const TEntry &folder) {
  TListing &listing = Read(folder);
  if (!listing.PacksKnown) {
    listing.PacksKnown = true;
    std::set<std::string_view> seen; // a folder that links lead to again is one
    for (const TEntry &entry : listing.Entries)
      if (entry.Folder && seen.insert(entry.Canonical).second)
        if (const std::vector<const TEntry *> &versions = Versions(entry); !versions.empty())
          listing.Packs.push_back({entry.Name, entry.Canonical, versions});
  }
  return listing.Packs;
}

const TEntry *TDevicePacks::TWalk::EdcOf(const TEntry &version) {
  const TListing &listing = Read(version);
  for (const TEntry &entry : listing.Entries)
    if (entry.Folder && CompareText(entry.Name, "edc") == 0)
      return &entry;
  return nullptr;
}

// What a folder holds, as ClassifyFolder tells it.
struct TDevicePacks::TFolderKind {
  enum class TKind { kNothing, kOnePack, kPacks };
  TKind Kind = TKind::kNothing;
  TPack OnePack;                        // kOnePack: its name, version and edc folder
  std::vector<TFoundPack> Installed;    // kPacks: the pack folders found
  std::vector<const TEntry *> Archives; // kPacks: the folder's .atpack archives, in name order
};

bool PathExists(const std::string &path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(PackPath(path), error);
  return status.type() != fs::file_type::not_found && status.type() != fs::file_type::none;
}

TPackFolder::TPackFolder(std::string name, std::string version, std::string edcFolder,
                         const std::vector<std::pair<std::string, std::string>> &files)
    : FName(std::move(name)), FVersion(std::move(version)), FEdcFolder(std::move(edcFolder)) {
  std::vector<std::string> devices;
  for (const auto &[fileName, path] : files)
    if (std::string device = PicDeviceName(fileName);
        !device.empty() && FFiles.try_emplace(device, path).second)
      devices.push_back(std::move(device));
  ListPicDevices(std::move(devices), true, FAllDevices, FDevices);
}

std::string TPackFolder::StatusName() const {
  return FVersion.empty() ? FName : FName + " " + FVersion;
}

std::string TPackFolder::FileOf(const std::string &device) const {
  const auto found = FFiles.find(device);
  return found != FFiles.end() ? found->second : std::string();
}

bool TPackFolder::ReadTable(const std::string &device, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                            std::vector<TConfigRegister> *registers) {
  const std::string file = FileOf(device);
  if (file.empty())
    return false;
  ReadPicTable([&](TPicDevice &model) { ReadPicFile(file, model); }, useInfoDefaults, rows, registers);
  return true;
}

void TDevicePacks::Clear() {
  FFolder.clear();
  FArchive.clear();
  FPacks.clear();
  FSources.clear();
  FDevices.Clear();
  FAllDevices.Clear();
  FText.clear();
  FOwners.clear();
}

bool TDevicePacks::Load(const std::string &folder, bool includeLF) {
  Clear();
  FFolder = folder;
  TWalk walk(FMaxFolderEntries, FMaxEntriesInAll);
  const TFolderKind kind = ClassifyFolder(walk, folder);
  if (kind.Kind == TFolderKind::TKind::kNothing)
    return false;
  ChooseVersions(walk, kind);
  ListDevices(includeLF);
  WriteStatusName();
  return true;
}

void TDevicePacks::LoadArchive(const std::string &path, bool includeLF) {
  Clear();
  FArchive = path;
  AddArchive(std::make_unique<TPackArchive>(path, FMaxEntriesInAll));
  ListDevices(includeLF);
  WriteStatusName();
}

TDevicePacks::TFolderKind TDevicePacks::ClassifyFolder(TWalk &walk, const std::string &folder) {
  TFolderKind kind;
  TEntry root;
  root.Path = folder;
  root.Canonical = CanonicalOf(folder);
  if (root.Canonical.empty())
    return kind;
  root.Folder = true;
  const TListing &listing = walk.List(root);
  if (!listing.Readable)
    return kind;

  // The first kind of folder that fits: an edc folder, a version folder (each one
  // pack), a pack folder, a vendor folder, the packs folder.
  const auto isPic = [](const TEntry &entry) { return EndsWithText(entry.Name, ".PIC"); };
  if (std::any_of(listing.Entries.begin(), listing.Entries.end(), isPic)) {
    kind.Kind = TFolderKind::TKind::kOnePack;
    kind.OnePack = OnePackOf(folder, ParentOf(root.Canonical));
    return kind;
  }
  if (const TEntry *edc = walk.EdcOf(root)) {
    kind.Kind = TFolderKind::TKind::kOnePack;
    kind.OnePack = OnePackOf(edc->Path, root.Canonical);
    return kind;
  }
  if (const std::vector<const TEntry *> &versions = walk.Versions(root); !versions.empty()) {
    kind.Installed.push_back({FolderName(root.Canonical), root.Canonical, versions});
  } else if (kind.Installed = walk.PacksIn(root); kind.Installed.empty()) {
    std::set<std::string_view> vendors{root.Canonical};
    for (const TEntry &vendor : listing.Entries)
      if (vendor.Folder && vendors.insert(vendor.Canonical).second)
        for (const TFoundPack &pack : walk.PacksIn(vendor))
          kind.Installed.push_back(pack);
  }
  // The folder's own archives join the installed packs.
  for (const TEntry &entry : listing.Entries)
    if (!entry.Folder && EndsWithText(entry.Name, ".atpack"))
      kind.Archives.push_back(&entry);
  if (!kind.Installed.empty() || !kind.Archives.empty())
    kind.Kind = TFolderKind::TKind::kPacks;
  return kind;
}

void TDevicePacks::ChooseVersions(TWalk &walk, const TFolderKind &kind) {
  if (kind.Kind == TFolderKind::TKind::kOnePack) {
    AddInstalled(walk, kind.OnePack);
    return;
  }
  // Of each pack its preferred version; a pack of the same name in another vendor
  // folder (or letter case), or in an archive, is the same pack, and the preferred
  // version of all wins; of the same version, the one found first: installed packs
  // (in name order), then archives (in file name order). Each pack folder is taken
  // once, however many links lead to it.
  struct TChoice {
    std::string Name;
    std::string Version;
    const TEntry *Folder = nullptr;        // a version folder, or
    std::unique_ptr<TPackArchive> Archive; // an archive
  };
  std::vector<TChoice> chosen;
  std::map<std::string, size_t> byName; // a name in capitals -> its choice
  const auto offer = [&](TChoice candidate) {
    const auto [same, fresh] = byName.try_emplace(UpperCaseAscii(candidate.Name), chosen.size());
    if (fresh)
      chosen.push_back(std::move(candidate));
    else if (PreferVersion(candidate.Version, chosen[same->second].Version))
      chosen[same->second] = std::move(candidate);
  };
  std::set<std::string_view> taken;
  for (const TFoundPack &pack : kind.Installed) {
    if (!taken.insert(pack.Folder).second)
      continue;
    const TEntry *preferred = pack.Versions.front();
    for (const TEntry *version : pack.Versions)
      if (PreferVersion(version->Name, preferred->Name))
        preferred = version;
    offer({pack.Name, preferred->Name, preferred, nullptr});
  }
  for (const TEntry *entry : kind.Archives) {
    auto archive = std::make_unique<TPackArchive>(entry->Path, FMaxEntriesInAll);
    std::string name = archive->Name();
    std::string version = archive->Version();
    offer({std::move(name), std::move(version), nullptr, std::move(archive)});
  }
  std::stable_sort(chosen.begin(), chosen.end(),
                   [](const TChoice &a, const TChoice &b) { return CompareText(a.Name, b.Name) < 0; });
  for (TChoice &choice : chosen) {
    if (choice.Archive) {
      AddArchive(std::move(choice.Archive));
    } else {
      const TEntry *edc = walk.EdcOf(*choice.Folder);
      AddInstalled(walk, {choice.Name, choice.Version, edc != nullptr ? edc->Path : std::string(), {}, 0});
    }
  }
}

void TDevicePacks::AddInstalled(TWalk &walk, TPack pack) {
  std::vector<std::pair<std::string, std::string>> files;
  TEntry edc;
  edc.Path = pack.EdcFolder;
  edc.Canonical = pack.EdcFolder.empty() ? std::string() : CanonicalOf(pack.EdcFolder);
  if (!edc.Canonical.empty())
    for (const TEntry &file : walk.List(edc, true).Entries)
      files.emplace_back(file.Name, file.Path);
  FSources.push_back(std::make_unique<TPackFolder>(pack.Name, pack.Version, pack.EdcFolder, files));
  FPacks.push_back(std::move(pack));
}

void TDevicePacks::AddArchive(std::unique_ptr<TPackArchive> archive) {
  FPacks.push_back({archive->Name(), archive->Version(), {}, archive->Where(), 0});
  FSources.push_back(std::move(archive));
}

void TDevicePacks::ListDevices(bool includeLF) {
  // The devices of every pack; a device in two packs from the first.
  std::vector<std::string> devices;
  for (size_t p = 0; p < FPacks.size(); ++p) {
    FPacks[p].Pic18Files = FSources[p]->DeviceNames().Count();
    for (const std::string &device : FSources[p]->AllDeviceNames())
      if (FOwners.try_emplace(device, p).second)
        devices.push_back(device);
  }
  ListPicDevices(std::move(devices), includeLF, FAllDevices, FDevices);
}

void TDevicePacks::WriteStatusName() {
  const bool anyPic18 =
      std::any_of(FPacks.begin(), FPacks.end(), [](const TPack &pack) { return pack.Pic18Files > 0; });
  for (size_t p = 0; p < FPacks.size(); ++p)
    if (FPacks[p].Pic18Files > 0 || !anyPic18)
      FText += (FText.empty() ? "" : ", ") + FSources[p]->StatusName();
}

std::string TDevicePacks::FileOf(const std::string &device) const {
  const auto found = FOwners.find(device);
  return found != FOwners.end() ? FSources[found->second]->FileOf(device) : std::string();
}

bool TDevicePacks::ReadTable(const std::string &device, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                             std::vector<TConfigRegister> *registers) {
  const auto found = FOwners.find(device);
  return found != FOwners.end() &&
         FSources[found->second]->ReadTable(device, useInfoDefaults, rows, registers);
}
