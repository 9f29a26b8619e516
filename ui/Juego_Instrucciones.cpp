#include "ui/Juego_Instrucciones.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/Juego_Instrucciones.h"

namespace {

QString Texto(std::string_view texto) { return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size())); }

}  // namespace

TForm_Juego_Instrucciones::TForm_Juego_Instrucciones(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("Form_Juego_Instrucciones"));
  setWindowTitle(QStringLiteral("Juego de instrucciones de TORVIC"));
  auto* capas = new QVBoxLayout(this);

  filtro_ = new QLineEdit(this);
  filtro_->setObjectName(QStringLiteral("Filtro_Instrucciones"));
  filtro_->setPlaceholderText(QStringLiteral("Buscar (por ejemplo SHRA, pila, V)"));
  filtro_->setClearButtonEnabled(true);
  filtro_->setAccessibleName(QStringLiteral("Buscar en el juego de instrucciones"));
  auto* rotulo = new QLabel(QStringLiteral("&Buscar:"), this);
  rotulo->setBuddy(filtro_);
  auto* fila = new QHBoxLayout;
  fila->addWidget(rotulo);
  fila->addWidget(filtro_, 1);
  capas->addLayout(fila);

  const auto& juego = Juego_Instrucciones();
  tabla_ = new QTableWidget(static_cast<int>(juego.size()), 6, this);
  tabla_->setObjectName(QStringLiteral("Tabla_Instrucciones"));
  tabla_->setHorizontalHeaderLabels({QStringLiteral("Sintaxis"), QStringLiteral("Palabra"),
                                     QStringLiteral("Qué hace"), QStringLiteral("Banderas"),
                                     QStringLiteral("Ejemplo"), QStringLiteral("Efecto del ejemplo")});
  tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tabla_->setWordWrap(true);
  tabla_->verticalHeader()->hide();
  for (int fila_tabla = 0; fila_tabla < tabla_->rowCount(); ++fila_tabla) {
    const TOperacion& op = juego[static_cast<size_t>(fila_tabla)];
    const QString banderas = op.Cambia.empty() ? Texto(op.Banderas)
                                               : QStringLiteral("%1. %2").arg(Texto(op.Cambia), Texto(op.Banderas));
    const QString celdas[] = {Texto(op.Sintaxis), Texto(op.Campos),  Texto(op.Efecto),
                              banderas,           Texto(op.Ejemplo), Texto(op.Efecto_Ejemplo)};
    for (int columna = 0; columna < 6; ++columna)
      tabla_->setItem(fila_tabla, columna, new QTableWidgetItem(celdas[columna]));
  }
  tabla_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  tabla_->resizeColumnsToContents();
  for (int columna : {2, 3, 5}) tabla_->setColumnWidth(columna, 260);
  tabla_->resizeRowsToContents();
  capas->addWidget(tabla_, 1);

  for (const TNota_Juego& nota : Notas_Juego_Instrucciones()) {
    auto* texto = new QLabel(QStringLiteral("<b>%1.</b> %2").arg(Texto(nota.Titulo).toHtmlEscaped(),
                                                                 Texto(nota.Texto).toHtmlEscaped()),
                             this);
    texto->setWordWrap(true);
    texto->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    capas->addWidget(texto);
  }
  connect(filtro_, &QLineEdit::textChanged, this, &TForm_Juego_Instrucciones::Filtrar);
  resize(1000, 640);
}

void TForm_Juego_Instrucciones::Filtrar(const QString& texto) {
  const QString buscado = texto.trimmed();
  for (int fila = 0; fila < tabla_->rowCount(); ++fila) {
    bool coincide = buscado.isEmpty();
    for (int columna = 0; columna < tabla_->columnCount() && !coincide; ++columna)
      coincide = tabla_->item(fila, columna)->text().contains(buscado, Qt::CaseInsensitive);
    tabla_->setRowHidden(fila, !coincide);
  }
}

void Crear_Opcion_Juego_Instrucciones(QMenu* pop_torvic, QWidget& ventana) {
  QAction* opcion = pop_torvic->addAction(QStringLiteral("Juego de instrucciones"));
  opcion->setObjectName(QStringLiteral("MJuego_Instrucciones"));
  opcion->setShortcut(QKeySequence(Qt::Key_F1));
  ventana.addAction(opcion);  // the key works with the menu closed
  QObject::connect(opcion, &QAction::triggered, &ventana, [&ventana] {
    auto* form = ventana.findChild<TForm_Juego_Instrucciones*>(QStringLiteral("Form_Juego_Instrucciones"));
    if (!form) form = new TForm_Juego_Instrucciones(&ventana);
    form->show();
    form->raise();
    form->activateWindow();
  });
}
