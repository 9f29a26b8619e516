#include <QtTest>

#include "Grabadora.h"

class tst_Ejecutor : public QObject {
  Q_OBJECT

 private slots:
  // One instruction executed from the keypad address, in a free run, so that
  // every stop must switch step mode back on before its message.
  void instruccion_data() {
    QTest::addColumn<QString>("antes");
    QTest::addColumn<QString>("palabra");
    QTest::addColumn<QString>("despues");
    QTest::addColumn<QString>("mensaje");

    const QString ninguno;
    const QString lectura = QString::fromUtf8(Mensaje_Lectura_Ilegal);
    const QString escritura = QString::fromUtf8(Mensaje_Escritura_Ilegal);
    const QString puerto = QString::fromUtf8(Mensaje_Puerto);

    QTest::newRow("ADDS signed overflow") << "r1=7FFF r2=0001" << "6312" << "r3=8000 flags=0101 PC=0101" << ninguno;
    QTest::newRow("ADDS carry to zero") << "r1=FFFF r2=0001 flags=0101" << "6312" << "r3=0000 flags=1010" << ninguno;
    QTest::newRow("ADDS negatives overflow") << "r1=8000 r2=8000" << "6312" << "r3=0000 flags=1011" << ninguno;
    QTest::newRow("ADDS reads Rs before Rt, same register") << "r1=0003" << "6111" << "r1=0006 flags=0000" << ninguno;
    QTest::newRow("SUBS borrow") << "r1=0000 r2=0001" << "7312" << "r3=FFFF flags=0110" << ninguno;
    QTest::newRow("SUBS overflow") << "r1=8000 r2=0001" << "7312" << "r3=7FFF flags=0001" << ninguno;
    QTest::newRow("SUBS zero minuend no V") << "r1=0000 r2=8000" << "7312" << "r3=8000 flags=0110" << ninguno;
    QTest::newRow("SUBS positive minus negative") << "r1=7FFF r2=FFFF" << "7312" << "r3=8000 flags=0111" << ninguno;
    QTest::newRow("SUBS equal") << "r1=1234 r2=1234 flags=0111" << "7312" << "r3=0000 flags=1000" << ninguno;
    QTest::newRow("NAND keeps C and V") << "r1=FFFF r2=FFFF flags=0011" << "8312" << "r3=0000 flags=1011" << ninguno;
    QTest::newRow("NAND negative") << "r1=0F0F r2=00FF flags=1000" << "8312" << "r3=FFF0 flags=0100" << ninguno;
    QTest::newRow("SHL out of bit 15") << "r4=8000 flags=0001" << "9400" << "r4=0000 flags=1011" << ninguno;
    QTest::newRow("SHL into sign") << "r4=4001" << "9400" << "r4=8002 flags=0100" << ninguno;
    QTest::newRow("SHR zero into 15") << "r4=8001 flags=0100" << "A400" << "r4=4000 flags=0010" << ninguno;
    QTest::newRow("SHRA keeps 15") << "r4=8001" << "B400" << "r4=C000 flags=0110" << ninguno;
    QTest::newRow("SHRA to zero") << "r4=0001" << "B400" << "r4=0000 flags=1010" << ninguno;
    QTest::newRow("LLI") << "r3=FFFF" << "237F" << "r3=007F" << ninguno;
    QTest::newRow("LHI keeps low byte") << "r3=007F" << "3312" << "r3=127F" << ninguno;
    QTest::newRow("LD last stored word") << "rD=EF00 mEFFF=BEEF" << "01FF" << "r1=BEEF PC=0101 AR=0101" << ninguno;
    QTest::newRow("LD into monitor area") << "rD=EF01 r1=1111" << "01FF" << "r1=1111 PC=0101" << lectura;
    QTest::newRow("ST") << "rD=0100 r2=ABCD" << "1210" << "m0110=ABCD" << ninguno;
    QTest::newRow("ST beyond FFFF") << "rD=FFF0 r2=ABCD" << "1220" << "PC=0101" << escritura;
    QTest::newRow("ST at F000") << "rD=F000 r2=ABCD" << "1200" << "PC=0101" << escritura;
    QTest::newRow("IN last port") << "i3F=BEEF" << "413F" << "r1=BEEF" << ninguno;
    QTest::newRow("IN port 40") << "r1=1111" << "4140" << "r1=1111 PC=0101" << puerto;
    QTest::newRow("OUT port 01 group") << "r2=CAFE" << "5201" << "o01=CAFE" << ninguno;
    QTest::newRow("OUT port 03 only") << "r2=CAFE o01=0000" << "5203" << "o03=CAFE o01=0000" << ninguno;
    QTest::newRow("OUT port FF") << "r2=CAFE" << "52FF" << "PC=0101" << puerto;
    QTest::newRow("BZ taken keeps AR DR") << "rD=0300 flags=1000 AR=1111 DR=2222 m0300=F000" << "C100" << "PC=0300 IR=F000 AR=1111 DR=2222" << ninguno;
    QTest::newRow("BZ not taken") << "rD=0300 flags=0000" << "C100" << "PC=0101 AR=0101" << ninguno;
    QTest::newRow("B condition 5 never") << "rD=0300 flags=1111" << "C500" << "PC=0101" << ninguno;
    QTest::newRow("CALLV taken") << "rD=0300 rE=F000 flags=0001 m0300=2101" << "D400" << "PC=0300 IR=2101 AR=0300 DR=2101 rE=EFFF mEFFF=0101" << ninguno;
    QTest::newRow("CALL condition F never") << "rD=0300 rE=F000" << "DF00" << "PC=0101 rE=F000" << ninguno;
    QTest::newRow("CALL with empty stack wraps") << "rD=0300 rE=0000" << "D000" << "rE=FFFF PC=0300" << escritura;
    QTest::newRow("RET") << "rE=EFFF mEFFF=0101 m0101=F000" << "E000" << "PC=0101 IR=F000 AR=0101 DR=F000 rE=F000" << ninguno;
    QTest::newRow("RET from monitor area") << "rE=F000" << "E000" << "PC= IR= AR= DR= rE=F001" << ninguno;
    QTest::newRow("RET wraps stack") << "rE=FFFF" << "E000" << "PC= rE=0000" << ninguno;
    // Texts a student typed or a state file held, which are not the upper-case
    // words the machine writes: read as their digits say.
    QTest::newRow("ADDS lower-case register") << "r1=00ff r2=0001" << "6312" << "r3=0100" << ninguno;
    QTest::newRow("LHI lower-case low byte") << "r3=00ff" << "3312" << "r3=12ff" << ninguno;
    QTest::newRow("LD bad digit in RD") << "rD=1X00 m0FFF=BEEF" << "01FF" << "r1=BEEF" << ninguno;
    QTest::newRow("BR to lower-case RD") << "rD=0a00 m0A00=2101" << "C000" << "PC=0a00 IR=2101" << ninguno;
    QTest::newRow("HALT") << "m0101=1234" << "F000" << "PC=0101 IR=1234 AR=0101 DR=1234" << QString::fromUtf8(Mensaje_Fin);
  }

