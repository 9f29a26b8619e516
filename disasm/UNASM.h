#pragma once
// Turns one instruction word, given as its four hex digits, into the assembly
// text of the listing.
#include <string>
#include <string_view>

std::string Desensamblar(std::string_view palabra);
