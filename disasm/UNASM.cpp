#include "disasm/UNASM.h"

namespace {

char Letra_Condicion(char c) {
  switch (c) {
    case '1': return 'Z';
    case '2': return 'S';
    case '3': return 'C';
    case '4': return 'V';
    default: return 'R';
  }
}

}  // namespace

std::string Desensamblar(std::string_view palabra) {
  if (palabra.size() < 4) return {};
  const char c1 = palabra[0];
  const std::string c2(1, palabra[1]);
  const std::string c3(1, palabra[2]);
  const std::string c4(1, palabra[3]);
  switch (c1) {
    case '0': return "LD R" + c2 + ", [RD+H'" + c3 + c4 + "]";
    case '1': return "ST [RD+H'" + c3 + c4 + "], R" + c2;
    case '2': return "LLI R" + c2 + ", H'" + c3 + c4;
    case '3': return "LHI R" + c2 + ", H'" + c3 + c4;
    case '4': return "IN R" + c2 + ", H'" + c3 + c4;
    case '5': return "OUT H'" + c3 + c4 + ", R" + c2;
    case '6': return "ADDS R" + c2 + ", R" + c3 + ", R" + c4;
    case '7': return "SUBS R" + c2 + ", R" + c3 + ", R" + c4;
    case '8': return "NAND R" + c2 + ", R" + c3 + ", R" + c4;
    case '9': return "SHL R" + c2;
    case 'A': return "SHR R" + c2;
    case 'B': return "SHRA R" + c2;
    case 'C': return std::string("B") + Letra_Condicion(palabra[1]);
    case 'D': return std::string("CALL") + Letra_Condicion(palabra[1]);
    case 'E': return "RET";
    case 'F': return "HALT";
    default: return {};
  }
}
