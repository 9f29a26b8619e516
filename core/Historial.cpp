#include "core/Historial.h"

#include <algorithm>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

char Digito(uint8_t v) { return static_cast<char>(v < 10 ? '0' + v : 'A' + v - 10); }

}  // namespace

void THistorial::Fijar_Activo(bool activo) {
  activo_ = activo;
  Vaciar();
  if (!activo_) {
    anillo_ = {};
    mascara_ = 0;
    lleno_ = cola_;
  }
}

void THistorial::Vaciar() {
  ++vaciados_;
  grabando_ = false;
  cola_ = cabeza_;
  lleno_ = cola_ + anillo_.size();
  instrucciones_ = 0;
  hay_deshecho_ = false;
}

bool THistorial::Hacer_Sitio(size_t n) {
  while (cabeza_ - cola_ + n > anillo_.size()) {
    if (anillo_.size() < Maximo_Bytes) {
      // Straight to the full size: its pages cost nothing until written,
      // while growing by steps copied every byte again and again (most of
      // the time a run's history took). Positions are absolute, so each byte
      // moves to its place in the larger ring.
      TAnillo nuevo(Maximo_Bytes);
#ifdef MADV_HUGEPAGE
      // In large pages where the system allows: the ring is written from end
      // to end, and a fault for every 4 KB cost a run's history more than
      // recording it.
      const auto primera = reinterpret_cast<uintptr_t>(nuevo.data() + 4095) & ~uintptr_t{4095};
      const auto final = reinterpret_cast<uintptr_t>(nuevo.data() + nuevo.size()) & ~uintptr_t{4095};
      madvise(reinterpret_cast<void*>(primera), final - primera, MADV_HUGEPAGE);
#endif
      const size_t nueva_mascara = nuevo.size() - 1;
      for (uint64_t p = cola_; p < cabeza_;) {
        // The longest run that wraps in neither ring.
        const size_t desde = static_cast<size_t>(p) & mascara_, hacia = static_cast<size_t>(p) & nueva_mascara;
        const size_t tramo = std::min({static_cast<size_t>(cabeza_ - p), anillo_.size() - desde, nuevo.size() - hacia});
        std::memcpy(&nuevo[hacia], &anillo_[desde], tramo);
        p += tramo;
      }
      anillo_ = std::move(nuevo);
      mascara_ = nueva_mascara;
      lleno_ = cola_ + anillo_.size();
    } else if (instrucciones_ > 0) {
      Soltar_Mas_Antigua();
    } else {
      roto_ = true;
      return false;
    }
  }
  return true;
}

THistorial::TLote THistorial::TLote::Terminar_Aparte(TLote lote) {
  lote.Devolver();
  THistorial& h = *lote.h_;
  h.en_instruccion_ = true;
  h.hay_deshecho_ = false;
  h.Grabar_Cabecera(lote.cabecera_);
  if (lote.hay_cambio_) h.Anotar(lote.cambio_);
  h.Terminar();
  lote.Cargar();
  return lote;
}

void THistorial::Anotar_Texto(int visor, std::string_view texto) {
  if (!grabando_) return;
  if (texto.size() > 0xFF) {
    roto_ = true;
    return;
  }
  if (!Sitio(texto.size() + 3)) return;
  for (char c : texto) Escribir(static_cast<uint8_t>(c));
  Escribir(static_cast<uint8_t>(texto.size()));
  Escribir(static_cast<uint8_t>(visor));
  Escribir(Tipo_Texto);
}

void THistorial::Anotar_Textos(unsigned textos_aparte, const std::string* textos) {
  for (int i = 0; i < Visores_Cabecera; ++i)
    if (textos_aparte >> i & 1) Anotar_Texto(Primer_Visor_Cabecera + i, textos[i]);
}

void THistorial::Anotar_Contador(int64_t contador) {
  if (!grabando_ || !Sitio(9)) return;
  const auto valor = static_cast<uint64_t>(contador);
  for (int i = 0; i < 8; ++i) Escribir(static_cast<uint8_t>(valor >> (8 * i)));
  Escribir(Tipo_Contador);
}

