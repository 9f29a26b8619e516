#include "widgets/livebutton.h"

#include <QPainter>
#include <QPalette>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <array>

#include "widgets/Colores.h"

namespace {

TColores_Tecla& Colores_Comunes() {
  static TColores_Tecla colores{clTeal, clWhite, clYellow, clNavy, clNavy, 2};
  return colores;
}

// A palette equal to `paleta`, the same object for equal ones. The style
// keeps the face it draws under the palette's cache key, and each button's
// own palette has a key of its own: shared, one drawing serves every key of
// a size, as the keypad's sixteen.
const QPalette& Paleta_Compartida(const QPalette& paleta) {
  static std::array<QPalette, 8> vistas;
  static size_t siguiente = 0;
  for (const QPalette& vista : vistas)
    if (vista == paleta) return vista;
  QPalette& nueva = vistas[siguiente];
  siguiente = (siguiente + 1) % vistas.size();
  nueva = paleta;
  return nueva;
}

}  // namespace

const TColores_Tecla& TLiveButton::Colores() { return Colores_Comunes(); }

void TLiveButton::Fijar_Colores(const TColores_Tecla& colores) { Colores_Comunes() = colores; }

QColor TLiveButton::Color_Titulo() const { return palette().color(QPalette::Active, QPalette::ButtonText); }

QColor TLiveButton::Color_Fondo() const { return palette().color(QPalette::Active, QPalette::Button); }

void TLiveButton::Fijar_Color_Titulo(const QColor& color) {
  QPalette paleta = palette();
  paleta.setColor(QPalette::Active, QPalette::ButtonText, color);
  paleta.setColor(QPalette::Inactive, QPalette::ButtonText, color);
  if (paleta != palette()) setPalette(paleta);
}

void TLiveButton::Pintar_Con(const QColor& titulo, const QColor& fondo) {
  QPalette paleta = palette();
  for (const auto grupo : {QPalette::Active, QPalette::Inactive}) {
    paleta.setColor(grupo, QPalette::ButtonText, titulo);
    paleta.setColor(grupo, QPalette::Button, fondo);
  }
  // Set even when the application's palette has the same colours, so that
  // the button keeps them when that palette changes.
  if (paleta != palette() || !palette().isBrushSet(QPalette::Active, QPalette::Button)) setPalette(paleta);
}

void TLiveButton::Reposo() { Pintar_Con(Colores().Titulo, Colores().Fondo); }

void TLiveButton::enterEvent(QEnterEvent*) { Pintar_Con(Colores().Titulo_Encima, Colores().Fondo_Encima); }

void TLiveButton::leaveEvent(QEvent*) { Reposo(); }

void TLiveButton::paintEvent(QPaintEvent*) {
  // QPushButton's own painting, with a shared palette of the same colours.
  QStylePainter boton(this);
  QStyleOptionButton opcion;
  initStyleOption(&opcion);
  opcion.palette = Paleta_Compartida(opcion.palette);
  boton.drawControl(QStyle::CE_PushButton, opcion);
  boton.end();
  if (!hasFocus()) return;
  // The style's dotted focus line is too faint to find on a panel of keys.
  QPainter pintor(this);
  const int grosor = Colores().Grosor_Foco;
  pintor.setPen(QPen(Colores().Foco, grosor, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  pintor.setBrush(Qt::NoBrush);
  pintor.drawRect(QRectF(rect()).adjusted(1 + grosor / 2.0, 1 + grosor / 2.0, -1 - grosor / 2.0, -1 - grosor / 2.0));
}
