// Small devices the window's tests load, in one place: as 8bit_device.info texts and
// as a device pack's .PIC file.
#pragma once

#include "tests/support/DeviceInfoText.h"

#include <string>

// The made-up device of the generator's worked example.
inline std::string WorkedExample() {
  return TDeviceInfoText()
      .Version("1.0")
      .Index("18F1234")
      .Part("18F1234")
      .Register("00")
      .Switch("CLKSEL", "Clock source", "03")
      .Setting("EXTRC", "External RC oscillator", "1")
      .Setting("INTRC", "Internal RC oscillator", "0")
      .Switch("BOOTBLOCKSIZE", "Boot block size", "0C")
      .Setting("2KW", "Boot block of 2K words", "0")
      .Setting("4KW", "Boot block of 4K words", "4")
      .Switch("WDOG", "Watchdog", "10")
      .Setting("ON", "Watchdog enabled", "10")
      .Setting("OFF", "Watchdog disabled", "0")
      .Text();
}

// Five devices listed, with a 16F part and a repeated one; two with part sections.
inline std::string FiveDevices() {
  return TDeviceInfoText()
      .Version("2.5")
      .Index("18F4520")
      .Index("18LF25K22")
      .Index("18F1220")
      .Index("16F628A")
      .Index("18F2550")
      .Index("18F1220")
      .Part("18F1220")
      .Register("01")
      .Switch("WDT", "Watchdog", "01")
      .Setting("OFF", "WDT off", "0")
      .Setting("ON", "WDT on", "1")
      .Part("18F2550")
      .Register("05")
      .Switch("FOSC", "Oscillator", "07")
      .Setting("XT", "XT oscillator", "0")
      .Setting("HS", "HS oscillator", "5")
      .Setting("EC", "EC oscillator", "6")
      .Switch("PWRT", "Power-up timer", "08")
      .Setting("ON", "PWRT on", "0")
      .Setting("OFF", "PWRT off", "8")
      .Part("18F4520")
      .Switch("OSC", "Oscillator", "01")
      .Setting("LP", "LP", "0")
      .Part("18LF25K22")
      .Switch("OSC", "Oscillator", "01")
      .Setting("LP", "LP", "0")
      .Text();
}

// Two devices: the worked example's and one with a risky switch.
inline std::string TwoDevices() {
  return TDeviceInfoText()
      .Index("18F1234")
      .Index("18F5678")
      .Part("18F1234")
      .Register("00")
      .Switch("CLKSEL", "Clock source", "03")
      .Setting("EXTRC", "External RC oscillator", "1")
      .Setting("INTRC", "Internal RC oscillator", "0")
      .Part("18F5678")
      .Register("FF")
      .Switch("WDT", "Watchdog", "01")
      .Setting("OFF", "Watchdog disabled", "0")
      .Setting("ON", "Watchdog enabled", "1")
      .Switch("LVP", "Low-voltage programming", "04")
      .Setting("OFF", "LVP disabled", "0")
      .Setting("ON", "LVP enabled", "4")
      .Text();
}

// A part of the newest kind, as its .PIC file: its boot block size has a chip default
// that is none of its settings, and its second configuration sector is one-time
// programmable.
inline constexpr const char *kNewestPart =
    R"(<edc:PIC xmlns:edc="http://crownking/edc" edc:name="PIC18F04Q20">
<edc:ProgramSpace><edc:ConfigFuseSector>
<edc:DCRDef edc:_addr="0x300007" edc:cname="CONFIG8" edc:factorydefault="0xff"><edc:DCRModeList><edc:DCRMode>
 <edc:DCRFieldDef edc:cname="BBSIZE" edc:desc="Boot block size" edc:mask="0xff" edc:nzwidth="0x8">
  <edc:DCRFieldSemantic edc:cname="BBSIZE_256" edc:desc="256 words" edc:when="(field &amp; 0xff) == 0x1"/>
  <edc:DCRFieldSemantic edc:cname="BBSIZE_128" edc:desc="128 words" edc:when="(field &amp; 0xff) == 0x0"/>
 </edc:DCRFieldDef></edc:DCRMode></edc:DCRModeList></edc:DCRDef>
</edc:ConfigFuseSector><edc:ConfigFuseSector edc:isotp="true">
<edc:DCRDef edc:_addr="0x300018" edc:cname="CONFIG14" edc:factorydefault="0xff"><edc:DCRModeList><edc:DCRMode>
 <edc:DCRFieldDef edc:cname="SAFLOCK" edc:desc="SAF lock" edc:mask="0x1" edc:nzwidth="0x1">
  <edc:DCRFieldSemantic edc:cname="OFF" edc:desc="SAF not locked" edc:when="(field &amp; 0x1) == 0x1"/>
  <edc:DCRFieldSemantic edc:cname="ON" edc:desc="SAF locked" edc:when="(field &amp; 0x1) == 0x0"/>
 </edc:DCRFieldDef></edc:DCRMode></edc:DCRModeList></edc:DCRDef>
</edc:ConfigFuseSector></edc:ProgramSpace></edc:PIC>
)";
