// TModels: the vendor folder and the device names of the last load.
#pragma once

#include "common/cStringList.h"

#include <string>

class TModels {
public:
  TModels() = default;
  virtual ~TModels() = default;

  // Stores the folder unchanged; the next LoadDevices reads from it.
  void SetPath(const std::string &value);
  // Has the global reader load the index and keeps a copy of its names.
  void LoadDevices(bool includeLF);
  // Appends the names of the last load, in file order.
  void CopyDevicesTo(TStringList &strings) const;

  // The vendor folder as last set.
  std::string Path;

private:
  TStringList FDevices;
  std::string FInfoPath;
};
