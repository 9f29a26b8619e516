#pragma once
// veltra-run --casos: reads a teacher's case file and grades one program
// (text or JSON on standard output, and a JUnit XML file), a folder of
// submissions (a line per student, and CSV, HTML and a JUnit file per
// student), or runs the teacher's solution to fill in what the cases expect.
#include <QString>

// The exit status: 0 when every case passes, 1 when one fails, 3 when the
// case file is wrong or a file cannot be read or written (then nothing runs,
// or nothing more is reported).
int Corregir(const QString& casos, const QString& programa, bool json, const QString& junit);

// The same for every submission in `carpeta`; 3 also when the folder does
// not exist, is empty or holds nothing to grade. Empty paths: no such report.
int Corregir_Entregas(const QString& casos, const QString& carpeta, const QString& csv, const QString& html,
                      const QString& junit);

// Runs `solucion` on every case and writes to `salida` the case file with
// `espera` filled in with what `comprobar` asks for. 0 when written, 1 when
// the solution fails a case (nothing written), 3 as above.
int Completar_Casos(const QString& casos, const QString& solucion, const QString& salida);
