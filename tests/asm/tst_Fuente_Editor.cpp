#include <QtTest>

#include "asm/Fuente_Editor.h"

namespace {

// "M0,3 R4,2 ..." : each piece as class letter, start, length.
QString Piezas(std::string_view linea) {
  QStringList texto;
  for (const TPieza& p : Piezas_Linea(linea)) {
    const char* clase = "MDRCEK";
    texto << QStringLiteral("%1%2,%3").arg(QLatin1Char(clase[static_cast<int>(p.Clase)])).arg(p.Inicio).arg(p.Largo);
  }
  return texto.join(QLatin1Char(' '));
}

}  // namespace

class tst_Fuente_Editor : public QObject {
  Q_OBJECT

 private slots:
  void piezas_data() {
    QTest::addColumn<QString>("linea");
    QTest::addColumn<QString>("piezas");
    QTest::newRow("instruccion") << "ADDS R1, r2, RF" << "M0,4 R5,2 R9,2 R13,2";
    QTest::newRow("etiqueta y comentario") << "bucle: subs r3,r3,r4 ; uno menos" << "E0,5 M7,4 R12,2 R15,2 R18,2 K21,11";
    QTest::newRow("etiqueta con blanco antes de :") << "fin  :HALT" << "E0,3 M6,4";
    QTest::newRow("constantes") << "LLI R1, H'fF ; x" << "M0,3 R4,2 C8,4 K13,3";
    QTest::newRow("decimal y LO de etiqueta") << "LLI RD, LO( doble )" << "M0,3 R4,2 C8,2 E12,5";
    QTest::newRow("HI sin parentesis es una etiqueta") << "DW hi" << "D0,2 E3,2";
    QTest::newRow("directivas") << "org H'0100" << "D0,3 C4,6";
    QTest::newRow("LD con memoria") << "LD R1, [RD+H'10]" << "M0,2 R3,2 R8,2 C11,4";
    QTest::newRow("R10 no es registro") << "DW R10" << "D0,2 E3,3";
    QTest::newRow("acentos cuentan como un caracter") << "; año\nno" << "K0,8";
    QTest::newRow("nombre con acento") << "año: HALT" << "E0,3 M5,4";
    QTest::newRow("vacia") << "" << "";
    QTest::newRow("solo comentario") << ";" << "K0,1";
  }
  void piezas() {
    QFETCH(QString, linea);
    QFETCH(QString, piezas);
    QCOMPARE(Piezas(linea.toStdString()), piezas);
  }

  // The span an error underlines, from the assembler's real columns.
  void tramo_error_data() {
    QTest::addColumn<QString>("fuente");
    QTest::addColumn<int>("inicio");
    QTest::addColumn<int>("fin");
    QTest::newRow("mnemonico desconocido") << "   ADSS R1, R2, R3" << 3 << 7;
    QTest::newRow("etiqueta no definida") << "LLI RD, LO(nada)" << 11 << 15;
    QTest::newRow("constante fuera de rango") << "LLI R1, H'100" << 8 << 13;
    QTest::newRow("falta la coma: al final") << "LLI R1" << 5 << 6;
    QTest::newRow("puntuacion: un caracter") << "LD R1, (RD+1)" << 7 << 8;
    QTest::newRow("acento antes") << "; á\nZZZ" << 0 << 3;
  }
  void tramo_error() {
    QFETCH(QString, fuente);
    QFETCH(int, inicio);
    QFETCH(int, fin);
    const std::string texto = fuente.toStdString();
    const TResultado_Ensamblado r = Ensamblar(texto);
    QVERIFY(!r.Errores.empty());
    const TError_Ensamblado& e = r.Errores.front();
    const auto lineas = Dividir_Lineas(texto);
    QCOMPARE(Tramo_Error(lineas[static_cast<std::size_t>(e.Linea - 1)], e.Columna), (TTramo_Error{inicio, fin}));
  }
  void tramo_error_bordes() {
    QCOMPARE(Tramo_Error("", 1), (TTramo_Error{0, 0}));
    QCOMPARE(Tramo_Error("X", 9), (TTramo_Error{0, 1}));
    QCOMPARE(Tramo_Error("XY ; c", 4), (TTramo_Error{3, 4}));
  }

