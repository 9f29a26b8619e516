#pragma once
// "Ejecutar a máxima velocidad": the machine's full-speed loop called in
// slices from the event loop, with the views refreshed a few dozen times a
// second and fully when it stops, the speed in the status bar, and Escape
// to stop it.
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include "core/Ejecucion_Rapida.h"

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class TForm1;

class TMaxima : public QObject {
  Q_OBJECT

 public:
  TMaxima(TForm1& form, QMenu* pop_torvic, QStatusBar* barra);

  bool Ejecutando() const { return ejecucion_.Ejecutando(); }
  // The item is enabled while TORVIC is on.
  void Panel_Cambiado();
  // Run to a line (F4) whose word is at `direccion`, -1 for none: the
  // full-speed run, stopping once there.
  void Ejecutar_Hasta(int32_t direccion);

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void Comenzar();
  void Seguir();
  void Tajada();
  void Refrescar();
  void Terminar();

  TForm1& form_;
  TEjecucion_Rapida ejecucion_;
  QAction* MMaxima_;
  QLabel* estado_;
  QTimer siguiente_;
  QElapsedTimer desde_refresco_;
  QElapsedTimer desde_medida_;
  int64_t instrucciones_medidas_ = 0;
  QString velocidad_;
};
