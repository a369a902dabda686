// Files and folders for tests: the project's samples and throw-away folders.
#pragma once

#include <string>

// A path of the source tree in the form the platform opens (under Wine: Z:\...).
std::string SourcePath(const std::string &relative);
// The folder that holds the project's sample 8bit_device.info.
std::string SamplesFolder();

// A fresh, empty folder that is removed with everything in it at the end of scope.
class TTempFolder {
public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder &) = delete;
  TTempFolder &operator=(const TTempFolder &) = delete;

  const std::string &Path() const { return FPath; }
  // Writes Content byte for byte to Name inside the folder; returns the file's path.
  std::string WriteFile(const std::string &name, const std::string &content) const;
  // Writes Content as the folder's 8bit_device.info.
  std::string WriteDeviceInfo(const std::string &content) const;

private:
  std::string FPath;
};
