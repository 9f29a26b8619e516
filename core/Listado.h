#pragma once
// The listing's lines: the program as assembly text, one line per word, that
// follows the program counter. The list box on screen only shows them.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/TextoHex.h"

class TObservador_Listado {
 public:
  virtual ~TObservador_Listado() = default;
  virtual void Lineas_Reiniciadas() {}  // every line may have changed
  virtual void Listado_Borrado() {}     // the list box's own clear
  virtual void Linea_Insertada(int) {}
  virtual void Linea_Eliminada(int) {}
  virtual void Linea_Cambiada(int) {}
  virtual void Seleccion_Cambiada(int) {}
};

class TListado {
 public:
  int Numero_Lineas() const { return static_cast<int>(lineas_.size()); }
  const std::string& Linea(int i) const { return lineas_[static_cast<size_t>(i)]; }
  const std::vector<std::string>& Lineas() const { return lineas_; }

  // Appends, or inserts at its sorted place while sorted mode is on; returns
  // the new line's index.
  int Agregar(std::string linea);
  void Reemplazar(int i, std::string linea);
  void Reemplazar_Todas(std::vector<std::string> lineas);
  void Eliminar(int i);
  // Deletes the first line until none remain (keeps the horizontal extent).
  void Vaciar_Linea_a_Linea();
  // The list box's clear: lines removed, extent reset, scrolled to the left.
  void Clear();

  int Seleccion() const { return seleccion_; }
  void Seleccionar(int i);

  bool Ordenado() const { return ordenado_; }
  void Fijar_Ordenado(bool ordenado);

  // Selects the last line that contains "[" + texto + "]"; leaves the
  // selection alone when none does.
  void Seleccionar_Direccion(std::string_view texto) {
    const int32_t palabra = Palabra_Mayuscula(texto);
    if (palabra >= 0) Seleccionar_Palabra(palabra);
    else Seleccionar_Direccion_Indice(texto);
  }
  // The same for a word (0..FFFF) shown as four upper-case digits. Inline:
  // every executed instruction moves PC, and an indexed word is the common
  // case; anything else takes the long way.
  void Seleccionar_Palabra(int32_t palabra) {
    if (!indice_valido_) return Seleccionar_Direccion_Indice(Palabra_a_Texto_Corto(palabra));
    const int32_t linea = indice_palabras_[static_cast<size_t>(palabra)];
    if (linea >= 0 && linea != seleccion_) Seleccionar(linea);
  }
  // For each word 0..FFFF, the line Seleccionar_Palabra selects for it, or
  // -1: a run selects by it without a call per instruction.
  const int32_t* Indice_Palabras() const {
    if (!indice_valido_) Reconstruir_Indice();
    return indice_palabras_.data();
  }
  // A run's selection, which may have moved and come back: the observer
  // hears of it as of every move.
  void Seleccionar_Tras_Ejecucion(int i) {
    if (i == seleccion_) {
      if (observador_) observador_->Seleccion_Cambiada(i);
    } else {
      Seleccionar(i);
    }
  }
  // The word address a line begins with ("[0012]: ..."), or -1.
  int32_t Direccion_Linea(int i) const;
  // Index of the last line containing the key anywhere, or -1.
  int Buscar_Ultima(std::string_view clave) const;

  void Fijar_Observador(TObservador_Listado* observador) { observador_ = observador; }
  TObservador_Listado* Observador() const { return observador_; }

 private:
  void Reconstruir_Indice() const;
  void Seleccionar_Direccion_Indice(std::string_view texto);

  std::vector<std::string> lineas_;
  int seleccion_ = -1;
  bool ordenado_ = false;
  TObservador_Listado* observador_ = nullptr;

  // Address index: for each bracketed text, the last line that contains it.
  // Built lazily after any change, so a free run never scans the lines.
  mutable bool indice_valido_ = false;
  mutable std::vector<int32_t> indice_palabras_;  // four upper-case hex digits
  mutable std::unordered_map<std::string, int32_t> indice_otros_;
};
