#include "ui/main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCompleter>
#include <QDateTime>
#include <QDockWidget>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include "core/Juego_Instrucciones.h"
#include "objfiles/Cargador.h"
#include "ui/Accesibilidad.h"
#include "ui/Ampliacion.h"
#include "ui/Archivos.h"
#include "ui/Centrar.h"
#include "ui/Depuracion.h"
#include "ui/Esquema_Interno.h"
#include "ui/Fuente.h"
#include "ui/Marcas.h"
#include "ui/Maxima.h"
#include "ui/Muelles.h"
#include "ui/Paneles.h"
#include "ui/Juego_Instrucciones.h"
#include "ui/Sesion_Trabajo.h"
#include "ui/Teclado.h"
#include "ui/Temas.h"
#include "ui/Velocidad.h"
#include "ui/editar_reg.h"
#include "widgets/Colores.h"
#include "widgets/Dibujos.h"
#include "widgets/DigitalDisplay.h"
#include "widgets/HListBox.h"
#include "widgets/Lampara.h"
#include "widgets/hexeditor.h"
#include "widgets/livebutton.h"

namespace {

const QString Titulo_Aplicacion = QStringLiteral("VELTRA, el IDE para TORVIC");

QString Texto(const std::string& texto) { return QString::fromStdString(texto); }

// "\r" in the machine's messages breaks the line.
QString Texto_Mensaje(const std::string& texto) { return Texto(texto).replace(QLatin1Char('\r'), QLatin1Char('\n')); }

// A box as wide as its title plus the frame's buttons, so that no window
// manager cuts the title short. QMessageBox sizes itself from its grid.
void Ancho_para_Titulo(QMessageBox& caja) {
  const int ancho = caja.fontMetrics().horizontalAdvance(caja.windowTitle()) + 120;
  auto* rejilla = qobject_cast<QGridLayout*>(caja.layout());
  if (rejilla)
    rejilla->addItem(new QSpacerItem(ancho, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), rejilla->rowCount(), 0, 1,
                     rejilla->columnCount());
}

}  // namespace

