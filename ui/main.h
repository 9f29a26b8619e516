#pragma once
// The main window: the internal panel, the front panel, the memory editor and
// the listing, all views of the one TEntorno, plus the menus, the load
// command's file dialog and the timer that drives a free run. It is also the
// machine's screen: its message boxes, Yes/No box and edit dialog.
#include <QMainWindow>
#include <exception>
#include <array>
#include <vector>

#include "core/Entorno.h"

class QAction;
class QDockWidget;
class QFileDialog;
class QMenu;
class QTimer;
class QToolBar;
class TArchivos;
class TDigitalDisplay;
class THexEditor;
class TLampara;
class TLiveButton;
class TSesion_Trabajo;
class TDepuracion;
class TFuente;
class TMarcas;
class TMaxima;

class TForm1 : public QMainWindow, public TPantalla {
  Q_OBJECT
  // The breakpoints' four-digit addresses, sorted.
  Q_PROPERTY(QStringList puntos_ruptura READ Puntos_Ruptura)

 public:
  explicit TForm1(TEntorno& entorno, QWidget* parent = nullptr);
  ~TForm1() override;

  TEntorno& Entorno() { return entorno_; }
  // The other ways a program comes in: command line, drops, reload, recent.
  TArchivos& Archivos() { return *archivos_; }
  // The source window's menu items, and the window once built.
  TFuente& Fuente() { return *fuente_; }
  // A breakpoint set or removed by the listing, the dialog or the source window.
  void Puntos_Ruptura_Cambiados();
  // Every display of a value is registered here, the port windows' too, so
  // each write reaches all of them, shown or hidden.
  void Registrar_Visor(int visor, TDigitalDisplay* display);
  // The port windows that the Entorno menu shows and hides.
  void Fijar_Ventanas_Puertos(QWidget* form2, QWidget* form3);

  // Runs a handler of the machine; an exception it raises (memory refusing a
  // store) is shown in a box instead of crossing the event loop.
  template <typename Accion>
  void Manejar(Accion&& accion);

  // The timer's tick: one instruction of a free run at most.
  void RelojTimer();
  // Run to the line whose word is at `direccion` (F4 in the listing or the
  // source), as the full-speed run does.
  void Ejecutar_Hasta(int32_t direccion);
  // What the last instruction changed and moved, marked now (a run that
  // showed nothing while it went shows it when it stops).
  void Mostrar_Marcas();

  // The end of a drag of the internal panel or of the memory panel: destino
  // is the site it docked into, or nullptr when it floats.
  void Panel_Interno_EndDock(QObject* destino);
  void Memoria_EndDock(QObject* destino);
  void EsconderMostrarelPanelInternodeTORVIC1Click();

  // The screen of the machine.
  void Mostrar_Mensaje(const std::string& texto) override;
  bool Preguntar_Si_No(const std::string& titulo, const std::string& texto) override;
  std::optional<std::string> Pedir_Valor_Editado() override;
  void Visor_Cambiado(int visor) override;
  void Banderas_Cambiadas() override;
  void Panel_Cambiado() override;
  void Memoria_Cambiada(int direccion_palabra) override;
  void Estado_Ejecucion(const std::string& texto) override;
  void Instruccion_Ejecutada() override;

  QStringList Puntos_Ruptura() const;

 protected:
  void closeEvent(QCloseEvent* evento) override;

 private:
  void VELTRA_Inicio();

  QToolBar* Crear_Menu();
  QWidget* Crear_Banda_Central();
  QWidget* Crear_Panel_Frontal();
  QWidget* Crear_Panel_Interno();
  QWidget* Crear_Panel_Memoria();
  // A display of the value; a click edits it when the machine allows.
  TDigitalDisplay* Crear_Visor(const QString& nombre, int visor);
  TLampara* Crear_Lampara_Bandera(TBandera bandera, const QString& apagada, const QString& encendida);
  TLiveButton* Crear_Tecla(const QString& nombre, const QString& titulo);
  QAction* Crear_Accion(QMenu* menu, const QString& nombre, const QString& titulo);
  QFileDialog* Dialogo_Abrir();

  // The window fits its contents again with the bottom bar back in place.
  void Relayout_Barra_Inferior();

  // Menu handlers that belong to the windows rather than the machine.
  void Cargarprogramaobjeto1Click();
  void MSalir_de_VELTRAClick();
  void Panel_Registros_Ver();
  void EsconderMostrarpuertosdesalida1Click();
  void VelocidaddeejecucinenmodoPP1Click();

  TEntorno& entorno_;
  std::array<std::vector<TDigitalDisplay*>, Numero_Visores> visores_{};
  std::array<std::vector<TLampara*>, 4> banderas_{};
  std::vector<TLiveButton*> teclas_;  // T0..TF, BDireccion, BRegistros, BCargar, BEjecutar
  TLiveButton* BContinuar_ = nullptr;
  TLiveButton* BPasoPaso_ = nullptr;
  TLampara* LOn_ = nullptr;
  TLampara* LPP_ = nullptr;
  QAction* MApagar_TORVIC_ = nullptr;
  QAction* MModoPasoapaso_ = nullptr;
  QAction* MInicializar_memoria_ = nullptr;
  QAction* Mododesensamblador1_ = nullptr;
  TMaxima* maxima_ = nullptr;  // the full-speed run
  THexEditor* Memoria_ = nullptr;
  QWidget* Contenedor_Panel_Interno_ = nullptr;
  QDockWidget* Panel_Interno_ = nullptr;
  QDockWidget* PContenedor_Memoria_ = nullptr;
  QWidget* Panel_Separador_Arriba_Abajo_ = nullptr;
  QFileDialog* DAbrir_ = nullptr;
  TArchivos* archivos_ = nullptr;
  QTimer* Reloj_ = nullptr;
  TSesion_Trabajo* Sesion_Trabajo_ = nullptr;
  QWidget* form2_ = nullptr;
  QWidget* form3_ = nullptr;
  TDepuracion* depuracion_ = nullptr;
  TMarcas* marcas_ = nullptr;
  // What Tab visits, in reading order, gathered as the panels are built.
  std::vector<QWidget*> enfocables_;
  QWidget* Panel_Frontal_ = nullptr;
  TFuente* fuente_ = nullptr;
};

template <typename Accion>
void TForm1::Manejar(Accion&& accion) {
  try {
    accion();
  } catch (const std::exception& error) {
    entorno_.Detener_con_Aviso(error.what());
  }
}
