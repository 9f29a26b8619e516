// A teacher grading a whole class with veltra-run: a folder of eight
// submissions (right, wrong register, forgot OUT, endless loop, does not
// assemble, a copy with other comments and labels, one in a subfolder, one
// whose name is HTML and a formula) into text, CSV read back, HTML read as
// XML and a JUnit file per student; the folders and options refused; and
// the teacher's solution filling in the examples' own expectations.
#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "correccion/Informes_Clase.h"
#include "Veltra_Run.h"

namespace {

const QString Ejemplos = QStringLiteral(VELTRA_EXAMPLES);
const QString Casos_SUMA = Ejemplos + "/SUMA.casos.json";
const QString Rara = QStringLiteral("=<i onclick=x>ana<i>.ASM");

QByteArray Leer(const QString& ruta) {
  QFile archivo(ruta);
  return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

bool Escribir(const QString& ruta, const QByteArray& texto) {
  QDir().mkpath(QFileInfo(ruta).path());
  QFile archivo(ruta);
  return archivo.open(QIODevice::WriteOnly) && archivo.write(texto) == texto.size();
}

// SUMA.ASM as eight students handed it in.
bool Llenar_Clase(const QString& carpeta) {
  const QByteArray suma = Leer(Ejemplos + "/SUMA.ASM");
  QByteArray copia =
      "; la mía\n\n  LLI RD,H'00\n LD R1,[RD+LO(a)]\n\n LD R2, [RD+LO(b)]\n ADDS R3,R1,R2\n ST [RD+LO(c)], R3\n"
      " OUT H'01,R3 ; fuera\n HALT\n ORG H'0010\na: DW H'1234\nb: DW H'0FED\nc:\n";
  QByteArray registro = suma, sin_out = suma;
  registro.replace("ADDS R3, R1, R2", "ADDS R4, R1, R2");
  sin_out.replace("OUT  H'01, R3", "");
  return !suma.isEmpty() && Escribir(carpeta + "/ana.ASM", suma) && Escribir(carpeta + "/beto.ASM", registro) &&
         Escribir(carpeta + "/carla.ASM", sin_out) && Escribir(carpeta + "/dani.ASM", "bucle: LLI RD, LO(bucle)\nBR\n") &&
         Escribir(carpeta + "/eva.ASM", "LLI R1, H'05\nFOO R2\n") && Escribir(carpeta + "/fede.ASM", copia) &&
         Escribir(carpeta + "/luis/PRACTICA.ASM", sin_out) &&
         Escribir(carpeta + "/luis/PRACTICA.EHC", Leer(Ejemplos + "/SUMA.EHC")) &&
         Escribir(carpeta + "/" + Rara, suma) && Escribir(carpeta + "/notas.txt", "hola\n") &&
         QDir().mkpath(carpeta + "/vacia");
}

// RFC 4180: fields split at commas outside quotes, "" inside quotes, CRLF rows.
QList<QStringList> Leer_CSV(const QString& texto) {
  QList<QStringList> filas;
  QStringList fila;
  QString campo;
  bool comillas = false;
  for (qsizetype i = 0; i < texto.size(); ++i) {
    const QChar c = texto[i];
    if (comillas) {
      if (c == '"' && i + 1 < texto.size() && texto[i + 1] == '"') campo += c, ++i;
      else if (c == '"') comillas = false;
      else campo += c;
    } else if (c == '"') {
      comillas = true;
    } else if (c == ',') {
      fila << campo;
      campo.clear();
    } else if (c == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n') {
      filas << (fila << campo);
      fila.clear();
      campo.clear();
      ++i;
    } else {
      campo += c;
    }
  }
  if (!fila.isEmpty() || !campo.isEmpty()) filas << QStringList{"sin CRLF final"};
  return filas;
}

// A case file whose cases ask for what each `espera` holds instead of giving it.
QJsonObject Plantilla(const QJsonObject& casos) {
  QJsonArray lista;
  for (const QJsonValue valor : casos["casos"].toArray()) {
    QJsonObject caso = valor.toObject();
    const QJsonObject espera = caso.take("espera").toObject();
    QJsonArray comprobar;
    for (auto grupo = espera.begin(); grupo != espera.end(); ++grupo) {
      if (grupo.key() == "parada") comprobar << "parada";
      for (const QString& clave : grupo.value().toObject().keys())
        comprobar << (grupo.key() == "registros" || grupo.key() == "banderas" ? clave : grupo.key() + "." + clave);
    }
    caso.insert("comprobar", comprobar);
    lista << caso;
  }
  return {{"casos", lista}};
}

}  // namespace

class tst_Entregas : public QObject {
  Q_OBJECT

