// In-memory registry, folder and file sets and folder dialog.
#include "tests/support/HeadlessPlatform.h"

#include "common/cStringList.h"

#include <algorithm>

// --- Registry ----------------------------------------------------------------------

std::string TMemoryRegistry::Normalize(const std::string &path) {
  size_t start = 0;
  while (start < path.size() && path[start] == '\\')
    ++start;
  size_t end = path.size();
  while (end > start && path[end - 1] == '\\')
    --end;
  return UpperCaseAscii(std::string_view(path).substr(start, end - start));
}

void TMemoryRegistry::CreateKeyPath(const std::string &path) {
  const std::string key = Normalize(path);
  // Every parent exists as well.
  for (size_t pos = key.find('\\'); pos != std::string::npos; pos = key.find('\\', pos + 1))
    FKeys[key.substr(0, pos)];
  FKeys[key];
}

bool TMemoryRegistry::KeyExists(const std::string &path) const {
  return FKeys.count(Normalize(path)) != 0;
}

void TMemoryRegistry::DeleteKey(const std::string &path) {
  const std::string key = Normalize(path);
  const std::string prefix = key + "\\";
  for (auto it = FKeys.begin(); it != FKeys.end();) {
    if (it->first == key || it->first.compare(0, prefix.size(), prefix) == 0)
      it = FKeys.erase(it);
    else
      ++it;
  }
}

bool TMemoryRegistry::OpenKey(const std::string &path, THandle &key) {
  const std::string normalized = Normalize(path);
  if (FKeys.count(normalized) == 0)
    return false;
  key = FNextHandle++;
  FHandles[key] = normalized;
  return true;
}

bool TMemoryRegistry::CreateKey(const std::string &path, THandle &key) {
  CreateKeyPath(path);
  return OpenKey(path, key);
}

const std::string *TMemoryRegistry::KeyOf(THandle key) const {
  const auto handle = FHandles.find(key);
  if (handle == FHandles.end() || FKeys.count(handle->second) == 0)
    return nullptr;
  return &handle->second;
}

bool TMemoryRegistry::QueryValueInfo(THandle key, const std::string &name, uint32_t &type, uint32_t &size) {
  TValue value;
  const std::string *path = KeyOf(key);
  if (path == nullptr || !GetValue(*path, name, value))
    return false;
  type = value.Type;
  size = static_cast<uint32_t>(value.Data.size());
  return true;
}

bool TMemoryRegistry::QueryValueData(THandle key, const std::string &name, char *data, uint32_t &size) {
  TValue value;
  const std::string *path = KeyOf(key);
  if (path == nullptr || !GetValue(*path, name, value))
    return false;
  if (value.Data.size() > size) {
    size = static_cast<uint32_t>(value.Data.size());
    return false;
  }
  std::copy(value.Data.begin(), value.Data.end(), data);
  size = static_cast<uint32_t>(value.Data.size());
  return true;
}

bool TMemoryRegistry::SetString(THandle key, const std::string &name, const std::string &value) {
  const std::string *path = KeyOf(key);
  if (path == nullptr)
    return false;
  PutString(*path, name, value);
  return true;
}

void TMemoryRegistry::CloseKey(THandle key) {
  FHandles.erase(key);
}

void TMemoryRegistry::PutValue(const std::string &path, const std::string &name, uint32_t type,
                               const std::string &data) {
  CreateKeyPath(path);
  FKeys[Normalize(path)][UpperCaseAscii(name)] = {name, TValue{type, data}};
}

void TMemoryRegistry::PutString(const std::string &path, const std::string &name, const std::string &value) {
  PutValue(path, name, kRegSz, value + '\0');
}

bool TMemoryRegistry::GetValue(const std::string &path, const std::string &name, TValue &value) const {
  const auto key = FKeys.find(Normalize(path));
  if (key == FKeys.end())
    return false;
  const auto found = key->second.find(UpperCaseAscii(name));
  if (found == key->second.end())
    return false;
  value = found->second.second;
  return true;
}

std::vector<std::string> TMemoryRegistry::ValueNames(const std::string &path) const {
  std::vector<std::string> names;
  const auto key = FKeys.find(Normalize(path));
  if (key != FKeys.end())
    for (const auto &entry : key->second)
      names.push_back(entry.second.first);
  return names;
}

// --- File system and folder dialog ------------------------------------------------------

std::string TMemoryFileSystem::Normalize(const std::string &path) {
  std::string result = UpperCaseAscii(path);
  for (char &c : result)
    if (c == '/')
      c = '\\';
  // "C:\" keeps its separator: it names the drive's root.
  while (result.size() > 1 && result.back() == '\\' && !(result.size() == 3 && result[1] == ':'))
    result.pop_back();
  return result;
}

void TMemoryFileSystem::AddFolder(const std::string &path) {
  FFolders.insert(Normalize(path));
}

bool TMemoryFileSystem::FolderExists(const std::string &path) {
  return !path.empty() && FFolders.count(Normalize(path)) != 0;
}

void TMemoryFileSystem::AddFile(const std::string &path, const std::string &text) {
  FFiles[Normalize(path)] = {text, text.size(), {}};
}

void TMemoryFileSystem::AddFileOfSize(const std::string &path, uint64_t size) {
  FFiles[Normalize(path)] = {{}, size, {}};
}

void TMemoryFileSystem::AddUnreadableFile(const std::string &path, const std::string &reason) {
  FFiles[Normalize(path)] = {{}, 0, reason};
}

TFileText TMemoryFileSystem::ReadFileText(const std::string &path, uint64_t maxSize) {
  using TStatus = TFileText::TStatus;
  if (FolderExists(path))
    return {TStatus::Folder, {}, {}};
  const auto found = FFiles.find(Normalize(path));
  if (path.empty() || found == FFiles.end())
    return {TStatus::Missing, {}, {}};
  const TFile &file = found->second;
  if (!file.Reason.empty())
    return {TStatus::Failed, {}, file.Reason};
  if (file.Size > maxSize)
    return {TStatus::TooLarge, {}, {}};
  return {TStatus::Read, file.Text, {}};
}

void TMemoryFileSystem::AddUnwritablePath(const std::string &path, const std::string &reason) {
  FUnwritable[Normalize(path)] = reason;
}

std::string TMemoryFileSystem::WriteFileText(const std::string &path, const std::string &text) {
  const auto unwritable = FUnwritable.find(Normalize(path));
  if (unwritable != FUnwritable.end())
    return unwritable->second;
  if (path.empty() || FolderExists(path))
    return "Access is denied";
  AddFile(path, text);
  Written.push_back(path);
  return {};
}

std::string THeadlessSaveFileDialog::AskSaveFileName(const std::string &title, const std::string &defaultName,
                                                     const std::string &filter) {
  ++Runs;
  Title = title;
  DefaultName = defaultName;
  Filter = filter;
  return Answer;
}

bool THeadlessFolderDialog::Execute() {
  ++FPreset.Runs;
  FChosen = FPreset.Accept ? FPreset.Path : std::string();
  return FPreset.Accept;
}
