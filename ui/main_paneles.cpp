// The panels of the main window: the front panel, the internal panel and the
// memory panel, each display, key and lamp placed and wired to the machine.
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "core/TextoHex.h"
#include "ui/Accesibilidad.h"
#include "ui/Esquema_Interno.h"
#include "ui/Muelles.h"
#include "ui/Paneles.h"
#include "ui/main.h"
#include "widgets/Colores.h"
#include "widgets/Dibujos.h"
#include "widgets/DigitalDisplay.h"
#include "widgets/Lampara.h"
#include "widgets/hexeditor.h"
#include "widgets/livebutton.h"

QLabel* Etiqueta(const QString& texto, QWidget* padre, int x, int y, bool titulo) {
  auto* etiqueta = new QLabel(texto, padre);
  QPalette paleta = etiqueta->palette();
  paleta.setColor(QPalette::WindowText, clWhite);
  etiqueta->setPalette(paleta);
  if (titulo) {
    QFont fuente = etiqueta->font();
    fuente.setBold(true);
    etiqueta->setFont(fuente);
  }
  etiqueta->move(x, y);
  etiqueta->adjustSize();
  return etiqueta;
}

void Fondo(QWidget* widget, const QColor& color) {
  QPalette paleta = widget->palette();
  paleta.setColor(QPalette::Window, color);
  widget->setPalette(paleta);
  widget->setAutoFillBackground(true);
  // A theme paints it as the panels.
  widget->setProperty("fondo_panel", color == clTeal);
}

namespace {

const QColor Amarillo_Palido(0xFF, 0xFF, 0xA8);

}  // namespace

TDigitalDisplay* TForm1::Crear_Visor(const QString& nombre, int visor) {
  auto* display = new TDigitalDisplay;
  display->setObjectName(nombre);
  display->setFixedSize(64, 22);
  Registrar_Visor(visor, display);
  if (Visor_Editable(visor)) {
    display->setCursor(Qt::PointingHandCursor);
    display->setFocusPolicy(Qt::TabFocus);
    display->setProperty("marco_foco", true);
    enfocables_.push_back(display);
    connect(display, &TDigitalDisplay::OnClick, this,
            [this, visor] { Manejar([this, visor] { entorno_.Modifica_Registro(visor); }); });
  }
  return display;
}

TLampara* TForm1::Crear_Lampara_Bandera(TBandera bandera, const QString& apagada, const QString& encendida) {
  auto* lampara = new TLampara(apagada, encendida, clLime, nullptr, 14);
  banderas_[bandera].push_back(lampara);
  lampara->setAccessibleName(QStringLiteral("Bandera ") + QLatin1Char("ZSCV"[bandera]));
  lampara->setFocusPolicy(Qt::TabFocus);
  lampara->setProperty("marco_foco", true);
  enfocables_.push_back(lampara);
  connect(lampara, &TLampara::Pulsada, this,
          [this, bandera] { Manejar([this, bandera] { entorno_.Conmutar_Bandera(bandera); }); });
  return lampara;
}

TLiveButton* TForm1::Crear_Tecla(const QString& nombre, const QString& titulo) {
  auto* tecla = new TLiveButton(titulo);
  tecla->setObjectName(nombre);
  tecla->setCursor(Qt::PointingHandCursor);
  tecla->setFocusPolicy(Qt::TabFocus);
  tecla->Reposo();
  enfocables_.push_back(tecla);
  // A mnemonic works only in its own window; the panel's keys work in every
  // VELTRA window (the floating panel, the main window, the port windows), so
  // the mnemonic gives way to one application-wide shortcut and never fires twice.
  const QKeySequence atajo = QKeySequence::mnemonic(titulo);
  if (!atajo.isEmpty()) {
    tecla->setShortcut(QKeySequence());
    // Readers on the desktop bus learn a key's accelerator from its description.
    tecla->setAccessibleDescription(atajo.toString(QKeySequence::NativeText));
    auto* global = new QShortcut(atajo, tecla);
    global->setContext(Qt::ApplicationShortcut);
    connect(global, &QShortcut::activated, tecla, &QAbstractButton::animateClick);
  }
  return tecla;
}

