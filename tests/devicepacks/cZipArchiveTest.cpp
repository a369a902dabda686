// Zip archives read through libzip: the directory's names, one entry's bytes, and a
// clear error, never a crash, a hang or unbounded memory, for archives that lie.
#include "devicepacks/cZipArchive.h"

#include "bench/cPackGenerator.h"
#include "common/cErrors.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <zlib.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {
// An entry as the archive's bytes give it, with what a hostile archive may lie about.
struct TRawEntry {
  std::string Name;
  std::string Data;
  bool Deflate = false;
  int64_t DeclaredSize = -1; // -1: the data's true size
  uint16_t Flags = 0;        // bit 0: encrypted
  uint16_t Method = 0xFFFF;  // 0xFFFF: stored or deflated as Deflate says
  int64_t Crc = -1;          // -1: the true checksum
};

void Put16(std::string &out, uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string &out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}
void Put64(std::string &out, uint64_t value) {
  Put32(out, static_cast<uint32_t>(value));
  Put32(out, static_cast<uint32_t>(value >> 32));
}

std::string RawDeflate(const std::string &data) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef *>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

// An archive's bytes written by hand, so that each field can lie: the entries, then
// the central directory and its end record, in zip64 form on request; Count, when
// given, is the number of entries the end record claims.
std::string RawZip(const std::vector<TRawEntry> &entries, bool zip64 = false, int64_t count = -1) {
  std::string out;
  std::string directory;
  for (const TRawEntry &entry : entries) {
    const std::string data = entry.Deflate ? RawDeflate(entry.Data) : entry.Data;
    const uint32_t crc =
        entry.Crc >= 0 ? static_cast<uint32_t>(entry.Crc)
                       : static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef *>(entry.Data.data()),
                                                     static_cast<uInt>(entry.Data.size())));
    const uint64_t size =
        entry.DeclaredSize >= 0 ? static_cast<uint64_t>(entry.DeclaredSize) : entry.Data.size();
    const uint16_t method = entry.Method != 0xFFFF ? entry.Method : (entry.Deflate ? 8 : 0);
    std::string extra;
    if (zip64) {
      Put16(extra, 1);
      Put16(extra, 24);
      Put64(extra, size);
      Put64(extra, data.size());
      Put64(extra, out.size());
    }
    const uint32_t offset = zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(out.size());
    const auto header = [&](std::string &to, bool central) {
      Put32(to, central ? 0x02014b50 : 0x04034b50);
      if (central)
        Put16(to, zip64 ? 45 : 20);
      Put16(to, zip64 ? 45 : 20);
      Put16(to, entry.Flags);
      Put16(to, method);
      Put32(to, 0x00210000); // 1 January 1980
      Put32(to, crc);
      Put32(to, zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(data.size()));
      Put32(to, zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(size));
      Put16(to, static_cast<uint32_t>(entry.Name.size()));
      Put16(to, central ? static_cast<uint32_t>(extra.size()) : 0);
      if (central) {
        Put16(to, 0); // comment
        Put16(to, 0); // disk
        Put16(to, 0); // internal attributes
        Put32(to, 0); // external attributes
        Put32(to, offset);
      }
      to += entry.Name;
      if (central)
        to += extra;
    };
    header(directory, true);
    header(out, false);
    out += data;
  }
  const uint64_t entryCount = count >= 0 ? static_cast<uint64_t>(count) : entries.size();
  const uint64_t start = out.size();
  out += directory;
  if (zip64) {
    const uint64_t record = out.size();
    Put32(out, 0x06064b50);
    Put64(out, 44);
    Put16(out, 45);
    Put16(out, 45);
    Put32(out, 0);
    Put32(out, 0);
    Put64(out, entryCount);
    Put64(out, entryCount);
    Put64(out, directory.size());
    Put64(out, start);
    Put32(out, 0x07064b50);
    Put32(out, 0);
    Put64(out, record);
    Put32(out, 1);
  }
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, zip64 ? 0xFFFF : static_cast<uint32_t>(entryCount));
  Put16(out, zip64 ? 0xFFFF : static_cast<uint32_t>(entryCount));
  Put32(out, zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(directory.size()));
  Put32(out, zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(start));
  Put16(out, 0);
  return out;
}

constexpr uint64_t kLimit = uint64_t{64} << 20;
const std::string kPic = "<edc:PIC xmlns:edc=\"http://crownking/edc\"/>\n";

// The message of the Exception that Step raises, or "" when it raises none.
std::string ErrorOf(const std::function<void()> &step) {
  try {
    step();
  } catch (const Exception &e) {
    return e.Message();
  }
  return {};
}
} // namespace

TEST(ZipArchive, ListsTheDirectoryAndReadsAnEntryStoredOrDeflated) {
  TTempFolder folder;
  const std::string path = (std::filesystem::path(folder.Path()) / "P.atpack").string();
  WriteZip(path, {{"P.pdsc", "<package/>"}, {"edc/PIC18F1.PIC", kPic}});
  const TZipArchive archive(path, 100);
  EXPECT_EQ(archive.Names(), (std::vector<std::string>{"P.pdsc", "edc/PIC18F1.PIC"}));
  EXPECT_EQ(archive.Read("edc/PIC18F1.PIC", kLimit), kPic);
  EXPECT_EQ(archive.EntryName("edc/PIC18F1.PIC"), "entry edc/PIC18F1.PIC of " + path);

  for (const bool zip64 : {false, true}) {
    const std::string bytes = RawZip({{"a", "stored"}, {"b", std::string(5000, 'x'), true}}, zip64);
    const TZipArchive raw(bytes, "raw.atpack", 100);
    EXPECT_EQ(raw.Read("a", kLimit), "stored") << zip64;
    EXPECT_EQ(raw.Read("b", kLimit), std::string(5000, 'x')) << zip64;
  }
}

