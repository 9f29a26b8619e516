#pragma once
// The code pages the memory editor's character column can show: each byte as
// a Unicode character and back. Tables of our own rather than Qt's
// converters: Qt knows these pages only when built with ICU, the characters
// must not depend on the machine, and most of ICU's differ from ours in a few
// bytes (the .cpp says which).
#include <cstdint>
#include <optional>

#include "widgets/hexeditor.h"

// The character a byte stands for; nothing where the page defines none.
std::optional<char16_t> CodePageChar(THexEditor::TTranslation page, uint8_t byte);

// The byte that stands for a character; 0 where no byte does.
int CodePageByte(THexEditor::TTranslation page, char16_t character);