TForm1::TForm1(TEntorno& entorno, QWidget* parent) : QMainWindow(parent), entorno_(entorno) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("VELTRA 0.1.0 para Windows, el Entorno Integrado de Desarrollo para TORVIC"));

  auto* centro = new QWidget(this);
  auto* capas = new QVBoxLayout(centro);
  capas->setContentsMargins(0, 0, 0, 0);
  capas->setSpacing(0);

  auto* barra_principal = Crear_Sitio(QStringLiteral("Barra_Principal"), centro);
  Colocar_Barra(Crear_Menu(), barra_principal);
  capas->addWidget(barra_principal);
  capas->addWidget(Crear_Banda_Central(), 1);

  auto* separador = new QFrame(centro);
  separador->setObjectName(QStringLiteral("Panel_Separador_Arriba_Abajo"));
  separador->setFixedHeight(7);
  Fondo(separador, clTeal);
  capas->addWidget(separador);
  Panel_Separador_Arriba_Abajo_ = separador;

  auto* estado = new QStatusBar(centro);
  estado->setObjectName(QStringLiteral("Barra_Estado"));
  estado->setFixedHeight(22);
  estado->setSizeGripEnabled(false);
  auto* version = new QLabel(QStringLiteral("VELTRA 0.1.0"), estado);
  version->setMinimumWidth(70);
  auto* vacio = new QLabel(estado);
  vacio->setFixedWidth(50);
  estado->addWidget(version);
  estado->addWidget(vacio);
  capas->addWidget(estado);

  auto* contenedor_interno = Crear_Sitio(QStringLiteral("Contenedor_Panel_Interno"), centro);
  // Qt docks a piece only where it fits, so while the panel floats its bar
  // keeps the panel's height for it to be dropped back on.
  contenedor_interno->setFixedHeight(276);
  Panel_Interno_ = Crear_Pieza(QStringLiteral("Panel_Interno"), QStringLiteral("Panel interno de TORVIC"),
                               Crear_Panel_Interno(), contenedor_interno, Qt::BottomDockWidgetArea, true);
  Panel_Interno_->setFixedSize(783, 268);
  Contenedor_Panel_Interno_ = contenedor_interno;
  // Floating, the internal panel closes like any tool window; the Entorno menu
  // brings it back. The other panels come home only by being dragged there,
  // so they cannot be closed and lost.
  connect(Panel_Interno_, &QDockWidget::topLevelChanged, this, [this](bool flotando) {
    Panel_Interno_->setFeatures(flotando ? Panel_Interno_->features() | QDockWidget::DockWidgetClosable
                                         : Panel_Interno_->features() & ~QDockWidget::DockWidgetClosable);
    Panel_Interno_EndDock(flotando ? nullptr : Panel_Interno_->parent());
  });
  PContenedor_Memoria_ = findChild<QDockWidget*>(QStringLiteral("PContenedor_Memoria"));
  connect(PContenedor_Memoria_, &QDockWidget::topLevelChanged, this,
          [this](bool flotando) { Memoria_EndDock(flotando ? nullptr : PContenedor_Memoria_->parent()); });
  // It starts at the size it comes home at.
  Memoria_EndDock(PContenedor_Memoria_->parent());
  capas->addWidget(contenedor_interno);
  setCentralWidget(centro);
  depuracion_ = new TDepuracion(*this, findChild<QMenu*>(QStringLiteral("pop_TORVIC")),
                                findChild<THListBox*>(QStringLiteral("Listado")), estado);
  maxima_ = new TMaxima(*this, findChild<QMenu*>(QStringLiteral("pop_TORVIC")), estado);
  connect(depuracion_, &TDepuracion::Ejecutar_Hasta, this, &TForm1::Ejecutar_Hasta);
  findChild<QMenu*>(QStringLiteral("pop_TORVIC"))->addSeparator()->setObjectName(QStringLiteral("MAyuda_Separador"));
  Crear_Opcion_Juego_Instrucciones(findChild<QMenu*>(QStringLiteral("pop_TORVIC")), *this);
  new TTeclado(*this, *Panel_Frontal_, enfocables_);
  fuente_ = new TFuente(*this, *findChild<QMenu*>(QStringLiteral("PopArchivo")),
                        *findChild<QMenu*>(QStringLiteral("PopEntorno")), *findChild<QMenu*>(QStringLiteral("pop_TORVIC")));

  Reloj_ = new QTimer(this);
  Reloj_->setObjectName(QStringLiteral("Reloj"));
  Reloj_->setTimerType(Qt::PreciseTimer);
  connect(Reloj_, &QTimer::timeout, this, &TForm1::RelojTimer);

  marcas_ = new TMarcas(*this, entorno_, visores_, banderas_, *Memoria_, *findChild<TEsquema_Interno*>());
  entorno_.Fijar_Pantalla(this);
  VELTRA_Inicio();
  for (int visor = 0; visor < Numero_Visores; ++visor) Visor_Cambiado(visor);
  Banderas_Cambiadas();
  Panel_Cambiado();
  Reloj_->start();

  resize(807, 570);
  Centrar(this);
}

TForm1::~TForm1() { entorno_.Fijar_Pantalla(nullptr); }

void TForm1::Ejecutar_Hasta(int32_t direccion) { maxima_->Ejecutar_Hasta(direccion); }

void TForm1::RelojTimer() {
  if (maxima_->Ejecutando()) return;  // its slices are the ticks now
  Manejar([this] { entorno_.RelojTimer(); });
}

void TForm1::Mostrar_Marcas() { marcas_->Mostrar(); }

void TForm1::VELTRA_Inicio() {
  entorno_.Aleatorio.Sembrar(static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch()));
  entorno_.Llenar_Memoria_Aleatoria();
}

// ---------------------------------------------------------------- building

QAction* TForm1::Crear_Accion(QMenu* menu, const QString& nombre, const QString& titulo) {
  QAction* accion = titulo.isEmpty() ? menu->addSeparator() : menu->addAction(titulo);
  accion->setObjectName(nombre);
  return accion;
}

