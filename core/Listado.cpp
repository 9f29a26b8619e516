#include "core/Listado.h"

#include <algorithm>
#include <cctype>

namespace {

// The list box's sorted order ignores case.
bool Menor_Sin_Mayusculas(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
  });
}

}  // namespace

int TListado::Agregar(std::string linea) {
  auto posicion = lineas_.end();
  if (ordenado_) posicion = std::upper_bound(lineas_.begin(), lineas_.end(), linea, Menor_Sin_Mayusculas);
  const int i = static_cast<int>(posicion - lineas_.begin());
  lineas_.insert(posicion, std::move(linea));
  if (seleccion_ >= i) ++seleccion_;
  indice_valido_ = false;
  if (observador_) observador_->Linea_Insertada(i);
  return i;
}

void TListado::Reemplazar(int i, std::string linea) {
  if (i < 0 || i >= Numero_Lineas()) return;
  lineas_[static_cast<size_t>(i)] = std::move(linea);
  indice_valido_ = false;
  if (observador_) observador_->Linea_Cambiada(i);
}

void TListado::Reemplazar_Todas(std::vector<std::string> lineas) {
  lineas_ = std::move(lineas);
  if (ordenado_) std::stable_sort(lineas_.begin(), lineas_.end(), Menor_Sin_Mayusculas);
  if (seleccion_ >= Numero_Lineas()) seleccion_ = -1;
  indice_valido_ = false;
  if (observador_) observador_->Lineas_Reiniciadas();
}

void TListado::Eliminar(int i) {
  if (i < 0 || i >= Numero_Lineas()) return;
  lineas_.erase(lineas_.begin() + i);
  if (seleccion_ == i) seleccion_ = -1;
  else if (seleccion_ > i) --seleccion_;
  indice_valido_ = false;
  if (observador_) observador_->Linea_Eliminada(i);
}

void TListado::Vaciar_Linea_a_Linea() {
  lineas_.clear();
  seleccion_ = -1;
  indice_valido_ = false;
  if (observador_) observador_->Lineas_Reiniciadas();
}

void TListado::Clear() {
  lineas_.clear();
  seleccion_ = -1;
  indice_valido_ = false;
  if (observador_) observador_->Listado_Borrado();
}

void TListado::Seleccionar(int i) {
  if (i < -1 || i >= Numero_Lineas() || i == seleccion_) return;
  seleccion_ = i;
  if (observador_) observador_->Seleccion_Cambiada(i);
}

void TListado::Fijar_Ordenado(bool ordenado) {
  if (ordenado == ordenado_) return;
  ordenado_ = ordenado;
  if (!ordenado_ || lineas_.empty()) return;
  // Turning sorting on sorts the lines already there; the selection follows
  // its line.
  const std::string seleccionada = seleccion_ >= 0 ? lineas_[static_cast<size_t>(seleccion_)] : "";
  const bool habia_seleccion = seleccion_ >= 0;
  std::stable_sort(lineas_.begin(), lineas_.end(), Menor_Sin_Mayusculas);
  if (habia_seleccion)
    seleccion_ = static_cast<int>(std::find(lineas_.begin(), lineas_.end(), seleccionada) - lineas_.begin());
  indice_valido_ = false;
  if (observador_) {
    observador_->Lineas_Reiniciadas();
    observador_->Seleccion_Cambiada(seleccion_);
  }
}

void TListado::Reconstruir_Indice() const {
  indice_palabras_.assign(0x10000, -1);
  indice_otros_.clear();
  for (size_t i = 0; i < lineas_.size(); ++i) {
    const std::string& linea = lineas_[i];
    for (size_t a = linea.find('['); a != std::string::npos; a = linea.find('[', a + 1)) {
      for (size_t b = linea.find(']', a + 1); b != std::string::npos; b = linea.find(']', b + 1)) {
        const std::string_view dentro(linea.data() + a + 1, b - a - 1);
        const int32_t palabra = Palabra_Mayuscula(dentro);
        if (palabra >= 0) indice_palabras_[static_cast<size_t>(palabra)] = static_cast<int32_t>(i);
        else indice_otros_[std::string(dentro)] = static_cast<int32_t>(i);
      }
    }
  }
  indice_valido_ = true;
}

void TListado::Seleccionar_Direccion_Indice(std::string_view texto) {
  if (lineas_.empty()) return;
  if (!indice_valido_) Reconstruir_Indice();
  int32_t linea = -1;
  const int32_t palabra = Palabra_Mayuscula(texto);
  if (palabra >= 0) {
    linea = indice_palabras_[static_cast<size_t>(palabra)];
  } else {
    const auto encontrada = indice_otros_.find(std::string(texto));
    if (encontrada != indice_otros_.end()) linea = encontrada->second;
  }
  if (linea >= 0) Seleccionar(linea);
}

int TListado::Buscar_Ultima(std::string_view clave) const {
  for (int i = Numero_Lineas() - 1; i >= 0; --i)
    if (lineas_[static_cast<size_t>(i)].find(clave) != std::string::npos) return i;
  return -1;
}

int32_t TListado::Direccion_Linea(int i) const {
  if (i < 0 || i >= Numero_Lineas()) return -1;
  const std::string& linea = lineas_[static_cast<size_t>(i)];
  if (linea.size() < 6 || linea[0] != '[' || linea[5] != ']') return -1;
  return Palabra_Mayuscula(std::string_view(linea).substr(1, 4));
}
