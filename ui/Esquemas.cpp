// The pictures behind the panels: the units of TORVIC outlined and wired
// between the displays, keys and lamps, found by name where they stand.
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "ui/Esquema_Interno.h"
#include "ui/Paneles.h"
#include "widgets/Colores.h"
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

// Where the internal panel's units stand and where its wires run.
struct TPlano {
  QRectF r0, r7, rf, ar, dr, ir, pc, ff, memoria, banco, control, ual;
  qreal x_bus, y_bus, y_entradas, y_resultado, x_banderas, x_puertos, y_primero;
  QPointF salida_banderas;

  explicit TPlano(const QWidget& panel)
      : r0(Caja_de(panel, "R0")),
        r7(Caja_de(panel, "R7")),
        rf(Caja_de(panel, "RF")),
        ar(Caja_de(panel, "AR")),
        dr(Caja_de(panel, "DR")),
        ir(Caja_de(panel, "IR")),
        pc(Caja_de(panel, "PC")),
        ff(Caja_de(panel, "PFF")),
        memoria(Caja_de(panel, "Contenedor_Memoria")) {
    banco = QRectF(r0.left() - 26, r0.top() - 4, rf.right() - r0.left() + 30, r7.bottom() - r0.top() + 8);
    const QRectF ir_pc = ir.united(pc);
    // The control unit: its two-line heading sits above IR.
    control = QRectF(ir_pc.left() - 30, ir_pc.top() - 40, ir_pc.width() + 36, ir_pc.height() + 46);
    x_bus = banco.right() + 3.5;
    y_bus = panel.height() - 5.5;
    // The arithmetic unit above AR, fed from the internal bus on its two inputs.
    ual = QRectF(ar.center().x() - 50, banco.top() + 34, 100, 70);
    y_entradas = ual.top() - 9;
    y_resultado = (ual.bottom() + ar.top()) / 2;
    const qreal t = 0.6;  // how far down the unit's slanted right side the flags leave
    salida_banderas = QPointF(ual.right() - 0.28 * ual.width() * t, ual.top() + ual.height() * t);
    // Down the gap between DR and the control unit.
    x_banderas = (ar.right() + control.left()) / 2;
    x_puertos = (memoria.right() + Caja_de(panel, "Panel_Puertos").left() + 8) / 2;
    y_primero = Caja_de(panel, "IP1").bottom() + 7;
  }

  // Columns between AR and DR and the memory: DR up to the control unit, PC
  // down to AR and DR, the bus up to PC.
  qreal X_Subida() const { return control.left() + 3; }
  qreal X_Bajada() const { return pc.left() + 8; }
  qreal X_Bus_PC() const { return pc.left() + 22; }

