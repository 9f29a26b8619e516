#pragma once
// The glyph push button of the console keys, the keypad and the dialogs: its
// caption lights up yellow while the mouse is over it and turns teal when the
// mouse leaves. The glyph is the button's icon; the character after "&" in
// the caption is its accelerator.
#include <QColor>
#include <QPushButton>

// The colours every live button takes: at rest, under the mouse (a dark face
// under the yellow caption keeps it readable) and its focus frame.
struct TColores_Tecla {
  QColor Titulo;
  QColor Fondo;
  QColor Titulo_Encima;
  QColor Fondo_Encima;
  QColor Foco;
  int Grosor_Foco = 2;
};

class TLiveButton : public QPushButton {
  Q_OBJECT
  // The caption's colour (the button's font colour); the disabled look stays
  // the style's.
  Q_PROPERTY(QColor Color_Titulo READ Color_Titulo WRITE Fijar_Color_Titulo)

 public:
  using QPushButton::QPushButton;

  QColor Color_Titulo() const;
  void Fijar_Color_Titulo(const QColor& color);
  QColor Color_Fondo() const;

  // Shared by all live buttons; a theme sets them, then calls Reposo on each.
  static const TColores_Tecla& Colores();
  static void Fijar_Colores(const TColores_Tecla& colores);
  // The caption and face at rest.
  void Reposo();

 protected:
  // Both replace the base handling of the two notifications.
  void enterEvent(QEnterEvent* evento) override;
  void leaveEvent(QEvent* evento) override;
  void paintEvent(QPaintEvent* evento) override;

 private:
  void Pintar_Con(const QColor& titulo, const QColor& fondo);
};
