#pragma once
// Counts as the Spanish texts write them.
#include <cstdint>
#include <string>
#include <string_view>

// Digits grouped by threes with full stops: 335544323 gives "335.544.323".
std::string Agrupar_Cifras(uint64_t n);

// The count, grouped, before the noun in the number it takes: "1 caso", "0 casos".
std::string Cantidad(uint64_t n, std::string_view singular, std::string_view plural);