  // Each transfer's wire, from its source to its destination.
  QList<QPolygonF> Recorrido(TTramo tramo) const {
    const qreal a = ual.left() + 0.2 * ual.width(), b = ual.left() + 0.8 * ual.width();
    const qreal cx = ual.center().x();
    const qreal y_subida_dr = dr.top() + 4;
    switch (tramo) {
      case TTramo::Registros_UAL:
        return {{{x_bus, y_entradas}, {b, y_entradas}, {b, ual.top() - 1}}, {{a, y_entradas}, {a, ual.top() - 1}}};
      case TTramo::UAL_Registros:
        return {{{cx, ual.bottom()}, {cx, y_resultado}, {x_bus + 4, y_resultado}}};
      case TTramo::UAL_FF:
        return {{salida_banderas, {x_banderas, salida_banderas.y()}, {x_banderas, ff.top() - 1}}};
      case TTramo::AR_Memoria:
        return {{{ar.right(), ar.center().y()}, {memoria.left() - 1, ar.center().y()}}};
      case TTramo::DR_Memoria:
        return {{{dr.right() + 1, dr.center().y()}, {memoria.left() - 1, dr.center().y()}}};
      case TTramo::Memoria_DR:
        return {{{memoria.left() - 1, dr.center().y()}, {dr.right() + 1, dr.center().y()}}};
      case TTramo::Registros_AR:
        return {{{x_bus + 4, ar.top() - 5}, {ar.left() + 10, ar.top() - 5}, {ar.left() + 10, ar.top() - 1}}};
      case TTramo::Registros_DR:
        return {{{x_bus + 4, dr.bottom() + 6}, {dr.left() + 10, dr.bottom() + 6}, {dr.left() + 10, dr.bottom() + 1}}};
      case TTramo::DR_Registros:
        return {{{dr.left() + 10, dr.bottom() + 1}, {dr.left() + 10, dr.bottom() + 6}, {x_bus + 4, dr.bottom() + 6}}};
      case TTramo::PC_AR:
        return {{{X_Bajada(), pc.bottom() + 1}, {X_Bajada(), ar.bottom() - 4}, {ar.right() + 1, ar.bottom() - 4}}};
      case TTramo::PC_DR:
        return {{{X_Bajada(), pc.bottom() + 1}, {X_Bajada(), dr.bottom() - 4}, {dr.right() + 1, dr.bottom() - 4}}};
      case TTramo::DR_IR:
        return {{{dr.right() + 1, y_subida_dr},
                 {X_Subida(), y_subida_dr},
                 {X_Subida(), ir.bottom() - 3},
                 {ir.left() - 1, ir.bottom() - 3}}};
      case TTramo::DR_PC:
        return {{{dr.right() + 1, y_subida_dr},
                 {X_Subida(), y_subida_dr},
                 {X_Subida(), pc.bottom() - 3},
                 {pc.left() - 1, pc.bottom() - 3}}};
      case TTramo::Registros_PC:
        return {{{X_Bus_PC(), y_bus - 4}, {X_Bus_PC(), pc.bottom() + 1}}};
      case TTramo::IR_Registros:
        return {{{ir.left() - 1, ir.top() + 2},
                 {control.left() - 4, ir.top() + 2},
                 {control.left() - 4, control.top() - 1},
                 {x_bus + 4, control.top() - 1}}};
      case TTramo::Puertos_Registros:
        return {{{x_puertos, y_primero}, {x_puertos, y_bus}, {x_bus, y_bus}, {x_bus, y_bus - 24}}};
      case TTramo::Registros_Puertos:
        return {{{x_bus, y_bus - 24}, {x_bus, y_bus}, {x_puertos, y_bus}, {x_puertos, y_primero}}};
    }
    return {};
  }
};

void Pintar_Cables(QPainter& pintor, const TPlano& plano, TTramo tramo, bool doble = false) {
  for (const QPolygonF& cable : plano.Recorrido(tramo)) Pintar_Cable(pintor, cable, true, doble);
}

}  // namespace

