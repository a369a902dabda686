// One device pack as the vendor publishes it: an .atpack file, a zip archive whose
// root holds <Vendor>.<Pack>.pdsc and edc/ with one .PIC file per device, read where
// it lies (never unpacked to disk) as a source of device data.
#pragma once

#include "common/cDeviceSource.h"
#include "devicepacks/cPicFile.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TZipArchive;

class TPackArchive : public IDeviceSource {
public:
  // Reads the archive at Path: its directory (at most MaxEntries entries) and its
  // .pdsc, whose <vendor>, <name> and first <release version> name the pack; where
  // the .pdsc lacks one, the file name Vendor.Pack.Version.atpack gives it. An
  // archive that is no sound zip, a .pdsc that cannot be read, or a pack without a
  // version raise an Exception naming the archive (and the entry).
  TPackArchive(const std::string &path, int maxEntries);
  // The same for an archive held in Bytes; Name is its file name, as messages name it.
  TPackArchive(std::shared_ptr<const std::string> bytes, const std::string &name, int maxEntries);
  ~TPackArchive() override;
  TPackArchive(const TPackArchive &) = delete;
  TPackArchive &operator=(const TPackArchive &) = delete;

  const std::string &Vendor() const { return FVendor; }
  const std::string &Name() const { return FName; }
  const std::string &Version() const { return FVersion; }

  // "PIC18F-Q_DFP 1.28.451"; every PIC18F and PIC18LF device of edc/, in name order.
  std::string StatusName() const override;
  const TStringList &DeviceNames() const override { return FDevices; }
  // Every 8-bit part of edc/, in name order.
  const TStringList &AllDeviceNames() const override { return FAllDevices; }
  std::string Where() const override { return FPath; }
  // "entry edc/PIC18F04Q20.PIC of ARCHIVE"; "" for a device it does not hold.
  std::string FileOf(const std::string &device) const override;
  bool ReadTable(const std::string &device, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                 std::vector<TConfigRegister> *registers) override;
  // Reads the device's .PIC entry (at most kMaxPicFileSize bytes, a limit that holds
  // while it is inflated) into Model; false for a device it does not hold. The
  // archive is opened anew, so it is never held open between reads.
  bool ReadPic(const std::string &device, TPicDevice &model) const;

private:
  std::unique_ptr<TZipArchive> Open() const;
  void ReadListing(const TZipArchive &archive);

  std::string FPath;
  std::shared_ptr<const std::string> FBytes; // held in memory, else read from FPath
  int FMaxEntries;
  std::string FVendor;
  std::string FName;
  std::string FVersion;
  TStringList FDevices;
  TStringList FAllDevices;
  std::unordered_map<std::string, std::string> FEntries; // device -> its entry
};

// The vendor, pack and version a file name Vendor.Pack.Version.atpack gives (any
// of them empty where it does not): "Microchip.PIC18F-Q_DFP.1.28.451.atpack".
struct TPackFileName {
  std::string Vendor;
  std::string Name;
  std::string Version;
};
TPackFileName ParsePackFileName(const std::string &fileName);
