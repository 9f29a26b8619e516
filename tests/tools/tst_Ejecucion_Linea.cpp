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

  // With --back, a run allowed a full history or more beyond a full history
  // records its last million instructions as they run; one that stops
  // sooner than its last step has them executed again from a copy. Either
  // way the history is the run's last million instructions: stepping back
  // all of them ends exactly where a run without history is a million
  // instructions before the end, and goes no further.
  void historial_del_final_data() {
    QTest::addColumn<QString>("vueltas");  // R5: the outer loop ends when it reaches 0000
    QTest::addColumn<int>("fin");
    QTest::newRow("to the last step") << "FFF0" << int(TFin_Ejecucion::Max_Pasos);
    QTest::newRow("HALT after recording began") << "FFFA" << int(TFin_Ejecucion::Halt);
  }
  void historial_del_final() {
    QFETCH(QString, vueltas);
    QFETCH(int, fin);
    const auto preparar = [&](bool historial, uint64_t max_pasos) {
      TPreparacion_Ejecucion p;
      p.Relleno_Ceros = true;
      p.Max_Pasos = max_pasos;
      p.Semilla = 1;  // the input ports start alike
      p.Historial = historial;
      p.Registros = {{4, "0001"}, {5, vueltas.toStdString()}};
      // 0000 ADDS R3,R3,R4; LLI RD,05; BZ 0005; LLI RD,00; BR 0000;
      // 0005 ADDS R5,R5,R4; LLI RD,0A; BZ 000A; LLI RD,00; BR 0000; 000A HALT.
      const QStringList palabras = {"6334", "2D05", "C100", "2D00", "C000", "6554",
                                    "2D0A", "C100", "2D00", "C000", "F000"};
      for (int a = 0; a < palabras.size(); ++a) p.Palabras.emplace_back(a, palabras[a].toStdString());
      return p;
    };
    TEjecucion_Linea con(preparar(true, 2'500'000));
    QVERIFY(con.Cargar());
    QCOMPARE(int(con.Ejecutar()), fin);
    const uint64_t n = con.Pasos();
    QVERIFY(n > 1'500'000);
    constexpr uint64_t historial = THistorial::Maximo_Instrucciones;
    QCOMPARE(con.Entorno().Historial.Instrucciones(), historial);
    QCOMPARE(con.Retroceder(2 * historial), historial);

    TEjecucion_Linea sin(preparar(false, n - historial));
    QVERIFY(sin.Cargar());
    QCOMPARE(int(sin.Ejecutar()), int(TFin_Ejecucion::Max_Pasos));
    const TEntorno &a = con.Entorno(), &b = sin.Entorno();
    for (int visor = 0; visor < Numero_Visores; ++visor) QVERIFY2(a.Valor(visor) == b.Valor(visor), qPrintable(QString("display %1: %2 %3").arg(visor).arg(QString::fromStdString(a.Valor(visor)), QString::fromStdString(b.Valor(visor)))));
    QCOMPARE(a.Banderas(), b.Banderas());
    QCOMPARE(a.Contador_Instrucciones(), b.Contador_Instrucciones());
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
