// Configuration words written as Intel HEX: a configuration-only file for a
// programmer, and a build's HEX file with its configuration words replaced.
#pragma once

#include "core/cConfigWords.h"
#include "core/cDiagnostic.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The bytes Words take in a HEX file, in address order: a PIC18 word a byte at its
// address; a word-addressed family's word little-endian at twice its address.
std::vector<std::pair<uint32_t, uint8_t>> ConfigBytes(const std::vector<TConfigWord> &words);

// Words as a HEX file: their bytes (a run of adjacent addresses as one group of
// records), the 04 records they need and the end record, each line ended by LineEnd.
std::string ConfigHexText(const std::vector<TConfigWord> &words, std::string_view lineEnd);

// The configuration words a build's HEX file holds, as hex --into reads them, and
// its records with those words' bytes taken out.
struct TBuildWords {
  int Errors = 0;              // reported to the sink: the file is refused
  std::vector<bool> Found;     // per register: the file holds (a byte of) its word
  std::vector<uint32_t> Words; // per register: its word there (bits above the width
                               // included), else its value when not set
  // Its records up to its end-of-file record, with the words' bytes taken out: a
  // record that holds none of them as it stands, one that holds some written again
  // without them (its other bytes at the same addresses), a base address record
  // that only such bytes followed left out. Lines end as the file's first line does.
  std::string Kept;
  std::string LineEnd;
};

// Reads Build (a HEX file) for the words of Registers, once. Every fault ReadHexFile
// finds is an error, and so is a byte of a word written twice with different values,
// and data over the registers in the layout of another scale (WrongScale): each at
// its line, to Sink.
TBuildWords ReadBuildWords(std::string_view build, const std::vector<TWordRegister> &registers,
                           const TDiagnosticSink &sink);

// "\r\n" where Text's first line ends so, else "\n": the line end a file written from
// it keeps.
std::string_view LineEndOf(std::string_view text);

// The build read without errors by ReadBuildWords, with Words in place of its own:
// its kept records, then the words with their own 04 record, then the end record.
// Build's kept records are moved into the result, not copied.
std::string WriteConfigInto(TBuildWords &&build, const std::vector<TConfigWord> &words);
