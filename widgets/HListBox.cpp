#include "widgets/HListBox.h"

#include <QAbstractItemDelegate>
#include <QAbstractListModel>
#include <QFontMetricsF>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>
#include <QTextOption>
#include <algorithm>
#include <optional>

#include "core/Puntos_Ruptura.h"
#include "widgets/Colores.h"
#include "widgets/Fuentes.h"

// Adapts the listing's lines to Qt's model. The listing notifies after each
// change, so the row count is kept here and moved only inside the
// begin/end brackets that the views expect.
class TModelo_Listado final : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  void Fijar_Listado(const TListado* listado) {
    beginResetModel();
    listado_ = listado;
    filas_ = listado ? listado->Numero_Lineas() : 0;
    endResetModel();
  }

  int rowCount(const QModelIndex& padre = {}) const override { return padre.isValid() ? 0 : filas_; }

  QVariant data(const QModelIndex& indice, int rol) const override {
    // Inside a bracket the view may ask for a row the listing has already lost.
    if (!listado_ || indice.row() < 0 || indice.row() >= listado_->Numero_Lineas()) return {};
    if (rol == Qt::DisplayRole) return QString::fromStdString(listado_->Linea(indice.row()));
    if (rol == Qt::ToolTipRole && Ayuda) {
      const QString ayuda = Ayuda(indice.row());
      if (!ayuda.isEmpty()) return ayuda;
    }
    return {};
  }

  THListBox::TAyuda Ayuda;

  void Insertada(int i) {
    if (i < 0 || i > filas_) return Reiniciar();
    beginInsertRows({}, i, i);
    ++filas_;
    endInsertRows();
  }

  void Eliminada(int i) {
    if (i < 0 || i >= filas_) return Reiniciar();
    beginRemoveRows({}, i, i);
    --filas_;
    endRemoveRows();
  }

  void Cambiada(int i) {
    if (i >= 0 && i < filas_) emit dataChanged(index(i), index(i), {Qt::DisplayRole});
  }

  // Every line may have changed. With the same number of lines one repaint
  // does; otherwise the view lays out again (the selection is dropped).
  void Reiniciar() {
    const int nuevas = listado_ ? listado_->Numero_Lineas() : 0;
    if (nuevas == filas_) {
      if (filas_ > 0) emit dataChanged(index(0), index(filas_ - 1), {Qt::DisplayRole});
      return;
    }
    beginResetModel();
    filas_ = nuevas;
    endResetModel();
  }

 private:
  const TListado* listado_ = nullptr;
  int filas_ = 0;
};

namespace {

constexpr int Margen_Texto = 2;
constexpr int Margen_Puntos = 12;  // the breakpoint dots' column


// Draws one line: left-aligned, tabs expanded to the standard stops (every
// eight character widths), clipped to its row.
class TDelegado_Linea final : public QAbstractItemDelegate {
 public:
  explicit TDelegado_Linea(THListBox* caja) : QAbstractItemDelegate(caja), caja_(caja) {}

  void paint(QPainter* pintor, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override {
    const bool seleccionada = opcion.state & QStyle::State_Selected;
    if (seleccionada) pintor->fillRect(opcion.rect, opcion.palette.brush(QPalette::Highlight));
    pintor->save();
    pintor->setClipRect(opcion.rect);
    pintor->setFont(opcion.font);
    pintor->setPen(opcion.palette.color(seleccionada ? QPalette::HighlightedText : QPalette::Text));
    const int margen = caja_->Margen_Izquierdo();
    pintor->drawText(QRectF(opcion.rect.adjusted(margen, 0, 0, 0)), indice.data(Qt::DisplayRole).toString(),
                     Formato_Texto(opcion.font));
    if (caja_->Tiene_Punto_Ruptura(indice.row())) {
      pintor->setRenderHint(QPainter::Antialiasing);
      pintor->setPen(Qt::NoPen);
      pintor->setBrush(clRed);
      const int lado = THListBox::Altura_Linea - 6;
      pintor->drawEllipse(QRect(opcion.rect.left() + 2, opcion.rect.top() + 3, lado, lado));
    }
    pintor->restore();
    if (opcion.state & QStyle::State_HasFocus) {
      QStyleOptionFocusRect foco;
      foco.QStyleOption::operator=(opcion);
      foco.backgroundColor = opcion.palette.color(seleccionada ? QPalette::Highlight : QPalette::Base);
      const QWidget* widget = opcion.widget;
      (widget ? widget->style() : caja_->style())->drawPrimitive(QStyle::PE_FrameFocusRect, &foco, pintor, widget);
    }
  }

  // Left-aligned, vertically centred, unwrapped, with the standard tab stops:
  // every eight average character widths.
  const QTextOption& Formato_Texto(const QFont& fuente) const {
    if (fuente_formato_ != fuente) {
      static const QString alfabeto = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
      fuente_formato_ = fuente;
      formato_.setTabStopDistance(8 * QFontMetricsF(fuente).horizontalAdvance(alfabeto) /
                                  static_cast<qreal>(alfabeto.size()));
    }
    return formato_;
  }

  // Rows are as wide as the horizontal extent; the view widens them to the
  // viewport when that is wider.
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {caja_->Extension_Horizontal(), THListBox::Altura_Linea};
  }

