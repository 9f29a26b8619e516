#pragma once
// What the reports of one program and of a class share: the totals, why a
// case fails, points as text, and the JUnit file of one program.
#include <QString>
#include <QStringList>

#include <vector>

#include "Casos.h"
#include "Correccion.h"

struct TTotales {
  int Casos = 0;
  int Pasan = 0;
  double Puntos = 0;
  double Posibles = 0;
};
TTotales Totalizar(const std::vector<TCaso>& casos, const std::vector<TResultado_Caso>& resultados);
inline double Obtenidos(const TCaso& caso, const TResultado_Caso& resultado) {
  return resultado.Pasa() ? caso.Puntos : 0;
}

QString Q(const std::string& texto);
// A machine's message on one line: "\r" breaks lines in its boxes.
QString En_Una_Linea(const std::string& mensaje);
// Why a case fails: the program's load errors, else its differences.
QStringList Fallos(const TResultado_Caso& resultado);
// "1.5": the points as a number, for machines (JSON, CSV, JUnit).
QString Texto_Puntos(double puntos);
// "7 puntos", "1 punto", "4,5 puntos": as a teacher reads them.
QString Cantidad_Puntos(double puntos);
// "5,2": Spanish decimals, at most `decimales`.
QString Decimal(double valor, int decimales);

// One test suite named after the case file, one test case per case, named
// after the case and classed by the program's file name, so that the reports
// of a whole class can be gathered. `copias`: the programs with the same words.
bool Escribir_JUnit(const QString& ruta, const QString& archivo_casos, const QString& programa,
                    const std::vector<TCaso>& casos, const std::vector<TResultado_Caso>& resultados,
                    const QStringList& copias, QString& error);
