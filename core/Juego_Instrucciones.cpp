#include "core/Juego_Instrucciones.h"

#include "core/TextoHex.h"
#include "disasm/UNASM.h"

namespace {

// Rx, Rs and Rt stand for the registers in the word's digits x, s and t, and yy
// for its low byte; rD and rE are those registers themselves.
constexpr std::array<TOperacion, 16> Operaciones{{
    {'0', "LD", "LD Rx, [RD+H'yy]", "0xyy", "Rx := M[rD + yy]", "",
     "Ninguna. Una dirección por encima de EFFF detiene el programa con un aviso.",
     "0105", "r1 := M[rD + 05]"},
    {'1', "ST", "ST [RD+H'yy], Rx", "1xyy", "M[rD + yy] := Rx", "",
     "Ninguna. Una dirección de F000 en adelante no se escribe y detiene el programa.",
     "1105", "M[rD + 05] := r1"},
    {'2', "LLI", "LLI Rx, H'yy", "2xyy", "Rx := 00yy", "", "Ninguna.", "2105", "r1 := 0005"},
    {'3', "LHI", "LHI Rx, H'yy", "3xyy", "byte alto de Rx := yy; el byte bajo se mantiene", "",
     "Ninguna.", "31FF", "r1 := FF en el byte alto"},
    {'4', "IN", "IN Rx, H'yy", "4xyy", "Rx := puerto de entrada yy", "",
     "Ninguna. Un puerto por encima de 3F detiene el programa.", "4201", "r2 := puerto de entrada 01"},
    {'5', "OUT", "OUT H'yy, Rx", "5xyy", "puerto de salida yy := Rx", "",
     "Ninguna. El puerto 01 se ve en D/OP1 y el 02 en C/OP2.", "5301", "puerto de salida 01 := r3"},
    {'6', "ADDS", "ADDS Rx, Rs, Rt", "6xst", "Rx := Rs + Rt", "Z, S, C y V",
     "Z: resultado cero. S: bit 15 del resultado. C: acarreo (la suma pasa de FFFF). "
     "V: desbordamiento con signo.",
     "6312", "r3 := r1 + r2"},
    {'7', "SUBS", "SUBS Rx, Rs, Rt", "7xst", "Rx := Rs - Rt", "Z, S, C y V",
     "Z: resultado cero. S: bit 15 del resultado. C: préstamo (Rt mayor que Rs sin signo). "
     "V: desbordamiento con signo.",
     "7312", "r3 := r1 - r2"},
    {'8', "NAND", "NAND Rx, Rs, Rt", "8xst", "Rx := NOT (Rs AND Rt)", "Z y S",
     "Z: resultado cero. S: bit 15 del resultado. C y V se mantienen.", "8311", "r3 := NOT r1"},
    {'9', "SHL", "SHL Rx", "9x00", "Rx := Rx desplazado un bit a la izquierda", "Z, S y C",
     "Z: resultado cero. S: bit 15 del resultado. C: el bit 15 que sale. V se mantiene.", "9100",
     "r1 := r1 × 2"},
    {'A', "SHR", "SHR Rx", "Ax00", "Rx := Rx desplazado un bit a la derecha, entra un 0", "Z, S y C",
     "Z: resultado cero. S: queda a 0. C: el bit 0 que sale. V se mantiene.", "A100",
     "r1 := r1 / 2 sin signo"},
    {'B', "SHRA", "SHRA Rx", "Bx00", "Rx := Rx desplazado un bit a la derecha, el bit 15 se mantiene",
     "Z, S y C", "Z: resultado cero. S: bit 15 del resultado. C: el bit 0 que sale. V se mantiene.",
     "B100", "r1 := r1 / 2 con signo"},
    {'C', "B", "BR, BZ, BS, BC, BV", "Cc00",
     "si se cumple la condición: PC := rD (R: siempre; Z, S, C, V: si esa bandera vale 1)", "",
     "Ninguna.", "C100", "si Z vale 1, salta a la dirección de rD"},
    {'D', "CALL", "CALLR, CALLZ, CALLS, CALLC, CALLV", "Dc00",
     "si se cumple la condición: rE := rE - 1, M[rE] := PC + 1, PC := rD", "", "Ninguna.", "D000",
     "guarda la dirección de vuelta en la pila y salta a la de rD"},
    {'E', "RET", "RET", "E000", "PC := M[rE], rE := rE + 1", "", "Ninguna.", "E000",
     "vuelve a la dirección guardada por el último CALL"},
    {'F', "HALT", "HALT", "F000", "detiene el programa: \"Fin de la ejecución :-)\"", "",
     "Ninguna.", "F000", "fin del programa; PC pasa a la palabra siguiente"},
}};

constexpr std::array<TNota_Juego, 4> Notas{{
    {"Registros", "r0..rF son dieciséis registros de uso general. rD es además la base de LD y ST y la "
                  "dirección de destino de los saltos (B) y de las llamadas (CALL). rE es el puntero de pila."},
    {"CALL, RET y la pila", "La pila crece hacia direcciones menores y rE apunta a la última palabra guardada. "
                            "CALL resta 1 a rE, guarda allí la dirección de vuelta y salta a rD; RET lee la "
                            "dirección de M[rE], suma 1 a rE y vuelve. Al encender, rE vale F000, así que la "
                            "primera palabra guardada va a EFFF."},
    {"Puertos y teclado", "IN lee un puerto de entrada y OUT escribe uno de salida (00..3F). El puerto de "
                          "entrada 01 es el teclado hexadecimal del panel frontal (IP1): IN Rx, H'01 lee lo que "
                          "se ha tecleado. El puerto de entrada 02 es IP2."},
    {"Área del monitor", "Las direcciones F000..FFFF son del programa monitor: no se pueden leer con LD ni "
                         "escribir con ST, y allí no se ejecuta nada. Los programas van en 0000..EFFF."},
}};

char Mayuscula(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool Igual_Sin_Caso(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Mayuscula(a[i]) != b[i]) return false;
  return true;
}

// "R", "Z", "S", "C" or "V" after B and CALL.
bool Es_Condicion(std::string_view resto) {
  return resto.size() == 1 && std::string_view("RZSCV").find(Mayuscula(resto[0])) != std::string_view::npos;
}

void Sustituir(std::string& texto, std::string_view marca, std::string_view valor) {
  for (size_t p = texto.find(marca); p != std::string::npos; p = texto.find(marca, p + valor.size()))
    texto.replace(p, marca.size(), valor);
}

std::string Condicion(char digito) {
  if (digito == '0') return "siempre";
  if (digito >= '1' && digito <= '4') return std::string("si ") + "ZSCV"[digito - '1'] + " vale 1";
  return std::string("nunca (condición ") + digito + ")";
}

std::string Cambios(const TOperacion& operacion) {
  if (operacion.Cambia.empty()) return "no cambia las banderas";
  return "cambia " + std::string(operacion.Cambia);
}

}  // namespace