 private slots:
  void una_clase() {
    QTemporaryDir temporal;
    const QString clase = temporal.filePath("clase");
    QVERIFY(Llenar_Clase(clase));
    const QString csv = temporal.filePath("notas.csv"), html = temporal.filePath("informe.html"),
                  junit = temporal.filePath("junit");
    const TSalida s = Veltra_Run({"--casos", Casos_SUMA, "--entregas", clase, "--csv", csv, "--html", html, "--junit", junit});
    QCOMPARE(s.Errores, QString());
    QCOMPARE(s.Salida,
             Rara + ": 7 de 7 puntos (4 de 4 casos); mismo programa que: ana.ASM, fede.ASM\n"
             "ana.ASM: 7 de 7 puntos (4 de 4 casos); mismo programa que: " + Rara + ", fede.ASM\n"
             "beto.ASM: 0 de 7 puntos (0 de 4 casos)\n"
             "carla.ASM: 4 de 7 puntos (2 de 4 casos); mismo programa que: luis/PRACTICA.ASM\n"
             "dani.ASM: 0 de 7 puntos (0 de 4 casos)\n"
             "eva.ASM: 0 de 7 puntos (0 de 4 casos): ERROR: El programa tiene errores de ensamblado: "
             "2:1: instrucción o directiva desconocida: FOO\n"
             "fede.ASM: 7 de 7 puntos (4 de 4 casos); mismo programa que: " + Rara + ", ana.ASM\n"
             "luis/PRACTICA.ASM: 4 de 7 puntos (2 de 4 casos); mismo programa que: carla.ASM\n"
             "notas.txt: omitido, no es un programa (.ASM, .EHC o .HEX)\n"
             "vacia/: omitido, no tiene ningún programa (.ASM, .EHC o .HEX)\n"
             "Resultado: 8 entregas, media 3,6 de 7 puntos\n");
    QCOMPARE(s.Estado, 1);

    // The mark sheet, read back as a spreadsheet would.
    const QList<QStringList> filas = Leer_CSV(QString::fromUtf8(Leer(csv)));
    QCOMPARE(filas.size(), 9);
    QCOMPARE(filas[0], (QStringList{"entrega", "suma de los sumandos del programa", "suma de 5 y 3",
                                    "FFFF + 0001 da cero con acarreo", "7FFF + 0001 desborda", "total",
                                    "parada del primer fallo", "mismo programa que"}));
    QCOMPARE(filas[1], (QStringList{"'" + Rara, "1", "2", "2", "2", "7", "", "ana.ASM, fede.ASM"}));
    QCOMPARE(filas[2].last(), "'" + Rara + ", fede.ASM");
    QCOMPARE(filas[3], (QStringList{"beto.ASM", "0", "0", "0", "0", "0", "halt", ""}));
    QCOMPARE(filas[4], (QStringList{"carla.ASM", "0", "0", "2", "2", "4", "halt", "luis/PRACTICA.ASM"}));
    QCOMPARE(filas[5][6], "max_steps");
    QCOMPARE(filas[6][6], "load_failed");

    // The page: well-formed, the summary's rows in name order, the hostile
    // name as text only, and what differed for the student who forgot OUT.
    QFile pagina(html);
    QVERIFY(pagina.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&pagina);
    QStringList resumen, elementos, diferencias;
    bool en_resumen = false;
    while (!xml.atEnd()) {
      if (xml.readNext() == QXmlStreamReader::EndElement && xml.name() == QLatin1String("table")) en_resumen = false;
      if (!xml.isStartElement()) continue;
      elementos << xml.name().toString();
      for (const auto& atributo : xml.attributes()) QVERIFY(!atributo.name().startsWith(QLatin1String("on")));
      QVERIFY(!xml.attributes().hasAttribute("src"));
      QVERIFY(!xml.attributes().hasAttribute("href") || xml.attributes().value("href").startsWith('#'));
      if (xml.attributes().value("id") == QLatin1String("resumen")) en_resumen = true;
      if (en_resumen && xml.name() == QLatin1String("a")) resumen << xml.readElementText();
      if (xml.attributes().value("class") == QLatin1String("resultado"))
        diferencias << xml.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(resumen, (QStringList{Rara, "ana.ASM", "beto.ASM", "carla.ASM", "dani.ASM", "eva.ASM", "fede.ASM",
                                   "luis/PRACTICA.ASM"}));
    QVERIFY(!elementos.contains("i") && !elementos.contains("link") && elementos.contains("style"));
    QCOMPARE(elementos.count("script"), 1);
    QCOMPARE(diferencias.mid(12, 2), (QStringList{"puerto de salida 01 = DE11, se esperaba 2221",
                                                  "puerto de salida 01 = DE11, se esperaba 0008"}));
    QCOMPARE(diferencias.count("pasa"), 4 * 3 + 2 * 2);

    // One JUnit file per folder entry, as --casos writes it for one program.
    QCOMPARE(QDir(junit).entryList(QDir::Files).size(), 8);
    QFile informe(junit + "/luis.xml");
    QVERIFY(informe.open(QIODevice::ReadOnly));
    QXmlStreamReader junit_xml(&informe);
    QStringList suite;
    while (!junit_xml.atEnd())
      if (junit_xml.readNext() == QXmlStreamReader::StartElement && junit_xml.name() == QLatin1String("testsuite"))
        suite << junit_xml.attributes().value("tests").toString() << junit_xml.attributes().value("failures").toString();
      else if (junit_xml.isStartElement() && junit_xml.attributes().value("name") == QLatin1String("mismo_programa_que"))
        suite << junit_xml.attributes().value("value").toString();
    QCOMPARE(suite, (QStringList{"4", "2", "carla.ASM"}));
  }

  // Every submission passing every case exits 0; the sole student's line
  // takes the singular.
  void todas_pasan() {
    QTemporaryDir temporal;
    QVERIFY(Escribir(temporal.filePath("ana.EHC"), Leer(Ejemplos + "/SUMA.EHC")));
    const QString casos = temporal.filePath("c.json");
    QVERIFY(Escribir(casos, R"({"casos": [{"nombre": "c", "espera": {"registros": {"r3": "2221"}}}]})"));
    const TSalida s = Veltra_Run({"--casos", casos, "--entregas", temporal.path()});
    QCOMPARE(s.Salida, "ana.EHC: 1 de 1 punto (1 de 1 caso)\nc.json: omitido, no es un programa (.ASM, .EHC o .HEX)\n"
                       "Resultado: 1 entrega, media 1 de 1 punto\n");
    QCOMPARE(s.Estado, 0);
  }

  // RFC 4180 quoting, and a formula's first character guarded.
  void campo_csv_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("campo");
    QTest::newRow("plain") << "ana.ASM" << "ana.ASM";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("comma") << "a, b" << "\"a, b\"";
    QTest::newRow("quotes") << "el \"bueno\"" << "\"el \"\"bueno\"\"\"";
    QTest::newRow("line break") << "a\r\nb" << "\"a\r\nb\"";
    QTest::newRow("=") << "=HYPERLINK(\"x\")" << "\"'=HYPERLINK(\"\"x\"\")\"";
    QTest::newRow("+") << "+1" << "'+1";
    QTest::newRow("-") << "-1" << "'-1";
    QTest::newRow("@") << "@SUM(A1)" << "'@SUM(A1)";
    QTest::newRow("= inside") << "a=b" << "a=b";
  }
  void campo_csv() {
    QFETCH(QString, texto);
    QFETCH(QString, campo);
    QCOMPARE(Campo_CSV(texto), campo);
  }