void Dibujar_Panel_Interno(QPainter& pintor, const QWidget& panel) {
  const TPlano plano(panel);
  Pintar_Marco(pintor, plano.banco);
  Pintar_Marco(pintor, plano.ff);
  Pintar_Marco(pintor, plano.control);
  Pintar_UAL(pintor, plano.ual, QStringLiteral("UAL"));

  // Its result goes to AR and back to the bus; its flags to the flags box.
  const QRectF& ual = plano.ual;
  Pintar_Cable(pintor, QPolygonF{{ual.center().x(), ual.bottom()}, {ual.center().x(), plano.ar.top() - 1}}, true);
  // The control unit drives the arithmetic unit.
  const qreal y_orden = ual.top() + ual.height() * 0.35;
  Pintar_Cable(pintor,
               QPolygonF{{plano.control.left(), y_orden}, {ual.right() - 0.28 * ual.width() * 0.35 + 1, y_orden}},
               true);
  // The data transfers' own wires; the ports' ride on the bus.
  for (TTramo tramo : {TTramo::Registros_UAL, TTramo::UAL_Registros, TTramo::UAL_FF, TTramo::AR_Memoria,
                       TTramo::Registros_AR, TTramo::PC_AR, TTramo::PC_DR, TTramo::DR_IR, TTramo::DR_PC,
                       TTramo::Registros_PC, TTramo::IR_Registros})
    Pintar_Cables(pintor, plano, tramo);
  // DR carries data both ways, to memory and to the bus.
  Pintar_Cables(pintor, plano, TTramo::DR_Memoria, true);
  Pintar_Cables(pintor, plano, TTramo::Registros_DR, true);
  const qreal x_rotulos = plano.memoria.left() - 54;
  Rotulo_Cable(pintor, {x_rotulos, plano.ar.center().y() - 4}, QStringLiteral("dirección"));
  Rotulo_Cable(pintor, {x_rotulos, plano.dr.center().y() - 4}, QStringLiteral("datos"));

  // The ports hang on a bus that joins the internal one along the bottom.
  for (const char* nombre : {"IP1", "IP2", "OP1", "OP2"}) {
    const QRectF puerto = Caja_de(panel, nombre);
    const qreal y = puerto.bottom() + 7;
    const QPolygonF recorrido{
        {puerto.center().x(), puerto.bottom() + 1}, {puerto.center().x(), y}, {plano.x_puertos + 3, y}};
    // Input ports feed the bus, output ports are fed from it.
    Pintar_Cable(pintor, recorrido, nombre[0] == 'I', nombre[0] == 'O');
  }
  Pintar_Bus(pintor, QPolygonF{{plano.x_bus, plano.banco.top() + 4},
                               {plano.x_bus, plano.y_bus},
                               {plano.x_puertos, plano.y_bus},
                               {plano.x_puertos, plano.y_primero}});
}

TEsquema_Interno::TEsquema_Interno(QWidget* parent) : TLamina(clTeal, Dibujar_Panel_Interno, parent) {
  setObjectName(QStringLiteral("Esquema_Interno"));
}

namespace {

QStringList Nombres(const std::vector<TTramo>& tramos) {
  QStringList nombres;
  for (TTramo tramo : tramos) nombres << QString::fromLatin1(Nombre_Tramo(tramo));
  return nombres;
}

}  // namespace

QStringList TEsquema_Interno::Tramos() const { return Nombres(tramos_); }
QStringList TEsquema_Interno::Tramos_Busqueda() const { return Nombres(busqueda_); }

void TEsquema_Interno::Fijar_Tramos(std::span<const TTramo> tramos, std::span<const TTramo> busqueda) {
  if (std::ranges::equal(tramos, tramos_) && std::ranges::equal(busqueda, busqueda_)) return;
  Repintar(tramos_);
  Repintar(busqueda_);
  tramos_.assign(tramos.begin(), tramos.end());
  busqueda_.assign(busqueda.begin(), busqueda.end());
  Repintar(tramos_);
  Repintar(busqueda_);
}

void TEsquema_Interno::Repintar(const std::vector<TTramo>& tramos) {
  if (tramos.empty()) return;
  const TPlano plano(*this);
  for (TTramo tramo : tramos)
    for (const QPolygonF& cable : plano.Recorrido(tramo))
      for (qsizetype i = 1; i < cable.size(); ++i)
        update(QRectF(cable[i - 1], cable[i]).normalized().adjusted(-7, -7, 7, 7).toAlignedRect());
}

void TEsquema_Interno::paintEvent(QPaintEvent* evento) {
  TLamina::paintEvent(evento);
  if (tramos_.empty() && busqueda_.empty()) return;
  const TPlano plano(*this);
  QPainter pintor(this);
  pintor.setClipRegion(evento->region());
  // The fetch first, so where both use a wire the instruction's light shows.
  for (TTramo tramo : busqueda_)
    for (const QPolygonF& cable : plano.Recorrido(tramo)) Pintar_Tramo(pintor, cable, true);
  for (TTramo tramo : tramos_)
    for (const QPolygonF& cable : plano.Recorrido(tramo)) Pintar_Tramo(pintor, cable, false);
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