QToolBar* TForm1::Crear_Menu() {
  auto* menu = new QToolBar(QStringLiteral("Menu"), this);
  menu->setObjectName(QStringLiteral("Menu"));
  menu->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  menu->setIconSize(QSize(16, 16));
  menu->setAllowedAreas(Qt::TopToolBarArea);

  auto* pop_archivo = new QMenu(this);
  pop_archivo->setObjectName(QStringLiteral("PopArchivo"));
  connect(Crear_Accion(pop_archivo, QStringLiteral("Cargarprogramaobjeto1"),
                       QStringLiteral("Cargar programa objeto (.HEX, EHC)")),
          &QAction::triggered, this, &TForm1::Cargarprogramaobjeto1Click);
  QAction* cargar = pop_archivo->actions().constLast();
  cargar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  addAction(cargar);  // the key works with the menu closed
  archivos_ = new TArchivos(*this, *pop_archivo);
  Sesion_Trabajo_ = new TSesion_Trabajo(*this, pop_archivo);
  Crear_Accion(pop_archivo, QStringLiteral("MArchivo_Separador"), {});
  connect(Crear_Accion(pop_archivo, QStringLiteral("MSalir_de_VELTRA"), QStringLiteral("Salir de VELTRA")),
          &QAction::triggered, this, &TForm1::MSalir_de_VELTRAClick);

  auto* pop_entorno = new QMenu(this);
  pop_entorno->setObjectName(QStringLiteral("PopEntorno"));
  connect(Crear_Accion(pop_entorno, QStringLiteral("EsconderMostrarelPanelInternodeTORVIC1"),
                       QStringLiteral("Esconder/Mostrar el Panel Interno de TORVIC")),
          &QAction::triggered, this, &TForm1::EsconderMostrarelPanelInternodeTORVIC1Click);
  Crear_Accion(pop_entorno, QStringLiteral("N1"), {});
  connect(Crear_Accion(pop_entorno, QStringLiteral("InicializarMemoria1"), QStringLiteral("Inicializar Memoria")),
          &QAction::triggered, this, [this] { Manejar([this] { entorno_.InicializarMemoria1Click(); }); });
  MInicializar_memoria_ = Crear_Accion(pop_entorno, QStringLiteral("MInicializar_memoria_al_Encender_TORVIC"),
                                       QStringLiteral("Inicializar memoria al Encender TORVIC"));
  MInicializar_memoria_->setCheckable(true);
  connect(MInicializar_memoria_, &QAction::triggered, this,
          [this] { entorno_.MInicializar_memoria_al_Encender_TORVICClick(); });
  Crear_Accion(pop_entorno, QStringLiteral("N2"), {});
  connect(Crear_Accion(pop_entorno, QStringLiteral("MEsconderMostrarlosregistrosdeentrada1"),
                       QStringLiteral("Esconder/Mostrar puertos de entrada")),
          &QAction::triggered, this, &TForm1::Panel_Registros_Ver);
  connect(Crear_Accion(pop_entorno, QStringLiteral("EsconderMostrarpuertosdesalida1"),
                       QStringLiteral("Esconder/Mostrar puertos de salida")),
          &QAction::triggered, this, &TForm1::EsconderMostrarpuertosdesalida1Click);
  Crear_Accion(pop_entorno, QStringLiteral("N3"), {});
  connect(Crear_Accion(pop_entorno, QStringLiteral("VelocidaddeejecucinenmodoPP1"),
                       QStringLiteral("Velocidad de ejecución en modo Paso a Paso")),
          &QAction::triggered, this, &TForm1::VelocidaddeejecucinenmodoPP1Click);
  Crear_Accion(pop_entorno, QStringLiteral("N4"), {});
  Mododesensamblador1_ = Crear_Accion(pop_entorno, QStringLiteral("Mododesensamblador1"), QStringLiteral("-"));
  connect(Mododesensamblador1_, &QAction::triggered, this,
          [this] { Manejar([this] { entorno_.Mododesensamblador1Click(); }); });
  Crear_Accion(pop_entorno, QStringLiteral("N5"), {});
  pop_entorno->addMenu(Crear_Menu_Ampliacion(*this));
  Crear_Menu_Temas(pop_entorno);
  TMarcas::Crear_Opcion(pop_entorno);

  auto* pop_torvic = new QMenu(this);
  pop_torvic->setObjectName(QStringLiteral("pop_TORVIC"));
  MApagar_TORVIC_ = Crear_Accion(pop_torvic, QStringLiteral("MApagar_TORVIC"), QStringLiteral("-"));
  connect(MApagar_TORVIC_, &QAction::triggered, this, [this] { Manejar([this] { entorno_.Encender_Apagar(); }); });
  MModoPasoapaso_ = Crear_Accion(pop_torvic, QStringLiteral("MModoPasoapaso"), QStringLiteral("-"));
  connect(MModoPasoapaso_, &QAction::triggered, this, [this] { entorno_.BPasoPasoClick(); });

  const struct {
    const char* nombre;
    const char* titulo;
    QMenu* menu;
    TGlifo imagen;
  } botones[] = {{"Menu_Archivo", "Archivo", pop_archivo, TGlifo::Archivo},
                 {"ToolButton1", "Entorno", pop_entorno, TGlifo::Entorno},
                 {"ToolButton2", "TORVIC", pop_torvic, TGlifo::TORVIC}};
  for (const auto& boton : botones) {
    auto* herramienta = new QToolButton(menu);
    herramienta->setObjectName(QString::fromLatin1(boton.nombre));
    herramienta->setText(QString::fromLatin1(boton.titulo));
    herramienta->setIcon(Icono(boton.imagen));
    herramienta->setMenu(boton.menu);
    herramienta->setPopupMode(QToolButton::InstantPopup);
    herramienta->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    herramienta->setAutoRaise(true);
    herramienta->setMinimumWidth(66);
    menu->addWidget(herramienta);
  }
  return menu;
}

