// The pictures behind the panels: the units of TORVIC outlined and wired
// between the displays, keys and lamps, found by name where they stand.
#include <QPainter>

#include "ui/Paneles.h"
#include "widgets/Dibujos.h"

namespace {

QRectF Union(const QWidget& panel, std::initializer_list<const char*> nombres) {
  QRectF caja;
  for (const char* nombre : nombres) caja = caja.united(Caja_de(panel, nombre));
  return caja;
}

void Rotulo_Cable(QPainter& pintor, QPointF donde, const QString& texto) {
  pintor.save();
  QFont fuente = pintor.font();
  fuente.setPointSizeF(fuente.pointSizeF() * 0.9);
  fuente.setItalic(true);
  pintor.setFont(fuente);
  pintor.setPen(QColor(0xCF, 0xFF, 0xFF));
  pintor.drawText(donde, texto);
  pintor.restore();
}

}  // namespace

void Dibujar_Panel_Interno(QPainter& pintor, const QWidget& panel) {
  const QRectF r0 = Caja_de(panel, "R0"), r7 = Caja_de(panel, "R7"), rf = Caja_de(panel, "RF");
  const QRectF ar = Caja_de(panel, "AR"), dr = Caja_de(panel, "DR"), ff = Caja_de(panel, "PFF");
  const QRectF control = Union(panel, {"IR", "PC"});
  const QRectF memoria = Caja_de(panel, "Contenedor_Memoria");

  // The register file, its labels inside.
  const QRectF banco(r0.left() - 26, r0.top() - 4, rf.right() - r0.left() + 30, r7.bottom() - r0.top() + 8);
  Pintar_Marco(pintor, banco);
  Pintar_Marco(pintor, ff);
  // The control unit: its two-line heading sits above IR.
  Pintar_Marco(pintor, QRectF(control.left() - 30, control.top() - 40, control.width() + 36, control.height() + 46));

  // The arithmetic unit above AR, fed from the internal bus on its two inputs.
  const qreal x_bus = banco.right() + 3.5;
  const qreal y_bus = panel.height() - 5.5;
  const QRectF ual(ar.center().x() - 50, banco.top() + 34, 100, 70);
  Pintar_UAL(pintor, ual, QStringLiteral("UAL"));
  const qreal y_entradas = ual.top() - 9;
  const qreal a = ual.left() + 0.2 * ual.width(), b = ual.left() + 0.8 * ual.width();
  Pintar_Cable(pintor, QPolygonF{{x_bus, y_entradas}, {b, y_entradas}, {b, ual.top() - 1}}, true);
  Pintar_Cable(pintor, QPolygonF{{a, y_entradas}, {a, ual.top() - 1}}, true);
  // Its result goes to AR and back to the bus; its flags to the flags box.
  Pintar_Cable(pintor, QPolygonF{{ual.center().x(), ual.bottom()}, {ual.center().x(), ar.top() - 1}}, true);
  const qreal y_resultado = (ual.bottom() + ar.top()) / 2;
  Pintar_Cable(pintor, QPolygonF{{ual.center().x(), y_resultado}, {x_bus + 4, y_resultado}}, true);
  const qreal t = 0.6;  // how far down the unit's slanted right side the flags leave
  const QPointF salida(ual.right() - 0.28 * ual.width() * t, ual.top() + ual.height() * t);
  // Down the gap between DR and the control unit.
  const qreal x_banderas = (ar.right() + control.left() - 30) / 2;
  Pintar_Cable(pintor, QPolygonF{salida, {x_banderas, salida.y()}, {x_banderas, ff.top() - 1}}, true);
  // The control unit drives the arithmetic unit.
  const qreal y_orden = ual.top() + ual.height() * 0.35;
  Pintar_Cable(pintor,
               QPolygonF{{control.left() - 30, y_orden}, {ual.right() - 0.28 * ual.width() * 0.35 + 1, y_orden}},
               true);

  // AR addresses memory; DR carries data both ways.
  Pintar_Cable(pintor, QPolygonF{{ar.right(), ar.center().y()}, {memoria.left() - 1, ar.center().y()}}, true);
  Pintar_Cable(pintor, QPolygonF{{dr.right() + 1, dr.center().y()}, {memoria.left() - 1, dr.center().y()}}, true,
               true);
  Rotulo_Cable(pintor, {ar.right() + 40, ar.center().y() - 4}, QStringLiteral("dirección"));
  Rotulo_Cable(pintor, {ar.right() + 40, dr.center().y() - 4}, QStringLiteral("datos"));

  // The ports hang on a bus that joins the internal one along the bottom.
  const qreal x_puertos = (memoria.right() + Caja_de(panel, "Panel_Puertos").left() + 8) / 2;
  const qreal y_primero = Caja_de(panel, "IP1").bottom() + 7;
  for (const char* nombre : {"IP1", "IP2", "OP1", "OP2"}) {
    const QRectF puerto = Caja_de(panel, nombre);
    const qreal y = puerto.bottom() + 7;
    const QPolygonF recorrido{
        {puerto.center().x(), puerto.bottom() + 1}, {puerto.center().x(), y}, {x_puertos + 3, y}};
    // Input ports feed the bus, output ports are fed from it.
    Pintar_Cable(pintor, recorrido, nombre[0] == 'I', nombre[0] == 'O');
  }
  Pintar_Bus(pintor, QPolygonF{{x_bus, banco.top() + 4}, {x_bus, y_bus}, {x_puertos, y_bus}, {x_puertos, y_primero}});
}