std::string_view THistorial::Texto_Palabra(uint64_t posicion) const {
  const uint8_t alto = Leer(posicion), bajo = Leer(posicion + 1);
  texto_ = {Digito(alto >> 4), Digito(alto & 15), Digito(bajo >> 4), Digito(bajo & 15)};
  return texto_;
}

uint64_t THistorial::Recorrer(uint64_t fin, const std::function<void(const TCambio&)>& ver) const {
  uint64_t p = fin;
  for (;;) {
    const uint8_t tipo = Leer(p - 1);
    TCambio cambio;
    if (tipo < Tipo_Texto) {
      cambio = TCambio(TCambio::Visor, tipo, Texto_Palabra(p - 3));
      p -= 3;
    } else if (tipo == Tipo_Texto) {
      const uint8_t visor = Leer(p - 2), longitud = Leer(p - 3);
      texto_.clear();
      for (uint64_t q = p - 3 - longitud; q < p - 3; ++q) texto_ += static_cast<char>(Leer(q));
      cambio = TCambio(TCambio::Visor, visor, texto_);
      p -= 3u + longitud;
    } else if (tipo == Tipo_Palabra || tipo == Tipo_Byte_Alto) {
      const bool palabra = tipo == Tipo_Palabra;
      const uint64_t q = p - (palabra ? 5 : 4);
      cambio = TCambio(palabra ? TCambio::Palabra : TCambio::Byte_Alto, Leer(q) << 8 | Leer(q + 1));
      cambio.Bytes[0] = Leer(q + 2);
      cambio.Bytes[1] = palabra ? Leer(q + 3) : 0;
      p = q;
    } else if (tipo == Tipo_Contador) {
      uint64_t valor = 0;
      for (int i = 0; i < 8; ++i) valor |= static_cast<uint64_t>(Leer(p - 9 + static_cast<uint64_t>(i))) << (8 * i);
      cambio = TCambio(TCambio::Contador, 0);
      cambio.Contador_Anterior = static_cast<int64_t>(valor);
      p -= 9;
    } else {  // the block's header
      p -= Bytes_Cabecera;
      const unsigned textos_aparte = Leer(p + 16);
      for (uint64_t i = 0; i < Visores_Cabecera; ++i)
        if ((textos_aparte >> i & 1) == 0)  // else its text came as a change of its own
          ver(TCambio(TCambio::Visor, Primer_Visor_Cabecera + static_cast<int>(i), Texto_Palabra(p + 3 + 2 * i)));
      uint32_t seleccion = 0;
      for (uint64_t i = 0; i < 4; ++i) seleccion |= static_cast<uint32_t>(Leer(p + 11 + i)) << (8 * i);
      ver(TCambio(TCambio::Banderas, Leer(p + 15)));
      ver(TCambio(TCambio::Seleccion, static_cast<int32_t>(seleccion)));
      ver(TCambio(TCambio::Modo_Consola, Leer(p)));
      return p;
    }
    ver(cambio);
  }
}

bool THistorial::Deshacer(const std::function<void(const TCambio&)>& aplicar) {
  if (Vacio()) return false;
  cabeza_ = Recorrer(cabeza_, aplicar);
  hay_deshecho_ = true;
  --instrucciones_;
  return true;
}

TEfecto_Instruccion THistorial::Efecto_Ultimo(const std::function<std::string_view(int visor)>& valor,
                                              uint8_t banderas) const {
  TEfecto_Instruccion efecto;
  if (Vacio()) return efecto;
  Recorrer(cabeza_, [&](const TCambio& cambio) {
    switch (cambio.Tipo) {
      case TCambio::Visor:
        if (valor(cambio.Numero) != cambio.Texto &&
            std::find(efecto.Visores.begin(), efecto.Visores.end(), cambio.Numero) == efecto.Visores.end())
          efecto.Visores.push_back(cambio.Numero);
        break;
      case TCambio::Banderas: efecto.Banderas = static_cast<uint8_t>(cambio.Numero ^ banderas); break;
      case TCambio::Palabra:
      case TCambio::Byte_Alto: efecto.Palabras.push_back(cambio.Numero); break;
      default: break;
    }
  });
  return efecto;
}