QWidget* TForm1::Crear_Panel_Frontal() {
  auto* panel = new TLamina(clTeal, Dibujar_Panel_Frontal);
  panel->setFixedSize(404, 178);
  Panel_Frontal_ = panel;
  const auto Colocar = [](QWidget* widget, QWidget* padre, int x, int y) {
    widget->setParent(padre);
    widget->move(x, y);
  };
  const auto Columna = [panel](const char* nombre, int x, int ancho) {
    auto* columna = new QWidget(panel);
    columna->setObjectName(QString::fromLatin1(nombre));
    columna->setGeometry(x, 0, ancho, 178);
    return columna;
  };

  // Left: power and step switches, flags, IR and PC.
  QWidget* izquierda = Columna("Contenedor_PF_Izquierda", 0, 140);
  auto* on_off = Crear_Tecla(QStringLiteral("BOnOff"), QStringLiteral("&On/Off"));
  on_off->setIcon(Icono(TGlifo::Encender));
  on_off->setToolTip(QStringLiteral("Pulse aquí para Apagar/Encender TORVIC."));
  on_off->setGeometry(6, 6, 96, 24);
  on_off->setParent(izquierda);
  connect(on_off, &QPushButton::clicked, this, [this] { Manejar([this] { entorno_.Encender_Apagar(); }); });
  LOn_ = new TLampara(QStringLiteral("LOff"), QStringLiteral("LOn"), clLime, izquierda);
  LOn_->move(110, 10);
  LOn_->setAccessibleName(QStringLiteral("Piloto de encendido"));
  BPasoPaso_ = Crear_Tecla(QStringLiteral("BPasoPaso"), QStringLiteral("&Paso a paso"));
  BPasoPaso_->setIcon(Icono(TGlifo::Paso_a_Paso));
  BPasoPaso_->setParent(izquierda);
  BPasoPaso_->setGeometry(6, 34, 96, 24);
  connect(BPasoPaso_, &QPushButton::clicked, this, [this] { entorno_.BPasoPasoClick(); });
  LPP_ = new TLampara(QStringLiteral("LPP_Off"), QStringLiteral("LPP"), clYellow, izquierda);
  LPP_->move(110, 38);
  LPP_->setAccessibleName(QStringLiteral("Piloto de paso a paso"));
  const char* const letras[] = {"Z", "S", "C", "V"};
  for (int bandera = 0; bandera < 4; ++bandera) {
    const QString letra = QString::fromLatin1(letras[bandera]);
    // Letters over the lamps, the arithmetic unit's picture left of them.
    Etiqueta(letra, izquierda, 59 + 21 * bandera, 64);
    Colocar(Crear_Lampara_Bandera(static_cast<TBandera>(bandera), QStringLiteral("P%1_OFF").arg(letra),
                                  QStringLiteral("P%1_ON").arg(letra)),
            izquierda, 56 + 21 * bandera, 82);
  }
  Etiqueta(QStringLiteral("IR"), izquierda, 8, 112);
  Colocar(Crear_Visor(QStringLiteral("PIR"), Visor_IR), izquierda, 30, 108);
  Etiqueta(QStringLiteral("PC"), izquierda, 8, 142);
  Colocar(Crear_Visor(QStringLiteral("PPC"), Visor_PC), izquierda, 30, 138);

  // Centre: the keypad and its display.
  QWidget* centro = Columna("Contenedor_PF_Centro", 140, 126);
  auto* nombre = Etiqueta(QStringLiteral("TORVIC"), centro, 4, 2, true);
  nombre->setObjectName(QStringLiteral("LTORVIC"));
  auto* teclado = Crear_Visor(QStringLiteral("Teclado"), Visor_Teclado);
  teclado->setToolTip(QStringLiteral("Teclado y puerto IP01"));
  teclado->setFixedSize(116, 26);
  Colocar(teclado, centro, 4, 20);
  for (int digito = 0; digito < 16; ++digito) {
    const QChar caracter = QLatin1Char(Digito_Hex(digito));
    auto* tecla = Crear_Tecla(QStringLiteral("T") + caracter, QStringLiteral("&") + caracter);
    tecla->setParent(centro);
    tecla->setGeometry(4 + 30 * (digito % 4), 52 + 30 * (digito / 4), 28, 28);
    connect(tecla, &QPushButton::clicked, this, [this, caracter] {
      Manejar([this, caracter] { entorno_.Pulsacion_Teclado(caracter.toLatin1()); });
    });
    teclas_.push_back(tecla);
  }

  // Right: the console displays and keys.
  QWidget* derecha = Columna("Contenedor_PF_Derecha", 266, 138);
  Etiqueta(QStringLiteral("D/OP1"), derecha, 4, 8);
  Colocar(Crear_Visor(QStringLiteral("POP1"), Visor_OP1), derecha, 44, 4);
  Etiqueta(QStringLiteral("C/OP2"), derecha, 4, 34);
  Colocar(Crear_Visor(QStringLiteral("POP2"), Visor_OP2), derecha, 44, 30);
  const struct {
    const char* nombre;
    QString titulo;
    void (*manejador)(TEntorno&);
    TGlifo glifo;
  } consola[] = {
      {"BDireccion", QStringLiteral("D&irección"), [](TEntorno& e) { e.BDireccionClick(); }, TGlifo::Direccion},
      {"BRegistros", QStringLiteral("&Registros"), [](TEntorno& e) { e.BRegistrosClick(); }, TGlifo::Registros},
      {"BCargar", QStringLiteral("Car&gar"), [](TEntorno& e) { e.BCargarClick(); }, TGlifo::Cargar},
      {"BEjecutar", QStringLiteral("E&jecutar"), [](TEntorno& e) { e.BEjecutarClick(); }, TGlifo::Ejecutar},
      {"BContinuar", QStringLiteral("Co&ntinuar"), [](TEntorno& e) { e.BContinuarClick(); }, TGlifo::Continuar}};
  int y = 56;
  for (const auto& tecla_consola : consola) {
    auto* tecla = Crear_Tecla(QString::fromLatin1(tecla_consola.nombre), tecla_consola.titulo);
    tecla->setIcon(Icono(tecla_consola.glifo));
    tecla->setParent(derecha);
    tecla->setGeometry(20, y, 100, 23);
    y += 24;
    const auto manejador = tecla_consola.manejador;
    connect(tecla, &QPushButton::clicked, this, [this, manejador] { Manejar([this, manejador] { manejador(entorno_); }); });
    // Continuar has an enable of its own; the others follow the keypad's.
    if (tecla->objectName() == QLatin1String("BContinuar")) BContinuar_ = tecla;
    else teclas_.push_back(tecla);
  }
  return panel;
}