  // A file that vanished after the folder was read fails on its own line;
  // the others are graded.
  void entrega_desaparecida() {
    TCaso caso;
    caso.Nombre = "c";
    caso.Espera.Registros = {{Visor_Registro(3), "2221"}};
    const std::vector<TCaso> casos{caso};
    const std::vector<TEntrega> entregas{{"ana.EHC", Ejemplos + "/SUMA.EHC", "ana.EHC"},
                                         {"ida.ASM", Ejemplos + "/no/ida.ASM", "ida.ASM"}};
    const auto corregidas = Corregir_Entregas(casos, entregas, 2);
    const std::vector<TOmitido> omitidos;
    const QStringList lineas = Texto_Clase({"c.json", "clase", casos, corregidas, omitidos}).split('\n');
    QCOMPARE(lineas[0], "ana.EHC: 1 de 1 punto (1 de 1 caso)");
    QVERIFY2(lineas[1].startsWith("ida.ASM: 0 de 1 punto (0 de 1 caso): ERROR: ") && lineas[1].contains("no/ida.ASM"),
             qPrintable(lineas[1]));
    QCOMPARE(lineas[2], "Resultado: 2 entregas, media 0,5 de 1 punto");
  }

  void rechazos_data() {
    QTest::addColumn<QStringList>("argumentos");  // %1: a scratch folder
    QTest::addColumn<QString>("errores");
    QTest::newRow("no folder") << QStringList{"--entregas", "%1/no"} << "veltra-run: no existe la carpeta %1/no\n";
    QTest::newRow("a file") << QStringList{"--entregas", "%1/notas.txt"} << "veltra-run: %1/notas.txt no es una carpeta\n";
    QTest::newRow("empty") << QStringList{"--entregas", "%1/vacia"} << "veltra-run: la carpeta %1/vacia está vacía\n";
    QTest::newRow("only skipped files")
        << QStringList{"--entregas", "%1/omitidos"}
        << "veltra-run: la carpeta %1/omitidos no tiene ningún programa que corregir (.ASM, .EHC o .HEX)\n"
           "veltra-run: a/: no tiene ningún programa (.ASM, .EHC o .HEX)\n"
           "veltra-run: b.txt: no es un programa (.ASM, .EHC o .HEX)\n";
    QTest::newRow("a program too") << QStringList{"--entregas", "%1", "x.ASM"} << "veltra-run: sobra un argumento: x.ASM";
    QTest::newRow("json") << QStringList{"--entregas", "%1", "--json"} << "veltra-run: --entregas no admite --json";
    QTest::newRow("csv alone") << QStringList{"--csv", "%1/x.csv", "x.ASM"} << "veltra-run: --casos no admite --csv";
    QTest::newRow("no -o") << QStringList{"--solucion", "x.ASM"} << "veltra-run: --solucion necesita -o FILE";
    QTest::newRow("-o alone") << QStringList{"-o", "x.json", "x.ASM"} << "veltra-run: --casos no admite -o";
  }
  void rechazos() {
    QFETCH(QStringList, argumentos);
    QFETCH(QString, errores);
    QTemporaryDir temporal;
    QVERIFY(Escribir(temporal.filePath("notas.txt"), "hola\n") && QDir().mkpath(temporal.filePath("vacia")) &&
            Escribir(temporal.filePath("omitidos/b.txt"), "") && QDir().mkpath(temporal.filePath("omitidos/a")));
    for (QString& argumento : argumentos) argumento.replace("%1", temporal.path());
    const TSalida s = Veltra_Run(QStringList{"--casos", Casos_SUMA} + argumentos);
    QVERIFY2(s.Errores.startsWith(errores.replace("%1", temporal.path())), qPrintable(s.Errores));
    QCOMPARE(s.Salida, QString());
    QCOMPARE(s.Estado, 3);
  }

