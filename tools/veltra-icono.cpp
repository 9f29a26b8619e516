// veltra-icono: writes VELTRA's icon into CARPETA as an icon theme lays it
// out (CARPETA/16x16/apps/veltra.png ...), from the drawing the window uses.
// The build runs it; it needs no display.
#include <QDir>
#include <QString>
#include <cstdio>

#include "widgets/Icono.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "uso: veltra-icono CARPETA\n");
    return 1;
  }
  const QString carpeta = QString::fromLocal8Bit(argv[1]);
  for (int lado : Lados_Icono_VELTRA()) {
    const QString apps = QStringLiteral("%1/%2x%2/apps").arg(carpeta).arg(lado);
    if (!QDir().mkpath(apps) || !Imagen_Icono_VELTRA(lado).save(apps + QStringLiteral("/veltra.png"), "PNG")) {
      std::fprintf(stderr, "veltra-icono: no se pudo escribir %s/veltra.png\n", apps.toLocal8Bit().constData());
      return 1;
    }
  }
  return 0;
}
