#include "ui/Depuracion.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include "core/Entorno.h"
#include "core/TextoHex.h"
#include "core/Textos.h"
#include "ui/Puntos_Ruptura.h"
#include "ui/main.h"
#include "widgets/HListBox.h"

TDepuracion::TDepuracion(TForm1& form, QMenu* pop_torvic, THListBox* listado, QStatusBar* barra)
    : QObject(&form), form_(form), listado_(listado) {
  TEntorno& e = form_.Entorno();
  pop_torvic->addSeparator()->setObjectName(QStringLiteral("MDepuracion_Separador"));
  const auto item = [&](const char* nombre, const QString& titulo, Qt::Key tecla, void (TDepuracion::*accion)()) {
    QAction* a = pop_torvic->addAction(titulo);
    a->setObjectName(QString::fromLatin1(nombre));
    if (tecla != Qt::Key_unknown) {
      a->setShortcut(QKeySequence(tecla));
      form_.addAction(a);  // the key works with the menu closed
    }
    connect(a, &QAction::triggered, this, [this, accion] { form_.Manejar([this, accion] { (this->*accion)(); }); });
    return a;
  };
  MRetroceder_ = item("MRetroceder", QStringLiteral("Retroceder una instrucción"), Qt::Key_F7, &TDepuracion::Retroceder);
  item("MPunto_Ruptura", QStringLiteral("Poner/Quitar punto de ruptura"), Qt::Key_F9,
       &TDepuracion::Conmutar_Seleccionada);
  item("MEjecutar_Hasta_Aqui", QStringLiteral("Ejecutar hasta la línea seleccionada"), Qt::Key_F4,
       &TDepuracion::Ejecutar_Hasta_Aqui);
  item("MPuntos_Ruptura", QStringLiteral("Puntos de ruptura…"), Qt::Key_unknown, &TDepuracion::Dialogo_Puntos_Ruptura);
  connect(pop_torvic, &QMenu::aboutToShow, this, &TDepuracion::Actualizar);

  listado_->Fijar_Puntos_Ruptura(&e.Puntos_Ruptura);
  connect(listado_, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& indice) { Conmutar_Punto_Ruptura(indice.row()); });

  Contador_ = new QLabel(barra);
  Contador_->setObjectName(QStringLiteral("Contador_Instrucciones"));
  Contador_->setMinimumWidth(110);
  Estado_ = new QLabel(barra);
  Estado_->setObjectName(QStringLiteral("Estado_Ejecucion"));
  barra->addWidget(Contador_);
  barra->addWidget(Estado_, 1);
  Instruccion_Ejecutada();
}

void TDepuracion::Actualizar() { MRetroceder_->setEnabled(form_.Entorno().Puede_Retroceder()); }

void TDepuracion::Instruccion_Ejecutada() {
  const auto contador = static_cast<uint64_t>(form_.Entorno().Contador_Instrucciones());
  Contador_->setText(QString::fromStdString("Instrucciones: " + Agrupar_Cifras(contador)));
  Actualizar();
}

void TDepuracion::Estado_Ejecucion(const std::string& texto) { Estado_->setText(QString::fromStdString(texto)); }

QStringList TDepuracion::Puntos_Ruptura() const {
  QStringList direcciones;
  for (int32_t direccion : form_.Entorno().Puntos_Ruptura.Lista())
    direcciones << QString::fromStdString(Palabra_a_Texto(direccion));
  return direcciones;
}

void TDepuracion::Retroceder() { form_.Entorno().Retroceder(); }

void TDepuracion::Conmutar_Punto_Ruptura(int linea) {
  if (form_.Entorno().Conmutar_Punto_Ruptura_Linea(linea)) form_.Puntos_Ruptura_Cambiados();
}

void TDepuracion::Conmutar_Seleccionada() { Conmutar_Punto_Ruptura(form_.Entorno().Listado.Seleccion()); }

void TDepuracion::Ejecutar_Hasta_Aqui() {
  emit Ejecutar_Hasta(form_.Entorno().Listado.Direccion_Linea(form_.Entorno().Listado.Seleccion()));
}

void TDepuracion::Dialogo_Puntos_Ruptura() {
  TForm_Puntos_Ruptura dialogo(form_.Entorno().Puntos_Ruptura, form_, &form_);
  dialogo.exec();
  form_.Puntos_Ruptura_Cambiados();
}
