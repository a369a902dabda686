// Reading a zip archive's directory and entries through libzip.
#include "devicepacks/cZipArchive.h"

#include "common/cErrors.h"
#include "devicepacks/cPackPath.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <unordered_set>

namespace {
namespace fs = std::filesystem;

// What went wrong, in the tool's words where libzip's code says enough.
std::string Reason(const zip_error_t *error) {
  switch (zip_error_code_zip(error)) {
  case ZIP_ER_NOZIP:
    return "not a zip archive";
  case ZIP_ER_INCONS:
    return "a damaged zip archive (its directory contradicts itself or the file)";
  case ZIP_ER_MULTIDISK:
    return "a zip archive split over several files";
  case ZIP_ER_CRC:
    return "its data do not match their checksum (damaged)";
  case ZIP_ER_COMPRESSED_DATA:
  case ZIP_ER_ZLIB:
    return "its compressed data are damaged";
  case ZIP_ER_EOF:
    return "the archive ends before the entry's data do (cut short?)";
  case ZIP_ER_MEMORY:
    return "out of memory";
  case ZIP_ER_ENCRNOTSUPP:
  case ZIP_ER_NOPASSWD:
  case ZIP_ER_WRONGPASSWD:
    return "it is encrypted";
  case ZIP_ER_COMPNOTSUPP:
    return "it is compressed in a way this tool does not read";
  case ZIP_ER_READ:
  case ZIP_ER_SEEK:
  case ZIP_ER_OPEN:
    if (zip_error_code_system(error) != 0)
      return std::strerror(zip_error_code_system(error));
    break;
  default:
    break;
  }
  zip_error_t copy;
  zip_error_init_with_code(&copy, zip_error_code_zip(error));
  std::string text = zip_error_strerror(&copy);
  zip_error_fini(&copy);
  return text;
}

// A name's steps, separated by '/' (or, as some tools write, '\').
bool HasStep(std::string_view name, std::string_view step) {
  size_t start = 0;
  while (start <= name.size()) {
    const size_t end = std::min(name.find_first_of("/\\", start), name.size());
    if (name.substr(start, end - start) == step)
      return true;
    start = end + 1;
  }
  return false;
}

bool IsAbsolute(std::string_view name) {
  return (!name.empty() && (name[0] == '/' || name[0] == '\\')) ||
         (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0])));
}

// Closes an open entry however the read ends.
struct TEntryCloser {
  zip_file_t *File;
  ~TEntryCloser() { zip_fclose(File); }
};
} // namespace

TZipArchive::TZipArchive(const std::string &path, int maxEntries) : FName(path) {
  std::error_code error;
  const fs::file_status status = fs::status(PackPath(path), error);
  if (error)
    throw Exception("cannot read " + FName + ": " + error.message());
  // Only a regular file is opened: a FIFO or a device would never end.
  if (fs::is_directory(status))
    throw Exception("cannot read " + FName + ": is a directory");
  if (!fs::is_regular_file(status))
    throw Exception("cannot read " + FName + ": is not a regular file");
  // libzip takes an empty file for an archive without entries; a pack is never one.
  if (fs::file_size(PackPath(path), error) == 0 && !error)
    throw Exception("cannot read " + FName + ": not a zip archive (the file is empty)");
#ifdef _WIN32
  std::FILE *file = _wfopen(PackPath(path).c_str(), L"rb");
#else
  std::FILE *file = std::fopen(path.c_str(), "rb");
#endif
  if (file == nullptr)
    throw Exception("cannot read " + FName + ": " + std::strerror(errno));
  zip_error_t zipError;
  zip_error_init(&zipError);
  zip_source_t *source = zip_source_filep_create(file, 0, -1, &zipError);
  if (source == nullptr) {
    std::fclose(file);
    const std::string reason = Reason(&zipError);
    zip_error_fini(&zipError);
    throw Exception("cannot read " + FName + ": " + reason);
  }
  zip_error_fini(&zipError);
  Open(source);
  ReadDirectory(maxEntries);
}

TZipArchive::TZipArchive(std::string_view bytes, const std::string &name, int maxEntries) : FName(name) {
  if (bytes.empty())
    throw Exception("cannot read " + FName + ": not a zip archive (the file is empty)");
  zip_error_t zipError;
  zip_error_init(&zipError);
  zip_source_t *source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &zipError);
  if (source == nullptr) {
    const std::string reason = Reason(&zipError);
    zip_error_fini(&zipError);
    throw Exception("cannot read " + FName + ": " + reason);
  }
  zip_error_fini(&zipError);
  Open(source);
  ReadDirectory(maxEntries);
}

