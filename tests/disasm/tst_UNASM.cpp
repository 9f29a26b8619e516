#include <QtTest>

#include "disasm/UNASM.h"

class tst_UNASM : public QObject {
  Q_OBJECT

 private slots:
  void desensamblar_data() {
    QTest::addColumn<QString>("palabra");
    QTest::addColumn<QString>("texto");
    QTest::newRow("LD") << "0A10" << "LD RA, [RD+H'10]";
    QTest::newRow("LD zero") << "0000" << "LD R0, [RD+H'00]";
    QTest::newRow("ST") << "1A10" << "ST [RD+H'10], RA";
    QTest::newRow("LLI") << "2105" << "LLI R1, H'05";
    QTest::newRow("LHI") << "31FF" << "LHI R1, H'FF";
    QTest::newRow("IN") << "4201" << "IN R2, H'01";
    QTest::newRow("OUT") << "5201" << "OUT H'01, R2";
    QTest::newRow("ADDS letters") << "6ABC" << "ADDS RA, RB, RC";
    QTest::newRow("SUBS") << "7123" << "SUBS R1, R2, R3";
    QTest::newRow("NAND") << "8123" << "NAND R1, R2, R3";
    QTest::newRow("SHL") << "9400" << "SHL R4";
    QTest::newRow("SHR") << "A4FF" << "SHR R4";
    QTest::newRow("SHRA") << "B400" << "SHRA R4";
    QTest::newRow("BR") << "C000" << "BR";
    QTest::newRow("BZ") << "C100" << "BZ";
    QTest::newRow("BS") << "C200" << "BS";
    QTest::newRow("BC") << "C300" << "BC";
    QTest::newRow("BV") << "C400" << "BV";
    QTest::newRow("B condition 5 reads R") << "C500" << "BR";
    QTest::newRow("CALLC") << "D300" << "CALLC";
    QTest::newRow("CALL condition F") << "DF00" << "CALLR";
    QTest::newRow("RET ignores digits") << "EFFF" << "RET";
    QTest::newRow("HALT") << "FFFF" << "HALT";
    QTest::newRow("lower case op") << "a400" << "";
    QTest::newRow("not hex") << "G123" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("short") << "21" << "";
  }
  void desensamblar() {
    QFETCH(QString, palabra);
    QFETCH(QString, texto);
    QCOMPARE(QString::fromStdString(Desensamblar(palabra.toStdString())), texto);
  }
};

QTEST_APPLESS_MAIN(tst_UNASM)
#include "tst_UNASM.moc"
