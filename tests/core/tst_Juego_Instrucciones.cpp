#include <QtTest>

#include "core/Juego_Instrucciones.h"
#include "disasm/UNASM.h"

class tst_Juego_Instrucciones : public QObject {
  Q_OBJECT

 private slots:
  // Each row sits at its own code, and its example is a word of that operation
  // that the listing writes with the row's name.
  void filas_en_orden() {
    const auto& juego = Juego_Instrucciones();
    for (size_t i = 0; i < juego.size(); ++i) {
      const TOperacion& op = juego[i];
      QCOMPARE(op.Codigo, "0123456789ABCDEF"[i]);
      QCOMPARE(op.Ejemplo.front(), op.Codigo);
      QCOMPARE(op.Campos.front(), op.Codigo);
      QVERIFY2(Desensamblar(op.Ejemplo).starts_with(op.Nombre), op.Ejemplo.data());
    }
  }

  void buscar_data() {
    QTest::addColumn<QString>("mnemonico");
    QTest::addColumn<QString>("codigo");
    QTest::newRow("ADDS") << "ADDS" << "6";
    QTest::newRow("any case") << "sHrA" << "B";
    QTest::newRow("SHR is not SHRA") << "shr" << "A";
    QTest::newRow("BZ") << "BZ" << "C";
    QTest::newRow("callv") << "callv" << "D";
    QTest::newRow("B alone") << "B" << "";
    QTest::newRow("CALL alone") << "CALL" << "";
    QTest::newRow("bad condition") << "BX" << "";
    QTest::newRow("longer") << "ADDSS" << "";
    QTest::newRow("directive") << "ORG" << "";
    QTest::newRow("empty") << "" << "";
  }
  void buscar() {
    QFETCH(QString, mnemonico);
    QFETCH(QString, codigo);
    const TOperacion* op = Buscar_Operacion(mnemonico.toStdString());
    QCOMPARE(op ? QString(QChar(op->Codigo)) : QString(), codigo);
  }

  void resumen_data() {
    QTest::addColumn<QString>("palabra");
    QTest::addColumn<QString>("resumen");
    QTest::newRow("ADDS") << "6312" << "ADDS R3, R1, R2: r3 := r1 + r2; cambia Z, S, C y V";
    QTest::newRow("LD") << "0AFF" << "LD RA, [RD+H'FF]: rA := M[rD + FF]; no cambia las banderas";
    QTest::newRow("BZ") << "C100" << "BZ: si Z vale 1: PC := rD; no cambia las banderas";
    QTest::newRow("BV") << "C400" << "BV: si V vale 1: PC := rD; no cambia las banderas";
    QTest::newRow("never taken") << "C500" << "BR: nunca (condición 5): PC := rD; no cambia las banderas";
    QTest::newRow("CALLR") << "D000"
                           << "CALLR: siempre: rE := rE - 1, M[rE] := PC + 1, PC := rD; no cambia las banderas";
    QTest::newRow("short") << "F00" << "";
    QTest::newRow("not hex") << "G000" << "";
    QTest::newRow("monitor's empty word") << "" << "";
  }
  void resumen() {
    QFETCH(QString, palabra);
    QFETCH(QString, resumen);
    QCOMPARE(QString::fromStdString(Resumen_Palabra(palabra.toStdString())), resumen);
  }

  // The notes beside the table explain what its rows take for granted.
  void notas() {
    std::string todas;
    for (const TNota_Juego& nota : Notas_Juego_Instrucciones()) {
      QVERIFY(!nota.Titulo.empty() && !nota.Texto.empty());
      todas += std::string(nota.Titulo) + ' ' + std::string(nota.Texto) + '\n';
    }
    for (const char* clave : {"rD", "rE", "CALL", "RET", "F000", "EFFF", "entrada 01", "02", "teclado"})
      QVERIFY2(todas.find(clave) != std::string::npos, clave);
  }

  void resumen_operacion() {
    QCOMPARE(QString::fromStdString(Resumen_Operacion(*Buscar_Operacion("ADDS"))),
             "ADDS Rx, Rs, Rt: Rx := Rs + Rt; cambia Z, S, C y V");
  }
};

QTEST_APPLESS_MAIN(tst_Juego_Instrucciones)
#include "tst_Juego_Instrucciones.moc"
