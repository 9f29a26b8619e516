#include <QtTest>

#include "core/Textos.h"

class tst_Textos : public QObject {
  Q_OBJECT

 private slots:
  void agrupar_data() {
    QTest::addColumn<qulonglong>("n");
    QTest::addColumn<QString>("texto");
    QTest::newRow("0") << 0ULL << "0";
    QTest::newRow("three digits") << 999ULL << "999";
    QTest::newRow("four digits") << 1000ULL << "1.000";
    QTest::newRow("six digits") << 100000ULL << "100.000";
    QTest::newRow("seven digits") << 1000000ULL << "1.000.000";
    QTest::newRow("nine digits") << 335544323ULL << "335.544.323";
    QTest::newRow("largest") << 18446744073709551615ULL << "18.446.744.073.709.551.615";
  }
  void agrupar() {
    QFETCH(qulonglong, n);
    QFETCH(QString, texto);
    QCOMPARE(QString::fromStdString(Agrupar_Cifras(n)), texto);
  }

  void cantidad_data() {
    QTest::addColumn<qulonglong>("n");
    QTest::addColumn<QString>("texto");
    QTest::newRow("none") << 0ULL << "0 instrucciones";
    QTest::newRow("one") << 1ULL << "1 instrucción";
    QTest::newRow("two") << 2ULL << "2 instrucciones";
    QTest::newRow("grouped") << 1001ULL << "1.001 instrucciones";
  }
  void cantidad() {
    QFETCH(qulonglong, n);
    QFETCH(QString, texto);
    QCOMPARE(QString::fromStdString(Cantidad(n, "instrucción", "instrucciones")), texto);
  }
};

QTEST_APPLESS_MAIN(tst_Textos)
#include "tst_Textos.moc"
