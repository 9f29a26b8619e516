#include <QtTest>

#include "objfiles/Normalizar.h"

// Whole-line normalisation, at once and fed byte by byte as the reader does.
class tst_Normalizar : public QObject {
  Q_OBJECT

 private slots:
  void normalizar_data() {
    QTest::addColumn<QByteArray>("linea");
    QTest::addColumn<QByteArray>("normalizada");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("blanks only") << QByteArray(" \t\n ") << QByteArray();
    QTest::newRow("comment only") << QByteArray("; nota") << QByteArray();
    QTest::newRow("lower case") << QByteArray(":0200100012abef") << QByteArray(":0200100012ABEF");
    QTest::newRow("accented letters stay") << QByteArray("línea ñ") << QByteArray("LíNEA ñ");
    QTest::newRow("leading and trailing blanks") << QByteArray("\t  :020010002105EF \t") << QByteArray(":020010002105EF");
    QTest::newRow("inner runs become one space") << QByteArray("a \t\n b  c") << QByteArray("A B C");
    QTest::newRow("comment cut at the first semicolon") << QByteArray("10 2105 ; x ; y") << QByteArray("10 2105");
    QTest::newRow("blanks before the comment") << QByteArray("a5   ;") << QByteArray("A5");
    QTest::newRow("carriage return, vertical tab, NUL are not blanks")
        << QByteArray("a\r\v\0 b", 6) << QByteArray("A\r\v\0 B", 6);
  }
  void normalizar() {
    QFETCH(QByteArray, linea);
    QFETCH(QByteArray, normalizada);
    const std::string_view texto(linea.constData(), static_cast<size_t>(linea.size()));
    QCOMPARE(QByteArray::fromStdString(Normalizar_Linea(texto)), normalizada);
    TNormalizador_Linea normalizador;
    for (char c : texto) normalizador.Agregar(c);
    QCOMPARE(QByteArray::fromStdString(normalizador.Texto()), normalizada);
  }
};

QTEST_GUILESS_MAIN(tst_Normalizar)
#include "tst_Normalizar.moc"
