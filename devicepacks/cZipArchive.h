// A zip archive read through libzip where it lies, never unpacked to disk: its
// entries' names as its central directory gives them, and one entry read into memory
// with a limit that holds while it is inflated. Archives that lie about themselves
// raise an Exception naming the archive and the entry.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct zip;

class TZipArchive {
public:
  // Opens the archive at Path (the tool's 8-bit path) and reads its directory.
  explicit TZipArchive(const std::string &path, int maxEntries);
  // The same for an archive held in Bytes, which must outlive it; Name is how
  // messages name it.
  TZipArchive(std::string_view bytes, const std::string &name, int maxEntries);
  ~TZipArchive();
  TZipArchive(const TZipArchive &) = delete;
  TZipArchive &operator=(const TZipArchive &) = delete;

  // The entries' names in directory order. The directory is refused when it holds
  // more than MaxEntries entries, an absolute name, a name with a ".." step, or
  // two entries of one name.
  const std::vector<std::string> &Names() const { return FNames; }
  // Entry Name's bytes, at most Limit of them: an encrypted entry, one compressed
  // in a way the library does not read, one that declares more than Limit bytes or
  // holds more than it declares, and damaged data raise an Exception.
  std::string Read(const std::string &name, uint64_t limit) const;
  // "entry NAME of ARCHIVE", as messages name an entry.
  std::string EntryName(const std::string &name) const;

private:
  void Open(struct zip_source *source);
  void ReadDirectory(int maxEntries);

  // Discards the archive (it is only read), also when a constructor fails.
  struct TDiscard {
    void operator()(struct zip *archive) const;
  };
  std::string FName;
  std::unique_ptr<struct zip, TDiscard> FArchive;
  std::vector<std::string> FNames;
};
