#include "widgets/Fuentes.h"

#include <QFontDatabase>
#include <QFontInfo>

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