  void instruccion() {
    QFETCH(QString, antes);
    QFETCH(QString, palabra);
    QFETCH(QString, despues);
    QFETCH(QString, mensaje);

    TMaquina_Prueba m;
    m.E.Escribir_Palabra(0x100, palabra.toStdString());
    Aplicar(m.E, antes);
    m.Teclear("0100");
    m.E.BPasoPasoClick();  // free run armed
    m.E.BEjecutarClick();

    Comprobar(m.E, despues);
    if (mensaje.isEmpty()) {
      QVERIFY(m.Pantalla.Mensajes.empty());
      QCOMPARE(m.E.Estado_Maquina.Modo_Paso_a_Paso, uint8_t{0});
    } else {
      QCOMPARE(m.Pantalla.Mensajes.size(), size_t{1});
      QCOMPARE(QString::fromStdString(m.Pantalla.Mensajes[0]), mensaje);
      // The run was stopped before the message box could let a tick through.
      QCOMPARE(m.Pantalla.Paso_a_Paso_en_Mensaje[0], 1);
      QVERIFY(m.E.Panel.LPP);
      QCOMPARE(QString::fromStdString(m.E.Panel.Caption_MModoPasoapaso), QString("Desactivar modo Paso a Paso"));
    }
    QCOMPARE(m.E.Opciones_Entorno.Modo_Consola, uint8_t{2});
  }

