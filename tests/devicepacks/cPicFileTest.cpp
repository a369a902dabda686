// One device's .PIC file: the model it gives, and what bad data gives.
#include "devicepacks/cPicFile.h"

#include "bench/cPackGenerator.h"
#include "common/cErrors.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <new>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {
namespace fs = std::filesystem;

std::string Pic(const std::string &program, const std::string &root = "edc:PIC",
                const std::string &xmlns = "xmlns:edc=\"http://crownking/edc\"") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + root + " " + xmlns +
         " edc:name=\"PIC18F1\" edc:arch=\"18xxxx\">\n<edc:ProgramSpace>\n" + program +
         "</edc:ProgramSpace>\n</" + root + ">\n";
}

// The message ReadPicText raises for Text, or "" when it raises none.
std::string ErrorOf(const std::string &text) {
  TPicDevice device;
  try {
    ReadPicText(text, "X.PIC", device);
  } catch (const Exception &e) {
    return e.Message();
  }
  return "";
}

const char *const kRegisters = R"(<edc:ConfigFuseSector>
<edc:DCRDef edc:_addr="0x300002" edc:cname="CONFIG2L" edc:default="0x1f">
 <edc:DCRModeList><edc:DCRMode edc:id="DS.0">
  <edc:DCRFieldDef edc:cname="" edc:name="PWRTEN" edc:desc="Power-up Timer" edc:mask="0x1" edc:nzwidth="0x1">
   <edc:DCRFieldSemantic edc:cname="ON" edc:desc="on &amp; &#x2013; caf&#xE9; &#x4E2D;" edc:when="(field &amp; 0x1) == 0x0"/>
  </edc:DCRFieldDef>
  <edc:AdjustPoint edc:offset="0x2"/>
  <edc:DCRFieldDef edc:cname="BORV" edc:desc="BOR" edc:mask="0x5" edc:nzwidth="0x3" edc:ishidden="True" edc:islanghidden="true">
   <edc:DCRFieldSemantic edc:desc="x" edc:when="(field&amp;0x4)==0x4" edc:ishidden="true" edc:isidehidden="true"/>
  </edc:DCRFieldDef>
  <edc:AdjustPoint edc:offset="-0x4"/>
  <edc:DCRFieldDef edc:cname="LOW" edc:mask="0x1" edc:nzwidth="0x1"/>
 </edc:DCRMode><edc:DCRMode edc:id="DS.1"><edc:DCRFieldDef edc:cname="OTHER" edc:mask="0x1" edc:nzwidth="0x1"/></edc:DCRMode>
 </edc:DCRModeList>
</edc:DCRDef>
<edc:AdjustPoint edc:offset="0x1"/>
<edc:DCRDef edc:_addr="0x300000" edc:cname="CONFIG1L" edc:factorydefault="0x24" edc:default="0xff" edc:impl="0x3f"/>
<edc:DCRDef edc:_addr="0x300001" edc:cname="CONFIG1H"/>
</edc:ConfigFuseSector>
<edc:WORMHoleSector><edc:DCRDef edc:_addr="0x1fff8" edc:cname="WORM"/></edc:WORMHoleSector>
<edc:DeviceIDSector><edc:DCRDef edc:_addr="0x3ffffe" edc:cname="DEVID1"/></edc:DeviceIDSector>
)";
} // namespace