QWidget* TForm1::Crear_Banda_Central() {
  auto* banda = new QSplitter(Qt::Horizontal);
  banda->setObjectName(QStringLiteral("Separador_Arriba"));
  banda->setMinimumHeight(209);
  banda->setHandleWidth(5);
  banda->setChildrenCollapsible(false);

  auto* listado = new THListBox(banda);
  listado->setObjectName(QStringLiteral("Listado"));
  listado->Fijar_Listado(&entorno_.Listado);
  listado->setAccessibleName(QStringLiteral("Listado del programa"));
  // A line's tooltip says what the instruction at its address does.
  listado->Fijar_Ayuda([this](int fila) {
    const int32_t direccion = entorno_.Listado.Direccion_Linea(fila);
    return direccion < 0 ? QString() : Texto(Resumen_Palabra(entorno_.Leer_Palabra(direccion)));
  });
  connect(listado->selectionModel(), &QItemSelectionModel::currentChanged, listado,
          [listado] { Anunciar_Valor(listado); });
  listado->setProperty("marco_foco_dentro", true);
  enfocables_.push_back(listado);
  banda->addWidget(listado);

  auto* ficha = new QTabWidget(banda);
  ficha->setObjectName(QStringLiteral("Ficha_PF"));
  auto* pagina = new QWidget(ficha);
  pagina->setObjectName(QStringLiteral("TPanel_Frontal"));
  auto* capas = new QVBoxLayout(pagina);
  capas->setContentsMargins(0, 0, 0, 0);
  auto* contenedor = Crear_Sitio(QStringLiteral("Contenedor_PF"), pagina);
  Crear_Pieza(QStringLiteral("PPanel_Frontal"), QStringLiteral("Panel frontal de TORVIC"), Crear_Panel_Frontal(),
              contenedor, Qt::TopDockWidgetArea, true)
      ->setMaximumSize(428, 180);
  // Likewise the front panel's site keeps its size while the panel floats.
  contenedor->setMinimumSize(428, 180);
  capas->addWidget(contenedor, 0, Qt::AlignLeft | Qt::AlignTop);
  ficha->addTab(pagina, QStringLiteral("Panel frontal"));
  banda->addWidget(ficha);
  // The style sheet on the handle alone: on the splitter it would pin the
  // palette of everything inside, and no theme could reach it.
  banda->handle(1)->setStyleSheet(QStringLiteral("background: #008080;"));
  banda->handle(1)->setProperty("asa_panel", true);
  banda->setSizes({348, 454});
  banda->setStretchFactor(1, 1);
  return banda;
}

void TForm1::Registrar_Visor(int visor, TDigitalDisplay* display) {
  visores_[static_cast<size_t>(visor)].push_back(display);
  display->setAccessibleName(Nombre_Visor(visor));
  display->setValue(Texto(entorno_.Valor(visor)));
}

void TForm1::Fijar_Ventanas_Puertos(QWidget* form2, QWidget* form3) {
  form2_ = form2;
  form3_ = form3;
  // Tool windows stay above the main window, even when a box of the main
  // window takes the focus.
  winId();
  for (QWidget* ventana : {form2, form3}) {
    ventana->winId();
    ventana->windowHandle()->setTransientParent(windowHandle());
  }
}

// ---------------------------------------------------------------- the machine's screen

