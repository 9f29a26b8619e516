#include "core/Entorno.h"
#include "core/TextoHex.h"

#include <algorithm>
#include <array>
#include <exception>
#include <initializer_list>
#include <tuple>

namespace {

int32_t Bajos_16(int32_t valor) { return valor & 0xFFFF; }
int32_t Con_Signo(int32_t palabra) { return palabra >= 0x8000 ? palabra - 0x10000 : palabra; }

// What an operation computes, shared by the one-step path and the batch: the
// word and the flags it sets (bit per TBandera; the others stay as they were).
struct TResultado {
  int32_t Palabra;
  uint8_t Banderas;
};
constexpr uint8_t Bit(TBandera bandera) { return static_cast<uint8_t>(1u << bandera); }
constexpr uint8_t Con(TBandera bandera, bool valor) { return valor ? Bit(bandera) : 0; }
constexpr uint8_t Banderas_ZSCV = 0xF, Banderas_ZS = Bit(Bandera_Z) | Bit(Bandera_S);
constexpr uint8_t Banderas_CSZ = Banderas_ZS | Bit(Bandera_C);

// ADDS and SUBS of two words: Z, S, C and V.
inline TResultado Sumar_Restar(bool suma, int32_t a, int32_t b) {
  const int32_t r = Bajos_16(suma ? a + b : a - b);
  const int32_t sa = Con_Signo(a), sb = Con_Signo(b), sr = Con_Signo(r);
  const bool desborde = suma ? (sa > 0 && sb > 0 && sr < 0) || (sa < 0 && sb < 0 && sr >= 0)
                             : (sa > 0 && sb < 0 && sr < 0) || (sa < 0 && sb > 0 && sr >= 0);
  return {r, static_cast<uint8_t>(Con(Bandera_Z, r == 0) | Con(Bandera_S, sr < 0) |
                                  Con(Bandera_C, suma ? a + b > 0xFFFF : b > a) | Con(Bandera_V, desborde))};
}

// NAND: Z and S.
inline TResultado Nand(int32_t a, int32_t b) {
  const int32_t r = Bajos_16(~(a & b));
  return {r, static_cast<uint8_t>(Con(Bandera_Z, r == 0) | Con(Bandera_S, (r & 0x8000) != 0))};
}

// SHL (9), SHR (A) and SHRA (B) of a word: C, S and Z.
inline TResultado Desplazar(int codigo, int32_t v) {
  const int32_t r = codigo == 0x9 ? Bajos_16(v * 2) : codigo == 0xA ? v >> 1 : (v >> 1) | (v & 0x8000);
  const bool acarreo = codigo == 0x9 ? (v & 0x8000) != 0 : (v & 1) != 0;
  return {r, static_cast<uint8_t>(Con(Bandera_C, acarreo) | Con(Bandera_S, (r & 0x8000) != 0) | Con(Bandera_Z, r == 0))};
}

inline bool Se_Cumple(int condicion, uint8_t banderas) {
  switch (condicion) {
    case 0: return true;
    case 1: return banderas & Bit(Bandera_Z);
    case 2: return banderas & Bit(Bandera_S);
    case 3: return banderas & Bit(Bandera_C);
    case 4: return banderas & Bit(Bandera_V);
    default: return false;
  }
}

// The one-step path sets the flags one by one, in the operation's order.
void Fijar_Banderas(TEntorno& entorno, uint8_t banderas, std::initializer_list<TBandera> orden) {
  for (const TBandera bandera : orden) entorno.Fijar_Bandera(bandera, banderas & Bit(bandera));
}

}  // namespace

void TEntorno::BEjecutarClick() { Ejecutar_Paso(Opciones_Entorno.Modo_Consola); }

