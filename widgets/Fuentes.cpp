#include "widgets/Fuentes.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

namespace {

bool Es_Fija(const QFont& fuente) { return QFontInfo(fuente).fixedPitch(); }

}  // namespace

QFont Fuente_Fija(const QString& familia, int puntos) {
  QFont fuente(familia, puntos);
  fuente.setStyleHint(QFont::TypeWriter);
  if (Es_Fija(fuente)) return fuente;
  // Some monospaced families (Noto Sans Mono among them) do not report
  // themselves fixed-pitch, so the generic "monospace" cannot be trusted.
  for (const char* alternativa : {"DejaVu Sans Mono", "Liberation Mono", "Nimbus Mono PS", "FreeMono"}) {
    fuente.setFamily(QString::fromLatin1(alternativa));
    if (Es_Fija(fuente)) return fuente;
  }
  fuente = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fuente.setPointSize(puntos);
  return fuente;
}

QFont Fuente_Sans(const QString& familia, int puntos) {
  QFont fuente(familia, puntos);
  fuente.setStyleHint(QFont::SansSerif);
  if (QFontDatabase::hasFamily(familia)) return fuente;
  // Left to itself the font system may pick a serif or a bitmap face.
  for (const char* alternativa : {"DejaVu Sans", "Liberation Sans", "Noto Sans", "Nimbus Sans", "FreeSans"}) {
    const QString nombre = QString::fromLatin1(alternativa);
    if (QFontDatabase::hasFamily(nombre)) {
      fuente.setFamily(nombre);
      return fuente;
    }
  }
  fuente = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  fuente.setPointSize(puntos);
  return fuente;
}

QFont Fuente_Que_Quepa(QFont fuente, const QString& texto, int ancho) {
  const auto Cabe = [&] { return QFontMetrics(fuente).horizontalAdvance(texto) <= ancho; };
  for (int estiramiento = 95; !Cabe() && estiramiento >= 75; estiramiento -= 5) fuente.setStretch(estiramiento);
  while (!Cabe() && fuente.pointSizeF() > 6) fuente.setPointSizeF(fuente.pointSizeF() - 0.5);
  return fuente;
}