void TForm1::Mostrar_Mensaje(const std::string& texto) {
  QMessageBox caja(QMessageBox::NoIcon, Titulo_Aplicacion, Texto_Mensaje(texto), QMessageBox::Ok, this);
  Ancho_para_Titulo(caja);
  // A load shows the wait cursor; the box wants the ordinary one.
  const bool espera = QApplication::overrideCursor() != nullptr;
  if (espera) QApplication::restoreOverrideCursor();
  caja.exec();
  if (espera) QApplication::setOverrideCursor(Qt::WaitCursor);
}

bool TForm1::Preguntar_Si_No(const std::string& titulo, const std::string& texto) {
  QMessageBox caja(QMessageBox::Question, Texto(titulo), Texto_Mensaje(texto), QMessageBox::Yes | QMessageBox::No,
                   this);
  Ancho_para_Titulo(caja);
  return caja.exec() != QMessageBox::No;
}

std::optional<std::string> TForm1::Pedir_Valor_Editado() {
  TDiag_Editar_Registro dialogo(this);
  if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
  return dialogo.Valor().toStdString();
}

void TForm1::Visor_Cambiado(int visor) {
  marcas_->Cambio_Ajeno();
  const auto& displays = visores_[static_cast<size_t>(visor)];
  if (displays.empty()) return;
  const QString valor = Texto(entorno_.Valor(visor));
  for (TDigitalDisplay* display : displays) display->setValue(valor);
}

void TForm1::Banderas_Cambiadas() {
  for (int bandera = 0; bandera < 4; ++bandera)
    for (TLampara* lampara : banderas_[bandera])
      lampara->Fijar_Encendida(entorno_.Leer_Bandera(static_cast<TBandera>(bandera)) == 1);
  marcas_->Cambio_Ajeno();
}

void TForm1::Panel_Cambiado() {
  const TPanel& panel = entorno_.Panel;
  LOn_->Fijar_Encendida(panel.LOn);
  LPP_->Fijar_Encendida(panel.LPP);
  for (TLiveButton* tecla : teclas_) tecla->setEnabled(panel.Teclas_Habilitadas);
  BContinuar_->setEnabled(panel.BContinuar_Habilitado);
  BPasoPaso_->setEnabled(panel.BPasoPaso_Habilitado);
  MModoPasoapaso_->setEnabled(panel.MModoPasoapaso_Habilitado);
  MModoPasoapaso_->setText(Texto(panel.Caption_MModoPasoapaso));
  MApagar_TORVIC_->setText(Texto(panel.Caption_MApagar_TORVIC));
  Mododesensamblador1_->setText(Texto(panel.Caption_Mododesensamblador1));
  MInicializar_memoria_->setChecked(entorno_.Opciones_Entorno.Iniciar_Memoria_al_Encender != 0);
  // Setting the interval restarts the timer, so only a new one is set.
  const int intervalo = static_cast<int>(entorno_.Opciones_Entorno.Intervalo_Paso);
  if (Reloj_->interval() != intervalo) Reloj_->setInterval(intervalo);
  depuracion_->Actualizar();
  marcas_->Cambio_Ajeno();
  maxima_->Panel_Cambiado();
  if (fuente_ && !maxima_->Ejecutando()) fuente_->PC_Cambiado();
}

void TForm1::Memoria_Cambiada(int direccion_palabra) {
  if (direccion_palabra < 0) Memoria_->InvalidateAll();
  else Memoria_->InvalidateBytes(2 * direccion_palabra, 2);
  marcas_->Cambio_Ajeno();
}

void TForm1::Estado_Ejecucion(const std::string& texto) { depuracion_->Estado_Ejecucion(texto); }

void TForm1::Instruccion_Ejecutada() {
  depuracion_->Instruccion_Ejecutada();
  marcas_->Instruccion_Ejecutada(maxima_->Ejecutando());
  if (!maxima_->Ejecutando()) fuente_->PC_Cambiado();
}

void TForm1::Puntos_Ruptura_Cambiados() {
  findChild<THListBox*>(QStringLiteral("Listado"))->viewport()->update();
  fuente_->Puntos_Ruptura_Cambiados();
}

QStringList TForm1::Puntos_Ruptura() const { return depuracion_->Puntos_Ruptura(); }

// ---------------------------------------------------------------- menu handlers

