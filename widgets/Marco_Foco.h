#pragma once
// The focus frame of the drawn widgets (displays and lamps): they paint every
// pixel of their own, so a frame inside would hide digits or the bezel. A ring
// just outside, in their parent, follows the focus to any widget whose
// property "marco_foco" is true. Views that fill their place (the listing,
// the memory panel) have property "marco_foco_dentro": the ring goes inside
// their edge, in their text's colour.
#include <QColor>
#include <QObject>
#include <QPointer>

class QWidget;

class TMarco_Foco : public QObject {
 public:
  explicit TMarco_Foco(QObject* parent);

  // The ring's colour and width, shared by every window; a theme changes them.
  static void Fijar_Estilo(const QColor& color, int grosor);
  static QColor Color();
  static int Grosor();

 private:
  void Seguir(QWidget* enfocado);

  QPointer<QWidget> anillo_;
};
