#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <optional>

#include "tests/TFileSizeLimit.h"

namespace {

struct TSalida {
  int Estado;
  QJsonObject Informe;
  QString Errores;
};

// With `tmpdir`, veltra-run's temporary directory; `limite` bytes (when not
// 0) is as much as it can write to a file.
TSalida Ejecutar(const QStringList& argumentos, const QString& tmpdir = {}, rlim_t limite = 0) {
  QProcess proceso;
  if (!tmpdir.isEmpty()) {
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("TMPDIR"), tmpdir);
    proceso.setProcessEnvironment(entorno);
  }
  {
    std::optional<TFileSizeLimit> limitado;  // inherited by the child as it starts
    if (limite > 0) limitado.emplace(limite);
    proceso.start(QStringLiteral(VELTRA_RUN), argumentos);
  }
  if (!proceso.waitForFinished(60000) || proceso.exitStatus() != QProcess::NormalExit) return {-1, {}, {}};
  return {proceso.exitCode(), QJsonDocument::fromJson(proceso.readAllStandardOutput()).object(),
          QString::fromUtf8(proceso.readAllStandardError())};
}

}  // namespace

// veltra-run loads FILE as VELTRA's load command does. Each example program
// must leave the results its header promises ("Resultado:"), with what its
// "Entrada:" asks to be typed.
class tst_Veltra_Run : public QObject {
  Q_OBJECT

 private slots:
  // A file that cannot be read still gets its JSON object, exit status 3 and
  // the message also on standard error. Memory runs whole whatever the
  // temporary directory, leaving no file there. "%1" stands for the path.
  void carga_data() {
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<QString>("tmpdir");  // empty: one of the test
    QTest::addColumn<int>("limite");      // bytes it can write to a file; 0: no limit
    QTest::addColumn<int>("estado");
    QTest::addColumn<QStringList>("mensajes");
    const QString suma = QStringLiteral(VELTRA_EXAMPLES "/SUMA.EHC");
    QTest::newRow("file that does not exist")
        << QStringLiteral(VELTRA_TEST_DATA "/no_existe.EHC") << QString() << 0 << 3
        << QStringList{QStringLiteral("ERROR: No se pudo abrir el archivo %1\rMotivo: el archivo no existe.")};
    QTest::newRow("wrong extension") << suma + ".txt" << QString() << 0 << 3
                                     << QStringList{QStringLiteral("ERROR: Los archivos objeto deben tener extensión \r.HEX o .EHC")};
    QTest::newRow("temporary directory too small") << suma << QString() << 64 * 1024 << 0 << QStringList();
    // Nobody, root included, can create a file in /proc.
    QTest::newRow("temporary directory that cannot be written") << suma << "/proc" << 0 << 0 << QStringList();
  }
  void carga() {
    QFETCH(QString, archivo);
    QFETCH(QString, tmpdir);
    QFETCH(int, limite);
    QFETCH(int, estado);
    QFETCH(QStringList, mensajes);
    QTemporaryDir temporal;
    const TSalida salida =
        Ejecutar({"--fill", "zero", "--json", archivo}, tmpdir.isEmpty() ? temporal.path() : tmpdir, rlim_t(limite));
    QCOMPARE(salida.Estado, estado);
    QJsonArray esperados;
    QString errores;
    for (QString& mensaje : mensajes) {
      mensaje.replace(QStringLiteral("%1"), archivo);
      esperados.append(mensaje);
      errores += "veltra-run: " + mensaje.replace('\r', QStringLiteral("\n  ")) + "\n";
    }
    QCOMPARE(salida.Informe["load_messages"].toArray(), esperados);
    QCOMPARE(salida.Informe["stop"].toString(), QLatin1String(estado == 3 ? "load_failed" : "halt"));
    if (estado == 3) QCOMPARE(salida.Errores, errores);
    QVERIFY(QDir(temporal.path()).isEmpty());
  }

  // A format error is reported, the raw listing kept, and the program runs.
  void mensajes_y_listado_de_la_carga() {
    const TSalida salida = Ejecutar({"--fill", "zero", "--max-steps", "1", "--json",
                                     QStringLiteral(VELTRA_TEST_DATA "/ehc_final_vacio.EHC")});
    QCOMPARE(salida.Estado, 2);
    QCOMPARE(salida.Informe["stop"].toString(), QStringLiteral("max_steps"));
    QCOMPARE(salida.Informe["load_messages"].toArray(),
             QJsonArray{QStringLiteral("Error: Formato incorrecto en la línea 3. Cada línea debe contener Dirección y Contenido")});
    QCOMPARE(salida.Informe["listing"].toArray(), (QJsonArray{"[0000]: 0001", "[0001]: 0002"}));
  }

  void ejemplo_data() {
    QTest::addColumn<QString>("archivo");
    for (const char* nombre : {"CONTADOR", "PUERTOS", "SUBRUTINA", "SUMA", "TECLADO"})
      QTest::newRow(nombre) << QStringLiteral(VELTRA_EXAMPLES "/%1.EHC").arg(nombre);
  }
  void ejemplo() {
    QFETCH(QString, archivo);
    QFile fuente(archivo);
    QVERIFY(fuente.open(QIODevice::ReadOnly));
    const QStringList lineas = QString::fromUtf8(fuente.readAll()).split('\n', Qt::SkipEmptyParts);
    QStringList promesas;
    QStringList argumentos = {"--fill", "zero", "--json"};
    static const QRegularExpression palabra_memoria(QStringLiteral("^M\\[([0-9A-F]{4})\\]="));
    for (const QString& linea : lineas) {
      const QString comentario = linea.section(';', 1);
      if (comentario.contains(QStringLiteral("Resultado:")))
        promesas += comentario.section(QStringLiteral("Resultado:"), 1).split(' ', Qt::SkipEmptyParts);
      if (comentario.contains(QStringLiteral("Entrada:")))
        argumentos += comentario.section(QStringLiteral("Entrada:"), 1).split(' ', Qt::SkipEmptyParts);
    }
    QVERIFY2(!promesas.isEmpty(), "the header promises no result");
    for (const QString& promesa : promesas)
      if (const auto memoria = palabra_memoria.match(promesa); memoria.hasMatch()) argumentos << "--dump" << memoria.captured(1);

    const TSalida salida = Ejecutar(argumentos << archivo);
    QCOMPARE(salida.Estado, 0);
    const QJsonObject& informe = salida.Informe;
    QCOMPARE(informe["stop"].toString(), QStringLiteral("halt"));
    QCOMPARE(informe["load_messages"].toArray(), QJsonArray());
    QCOMPARE(informe["run_messages"].toArray(), QJsonArray{QStringLiteral("Fin de la ejecución :-)")});
    QCOMPARE(informe["listing"].toArray().size(), lineas.size());
    for (const QString& promesa : promesas) {
      const QString nombre = promesa.section('=', 0, 0);
      const auto memoria = palabra_memoria.match(promesa);
      const QString obtenido = memoria.hasMatch()             ? informe["memory"][memoria.captured(1)].toString()
                               : nombre == QLatin1String("OP1") ? informe["output_ports"]["01"].toString()
                               : nombre == QLatin1String("OP2") ? informe["output_ports"]["02"].toString()
                                                                : informe["registers"][nombre].toString();
      QVERIFY2(obtenido == promesa.section('=', 1), qPrintable(promesa + " but got " + obtenido));
    }
  }
};

QTEST_GUILESS_MAIN(tst_Veltra_Run)
#include "tst_Veltra_Run.moc"
