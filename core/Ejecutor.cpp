#include "core/Entorno.h"
#include "core/TextoHex.h"

#include <exception>

namespace {

int32_t Bajos_16(int32_t valor) { return valor & 0xFFFF; }
int32_t Con_Signo(int32_t palabra) { return palabra >= 0x8000 ? palabra - 0x10000 : palabra; }

}  // namespace

void TEntorno::BEjecutarClick() { Ejecutar_Paso(Opciones_Entorno.Modo_Consola); }

void TEntorno::Ejecutar_Paso(uint8_t modo_consola) {
  Historial.Comenzar(modo_consola, banderas_, Listado.Seleccion(), &visores_[THistorial::Primer_Visor_Cabecera]);
  try {
    if (Opciones_Entorno.Modo_Consola != 3) {
      Historial.Anotar_Contador(contador_);
      contador_ = 0;
      Fijar_PC(Valor(Visor_Teclado));
    }
    const std::string palabra = Leer_Palabra(Direccion_PC());
    Fijar_IR(palabra);
    Opciones_Entorno.Modo_Consola = 2;
    ultima_.Desenlace = TDesenlace::Nada;
    if (palabra.size() == 4 && Valor_Digito(palabra[0]) >= 0) Ejecutar_Instruccion(palabra);
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

bool TEntorno::Condicion(char digito) const {
  switch (digito) {
    case '0': return true;
    case '1': return Leer_Bandera(Bandera_Z);
    case '2': return Leer_Bandera(Bandera_S);
    case '3': return Leer_Bandera(Bandera_C);
    case '4': return Leer_Bandera(Bandera_V);
    default: return false;
  }
}

void TEntorno::Actualizar_AR_DR() {
  Fijar_Valor(Visor_AR, Valor(Visor_PC));
  Fijar_Valor(Visor_DR, Valor(Visor_IR));
}

void TEntorno::Avanzar_PC() {
  const int32_t p = Texto_a_Palabra(Valor(Visor_PC)) + 1;
  Fijar_PC(Palabra_a_Texto(p));
  Fijar_IR(Leer_Palabra(Direccion_PC()));
  Actualizar_AR_DR();
}

void TEntorno::Llamar_Subrutina() {
  int32_t sp = Texto_a_Palabra(Leer_Registro(14)) - 1;
  if (sp < 0) sp = 0xFFFF;
  Fijar_Registro(14, Palabra_a_Texto(sp));
  // A refused push is an error stop, though PC still jumps.
  if (sp >= Primera_Direccion_Monitor) ultima_.Desenlace = TDesenlace::Cortada;
  const std::string retorno = Palabra_a_Texto(Texto_a_Palabra(Valor(Visor_PC)) + 1);
  Escribir_Palabra(sp, retorno);
  Fijar_PC(Leer_Registro(13));
  Fijar_IR(Leer_Palabra(Direccion_PC()));
  Actualizar_AR_DR();
}

void TEntorno::Ejecutar_Instruccion(std::string_view w) {
  const int x = Valor_Digito(w[1]);
  const int32_t yy = Texto_a_Byte(w.substr(2, 2));
  const int s = Valor_Digito(w[2]);
  const int t = Valor_Digito(w[3]);
  // What the instruction moved is read from the table afterwards: here only
  // the word and, at each branch, a one-byte outcome.
  ultima_.Palabra = Texto_a_Palabra(w);
  ultima_.Desenlace = TDesenlace::Hecha;

  switch (Valor_Digito(w[0])) {
    case 0x0: {  // LD
      const int32_t a = yy + Texto_a_Palabra(Leer_Registro(13));
      if (a > 0xEFFF) {
        ultima_.Desenlace = TDesenlace::Rechazada;
        Detener_con_Aviso(Mensaje_Lectura_Ilegal);
      } else {
        Fijar_Registro(x, Leer_Palabra(a));
      }
      Avanzar_PC();
      return;
    }
    case 0x1: {  // ST
      const int32_t a = yy + Texto_a_Palabra(Leer_Registro(13));
      if (a >= Primera_Direccion_Monitor) ultima_.Desenlace = TDesenlace::Rechazada;
      Escribir_Palabra(a, Leer_Registro(x));
      Avanzar_PC();
      return;
    }
    case 0x2:  // LLI
      Fijar_Registro(x, std::string("00") + w[2] + w[3]);
      Avanzar_PC();
      return;
    case 0x3: {  // LHI
      const std::string_view r = Leer_Registro(x);
      std::string nuevo{w[2], w[3]};
      nuevo.append(r.substr(std::min<size_t>(2, r.size())));
      Fijar_Registro(x, nuevo);
      Avanzar_PC();
      return;
    }
    case 0x4:    // IN
    case 0x5: {  // OUT
      if (yy < 0 || yy >= Numero_Puertos) {
        ultima_.Desenlace = TDesenlace::Rechazada;
        Detener_con_Aviso(Mensaje_Puerto);
      } else if (w[0] == '4') {
        Fijar_Registro(x, Valor(Visor_Entrada(yy)));
      } else {
        Fijar_Valor(Visor_Salida(yy), Leer_Registro(x));
      }
      Avanzar_PC();
      return;
    }
    case 0x6:    // ADDS
    case 0x7: {  // SUBS
      const int32_t a = Bajos_16(Texto_a_Palabra(Leer_Registro(s)));
      const int32_t b = Bajos_16(Texto_a_Palabra(Leer_Registro(t)));
      const bool suma = w[0] == '6';
      const int32_t r = Bajos_16(suma ? a + b : a - b);
      const int32_t sa = Con_Signo(a), sb = Con_Signo(b), sr = Con_Signo(r);
      const bool desborde = suma ? (sa > 0 && sb > 0 && sr < 0) || (sa < 0 && sb < 0 && sr >= 0)
                                 : (sa > 0 && sb < 0 && sr < 0) || (sa < 0 && sb > 0 && sr >= 0);
      Fijar_Z(r == 0);
      Fijar_S(sr < 0);
      Fijar_C(suma ? a + b > 0xFFFF : b > a);
      Fijar_V(desborde);
      Fijar_Registro(x, Entero_a_Texto(sr));
      Avanzar_PC();
      return;
    }
    case 0x8: {  // NAND
      const int32_t a = Bajos_16(Texto_a_Palabra(Leer_Registro(s)));
      const int32_t b = Bajos_16(Texto_a_Palabra(Leer_Registro(t)));
      const int32_t r = Bajos_16(~(a & b));
      Fijar_Z(r == 0);
      Fijar_S((r & 0x8000) != 0);
      Fijar_Registro(x, Entero_a_Texto(Con_Signo(r)));
      Avanzar_PC();
      return;
    }
    case 0x9:    // SHL
    case 0xA:    // SHR
    case 0xB: {  // SHRA
      const int32_t v = Bajos_16(Texto_a_Palabra(Leer_Registro(x)));
      int32_t r;
      if (w[0] == '9') {
        Fijar_C((v & 0x8000) != 0);
        r = Bajos_16(v * 2);
      } else if (w[0] == 'A') {
        Fijar_C(v & 1);
        r = v >> 1;
      } else {
        Fijar_C(v & 1);
        r = (v >> 1) | (v & 0x8000);
      }
      Fijar_S((r & 0x8000) != 0);
      Fijar_Z(r == 0);
      Fijar_Registro(x, Entero_a_Texto(Con_Signo(r)));
      Avanzar_PC();
      return;
    }
    case 0xC:  // B
      if (Condicion(w[1])) {
        Fijar_PC(Leer_Registro(13));
        Fijar_IR(Leer_Palabra(Direccion_PC()));
      } else {
        ultima_.Desenlace = TDesenlace::No_Tomada;
        Avanzar_PC();
      }
      return;
    case 0xD:  // CALL
      if (Condicion(w[1])) {
        Llamar_Subrutina();
      } else {
        ultima_.Desenlace = TDesenlace::No_Tomada;
        Avanzar_PC();
      }
      return;
    case 0xE: {  // RET
      int32_t sp = Texto_a_Palabra(Leer_Registro(14));
      Fijar_PC(Leer_Palabra(sp));
      Fijar_IR(Leer_Palabra(Direccion_PC()));
      sp += 1;
      if (sp > 0xFFFF) sp = 0;
      Fijar_Registro(14, Palabra_a_Texto(sp));
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
