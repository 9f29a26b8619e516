#include "core/Entorno.h"
#include "core/TextoHex.h"

#include <algorithm>
#include <exception>

std::string Desplazar_Digito(std::string_view texto, char digito) {
  std::string nuevo(texto.substr(std::min<size_t>(1, texto.size()), 3));
  nuevo += digito;
  return nuevo;
}

void TEntorno::Pulsacion_Teclado(char digito) {
  Fijar_Valor(Visor_Teclado, Desplazar_Digito(Valor(Visor_Teclado), digito));
}

void TEntorno::BDireccionClick() {
  const int32_t a = Texto_a_Palabra(Valor(Visor_Teclado));
  if (a > 0xEFFF) {
    pantalla_->Mostrar_Mensaje(Mensaje_Lectura_Ilegal);
    return;
  }
  Opciones_Entorno.Modo_Consola = 0;
  Panel.BContinuar_Habilitado = true;
  Notificar_Panel();
  Fijar_Valor(Visor_OP1, Valor(Visor_Teclado));
  Fijar_Valor(Visor_OP2, Leer_Palabra(a));
}

void TEntorno::BRegistrosClick() {
  Opciones_Entorno.Modo_Consola = 1;
  Fijar_Valor(Visor_OP1, "0000");
  Fijar_Valor(Visor_OP2, Leer_Registro(0));
  Panel.BContinuar_Habilitado = true;
  Notificar_Panel();
}

void TEntorno::BCargarClick() {
  if (Opciones_Entorno.Modo_Consola == 0) {
    int32_t a = Texto_a_Palabra(Valor(Visor_OP1));
    if (a > 0xEFFF) {
      pantalla_->Mostrar_Mensaje(Mensaje_Lectura_Ilegal);
      return;
    }
    try {
      Escribir_Palabra(a, Valor(Visor_Teclado));
      Palabras_Escritas.Marcar(a);
    } catch (const std::exception& error) {
      pantalla_->Mostrar_Mensaje(error.what());
      return;
    }
    a += 1;
    if (a > 0xEFFF) {
      pantalla_->Mostrar_Mensaje(Mensaje_Lectura_Ilegal);
      return;
    }
    Fijar_Valor(Visor_OP1, Palabra_a_Texto(a));
    Fijar_Valor(Visor_OP2, Leer_Palabra(a));
  } else if (Opciones_Entorno.Modo_Consola == 1) {
    int32_t n = Texto_a_Palabra(Valor(Visor_OP1));
    Fijar_Registro(n, Valor(Visor_Teclado));
    n += 1;
    if (n == 16) n = 0;
    Fijar_Valor(Visor_OP1, Palabra_a_Texto(n));
    Fijar_Valor(Visor_OP2, Leer_Registro(n));
  }
}

void TEntorno::Paso_Consola() {
  if (Opciones_Entorno.Modo_Consola == 0) {
    const int32_t a = Texto_a_Palabra(Valor(Visor_OP1)) + 1;
    if (a > 0xEFFF) {
      pantalla_->Mostrar_Mensaje(Mensaje_Lectura_Ilegal);
      return;
    }
    Fijar_Valor(Visor_OP1, Palabra_a_Texto(a));
    Fijar_Valor(Visor_OP2, Leer_Palabra(a));
  } else {
    int32_t n = Texto_a_Palabra(Valor(Visor_OP1)) + 1;
    if (n > 15) n = 0;
    Fijar_Valor(Visor_OP1, Palabra_a_Texto(n));
    Fijar_Valor(Visor_OP2, Leer_Registro(n));
  }
}

void TEntorno::Conmutar_Bandera(TBandera bandera) {
  if (Estado_Maquina.Encendida == 0) {
    pantalla_->Mostrar_Mensaje(Mensaje_Apagada);
    return;
  }
  Fijar_Bandera(bandera, Leer_Bandera(bandera) ? 0 : 1);
}
