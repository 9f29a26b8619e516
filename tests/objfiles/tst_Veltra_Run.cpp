#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

namespace {

struct TSalida {
  int Estado;
  QJsonObject Informe;
  QString Errores;
};

TSalida Ejecutar(const QStringList& argumentos) {
  QProcess proceso;
  proceso.start(QStringLiteral(VELTRA_RUN), argumentos);
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
  void archivo_que_no_se_abre() {
    const QString ruta = QStringLiteral(VELTRA_TEST_DATA "/no_existe.EHC");
    const TSalida salida = Ejecutar({"--json", ruta});
    QCOMPARE(salida.Estado, 3);
    QCOMPARE(salida.Errores, "veltra-run: ERROR: No se pudo abrir el archivo " + ruta + "\n  Motivo: el archivo no existe.\n");
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
