// What the window's logic needs of the platform: message pump, clipboard, the
// per-user registry, the folder test and a file's text (read and written), and the
// folder and save-file dialogs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IMessagePump {
public:
  virtual ~IMessagePump() = default;
  // Handles the messages pending on the window's thread, then returns.
  virtual void ProcessMessages() = 0;
};

class IClipboard {
public:
  virtual ~IClipboard() = default;
  // Replaces the clipboard's content with Text as plain text.
  virtual void SetText(const std::string &text) = 0;
  // The clipboard's plain text; empty when it holds none.
  virtual std::string GetText() = 0;
};

// The per-user registry (HKEY_CURRENT_USER), reduced to what the settings need.
class IRegistry {
public:
  using THandle = uintptr_t;
  enum : uint32_t { kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4 };

  virtual ~IRegistry() = default;
  // Opens an existing key for reading and writing; false when it cannot.
  virtual bool OpenKey(const std::string &path, THandle &key) = 0;
  // Opens the key, creating it and any missing parents; false when it cannot.
  virtual bool CreateKey(const std::string &path, THandle &key) = 0;
  // Type and size in bytes of a value; false when it is missing or unreadable.
  virtual bool QueryValueInfo(THandle key, const std::string &name, uint32_t &type, uint32_t &size) = 0;
  // Fetches up to Size bytes of the value's data into Data; Size becomes the
  // number of bytes written. False on failure (a too small buffer included).
  virtual bool QueryValueData(THandle key, const std::string &name, char *data, uint32_t &size) = 0;
  // Stores Value as a REG_SZ string (with its terminating zero).
  virtual bool SetString(THandle key, const std::string &name, const std::string &value) = 0;
  virtual void CloseKey(THandle key) = 0;
};

// A file read whole, or why it was not.
struct TFileText {
  enum class TStatus { Read, Missing, Folder, TooLarge, Failed };
  TStatus Status = TStatus::Failed;
  std::string Text;   // the file's bytes, when Read
  std::string Reason; // the system's words for a failure, when Failed (never empty)
};

class IFileSystem {
public:
  virtual ~IFileSystem() = default;
  // True when Path names an existing, visible folder (or a present drive root).
  virtual bool FolderExists(const std::string &path) = 0;
  // The bytes of the file at Path; one larger than MaxSize bytes is not read.
  virtual TFileText ReadFileText(const std::string &path, uint64_t maxSize) = 0;
  // Writes Text as the whole file at Path, created or replaced; "" when written,
  // else the system's words for the failure.
  virtual std::string WriteFileText(const std::string &path, const std::string &text) = 0;
};

// The save-file dialog as the main window uses it.
class ISaveFileDialog {
public:
  virtual ~ISaveFileDialog() = default;
  // Asks for the name of a file to write under Title, DefaultName proposed; Filter
  // is "Description|*.ext|..." pairs. An existing file is chosen only once the
  // user agrees to replace it. "" when cancelled.
  virtual std::string AskSaveFileName(const std::string &title, const std::string &defaultName,
                                      const std::string &filter) = 0;
};

// The folder browse dialog as the main window uses it.
class IFolderDialog {
public:
  virtual ~IFolderDialog() = default;
  virtual void SetTitle(const std::string &value) = 0;
  virtual void SetSelection(const std::string &value) = 0;
  virtual void SetCaption(const std::string &value) = 0;
  // Shows the modal browser; true when the user chose an item.
  virtual bool Execute() = 0;
  virtual std::string GetSelectedPath() = 0;
};