  // The examples' sources, run as the teacher's solution on their case files
  // with `espera` replaced by `comprobar`, write back the shipped expectations.
  void solucion_data() {
    QTest::addColumn<QString>("ejemplo");
    QTest::newRow("SUMA") << "SUMA";
    QTest::newRow("TECLADO") << "TECLADO";
  }
  void solucion() {
    QFETCH(QString, ejemplo);
    QTemporaryDir temporal;
    const QJsonObject enviado = QJsonDocument::fromJson(Leer(Ejemplos + "/" + ejemplo + ".casos.json")).object();
    const QString plantilla = temporal.filePath("plantilla.json"), completo = temporal.filePath("completo.json");
    QVERIFY(Escribir(plantilla, QJsonDocument(Plantilla(enviado)).toJson()));
    const TSalida s = Veltra_Run({"--casos", plantilla, "--solucion", Ejemplos + "/" + ejemplo + ".ASM", "-o", completo});
    QCOMPARE(s.Errores, QString());
    QCOMPARE(s.Estado, 0);
    const QJsonArray escritos = QJsonDocument::fromJson(Leer(completo))["casos"].toArray();
    const QJsonArray esperados = enviado["casos"].toArray();
    QCOMPARE(escritos.size(), esperados.size());
    for (qsizetype i = 0; i < escritos.size(); ++i)
      QCOMPARE(escritos[i]["espera"].toObject(), esperados[i]["espera"].toObject());
    // Written as it is shipped: indented, keys in the same order, and read back it grades the solution.
    const QByteArray texto = Leer(completo);
    QVERIFY(texto.contains("\n      \"nombre\": ") && texto.contains("\n      \"espera\": {\n        \""));
    QCOMPARE(Veltra_Run({"--casos", completo, Ejemplos + "/" + ejemplo + ".EHC"}).Estado, 0);
  }

