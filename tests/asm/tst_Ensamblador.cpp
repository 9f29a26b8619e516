#include <QtTest>

#include "../core/Grabadora.h"
#include "asm/Ensamblador.h"
#include "asm/Programa_Objeto.h"
#include "core/TextoHex.h"
#include "disasm/UNASM.h"
#include "objfiles/Cargador.h"

namespace {

QStringList Palabras(const TResultado_Ensamblado& r) {
  QStringList palabras;
  for (const auto& p : r.Palabras)
    palabras << QString::fromStdString(Palabra_a_Texto(p.Direccion) + " " + Palabra_a_Texto(p.Palabra));
  return palabras;
}

QStringList Errores(const TResultado_Ensamblado& r) {
  QStringList errores;
  for (const auto& e : r.Errores)
    errores << QStringLiteral("%1:%2: %3").arg(e.Linea).arg(e.Columna).arg(QString::fromStdString(e.Mensaje));
  return errores;
}

// The form the assembler writes: zero in every digit the operation ignores,
// and a branch or call condition the listing names (0 to 4).
bool Forma_Canonica(int32_t w) {
  switch (w >> 12) {
    case 0x9: case 0xA: case 0xB: return (w & 0xFF) == 0;
    case 0xC: case 0xD: return (w & 0xFF) == 0 && ((w >> 8) & 0xF) <= 4;
    case 0xE: case 0xF: return (w & 0xFFF) == 0;
    default: return true;
  }
}

}  // namespace

class tst_Ensamblador : public QObject {
  Q_OBJECT

 private slots:
  // Every word's listing text assembles back to the word, in upper and lower
  // case; a word with ignored digits set gives one that lists the same.
  void ida_y_vuelta() {
    int canonicas = 0;
    for (int32_t w = 0; w <= 0xFFFF; ++w) {
      const std::string texto = Desensamblar(Palabra_a_Texto(w));
      const QString contexto = QString::fromStdString(Palabra_a_Texto(w) + " " + texto);
      for (const std::string& fuente : {texto, QString::fromStdString(texto).toLower().toStdString()}) {
        const TResultado_Ensamblado r = Ensamblar(fuente);
        if (!r.Errores.empty() || r.Palabras.size() != 1 || r.Palabras[0].Direccion != 0)
          QFAIL(qPrintable(contexto + " does not assemble to one word at 0000"));
        const int32_t obtenida = r.Palabras[0].Palabra;
        if (Forma_Canonica(w) ? obtenida != w : Desensamblar(Palabra_a_Texto(obtenida)) != texto)
          QFAIL(qPrintable(contexto + " gives " + QString::fromStdString(Palabra_a_Texto(obtenida))));
      }
      canonicas += Forma_Canonica(w);
    }
    // 9 operations with every digit used, 3 shifts x 16, 2 x 5 conditions, RET, HALT.
    QCOMPARE(canonicas, 9 * 4096 + 3 * 16 + 2 * 5 + 2);
  }

