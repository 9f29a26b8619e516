#pragma once
// Fonts by name, with a fallback that Debian installs by default when the
// named family is missing or not truly fixed-pitch.
#include <QFont>

// The named fixed-pitch family at the size in points, or the first installed
// monospaced family that the font system reports as fixed-pitch.
QFont Fuente_Fija(const QString& familia, int puntos);
