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
  QString Salida;
};

// With `tmpdir`, veltra-run's temporary directory; `limite` bytes (when not
// 0) is as much as it can write to a file.
TSalida Ejecutar(const QStringList& argumentos, const QString& tmpdir = {}, rlim_t limite = 0,
                const QString& programa = QStringLiteral(VELTRA_RUN)) {
  QProcess proceso;
  if (!tmpdir.isEmpty()) {
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("TMPDIR"), tmpdir);
    proceso.setProcessEnvironment(entorno);
  }
  {
    std::optional<TFileSizeLimit> limitado;  // inherited by the child as it starts
    if (limite > 0) limitado.emplace(limite);
    proceso.start(programa, argumentos);
  }
  if (!proceso.waitForFinished(60000) || proceso.exitStatus() != QProcess::NormalExit) return {-1, {}, {}, {}};
  const QByteArray salida = proceso.readAllStandardOutput();
  return {proceso.exitCode(), QJsonDocument::fromJson(salida).object(),
          QString::fromUtf8(proceso.readAllStandardError()), QString::fromUtf8(salida)};
}

TSalida Ensamblar(const QStringList& argumentos) { return Ejecutar(argumentos, {}, 0, QStringLiteral(VELTRA_ASM)); }

QStringList Lineas(const QString& ruta) {
  QFile archivo(ruta);
  if (!archivo.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(archivo.readAll()).split('\n', Qt::SkipEmptyParts);
}

// The (address, word) pairs of an EHC file, as "AAAA WWWW".
QStringList Palabras_EHC(const QString& ruta) {
  QStringList palabras;
  for (const QString& linea : Lineas(ruta)) {
    const QStringList partes = linea.section(';', 0, 0).split(' ', Qt::SkipEmptyParts);
    if (partes.size() == 2)
      palabras << partes[0].rightJustified(4, '0').toUpper() + " " + partes[1].rightJustified(4, '0').toUpper();
  }
  return palabras;
}

bool Escribir(const QString& ruta, const QByteArray& texto) {
  QFile archivo(ruta);
  return archivo.open(QIODevice::WriteOnly) && archivo.write(texto) == texto.size();
}

}  // namespace