void TEntorno::Ejecutar_Paso(uint8_t modo_consola) {
  constexpr size_t cabecera = THistorial::Primer_Visor_Cabecera;
  Historial.Comenzar(modo_consola, banderas_, Listado.Seleccion(), &palabras_[cabecera], &visores_[cabecera]);
  bool sin_palabra = false;
  try {
    if (Opciones_Entorno.Modo_Consola != 3) {
      Historial.Anotar_Contador(contador_);
      contador_ = 0;
      Fijar_PC(Valor(Visor_Teclado));
    }
    const int32_t palabra = Fijar_Visor_Memoria(Visor_IR, Direccion_PC());
    sin_palabra = !PC_en_Programa();
    Opciones_Entorno.Modo_Consola = 2;
    ultima_.Desenlace = TDesenlace::Nada;
    // Only a whole word is an instruction: the monitor area reads as nothing.
    if (palabra >= 0) Ejecutar_Instruccion(palabra);
  } catch (const std::exception& error) {
    // The platform's error report (memory failing a store) ends the instruction.
    ultima_.Desenlace = TDesenlace::Cortada;
    Detener_con_Aviso(error.what());
  }
  Historial.Terminar();
  // A fetch that finds no word (PC empty or in the monitor area) executed
  // nothing, and counts as nothing.
  if (sin_palabra) {
    Fijar_Estado_Ejecucion(Mensaje_Area_Monitor);
  } else {
    ++contador_;
    if (!estado_ejecucion_.empty()) Fijar_Estado_Ejecucion({});
  }
  pantalla_->Instruccion_Ejecutada();
}

bool TEntorno::Condicion(int condicion) const { return Se_Cumple(condicion, banderas_); }

void TEntorno::Actualizar_AR_DR() {
  Copiar_Visor(Visor_AR, Visor_PC);
  Copiar_Visor(Visor_DR, Visor_IR);
}

void TEntorno::Avanzar_PC() {
  Fijar_PC_Numero(Numero_Visor(Visor_PC) + 1);
  Fijar_Visor_Memoria(Visor_IR, Direccion_PC());
  Actualizar_AR_DR();
}

void TEntorno::Llamar_Subrutina() {
  int32_t sp = Numero_Registro(14) - 1;
  if (sp < 0) sp = 0xFFFF;
  Fijar_Palabra(Visor_Registro(14), sp);
  // A refused push is an error stop, though PC still jumps.
  if (sp >= Primera_Direccion_Monitor) ultima_.Desenlace = TDesenlace::Cortada;
  Escribir_Palabra(sp, Palabra_a_Texto_Corto(Numero_Visor(Visor_PC) + 1));
  Fijar_PC(Leer_Registro(13));
  Fijar_Visor_Memoria(Visor_IR, Direccion_PC());
  Actualizar_AR_DR();
}

