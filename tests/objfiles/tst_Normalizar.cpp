#include <QtTest>

#include <random>

#include "objfiles/HEXPARSER.h"
#include "objfiles/Normalizar.h"
#include "objfiles/Palabras_EHC.h"

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
    QTest::newRow("leading and trailing blanks")
        << QByteArray("\t  :020010002105EF \t") << QByteArray(":020010002105EF");
    QTest::newRow("inner runs become one space") << QByteArray("a \t\n b  c") << QByteArray("A B C");
    QTest::newRow("comment cut at the first semicolon") << QByteArray("10 2105 ; x ; y") << QByteArray("10 2105");
    QTest::newRow("blanks before the comment") << QByteArray("a5   ;") << QByteArray("A5");
    QTest::newRow("carriage return is not blank") << QByteArray("a\rb") << QByteArray("A\rB");
    QTest::newRow("NUL is not blank") << QByteArray("a\0 b", 4) << QByteArray("A\0 B", 4);
  }
  void normalizar() {
    QFETCH(QByteArray, linea);
    QFETCH(QByteArray, normalizada);
    const std::string_view texto(linea.constData(), static_cast<size_t>(linea.size()));
    QCOMPARE(QByteArray::fromStdString(Normalizar_Linea(texto)), normalizada);
    // The same line fed byte by byte, as the reader does.
    TNormalizador_Linea normalizador;
    for (char c : texto) normalizador.Agregar(c);
    QCOMPARE(QByteArray::fromStdString(normalizador.Texto()), normalizada);
  }

  void blancos() {
    for (char c : {' ', '\t', '\n'}) QVERIFY(Es_Blanco(c));
    for (char c : {'\r', '\0', '\v', '\f', 'a', ';'}) QVERIFY(!Es_Blanco(c));
    QCOMPARE(Contar_Palabras("\t10  \t 2105 \n"), 2);
  }

  // The streaming normaliser agrees with Normalizar_Linea on random lines up
  // to the length limit, and past it keeps the first characters.
  void normalizador_por_bytes() {
    std::mt19937 azar(42);
    const std::string alfabeto = "aZ09:;; \t\n\r\x1a\xe9";
    for (int prueba = 0; prueba < 2000; ++prueba) {
      std::string linea(azar() % 1200, ' ');
      for (char& c : linea) c = alfabeto[azar() % alfabeto.size()];
      TNormalizador_Linea normalizador;
      for (char c : linea) normalizador.Agregar(c);
      const std::string completa = Normalizar_Linea(linea);
      if (completa.size() <= Longitud_Maxima_Linea) {
        QCOMPARE(normalizador.Texto(), completa);
      } else {
        QCOMPARE(normalizador.Texto(), completa.substr(0, Longitud_Maxima_Linea) + std::string(Marca_Recorte));
      }
    }
  }

  void linea_hex_valida_data() {
    QTest::addColumn<QString>("linea");
    QTest::addColumn<bool>("valida");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("record") << ":020010002105EF" << true;
    QTest::newRow("lower-case digits") << ":0200100012abef" << true;
    QTest::newRow("end record is not a data record") << ":00000001FF" << false;
    QTest::newRow("one short") << ":020010002105E" << false;
    QTest::newRow("one long") << ":020010002105EF0" << false;
    QTest::newRow("no colon") << "0020010002105EF" << false;
    QTest::newRow("letter beyond F") << ":02001G002105EF" << false;
    QTest::newRow("blank inside") << ":0200 10002105E" << false;
    QTest::newRow("colon inside") << "::20010002105EF" << false;
  }
  void linea_hex_valida() {
    QFETCH(QString, linea);
    QFETCH(bool, valida);
    QCOMPARE(Linea_Hex_Valida(linea.toStdString()), valida);
  }

  void digito_hex() {
    for (int c = 0; c < 256; ++c) {
      const bool debe = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
      QCOMPARE(Es_Digito_Hex(static_cast<char>(c)), debe);
    }
  }

  void palabras_data() {
    QTest::addColumn<QString>("linea");
    QTest::addColumn<int>("cuenta");
    QTest::addColumn<QString>("primera");
    QTest::addColumn<QString>("segunda");
    QTest::newRow("empty") << "" << 0 << "" << "";
    QTest::newRow("one word") << "A5" << 1 << "A5" << "A5";
    QTest::newRow("two words") << "10 2105" << 2 << "10" << "2105";
    QTest::newRow("three words") << "6 1 2" << 3 << "6" << "1";
    QTest::newRow("word of one character each") << "A 5" << 2 << "A" << "5";
  }
  void palabras() {
    QFETCH(QString, linea);
    QFETCH(int, cuenta);
    QFETCH(QString, primera);
    QFETCH(QString, segunda);
    const std::string texto = linea.toStdString();
    QCOMPARE(Contar_Palabras(texto), cuenta);
    QCOMPARE(QString::fromStdString(std::string(Extraer_Palabra(texto, 1))), primera);
    QCOMPARE(QString::fromStdString(std::string(Extraer_Palabra(texto, 2))), segunda);
  }

  void rellenar_izquierda_data() {
    QTest::addColumn<QString>("palabra");
    QTest::addColumn<QString>("rellena");  // "-": fails
    QTest::newRow("empty") << "" << "0000";
    QTest::newRow("one digit") << "F" << "000F";
    QTest::newRow("three digits") << "1AB" << "01AB";
    QTest::newRow("full width unchanged") << "EFFF" << "EFFF";
    QTest::newRow("too long") << "12345" << "-";
  }
  void rellenar_izquierda() {
    QFETCH(QString, palabra);
    QFETCH(QString, rellena);
    const auto resultado = Rellenar_Izquierda(palabra.toStdString(), 4, '0');
    QCOMPARE(resultado ? QString::fromStdString(*resultado) : QStringLiteral("-"), rellena);
  }
};

QTEST_GUILESS_MAIN(tst_Normalizar)
#include "tst_Normalizar.moc"
