#pragma once
// The program's own drawings, painted as antialiased vector paths so they stay
// sharp at any device pixel ratio: the lamps, the key glyphs, the tool-bar
// images and the pieces of the panels' pictures (wires, buses, arithmetic
// unit, chip).
#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QPolygonF>
#include <QWidget>
#include <functional>

class QPainter;

// A lamp in its bezel, dark or lit with a glow.
void Pintar_Lampara(QPainter& pintor, const QRectF& caja, const QColor& color, bool encendida);
// The ring that marks a lamp whose flag the last instruction changed.
void Pintar_Anillo(QPainter& pintor, const QRectF& caja);

enum class TGlifo {
  Encender,
  Paso_a_Paso,
  Direccion,
  Registros,
  Cargar,
  Ejecutar,
  Continuar,
  Vale,
  Cancelar,
  Archivo,
  Entorno,
  TORVIC,
};

// The glyph fitted into the box; a disabled glyph is grey.
void Pintar_Glifo(QPainter& pintor, const QRectF& caja, TGlifo glifo, bool habilitado = true);
// The glyph as an icon, drawn afresh at the size and pixel ratio asked for.
QIcon Icono(TGlifo glifo);

// Pieces of the panels' pictures.
// The arithmetic unit: a notched trapezoid, its two inputs on top.
void Pintar_UAL(QPainter& pintor, const QRectF& caja, const QString& rotulo);
// A chip with patas pins on each long side and its name on the body.
void Pintar_Chip(QPainter& pintor, const QRectF& cuerpo, int patas, const QString& rotulo);
// A wire along the points, with an arrowhead at either end.
void Pintar_Cable(QPainter& pintor, const QPolygonF& recorrido, bool flecha_final, bool flecha_inicio = false);
// A transfer lit over its wire, an arrowhead at its destination: bright for
// the instruction's own, dimmer and dashed for the fetch of the next word.
void Pintar_Tramo(QPainter& pintor, const QPolygonF& recorrido, bool busqueda);
// A broad bus along the points.
void Pintar_Bus(QPainter& pintor, const QPolygonF& recorrido);
// The outline of a unit of the machine.
void Pintar_Marco(QPainter& pintor, const QRectF& caja);

// A panel whose ground is a picture drawn around its children. The picture is
// kept in a pixmap at the device pixel ratio, so the repaints of the children
// above it (lamps, keys) only copy from it; it is drawn again when the size or
// the ratio changes.
class TLamina : public QWidget {
 public:
  using TDibujante = std::function<void(QPainter&, const QWidget&)>;
  TLamina(const QColor& fondo, TDibujante dibujante, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* evento) override;

 private:
  TDibujante dibujante_;
};

// The box of a named descendant, in the coordinates of the ancestor.
QRectF Caja_de(const QWidget& ancestro, const char* nombre);