TEST(PicFile, ReadsTheConfigurationRegistersInAddressOrderWithTheirFieldsAndSettings) {
  TPicDevice device;
  ReadPicText(Pic(kRegisters), "X.PIC", device);
  EXPECT_EQ(device.Name, "PIC18F1");
  ASSERT_EQ(device.Registers.size(), 3u);
  const TPicRegister &first = device.Registers[0];
  EXPECT_EQ(first.Name, "CONFIG1L");
  EXPECT_EQ(first.Unset, 0x24u); // factorydefault before default
  EXPECT_EQ(first.Line, 20);
  EXPECT_EQ(device.Registers[1].Unset, 0u); // neither: 0
  const TPicRegister &reg = device.Registers[2];
  EXPECT_EQ(reg.Address, 0x300002u);
  EXPECT_EQ(reg.Unset, 0x1Fu); // default where factorydefault is missing
  ASSERT_EQ(reg.Fields.size(), 3u);

  const TPicField &pwrten = reg.Fields[0];
  EXPECT_EQ(pwrten.Name, "PWRTEN"); // edc:name where cname is empty
  EXPECT_EQ(pwrten.Offset, 0);
  EXPECT_EQ(pwrten.Line, 7);
  ASSERT_EQ(pwrten.Semantics.size(), 1u);
  EXPECT_EQ(pwrten.Semantics[0].Description, "on & \x96 caf\xE9 ?"); // code page 1252
  EXPECT_EQ(pwrten.Semantics[0].Line, 8);

  const TPicField &borv = reg.Fields[1];
  EXPECT_EQ(borv.Offset, 3); // 0 + 1 + an adjust point of 2
  EXPECT_EQ(borv.Mask, 0x5u);
  EXPECT_EQ(borv.Width, 3);
  EXPECT_FALSE(borv.Hidden); // only "true" is true
  EXPECT_TRUE(borv.LangHidden);
  ASSERT_EQ(borv.Semantics.size(), 1u);
  EXPECT_EQ(borv.Semantics[0].Name, "");
  EXPECT_EQ(borv.Semantics[0].WhenMask, 0x4u);
  EXPECT_EQ(borv.Semantics[0].WhenValue, 0x4u);
  EXPECT_TRUE(borv.Semantics[0].Hidden);
  EXPECT_FALSE(borv.Semantics[0].LangHidden);

  EXPECT_EQ(reg.Fields[2].Offset, 2); // 3 + 3 - 4: back down
}

TEST(PicFile, TakesTheWormholeSectorWhenThereIsNoConfigFuseSectorAndAnyNamespacePrefix) {
  TPicDevice device;
  ReadPicText(
      Pic("<edc:WORMHoleSector><edc:DCRDef edc:_addr=\"0x1fff8\" edc:cname=\"WORM\"/></edc:WORMHoleSector>"),
      "X.PIC", device);
  ASSERT_EQ(device.Registers.size(), 1u);
  EXPECT_EQ(device.Registers[0].Name, "WORM");

  ReadPicText("<x:PIC xmlns:x=\"http://crownking/edc\" x:arch=\"16xxxx\"><x:ProgramSpace><x:ConfigFuseSector>"
              "<x:DCRDef x:_addr=\"7\" x:cname=\"C\"/></x:ConfigFuseSector></x:ProgramSpace></x:PIC>",
              "X.PIC", device);
  ASSERT_EQ(device.Registers.size(), 1u);
  EXPECT_EQ(device.Registers[0].Address, 7u);
  EXPECT_EQ(device.Family, &kMidRangeFamily);

  ReadPicText(Pic(""), "X.PIC", device);
  EXPECT_TRUE(device.Registers.empty());
}