  void fuente_correcta_data() {
    QTest::addColumn<QString>("fuente");
    QTest::addColumn<QStringList>("palabras");
    QTest::newRow("una línea") << "HALT" << QStringList{"0000 F000"};
    QTest::newRow("CR LF, CR, sin salto final") << "LLI R1, 5\r\nLLI R2, H'03\rADDS R3, R1, R2\nHALT"
                                                << QStringList{"0000 2105", "0001 2203", "0002 6312", "0003 F000"};
    QTest::newRow("minúsculas, tabuladores, RF") << "  lli\trf ,h'ff ; comentario\n\tshra rf"
                                                 << QStringList{"0000 2FFF", "0001 BF00"};
    QTest::newRow("decimal en sus límites") << "LLI R1, 255\nDW 65535\nDW 0\nLD R0, [RD+0]"
                                            << QStringList{"0000 21FF", "0001 FFFF", "0002 0000", "0003 0000"};
    QTest::newRow("LO y HI, etiquetas antes y después")
        << "ORG H'1234\nbucle: LLI RD, LO(bucle)\n LHI RD, hi( bucle )\n BR\n DW fin\nfin: DW BUCLE"
        << QStringList{"1234 2D34", "1235 3D12", "1236 C000", "1237 1238", "1238 1234"};
    QTest::newRow("etiqueta que cabe en un byte") << "LLI RD, fin\nORG H'FF\nfin: HALT"
                                                  << QStringList{"0000 2DFF", "00FF F000"};
    QTest::newRow("EFFF, y una etiqueta en F000") << "ORG H'EFFF\nRET\nfin:\nORG 0\nDW fin"
                                                  << QStringList{"EFFF E000", "0000 F000"};
    QTest::newRow("ORG atrás a un hueco") << "ORG 3\nHALT\nORG 0\nRET\nRET\nRET"
                                          << QStringList{"0003 F000", "0000 E000", "0001 E000", "0002 E000"};
    QTest::newRow("marca BOM, varias etiquetas") << "\xEF\xBB\xBF; c\nORG 7\na:\nb: c: DW a\n"
                                                 << QStringList{"0007 0007"};
    QTest::newRow("LD y ST con blancos") << "LD RF, [RD+H'FF]\nST [ RD + 0 ], R0"
                                         << QStringList{"0000 0FFF", "0001 1000"};
  }
  void fuente_correcta() {
    QFETCH(QString, fuente);
    QFETCH(QStringList, palabras);
    const TResultado_Ensamblado r = Ensamblar(fuente.toStdString());
    QCOMPARE(Errores(r), QStringList());
    QCOMPARE(Palabras(r), palabras);
  }

  void fuente_erronea_data() {
    QTest::addColumn<QString>("fuente");
    QTest::addColumn<QStringList>("errores");
    const QString registro = QStringLiteral("se esperaba un registro R0..RF");
    QTest::newRow("vacía") << "" << QStringList{"1:1: el programa no coloca ninguna palabra en memoria"};
    QTest::newRow("solo comentarios") << "; nada\n\n" << QStringList{"1:1: el programa no coloca ninguna palabra en memoria"};
    QTest::newRow("R10 y RG") << "SHL R10\nSHR RG" << QStringList{"1:5: " + registro, "2:5: " + registro};
    QTest::newRow("falta un registro") << "ADDS R1, R2" << QStringList{"1:12: se esperaba una coma"};
    QTest::newRow("H'1FF en un byte") << "LLI R1, H'1FF" << QStringList{"1:9: constante fuera de rango: H'1FF no cabe en un byte"};
    QTest::newRow("256 en un byte") << "OUT 256, R1" << QStringList{"1:5: constante fuera de rango: 256 no cabe en un byte"};
    QTest::newRow("H'10000 en una palabra") << "DW H'10000" << QStringList{"1:4: constante fuera de rango: H'10000 no cabe en una palabra"};
    QTest::newRow("hexadecimal no válido") << "LLI R1, H'5G" << QStringList{"1:9: constante hexadecimal no válida: H'5G"};
    QTest::newRow("decimal no válido") << "DW 0x10" << QStringList{"1:4: constante decimal no válida: 0x10 (en hexadecimal se escribe H'…)"};
    QTest::newRow("ORG con etiqueta") << "x: ORG x" << QStringList{"1:8: se esperaba una dirección: H'xxxx o decimal"};
    QTest::newRow("LO sin cerrar") << "x: LLI R1, LO(x" << QStringList{"1:16: se esperaba )"};
    QTest::newRow("etiqueta no definida") << "LLI RD, LO(bucle)\nBR" << QStringList{"1:12: etiqueta no definida: bucle"};
    QTest::newRow("etiqueta definida dos veces") << "a: HALT\n  A: HALT" << QStringList{"2:3: etiqueta definida dos veces: A (ya en la línea 1)"};
    QTest::newRow("etiqueta que no cabe en un byte")
        << "LLI RD, fin\nORG H'100\nfin: HALT"
        << QStringList{"1:9: constante fuera de rango: fin = H'0100 no cabe en un byte; use LO(fin) o HI(fin)"};
    QTest::newRow("registro como etiqueta") << "RF: HALT" << QStringList{"1:1: RF es un registro y no puede ser una etiqueta"};
    QTest::newRow("acentos: columnas en caracteres") << "año: LLI R1, 256"
        << QStringList{"1:1: nombre no válido: año (solo letras sin acento, dígitos y _)",
                       "1:14: constante fuera de rango: 256 no cabe en un byte"};
    QTest::newRow("base que no es RD") << "LD R1, [RE+1]" << QStringList{"1:9: la base de LD y ST es siempre RD, no RE"};
    QTest::newRow("BR con destino") << "BR bucle\nbucle: HALT" << QStringList{"1:4: BR no lleva operandos: el destino se carga antes en RD"};
    QTest::newRow("instrucción desconocida") << "MOV R1, R2" << QStringList{"1:1: instrucción o directiva desconocida: MOV"};
    QTest::newRow("sobra un operando") << "HALT\nSHL R1, R2" << QStringList{"2:7: se esperaba el fin de la línea o un comentario (;)"};
    QTest::newRow("monitor, una vez") << "ORG H'EFFF\nHALT\nHALT\nHALT"
        << QStringList{"3:1: la palabra caería en H'F000, en el área del monitor (F000..FFFF)"};
    QTest::newRow("una línea errónea ocupa su palabra") << "ORG H'EFFF\nFOO\nHALT"
        << QStringList{"2:1: instrucción o directiva desconocida: FOO",
                       "3:1: la palabra caería en H'F000, en el área del monitor (F000..FFFF)"};
    QTest::newRow("ORG atrás sobre palabras") << "HALT\nHALT\nORG 1\nRET\nRET"
        << QStringList{"4:1: la dirección H'0001 ya tiene una palabra, de la línea 2"};
  }
  void fuente_erronea() {
    QFETCH(QString, fuente);
    QFETCH(QStringList, errores);
    const TResultado_Ensamblado r = Ensamblar(fuente.toStdString());
    QCOMPARE(Errores(r), errores);
    QVERIFY(r.Palabras.empty());
  }

