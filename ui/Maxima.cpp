#include "ui/Maxima.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include "ui/main.h"

namespace {

// A slice leaves the event loop waiting at most this long.
constexpr auto Duracion_Tajada = std::chrono::milliseconds(8);
constexpr qint64 Milisegundos_Refresco = 1000 / 30;
// The speed is shown over this span, so its figures can be read.
constexpr qint64 Milisegundos_Medida = 500;

}  // namespace

TMaxima::TMaxima(TForm1& form, QMenu* pop_torvic, QStatusBar* barra)
    : QObject(&form), form_(form), ejecucion_(form.Entorno()) {
  MMaxima_ = pop_torvic->addAction(QStringLiteral("Ejecutar a máxima velocidad"));
  MMaxima_->setObjectName(QStringLiteral("MMaxima"));
  MMaxima_->setShortcut(QKeySequence(Qt::Key_F5));
  form_.addAction(MMaxima_);  // the key works with the menu closed
  connect(MMaxima_, &QAction::triggered, this, &TMaxima::Comenzar);

  // The debugging items' run panel when it is there, else one of our own.
  estado_ = barra->findChild<QLabel*>(QStringLiteral("Estado_Ejecucion"));
  if (!estado_) {
    estado_ = new QLabel(barra);
    estado_->setObjectName(QStringLiteral("Estado_Ejecucion"));
    barra->addWidget(estado_, 1);
  }

  // One slice per pass of the event loop: input, timers and paints go between.
  siguiente_.setSingleShot(true);
  siguiente_.setInterval(0);
  connect(&siguiente_, &QTimer::timeout, this, &TMaxima::Tajada);
  Panel_Cambiado();
}

void TMaxima::Panel_Cambiado() { MMaxima_->setEnabled(form_.Entorno().Estado_Maquina.Encendida == 1); }

void TMaxima::Comenzar() {
  if (ejecucion_.Ejecutando() || !ejecucion_.Comenzar()) return;
  Seguir();
}

void TMaxima::Ejecutar_Hasta(int32_t direccion) {
  if (ejecucion_.Ejecutando()) return;
  bool comenzada = false;
  form_.Manejar([&] {
    const std::optional<int32_t> destino = form_.Entorno().Destino(direccion);
    comenzada = destino && ejecucion_.Comenzar_Hasta(*destino);
  });
  if (comenzada) Seguir();
}

// The slices of a run just begun, one per pass of the event loop.
void TMaxima::Seguir() {
  qApp->installEventFilter(this);
  desde_refresco_.start();
  desde_medida_.start();
  instrucciones_medidas_ = 0;
  velocidad_.clear();
  Tajada();
}

void TMaxima::Tajada() {
  bool sigue = false;
  form_.Manejar([&] { sigue = ejecucion_.Ejecutar_Tajada(TEjecucion_Rapida::TReloj::now() + Duracion_Tajada); });
  if (!sigue) return Terminar();
  if (desde_refresco_.elapsed() >= Milisegundos_Refresco) Refrescar();
  siguiente_.start();
}

void TMaxima::Refrescar() {
  desde_refresco_.restart();
  ejecucion_.Mostrar_Cambios();
  const qint64 transcurridos = desde_medida_.elapsed();
  if (transcurridos >= Milisegundos_Medida) {
    const int64_t instrucciones = ejecucion_.Instrucciones();
    const double por_segundo =
        static_cast<double>(instrucciones - instrucciones_medidas_) * 1000.0 / static_cast<double>(transcurridos);
    velocidad_ = QString::fromStdString(Texto_Velocidad(por_segundo));
    instrucciones_medidas_ = instrucciones;
    desde_medida_.restart();
  }
  // The run panel may have been cleared by the changes just shown.
  if (!velocidad_.isEmpty()) estado_->setText(velocidad_);
}

void TMaxima::Terminar() {
  // Escape, or a key or item that stopped the run between two slices.
  ejecucion_.Detener();
  siguiente_.stop();
  qApp->removeEventFilter(this);
  ejecucion_.Mostrar_Cambios();
  estado_->setText(QString::fromStdString(form_.Entorno().Estado_Ejecucion()));
}

bool TMaxima::eventFilter(QObject* objeto, QEvent* evento) {
  // Escape in any window of VELTRA, unless a box, dialog or menu is open:
  // there it closes that first.
  if (evento->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Escape &&
      !QApplication::activeModalWidget() && !QApplication::activePopupWidget() && ejecucion_.Ejecutando()) {
    Terminar();
    return true;
  }
  return QObject::eventFilter(objeto, evento);
}
