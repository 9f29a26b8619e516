#pragma once
// The glyph push button of the console keys, the keypad and the dialogs: its
// caption lights up yellow while the mouse is over it and turns teal when the
// mouse leaves. The glyph is the button's icon; the character after "&" in
// the caption is its accelerator.
#include <QColor>
#include <QPushButton>

class TLiveButton : public QPushButton {
  Q_OBJECT
  // The caption's colour (the button's font colour); the disabled look stays
  // the style's.
  Q_PROPERTY(QColor Color_Titulo READ Color_Titulo WRITE Fijar_Color_Titulo)

 public:
  using QPushButton::QPushButton;

  QColor Color_Titulo() const;
  void Fijar_Color_Titulo(const QColor& color);

 protected:
  // Both replace the base handling of the two notifications.
  void enterEvent(QEnterEvent* evento) override;
  void leaveEvent(QEvent* evento) override;
};