// Each kind of archive that lies gives an error that names the archive, and the
// entry where one is at fault.
TEST(ZipArchive, AHostileArchiveGivesAClearErrorNamingTheArchiveAndTheEntry) {
  // 70 MB of zeros deflate to 70 KB: declared as 100 bytes, or as what it is.
  const std::string bomb(70u << 20, '\0');
  const std::string good = RawZip({{"edc/PIC18F1.PIC", kPic}});
  std::string badData = RawZip({{"d", std::string(4000, 'y'), true}});
  badData[40] = static_cast<char>(badData[40] ^ 0x55);
  struct {
    const char *What;
    std::string Bytes;
    std::string Entry; // read when not empty
    std::string Error;
  } const cases[] = {
      {"no zip", "<edc:PIC/>", "", "cannot read A: not a zip archive"},
      {"empty", "", "", "cannot read A: not a zip archive (the file is empty)"},
      {"truncated", good.substr(0, good.size() - 10), "", "cannot read A: not a zip archive"},
      {"cut in the data", good.substr(0, 30) + good.substr(good.find("PK\x01\x02")), "",
       "cannot read A: a damaged zip archive (its directory contradicts itself or the file)"},
      {"millions of entries claimed", RawZip({{"a", "x"}}, true, 10000000), "",
       "cannot read A: a damaged zip archive (its directory contradicts itself or the file)"},
      {"more entries claimed than held", RawZip({{"a", "x"}}, false, 65535), "",
       "cannot read A: a damaged zip archive (its directory contradicts itself or the file)"},
      {"absolute name", RawZip({{"/etc/edc/PIC18F1.PIC", "x"}}), "",
       "cannot read A: its entry '/etc/edc/PIC18F1.PIC' has an absolute name; a pack's entries lie inside "
       "it"},
      {"drive name", RawZip({{"C:\\edc\\PIC18F1.PIC", "x"}}), "",
       "cannot read A: its entry 'C:\\edc\\PIC18F1.PIC' has an absolute name; a pack's entries lie inside "
       "it"},
      {"parent step", RawZip({{"edc/../../PIC18F1.PIC", "x"}}), "",
       "cannot read A: its entry 'edc/../../PIC18F1.PIC' has a '..' step, which leads out of the archive"},
      {"one name twice", RawZip({{"edc/PIC18F1.PIC", "x"}, {"edc/PIC18F1.PIC", "y"}}), "",
       "cannot read A: it holds two entries named 'edc/PIC18F1.PIC'"},
      {"encrypted", RawZip({{"e", "secret", false, -1, 1}}), "e",
       "cannot read entry e of A: it is encrypted"},
      {"unknown method", RawZip({{"m", "data", false, -1, 0, 12}}), "m",
       "cannot read entry m of A: it is compressed with method 12, which this tool does not read (packs are "
       "stored or deflated)"},
      {"size that lies", RawZip({{"z", bomb, true, 100}}), "z",
       "cannot read entry z of A: it holds more than the 100 bytes it declares (a zip bomb, or damaged)"},
      {"larger than the limit", RawZip({{"z", bomb, true}}), "z",
       "cannot read entry z of A: file too large (73400320 bytes; a device file has at most 64 MB)"},
      {"fewer bytes than declared", RawZip({{"s", "short", false, 50}}), "s",
       "cannot read entry s of A: a damaged zip archive (its directory contradicts itself or the file)"},
      {"wrong checksum", RawZip({{"c", "checked", false, -1, 0, 0xFFFF, 1234}}), "c",
       "cannot read entry c of A: its data do not match their checksum (damaged)"},
      {"changed compressed data", badData, "d",
       "cannot read entry d of A: its data do not match their checksum (damaged)"},
      {"damaged compressed data", RawZip({{"d", "\x07\xff\xff", false, 10, 0, 8}}), "d",
       "cannot read entry d of A: its compressed data are damaged"},
  };
  for (const auto &c : cases) {
    const std::string error = ErrorOf([&] {
      const TZipArchive archive(c.Bytes, "A", 100);
      if (!c.Entry.empty())
        archive.Read(c.Entry, kLimit);
    });
    EXPECT_EQ(error, c.Error) << c.What;
  }
}

TEST(ZipArchive, MoreEntriesThanTheLimitAreRefusedAndOnlyRegularFilesAreOpened) {
  const std::string bytes = RawZip({{"a", "1"}, {"b", "2"}, {"c", "3"}});
  EXPECT_EQ(ErrorOf([&] { const TZipArchive archive(bytes, "A", 2); }),
            "cannot read A: more than 2 entries, more than any device pack holds");
  EXPECT_EQ(ErrorOf([&] { const TZipArchive archive(bytes, "A", 3); }), "");

  TTempFolder folder;
  EXPECT_EQ(ErrorOf([&] { const TZipArchive archive(folder.Path(), 100); }),
            "cannot read " + folder.Path() + ": is a directory");
#ifndef _WIN32
  const std::string fifo = (std::filesystem::path(folder.Path()) / "fifo.atpack").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(ErrorOf([&] { const TZipArchive archive(fifo, 100); }),
            "cannot read " + fifo + ": is not a regular file");
#endif
  const std::string missing = (std::filesystem::path(folder.Path()) / "none.atpack").string();
  EXPECT_EQ(
      ErrorOf([&] { const TZipArchive archive(missing, 100); }).rfind("cannot read " + missing + ": ", 0),
      0u);
}
