#pragma once
// The debugging items of the main window: Retroceder, breakpoints on the
// listing's lines, run to a line, the breakpoint dialog, and the status bar's
// instruction counter and run panel. They forward to the machine and show it.
#include <QObject>
#include <QStringList>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class TForm1;
class THListBox;

class TDepuracion : public QObject {
  Q_OBJECT

 public:
  TDepuracion(TForm1& form, QMenu* pop_torvic, THListBox* listado, QStatusBar* barra);

  // Retroceder is available while TORVIC is on and there is history.
  void Actualizar();
  void Instruccion_Ejecutada();
  void Estado_Ejecucion(const std::string& texto);
  QStringList Puntos_Ruptura() const;

 signals:
  // F4: the full-speed run takes it.
  void Ejecutar_Hasta(int32_t direccion);

 private:
  void Retroceder();
  void Conmutar_Punto_Ruptura(int linea);
  void Conmutar_Seleccionada();
  void Ejecutar_Hasta_Aqui();
  void Dialogo_Puntos_Ruptura();

  TForm1& form_;
  THListBox* listado_;
  QAction* MRetroceder_;
  QLabel* Contador_;
  QLabel* Estado_;
};
