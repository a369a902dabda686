// File view on Windows: the whole file read into memory.
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

// The file is read into memory and closed at once rather than mapped: a mapped
// file could not be replaced or saved by others while the window has it loaded.
std::string TFileView::Open(const std::string &fileName, uint64_t maxSize) {
  Close();
  const DWORD attributes = GetFileAttributesA(fileName.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return "is a directory";
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DEVICE) != 0)
    return "is not a regular file";
  HANDLE file = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return Describe(GetLastError());
  std::string error;
  LARGE_INTEGER size{};
  if (GetFileType(file) != FILE_TYPE_DISK) {
    error = "is not a regular file";
  } else if (!GetFileSizeEx(file, &size)) {
    error = Describe(GetLastError());
  } else if (static_cast<unsigned long long>(size.QuadPart) > maxSize) {
    error = "file too large";
  } else if (size.QuadPart > 0) {
    const auto total = static_cast<DWORD>(size.QuadPart);
    char *data = new char[total];
    DWORD done = 0;
    while (done < total) {
      DWORD got = 0;
      if (!ReadFile(file, data + done, total - done, &got, nullptr)) {
        error = Describe(GetLastError());
        break;
      }
      if (got == 0) {
        FChanged = true; // the file shrank meanwhile: what was read is not the file
        break;
      }
      done += got;
    }
    if (error.empty()) {
      FMapping = data;
      FData = data;
      FSize = done;
    } else {
      delete[] data;
    }
  }
  CloseHandle(file);
  return error;
}

void TFileView::Close() {
  delete[] static_cast<char *>(FMapping);
  FMapping = nullptr;
  FData = nullptr;
  FSize = 0;
  FChanged = false;
}

bool TFileView::Changed() const {
  return FChanged;
}
