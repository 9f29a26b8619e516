// The windowless run behind veltra-run: start-up, power-on, the keypad and
// the timer, and each way a run ends.
#include <QtTest>

#include "Ejecucion_Linea.h"

class tst_Ejecucion_Linea : public QObject {
  Q_OBJECT

 private slots:
  void fin_data() {
    QTest::addColumn<QStringList>("palabras");  // words from 0000
    QTest::addColumn<QString>("inicio");
    QTest::addColumn<int>("fin");
    QTest::addColumn<int>("pasos");
    QTest::addColumn<QString>("pc");
    QTest::newRow("sum halts") << QStringList{"2105", "2203", "6312", "F000"} << "0000"
                               << int(TFin_Ejecucion::Halt) << 4 << "0004";
    QTest::newRow("port error stops") << QStringList{"2105", "4140"} << "0000"
                                      << int(TFin_Ejecucion::Detenida) << 2 << "0002";
    QTest::newRow("start in monitor area") << QStringList{} << "F000" << int(TFin_Ejecucion::Monitor) << 1 << "F000";
    QTest::newRow("endless loop") << QStringList{"2D00", "C000"} << "0000" << int(TFin_Ejecucion::Max_Pasos) << 1000
                                  << "0000";
    QTest::newRow("RET to empty PC") << QStringList{"2E00", "3EF0", "E000"} << "0000" << int(TFin_Ejecucion::Monitor)
                                     << 3 << "";
  }
  void fin() {
    QFETCH(QStringList, palabras);
    QFETCH(QString, inicio);
    QFETCH(int, fin);
    QFETCH(int, pasos);
    QFETCH(QString, pc);
    TPreparacion_Ejecucion p;
    p.Relleno_Ceros = true;
    p.Max_Pasos = 1000;
    p.Inicio = inicio.toStdString();
    for (int a = 0; a < palabras.size(); ++a) p.Palabras.emplace_back(a, palabras[a].toStdString());
    TEjecucion_Linea ejecucion(p);
    QVERIFY(ejecucion.Cargar());
    QCOMPARE(int(ejecucion.Ejecutar()), fin);
    QCOMPARE(ejecucion.Pasos(), uint64_t(pasos));
    QCOMPARE(QString::fromStdString(ejecucion.Entorno().Valor(Visor_PC)), pc);
  }

  void teclado_tras_la_primera_instruccion() {
    // 0000 IN R1,H'01 reads the start address; 0001 IN R2,H'01 the typed value.
    TPreparacion_Ejecucion p;
    p.Relleno_Ceros = true;
    p.Inicio = "0000";
    p.Palabras = {{0, "4101"}, {1, "4201"}, {2, "4303"}, {3, "F000"}};
    p.Entradas = {{1, "BEEF"}, {3, "1234"}};
    p.Registros = {{0xA, "AAAA"}};
    TEjecucion_Linea ejecucion(p);
    std::vector<std::string> traza;
    QCOMPARE(int(ejecucion.Ejecutar([&](const std::string& d, const std::string& w) { traza.push_back(d + " " + w); })),
             int(TFin_Ejecucion::Halt));
    TEntorno& e = ejecucion.Entorno();
    QCOMPARE(e.Valor(Visor_Registro(1)), std::string("0000"));
    QCOMPARE(e.Valor(Visor_Registro(2)), std::string("BEEF"));
    QCOMPARE(e.Valor(Visor_Registro(3)), std::string("1234"));
    QCOMPARE(e.Valor(Visor_Registro(0xA)), std::string("AAAA"));
    QCOMPARE(traza, (std::vector<std::string>{"0000 4101", "0001 4201", "0002 4303", "0003 F000"}));
    QCOMPARE(ejecucion.Mensajes_Ejecucion(), std::vector<std::string>{Mensaje_Fin});
  }

  void la_semilla_repite_la_memoria() {
    TPreparacion_Ejecucion p;
    p.Semilla = 99;
    TEjecucion_Linea primera(p);
    TEjecucion_Linea segunda(p);
    QCOMPARE(primera.Entorno().Memoria.AsHex(), segunda.Entorno().Memoria.AsHex());
    QCOMPARE(primera.Entorno().Valor(Visor_PC), segunda.Entorno().Valor(Visor_PC));
    QVERIFY(primera.Entorno().Memoria.AsHex() != std::string(2 * Bytes_Memoria, '0'));
  }
};

QTEST_APPLESS_MAIN(tst_Ejecucion_Linea)
#include "tst_Ejecucion_Linea.moc"