  // Values the teacher wrote stay, the rest are filled; a solution that
  // does not stop at HALT writes nothing.
  void solucion_parcial_y_fallida() {
    QTemporaryDir temporal;
    const QString casos = temporal.filePath("c.json"), salida = temporal.filePath("s.json");
    QVERIFY(Escribir(casos, R"({"casos": [{"nombre": "c", "comprobar": ["R3", "memoria.0011:2", "Z", "PC"],
                                "espera": {"registros": {"r3": "2221"}}}]})"));
    TSalida s = Veltra_Run({"--casos", casos, "--solucion", Ejemplos + "/SUMA.EHC", "-o", salida});
    QCOMPARE(s.Salida, "Esperas de 1 caso escritas en " + salida + "\n");
    QCOMPARE(QJsonDocument::fromJson(Leer(salida))["casos"][0]["espera"].toObject(),
             (QJsonObject{{"registros", QJsonObject{{"r3", "2221"}, {"PC", "0007"}}},
                          {"banderas", QJsonObject{{"Z", 0}}},
                          {"memoria", QJsonObject{{"0011", "0FED"}, {"0012", "2221"}}}}));
    QVERIFY(Escribir(temporal.filePath("bucle.ASM"), "LLI RD, 0\nBR\n"));
    QFile::remove(salida);
    s = Veltra_Run({"--casos", casos, "--solucion", temporal.filePath("bucle.ASM"), "-o", salida});
    QCOMPARE(s.Salida, "FALLA c: r3 = 0003, se esperaba 2221; parada: max_steps, se esperaba halt\n"
                       "La solución falla 1 caso: no se escribe " + salida + "\n");
    QCOMPARE(s.Estado, 1);
    QVERIFY(!QFile::exists(salida));
  }
};

QTEST_GUILESS_MAIN(tst_Entregas)
#include "tst_Entregas.moc"
