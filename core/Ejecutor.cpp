#include "core/Entorno.h"
#include "core/TextoHex.h"

#include <exception>

namespace {

int32_t Bajos_16(int32_t valor) { return valor & 0xFFFF; }
int32_t Con_Signo(int32_t palabra) { return palabra >= 0x8000 ? palabra - 0x10000 : palabra; }

}  // namespace

void TEntorno::BEjecutarClick() { Ejecutar_Paso(Opciones_Entorno.Modo_Consola); }

void TEntorno::Ejecutar_Paso(uint8_t modo_consola) {
  constexpr size_t cabecera = THistorial::Primer_Visor_Cabecera;
  Historial.Comenzar(modo_consola, banderas_, Listado.Seleccion(), &palabras_[cabecera], &visores_[cabecera]);
  try {
    if (Opciones_Entorno.Modo_Consola != 3) {
      Historial.Anotar_Contador(contador_);
      contador_ = 0;
      Fijar_PC(Valor(Visor_Teclado));
    }
    const int32_t palabra = Fijar_Visor_Memoria(Visor_IR, Direccion_PC());
    Opciones_Entorno.Modo_Consola = 2;
    ultima_.Desenlace = TDesenlace::Nada;
    // Only a whole word is an instruction: the monitor area reads as nothing.
    if (palabra >= 0) Ejecutar_Instruccion(palabra);
  } catch (const std::exception& error) {
    // The platform's error report (memory failing a store) ends the instruction.
    ultima_.Desenlace = TDesenlace::Cortada;
    Detener_con_Aviso(error.what());
  }
  ++contador_;
  Historial.Terminar();
  if (!estado_ejecucion_.empty()) Fijar_Estado_Ejecucion({});
  pantalla_->Instruccion_Ejecutada();
}

bool TEntorno::Condicion(int condicion) const {
  switch (condicion) {
    case 0: return true;
    case 1: return Leer_Bandera(Bandera_Z);
    case 2: return Leer_Bandera(Bandera_S);
    case 3: return Leer_Bandera(Bandera_C);
    case 4: return Leer_Bandera(Bandera_V);
    default: return false;
  }
}

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
      const int32_t a = Bajos_16(Numero_Registro(s));
      const int32_t b = Bajos_16(Numero_Registro(t));
      const bool suma = codigo == 0x6;
      const int32_t r = Bajos_16(suma ? a + b : a - b);
      const int32_t sa = Con_Signo(a), sb = Con_Signo(b), sr = Con_Signo(r);
      const bool desborde = suma ? (sa > 0 && sb > 0 && sr < 0) || (sa < 0 && sb < 0 && sr >= 0)
                                 : (sa > 0 && sb < 0 && sr < 0) || (sa < 0 && sb > 0 && sr >= 0);
      Fijar_Z(r == 0);
      Fijar_S(sr < 0);
      Fijar_C(suma ? a + b > 0xFFFF : b > a);
      Fijar_V(desborde);
      Fijar_Palabra(Visor_Registro(x), r);
      Avanzar_PC();
      return;
    }
    case 0x8: {  // NAND
      const int32_t a = Bajos_16(Numero_Registro(s));
      const int32_t b = Bajos_16(Numero_Registro(t));
      const int32_t r = Bajos_16(~(a & b));
      Fijar_Z(r == 0);
      Fijar_S((r & 0x8000) != 0);
      Fijar_Palabra(Visor_Registro(x), r);
      Avanzar_PC();
      return;
    }
    case 0x9:    // SHL
    case 0xA:    // SHR
    case 0xB: {  // SHRA
      const int32_t v = Bajos_16(Numero_Registro(x));
      int32_t r;
      if (codigo == 0x9) {
        Fijar_C((v & 0x8000) != 0);
        r = Bajos_16(v * 2);
      } else if (codigo == 0xA) {
        Fijar_C(v & 1);
        r = v >> 1;
      } else {
        Fijar_C(v & 1);
        r = (v >> 1) | (v & 0x8000);
      }
      Fijar_S((r & 0x8000) != 0);
      Fijar_Z(r == 0);
      Fijar_Palabra(Visor_Registro(x), r);
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
