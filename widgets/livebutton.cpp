#include "widgets/livebutton.h"

#include <QPalette>

#include "widgets/Colores.h"

QColor TLiveButton::Color_Titulo() const { return palette().color(QPalette::Active, QPalette::ButtonText); }

void TLiveButton::Fijar_Color_Titulo(const QColor& color) {
  QPalette paleta = palette();
  paleta.setColor(QPalette::Active, QPalette::ButtonText, color);
  paleta.setColor(QPalette::Inactive, QPalette::ButtonText, color);
  if (paleta != palette()) setPalette(paleta);
}

void TLiveButton::enterEvent(QEnterEvent*) { Fijar_Color_Titulo(clYellow); }

void TLiveButton::leaveEvent(QEvent*) { Fijar_Color_Titulo(clTeal); }