QWidget* TForm1::Crear_Panel_Memoria() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("Panel_Memoria"));
  panel->setFixedWidth(196);
  Etiqueta(QStringLiteral("Memoria"), panel, 70, 4, true);
  auto* contenedor = Crear_Sitio(QStringLiteral("Contenedor_Memoria"), panel);
  // As high as the piece docked in it, so that the piece looks the same at
  // start and after every return.
  contenedor->setGeometry(10, 24, 176, 204);

  Memoria_ = new THexEditor(&entorno_.Memoria);
  Memoria_->setObjectName(QStringLiteral("Memoria"));
  Memoria_->SetBytesPerLine(2);
  Memoria_->SetBytesPerColumn(2);
  Memoria_->SetOffsetDisplay(THexEditor::odHex);
  Memoria_->SetOffsetSeparator(QLatin1Char(':'));
  Memoria_->SetTranslation(THexEditor::ttASCII);
  Memoria_->SetCreateBackup(false);
  Memoria_->SetFocusFrame(true);
  Memoria_->SetAutoCaretMode(false);
  TColors* colores = Memoria_->Colors();
  colores->SetBackground(palette().color(QPalette::Base));
  colores->SetPositionBackground(clMaroon);
  colores->SetPositionText(clWhite);
  colores->SetChangedBackground(Amarillo_Palido);
  colores->SetChangedText(clMaroon);
  colores->SetCursorFrame(clNavy);
  colores->SetOffset(clBlack);
  colores->SetOddColumn(clBlue);
  colores->SetEvenColumn(clNavy);
  Memoria_->setAccessibleName(QStringLiteral("Memoria"));
  Memoria_->setProperty("marco_foco_dentro", true);
  enfocables_.push_back(Memoria_);
  connect(Memoria_, &THexEditor::OnStateChanged, Memoria_, [this] { Anunciar_Valor(Memoria_); });
  connect(Memoria_, &THexEditor::OnKeyDown, this, [this] { entorno_.Al_Pulsar_Memoria(Memoria_->CursorPos()); });
  connect(Memoria_, &THexEditor::OnKeyUp, this, [this] { Manejar([this] { entorno_.Editar_Memoria(); }); });

  auto* pieza = Crear_Pieza(QStringLiteral("PContenedor_Memoria"), QStringLiteral("Memoria de TORVIC"), Memoria_,
                            contenedor, Qt::TopDockWidgetArea, false);
  pieza->setMaximumWidth(176);
  return panel;
}