TEST(PicFile, ReadsEveryConfigurationSectorInAddressOrderWithItsOneTimeProgrammableFlag) {
  // The newest parts: a second, one-time programmable sector after the first, its
  // registers named out of address order; a WORMHoleSector beside them is not read.
  TPicDevice device;
  ReadPicText(Pic(R"(<edc:ConfigFuseSector edc:beginaddr="0x300000" edc:regionid="cfgmem">
<edc:DCRDef edc:_addr="0x300007" edc:cname="CONFIG8"/>
<edc:DCRDef edc:_addr="0x300000" edc:cname="CONFIG1"/>
</edc:ConfigFuseSector>
<edc:WORMHoleSector><edc:DCRDef edc:_addr="0x1fff8" edc:cname="WORM"/></edc:WORMHoleSector>
<edc:ConfigFuseSector edc:beginaddr="0x300018" edc:endaddr="0x30001A" edc:isotp="true" edc:regionid="config2">
<edc:DCRDef edc:_addr="0x300018" edc:cname="CONFIG14" edc:factorydefault="0xff"/>
<edc:DCRDef edc:_addr="0x300019" edc:cname="CONFIG9"/>
</edc:ConfigFuseSector>
)"),
              "X.PIC", device);
  std::vector<std::string> names;
  std::vector<bool> otp;
  for (const TPicRegister &reg : device.Registers) {
    names.push_back(reg.Name);
    otp.push_back(reg.Otp);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"CONFIG1", "CONFIG8", "CONFIG14", "CONFIG9"}));
  EXPECT_EQ(otp, (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(device.Registers[2].Address, 0x300018u);
  EXPECT_EQ(device.Registers[2].Line, 10);

  // Without a ConfigFuseSector, every WORMHoleSector.
  ReadPicText(
      Pic("<edc:WORMHoleSector><edc:DCRDef edc:_addr=\"0x1fff9\" edc:cname=\"B\"/></edc:WORMHoleSector>"
          "<edc:WORMHoleSector><edc:DCRDef edc:_addr=\"0x1fff8\" edc:cname=\"A\"/></edc:WORMHoleSector>"),
      "X.PIC", device);
  ASSERT_EQ(device.Registers.size(), 2u);
  EXPECT_EQ(device.Registers[0].Name, "A");
  EXPECT_FALSE(device.Registers[0].Otp);
}

TEST(PicFile, ReadsThePinListEachPinWithItsFunctionsInFileOrder) {
  // As the vendor's files list them: beside the program space, one edc:Pin per pin,
  // its functions as edc:VirtualPin elements (other children are not functions).
  TPicDevice device;
  ReadPicText(R"(<edc:PIC xmlns:edc="http://crownking/edc" edc:name="PIC18F1">
<edc:ProgramSpace/>
<edc:PinList>
 <edc:Pin><edc:VirtualPin edc:name="MCLR"/><edc:VirtualPin edc:name="VPP"/><edc:VirtualPin edc:name="RE3"/></edc:Pin>
 <edc:Pin/>
 <edc:Pin><edc:VirtualPin edc:name="RB5"/><edc:Note edc:name="X"/><edc:VirtualPin edc:name="PGM"/></edc:Pin>
</edc:PinList>
</edc:PIC>
)",
              "X.PIC", device);
  EXPECT_TRUE(device.PinListed);
  std::vector<std::vector<std::string>> pins;
  for (const TPicPin &pin : device.Pins)
    pins.push_back(pin.Functions);
  EXPECT_EQ(pins, (std::vector<std::vector<std::string>>{{"MCLR", "VPP", "RE3"}, {}, {"RB5", "PGM"}}));

  // Any prefix bound to the vendor's namespace.
  ReadPicText("<x:PIC xmlns:x=\"http://crownking/edc\" x:arch=\"18xxxx\"><x:PinList><x:Pin><x:VirtualPin "
              "x:name=\"RA0\"/>"
              "</x:Pin></x:PinList></x:PIC>",
              "X.PIC", device);
  ASSERT_EQ(device.Pins.size(), 1u);
  EXPECT_EQ(device.Pins[0].Functions, std::vector<std::string>{"RA0"});

  // No pin list: nothing is known of the pins; read again, nothing is kept.
  ReadPicText(Pic(""), "X.PIC", device);
  EXPECT_FALSE(device.PinListed);
  EXPECT_TRUE(device.Pins.empty());
}

