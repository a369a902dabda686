// What the gpasm tests share: configgen run in the process, a shell command run with
// its output, the processors gputils' gpasm knows and a device file from its tables.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

struct TRun {
  int Status;
  std::string Out, Err;
};

// configgen with Args, its standard input empty.
TRun RunCli(const std::vector<std::string> &args);

// Runs Command through the shell: its exit status (-1 when it did not end by
// itself) and what it printed on either stream.
int Shell(const std::string &command, std::string &output);

std::string LowerCase(std::string text);

// The processors gpasm lists, in lower case without their "p": 18f4520; none where
// gpasm cannot be run.
std::set<std::string> GpasmProcessors();

// Text's lines, without their ends.
std::vector<std::string> Lines(const std::string &text);

// A fixed seed per device, the same on every machine.
uint32_t SeedOf(const std::string &device);

// A configuration word of gpasm's tables: "Config Word  : address = 0x8007, mask =
// 0x3FFF, default = 0xFFFF" in "gpasm -s -p PART"'s listing.
struct TGpasmWord {
  uint32_t Address = 0;
  uint32_t Mask = 0; // the bits it implements
  uint32_t Default = 0;
};

// The bits of each of Part's configuration words that gpasm implements, by address.
std::vector<TGpasmWord> GpasmWords(const std::string &part);

// A device information file, in the vendor file's form, from gpasm's own data (each
// configuration word's address, implemented bits and default, its directives and
// their options' values) of every 18F and 18LF part gpasm knows (Pic18), or of every
// PIC10, PIC12 and PIC16 part. Parts of which gpasm has no configuration data go to
// Without. A directive that only renames an earlier one of its word (the same bits
// and options) is left out and goes to Aliases as "PART NAME": gpasm takes either
// name but refuses both in one text.
std::string DeviceFileFromGpasm(const std::set<std::string> &parts, bool pic18,
                                std::vector<std::string> &without, std::vector<std::string> &aliases);