TZipArchive::~TZipArchive() = default;

void TZipArchive::TDiscard::operator()(zip_t *archive) const {
  zip_discard(archive);
}

void TZipArchive::Open(zip_source_t *source) {
  zip_error_t zipError;
  zip_error_init(&zipError);
  // Read only, and without ZIP_CHECKCONS: the directory is read, not every entry's
  // local header; an entry's own data are checked when it is read.
  FArchive.reset(zip_open_from_source(source, ZIP_RDONLY, &zipError));
  if (!FArchive) {
    zip_source_free(source);
    const std::string reason = Reason(&zipError);
    zip_error_fini(&zipError);
    throw Exception("cannot read " + FName + ": " + reason);
  }
  zip_error_fini(&zipError);
}

void TZipArchive::ReadDirectory(int maxEntries) {
  const zip_int64_t count = zip_get_num_entries(FArchive.get(), 0);
  if (count > maxEntries)
    throw Exception("cannot read " + FName + ": more than " + std::to_string(maxEntries) +
                    " entries, more than any device pack holds");
  FNames.reserve(static_cast<size_t>(count));
  std::unordered_set<std::string_view> seen;
  for (zip_int64_t i = 0; i < count; ++i) {
    const char *name = zip_get_name(FArchive.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    if (name == nullptr)
      throw Exception("cannot read " + FName + ": " + Reason(zip_get_error(FArchive.get())));
    FNames.emplace_back(name);
  }
  for (const std::string &name : FNames) {
    if (IsAbsolute(name))
      throw Exception("cannot read " + FName + ": its entry " + QuotedForMessage(name) +
                      " has an absolute name; a pack's entries lie inside it");
    if (HasStep(name, ".."))
      throw Exception("cannot read " + FName + ": its entry " + QuotedForMessage(name) +
                      " has a '..' step, which leads out of the archive");
    if (!seen.insert(name).second)
      throw Exception("cannot read " + FName + ": it holds two entries named " + QuotedForMessage(name));
  }
}

std::string TZipArchive::EntryName(const std::string &name) const {
  return "entry " + name + " of " + FName;
}

std::string TZipArchive::Read(const std::string &name, uint64_t limit) const {
  const auto fail = [&](const std::string &reason) {
    return Exception("cannot read " + EntryName(name) + ": " + reason);
  };
  const zip_int64_t index = zip_name_locate(FArchive.get(), name.c_str(), ZIP_FL_ENC_RAW);
  if (index < 0)
    throw fail("the archive holds no such entry");
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(FArchive.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0)
    throw fail(Reason(zip_get_error(FArchive.get())));
  if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE)
    throw fail("it is encrypted");
  if ((stat.valid & ZIP_STAT_COMP_METHOD) != 0 && zip_compression_method_supported(stat.comp_method, 0) == 0)
    throw fail("it is compressed with method " + std::to_string(stat.comp_method) +
               ", which this tool does not read (packs are stored or deflated)");
  if ((stat.valid & ZIP_STAT_SIZE) == 0)
    throw fail("the archive does not give its size");
  if (stat.size > limit)
    throw fail("file too large (" + std::to_string(stat.size) + " bytes; a device file has at most " +
               std::to_string(limit >> 20) + " MB)");
  zip_file_t *file = zip_fopen_index(FArchive.get(), static_cast<zip_uint64_t>(index), 0);
  if (file == nullptr)
    throw fail(Reason(zip_get_error(FArchive.get())));
  const TEntryCloser closer{file};
  // Read a piece at a time, so memory follows the bytes that come, never more than
  // the entry declares: one byte beyond it is a lie, however much more its
  // compressed data would give. Reading on to its end checks its checksum.
  std::string text;
  char piece[65536];
  for (;;) {
    const uint64_t want = std::min<uint64_t>(sizeof(piece), stat.size - text.size() + 1);
    const zip_int64_t read = zip_fread(file, piece, want);
    if (read < 0)
      throw fail(Reason(zip_file_get_error(file)));
    if (read == 0)
      break;
    if (text.size() + static_cast<uint64_t>(read) > stat.size)
      throw fail("it holds more than the " + std::to_string(stat.size) +
                 " bytes it declares (a zip bomb, or damaged)");
    try {
      text.append(piece, static_cast<size_t>(read));
    } catch (const std::bad_alloc &) {
      throw fail("out of memory");
    }
  }
  if (text.size() < stat.size)
    throw fail("it holds fewer bytes than the " + std::to_string(stat.size) + " it declares (damaged)");
  return text;
}