QWidget* TForm1::Crear_Panel_Interno() {
  auto* panel = new TEsquema_Interno;
  auto* filas = new QHBoxLayout(panel);
  filas->setContentsMargins(0, 0, 0, 0);
  filas->setSpacing(0);

  auto* registros = new QWidget(panel);
  registros->setObjectName(QStringLiteral("Panel_Registros"));
  registros->setFixedWidth(440);
  const auto Colocar = [registros](QWidget* widget, int x, int y) {
    widget->setParent(registros);
    widget->move(x, y);
  };
  Etiqueta(QStringLiteral("Unidad de Procesamiento"), registros, 8, 4, true);
  for (int n = 0; n < 16; ++n) {
    const QChar digito = QLatin1Char(Digito_Hex(n));
    const int x = n < 8 ? 8 : 104;
    const int y = 26 + 29 * (n % 8);
    Etiqueta(QStringLiteral("r") + digito, registros, x, y + 4);
    Colocar(Crear_Visor(QStringLiteral("R") + digito, Visor_Registro(n)), x + 22, y);
  }
  // Right of the register file runs the internal bus.
  Etiqueta(QStringLiteral("AR"), registros, 210, 150);
  Colocar(Crear_Visor(QStringLiteral("AR"), Visor_AR), 232, 146);
  Etiqueta(QStringLiteral("DR"), registros, 210, 180);
  Colocar(Crear_Visor(QStringLiteral("DR"), Visor_DR), 232, 176);

  auto* flags = new QFrame(registros);
  flags->setObjectName(QStringLiteral("PFF"));
  // Its outline is drawn with the other units' in the panel's picture.
  flags->setFrameStyle(QFrame::NoFrame);
  flags->setGeometry(210, 210, 136, 44);
  Etiqueta(QStringLiteral("FF"), flags, 4, 2);
  const char* const letras[] = {"Z", "S", "C", "V"};
  for (int bandera = 0; bandera < 4; ++bandera) {
    const QString letra = QString::fromLatin1(letras[bandera]);
    Etiqueta(letra, flags, 12 + 30 * bandera, 24);
    auto* lampara = Crear_Lampara_Bandera(static_cast<TBandera>(bandera), letra + QStringLiteral("_OFF"),
                                          letra + QStringLiteral("_ON"));
    lampara->setParent(flags);
    lampara->move(22 + 30 * bandera, 24);
  }

  Etiqueta(QStringLiteral("Procesamiento de Instrucciones"), registros, 210, 26, true);
  Etiqueta(QStringLiteral("Unidad de\nControl"), registros, 334, 56, true);
  Etiqueta(QStringLiteral("IR"), registros, 336, 96);
  Colocar(Crear_Visor(QStringLiteral("IR"), Visor_IR), 358, 92);
  Etiqueta(QStringLiteral("PC"), registros, 336, 126);
  Colocar(Crear_Visor(QStringLiteral("PC"), Visor_PC), 358, 122);
  filas->addWidget(registros);

  filas->addWidget(Crear_Panel_Memoria());

  auto* puertos = new QWidget(panel);
  puertos->setObjectName(QStringLiteral("Panel_Puertos"));
  puertos->setFixedWidth(116);
  Etiqueta(QStringLiteral("Puertos de\nEntrada y Salida"), puertos, 2, 4, true);
  const struct {
    const char* nombre;
    int visor;
  } visores[] = {{"IP1", Visor_Teclado}, {"IP2", Visor_IP2}, {"OP1", Visor_OP1}, {"OP2", Visor_OP2}};
  int y = 48;
  for (const auto& visor : visores) {
    const QString nombre = QString::fromLatin1(visor.nombre);
    Etiqueta(nombre, puertos, 8, y + 4);
    auto* display = Crear_Visor(nombre, visor.visor);
    display->setParent(puertos);
    display->move(40, y);
    y += 40;
  }
  filas->addWidget(puertos);
  return panel;
}