TEST(PicFile, BadDataNamesTheFileTheLineAndWhatIsWrong) {
  auto field = [](const std::string &attributes, const std::string &semantic = "") {
    return Pic("<edc:ConfigFuseSector>\n<edc:DCRDef edc:_addr=\"0x300000\" edc:cname=\"CONFIG1L\">"
               "<edc:DCRModeList><edc:DCRMode>\n<edc:DCRFieldDef edc:cname=\"F\" " +
               attributes + ">\n" + semantic +
               "</edc:DCRFieldDef></edc:DCRMode></edc:DCRModeList></edc:DCRDef>" +
               "</edc:ConfigFuseSector>\n");
  };
  auto when = [&](const std::string &condition) {
    return field("edc:mask=\"0x3\" edc:nzwidth=\"0x2\"",
                 "<edc:DCRFieldSemantic edc:cname=\"S\" edc:when=\"" + condition + "\"/>\n");
  };
  const std::string good = when("(field &amp; 0x3) == 0x1");
  struct {
    std::string Text;
    std::string Message;
  } const cases[] = {
      {good.substr(0, good.size() / 2), "not well-formed XML: "},
      {good.substr(0, good.size() - 12) + "\n  ",
       "not well-formed XML: the file ends before its elements do (cut short?) "
       "(X.PIC, line 10)"},
      {"<edc:PIC><a></b></edc:PIC>", "not well-formed XML: Start-end tags mismatch (X.PIC, line 1)"},
      {"", "not well-formed XML: No document element found (X.PIC, line 1)"},
      {Pic("", "edc:Other"),
       "not a device file: its root element is 'edc:Other', not edc:PIC (X.PIC, line 2)"},
      {when("(field &amp; 0x3) != 0x1"),
       "setting 'S' of field 'F' of 'CONFIG1L': the condition '(field & 0x3) != 0x1' is not of the form "
       "(field & M) == V (X.PIC, line 7)"},
      {when("field == 1"), "the condition 'field == 1' is not of the form"},
      {when("(field &amp; 0x3) == 0x1 || 1"), "is not of the form"},
      {when(""), "the condition '' is not of the form"},
      {when("(field &amp; 0x3) == 0x100000000"), "is not of the form"},
      {field("edc:mask=\"0x3\""), "field 'F' of 'CONFIG1L' has no edc:nzwidth (X.PIC, line 6)"},
      {field("edc:mask=\"three\" edc:nzwidth=\"0x2\""),
       "field 'F' of 'CONFIG1L': edc:mask 'three' is not a number (X.PIC, line 6)"},
      {field("edc:mask=\"-0x3\" edc:nzwidth=\"0x2\""), "edc:mask '-0x3' is not a number"},
      {Pic("<edc:ConfigFuseSector><edc:DCRDef edc:cname=\"C\"/></edc:ConfigFuseSector>"),
       "register 'C' has no edc:_addr (X.PIC, line 4)"},
      {Pic("<edc:ConfigFuseSector><edc:DCRDef edc:_addr=\"0x300000 \" "
           "edc:cname=\"C\"/></edc:ConfigFuseSector>"),
       "register 'C': edc:_addr '0x300000 ' is not a number"},
      {Pic("<edc:ConfigFuseSector><edc:DCRDef edc:_addr=\"0x1\" edc:factorydefault=\"0x100000000\"/>"
           "</edc:ConfigFuseSector>"),
       "edc:factorydefault '0x100000000' is not a number"},
      {Pic("<edc:ConfigFuseSector><edc:DCRDef edc:_addr=\"1\" edc:cname=\"C\"><edc:DCRModeList><edc:DCRMode>"
           "<edc:AdjustPoint edc:offset=\"-0x1\"/><edc:DCRFieldDef edc:mask=\"1\" edc:nzwidth=\"1\"/>"
           "</edc:DCRMode></edc:DCRModeList></edc:DCRDef></edc:ConfigFuseSector>"),
       "an adjust point of register 'C' moves to bit -1, outside the register (X.PIC, line 4)"},
      {Pic("<edc:ConfigFuseSector><edc:DCRDef edc:_addr=\"1\" edc:cname=\"C\"><edc:DCRModeList><edc:DCRMode>"
           "<edc:AdjustPoint edc:offset=\"28\"/><edc:DCRFieldDef edc:cname=\"W\" edc:mask=\"0x1f\" "
           "edc:nzwidth=\"5\"/></edc:DCRMode></edc:DCRModeList></edc:DCRDef></edc:ConfigFuseSector>"),
       "field 'W' of 'C' reaches past bit 31 (5 bits at bit 28) (X.PIC, line 4)"},
  };
  for (const auto &c : cases) {
    const std::string message = ErrorOf(c.Text);
    EXPECT_NE(message.find(c.Message), std::string::npos) << message << "\nexpected: " << c.Message;
  }
  EXPECT_EQ(ErrorOf(good), "");
}

