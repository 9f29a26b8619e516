#pragma once
// The program listing's list box: a view of the machine layer's TListado,
// which holds the lines and the selection. Rows are laid out with one uniform
// size, so loading, replacing and selecting among 61,440 lines never walks
// the items one by one.
#include <QListView>
#include <functional>

#include "core/Listado.h"

class TModelo_Listado;
class TPuntos_Ruptura;

class THListBox : public QListView, private TObservador_Listado {
  Q_OBJECT
  // Width in pixels over which the lines scroll horizontally; 0 means no
  // horizontal scrolling, so lines wider than the box are clipped.
  Q_PROPERTY(int Extension_Horizontal READ Extension_Horizontal WRITE Fijar_Extension_Horizontal)

 public:
  static constexpr int Altura_Linea = 15;

  explicit THListBox(QWidget* parent = nullptr);
  ~THListBox() override;

  // Shows these lines and becomes their observer; nullptr shows none. The
  // listing must outlive the box or be detached first.
  void Fijar_Listado(TListado* listado);

  // A line's tooltip: what its instruction does; empty for none.
  using TAyuda = std::function<QString(int fila)>;
  void Fijar_Ayuda(TAyuda ayuda);

  int Extension_Horizontal() const { return extension_horizontal_; }
  void Fijar_Extension_Horizontal(int pixeles);

  // The list box's own clear: lines removed, extent reset, scrolled to the left.
  void Clear();

  // A margin left of the text shows a red dot on each line whose address
  // has a breakpoint; repaint the viewport after changing them.
  void Fijar_Puntos_Ruptura(const TPuntos_Ruptura* puntos);
  bool Tiene_Punto_Ruptura(int fila) const;
  // Where the text begins: after the dots' margin when there is one.
  int Margen_Izquierdo() const;

 private:
  void Lineas_Reiniciadas() override;
  void Listado_Borrado() override;
  void Linea_Insertada(int i) override;
  void Linea_Eliminada(int i) override;
  void Linea_Cambiada(int i) override;
  void Seleccion_Cambiada(int i) override;

  // Puts the listing's selection on screen and scrolls it into view.
  void Mostrar_Seleccion();
  // A selection the user made with the mouse or the keys goes to the listing.
  void Seleccion_de_Usuario();

  TListado* listado_ = nullptr;
  const TPuntos_Ruptura* puntos_ruptura_ = nullptr;
  TModelo_Listado* modelo_;
  int extension_horizontal_ = 0;
  // Set while the box follows the listing, so its own selection changes are
  // not written back.
  bool siguiendo_listado_ = false;
};
