// veltra-run --casos as a teacher uses it: case files that pass, fail with
// each kind of difference, or are refused with a message per problem; the
// JUnit file read back; and the cases run on several threads giving exactly
// what one thread gives.
#include <QtTest>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "correccion/Correccion.h"
#include "core/TextoHex.h"
#include "Veltra_Run.h"

namespace {

const QString Ejemplos = QStringLiteral(VELTRA_EXAMPLES);

QString Escribir(const QTemporaryDir& carpeta, const QString& nombre, const QByteArray& texto) {
  const QString ruta = carpeta.filePath(nombre);
  QFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly) || archivo.write(texto) != texto.size()) return {};
  return ruta;
}

// One case on SUMA, with `espera` and any other keys of the case.
QByteArray Un_Caso(const QByteArray& espera, const QByteArray& otras = {}) {
  return R"({"casos": [{"nombre": "c", )" + otras + R"( "espera": {)" + espera + "}}]}";
}

}  // namespace

class tst_Casos : public QObject {
  Q_OBJECT

 private slots:
  // The report's lines for the program under each case file; "%1" stands
  // for the case file's path.
  void corregir_data() {
    QTest::addColumn<QByteArray>("casos");  // empty: the example's own
    QTest::addColumn<QString>("programa");
    QTest::addColumn<int>("estado");
    QTest::addColumn<QString>("salida");
    QTest::addColumn<QString>("errores");
    QTest::newRow("SUMA's cases on its object file")
        << QByteArray() << "SUMA.EHC" << 0
        << "PASA suma de los sumandos del programa (1/1)\nPASA suma de 5 y 3 (2/2)\n"
           "PASA FFFF + 0001 da cero con acarreo (2/2)\nPASA 7FFF + 0001 desborda (2/2)\n"
           "Resultado: 4 de 4 casos, 7 de 7 puntos\n"
        << "";
    QTest::newRow("TECLADO's cases on its source")
        << QByteArray() << "TECLADO.ASM" << 0
        << "PASA 0FFF tecleado: muestra 0FFF y 1000 (1/1)\nPASA 0041 tecleado: muestra 0041 y 0042 (1/1)\n"
           "PASA FFFF tecleado: el siguiente es 0000, con acarreo (2/2)\nResultado: 3 de 3 casos, 4 de 4 puntos\n"
        << "";
    QTest::newRow("each kind of difference")
        << QByteArray(R"({"casos": [
             {"nombre": "todo mal", "puntos": 0.5, "espera": {"parada": "max_steps",
              "registros": {"rF": "0000", "AR": "0002"}, "banderas": {"C": 1},
              "puertos_salida": {"01": "2222"}, "memoria": {"EFFF": "0001"}}},
             {"nombre": "bien", "espera": {"parada": "halt"}}]})")
        << "SUMA.EHC" << 1
        << "FALLA todo mal (0/0.5): rF = 000F, se esperaba 0000; AR = 0007, se esperaba 0002; C = 0, se esperaba 1; "
           "puerto de salida 01 = 2221, se esperaba 2222; M[EFFF] = 0000, se esperaba 0001; "
           "parada: halt, se esperaba max_steps\n"
           "PASA bien (1/1)\nResultado: 1 de 2 casos, 1 de 1.5 puntos\n"
        << "";
    QTest::newRow("source with errors fails every case")
        << Un_Caso("") << "MAL.ASM" << 1
        << "FALLA c (0/1): ERROR: El programa tiene errores de ensamblado: 2:1: instrucción o directiva desconocida: "
           "FOO 3:8: se esperaba una coma\n"
           "Resultado: 0 de 1 caso, 0 de 1 punto\n"
        << "";
    // A case that names no stop expects HALT: a program that loops for ever
    // no longer earns the points of a memory word that happens to match.
    QTest::newRow("no parada: a loop fails on its stop")
        << Un_Caso(R"("memoria": {"0012": "0000"})", R"("max_instrucciones": 50,)") << "BUCLE.ASM" << 1
        << "FALLA c (0/1): parada: max_steps, se esperaba halt\nResultado: 0 de 1 caso, 0 de 1 punto\n" << "";
    QTest::newRow("parada cualquiera: the loop passes")
        << Un_Caso(R"("parada": "cualquiera", "memoria": {"0012": "0000"})", R"("max_instrucciones": 50,)")
        << "BUCLE.ASM" << 0 << "PASA c (1/1)\nResultado: 1 de 1 caso, 1 de 1 punto\n" << "";
    QTest::newRow("no parada: HALT passes")
        << Un_Caso(R"("registros": {"r3": "2221"})") << "SUMA.EHC" << 0
        << "PASA c (1/1)\nResultado: 1 de 1 caso, 1 de 1 punto\n" << "";
    QTest::newRow("syntax error") << QByteArray("{\"casos\": [\n  {\"nombre\": \"c\" \"espera\": {}}]}") << "SUMA.EHC"
                                  << 3 << "" << "%1:2:18: objeto no terminado\n";
    QTest::newRow("not an object") << QByteArray("[]") << "SUMA.EHC" << 3 << ""
                                   << "%1: necesita un objeto con la lista \"casos\"\n";
    QTest::newRow("no cases") << QByteArray(R"({"casos": [], "caso": 1})") << "SUMA.EHC" << 3 << ""
                              << "%1: caso: clave desconocida\n%1: casos: la lista está vacía\n";
    QTest::newRow("a case without its keys") << QByteArray(R"({"casos": [{"nombre": ""}, 7]})") << "SUMA.EHC" << 3
                                             << ""
                                             << "%1: caso 1: nombre: necesita un texto: \"\"\n"
                                                "%1: caso 1: falta \"espera\"\n%1: caso 2: necesita un objeto: 7\n";
    QTest::newRow("misspelt keys") << Un_Caso(R"("registro": {})", R"("inicio": "0010", "semila": 3,)") << "SUMA.EHC"
                                   << 3 << ""
                                   << "%1: caso 1 (c): espera.registro: clave desconocida\n"
                                      "%1: caso 1 (c): semila: clave desconocida\n";
    QTest::newRow("words, ports and addresses")
        << Un_Caso(R"("puertos_salida": {"40": "0000"}, "memoria": {"0012": 8})",
                   R"("registros": {"r1": "12345"}, "puertos_entrada": {"3": "0000"}, "memoria": {"F000": "0000"},)")
        << "SUMA.EHC" << 3 << ""
        << "%1: caso 1 (c): espera.memoria.0012: necesita cuatro dígitos hex: 8\n"
           "%1: caso 1 (c): espera.puertos_salida.40: no es un puerto (dos dígitos hex, de 00 a 3F)\n"
           "%1: caso 1 (c): memoria.F000: no es una dirección de memoria (cuatro dígitos hex, de 0000 a EFFF)\n"
           "%1: caso 1 (c): puertos_entrada.3: no es un puerto (dos dígitos hex, de 00 a 3F)\n"
           "%1: caso 1 (c): registros.r1: necesita cuatro dígitos hex: \"12345\"\n";
    QTest::newRow("registers, flags and stops")
        << Un_Caso(R"("registros": {"rG": "0000", "r3": "0001", "R3": "0001"}, "banderas": {"X": 1, "Z": 2},
                     "parada": "halted")",
                   R"("registros": {"PC": "0010"},)")
        << "SUMA.EHC" << 3 << ""
        << "%1: caso 1 (c): espera.banderas.X: no es una bandera (Z, S, C, V)\n"
           "%1: caso 1 (c): espera.banderas.Z: necesita 0 o 1: 2\n"
           "%1: caso 1 (c): espera.parada: no es una parada (halt, stopped, monitor, max_steps, breakpoint, cualquiera): \"halted\"\n"
           "%1: caso 1 (c): espera.registros.r3: repetido\n"
           "%1: caso 1 (c): espera.registros.rG: no es un registro (r0..rF, AR, DR, IR, PC)\n"
           "%1: caso 1 (c): registros.PC: solo se fijan r0..rF; la dirección de comienzo va en \"inicio\"\n";
    QTest::newRow("numbers and fill")
        << Un_Caso("", R"("max_instrucciones": 0, "puntos": -1, "semilla": 1.5, "relleno": "random",)") << "SUMA.EHC"
        << 3 << ""
        << "%1: caso 1 (c): max_instrucciones: necesita un número entero positivo: 0\n"
           "%1: caso 1 (c): puntos: necesita un número no negativo: -1\n"
           "%1: caso 1 (c): relleno: necesita \"ceros\" o \"aleatorio\": \"random\"\n"
           "%1: caso 1 (c): semilla: necesita un número entero no negativo: 1.5\n";
  }
  // `comprobar` is read in grading too, and each of its problems named.
  void comprobar_data() {
    QTest::addColumn<QByteArray>("lista");
    QTest::addColumn<QString>("errores");
    QTest::newRow("not a list") << QByteArray(R"("r3")") << "comprobar: necesita una lista de claves: \"r3\"\n";
    QTest::newRow("empty") << QByteArray("[]") << "comprobar: la lista está vacía\n";
    QTest::newRow("unknown keys")
        << QByteArray(R"(["rG", 3, "puertos_salida.40", "memoria.F000", "memoria"])")
        << "comprobar: \"rG\" no es una clave que comprobar (r0..rF, AR, DR, IR, PC, registros, Z, S, C, V, banderas, "
           "puertos_salida.PP, memoria.AAAA[:N], parada)\n"
           "comprobar: necesita claves en texto: 3\n"
           "comprobar: \"puertos_salida.40\": no es un puerto (dos dígitos hex, de 00 a 3F)\n"
           "comprobar: \"memoria.F000\": no es una dirección de memoria (cuatro dígitos hex, de 0000 a EFFF)\n"
           "comprobar: \"memoria\" no es una clave que comprobar (r0..rF, AR, DR, IR, PC, registros, Z, S, C, V, "
           "banderas, puertos_salida.PP, memoria.AAAA[:N], parada)\n";
    QTest::newRow("bad counts")
        << QByteArray(R"(["memoria.0012:0", "memoria.EFFE:3", "memoria.0000:x", "memoria.0000:-1"])")
        << "comprobar: \"memoria.0012:0\": la cuenta necesita un número de palabras de 1 a 61.422 (hasta EFFF)\n"
           "comprobar: \"memoria.EFFE:3\": la cuenta necesita un número de palabras de 1 a 2 (hasta EFFF)\n"
           "comprobar: \"memoria.0000:x\": la cuenta necesita un número de palabras de 1 a 61.440 (hasta EFFF)\n"
           "comprobar: \"memoria.0000:-1\": la cuenta necesita un número de palabras de 1 a 61.440 (hasta EFFF)\n";
    QTest::newRow("the longest range is fine") << QByteArray(R"(["memoria.0000:61440", "memoria.EFFF:1", "AR", "banderas"])")
                                               << "";
  }
  void comprobar() {
    QFETCH(QByteArray, lista);
    QFETCH(QString, errores);
    const TLectura_Casos lectura = Leer_Casos(Un_Caso("", "\"comprobar\": " + lista + ","), "c.json");
    QString texto;
    for (const auto& error : lectura.Errores) texto += QString::fromStdString(error).remove("c.json: caso 1 (c): ") + "\n";
    QCOMPARE(texto, errores);
    QCOMPARE(lectura.Casos.empty(), !errores.isEmpty());
  }

  void corregir() {
    QFETCH(QByteArray, casos);
    QFETCH(QString, programa);
    QFETCH(int, estado);
    QFETCH(QString, salida);
    QFETCH(QString, errores);
    QTemporaryDir carpeta;
    const QString ruta_casos =
        casos.isEmpty() ? Ejemplos + "/" + programa.section('.', 0, 0) + ".casos.json" : Escribir(carpeta, "c.json", casos);
    QString ruta_programa = Ejemplos + "/" + programa;
    if (programa == QLatin1String("MAL.ASM")) ruta_programa = Escribir(carpeta, programa, "LLI R1, H'05\nFOO R2\nADDS R1\n");
    if (programa == QLatin1String("BUCLE.ASM")) ruta_programa = Escribir(carpeta, programa, "LLI RD, 0\nBR\n");
    const TSalida s = Veltra_Run({"--casos", ruta_casos, ruta_programa});
    QCOMPARE(s.Errores, errores.replace("%1", "veltra-run: " + ruta_casos));
    QCOMPARE(s.Salida, salida);
    QCOMPARE(s.Estado, estado);
  }

  // The JUnit file, read back by an XML parser, counts what the report counts,
  // and a name with XML's own characters comes back intact; --json has the
  // same totals.
  void junit_y_json() {
    QTemporaryDir carpeta;
    const QString nombre = QStringLiteral("<r3> & \"r4\" ñ");
    const QString casos = Escribir(carpeta, "c.json", R"({"casos": [
        {"nombre": "<r3> & \u0022r4\u0022 ñ", "espera": {"registros": {"r3": "0000"}}},
        {"nombre": "bien", "puntos": 3, "espera": {"registros": {"r3": "2221"}}}]})");
    const QString junit = carpeta.filePath("informe.xml");
    const TSalida s = Veltra_Run({"--casos", casos, "--json", "--junit", junit, Ejemplos + "/SUMA.EHC"});
    QCOMPARE(s.Estado, 1);
    const QJsonObject informe = QJsonDocument::fromJson(s.Salida.toUtf8()).object();
    QCOMPARE(informe["resultado"].toObject(),
             (QJsonObject{{"casos", 2}, {"pasan", 1}, {"puntos", 3}, {"puntos_posibles", 4}}));
    QCOMPARE(informe["casos"][0]["diferencias"][0].toObject(),
             (QJsonObject{{"clave", "r3"}, {"obtenido", "2221"}, {"esperado", "0000"}}));

    QFile archivo(junit);
    QVERIFY(archivo.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&archivo);
    QStringList casos_leidos, fallos;
    QString pruebas, fallidas;
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) continue;
      if (xml.name() == QLatin1String("testsuite")) {
        pruebas = xml.attributes().value("tests").toString();
        fallidas = xml.attributes().value("failures").toString();
      } else if (xml.name() == QLatin1String("testcase")) {
        casos_leidos << xml.attributes().value("name").toString();
      } else if (xml.name() == QLatin1String("failure")) {
        fallos << xml.readElementText();
      }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(pruebas, QStringLiteral("2"));
    QCOMPARE(fallidas, QStringLiteral("1"));
    QCOMPARE(casos_leidos, (QStringList{nombre, "bien"}));
    QCOMPARE(fallos, QStringList{"r3 = 2221, se esperaba 0000"});
  }

  // Every machine owns its state: cases with random memory and power-on
  // values, run on four threads, give what one thread gives. Each case's
  // differences carry the random values it drew, so a draw taken from
  // another case's generator shows.
  void hilos_como_un_hilo() {
    std::vector<TCaso> casos(48);
    for (std::size_t i = 0; i < casos.size(); ++i) {
      casos[i].Preparacion.Semilla = i;
      casos[i].Preparacion.Palabras = {{0x0011, Palabra_a_Texto(static_cast<int32_t>(i))}};
      casos[i].Espera.Registros = {{Visor_Registro(1), "0000"}, {Visor_Registro(3), "0000"}, {Visor_AR, "0000"}};
      casos[i].Espera.Salidas = {{0x3F, "0000"}};
      casos[i].Espera.Memoria = {{0x0100, "0000"}, {0xEFFF, "0000"}};
    }
    const TPrograma_Casos programa(QStringLiteral(VELTRA_EXAMPLES "/SUMA.EHC").toStdString());
    const auto textos = [](const std::vector<TResultado_Caso>& resultados) {
      std::vector<std::string> lineas;
      for (const auto& r : resultados) {
        std::string linea = std::to_string(r.Pasos);
        for (const auto& d : r.Diferencias) linea += "; " + Texto_Diferencia(d);
        lineas.push_back(linea);
      }
      return lineas;
    };
    const auto uno = textos(Ejecutar_Casos(casos, programa, 1));
    const auto cuatro = textos(Ejecutar_Casos(casos, programa, 4));
    QCOMPARE(cuatro, uno);
    QCOMPARE(uno[0].substr(0, 20), std::string("7; r1 = 1234, se esp"));
    QVERIFY(uno[2] != uno[4]);  // the seeds give their own values
  }
};

QTEST_GUILESS_MAIN(tst_Casos)
#include "tst_Casos.moc"