// veltra-run loads FILE as VELTRA's load command does. Each example program
// must leave the results its header promises ("Resultado:"), with what its
// "Entrada:" asks to be typed; so must its source, once veltra-asm has
// assembled it to the same words as the checked-in EHC.
// veltra-asm itself: every error reported, no file written after one.
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

  // Stepping back K from a run of S steps leaves the state of a run of S-K
  // steps; a breakpoint stops before its word (exit 4), not at the first.
  void retroceder_y_puntos_de_ruptura() {
    const QString programa = QStringLiteral(VELTRA_EXAMPLES "/SUBRUTINA.EHC");
    const QStringList base = {"--fill", "zero", "--seed", "7", "--json", "--dump", "EFF0:16", programa};
    const int pasos = Ejecutar(base).Informe["steps"].toInt();
    QVERIFY(pasos > 4);
    for (int k : {1, pasos / 2, pasos - 1, pasos + 5}) {
      QJsonObject atras = Ejecutar(QStringList{"--back", QString::number(k)} + base).Informe;
      QCOMPARE(atras["stepped_back"].toInt(), std::min(k, pasos));
      QCOMPARE(atras["steps"].toInt(), std::max(pasos - k, 0));
      if (k >= pasos) continue;
      QJsonObject corta = Ejecutar(QStringList{"--max-steps", QString::number(pasos - k)} + base).Informe;
      for (const char* campo : {"registers", "flags", "input_ports", "output_ports", "memory"})
        QVERIFY2(atras[campo] == corta[campo], qPrintable(QStringLiteral("K=%1 %2").arg(k).arg(campo)));
    }
    const TSalida salida = Ejecutar(QStringList{"--break", "0000", "--break", "0002"} + base);
    QCOMPARE(salida.Estado, 4);
    QCOMPARE(salida.Informe["stop"].toString(), QStringLiteral("breakpoint"));
    QCOMPARE(salida.Informe["registers"]["PC"].toString(), QStringLiteral("0002"));
    QCOMPARE(salida.Informe["steps"].toInt(), 2);
  }

  // The text report writes counts as Spanish does: grouped digits, and the
  // noun (and its participle) in the number the count takes.
  void cuentas_en_el_texto_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QStringList>("lineas");
    QTest::addRow("one") << QStringList{"--max-steps", "1"}
                         << QStringList{"Fin: límite de instrucciones tras 1 instrucción"};
    QTest::addRow("two") << QStringList{"--max-steps", "2"}
                         << QStringList{"Fin: límite de instrucciones tras 2 instrucciones"};
    QTest::addRow("thousands") << QStringList{"--max-steps", "1234"}
                               << QStringList{"Fin: límite de instrucciones tras 1.234 instrucciones"};
    QTest::addRow("one back") << QStringList{"--max-steps", "3", "--back", "1"}
                              << QStringList{"Fin: límite de instrucciones tras 3 instrucciones",
                                             "Retrocedida 1 instrucción: quedan 2"};
    QTest::addRow("two back") << QStringList{"--max-steps", "1001", "--back", "2"}
                              << QStringList{"Fin: límite de instrucciones tras 1.001 instrucciones",
                                             "Retrocedidas 2 instrucciones: quedan 999"};
  }
  void cuentas_en_el_texto() {
    QFETCH(QStringList, argumentos);
    QFETCH(QStringList, lineas);
    // Zeroed memory runs LD R0,[RD+00] word after word.
    const TSalida salida = Ejecutar(QStringList{"--fill", "zero"} + argumentos);
    const QStringList escritas = salida.Salida.split(QLatin1Char('\n'));
    const qsizetype fin = escritas.indexOf(QRegularExpression(QStringLiteral("^Fin: .*")));
    QVERIFY2(fin >= 0, qPrintable(salida.Salida));
    QCOMPARE(escritas.mid(fin, lineas.size()), lineas);
  }

  void ejemplo_data() {
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<bool>("ensamblar");
    for (const char* nombre : {"CONTADOR", "PUERTOS", "SUBRUTINA", "SUMA", "TECLADO"}) {
      QTest::newRow(nombre) << QStringLiteral(VELTRA_EXAMPLES "/%1.EHC").arg(nombre) << false;
      QTest::addRow("%s.ASM", nombre) << QStringLiteral(VELTRA_EXAMPLES "/%1.ASM").arg(nombre) << true;
    }
  }
  void ejemplo() {
    QFETCH(QString, archivo);
    QFETCH(bool, ensamblar);
    const QStringList lineas = Lineas(archivo);
    QVERIFY(!lineas.isEmpty());
    QString programa = archivo;
    const QStringList palabras = Palabras_EHC(QString(archivo).replace(QStringLiteral(".ASM"), QStringLiteral(".EHC")));
    QTemporaryDir carpeta;
    if (ensamblar) {
      programa = carpeta.filePath(QStringLiteral("ensamblado.EHC"));
      const TSalida salida = Ensamblar({archivo, "-o", programa});
      QCOMPARE(salida.Errores, QString());
      QCOMPARE(salida.Estado, 0);
      QCOMPARE(Palabras_EHC(programa), palabras);
    }
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

    const TSalida salida = Ejecutar(argumentos << programa);
    QCOMPARE(salida.Estado, 0);
    const QJsonObject& informe = salida.Informe;
    QCOMPARE(informe["stop"].toString(), QStringLiteral("halt"));
    QCOMPARE(informe["load_messages"].toArray(), QJsonArray());
    QCOMPARE(informe["run_messages"].toArray(), QJsonArray{QStringLiteral("Fin de la ejecución :-)")});
    QCOMPARE(informe["listing"].toArray().size(), palabras.size());
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

  void veltra_asm_erroneo_data() {
    QTest::addColumn<QByteArray>("fuente");
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QString>("errores");  // %D is the folder of the source
    QTest::newRow("todos los errores") << QByteArray("SHL R10\nHALT\nLLI R1, H'1FF\n") << QStringList{}
        << "%D/PROG.ASM:1:5: se esperaba un registro R0..RF\n%D/PROG.ASM:3:9: constante fuera de rango: H'1FF no cabe en un byte\n";
    QTest::newRow("salida que no es objeto") << QByteArray("HALT\n") << QStringList{"-o", "%D/PROG.TXT"}
        << "veltra-asm: el programa objeto debe terminar en .EHC o .HEX: %D/PROG.TXT\n";
    QTest::newRow("opción desconocida") << QByteArray("HALT\n") << QStringList{"--nada"}
        << "veltra-asm: opción desconocida: --nada\nuso: veltra-asm FUENTE [-o SALIDA.EHC|SALIDA.HEX] [--listado]\n";
  }
  void veltra_asm_erroneo() {
    QFETCH(QByteArray, fuente);
    QFETCH(QStringList, argumentos);
    QFETCH(QString, errores);
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("PROG.ASM"));
    QVERIFY(Escribir(ruta, fuente));
    argumentos.replaceInStrings(QStringLiteral("%D"), carpeta.path());
    const TSalida salida = Ensamblar(QStringList{ruta} << argumentos);
    QCOMPARE(salida.Errores, errores.replace(QStringLiteral("%D"), carpeta.path()));
    QCOMPARE(salida.Estado, 1);
    QCOMPARE(QDir(carpeta.path()).entryList(QDir::Files), QStringList{"PROG.ASM"});
  }

  // A .HEX with words out of source order loads with no message, and the
  // listing reads as the source, in address order.
  void veltra_asm_hex_y_listado() {
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("PROG.ASM"));
    QVERIFY(Escribir(ruta, "ORG H'0010\nfin:  HALT\nORG 0\n      LLI RD, LO(fin) ; salto\n      BR\n"));
    const QString hex = carpeta.filePath(QStringLiteral("PROG.HEX"));
    const TSalida asm_ = Ensamblar({ruta, "--listado", "-o", hex});
    QCOMPARE(asm_.Errores, QString());
    QCOMPARE(asm_.Estado, 0);
    QCOMPARE(asm_.Salida, QStringLiteral("0010 F000  fin:  HALT\n0000 2D10        LLI RD, LO(fin) ; salto\n0001 C000        BR\n"));
    const TSalida salida = Ejecutar({"--fill", "zero", "--json", hex});
    QCOMPARE(salida.Informe["load_messages"].toArray(), QJsonArray());
    QCOMPARE(salida.Informe["listing"].toArray(), (QJsonArray{"[0000]: LLI RD, H'10", "[0001]: BR", "[0010]: HALT"}));
    QCOMPARE(salida.Informe["stop"].toString(), QStringLiteral("halt"));
  }
};

QTEST_GUILESS_MAIN(tst_Veltra_Run)
#include "tst_Veltra_Run.moc"
