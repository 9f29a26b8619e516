#include "widgets/hexeditor_codepages.h"

#include <array>
#include <iterator>

namespace {

// Upper halves of the code pages, as Unicode. ICU's 437 gives U+03BC for 0xE6
// and moves 0x1A, 0x1C and 0x7F; its Mac Roman is the same as ours, but a Qt
// without ICU has none, and the editor must show the same on every machine.
constexpr char16_t kCp437High[] =
    u"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
    u"└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0";
constexpr char16_t kMacRomanHigh[] =
    u"ÄÅÇÉÑÖÜáàâäãåçéèêëíìîïñóòôöõúùûü†°¢£§•¶ß®©™´¨≠ÆØ∞±≤≥¥µ∂∑∏π∫ªºΩæø"
    u"¿¡¬√ƒ≈∆«»…\u00A0ÀÃÕŒœ–—“”‘’÷◊ÿŸ⁄€‹›ﬁﬂ‡·‚„‰ÂÊÁËÈÍÎÏÌÓÔ\uF8FFÒÚÛÙıˆ˜¯˘˙˚¸˝˛ˇ";
static_assert(std::size(kCp437High) == 129 && std::size(kMacRomanHigh) == 129);
// 0x80..0x9F of the ANSI code page; 0 where it defines nothing, which ICU's
// windows-1252 turns into C1 controls.
constexpr char16_t kAnsiControlRange[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// EBCDIC: only the space, letters, digits and common punctuation; 0 elsewhere,
// where ICU's EBCDIC pages define every byte.
struct TEbcdicTable {
  std::array<char16_t, 256> Chars{};
  constexpr TEbcdicTable() {
    auto run = [this](int first, const char* text) {
      for (int i = 0; text[i]; ++i) Chars[static_cast<size_t>(first + i)] = static_cast<char16_t>(text[i]);
    };
    run(0x40, " ");
    run(0x4B, ".<(+|&");
    run(0x5A, "!$*);");
    run(0x60, "-/");
    run(0x6B, ",%_>?");
    run(0x7A, ":#@'=\"");
    run(0x81, "abcdefghi");
    run(0x91, "jklmnopqr");
    run(0xA2, "stuvwxyz");
    run(0xC1, "ABCDEFGHI");
    run(0xD1, "JKLMNOPQR");
    run(0xE2, "STUVWXYZ");
    run(0xF0, "0123456789");
  }
};
constexpr TEbcdicTable kEbcdic;

// The byte whose upper-half entry is the character, or 0.
int ReverseHigh(const char16_t* table, char16_t character) {
  for (int i = 0; i < 128; ++i)
    if (table[i] == character) return 128 + i;
  return 0;
}

}  // namespace

std::optional<char16_t> CodePageChar(THexEditor::TTranslation page, uint8_t byte) {
  char16_t shown = byte;
  switch (page) {
    case THexEditor::ttAnsi:
      if (byte >= 0x80 && byte < 0xA0) shown = kAnsiControlRange[byte - 0x80];
      break;
    case THexEditor::ttDos8:
      if (byte >= 0x80) shown = kCp437High[byte - 0x80];
      break;
    case THexEditor::ttASCII:
      if (byte >= 0x80) return std::nullopt;
      break;
    case THexEditor::ttMac:
      if (byte >= 0x80) shown = kMacRomanHigh[byte - 0x80];
      break;
    case THexEditor::ttEBCDIC: shown = kEbcdic.Chars[byte]; break;
  }
  // A 0 from a table is a gap; byte 0 itself is NUL except in EBCDIC.
  if (shown == 0 && (byte != 0 || page == THexEditor::ttEBCDIC)) return std::nullopt;
  return shown;
}

int CodePageByte(THexEditor::TTranslation page, char16_t character) {
  switch (page) {
    case THexEditor::ttAnsi:
      if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return character;
      for (int i = 0; i < 32; ++i)
        if (kAnsiControlRange[i] == character) return 0x80 + i;
      return 0;
    case THexEditor::ttDos8: return character < 0x80 ? character : ReverseHigh(kCp437High, character);
    case THexEditor::ttASCII: return character < 0x80 ? character : 0;
    case THexEditor::ttMac: return character < 0x80 ? character : ReverseHigh(kMacRomanHigh, character);
    case THexEditor::ttEBCDIC:
      for (int byte = 0; byte < 256; ++byte)
        if (kEbcdic.Chars[static_cast<size_t>(byte)] == character) return byte;
      return 0;
  }
  return 0;
}