const std::array<TOperacion, 16>& Juego_Instrucciones() { return Operaciones; }

const std::array<TNota_Juego, 4>& Notas_Juego_Instrucciones() { return Notas; }

const TOperacion* Buscar_Operacion(std::string_view mnemonico) {
  for (const TOperacion& operacion : Operaciones) {
    const std::string_view nombre = operacion.Nombre;
    if (Igual_Sin_Caso(mnemonico, nombre) && nombre != "B" && nombre != "CALL") return &operacion;
    if ((nombre == "B" || nombre == "CALL") && mnemonico.size() == nombre.size() + 1 &&
        Igual_Sin_Caso(mnemonico.substr(0, nombre.size()), nombre) &&
        Es_Condicion(mnemonico.substr(nombre.size())))
      return &operacion;
  }
  return nullptr;
}

std::string Resumen_Operacion(const TOperacion& operacion) {
  return std::string(operacion.Sintaxis) + ": " + std::string(operacion.Efecto) + "; " + Cambios(operacion);
}

std::string Resumen_Palabra(std::string_view palabra) {
  if (palabra.size() != 4 || Texto_a_Palabra(palabra) < 0) return {};
  const TOperacion& operacion = Operaciones[static_cast<size_t>(Valor_Digito(palabra[0]))];
  std::string efecto(operacion.Efecto);
  const char c = Mayuscula(palabra[1]);
  if (operacion.Codigo == 'C' || operacion.Codigo == 'D') {
    // The word's condition digit replaces the general rule; 5..F list as R but are never taken.
    efecto = Condicion(c) + efecto.substr(efecto.find(':'));
    Sustituir(efecto, " (R: siempre; Z, S, C, V: si esa bandera vale 1)", "");
  }
  Sustituir(efecto, "Rx", std::string("r") + c);
  Sustituir(efecto, "Rs", std::string("r") + Mayuscula(palabra[2]));
  Sustituir(efecto, "Rt", std::string("r") + Mayuscula(palabra[3]));
  Sustituir(efecto, "yy", std::string{Mayuscula(palabra[2]), Mayuscula(palabra[3])});
  return Desensamblar(palabra) + ": " + efecto + "; " + Cambios(operacion);
}
