#pragma once
// A class's reports: a line per student for the terminal, a CSV row per
// student for a mark sheet, and one self-contained, sortable, printable HTML
// page. Names come from students and from the case file: the HTML escapes
// them, and the CSV keeps a spreadsheet from reading them as formulas.
#include <QByteArray>
#include <QString>

#include <vector>

#include "Entregas.h"

struct TClase {
  QString Archivo_Casos;
  QString Carpeta;
  const std::vector<TCaso>& Casos;
  const std::vector<TCorreccion_Entrega>& Entregas;
  const std::vector<TOmitido>& Omitidos;

  double Posibles() const;
  double Media() const;
  bool Todas_Pasan() const;
};

QString Texto_Clase(const TClase& clase);
QByteArray CSV_Clase(const TClase& clase);
QByteArray HTML_Clase(const TClase& clase);

// A CSV field as RFC 4180 quotes it, a formula's first character guarded.
QString Campo_CSV(const QString& texto);