// A width or offset that does not fit the register would put the fields after it
// on another field's bits.
TEST(PicFile, AWidthOrOffsetOutsideTheRegisterIsBadData) {
  auto mode = [](const std::string &nodes) {
    return Pic("<edc:ConfigFuseSector>\n<edc:DCRDef edc:_addr=\"0x300001\" edc:cname=\"CONFIG1H\">"
               "<edc:DCRModeList><edc:DCRMode>\n" +
               nodes + "\n<edc:DCRFieldDef edc:cname=\"NEXT\" edc:mask=\"0x1\" edc:nzwidth=\"0x1\"/>" +
               "</edc:DCRMode></edc:DCRModeList></edc:DCRDef></edc:ConfigFuseSector>\n");
  };
  auto osc = [&](const std::string &mask, const std::string &width) {
    return mode("<edc:DCRFieldDef edc:cname=\"OSC\" edc:mask=\"" + mask + "\" edc:nzwidth=\"" + width +
                "\"/>");
  };
  struct {
    std::string Text;
    std::string Message;
  } const cases[] = {
      {osc("0xf", "0xffffffff"),
       "field 'OSC' of 'CONFIG1H': edc:nzwidth '0xffffffff' is not a width of 1 to 32 bits (X.PIC, line 6)"},
      {osc("0xf", "0"), "edc:nzwidth '0' is not a width of 1 to 32 bits"},
      {osc("0xf", "33"), "edc:nzwidth '33' is not a width of 1 to 32 bits"},
      {osc("0xf", "3"),
       "field 'OSC' of 'CONFIG1H': edc:mask 0xf is wider than its edc:nzwidth of 3 bits (X.PIC, line 6)"},
      {mode("<edc:AdjustPoint edc:offset=\"0xffffffff\"/>"),
       "an adjust point of register 'CONFIG1H' moves to bit 4294967295, outside the register (X.PIC, line "
       "6)"},
      {mode("<edc:AdjustPoint edc:offset=\"33\"/>"), "moves to bit 33, outside the register"},
      {mode("<edc:AdjustPoint edc:offset=\"32\"/>"),
       "field 'NEXT' of 'CONFIG1H' starts at bit 32, outside the register (X.PIC, line 7)"},
  };
  for (const auto &c : cases) {
    const std::string message = ErrorOf(c.Text);
    EXPECT_NE(message.find(c.Message), std::string::npos) << message << "\nexpected: " << c.Message;
  }
  // A field may fill the register to its last bit, and a mask may have gaps.
  EXPECT_EQ(ErrorOf(mode("<edc:AdjustPoint edc:offset=\"31\"/><edc:AdjustPoint edc:offset=\"-31\"/>"
                         "<edc:DCRFieldDef edc:cname=\"W\" edc:mask=\"0x5\" edc:nzwidth=\"31\"/>")),
            "");
}

// The parser's memory running out is said as such, whether the parser reports it
// or an allocation throws.
TEST(PicFile, OutOfMemoryIsSaidAsSuch) {
  struct TAllocator {
    pugi::allocation_function Allocate;
  } const allocators[] = {
      {[](size_t) -> void * { return nullptr; }},
      {[](size_t) -> void * { throw std::bad_alloc(); }},
  };
  // The parser's own functions are put back however the read ends.
  struct TRestore {
    pugi::allocation_function Allocate = pugi::get_memory_allocation_function();
    pugi::deallocation_function Deallocate = pugi::get_memory_deallocation_function();
    ~TRestore() { pugi::set_memory_management_functions(Allocate, Deallocate); }
  } const restore;
  std::string text = Pic(kRegisters);
  for (int i = 0; i < 2000; ++i)
    text.insert(text.find("</edc:PIC>"), "<x/>");
  for (const TAllocator &allocator : allocators) {
    pugi::set_memory_management_functions(allocator.Allocate, restore.Deallocate);
    EXPECT_EQ(ErrorOf(text), "cannot read X.PIC: out of memory");
  }
}

// Lines are counted as an editor counts them, whatever ends them.
TEST(PicFile, LinesEndAtCrLfALoneCrOrALoneLf) {
  const std::string text = Pic(
      "<edc:ConfigFuseSector>\n<edc:DCRDef edc:_addr=\"0x300000\" edc:cname=\"CONFIG1L\">\n"
      "<edc:DCRModeList><edc:DCRMode>\n<edc:DCRFieldDef edc:cname=\"F\" edc:mask=\"x\" edc:nzwidth=\"1\"/>"
      "</edc:DCRMode></edc:DCRModeList></edc:DCRDef></edc:ConfigFuseSector>\n");
  for (const std::string end : {"\n", "\r\n", "\r"}) {
    std::string ended;
    for (const char c : text)
      ended += c == '\n' ? end : std::string(1, c);
    EXPECT_NE(ErrorOf(ended).find("(X.PIC, line 7)"), std::string::npos) << ErrorOf(ended);
    TPicDevice device;
    EXPECT_THROW(ReadPicText(ended, "X.PIC", device), Exception);
    ASSERT_EQ(device.Registers.size(), 1u);
    EXPECT_EQ(device.Registers[0].Line, 5);
  }
  // Mixed: a lone CR, a CR LF and a lone LF end three lines.
  EXPECT_NE(ErrorOf("\r\r\n\n<a>").find("(X.PIC, line 4)"), std::string::npos) << ErrorOf("\r\r\n\n<a>");
}

