#pragma once
// Fonts by name, with a fallback that Debian installs by default when the
// named family is missing or not truly fixed-pitch.
#include <QFont>

// The named fixed-pitch family at the size in points, or the first installed
// monospaced family that the font system reports as fixed-pitch.
QFont Fuente_Fija(const QString& familia, int puntos);
// The named family at the size in points, or, when it is not installed, the
// first sans-serif family that Debian installs by default.
QFont Fuente_Sans(const QString& familia, int puntos);
// The font, narrowed (and at last made smaller) until the text fits in the
// width: the fallback families are wider than the named ones.
QFont Fuente_Que_Quepa(QFont fuente, const QString& texto, int ancho);
