#pragma once
// The named colours the panels and widgets are drawn with.
#include <QColor>

inline const QColor clBlack(0x00, 0x00, 0x00);
inline const QColor clWhite(0xFF, 0xFF, 0xFF);
inline const QColor clMaroon(0x80, 0x00, 0x00);
inline const QColor clNavy(0x00, 0x00, 0x80);
inline const QColor clBlue(0x00, 0x00, 0xFF);
inline const QColor clTeal(0x00, 0x80, 0x80);
inline const QColor clLime(0x00, 0xFF, 0x00);
inline const QColor clRed(0xFF, 0x00, 0x00);
inline const QColor clYellow(0xFF, 0xFF, 0x00);
// What the last instruction changed or moved: bright on teal, black and white.
inline const QColor Color_Marca(0xFF, 0x8C, 0x00);
