#include "widgets/Icono.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <algorithm>

#include "widgets/Colores.h"

namespace {

// The drawing is designed on a 64 x 64 grid.
constexpr double Rejilla = 64.0;

const QColor Gris_Patilla(0xC8, 0xC8, 0xC8);
const QColor Negro_Chip(0x1C, 0x1C, 0x1C);
const QColor Verde_Oscuro(0x00, 0x40, 0x00);
const QColor Verde_Apagado(0x00, 0x58, 0x00);

// A segment as the displays draw it: a bar with pointed ends.
QPolygonF Segmento(QPointF desde, QPointF hasta, double grueso) {
  const double m = grueso / 2;
  if (desde.y() == hasta.y())
    return QPolygonF({desde, {desde.x() + m, desde.y() - m}, {hasta.x() - m, hasta.y() - m}, hasta,
                      {hasta.x() - m, hasta.y() + m}, {desde.x() + m, desde.y() + m}});
  return QPolygonF({desde, {desde.x() + m, desde.y() + m}, {hasta.x() + m, hasta.y() - m}, hasta,
                    {hasta.x() - m, hasta.y() - m}, {desde.x() - m, desde.y() + m}});
}

class TMotor_Icono : public QIconEngine {
 public:
  void paint(QPainter* pintor, const QRect& rectangulo, QIcon::Mode, QIcon::State) override {
    Dibujar_Icono_VELTRA(*pintor, rectangulo);
  }
  QPixmap pixmap(const QSize& tamano, QIcon::Mode modo, QIcon::State estado) override {
    QImage imagen(tamano, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(Qt::transparent);
    QPainter pintor(&imagen);
    paint(&pintor, imagen.rect(), modo, estado);
    return QPixmap::fromImage(imagen);
  }
  QIconEngine* clone() const override { return new TMotor_Icono; }
  // Window systems that take a list of sizes get the theme's.
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> tamanos;
    for (int lado : Lados_Icono_VELTRA()) tamanos.append(QSize(lado, lado));
    return tamanos;
  }
};

}  // namespace

const QList<int>& Lados_Icono_VELTRA() {
  static const QList<int> lados = {16, 24, 32, 48, 64, 128, 256};
  return lados;
}

void Dibujar_Icono_VELTRA(QPainter& pintor, const QRectF& rectangulo) {
  const double lado = std::min(rectangulo.width(), rectangulo.height());
  if (lado <= 0) return;
  pintor.save();
  pintor.setRenderHint(QPainter::Antialiasing);
  pintor.translate(rectangulo.center().x() - lado / 2, rectangulo.center().y() - lado / 2);
  pintor.scale(lado / Rejilla, lado / Rejilla);
  pintor.setPen(Qt::NoPen);

  // The panels' teal as the tile.
  pintor.setBrush(clTeal.darker(140));
  pintor.drawRoundedRect(QRectF(1, 1, 62, 62), 11, 11);
  pintor.setBrush(clTeal);
  pintor.drawRoundedRect(QRectF(2.5, 2.5, 59, 59), 9.5, 9.5);

  // Below 24 px the chip grows and its edges fall on whole pixels, with two
  // pins a side and one-pixel segments, so the digit stays legible.
  const bool pequeno = lado < 24;
  pintor.setBrush(Gris_Patilla);
  const QList<double> patillas = pequeno ? QList<double>{22, 42} : QList<double>{20, 28, 36, 44};
  const double chip = pequeno ? 8 : 13;
  for (double centro : patillas) {
    pintor.drawRect(QRectF(centro - 2, chip - 6, 4, 6));
    pintor.drawRect(QRectF(centro - 2, Rejilla - chip, 4, 6));
    pintor.drawRect(QRectF(chip - 6, centro - 2, 6, 4));
    pintor.drawRect(QRectF(Rejilla - chip, centro - 2, 6, 4));
  }
  pintor.setBrush(Negro_Chip);
  pintor.drawRoundedRect(QRectF(chip, chip, Rejilla - 2 * chip, Rejilla - 2 * chip), 3, 3);

  // The chip's face: a display window with the hex digit A lit.
  pintor.setBrush(Verde_Oscuro);
  pintor.drawRect(pequeno ? QRectF(16, 12, 32, 36) : QRectF(19, 17, 26, 30));
  const double izquierda = pequeno ? 22 : 24.5, derecha = pequeno ? 42 : 39.5, arriba = pequeno ? 18 : 20.5,
               medio = pequeno ? 30 : 32, abajo = pequeno ? 42 : 43.5, grueso = 4;
  struct TTrazo {
    QPointF desde, hasta;
    bool encendido;
  };
  const TTrazo trazos[] = {
      {{izquierda + 1, arriba}, {derecha - 1, arriba}, true},  // a
      {{derecha, arriba + 1}, {derecha, medio - 1}, true},     // b
      {{derecha, medio + 1}, {derecha, abajo - 1}, true},      // c
      {{izquierda + 1, abajo}, {derecha - 1, abajo}, false},   // d
      {{izquierda, medio + 1}, {izquierda, abajo - 1}, true},  // e
      {{izquierda, arriba + 1}, {izquierda, medio - 1}, true}, // f
      {{izquierda + 1, medio}, {derecha - 1, medio}, true},    // g
  };
  for (const TTrazo& trazo : trazos) {
    pintor.setBrush(trazo.encendido ? clLime : Verde_Apagado);
    pintor.drawPolygon(Segmento(trazo.desde, trazo.hasta, grueso));
  }
  pintor.restore();
}

QImage Imagen_Icono_VELTRA(int lado) {
  QImage imagen(lado, lado, QImage::Format_ARGB32_Premultiplied);
  imagen.fill(Qt::transparent);
  QPainter pintor(&imagen);
  Dibujar_Icono_VELTRA(pintor, imagen.rect());
  return imagen;
}

QIcon Icono_VELTRA() { return QIcon(new TMotor_Icono); }