  // What the assembler writes loads with no message, each word at its
  // address, and the listing reads as the source did, in address order.
  void programa_objeto_data() {
    QTest::addColumn<int>("formato");
    QTest::newRow("EHC") << static_cast<int>(TFormato_Objeto::EHC);
    QTest::newRow("HEX") << static_cast<int>(TFormato_Objeto::HEX);
  }
  void programa_objeto() {
    QFETCH(int, formato);
    const TResultado_Ensamblado r =
        Ensamblar("ORG H'EFFF\nLD RF, [RD+H'FF]\nORG 0\nOUT H'3F, R0\nCALLV\nORG H'0100\nSHRA RF\n");
    QCOMPARE(Errores(r), QStringList());
    const std::string texto = Texto_Objeto(r.Palabras, static_cast<TFormato_Objeto>(formato));
    TMaquina_Prueba m;
    TFuente_Memoria fuente(texto);
    QVERIFY(Cargar_Flujo(m.E, static_cast<TFormato_Objeto>(formato), fuente, "prueba"));
    QCOMPARE(m.Pantalla.Mensajes, std::vector<std::string>());
    QCOMPARE(m.E.Listado.Lineas(), (std::vector<std::string>{"[0000]: OUT H'3F, R0", "[0001]: CALLV",
                                                             "[0100]: SHRA RF", "[EFFF]: LD RF, [RD+H'FF]"}));
    for (const auto& p : r.Palabras) QCOMPARE(m.E.Leer_Palabra(p.Direccion), Palabra_a_Texto(p.Palabra));
    // The loader ignores the checksum; other Intel HEX readers do not.
    if (static_cast<TFormato_Objeto>(formato) == TFormato_Objeto::HEX)
      for (const QString& registro : QString::fromStdString(texto).split('\n', Qt::SkipEmptyParts)) {
        int suma = 0;
        for (qsizetype i = 1; i < registro.size(); i += 2) suma += registro.mid(i, 2).toInt(nullptr, 16);
        QVERIFY2(suma % 256 == 0, qPrintable(registro));
      }
  }

  // Each word with its own source line, past blank and comment lines.
  void listado() {
    const std::string fuente = "a: HALT \t\n\n; nada\r\nDW a ; dato";
    QCOMPARE(Texto_Listado(Ensamblar(fuente).Palabras, fuente), std::string("0000 F000  a: HALT\n0001 0000  DW a ; dato\n"));
  }
};

QTEST_APPLESS_MAIN(tst_Ensamblador)
#include "tst_Ensamblador.moc"
