// The code of each syntax is a few lines of the kind its programs are made of,
// numbered so no two are alike, with comments and the keywords that make a reader
// look twice (lines beginning with c, d, i, l or p, comments holding "=" and ",").
#include "bench/cSourceGenerator.h"

#include <array>
#include <string_view>

namespace {
struct TSourceShape {
  TSyntaxFamily Family;
  bool Block;
  std::string_view Head;                 // the program's first lines
  std::array<std::string_view, 8> Lines; // its code, "#" standing for a number
  std::string_view Tail;                 // the configuration at its end
};

constexpr TSourceShape kShapes[] = {
    {TSyntaxFamily::House,
     true,
     "// A program\r\n",
     {"Dim counter# As Byte                // loop counter, = and , in it", "counter# = counter# + 1",
      "If counter# > 100 Then counter# = 0", "    Call Delay(#)                   // wait, then go on",
      "Print \"value = \", Dec counter#", "", "    delay = delay + counter#", "Loop#:"},
     "device = 18F4520\r\n\r\nconfig\r\n    OSC = HS,           // HS oscillator\r\n"
     "    WDT = OFF,          // WDT disabled (control is placed on the SWDTEN bit)\r\n"
     "    MCLRE = ON,         // MCLR pin enabled; RE3 input pin disabled\r\n"
     "    LVP = OFF           // Single-Supply ICSP disabled\r\n"},
    {TSyntaxFamily::House,
     false,
     "' A program\r\n",
     {"Dim counter# As Byte                ' loop counter, = and , in it", "counter# = counter# + 1",
      "If counter# > 100 Then counter# = 0", "    Call Delay(#)                   ' wait, then go on",
      "Print \"value = \", Dec counter#", "", "    delay = delay + counter#", "Loop#:"},
     "device = 18F4520\r\n\r\nconfig OSC = HS         ' HS oscillator\r\n"
     "config WDT = OFF        ' WDT disabled (control is placed on the SWDTEN bit)\r\n"
     "config MCLRE = ON       ' MCLR pin enabled; RE3 input pin disabled\r\n"
     "config LVP = OFF        ' Single-Supply ICSP disabled\r\n"},
    {TSyntaxFamily::Pragma,
     false,
     "#include <xc.h>\r\n",
     {"unsigned char counter# = 0; // loop counter, = and , in it", "void Step#(void) {",
      "    counter# = counter# + 1; /* next */", "    if (counter# > 100) counter# = 0;", "    delay_ms(#);",
      "    PORTB = counter#;", "}", ""},
     "/* device = 18F4520 */\r\n\r\n// CONFIG1H at 0x300001\r\n"
     "#pragma config OSC = HS             // HS oscillator\r\n\r\n// CONFIG2H at 0x300003\r\n"
     "#pragma config WDT = OFF            // WDT disabled (control is placed on the SWDTEN bit)\r\n\r\n"
     "// CONFIG3H at 0x300005\r\n#pragma config MCLRE = ON           // MCLR pin enabled; RE3 input pin "
     "disabled\r\n\r\n// CONFIG4L at 0x300006\r\n"
     "#pragma config LVP = OFF            // Single-Supply ICSP disabled\r\n"},
    {TSyntaxFamily::Directive,
     false,
     "    #include <xc.inc>\r\n",
     {"counter# EQU 0x20                   ; loop counter, = and , in it",
      "Loop#:", "    movlw   0x01                    ; add one", "    addwf   counter#, f",
      "    call    Delay", "    clrf    PORTB", "    lfsr    0, 0x100", "    bra     Loop#"},
     "    PROCESSOR 18F4520\r\n\r\n; CONFIG1H at 0x300001\r\n"
     "    CONFIG OSC = HS             ; HS oscillator\r\n\r\n; CONFIG2H at 0x300003\r\n"
     "    CONFIG WDT = OFF            ; WDT disabled (control is placed on the SWDTEN bit)\r\n\r\n"
     "; CONFIG3H at 0x300005\r\n    CONFIG MCLRE = ON           ; MCLR pin enabled; RE3 input pin "
     "disabled\r\n"
     "\r\n; CONFIG4L at 0x300006\r\n    CONFIG LVP = OFF            ; Single-Supply ICSP disabled\r\n"},
};

const TSourceShape &ShapeOf(const TSyntax &syntax) {
  for (const TSourceShape &shape : kShapes)
    if (shape.Family == syntax.Family && shape.Block == syntax.Block)
      return shape;
  return kShapes[0];
}
} // namespace

std::string GeneratedSource(const TSyntax &syntax, size_t size) {
  const TSourceShape &shape = ShapeOf(syntax);
  std::string text;
  text.reserve(size + shape.Tail.size() + 256);
  text += shape.Head;
  for (int i = 0; text.size() + shape.Tail.size() < size; ++i)
    for (const std::string_view line : shape.Lines) {
      const std::string number = std::to_string(i);
      for (size_t from = 0;;) {
        const size_t hash = line.find('#', from);
        text.append(line.substr(from, hash - from));
        if (hash == std::string_view::npos)
          break;
        text += number;
        from = hash + 1;
      }
      text += "\r\n";
    }
  text += shape.Tail;
  return text;
}
