// fb_fontcheck: tells whether Wine (or Windows) draws with the window's intended
// fonts, not a substitute: Tahoma, Tahoma bold and MS Sans Serif, and Marlett for
// the caption buttons. Prints each face as the font mapper gives it; exit status 1
// when one of them is not itself.
#include <cstdio>
#include <string>

#include <windows.h>

namespace {
// The face the font mapper gives for Face.
std::wstring MappedFace(HDC dc, const wchar_t *face, int weight, BYTE charset) {
  HFONT font = CreateFontW(-11, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t name[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, name);
  SelectObject(dc, old);
  DeleteObject(font);
  return name;
}
} // namespace

int main() {
  const struct {
    const wchar_t *Face;
    int Weight;
    BYTE Charset;
  } fonts[] = {
      {L"Tahoma", FW_NORMAL, ANSI_CHARSET},
      {L"Tahoma", FW_BOLD, ANSI_CHARSET},
      {L"MS Sans Serif", FW_NORMAL, ANSI_CHARSET},
      {L"Marlett", FW_NORMAL, SYMBOL_CHARSET},
  };
  HDC dc = GetDC(nullptr);
  int missing = 0;
  for (const auto &font : fonts) {
    const std::wstring mapped = MappedFace(dc, font.Face, font.Weight, font.Charset);
    const bool ok = mapped == font.Face;
    std::printf("%-14ls %-6s -> %ls%s\n", font.Face, font.Weight == FW_BOLD ? "bold" : "", mapped.c_str(),
                ok ? "" : "  (a substitute)");
    missing += ok ? 0 : 1;
  }
  ReleaseDC(nullptr, dc);
  return missing == 0 ? 0 : 1;
}
