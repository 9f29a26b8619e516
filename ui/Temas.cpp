#include "ui/Temas.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>

#include "ui/Ajustes.h"
#include "ui/Editor_Fuente.h"
#include "widgets/Colores.h"
#include "widgets/Dibujos.h"
#include "widgets/DigitalDisplay.h"
#include "widgets/HListBox.h"
#include "widgets/Marco_Foco.h"
#include "widgets/hexeditor.h"

namespace {

const QColor Gris_Claro(0xEF, 0xEF, 0xEF);

const TColores_Tema Clasico{
    clTeal,  clBlack, clLime, QColor(0x00, 0x40, 0x00), clNavy, clNavy, {clTeal, clWhite, clYellow, clNavy, clNavy, 2},
    clYellow, 2,       clWhite, clBlack, clBlue, clNavy, clMaroon, clWhite, QColor(0xFF, 0xFF, 0xA8), clMaroon,
    clNavy};

const TColores_Tema Alto_Contraste{
    clBlack,  clBlack, clYellow, QColor(0x30, 0x30, 0x00), clWhite, clYellow, {clYellow, clBlack, clBlack, clYellow, clWhite, 3},
    clYellow, 3,       clBlack,  clWhite, clYellow, clWhite, clYellow, clBlack, QColor(0x00, 0xFF, 0xFF), clBlack,
    clWhite};

const QColor Texto_Oscuro(0xE8, 0xE8, 0xE8);
const TColores_Tema Oscuro{QColor(0x0D, 0x3B, 0x3B),
                           clBlack,
                           clLime,
                           QColor(0x00, 0x40, 0x00),
                           Texto_Oscuro,
                           QColor(0x2F, 0x65, 0xA8),
                           {QColor(0x9F, 0xE8, 0xE8), QColor(0x3A, 0x3A, 0x3A), clYellow, clBlack, clYellow, 2},
                           clYellow,
                           2,
                           QColor(0x1E, 0x1E, 0x1E),
                           Texto_Oscuro,
                           QColor(0x8F, 0xC7, 0xFF),
                           Texto_Oscuro,
                           QColor(0x80, 0x00, 0x00),
                           clWhite,
                           QColor(0xFF, 0xFF, 0xA8),
                           clBlack,
                           clYellow};

// The style's own palette, but for its selection colour: white on the style's
// light blue reads at less than 4.5:1, so the blue is darkened until it does.
QPalette Paleta_Clasica() {
  static const QPalette clasica = [] {
    QPalette paleta = QApplication::palette();
    for (const auto grupo : {QPalette::Active, QPalette::Inactive}) {
      QColor resalte = paleta.color(grupo, QPalette::Highlight);
      const QColor texto = paleta.color(grupo, QPalette::HighlightedText);
      // Only a ground behind light text is darkened; black is the end.
      while (texto.lightness() > resalte.lightness() && Contraste(texto, resalte) < Contraste_Texto(TTema::Clasico) &&
             resalte.value() > 0)
        resalte = resalte.darker(110);
      paleta.setColor(grupo, QPalette::Highlight, resalte);
    }
    return paleta;
  }();
  return clasica;
}

QPalette Paleta_de(const QColor& ventana, const QColor& texto, const QColor& base, const QColor& boton,
                   const QColor& texto_boton, const QColor& resalte, const QColor& texto_resalte,
                   const QColor& apagado) {
  QPalette paleta(boton, ventana);
  for (const auto grupo : {QPalette::Active, QPalette::Inactive}) {
    paleta.setColor(grupo, QPalette::WindowText, texto);
    paleta.setColor(grupo, QPalette::Text, texto);
    paleta.setColor(grupo, QPalette::ButtonText, texto_boton);
    paleta.setColor(grupo, QPalette::Base, base);
    paleta.setColor(grupo, QPalette::AlternateBase, base);
    paleta.setColor(grupo, QPalette::Highlight, resalte);
    paleta.setColor(grupo, QPalette::HighlightedText, texto_resalte);
    paleta.setColor(grupo, QPalette::ToolTipBase, base);
    paleta.setColor(grupo, QPalette::ToolTipText, texto);
    paleta.setColor(grupo, QPalette::PlaceholderText, apagado);
    paleta.setColor(grupo, QPalette::BrightText, clYellow);
    paleta.setColor(grupo, QPalette::Link, QColor(0x80, 0xC0, 0xFF));
  }
  for (const auto rol : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    paleta.setColor(QPalette::Disabled, rol, apagado);
  paleta.setColor(QPalette::Disabled, QPalette::Base, ventana);
  paleta.setColor(QPalette::Disabled, QPalette::Window, ventana);
  paleta.setColor(QPalette::Disabled, QPalette::Button, boton);
  return paleta;
}

TTema tema_actual = TTema::Clasico;

const char* Clave(TTema tema) {
  switch (tema) {
    case TTema::Alto_Contraste: return "Alto_Contraste";
    case TTema::Oscuro: return "Oscuro";
    case TTema::Clasico: break;
  }
  return "Clasico";
}

// Each widget's own colours before any theme, put back by the classic one.
template <typename T>
T Original(QWidget* widget, const char* clave, const T& actual) {
  const QVariant guardado = widget->property(clave);
  if (guardado.isValid()) return guardado.value<T>();
  widget->setProperty(clave, QVariant::fromValue(actual));
  return actual;
}

void Aplicar_a(QWidget* widget) {
  const bool clasico = tema_actual == TTema::Clasico;
  const TColores_Tema& c = Colores_Tema(tema_actual);
  if (auto* lamina = dynamic_cast<TLamina*>(widget); lamina || widget->property("fondo_panel").toBool()) {
    QPalette paleta = widget->palette();
    paleta.setColor(QPalette::Window, c.Panel);
    widget->setPalette(paleta);
  } else if (widget->property("asa_panel").toBool()) {
    widget->setStyleSheet(QStringLiteral("background: %1;").arg(c.Panel.name()));
  } else if (auto* visor = qobject_cast<TDigitalDisplay*>(widget)) {
    const QVariantList originales = Original(widget, "colores_clasicos",
                                             QVariantList{visor->BckgndColor(), visor->DigitOnColor(),
                                                          visor->DigitOffColor()});
    visor->setBckgndColor(clasico ? originales[0].value<QColor>() : c.Fondo_Visor);
    visor->setDigitOnColor(clasico ? originales[1].value<QColor>() : c.Digito);
    visor->setDigitOffColor(clasico ? originales[2].value<QColor>() : c.Digito_Apagado);
  } else if (auto* tecla = qobject_cast<TLiveButton*>(widget)) {
    // Dialog buttons follow the palette until the mouse first passes.
    if (tecla->palette().isBrushSet(QPalette::Active, QPalette::ButtonText)) tecla->Reposo();
  } else if (auto* listado = qobject_cast<THListBox*>(widget)) {
    QPalette paleta = listado->palette();
    for (const auto grupo : {QPalette::Active, QPalette::Inactive}) {
      paleta.setColor(grupo, QPalette::Text, c.Texto_Listado);
      paleta.setColor(grupo, QPalette::Highlight, c.Linea_Elegida);
      paleta.setColor(grupo, QPalette::HighlightedText, Paleta_Tema(tema_actual).color(QPalette::HighlightedText));
      paleta.setColor(grupo, QPalette::Base, Paleta_Tema(tema_actual).color(QPalette::Base));
    }
    listado->setPalette(paleta);
  } else if (auto* memoria = qobject_cast<THexEditor*>(widget)) {
    TColors* m = memoria->Colors();
    m->SetBackground(c.Memoria_Fondo);
    m->SetOffset(c.Memoria_Direccion);
    m->SetOddColumn(c.Memoria_Impar);
    m->SetEvenColumn(c.Memoria_Par);
    m->SetPositionBackground(c.Posicion_Fondo);
    m->SetPositionText(c.Posicion_Texto);
    m->SetChangedBackground(c.Cambiada_Fondo);
    m->SetChangedText(c.Cambiada_Texto);
    m->SetCursorFrame(c.Marco_Cursor);
  }
}

// Qt leaves some widgets that inherit their palette with the old one (the
// main window's central widget among them), and their children with it:
// resolved again from the top, each takes its parent's.
void Heredar_Paleta(QWidget* widget) {
  if (!widget->testAttribute(Qt::WA_SetPalette)) widget->setPalette(QPalette());
  for (QObject* hijo : widget->children())
    if (hijo->isWidgetType()) Heredar_Paleta(static_cast<QWidget*>(hijo));
}

// Widgets built after the theme was chosen (windows built at first use)
// take it as they are first polished.
class TSeguidor_Tema final : public QObject {
 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override {
    if (evento->type() == QEvent::Polish && objeto->isWidgetType()) Aplicar_a(static_cast<QWidget*>(objeto));
    return false;
  }
};

}  // namespace

const TColores_Tema& Colores_Tema(TTema tema) {
  switch (tema) {
    case TTema::Alto_Contraste: return Alto_Contraste;
    case TTema::Oscuro: return Oscuro;
    case TTema::Clasico: break;
  }
  return Clasico;
}

QPalette Paleta_Tema(TTema tema) {
  switch (tema) {
    case TTema::Alto_Contraste:
      return Paleta_de(clBlack, clWhite, clBlack, clBlack, clYellow, clYellow, clBlack, QColor(0xA0, 0xA0, 0xA0));
    case TTema::Oscuro:
      return Paleta_de(QColor(0x2D, 0x2D, 0x2D), Texto_Oscuro, QColor(0x1E, 0x1E, 0x1E), QColor(0x3A, 0x3A, 0x3A),
                       Texto_Oscuro, QColor(0x2F, 0x65, 0xA8), clWhite, QColor(0x90, 0x90, 0x90));
    case TTema::Clasico: break;
  }
  return Paleta_Clasica();
}

TTema Tema_Actual() { return tema_actual; }

double Contraste_Texto(TTema tema) { return tema == TTema::Alto_Contraste ? 7.0 : 4.5; }

void Aplicar_Tema(TTema tema) {
  Paleta_Clasica();  // taken before the first change
  static QObject* seguidor = nullptr;
  if (!seguidor) {
    seguidor = new TSeguidor_Tema;
    seguidor->setParent(qApp);
  }
  tema_actual = tema;
  const TColores_Tema& c = Colores_Tema(tema);
  TLiveButton::Fijar_Colores(c.Teclas);
  TMarco_Foco::Fijar_Estilo(c.Foco, c.Grosor_Foco);
  QApplication::setPalette(Paleta_Tema(tema));
  for (QWidget* ventana : QApplication::topLevelWidgets()) Heredar_Paleta(ventana);
  for (QWidget* widget : QApplication::allWidgets()) Aplicar_a(widget);
  if (tema == TTema::Clasico) qApp->removeEventFilter(seguidor);
  else qApp->installEventFilter(seguidor);
  TAjustes().Fijar_Tema(QString::fromLatin1(Clave(tema)));
}

void Aplicar_Paleta_Clasica() { QApplication::setPalette(Paleta_Clasica()); }

void Aplicar_Tema_Guardado() {
  const QString guardado = TAjustes().Tema();
  for (const TTema tema : {TTema::Alto_Contraste, TTema::Oscuro})
    if (guardado == QLatin1String(Clave(tema))) Aplicar_Tema(tema);
}

void Crear_Menu_Temas(QMenu* pop_entorno) {
  auto* menu = pop_entorno->addMenu(QStringLiteral("&Tema"));
  menu->setObjectName(QStringLiteral("MTema"));
  menu->menuAction()->setObjectName(QStringLiteral("MTema"));
  auto* grupo = new QActionGroup(menu);
  const struct {
    const char* nombre;
    QString titulo;
    TTema tema;
  } items[] = {{"MTema_Clasico", QStringLiteral("&Clásico"), TTema::Clasico},
               {"MTema_Alto_Contraste", QStringLiteral("&Alto contraste"), TTema::Alto_Contraste},
               {"MTema_Oscuro", QStringLiteral("&Oscuro"), TTema::Oscuro}};
  for (const auto& item : items) {
    QAction* accion = menu->addAction(item.titulo);
    accion->setObjectName(QLatin1String(item.nombre));
    accion->setCheckable(true);
    accion->setChecked(item.tema == Tema_Actual());
    grupo->addAction(accion);
    QObject::connect(accion, &QAction::triggered, menu, [tema = item.tema] {
      if (tema != Tema_Actual()) Aplicar_Tema(tema);
    });
  }
  // A theme remembered from the last session is applied after the menu is built.
  QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
    const int elegido = static_cast<int>(Tema_Actual());
    menu->actions().at(elegido)->setChecked(true);
  });
}
