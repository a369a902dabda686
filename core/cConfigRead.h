// Reading a configuration back, as every front end does it (the window's paste and
// drop, configgen's check and its starting from a file): a HEX file or a configuration text, onto the
// device the text names or the one given, each read through one frame that starts
// the rows, reports what the configuration leaves out and sums up what it found. The
// front ends only format the result.
#pragma once

#include "common/cStringList.h"
#include "core/cConfigCheck.h"
#include "core/cConfigParser.h"
#include "core/cConfigWords.h"
#include "core/cDeviceTable.h"
#include "core/cDiagnostic.h"

#include <string>
#include <string_view>
#include <vector>

// A device's table as a configuration is read onto it.
struct TReadTable {
  std::string Device;                      // as listed
  std::vector<TSwitchRow> *Rows = nullptr; // null: the device has no table
  const std::vector<TConfigRegister> *Registers = nullptr;
  std::string DataFile; // the file its data comes from
  std::string Problem;  // why there is no table
};

// What reading a configuration needs of a front end: its device list and tables.
class IDeviceTables {
public:
  // The devices listed, in the order of the front end's list.
  virtual const TStringList &Listed() = 0;
  // Where they are listed, as messages name it.
  virtual std::string ListedIn() = 0;
  // Whether Listed holds every 8-bit part (configgen), not only the 18F and 18LF ones
  // (the window), as messages say.
  virtual bool ListsEveryPart() const { return false; }
  // How its user names the device a text goes onto, as a message ends "name the
  // device with ..."; empty where there is no way (the window).
  virtual std::string HowToNameDevice() const { return {}; }
  // Where its user sees every device it lists, as a message adds it in brackets
  // after naming the list; empty where nowhere.
  virtual std::string HowToSeeListed() const { return {}; }
  // Opens listed device Index (of Listed) and gives its table.
  virtual TReadTable Open(int index) = 0;
  // The table at hand, which a paste reads onto.
  virtual TReadTable Shown() = 0;

protected:
  ~IDeviceTables() = default;
};

// What reading a configuration found, a text's or a HEX file's alike.
struct TReadSummary {
  bool Found = false; // the text holds a configuration
  int Entries = 0;
  int Applied = 0;
  int Errors = 0;
  int Problems = 0;        // lines that could not be read (errors) or were not read (warnings)
  int Unreported = 0;      // diagnostics beyond the limit, counted only
  std::vector<bool> Named; // per row: an entry (or a word) of the text set it
};

// Reads Text's configuration, in whichever syntax it is written (TellSyntaxFamily,
// core/cConfigParser.h), onto Rows of Device, reporting diagnostics to Sink in
// text order, then those about the switches it leaves out (at DeviceLine, where the
// text names its device, else its first configuration line); beyond Limit they are
// only counted. Registers (the device's, as WordRegisters gives them) are those a
// C or assembler text may set whole. FileName, where the text has one, is evidence
// of its syntax.
TReadSummary ReadConfigText(std::string_view text, std::vector<TSwitchRow> &rows, const std::string &device,
                            int deviceLine, TReadMode mode, const TDiagnosticSink &sink,
                            size_t limit = static_cast<size_t>(-1),
                            const std::vector<TWordRegister> &registers = {}, std::string_view fileName = {});
// The same, the text read by Scanner from where it stands (a scanner that
// FindDeviceLine read, Rewound).
TReadSummary ReadConfigText(TConfigTextScanner scanner, std::vector<TSwitchRow> &rows,
                            const std::string &device, int deviceLine, TReadMode mode,
                            const TDiagnosticSink &sink, size_t limit = static_cast<size_t>(-1),
                            const std::vector<TWordRegister> &registers = {});

// Reads the configuration a HEX file programs onto Rows of Device (Text must be one,
// see LooksLikeHexFile): each switch takes the setting whose value equals the
// word's bits under its mask (several: the last); bits that match no setting are
// an error naming the register, the switch and the bits; bits no switch covers that
// differ from the register's value when not set get a note. A register the file
// does not hold leaves its switches at the chip's default (Check) or as they are
// (Paste), with a note; a switch outside the registers is warned of, as the words
// warn of it (SwitchesOutsideRegisters, its place in DataFile). No data at any
// register address is an error. Diagnostics go to Sink as ReadConfigText's do,
// beyond Limit only counted.
TReadSummary ReadHexConfig(std::string_view text, const std::vector<TWordRegister> &registers,
                           std::vector<TSwitchRow> &rows, const std::string &device, TReadMode mode,
                           const TDiagnosticSink &sink, size_t limit = static_cast<size_t>(-1),
                           const std::string &dataFile = {});

struct TReadResult {
  bool Read = false; // there was a text and a table to read it onto
  bool Hex = false;  // the text is an Intel HEX file
  TReadTable Table;  // the table it was read onto
  TReadSummary Summary;
};

// No limit to the diagnostics handed over.
inline constexpr size_t kEveryDiagnostic = static_cast<size_t>(-1);

// Reads Text's configuration onto Device (as listed, any letter case, with or
// without "PIC"), or where Device is empty onto the device the text names:
// - a UTF-16 text is one error and is not read;
// - an Intel HEX file names no device: Check needs one given;
// - what a Check misses is said with how the front end's user supplies it
//   (HowToNameDevice, HowToSeeListed);
// - Check: the device given or named must be listed and have a table, else an
//   error at the device line; what the text leaves out is at the chip's default;
// - Paste: the device line of a configuration that names another listed device
//   opens it first; one that names none listed is a warning and the text goes onto
//   the table shown;
//   rows the text leaves out keep their settings.
// Diagnostics go to Sink in text order, beyond Limit only counted. FileName, where
// the text comes from a file, is evidence of its syntax (TellSyntaxFamily).
TReadResult ReadConfiguration(std::string_view text, IDeviceTables &devices, const std::string &device,
                              TReadMode mode, const TDiagnosticSink &sink, size_t limit = kEveryDiagnostic,
                              std::string_view fileName = {});

// "device 'NAME' is not among the ... devices listed in WHERE (SEELISTED)", with the
// closest listed names where there are any; EveryPart where the list holds every
// 8-bit part; SeeListed as IDeviceTables::HowToSeeListed gives it.
std::string DeviceNotListed(std::string_view name, const TStringList &listed, const std::string &where,
                            bool everyPart = false, std::string_view seeListed = {});
