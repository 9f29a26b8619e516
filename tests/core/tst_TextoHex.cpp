#include <QtTest>

#include <set>

#include "core/Aleatorio.h"
#include "core/TextoHex.h"

class tst_TextoHex : public QObject {
  Q_OBJECT

 private slots:
  // A word reads four digits and a byte two; -1 for a byte that is not one.
  void texto_a_valor_data() {
    QTest::addColumn<int>("digitos");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("valor");
    QTest::newRow("F000") << 4 << "F000" << 61440;
    QTest::newRow("lower case") << 4 << "00ff" << 255;
    QTest::newRow("XXXX") << 4 << "XXXX" << -4369;
    QTest::newRow("only four count") << 4 << "123456" << 0x1234;
    QTest::newRow("short text") << 4 << "12" << 0x1200 - 16 - 1;
    QTest::newRow("empty") << 4 << "" << -4369;
    QTest::newRow("one bad digit") << 4 << "1X00" << 4096 - 256;
    QTest::newRow("byte 7F") << 2 << "7F" << 127;
    QTest::newRow("byte X0") << 2 << "X0" << -1;
    QTest::newRow("byte 0X") << 2 << "0X" << -1;
    QTest::newRow("byte: first two only") << 2 << "7F00" << 127;
    QTest::newRow("byte FF") << 2 << "FF" << 255;
    QTest::newRow("byte too short") << 2 << "7" << -1;
  }
  void texto_a_valor() {
    QFETCH(int, digitos);
    QFETCH(QString, texto);
    QFETCH(int, valor);
    const std::string t = texto.toStdString();
    QCOMPARE(digitos == 4 ? Texto_a_Palabra(t) : Texto_a_Byte(t), valor);
  }

  void palabra_a_texto_data() {
    QTest::addColumn<int>("valor");
    QTest::addColumn<QString>("palabra");
    QTest::addColumn<QString>("entero");
    QTest::newRow("65535") << 65535 << "FFFF" << "FFFF";
    QTest::newRow("65536 wraps") << 65536 << "0000" << "0000";
    QTest::newRow("61440") << 61440 << "F000" << "F000";
    QTest::newRow("-1") << -1 << "000X" << "FFFF";
    QTest::newRow("-32768") << -32768 << "X000" << "8000";
    QTest::newRow("32767") << 32767 << "7FFF" << "7FFF";
    QTest::newRow("-4369") << -4369 << "XXXX" << "EEEF";
  }
  void palabra_a_texto() {
    QFETCH(int, valor);
    QFETCH(QString, palabra);
    QFETCH(QString, entero);
    QCOMPARE(QString::fromStdString(Palabra_a_Texto(valor)), palabra);
    QCOMPARE(QString::fromStdString(Entero_a_Texto(valor)), entero);
  }

  void digitos() {
    QCOMPARE(Valor_Digito('b'), 11);
    QCOMPARE(Valor_Digito('B'), 11);
    QCOMPARE(Valor_Digito('g'), -1);
    QCOMPARE(Valor_Digito('*'), -1);
    QCOMPARE(Hex_Caracter(15), 'F');
    QCOMPARE(Hex_Caracter(16), '*');
    QCOMPARE(Digito_Hex(16), 'X');
    QCOMPARE(Digito_Hex(-3), 'X');
    QCOMPARE(Digito_Hex(10), 'A');
  }

  // Every digit comes up, and a seed repeats its series: the same texts and
  // bytes, in the same order, as saved runs of earlier versions expect.
  void aleatorio() {
    TAleatorio generador(7);
    std::string serie;
    for (int i = 0; i < 500; ++i) serie += generador.Texto_Hex();
    QCOMPARE(serie.substr(0, 12), std::string("B4DFFD01628B"));
    const std::set<char> vistos(serie.begin(), serie.end());
    QCOMPARE(std::string(vistos.begin(), vistos.end()), std::string("0123456789ABCDEF"));
    generador.Sembrar(7);
    generador.Texto_Hex();
    generador.Texto_Hex();
    generador.Texto_Hex();
    QCOMPARE(generador.Byte(), uint8_t{240});
    QCOMPARE(generador.Numero(1000), 880u);
  }
};

QTEST_APPLESS_MAIN(tst_TextoHex)
#include "tst_TextoHex.moc"
