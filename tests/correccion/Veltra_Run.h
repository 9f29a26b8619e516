#pragma once
// veltra-run started as a teacher starts it, its exit status and both outputs read.
#include <QProcess>
#include <QString>
#include <QStringList>

struct TSalida {
  int Estado = -1;  // -1: it did not end by itself in time
  QString Salida;
  QString Errores;
};

inline TSalida Veltra_Run(const QStringList& argumentos) {
  QProcess proceso;
  proceso.start(QStringLiteral(VELTRA_RUN), argumentos);
  if (!proceso.waitForFinished(120000) || proceso.exitStatus() != QProcess::NormalExit) return {};
  return {proceso.exitCode(), QString::fromUtf8(proceso.readAllStandardOutput()),
          QString::fromUtf8(proceso.readAllStandardError())};
}
