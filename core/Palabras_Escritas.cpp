#include "core/Palabras_Escritas.h"

#include <algorithm>

#include "core/hexeditor_buffer.h"

void TPalabras_Escritas::Marcar(int32_t direccion) {
  if (direccion >= 0 && static_cast<size_t>(direccion) < marcas_.size()) marcas_[static_cast<size_t>(direccion)] = true;
}

void TPalabras_Escritas::Vaciar() { std::fill(marcas_.begin(), marcas_.end(), false); }

std::vector<int32_t> TPalabras_Escritas::Lista(const THexEditorBuffer& memoria) const {
  std::vector<int32_t> lista;
  for (size_t i = 0; i < marcas_.size(); ++i) {
    const auto direccion = static_cast<int32_t>(i);
    if (marcas_[i] || memoria.IsChanged(2 * direccion) || memoria.IsChanged(2 * direccion + 1))
      lista.push_back(direccion);
  }
  return lista;
}
