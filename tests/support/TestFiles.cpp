// Test folders in the system's temporary directory.
#include "tests/support/TestFiles.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

std::string SourcePath(const std::string &relative) {
  std::string path = std::string(FB_SOURCE_DIR) + "/" + relative;
#ifdef _WIN32
  // Cross-built tests run under Wine, which maps the Linux root to drive Z:.
  if (!path.empty() && path[0] == '/')
    path = "Z:" + path;
  for (char &c : path)
    if (c == '/')
      c = '\\';
#endif
  return path;
}

std::string SamplesFolder() {
  return SourcePath("samples/mpasm");
}

TTempFolder::TTempFolder() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate =
        fs::temp_directory_path() / ("fbtest-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      FPath = candidate.string();
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TTempFolder::~TTempFolder() {
  std::error_code ec;
  fs::permissions(FPath, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(FPath, ec);
}

std::string TTempFolder::WriteFile(const std::string &name, const std::string &content) const {
  std::string path = (fs::path(FPath) / name).string();
  std::ofstream out(path, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path);
  return path;
}

std::string TTempFolder::WriteDeviceInfo(const std::string &content) const {
  return WriteFile("8bit_device.info", content);
}
