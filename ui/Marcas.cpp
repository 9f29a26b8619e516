#include "ui/Marcas.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "ui/Accesibilidad.h"
#include "ui/Esquema_Interno.h"
#include "widgets/Colores.h"
#include "widgets/DigitalDisplay.h"
#include "widgets/Lampara.h"
#include "widgets/hexeditor.h"

void TMarcas::Crear_Opcion(QMenu* menu) {
  menu->addSeparator()->setObjectName(QStringLiteral("N6"));
  QAction* opcion = menu->addAction(QStringLiteral("Marcar los cambios de cada instrucción"));
  opcion->setObjectName(QStringLiteral("MMarcar_Cambios"));
  opcion->setCheckable(true);
  opcion->setChecked(true);
}

TMarcas::TMarcas(QWidget& ventana, const TEntorno& entorno, const TVisores& visores, const TLamparas& lamparas,
                 THexEditor& memoria, TEsquema_Interno& esquema)
    : QObject(&ventana),
      ventana_(ventana),
      entorno_(entorno),
      visores_(visores),
      lamparas_(lamparas),
      memoria_(memoria),
      esquema_(esquema),
      opcion_(ventana.findChild<QAction*>(QStringLiteral("MMarcar_Cambios"))),
      cambios_(new QLabel(&ventana)) {
  cambios_->setObjectName(QStringLiteral("Cambios_Instruccion"));
  ventana.findChild<QStatusBar*>(QStringLiteral("Barra_Estado"))->addPermanentWidget(cambios_);
  ventana_.setProperty("banderas_cambiadas", QStringList());
  memoria_.setProperty("palabras_marcadas", QStringList());
  connect(opcion_, &QAction::toggled, this, [this](bool marcar) {
    if (!marcar) Borrar();
  });
}

void TMarcas::Instruccion_Ejecutada(bool en_rafagas) {
  en_marcha_ = En_Marcha();
  // At 1 ms a tick, marks that change every tick would only cost time.
  if (En_Marcha() && (en_rafagas || entorno_.Opciones_Entorno.Intervalo_Paso <= 1)) {
    pendiente_ = opcion_->isChecked();
    return;
  }
  Mostrar();
}

void TMarcas::Mostrar() {
  pendiente_ = false;
  if (!opcion_->isChecked()) return;
  const TEfecto_Instruccion efecto = entorno_.Efecto_Ultima_Instruccion();
  const TUltima_Instruccion& ultima = entorno_.Ultima_Instruccion();
  std::bitset<Numero_Visores> visores;
  for (int visor : efecto.Visores)
    if (visor >= 0 && visor < Numero_Visores && Marcar_Visor(visor, ultima)) visores.set(static_cast<size_t>(visor));
  Aplicar(visores, efecto.Banderas, efecto.Palabras, Tramos_Instruccion(ultima), Tramos_Busqueda(ultima));
  activas_ = true;
  // After a step the stored word's row comes into view, as the listing
  // follows PC; a running program is not chased.
  if (!En_Marcha() && !efecto.Palabras.empty()) {
    const int fila = static_cast<int>(efecto.Palabras.front());  // one word a row
    const int filas = memoria_.VisibleRowCount();
    if (fila < memoria_.TopRow() || fila >= memoria_.TopRow() + filas) memoria_.SetTopRow(fila - filas / 2);
  }
}

void TMarcas::Cambio_Ajeno() {
  // A free run that stops by itself (a breakpoint) or by Paso a paso keeps
  // the marks of its last instruction, or shows them if they waited for it.
  const bool parada = en_marcha_ && !En_Marcha();
  en_marcha_ = En_Marcha();
  if (activas_ && !parada) Borrar();
  if (pendiente_) Revisar_Parada();
}

void TMarcas::Borrar() {
  Aplicar({}, 0, {}, {}, {});
  activas_ = false;
  pendiente_ = false;
}

// The timer's own test for a free run; the executor is at 3 while it fetches.
bool TMarcas::En_Marcha() const {
  return entorno_.Estado_Maquina.Encendida == 1 && entorno_.Estado_Maquina.Modo_Paso_a_Paso == 0 &&
         (entorno_.Opciones_Entorno.Modo_Consola == 2 || entorno_.Opciones_Entorno.Modo_Consola == 3);
}

void TMarcas::Revisar_Parada() {
  if (En_Marcha()) return;
  pendiente_ = false;
  // Stopped into step mode (Paso a paso, or a stop inside the instruction),
  // the last instruction's marks show; a stop with a message box open waits
  // for the instruction to finish, which shows them itself.
  if (entorno_.Estado_Maquina.Encendida == 1 && entorno_.Estado_Maquina.Modo_Paso_a_Paso == 1)
    QTimer::singleShot(0, this, [this] {
      if (!QApplication::activeModalWidget()) Mostrar();
    });
}

void TMarcas::Aplicar(const std::bitset<Numero_Visores>& visores, uint8_t banderas, std::vector<int32_t> palabras,
                      std::span<const TTramo> tramos, std::span<const TTramo> busqueda) {
  // Only what gains or loses its mark is touched, so only it repaints.
  const std::bitset<Numero_Visores> cambian = visores ^ visores_marcados_;
  for (size_t visor = 0; visor < cambian.size(); ++visor)
    if (cambian[visor])
      for (TDigitalDisplay* display : visores_[visor]) display->setCambiado(visores[visor]);
  visores_marcados_ = visores;

  if (banderas != banderas_marcadas_) {
    QStringList letras;
    for (int bandera = 0; bandera < 4; ++bandera) {
      const bool marcada = (banderas >> bandera) & 1;
      for (TLampara* lampara : lamparas_[static_cast<size_t>(bandera)]) lampara->Fijar_Anillo(marcada);
      if (marcada) letras << QString(QLatin1Char("ZSCV"[bandera]));
    }
    banderas_marcadas_ = banderas;
    ventana_.setProperty("banderas_cambiadas", letras);
  }

  std::ranges::sort(palabras);
  palabras.erase(std::unique(palabras.begin(), palabras.end()), palabras.end());
  if (palabras != palabras_marcadas_) {
    QStringList direcciones;
    // One word a row: the word's address is its row.
    std::vector<int> filas;
    for (int32_t palabra : palabras) {
      direcciones << QStringLiteral("%1").arg(palabra, 4, 16, QLatin1Char('0')).toUpper();
      filas.push_back(static_cast<int>(palabra));
    }
    memoria_.SetFramedRows(std::move(filas), Color_Marca);
    memoria_.setProperty("palabras_marcadas", direcciones);
    palabras_marcadas_ = std::move(palabras);
  }

  esquema_.Fijar_Tramos(tramos, busqueda);

  QStringList nombres;
  for (size_t visor = 0; visor < visores.size(); ++visor)
    if (visores[visor]) nombres << Nombre_Visor(static_cast<int>(visor));
  for (int bandera = 0; bandera < 4; ++bandera)
    if ((banderas >> bandera) & 1) nombres << QString(QLatin1Char("ZSCV"[bandera]));
  for (int32_t palabra : palabras_marcadas_)
    nombres << QStringLiteral("M[%1]").arg(palabra, 4, 16, QLatin1Char('0')).toUpper();
  cambios_->setText(nombres.isEmpty() ? QString() : QStringLiteral("Cambió: ") + nombres.join(QStringLiteral(", ")));
}