void Dibujar_Panel_Frontal(QPainter& pintor, const QWidget& panel) {
  // Power and step switches with their lamps.
  Pintar_Marco(pintor, Union(panel, {"BOnOff", "LOff", "BPasoPaso", "LPP_Off"}).adjusted(-4, -4, 8, 4));

  // The arithmetic unit and the flags it sets beside it.
  const QRectF banderas = Union(panel, {"PZ_OFF", "PV_OFF"});
  const QRectF fila(QPointF(4, banderas.top() - 20), QPointF(banderas.right() + 4, banderas.bottom() + 5));
  Pintar_Marco(pintor, fila);
  const QRectF ual(fila.left() + 4, fila.top() + 4, 38, fila.height() - 8);
  Pintar_UAL(pintor, ual, QStringLiteral("UAL"));
  const qreal y_banderas = banderas.center().y();
  Pintar_Cable(pintor, QPolygonF{{ual.right() - 8, y_banderas}, {banderas.left() - 2, y_banderas}}, true);

  // IR and PC wired to the processor chip.
  const QRectF ir = Caja_de(panel, "PIR"), pc = Caja_de(panel, "PPC");
  const QRectF control(4, ir.top() - 6, fila.width(), pc.bottom() - ir.top() + 12);
  Pintar_Marco(pintor, control);
  const QRectF chip(control.right() - 30, ir.top(), 22, pc.bottom() - ir.top());
  for (const QRectF& visor : {ir, pc})
    Pintar_Cable(pintor, QPolygonF{{visor.right() + 1, visor.center().y()}, {chip.left() - 1, visor.center().y()}},
                 false);
  Pintar_Chip(pintor, chip, 5, QStringLiteral("TORVIC"));

  // The keypad, and the output displays above the console keys.
  Pintar_Marco(pintor, Union(panel, {"Teclado", "T0", "TF"}).adjusted(-3, -3, 3, 3));
  const QRectF salidas = Union(panel, {"POP1", "POP2"});
  Pintar_Marco(pintor, QRectF(salidas.left() - 42, salidas.top() - 3, salidas.width() + 46, salidas.height() + 6));
  Pintar_Marco(pintor, Union(panel, {"BDireccion", "BContinuar"}).adjusted(-6, -3, 6, 2));
}