// Built at its first use: a non-native file dialog builds a file-system model
// and its views, a large share of the start-up's time and memory.
QFileDialog* TForm1::Dialogo_Abrir() {
  if (DAbrir_) return DAbrir_;
  DAbrir_ = new QFileDialog(this, QStringLiteral("Cargar fichero objeto en VELTRA"));
  DAbrir_->setObjectName(QStringLiteral("DAbrir"));
  DAbrir_->setOption(QFileDialog::DontUseNativeDialog);
  DAbrir_->setAcceptMode(QFileDialog::AcceptOpen);
  DAbrir_->setFileMode(QFileDialog::ExistingFile);
  DAbrir_->setDefaultSuffix(QStringLiteral("EHC"));
  // The loader takes the extension in either case, so the filters do too.
  DAbrir_->setNameFilters({QStringLiteral("Easy Hexadecimal Code (*.EHC *.ehc)"),
                           QStringLiteral("Intel Standard HEX (*.HEX *.hex)"),
                           QStringLiteral("Programa en ensamblador (*.ASM *.asm)")});
  // A typed name's completion popup is a window of its own: it goes with the dialog.
  connect(DAbrir_, &QDialog::finished, this, [this] {
    for (QCompleter* completer : DAbrir_->findChildren<QCompleter*>()) completer->popup()->hide();
  });
  return DAbrir_;
}

void TForm1::Cargarprogramaobjeto1Click() {
  Manejar([this] {
    Vaciar_Listado_Carga(entorno_);
    QFileDialog* abrir = Dialogo_Abrir();
    archivos_->Preparar_Dialogo(*abrir);
    if (abrir->exec() != QDialog::Accepted || abrir->selectedFiles().isEmpty()) return;
    archivos_->Cargar(abrir->selectedFiles().constFirst());
  });
}

void TForm1::MSalir_de_VELTRAClick() { close(); }

void TForm1::closeEvent(QCloseEvent* evento) {
  if (!fuente_->Preguntar_Guardar()) {
    evento->ignore();
    return;
  }
  evento->accept();
  Sesion_Trabajo_->Guardar_Sesion();
  // The port windows may still be open; the program ends with this window.
  QCoreApplication::quit();
}

// ---------------------------------------------------------------- docking

void TForm1::Relayout_Barra_Inferior() {
  centralWidget()->layout()->activate();
  const int alto = minimumSizeHint().height();
  if (height() < alto) resize(width(), alto);
}

void TForm1::Panel_Interno_EndDock(QObject* destino) {
  if (qobject_cast<TSitio_Muelle*>(destino) && destino->objectName() == QLatin1String("Contenedor_Panel_Interno"))
    Relayout_Barra_Inferior();
}

void TForm1::Memoria_EndDock(QObject* destino) {
  auto* sitio = qobject_cast<TSitio_Muelle*>(destino);
  if (!sitio) {
    // Floating, the memory panel can be sized freely.
    PContenedor_Memoria_->setMinimumSize(0, 0);
    PContenedor_Memoria_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  } else if (sitio->objectName() == QLatin1String("Contenedor_Memoria")) {
    PContenedor_Memoria_->setFixedSize(176, 204);
  }
}

void TForm1::EsconderMostrarelPanelInternodeTORVIC1Click() {
  if (!Panel_Interno_->isFloating()) {
    if (!Contenedor_Panel_Interno_->isHidden()) {
      Contenedor_Panel_Interno_->hide();
    } else {
      Contenedor_Panel_Interno_->show();
      Panel_Separador_Arriba_Abajo_->show();
      Relayout_Barra_Inferior();
    }
  } else if (Panel_Interno_->isHidden()) {
    Panel_Interno_->show();
  } else {
    Panel_Interno_->setFloating(false);
    Relayout_Barra_Inferior();
  }
}

namespace {

void Mostrar_u_Ocultar(QWidget* ventana) {
  if (ventana->isVisible()) {
    ventana->hide();
  } else {
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
  }
}

}  // namespace

void TForm1::Panel_Registros_Ver() { Mostrar_u_Ocultar(form2_); }

void TForm1::EsconderMostrarpuertosdesalida1Click() { Mostrar_u_Ocultar(form3_); }

void TForm1::VelocidaddeejecucinenmodoPP1Click() {
  TForm4 dialogo(entorno_, this);
  dialogo.exec();
}
