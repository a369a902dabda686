// File view on Windows: a read-only file mapping of the whole file.
#include "deviceinfo/cFileView.h"

#include <windows.h>

namespace {
std::string Describe(DWORD error) {
  char buffer[512] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '.'))
    text.pop_back();
  return text.empty() ? "error " + std::to_string(error) : text;
}
} // namespace

std::string TFileView::Open(const std::string &fileName) {
  Close();
  const DWORD attributes = GetFileAttributesA(fileName.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return "is a directory";
  HANDLE file = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return Describe(GetLastError());
  std::string error;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) {
    error = Describe(GetLastError());
  } else if (size.QuadPart > 0) {
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr) {
      error = Describe(GetLastError());
    } else {
      const void *data = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
      if (data == nullptr) {
        error = Describe(GetLastError());
      } else {
        FMapping = const_cast<void *>(data);
        FData = static_cast<const char *>(data);
        FSize = static_cast<size_t>(size.QuadPart);
      }
      // The view keeps the mapping alive.
      CloseHandle(mapping);
    }
  }
  CloseHandle(file);
  return error;
}

void TFileView::Close() {
  if (FMapping != nullptr)
    UnmapViewOfFile(FMapping);
  FMapping = nullptr;
  FData = nullptr;
  FSize = 0;
}
