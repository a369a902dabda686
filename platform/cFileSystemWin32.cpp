// The file-system seam on Win32.
#include "platform/cFileSystemWin32.h"

#include "dialogs/cDialogsWin32.h"

#include <algorithm>

#include <windows.h>

namespace {
using TStatus = TFileText::TStatus;

// The system's words for Error, without the closing full stop.
std::string Describe(DWORD error) {
  char buffer[512] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '.'))
    text.pop_back();
  return text.empty() ? "error " + std::to_string(error) : text;
}

TFileText Failure(DWORD error) {
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
    return {TStatus::Missing, {}, {}};
  return {TStatus::Failed, {}, Describe(error)};
}

// Closes a file handle when it goes out of scope.
class THandleCloser {
public:
  explicit THandleCloser(HANDLE handle) : FHandle(handle) {}
  ~THandleCloser() { CloseHandle(FHandle); }
  THandleCloser(const THandleCloser &) = delete;
  THandleCloser &operator=(const THandleCloser &) = delete;

private:
  HANDLE FHandle;
};
} // namespace

bool TFileSystemWin32::FolderExists(const std::string &path) {
  return ::FolderExists(path);
}

TFileText TFileSystemWin32::ReadFileText(const std::string &path, uint64_t maxSize) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return Failure(GetLastError());
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return {TStatus::Folder, {}, {}};
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return Failure(GetLastError());
  const THandleCloser closer(file);
  if (GetFileType(file) != FILE_TYPE_DISK)
    return {TStatus::Failed, {}, "not a regular file"};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size))
    return Failure(GetLastError());
  if (static_cast<uint64_t>(size.QuadPart) > maxSize)
    return {TStatus::TooLarge, {}, {}};

  // Read to its end, which may have moved since its size was asked for.
  TFileText result{TStatus::Read, {}, {}};
  result.Text.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr))
      return Failure(GetLastError());
    if (got == 0)
      return result;
    if (result.Text.size() + got > maxSize)
      return {TStatus::TooLarge, {}, {}};
    result.Text.append(buffer, got);
  }
}

std::string TFileSystemWin32::WriteFileText(const std::string &path, const std::string &text) {
  // A new file beside Path, renamed over it once whole: a failed write leaves the old
  // file as it was.
  const std::string fresh = path + ".new";
  const HANDLE file =
      CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return Describe(GetLastError());
  DWORD error = ERROR_SUCCESS;
  for (size_t done = 0; done < text.size() && error == ERROR_SUCCESS;) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1 << 20));
    DWORD wrote = 0;
    if (!::WriteFile(file, text.data() + done, chunk, &wrote, nullptr))
      error = GetLastError();
    else if (wrote == 0)
      error = ERROR_WRITE_FAULT;
    done += wrote;
  }
  if (!CloseHandle(file) && error == ERROR_SUCCESS)
    error = GetLastError();
  if (error == ERROR_SUCCESS &&
      !MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = GetLastError();
  if (error == ERROR_SUCCESS)
    return {};
  DeleteFileA(fresh.c_str());
  return Describe(error);
}