  // Past the last stored word PC reaches F000, where nothing executes and
  // nothing is reported; nor at a PC that is not a word.
  void fin_de_memoria_y_monitor() {
    TMaquina_Prueba m;
    Aplicar(m.E, "mEFFF=2101");
    m.Teclear("EFFF");
    m.E.BEjecutarClick();
    Comprobar(m.E, "PC=F000 IR= r1=0001");
    m.E.BContinuarClick();
    Comprobar(m.E, "PC=F000 IR= AR=F000");
    Aplicar(m.E, "m0AB0=2177 PC=AB");  // what "AB" would wrongly address
    m.E.BContinuarClick();
    Comprobar(m.E, "PC=AB IR= r1=0001");
    QVERIFY(m.Pantalla.Mensajes.empty());
    for (int32_t a : {-1, 0xF000, 0xFFFF}) QCOMPARE(m.E.Leer_Palabra(a), std::string());
  }

  void escritura_en_memoria_acortada() {
    TMaquina_Prueba m;
    // Memory one byte short, as after Ctrl+Delete in the memory editor.
    std::vector<uint8_t> bytes(Bytes_Memoria - 1, 0);
    m.E.Memoria.LoadFromBytes(bytes.data(), bytes.size());
    Comprobar(m.E, "mEFFF=00");
    Aplicar(m.E, "rD=EFFF r2=ABCD m0100=1200");  // ST [RD+H'00], R2
    m.Teclear("0100");
    m.E.BPasoPasoClick();
    m.E.BEjecutarClick();
    // The high byte is stored, the low one refused; the instruction ends there.
    Comprobar(m.E, "mEFFF=AB PC=0100");
    QCOMPARE(m.Pantalla.Mensajes, std::vector<std::string>{"Invalid SetMemory index"});
    QCOMPARE(m.Pantalla.Paso_a_Paso_en_Mensaje[0], 1);
  }

  // The machine reads a word as the memory editor shows it, digits of each
  // byte swapped when the editor swaps them.
  void palabra_con_digitos_cambiados() {
    TMaquina_Prueba m;
    m.E.Memoria.SwapNibbles = true;
    m.E.Memoria.SetMemory(0x200, 0x32);
    m.E.Memoria.SetMemory(0x201, 0x50);
    m.Teclear("0100");
    m.E.BEjecutarClick();
    Comprobar(m.E, "r3=0005");
    QCOMPARE(m.E.Leer_Palabra(0x100), std::string("2305"));
  }

  void escribir_palabra() {
    TMaquina_Prueba m;
    m.E.Escribir_Palabra(0xEFFF, "1234");
    QCOMPARE(m.E.Memoria.ByteAt(0x1DFFE), uint8_t{0x12});
    QCOMPARE(m.E.Memoria.ByteAt(0x1DFFF), uint8_t{0x34});
    QVERIFY(!m.E.Memoria.IsChanged(0x1DFFE));
    m.E.Escribir_Palabra(0x10, "XX3*");  // pairs that are not bytes store FF
    QCOMPARE(m.E.Leer_Palabra(0x10), std::string("FFFF"));
  }
};

QTEST_APPLESS_MAIN(tst_Ejecutor)
#include "tst_Ejecutor.moc"