void TEntorno::Ejecutar_Instruccion(int32_t palabra) {
  const int codigo = palabra >> 12;
  const int x = palabra >> 8 & 15;
  const int32_t yy = palabra & 0xFF;
  const int s = palabra >> 4 & 15;
  const int t = palabra & 15;
  // What the instruction moved is read from the table afterwards: here only
  // the word and, at each branch, a one-byte outcome.
  ultima_.Palabra = palabra;
  ultima_.Desenlace = TDesenlace::Hecha;

  switch (codigo) {
    case 0x0: {  // LD
      const int32_t a = yy + Numero_Registro(13);
      if (a > 0xEFFF) {
        ultima_.Desenlace = TDesenlace::Rechazada;
        Detener_con_Aviso(Mensaje_Lectura_Ilegal);
      } else {
        Fijar_Visor_Memoria(Visor_Registro(x), a);
      }
      Avanzar_PC();
      return;
    }
    case 0x1: {  // ST
      const int32_t a = yy + Numero_Registro(13);
      if (a >= Primera_Direccion_Monitor) ultima_.Desenlace = TDesenlace::Rechazada;
      Escribir_Palabra(a, Leer_Registro(x));
      Avanzar_PC();
      return;
    }
    case 0x2:  // LLI
      Fijar_Palabra(Visor_Registro(x), yy);
      Avanzar_PC();
      return;
    case 0x3: {  // LHI
      const int32_t r = palabras_[static_cast<size_t>(Visor_Registro(x))];
      if (r >= 0) {
        Fijar_Palabra(Visor_Registro(x), yy << 8 | (r & 0xFF));
      } else {
        // A register that does not hold a word keeps whatever follows its first two characters.
        const std::string_view v = Leer_Registro(x);
        std::string nuevo(std::string_view(Palabra_a_Texto_Corto(yy)).substr(2));
        nuevo.append(v.substr(std::min<size_t>(2, v.size())));
        Fijar_Registro(x, nuevo);
      }
      Avanzar_PC();
      return;
    }
    case 0x4:    // IN
    case 0x5: {  // OUT
      if (yy >= Numero_Puertos) {
        ultima_.Desenlace = TDesenlace::Rechazada;
        Detener_con_Aviso(Mensaje_Puerto);
      } else if (codigo == 0x4) {
        Fijar_Registro(x, Valor(Visor_Entrada(yy)));
      } else {
        Fijar_Valor(Visor_Salida(yy), Leer_Registro(x));
      }
      Avanzar_PC();
      return;
    }
    case 0x6:    // ADDS
    case 0x7: {  // SUBS
      const TResultado r = Sumar_Restar(codigo == 0x6, Bajos_16(Numero_Registro(s)), Bajos_16(Numero_Registro(t)));
      Fijar_Banderas(*this, r.Banderas, {Bandera_Z, Bandera_S, Bandera_C, Bandera_V});
      Fijar_Palabra(Visor_Registro(x), r.Palabra);
      Avanzar_PC();
      return;
    }
    case 0x8: {  // NAND
      const TResultado r = Nand(Bajos_16(Numero_Registro(s)), Bajos_16(Numero_Registro(t)));
      Fijar_Banderas(*this, r.Banderas, {Bandera_Z, Bandera_S});
      Fijar_Palabra(Visor_Registro(x), r.Palabra);
      Avanzar_PC();
      return;
    }
    case 0x9:    // SHL
    case 0xA:    // SHR
    case 0xB: {  // SHRA
      const TResultado r = Desplazar(codigo, Bajos_16(Numero_Registro(x)));
      Fijar_Banderas(*this, r.Banderas, {Bandera_C, Bandera_S, Bandera_Z});
      Fijar_Palabra(Visor_Registro(x), r.Palabra);
      Avanzar_PC();
      return;
    }
    case 0xC:  // B
      if (Condicion(x)) {
        Fijar_PC(Leer_Registro(13));
        Fijar_Visor_Memoria(Visor_IR, Direccion_PC());
      } else {
        ultima_.Desenlace = TDesenlace::No_Tomada;
        Avanzar_PC();
      }
      return;
    case 0xD:  // CALL
      if (Condicion(x)) {
        Llamar_Subrutina();
      } else {
        ultima_.Desenlace = TDesenlace::No_Tomada;
        Avanzar_PC();
      }
      return;
    case 0xE: {  // RET
      int32_t sp = Numero_Registro(14);
      const int32_t retorno = Palabra_Memoria(sp);
      if (retorno >= 0) Fijar_PC_Numero(retorno);
      else Fijar_PC(Leer_Palabra_Incompleta(sp));
      Fijar_Visor_Memoria(Visor_IR, Direccion_PC());
      sp += 1;
      if (sp > 0xFFFF) sp = 0;
      Fijar_Numero(Visor_Registro(14), sp);
      Actualizar_AR_DR();
      return;
    }
    case 0xF:  // HALT
      Detener_Ejecucion();
      Panel.BPasoPaso_Habilitado = true;
      Notificar_Panel();
      Actualizar_AR_DR();
      pantalla_->Mostrar_Mensaje(Mensaje_Fin);
      Avanzar_PC();
      return;
  }
}

int64_t TEntorno::Ejecutar_Lote(int64_t maximo) {
  if (maximo <= 0 || Estado_Maquina.Encendida != 1 || Estado_Maquina.Modo_Paso_a_Paso != 0 ||
      Opciones_Entorno.Modo_Consola != 2 || !estado_ejecucion_.empty() || Memoria.SwapNibbles)
    return 0;
  for (int visor = Visor_Registro(0); visor <= Visor_PC; ++visor)
    if (palabras_[static_cast<size_t>(visor)] < 0) return 0;
  // A history recording each step gets each step's block; a paused or
  // switched-off one gets one bracket around the batch, as it records nothing.
  return Historial.Activo() && !Historial.En_Pausa() ? Ejecutar_Lote<true>(maximo) : Ejecutar_Lote<false>(maximo);
}