  // Each word's line, from a source with ORG blocks, comments, a label
  // alone, the last address of program memory and a last line with no break.
  void mapa_lineas_data() {
    QTest::addColumn<int>("linea");
    QTest::addColumn<int>("direccion");
    QTest::addColumn<int>("con_palabra");
    QTest::newRow("comentario antes de todo") << 1 << -1 << 3;
    QTest::newRow("ORG no escribe") << 2 << -1 << 3;
    QTest::newRow("primera palabra") << 3 << 0x0100 << 3;
    QTest::newRow("etiqueta sola") << 4 << -1 << 5;
    QTest::newRow("llamada") << 5 << 0x0101 << 5;
    QTest::newRow("linea en blanco") << 6 << -1 << 8;
    QTest::newRow("ORG al final de la memoria") << 7 << -1 << 8;
    QTest::newRow("EFFF") << 8 << 0xEFFF << 8;
    QTest::newRow("comentario final") << 9 << -1 << 0;
    QTest::newRow("linea cero") << 0 << -1 << 3;
    QTest::newRow("mas alla del texto") << 40 << -1 << 0;
  }
  void mapa_lineas() {
    QFETCH(int, linea);
    QFETCH(int, direccion);
    QFETCH(int, con_palabra);
    const TResultado_Ensamblado r = Ensamblar(
        "; suma\n ORG H'100\n LLI R1, 5\nsub:\n CALLR\n\n ORG H'EFFF\n HALT\n; fin");
    QVERIFY(r.Errores.empty());
    const TMapa_Lineas mapa(r.Palabras);
    QCOMPARE(mapa.Direccion(linea), direccion);
    QCOMPARE(mapa.Linea_con_Palabra(linea), con_palabra);
    if (direccion >= 0) QCOMPARE(mapa.Linea(direccion), linea);
  }
  void mapa_lineas_direcciones() {
    const TMapa_Lineas mapa(Ensamblar(" ORG H'EFFF\n HALT").Palabras);
    QCOMPARE(mapa.Linea(0xEFFF), 2);
    QCOMPARE(mapa.Linea(0xEFFE), 0);
    QCOMPARE(mapa.Linea(0xF000), 0);
    QCOMPARE(mapa.Linea(0xFFFF), 0);
    QCOMPARE(mapa.Linea(0x10000), 0);
    QCOMPARE(mapa.Linea(-1), 0);
    QVERIFY(TMapa_Lineas().Vacio());
    QCOMPARE(TMapa_Lineas().Linea_con_Palabra(1), 0);
  }

  // Labels are known with errors elsewhere, with their addresses.
  void etiquetas_con_errores() {
    const TResultado_Ensamblado r = Ensamblar(" ORG H'100\nInicio: LLI R1, 1\n MAL\nDoble: DW 0\nInicio: HALT");
    QCOMPARE(r.Errores.size(), std::size_t{2});
    QCOMPARE(r.Etiquetas.size(), std::size_t{2});
    QCOMPARE(r.Etiquetas[0].Nombre, std::string("Inicio"));
    QCOMPARE(r.Etiquetas[0].Direccion, int64_t{0x100});
    QCOMPARE(r.Etiquetas[1].Nombre, std::string("Doble"));
    QCOMPARE(r.Etiquetas[1].Direccion, int64_t{0x102});
    QCOMPARE(r.Etiquetas[1].Linea, 4);
  }

  void completar() {
    const std::vector<TEtiqueta_Ensamblada> etiquetas = {{"sumar", 0, 1}, {"Salida", 1, 2}, {"SUBS", 2, 3}};
    const auto lista = [&](const char* prefijo) {
      QStringList nombres;
      for (const std::string& n : Completar(prefijo, etiquetas)) nombres << QString::fromStdString(n);
      return nombres.join(QLatin1Char(' '));
    };
    QCOMPARE(lista("s"), QStringLiteral("ST SUBS SHL SHR SHRA sumar Salida"));
    QCOMPARE(lista("CALL"), QStringLiteral("CALLR CALLZ CALLS CALLC CALLV"));
    QCOMPARE(lista("o"), QStringLiteral("OUT ORG"));
    QCOMPARE(lista("x"), QString());
    QCOMPARE(Completar("", etiquetas).size(), std::size_t{26 + 2});
  }

  void resumen() {
    QCOMPARE(QString::fromStdString(Resumen_Ensamblado(Ensamblar(" ORG H'EFFE\n DW 1\n HALT"))),
             QStringLiteral("Sin errores: 2 palabras, de EFFE a EFFF"));
    QCOMPARE(QString::fromStdString(Resumen_Ensamblado(Ensamblar("HALT"))),
             QStringLiteral("Sin errores: 1 palabra, de 0000 a 0000"));
  }
};

QTEST_MAIN(tst_Fuente_Editor)
#include "tst_Fuente_Editor.moc"
