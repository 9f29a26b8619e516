#include "widgets/Dibujos.h"

#include <QIconEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "widgets/Colores.h"

namespace {

const QColor Gris_Inhabilitado(0x8C, 0x8C, 0x8C);
const QColor Cobre(0xCF, 0xFF, 0xFF);  // wires: pale on the teal ground
const QColor Bus_Claro(0x9F, 0xEF, 0xEF);
const QColor Bus_Oscuro(0x00, 0x48, 0x48);
const QColor Linea_Marco(0x66, 0xC8, 0xC8);

// Glyphs are designed on a 16 x 16 grid and scaled into their box.
void Rejilla_16(QPainter& pintor, const QRectF& caja) {
  const qreal lado = qMin(caja.width(), caja.height());
  pintor.translate(caja.center());
  pintor.scale(lado / 16, lado / 16);
  pintor.translate(-8, -8);
}

QPen Trazo(const QColor& color, qreal ancho) {
  return QPen(color, ancho, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Flecha(QPainter& pintor, QPointF punta, QPointF desde, qreal largo) {
  const QLineF eje(punta, desde);
  if (eje.length() <= 0) return;
  const QPointF unidad = (desde - punta) / eje.length();
  const QPointF normal(-unidad.y(), unidad.x());
  const QPointF base = punta + unidad * largo;
  pintor.drawPolygon(QPolygonF{punta, base + normal * largo * 0.55, base - normal * largo * 0.55});
}

}  // namespace

void Pintar_Lampara(QPainter& pintor, const QRectF& caja, const QColor& color, bool encendida) {
  pintor.save();
  pintor.setRenderHint(QPainter::Antialiasing);
  const qreal d = qMin(caja.width(), caja.height()) - 1;
  const QRectF aro(caja.center() - QPointF(d / 2, d / 2), QSizeF(d, d));
  QLinearGradient metal(aro.topLeft(), aro.bottomRight());
  metal.setColorAt(0, QColor(0xF0, 0xF0, 0xF0));
  metal.setColorAt(1, QColor(0x40, 0x40, 0x40));
  pintor.setPen(QPen(QColor(0x10, 0x10, 0x10), 0.8));
  pintor.setBrush(metal);
  pintor.drawEllipse(aro);

  const QRectF lente = aro.adjusted(d * 0.17, d * 0.17, -d * 0.17, -d * 0.17);
  QRadialGradient luz(lente.center(), lente.width() / 2);
  if (encendida) {
    luz.setColorAt(0, color.lighter(180));
    luz.setColorAt(0.55, color);
    luz.setColorAt(1, color.darker(140));
  } else {
    luz.setColorAt(0, color.darker(300));
    luz.setColorAt(1, color.darker(700));
  }
  pintor.setPen(QPen(QColor(0, 0, 0, 160), 0.6));
  pintor.setBrush(luz);
  pintor.drawEllipse(lente);

  // The reflection on the glass, stronger when lit.
  const QRectF brillo(lente.x() + lente.width() * 0.22, lente.y() + lente.height() * 0.14, lente.width() * 0.36,
                      lente.height() * 0.26);
  pintor.setPen(Qt::NoPen);
  pintor.setBrush(QColor(255, 255, 255, encendida ? 220 : 80));
  pintor.drawEllipse(brillo);
  pintor.restore();
}

void Pintar_Anillo(QPainter& pintor, const QRectF& caja) {
  pintor.save();
  pintor.setRenderHint(QPainter::Antialiasing);
  pintor.setPen(QPen(Color_Marca, 2));
  pintor.setBrush(Qt::NoBrush);
  pintor.drawEllipse(caja.adjusted(1, 1, -1, -1));
  pintor.restore();
}

void Pintar_Glifo(QPainter& pintor, const QRectF& caja, TGlifo glifo, bool habilitado) {
  pintor.save();
  pintor.setRenderHint(QPainter::Antialiasing);
  Rejilla_16(pintor, caja);
  const auto Tinta = [habilitado](const QColor& color) { return habilitado ? color : Gris_Inhabilitado; };
  const QColor claro = habilitado ? QColor(Qt::white) : QColor(0xE0, 0xE0, 0xE0);
  const QColor azul = Tinta(QColor(0x00, 0x00, 0x80));
  const QColor verde = Tinta(QColor(0x00, 0x80, 0x00));
  const QColor rojo = Tinta(QColor(0xC0, 0x00, 0x00));
  pintor.setBrush(Qt::NoBrush);
  switch (glifo) {
    case TGlifo::Encender:
      pintor.setPen(Trazo(rojo, 1.9));
      pintor.drawArc(QRectF(2.5, 3, 11, 11), 125 * 16, 290 * 16);
      pintor.drawLine(QPointF(8, 1.5), QPointF(8, 8));
      break;
    case TGlifo::Paso_a_Paso:
      pintor.setPen(Trazo(Tinta(QColor(0x80, 0x60, 0x00)), 1.7));
      pintor.drawPolyline(
          QPolygonF{{1.5, 14.5}, {5, 14.5}, {5, 10.5}, {8.5, 10.5}, {8.5, 6.5}, {12, 6.5}, {12, 2.5}, {14.5, 2.5}});
      break;
    case TGlifo::Direccion:
      pintor.setPen(Trazo(azul, 1.1));
      for (int celda = 0; celda < 3; ++celda) {
        pintor.setBrush(celda == 1 ? QBrush(Tinta(QColor(0xFF, 0xC0, 0x40))) : QBrush(claro));
        pintor.drawRect(QRectF(8.5, 1.5 + 4.5 * celda, 6, 4));
      }
      pintor.setPen(Trazo(azul, 1.6));
      pintor.drawLine(QPointF(1, 8), QPointF(5, 8));
      pintor.setBrush(azul);
      pintor.setPen(Trazo(azul, 0.8));
      Flecha(pintor, QPointF(7.5, 8), QPointF(1, 8), 3.2);
      break;
    case TGlifo::Registros:
      pintor.setPen(Trazo(azul, 1.1));
      pintor.setBrush(claro);
      for (int fila = 0; fila < 4; ++fila) pintor.drawRect(QRectF(1.5, 1.5 + 3.4 * fila, 13, 2.6));
      pintor.setPen(Trazo(Tinta(QColor(0x00, 0x80, 0x80)), 1.0));
      for (int fila = 0; fila < 4; ++fila)
        pintor.drawLine(QPointF(3.5, 2.8 + 3.4 * fila), QPointF(9, 2.8 + 3.4 * fila));
      break;
    case TGlifo::Cargar:
      pintor.setPen(Trazo(azul, 1.2));
      pintor.setBrush(claro);
      pintor.drawRect(QRectF(2, 10, 12, 4.5));
      pintor.setPen(Trazo(rojo, 1.8));
      pintor.drawLine(QPointF(8, 1), QPointF(8, 7));
      pintor.setBrush(rojo);
      pintor.setPen(Trazo(rojo, 0.8));
      Flecha(pintor, QPointF(8, 11.5), QPointF(8, 1), 4.5);
      break;
    case TGlifo::Ejecutar:
      pintor.setPen(Trazo(Tinta(QColor(0x00, 0x40, 0x00)), 1.0));
      pintor.setBrush(verde);
      pintor.drawPolygon(QPolygonF{{4, 2}, {13.5, 8}, {4, 14}});
      break;
    case TGlifo::Continuar:
      pintor.setPen(Trazo(Tinta(QColor(0x00, 0x40, 0x00)), 1.0));
      pintor.setBrush(verde);
      pintor.drawPolygon(QPolygonF{{1.5, 3}, {8, 8}, {1.5, 13}});
      pintor.drawPolygon(QPolygonF{{8, 3}, {14.5, 8}, {8, 13}});
      break;
    case TGlifo::Vale:
      pintor.setPen(Trazo(verde, 2.4));
      pintor.drawPolyline(QPolygonF{{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}});
      break;
    case TGlifo::Cancelar:
      pintor.setPen(Trazo(rojo, 2.4));
      pintor.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
      pintor.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
      break;
    case TGlifo::Archivo:
      pintor.setPen(Trazo(Tinta(QColor(0x30, 0x30, 0x30)), 1.0));
      pintor.setBrush(claro);
      pintor.drawPolygon(QPolygonF{{3, 1}, {10, 1}, {13.5, 4.5}, {13.5, 15}, {3, 15}});
      pintor.drawPolyline(QPolygonF{{10, 1}, {10, 4.5}, {13.5, 4.5}});
      pintor.setPen(Trazo(azul, 1.0));
      for (qreal y : {7.0, 9.5, 12.0}) pintor.drawLine(QPointF(5, y), QPointF(11.5, y));
      break;
    case TGlifo::Entorno:
      pintor.setPen(Trazo(Tinta(QColor(0x30, 0x30, 0x30)), 1.0));
      pintor.setBrush(claro);
      pintor.drawRect(QRectF(1, 2, 14, 12));
      pintor.setBrush(azul);
      pintor.drawRect(QRectF(1, 2, 14, 3));
      pintor.setPen(Qt::NoPen);
      pintor.setBrush(Tinta(QColor(0x00, 0x80, 0x80)));
      pintor.drawRect(QRectF(2.5, 6.5, 5, 6));
      pintor.setBrush(Tinta(QColor(0x00, 0xC0, 0x00)));
      pintor.drawRect(QRectF(9, 6.5, 4.5, 2.5));
      pintor.setBrush(Tinta(QColor(0x80, 0x00, 0x00)));
      pintor.drawRect(QRectF(9, 10, 4.5, 2.5));
      break;
    case TGlifo::TORVIC:
      pintor.setPen(Trazo(Tinta(QColor(0x90, 0x90, 0x90)), 1.3));
      for (int pata = 0; pata < 3; ++pata) {
        const qreal p = 5.5 + 2.5 * pata;
        pintor.drawLine(QPointF(p, 1), QPointF(p, 15));
        pintor.drawLine(QPointF(1, p), QPointF(15, p));
      }
      pintor.setPen(Trazo(Qt::black, 0.8));
      pintor.setBrush(Tinta(QColor(0x20, 0x20, 0x20)));
      pintor.drawRoundedRect(QRectF(3.5, 3.5, 9, 9), 1, 1);
      pintor.setPen(Qt::NoPen);
      pintor.setBrush(Tinta(QColor(0x00, 0xC0, 0xC0)));
      pintor.drawEllipse(QRectF(5, 5, 2, 2));
      break;
  }
  pintor.restore();
}

namespace {

// Draws the glyph at whatever size and ratio the style asks for, so no
// bitmap is ever scaled.
class TMotor_Glifo : public QIconEngine {
 public:
  explicit TMotor_Glifo(TGlifo glifo) : glifo_(glifo) {}

  void paint(QPainter* pintor, const QRect& caja, QIcon::Mode modo, QIcon::State) override {
    Pintar_Glifo(*pintor, caja, glifo_, modo != QIcon::Disabled);
  }

  QPixmap pixmap(const QSize& tamano, QIcon::Mode modo, QIcon::State estado) override {
    QPixmap imagen(tamano);
    imagen.fill(Qt::transparent);
    QPainter pintor(&imagen);
    paint(&pintor, QRect(QPoint(0, 0), tamano), modo, estado);
    return imagen;
  }

  QIconEngine* clone() const override { return new TMotor_Glifo(glifo_); }

 private:
  TGlifo glifo_;
};

}  // namespace

QIcon Icono(TGlifo glifo) { return QIcon(new TMotor_Glifo(glifo)); }

void Pintar_UAL(QPainter& pintor, const QRectF& caja, const QString& rotulo) {
  pintor.save();
  pintor.setRenderHint(QPainter::Antialiasing);
  const qreal x = caja.x(), y = caja.y(), w = caja.width(), h = caja.height();
  const QPolygonF forma{{x, y},     {x + 0.4 * w, y},      {x + 0.5 * w, y + 0.24 * h}, {x + 0.6 * w, y},
                        {x + w, y}, {x + 0.72 * w, y + h}, {x + 0.28 * w, y + h}};
  QLinearGradient metal(caja.topLeft(), caja.bottomLeft());
  metal.setColorAt(0, QColor(0xF4, 0xF4, 0xF4));
  metal.setColorAt(1, QColor(0xA0, 0xA8, 0xA8));
  pintor.setPen(Trazo(QColor(0x10, 0x20, 0x20), 1.2));
  pintor.setBrush(metal);
  pintor.drawPolygon(forma);
  if (!rotulo.isEmpty()) {
    QFont fuente = pintor.font();
    fuente.setPixelSize(qMax(6, qRound(h * 0.26)));
    fuente.setBold(true);
    pintor.setFont(fuente);
    pintor.setPen(QColor(0x00, 0x40, 0x40));
    pintor.drawText(QRectF(x, y + 0.3 * h, w, 0.65 * h), Qt::AlignCenter, rotulo);
  }
  pintor.restore();
}

void Pintar_Chip(QPainter& pintor, const QRectF& cuerpo, int patas, const QString& rotulo) {
  pintor.save();
  pintor.setRenderHint(QPainter::Antialiasing);
  const bool vertical = cuerpo.height() >= cuerpo.width();
  const qreal largo = vertical ? cuerpo.height() : cuerpo.width();
  const qreal paso = largo / patas;
  const qreal pata = qMax(2.0, qMin(cuerpo.width(), cuerpo.height()) * 0.14);
  pintor.setPen(Qt::NoPen);
  pintor.setBrush(QColor(0xD8, 0xD8, 0xD8));
  for (int n = 0; n < patas; ++n) {
    const qreal centro = paso * (n + 0.5);
    const qreal grueso = paso * 0.45;
    if (vertical) {
      const qreal py = cuerpo.y() + centro - grueso / 2;
      pintor.drawRect(QRectF(cuerpo.left() - pata, py, pata, grueso));
      pintor.drawRect(QRectF(cuerpo.right(), py, pata, grueso));
    } else {
      const qreal px = cuerpo.x() + centro - grueso / 2;
      pintor.drawRect(QRectF(px, cuerpo.top() - pata, grueso, pata));
      pintor.drawRect(QRectF(px, cuerpo.bottom(), grueso, pata));
    }
  }
  QLinearGradient negro(cuerpo.topLeft(), cuerpo.bottomRight());
  negro.setColorAt(0, QColor(0x48, 0x48, 0x48));
  negro.setColorAt(1, QColor(0x10, 0x10, 0x10));
  pintor.setPen(QPen(Qt::black, 1));
  pintor.setBrush(negro);
  pintor.drawRoundedRect(cuerpo, 2, 2);
  // The notch marks pin 1.
  const qreal muesca = qMin(cuerpo.width(), cuerpo.height()) * 0.28;
  pintor.setPen(Qt::NoPen);
  pintor.setBrush(QColor(0x70, 0x70, 0x70));
  const QPointF arriba =
      vertical ? QPointF(cuerpo.center().x(), cuerpo.top()) : QPointF(cuerpo.left(), cuerpo.center().y());
  pintor.drawPie(QRectF(arriba - QPointF(muesca / 2, muesca / 2), QSizeF(muesca, muesca)),
                 vertical ? 180 * 16 : 270 * 16, 180 * 16);
  if (!rotulo.isEmpty()) {
    pintor.translate(cuerpo.center());
    if (vertical) pintor.rotate(-90);
    QFont fuente = pintor.font();
    fuente.setPixelSize(qMax(6, qRound(qMin(cuerpo.width(), cuerpo.height()) * 0.34)));
    fuente.setBold(true);
    pintor.setFont(fuente);
    pintor.setPen(QColor(0xE8, 0xE8, 0xE8));
    pintor.drawText(QRectF(-largo / 2, -largo / 2, largo, largo), Qt::AlignCenter, rotulo);
  }
  pintor.restore();
}

void Pintar_Cable(QPainter& pintor, const QPolygonF& recorrido, bool flecha_final, bool flecha_inicio) {
  if (recorrido.size() < 2) return;
  pintor.save();
  pintor.setRenderHint(QPainter::Antialiasing);
  pintor.setPen(Trazo(Cobre, 1.5));
  pintor.setBrush(Qt::NoBrush);
  pintor.drawPolyline(recorrido);
  pintor.setPen(Trazo(Cobre, 0.5));
  pintor.setBrush(Cobre);
  const qsizetype ultimo = recorrido.size() - 1;
  if (flecha_final) Flecha(pintor, recorrido[ultimo], recorrido[ultimo - 1], 6);
  if (flecha_inicio) Flecha(pintor, recorrido[0], recorrido[1], 6);
  pintor.restore();
}

void Pintar_Tramo(QPainter& pintor, const QPolygonF& recorrido, bool busqueda) {
  if (recorrido.size() < 2) return;
  const QColor color = busqueda ? QColor(0xFF, 0xE8, 0xA0) : Color_Marca;
  pintor.save();
  pintor.setRenderHint(QPainter::Antialiasing);
  QPen trazo = Trazo(color, busqueda ? 2 : 3.5);
  if (busqueda) trazo.setDashPattern({2, 2});
  pintor.setPen(trazo);
  pintor.setBrush(Qt::NoBrush);
  pintor.drawPolyline(recorrido);
  pintor.setPen(Trazo(color, 0.5));
  pintor.setBrush(color);
  Flecha(pintor, recorrido.last(), recorrido[recorrido.size() - 2], busqueda ? 7 : 9);
  pintor.restore();
}

void Pintar_Bus(QPainter& pintor, const QPolygonF& recorrido) {
  pintor.save();
  pintor.setRenderHint(QPainter::Antialiasing);
  pintor.setBrush(Qt::NoBrush);
  pintor.setPen(QPen(Bus_Oscuro, 7, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  pintor.drawPolyline(recorrido);
  pintor.setPen(QPen(Bus_Claro, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  pintor.drawPolyline(recorrido);
  pintor.restore();
}

void Pintar_Marco(QPainter& pintor, const QRectF& caja) {
  pintor.save();
  pintor.setRenderHint(QPainter::Antialiasing);
  pintor.setPen(QPen(Linea_Marco, 1));
  pintor.setBrush(QColor(255, 255, 255, 22));
  pintor.drawRoundedRect(caja.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
  pintor.restore();
}

TLamina::TLamina(const QColor& fondo, TDibujante dibujante, QWidget* parent)
    : QWidget(parent), dibujante_(std::move(dibujante)) {
  QPalette paleta = palette();
  paleta.setColor(QPalette::Window, fondo);
  setPalette(paleta);
  // The picture covers every pixel, so nothing needs painting beneath it.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TLamina::paintEvent(QPaintEvent* evento) {
  // Drawn straight, not cached: the displays on it are opaque, so a running
  // program never repaints it, and a cached copy would cost a megabyte.
  QPainter pintor(this);
  pintor.setClipRegion(evento->region());
  pintor.fillRect(rect(), palette().color(QPalette::Window));
  pintor.setRenderHint(QPainter::Antialiasing);
  pintor.setRenderHint(QPainter::TextAntialiasing);
  dibujante_(pintor, *this);
}

QRectF Caja_de(const QWidget& ancestro, const char* nombre) {
  const auto* widget = ancestro.findChild<QWidget*>(QLatin1String(nombre));
  if (!widget) return {};
  return QRectF(widget->mapTo(&ancestro, QPoint(0, 0)), widget->size());
}
