#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

// Runs each example program through veltra-run, as the README shows, and
// checks the results its header promises ("Resultado:"), typing what its
// "Entrada:" asks for.
class tst_Ejemplos : public QObject {
  Q_OBJECT

 private slots:
  void los_ejemplos_existen() {
    const QStringList archivos = QDir(QStringLiteral(VELTRA_EXAMPLES)).entryList({"*.EHC"}, QDir::Files, QDir::Name);
    QCOMPARE(archivos, (QStringList{"CONTADOR.EHC", "PUERTOS.EHC", "SUBRUTINA.EHC", "SUMA.EHC", "TECLADO.EHC"}));
  }

  void ejemplo_data() {
    QTest::addColumn<QString>("ruta");
    const QDir carpeta(QStringLiteral(VELTRA_EXAMPLES));
    for (const QString& archivo : carpeta.entryList({"*.EHC"}, QDir::Files, QDir::Name))
      QTest::newRow(qPrintable(archivo)) << carpeta.filePath(archivo);
  }

  void ejemplo() {
    QFETCH(QString, ruta);
    QFile archivo(ruta);
    QVERIFY(archivo.open(QIODevice::ReadOnly));
    const QStringList lineas = QString::fromUtf8(archivo.readAll()).split('\n', Qt::SkipEmptyParts);

    QStringList promesas;
    QStringList argumentos = {"--fill", "zero", "--json"};
    for (const QString& linea : lineas) {
      const QString comentario = linea.section(';', 1);
      if (comentario.contains(QStringLiteral("Resultado:")))
        promesas += comentario.section(QStringLiteral("Resultado:"), 1).split(' ', Qt::SkipEmptyParts);
      if (comentario.contains(QStringLiteral("Entrada:")))
        argumentos += comentario.section(QStringLiteral("Entrada:"), 1).split(' ', Qt::SkipEmptyParts);
    }
    QVERIFY2(!promesas.isEmpty(), "the header promises no result");
    static const QRegularExpression palabra_memoria(QStringLiteral("^M\\[([0-9A-F]{4})\\]$"));
    for (const QString& promesa : promesas) {
      const auto memoria = palabra_memoria.match(promesa.section('=', 0, 0));
      if (memoria.hasMatch()) argumentos << "--dump" << memoria.captured(1);
    }
    argumentos << ruta;

    QProcess proceso;
    proceso.start(QStringLiteral(VELTRA_RUN), argumentos);
    QVERIFY(proceso.waitForFinished(60000));
    QCOMPARE(proceso.exitStatus(), QProcess::NormalExit);
    QCOMPARE(proceso.exitCode(), 0);
    const QJsonObject informe = QJsonDocument::fromJson(proceso.readAllStandardOutput()).object();
    QCOMPARE(informe.value("stop").toString(), QStringLiteral("halt"));
    QCOMPARE(informe.value("load_messages").toArray(), QJsonArray());
    QCOMPARE(informe.value("run_messages").toArray(), QJsonArray{QStringLiteral("Fin de la ejecución :-)")});
    QCOMPARE(informe.value("listing").toArray().size(), lineas.size());

    for (const QString& promesa : promesas) {
      const QString nombre = promesa.section('=', 0, 0);
      const QString valor = promesa.section('=', 1);
      QString obtenido;
      const auto memoria = palabra_memoria.match(nombre);
      if (memoria.hasMatch()) obtenido = informe["memory"][memoria.captured(1)].toString();
      else if (nombre == QLatin1String("OP1")) obtenido = informe["output_ports"]["01"].toString();
      else if (nombre == QLatin1String("OP2")) obtenido = informe["output_ports"]["02"].toString();
      else obtenido = informe["registers"][nombre].toString();
      QVERIFY2(obtenido == valor, qPrintable(promesa + " but got " + obtenido));
    }
  }
};

QTEST_GUILESS_MAIN(tst_Ejemplos)
#include "tst_Ejemplos.moc"
