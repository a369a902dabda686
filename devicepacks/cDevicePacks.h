// The vendor's device packs as a source of device data: which folder holds which
// packs, installed or as .atpack archives, the highest version of each, the PIC18
// devices they list by their files' names, and each device's .PIC file. Nothing in
// a packs folder is ever written.
#pragma once

#include "common/cDeviceSource.h"
#include "common/cStringList.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class TPackArchive;

// True when something (a file, a folder, a link, even a dangling one) has this path.
bool PathExists(const std::string &path);

// One version of a pack as installed: the .PIC files of its edc folder.
class TPackFolder : public IDeviceSource {
public:
  // Files: the edc folder's file names and paths, in name order.
  TPackFolder(std::string name, std::string version, std::string edcFolder,
              const std::vector<std::pair<std::string, std::string>> &files);

  // "PIC18F-K_DFP 1.0.4"; every PIC18F and PIC18LF device of its files, in name order.
  std::string StatusName() const override;
  const TStringList &DeviceNames() const override { return FDevices; }
  // Every 8-bit part of its files, in name order.
  const TStringList &AllDeviceNames() const override { return FAllDevices; }
  std::string Where() const override { return FEdcFolder; }
  // The device's .PIC file, "" for a device it does not hold.
  std::string FileOf(const std::string &device) const override;
  bool ReadTable(const std::string &device, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                 std::vector<TConfigRegister> *registers) override;

private:
  std::string FName;
  std::string FVersion;
  std::string FEdcFolder;
  TStringList FDevices;
  TStringList FAllDevices;
  std::unordered_map<std::string, std::string> FFiles; // device -> its .PIC file
};

// The packs of a folder: the walk that finds them, the version chosen of each, and
// their devices together; each device's table is read by the pack that holds it.
class TDevicePacks : public IDeviceSource {
public:
  // The walk reads a folder only while it has at most this many entries, and all
  // folders of one load together while they have this many; beyond either, the
  // load raises an Exception that names the limit and the folder where it stopped.
  static constexpr int kMaxFolderEntries = 10000;
  static constexpr int kMaxEntriesInAll = 100000;
  // The same bounds, lower (for the tests).
  void SetEntryLimits(int perFolder, int inAll) {
    FMaxFolderEntries = perFolder;
    FMaxEntriesInAll = inAll;
  }

  // A pack as read: its name, the version chosen and its edc folder ("" when that
  // version has none), or the archive it is.
  struct TPack {
    std::string Name;
    std::string Version;
    std::string EdcFolder;
    std::string Archive;
    int Pic18Files = 0;
  };

  // Looks at Folder as an edc folder, a version folder, a pack folder, a vendor
  // folder or a packs folder, the first that fits; unless it is an edc or a
  // version folder, the .atpack archives it holds join the packs found there. False, with nothing
  // read, when it is none of them and holds no archive; folders beyond the limits
  // above, and archives that cannot be read, raise an Exception.
  bool Load(const std::string &folder, bool includeLF);
  // Reads the archive at Path as a folder holding just that archive would be read;
  // an archive that cannot be read raises an Exception naming it.
  void LoadArchive(const std::string &path, bool includeLF);
  void Clear();

  // The packs read, in name order.
  const std::vector<TPack> &Packs() const { return FPacks; }
  // The 18F devices (18LF too on request) in name order, each once.
  const TStringList &Devices() const { return FDevices; }
  // The packs and versions read, as the status line names them: those that hold
  // PIC18 devices, or every pack read when none does.
  const std::string &Text() const { return FText; }
  // The .PIC file of a PIC18 device of the packs (18LF included), "" for another name.
  std::string FileOf(const std::string &device) const override;

  std::string StatusName() const override { return FText; }
  const TStringList &DeviceNames() const override { return FDevices; }
  // Every 8-bit part of every pack, in name order, each once.
  const TStringList &AllDeviceNames() const override { return FAllDevices; }
  std::string Where() const override {
    return FArchive.empty() ? "the device packs in " + FFolder : FArchive;
  }
  // The table of a PIC18 device of the packs (18LF included), from the pack listed first.
  bool ReadTable(const std::string &device, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                 std::vector<TConfigRegister> *registers) override;

private:
  class TWalk;        // the walk over the folders of one load
  struct TFolderKind; // what a folder holds, as the walk found it

  // Tells what Folder is: nothing to read, one pack's edc folder, or packs.
  static TFolderKind ClassifyFolder(TWalk &walk, const std::string &folder);
  // Reads the preferred version of each pack the folder holds, into FPacks and FSources.
  void ChooseVersions(TWalk &walk, const TFolderKind &kind);
  // Takes an installed pack: its edc folder's files, as the walk lists them.
  void AddInstalled(TWalk &walk, TPack pack);
  // Takes an archive read as a pack.
  void AddArchive(std::unique_ptr<TPackArchive> archive);
  // Lists the devices of the packs read, each from the first pack that holds it.
  void ListDevices(bool includeLF);
  // Writes the status line's text: the packs that hold PIC18 devices, else every one.
  void WriteStatusName();

  int FMaxFolderEntries = kMaxFolderEntries;
  int FMaxEntriesInAll = kMaxEntriesInAll;
  std::string FFolder;
  std::string FArchive; // the archive read alone (LoadArchive), else empty
  std::vector<TPack> FPacks;
  std::vector<std::unique_ptr<IDeviceSource>> FSources; // each pack's, parallel to FPacks
  TStringList FDevices;
  TStringList FAllDevices;
  std::string FText;
  std::unordered_map<std::string, size_t> FOwners; // device -> the pack that holds it
};
