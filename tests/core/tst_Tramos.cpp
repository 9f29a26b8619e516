#include <QtTest>

#include "Grabadora.h"

class tst_Tramos : public QObject {
  Q_OBJECT

 private slots:
  // Each row of the transfer table, legal and refused, taken and not taken
  // (of 6..B, its two ends): one instruction executed right after another one
  // (so an outcome left over would show); its transfers by name, and whether
  // the next fetch followed.
  void tramos_data() {
    QTest::addColumn<QString>("antes");
    QTest::addColumn<QString>("direccion");
    QTest::addColumn<QString>("palabra");
    QTest::addColumn<QString>("tramos");
    QTest::addColumn<bool>("busqueda");

    const QString carga = "Registros-AR AR-Memoria Memoria-DR DR-Registros";
    const QString aritmetica = "Registros-UAL UAL-Registros UAL-FF";
    const QString ninguno;
    QTest::newRow("LD legal") << "rD=EF00" << "0100" << "01FF" << carga << true;
    QTest::newRow("LD refused") << "rD=EF01" << "0100" << "01FF" << ninguno << true;
    QTest::newRow("ST accepted") << "rD=EF00" << "0100" << "12FF"
                                 << "Registros-AR Registros-DR AR-Memoria DR-Memoria" << true;
    QTest::newRow("ST refused") << "rD=FFF0" << "0100" << "1220" << ninguno << true;
    QTest::newRow("LLI") << "" << "0100" << "2105" << "IR-Registros" << true;
    QTest::newRow("LHI") << "" << "0100" << "3312" << "IR-Registros" << true;
    QTest::newRow("IN legal") << "" << "0100" << "413F" << "Puertos-Registros" << true;
    QTest::newRow("IN refused") << "" << "0100" << "4140" << ninguno << true;
    QTest::newRow("OUT legal") << "" << "0100" << "5201" << "Registros-Puertos" << true;
    QTest::newRow("OUT refused") << "" << "0100" << "52FF" << ninguno << true;
    QTest::newRow("ADDS") << "" << "0100" << "6312" << aritmetica << true;
    QTest::newRow("SHRA") << "" << "0100" << "B400" << aritmetica << true;
    QTest::newRow("BZ taken") << "rD=0300 flags=1000" << "0100" << "C100" << "Registros-PC" << false;
    QTest::newRow("BZ not taken") << "rD=0300 flags=0000" << "0100" << "C100" << ninguno << true;
    QTest::newRow("CALLR taken") << "rD=0300 rE=F000" << "0100" << "D000"
                                 << "Registros-AR PC-DR AR-Memoria DR-Memoria Registros-PC" << false;
    QTest::newRow("CALLV not taken") << "rD=0300 flags=1110" << "0100" << "D400" << ninguno << true;
    QTest::newRow("CALL push refused") << "rD=0300 rE=0000" << "0100" << "D000" << ninguno << false;
    QTest::newRow("RET") << "rE=EFFF mEFFF=0101" << "0100" << "E000"
                         << "Registros-AR AR-Memoria Memoria-DR DR-PC" << false;
    QTest::newRow("HALT") << "" << "0100" << "F000" << ninguno << true;
    QTest::newRow("empty fetch at F000") << "" << "F000" << "" << ninguno << false;
  }

  void tramos() {
    QFETCH(QString, antes);
    QFETCH(QString, direccion);
    QFETCH(QString, palabra);
    QFETCH(QString, tramos);
    QFETCH(bool, busqueda);

    TMaquina_Prueba m;
    Aplicar(m.E, "m0000=6312");
    m.Teclear("0000");
    m.E.BEjecutarClick();
    if (!palabra.isEmpty()) m.E.Escribir_Palabra(0x100, palabra.toStdString());
    Aplicar(m.E, antes);
    m.Teclear(direccion.toStdString());
    m.E.BEjecutarClick();

    QStringList nombres;
    for (TTramo tramo : Tramos_Instruccion(m.E.Ultima_Instruccion())) nombres << Nombre_Tramo(tramo);
    QCOMPARE(nombres.join(' '), tramos);
    QStringList busqueda_hecha;
    for (TTramo tramo : Tramos_Busqueda(m.E.Ultima_Instruccion())) busqueda_hecha << Nombre_Tramo(tramo);
    QCOMPARE(busqueda_hecha.join(' '), busqueda ? QString("PC-AR AR-Memoria Memoria-DR DR-IR") : QString());
  }

  // A store that the shortened memory fails halfway is an error stop too.
  void escritura_fallida() {
    TMaquina_Prueba m;
    std::vector<uint8_t> bytes(Bytes_Memoria - 1, 0);
    m.E.Memoria.LoadFromBytes(bytes.data(), bytes.size());
    Aplicar(m.E, "rD=EFFF m0100=1200");
    m.Teclear("0100");
    m.E.BEjecutarClick();
    QVERIFY(Tramos_Instruccion(m.E.Ultima_Instruccion()).empty());
    QVERIFY(Tramos_Busqueda(m.E.Ultima_Instruccion()).empty());
  }
};

QTEST_APPLESS_MAIN(tst_Tramos)
#include "tst_Tramos.moc"