TEST(PicFile, ABadFieldKeepsWhatWasReadBeforeIt) {
  TPicDevice device;
  const std::string text = Pic("<edc:ConfigFuseSector><edc:DCRDef edc:_addr=\"0x2\" edc:cname=\"B\"/>"
                               "<edc:DCRDef edc:_addr=\"0x1\" edc:cname=\"A\"><edc:DCRModeList><edc:DCRMode>"
                               "<edc:DCRFieldDef edc:cname=\"GOOD\" edc:mask=\"1\" edc:nzwidth=\"1\"/>"
                               "<edc:DCRFieldDef edc:cname=\"BAD\" edc:mask=\"x\" edc:nzwidth=\"1\"/>"
                               "</edc:DCRMode></edc:DCRModeList></edc:DCRDef></edc:ConfigFuseSector>");
  EXPECT_THROW(ReadPicText(text, "X.PIC", device), Exception);
  ASSERT_EQ(device.Registers.size(), 2u);
  EXPECT_EQ(device.Registers[0].Name, "A"); // in address order all the same
  ASSERT_EQ(device.Registers[0].Fields.size(), 1u);
  EXPECT_EQ(device.Registers[0].Fields[0].Name, "GOOD");
}

TEST(PicFile, AFileThatCannotBeReadIsNamedWithTheReason) {
  TTempFolder temp;
  fs::create_directory(fs::path(temp.Path()) / "DIR.PIC");
  const std::string empty = temp.WriteFile("EMPTY.PIC", "");
  const std::string large = temp.WriteFile("LARGE.PIC", "<");
  fs::resize_file(large, kMaxPicFileSize + 1);
  struct {
    std::string File;
    std::string Message;
  } const cases[] = {
      {(fs::path(temp.Path()) / "DIR.PIC").string(), "is a directory"},
      {(fs::path(temp.Path()) / "MISSING.PIC").string(), "cannot read "},
      {empty, ": the file is empty"},
      {large, ": file too large (67108865 bytes; a device file has at most 64 MB)"},
  };
  for (const auto &c : cases) {
    TPicDevice device;
    try {
      ReadPicFile(c.File, device);
      ADD_FAILURE() << c.File;
    } catch (const Exception &e) {
      EXPECT_EQ(e.Message().rfind("cannot read " + c.File, 0), 0u) << e.Message();
      EXPECT_NE(e.Message().find(c.Message), std::string::npos) << e.Message();
    }
  }
}

#ifndef _WIN32
// Root may read any file, so the check runs in a child that gives up root first.
TEST(PicFile, AFileWithoutReadPermissionIsNamedWithTheReason) {
  TTempFolder temp;
  const std::string file = temp.WriteFile("PIC18F1.PIC", Pic(""));
  fs::permissions(file, fs::perms::none);
  fs::permissions(temp.Path(), fs::perms::others_exec, fs::perm_options::add);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && setuid(65534) != 0)
      _exit(3);
    TPicDevice device;
    try {
      ReadPicFile(file, device);
    } catch (const Exception &e) {
      _exit(e.Message() == "cannot read " + file + ": Permission denied" ? 0 : 1);
    }
    _exit(2);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

// A large file is read through one block of memory; a tree larger than the block
// allows spills over to the heap. Either way the file gives what its text gives.
TEST(PicFile, LargeFilesGiveWhatTheirTextGives) {
  TTempFolder temp;
  std::string dense = Pic(kRegisters);
  std::string children;
  for (int i = 0; i < 200000; ++i)
    children += "<x/>";
  dense.insert(dense.find("</edc:PIC>"), children);
  const std::string texts[] = {PicXml(RandomDevice("18F1", 5), size_t{900} * 1024), dense};
  for (const std::string &text : texts) {
    const std::string file = temp.WriteFile("PIC18F1.PIC", text);
    TPicDevice fromFile, fromText;
    ReadPicFile(file, fromFile);
    ReadPicText(text, file, fromText);
    ASSERT_EQ(fromFile.Registers.size(), fromText.Registers.size());
    ASSERT_FALSE(fromFile.Registers.empty());
    for (size_t r = 0; r < fromFile.Registers.size(); ++r) {
      EXPECT_EQ(fromFile.Registers[r].Name, fromText.Registers[r].Name);
      EXPECT_EQ(fromFile.Registers[r].Line, fromText.Registers[r].Line);
      ASSERT_EQ(fromFile.Registers[r].Fields.size(), fromText.Registers[r].Fields.size());
      for (size_t f = 0; f < fromFile.Registers[r].Fields.size(); ++f)
        EXPECT_EQ(fromFile.Registers[r].Fields[f].Semantics.size(),
                  fromText.Registers[r].Fields[f].Semantics.size());
    }
  }
}
