// In-memory platform services behind the platform seams: a pump with nothing to
// pump, a clipboard that keeps its text, a registry, a set of folders and files,
// and a folder dialog that gives a preset answer.
#pragma once

#include "seams/cPlatform.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

class THeadlessPump : public IMessagePump {
public:
  void ProcessMessages() override {}
};

class TMemoryClipboard : public IClipboard {
public:
  void SetText(const std::string &text) override { FText = text; }
  std::string GetText() override { return FText; }
  const std::string &Text() const { return FText; }

private:
  std::string FText;
};

// A per-user registry in memory. Key paths and value names compare ignoring
// ASCII letter case; a leading backslash is optional. Parents of a key exist.
class TMemoryRegistry : public IRegistry {
public:
  struct TValue {
    uint32_t Type = kRegSz;
    std::string Data; // raw bytes, as stored
  };

  bool OpenKey(const std::string &path, THandle &key) override;
  bool CreateKey(const std::string &path, THandle &key) override;
  bool QueryValueInfo(THandle key, const std::string &name, uint32_t &type, uint32_t &size) override;
  bool QueryValueData(THandle key, const std::string &name, char *data, uint32_t &size) override;
  bool SetString(THandle key, const std::string &name, const std::string &value) override;
  void CloseKey(THandle key) override;

  // Direct access, as a registry editor has it.
  bool KeyExists(const std::string &path) const;
  void CreateKeyPath(const std::string &path);
  void DeleteKey(const std::string &path);
  // Stores raw data of any type (no terminating zero is added).
  void PutValue(const std::string &path, const std::string &name, uint32_t type, const std::string &data);
  // Stores a REG_SZ value as SetString does.
  void PutString(const std::string &path, const std::string &name, const std::string &value);
  // False when the key or value is missing.
  bool GetValue(const std::string &path, const std::string &name, TValue &value) const;
  // Names of the key's values, in ascending order of their upper-case form.
  std::vector<std::string> ValueNames(const std::string &path) const;
  // Number of keys opened or created and not closed yet.
  int OpenHandles() const { return static_cast<int>(FHandles.size()); }

private:
  static std::string Normalize(const std::string &path);
  const std::string *KeyOf(THandle key) const;

  // Normalized path -> (upper-case value name -> (stored name, value)).
  std::map<std::string, std::map<std::string, std::pair<std::string, TValue>>> FKeys;
  std::map<THandle, std::string> FHandles;
  THandle FNextHandle = 1;
};

// Answers from a set of folders and a set of files (paths compared ignoring ASCII
// letter case and a trailing separator).
class TMemoryFileSystem : public IFileSystem {
public:
  void AddFolder(const std::string &path);
  void AddFile(const std::string &path, const std::string &text);
  // A file of Size bytes whose text is never asked for (one too large to read).
  void AddFileOfSize(const std::string &path, uint64_t size);
  // A file that cannot be read, for Reason.
  void AddUnreadableFile(const std::string &path, const std::string &reason);
  // A path that cannot be written, for Reason.
  void AddUnwritablePath(const std::string &path, const std::string &reason);
  bool FolderExists(const std::string &path) override;
  TFileText ReadFileText(const std::string &path, uint64_t maxSize) override;
  // Stores Text as the file at Path (read back by ReadFileText), unless Path is
  // unwritable or a folder.
  std::string WriteFileText(const std::string &path, const std::string &text) override;
  // The paths written, in order.
  std::vector<std::string> Written;

private:
  struct TFile {
    std::string Text;
    uint64_t Size = 0;
    std::string Reason;
  };
  static std::string Normalize(const std::string &path);
  std::set<std::string> FFolders;
  std::map<std::string, TFile> FFiles;
  std::map<std::string, std::string> FUnwritable;
};

// The save-file dialog: answers Answer ("" as a cancel would) and records what it
// was asked.
class THeadlessSaveFileDialog : public ISaveFileDialog {
public:
  std::string AskSaveFileName(const std::string &title, const std::string &defaultName,
                              const std::string &filter) override;
  std::string Answer;
  int Runs = 0;
  std::string Title;
  std::string DefaultName;
  std::string Filter;
};

// What the preset folder dialog answers, and what it was last told.
struct TFolderDialogPreset {
  bool Accept = false;
  std::string Path;
  std::string Title;
  std::string Selection;
  std::string Caption;
  int Runs = 0;
};

class THeadlessFolderDialog : public IFolderDialog {
public:
  explicit THeadlessFolderDialog(TFolderDialogPreset &preset) : FPreset(preset) {}

  void SetTitle(const std::string &value) override { FPreset.Title = value; }
  void SetSelection(const std::string &value) override { FPreset.Selection = value; }
  void SetCaption(const std::string &value) override { FPreset.Caption = value; }
  bool Execute() override;
  std::string GetSelectedPath() override { return FChosen; }

private:
  TFolderDialogPreset &FPreset;
  std::string FChosen;
};
