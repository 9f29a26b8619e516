#pragma once
// veltra-run --casos: reads a teacher's case file, runs the program against
// every case and reports, as text or JSON on standard output and, when asked,
// as a JUnit XML file for course platforms and CI.
#include <QString>

// The exit status: 0 when every case passes, 1 when one fails, 3 when the
// case file is wrong or a file cannot be read or written (then nothing runs,
// or nothing more is reported).
int Corregir(const QString& casos, const QString& programa, bool json, const QString& junit);