template <bool Grabar>
int64_t TEntorno::Ejecutar_Lote(int64_t maximo) {
  // Whole words below the monitor area; a fetch anywhere else is the one-step path's.
  const int32_t limite = std::min(Primera_Direccion_Monitor, Memoria.DataSize() / 2);
  const uint8_t* const memoria = Memoria.Bytes();
  const auto leer = [memoria](int32_t direccion) {
    return int32_t{memoria[2 * direccion]} << 8 | memoria[2 * direccion + 1];
  };
  const int32_t* const lineas = Listado.Indice_Palabras();
  const bool paradas = !Puntos_Ruptura.Ninguno();

  // The numbers, and for each display whether it changed at some point, so
  // that each is shown as often as one step at a time would show it: a bit
  // per register, and for AR, DR, IR and PC the bits that any write flipped.
  std::array<int32_t, 16> r;
  std::copy_n(palabras_.begin(), r.size(), r.begin());
  int32_t ar = palabras_[Visor_AR], dr = palabras_[Visor_DR], ir = palabras_[Visor_IR], pc = palabras_[Visor_PC];
  uint32_t cambiados = 0;
  int32_t cambios_ar = 0, cambios_dr = 0, cambios_ir = 0, cambios_pc = 0;
  const auto fijar = [](int32_t& cambios, int32_t& actual, int32_t palabra) {
    cambios |= actual ^ palabra;
    actual = palabra;
  };
  // A history recording each step gets each step's block, written as the step ends.
  THistorial::TLote lote(Historial);
  const uint8_t modo_consola = Opciones_Entorno.Modo_Consola;
  const auto fijar_registro = [&](int n, int32_t palabra) {
    int32_t& actual = r[static_cast<size_t>(n)];
    if constexpr (Grabar) {
      if (actual != palabra) lote.Anotar_Visor(Visor_Registro(n), actual);
    }
    cambiados |= uint32_t{actual != palabra} << n;
    actual = palabra;
  };
  uint8_t banderas = banderas_;
  bool banderas_cambiadas = false;
  const auto fijar_banderas = [&](const TResultado& resultado, uint8_t afectadas) {
    const auto nuevas = static_cast<uint8_t>((banderas & ~afectadas) | resultado.Banderas);
    banderas_cambiadas |= nuevas != banderas;
    banderas = nuevas;
  };
  int seleccion = Listado.Seleccion();
  bool seleccion_cambiada = false;
  // PC moves and the listing follows. IR reads the word there when the next
  // instruction is fetched (the same word), and DR copies it after a step.
  bool dr_pendiente = false;
  const auto fijar_pc = [&](int32_t destino) {
    fijar(cambios_pc, pc, destino);
    const int32_t linea = lineas[destino];
    seleccion_cambiada |= linea >= 0 && linea != seleccion;
    if (linea >= 0) seleccion = linea;
  };
  // Stores, ports, calls, returns and HALT are left to the one-step path.
  constexpr uint32_t Operaciones_Aparte = 1u << 0x1 | 1u << 0x4 | 1u << 0x5 | 1u << 0xD | 1u << 0xE | 1u << 0xF;
  TUltima_Instruccion ultima = ultima_;
  // An address that is not a whole word ends the batch: IR (and DR after a
  // step) then take the text one step gives them.
  bool ir_incompleto = false;

  int64_t n = 0;
  for (;;) {
    if (pc >= limite) {
      ir_incompleto = n > 0;
      break;
    }
    const int32_t palabra = leer(pc);
    if (n > 0) {
      fijar(cambios_ir, ir, palabra);
      if (dr_pendiente) fijar(cambios_dr, dr, palabra);
    }
    if (n >= maximo || (paradas && Puntos_Ruptura.Detiene(pc))) break;
    const int codigo = palabra >> 12;
    const int x = palabra >> 8 & 15;
    const int32_t yy = palabra & 0xFF;
    // So is a load that fails or reads no whole word.
    if ((Operaciones_Aparte >> codigo & 1) || (codigo == 0x0 && yy + r[13] >= limite)) break;
    if constexpr (Grabar) lote.Comenzar(modo_consola, banderas, seleccion, {ar, dr, ir, pc});
    if (n == 0) fijar(cambios_ir, ir, palabra);
    ultima.Palabra = palabra;
    ultima.Desenlace = TDesenlace::Hecha;
    dr_pendiente = true;
    switch (codigo) {
      case 0x0: fijar_registro(x, leer(yy + r[13])); break;
      case 0x2: fijar_registro(x, yy); break;
      case 0x3: fijar_registro(x, yy << 8 | (r[static_cast<size_t>(x)] & 0xFF)); break;
      case 0x6:
      case 0x7: {
        const TResultado resultado =
            Sumar_Restar(codigo == 0x6, r[static_cast<size_t>(palabra >> 4 & 15)], r[static_cast<size_t>(palabra & 15)]);
        fijar_banderas(resultado, Banderas_ZSCV);
        fijar_registro(x, resultado.Palabra);
        break;
      }
      case 0x8: {
        const TResultado resultado = Nand(r[static_cast<size_t>(palabra >> 4 & 15)], r[static_cast<size_t>(palabra & 15)]);
        fijar_banderas(resultado, Banderas_ZS);
        fijar_registro(x, resultado.Palabra);
        break;
      }
      case 0x9:
      case 0xA:
      case 0xB: {
        const TResultado resultado = Desplazar(codigo, r[static_cast<size_t>(x)]);
        fijar_banderas(resultado, Banderas_CSZ);
        fijar_registro(x, resultado.Palabra);
        break;
      }
      default:  // 0xC, B: a jump leaves AR and DR as they are
        if (Se_Cumple(x, banderas)) {
          fijar_pc(r[13]);
          dr_pendiente = false;
          if constexpr (Grabar) lote.Terminar();
          ++n;
          continue;
        }
        ultima.Desenlace = TDesenlace::No_Tomada;
        break;
    }
    fijar_pc(pc + 1);
    fijar(cambios_ar, ar, pc);
    if constexpr (Grabar) lote.Terminar();
    ++n;
  }
  if (n == 0) return 0;

  // Shown as the last step would leave them, within an instruction's bracket
  // so that nothing here counts as a change by the user. A history that
  // records nothing needs no bracket for each instruction: one will do, but
  // only once one has run (it ends what a step back left to show).
  if constexpr (Grabar)
    lote.Cerrar();
  else
    Historial.Comenzar(modo_consola, banderas_, Listado.Seleccion(), &palabras_[Visor_AR], &visores_[Visor_AR]);
  for (int i = 0; i < 16; ++i)
    if (cambiados >> i & 1) Mostrar_Palabra(Visor_Registro(i), r[static_cast<size_t>(i)]);
  for (const auto& [visor, cambios, palabra] : {std::tuple{Visor_AR, cambios_ar, ar}, {Visor_DR, cambios_dr, dr},
                                                {Visor_IR, cambios_ir, ir}, {Visor_PC, cambios_pc, pc}})
    if (cambios != 0) Mostrar_Palabra(visor, palabra);
  if (ir_incompleto) {
    Fijar_Visor_Memoria(Visor_IR, pc);
    if (dr_pendiente) Copiar_Visor(Visor_DR, Visor_IR);
  }
  if (banderas_cambiadas) {
    banderas_ = banderas;
    pantalla_->Banderas_Cambiadas();
  }
  if (seleccion_cambiada) Listado.Seleccionar_Tras_Ejecucion(seleccion);
  ultima_ = ultima;
  contador_ += n;
  Historial.Terminar();
  pantalla_->Instruccion_Ejecutada();
  return n;
}