 private:
  const THListBox* caja_;
  mutable std::optional<QFont> fuente_formato_;
  mutable QTextOption formato_ = Formato_Inicial();

  static QTextOption Formato_Inicial() {
    QTextOption formato(Qt::AlignLeft | Qt::AlignVCenter);
    formato.setWrapMode(QTextOption::NoWrap);
    return formato;
  }
};

}  // namespace

THListBox::THListBox(QWidget* parent) : QListView(parent), modelo_(new TModelo_Listado(this)) {
  setModel(modelo_);
  setItemDelegate(new TDelegado_Linea(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setFont(Fuente_Fija(QStringLiteral("Courier New"), 9));
  QPalette paleta = palette();
  for (const auto grupo : {QPalette::Active, QPalette::Inactive}) {
    paleta.setColor(grupo, QPalette::Text, clNavy);
    // The selected line is the one about to execute: white on navy reads at
    // any distance, where the style's light blue does not.
    paleta.setColor(grupo, QPalette::Highlight, clNavy);
    paleta.setColor(grupo, QPalette::HighlightedText, clWhite);
  }
  setPalette(paleta);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &THListBox::Seleccion_de_Usuario);
}

THListBox::~THListBox() {
  if (listado_) listado_->Fijar_Observador(nullptr);
}

void THListBox::Fijar_Ayuda(TAyuda ayuda) { modelo_->Ayuda = std::move(ayuda); }

void THListBox::Fijar_Listado(TListado* listado) {
  if (listado == listado_) return;
  if (listado_) listado_->Fijar_Observador(nullptr);
  listado_ = listado;
  const QScopedValueRollback<bool> siguiendo(siguiendo_listado_, true);
  modelo_->Fijar_Listado(listado);
  if (listado_) {
    listado_->Fijar_Observador(this);
    Mostrar_Seleccion();
  }
}

void THListBox::Fijar_Extension_Horizontal(int pixeles) {
  pixeles = std::max(pixeles, 0);
  if (pixeles == extension_horizontal_) return;
  extension_horizontal_ = pixeles;
  scheduleDelayedItemsLayout();
}

void THListBox::Clear() {
  if (listado_) listado_->Clear();  // comes back as Listado_Borrado
  else Listado_Borrado();
}

void THListBox::Fijar_Puntos_Ruptura(const TPuntos_Ruptura* puntos) {
  puntos_ruptura_ = puntos;
  viewport()->update();
}

bool THListBox::Tiene_Punto_Ruptura(int fila) const {
  return puntos_ruptura_ && listado_ && puntos_ruptura_->Contiene(listado_->Direccion_Linea(fila));
}

int THListBox::Margen_Izquierdo() const { return puntos_ruptura_ ? Margen_Texto + Margen_Puntos : Margen_Texto; }

void THListBox::Lineas_Reiniciadas() {
  const QScopedValueRollback<bool> siguiendo(siguiendo_listado_, true);
  modelo_->Reiniciar();
  Mostrar_Seleccion();
}

void THListBox::Listado_Borrado() {
  const QScopedValueRollback<bool> siguiendo(siguiendo_listado_, true);
  modelo_->Reiniciar();
  Fijar_Extension_Horizontal(0);
  executeDelayedItemsLayout();
  horizontalScrollBar()->setValue(0);
}

void THListBox::Linea_Insertada(int i) {
  const QScopedValueRollback<bool> siguiendo(siguiendo_listado_, true);
  modelo_->Insertada(i);
}

void THListBox::Linea_Eliminada(int i) {
  const QScopedValueRollback<bool> siguiendo(siguiendo_listado_, true);
  modelo_->Eliminada(i);
  // Removing the current row makes the view select a neighbour; the listing has none.
  Mostrar_Seleccion();
}

void THListBox::Linea_Cambiada(int i) { modelo_->Cambiada(i); }

void THListBox::Seleccion_Cambiada(int) {
  const QScopedValueRollback<bool> siguiendo(siguiendo_listado_, true);
  Mostrar_Seleccion();
}

void THListBox::Mostrar_Seleccion() {
  const int fila = listado_ ? listado_->Seleccion() : -1;
  const QModelIndexList actuales = selectionModel()->selectedRows();
  const int fila_actual = actuales.isEmpty() ? -1 : actuales.first().row();
  if (fila == fila_actual) return;
  if (fila < 0 || fila >= model()->rowCount()) {
    selectionModel()->clearSelection();
    return;
  }
  const QModelIndex indice = model()->index(fila, 0);
  // The view would scroll on every step of a program counter walking down,
  // repainting the scroll bar each time, the costliest part of a free run's
  // tick; a line out of view comes to the top instead, once a page.
  setAutoScroll(false);
  selectionModel()->setCurrentIndex(indice, QItemSelectionModel::ClearAndSelect);
  setAutoScroll(true);
  if (!viewport()->rect().contains(visualRect(indice))) scrollTo(indice, PositionAtTop);
}

void THListBox::Seleccion_de_Usuario() {
  if (siguiendo_listado_ || !listado_) return;
  const QModelIndexList filas = selectionModel()->selectedRows();
  listado_->Seleccionar(filas.isEmpty() ? -1 : filas.first().row());
}
