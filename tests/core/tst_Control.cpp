// Run control, power, the console keys and the editors' rules.
#include <QtTest>

#include <set>

#include "Grabadora.h"

namespace {

const std::string Desactivar = "Desactivar modo Paso a Paso";
const std::string Activar = "Activar modo Paso a Paso";

// 0000 LLI R1,01  0001 ADDS R2,R2,R1  0002 HALT  0003 LLI R3,33
void Cargar_Contador(TEntorno& e) {
  const char* programa[] = {"2101", "6221", "F000", "2333"};
  for (int a = 0; a < 4; ++a) e.Escribir_Palabra(a, programa[a]);
  e.Fijar_Registro(2, "0000");
}

}  // namespace

class tst_Control : public QObject {
  Q_OBJECT

 private slots:
  void apagada_al_arrancar() {
    TGrabadora pantalla;
    TEntorno e(&pantalla);
    for (int v = 0; v < Numero_Visores; ++v) QCOMPARE(e.Valor(v), std::string("****"));
    QCOMPARE(e.Estado_Maquina.Encendida, uint8_t{0});
    QCOMPARE(e.Estado_Maquina.Modo_Paso_a_Paso, uint8_t{1});
    QCOMPARE(e.Opciones_Entorno.Modo_Consola, uint8_t{2});
    QCOMPARE(e.Opciones_Entorno.Intervalo_Paso, 1000u);
    QVERIFY(!e.Panel.Teclas_Habilitadas && !e.Panel.MModoPasoapaso_Habilitado && !e.Panel.LPP);
    QCOMPARE(e.Panel.Caption_Mododesensamblador1, std::string("Activar Modo desensamblador"));
    // The timer does nothing while TORVIC is off.
    e.RelojTimer();
    QCOMPARE(e.Valor(Visor_PC), std::string("****"));
    // Memory is F000 words for every user: no key may insert or delete a byte.
    QVERIFY(e.Memoria.NoSizeChange() && !e.Memoria.InsertModeInEffect());
    // A fault's box while off: no run to stop, the step lamp stays dark.
    e.Detener_con_Aviso("x");
    QVERIFY(!e.Panel.LPP);
    QCOMPARE(pantalla.Mensajes, std::vector<std::string>{"x"});
  }

  void el_reloj_espera_una_instruccion_de_consola() {
    TMaquina_Prueba m;
    Cargar_Contador(m.E);
    m.Teclear("0000");
    const std::string pc_al_encender = m.E.Valor(Visor_PC);
    for (int i = 0; i < 3; ++i) m.E.RelojTimer();  // step mode: nothing
    QCOMPARE(m.E.Valor(Visor_PC), pc_al_encender);
    m.E.BPasoPasoClick();
    QCOMPARE(m.E.Panel.Caption_MModoPasoapaso, Activar);
    QCOMPARE(m.E.Opciones_Entorno.Modo_Consola, uint8_t{4});
    const std::string pc = m.E.Valor(Visor_PC);
    m.E.RelojTimer();  // armed, but no instruction yet
    QCOMPARE(m.E.Valor(Visor_PC), pc);
    m.E.BEjecutarClick();
    Comprobar(m.E, "PC=0001");
    m.E.RelojTimer();
    Comprobar(m.E, "r2=0001");
    m.E.RelojTimer();  // HALT stops the free run
    QCOMPARE(m.Pantalla.Mensajes, std::vector<std::string>{Mensaje_Fin});
    QCOMPARE(m.E.Estado_Maquina.Modo_Paso_a_Paso, uint8_t{1});
    QVERIFY(m.E.Panel.LPP);
    m.E.RelojTimer();
    Comprobar(m.E, "PC=0003");
    m.E.BContinuarClick();  // resumes after the HALT, once
    Comprobar(m.E, "r3=0033 PC=0004");
  }

  void ejecutar_repite_la_direccion_del_teclado() {
    TMaquina_Prueba m;
    Cargar_Contador(m.E);
    m.Teclear("0001");
    m.E.Fijar_Registro(1, "0001");
    for (int i = 0; i < 3; ++i) m.E.BEjecutarClick();
    Comprobar(m.E, "r2=0003 PC=0002");
  }

  void paso_a_paso_detiene_la_ejecucion_libre() {
    TMaquina_Prueba m;
    Cargar_Contador(m.E);
    m.E.Escribir_Palabra(1, "C000");  // 0001 BR to rD
    m.E.Fijar_Registro(13, "0001");
    m.Teclear("0000");
    m.E.BPasoPasoClick();
    m.E.BEjecutarClick();
    m.E.RelojTimer();
    m.E.BPasoPasoClick();  // step mode back on
    QCOMPARE(m.E.Panel.Caption_MModoPasoapaso, Desactivar);
    const QString antes = QString::fromStdString("PC=" + m.E.Valor(Visor_PC) + " AR=" + m.E.Valor(Visor_AR));
    m.E.Escribir_Palabra(1, "2155");
    m.E.RelojTimer();
    Comprobar(m.E, "r1=0001 " + antes);
  }

  // Row names are the menu's texts; an item outside the table, or an
  // interval not in it, stands for one second.
  void intervalos_de_velocidad_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<uint>("intervalo");
    QTest::newRow("Rápida") << 0 << 1u;
    QTest::newRow("7.0 segundos cada paso") << 7 << 7000u;
    QTest::newRow("below") << -1 << 1000u;
    QTest::newRow("above") << 8 << 1000u;
  }
  void intervalos_de_velocidad() {
    QFETCH(int, item);
    QFETCH(uint, intervalo);
    QCOMPARE(Intervalo_de_Item(item), intervalo);
    const bool en_tabla = item >= 0 && item < Numero_Velocidades;
    QCOMPARE(Item_de_Intervalo(en_tabla ? intervalo : 1234), en_tabla ? item : 3);
    if (en_tabla) QCOMPARE(QString::fromUtf8(Textos_Velocidad[item]), QString::fromUtf8(QTest::currentDataTag()));
    // The dialog's choice is the machine's; the timer follows the panel's notice.
    TGrabadora pantalla;
    TEntorno e(&pantalla);
    e.Opciones_Entorno.Intervalo_Paso = 42;
    e.Fijar_Velocidad(item);
    QCOMPARE(e.Opciones_Entorno.Intervalo_Paso, intervalo);
    QCOMPARE(pantalla.Cambios_Panel, 1);
  }

  void encender_y_apagar() {
    TMaquina_Prueba m;
    m.E.Fijar_Z(1);
    std::set<std::string> contadores;
    for (int vuelta = 0; vuelta < 3; ++vuelta) {
      for (int n = 0; n < 16; ++n) {
        const std::string esperado = n == 14 ? "F000" : Palabra_a_Texto(n);
        QCOMPARE(m.E.Valor(Visor_Registro(n)), esperado);
      }
      for (int v : {Visor_AR, Visor_DR, Visor_IR, Visor_PC, Visor_Teclado, Visor_IP2, Visor_OP1,
                    Visor_OP2, Visor_Entrada(0x3F), Visor_Salida(0x3F)})
        QVERIFY(Es_Palabra(m.E.Valor(v)));
      contadores.insert(m.E.Valor(Visor_PC) + m.E.Valor(Visor_AR) + m.E.Valor(Visor_Entrada(9)));
      QVERIFY(m.E.Panel.LOn && m.E.Panel.LPP && m.E.Panel.Teclas_Habilitadas && m.E.Panel.MModoPasoapaso_Habilitado);
      QCOMPARE(m.E.Panel.Caption_MApagar_TORVIC, std::string("Apagar TORVIC"));

      m.E.BPasoPasoClick();
      m.E.Encender_Apagar();  // off
      for (int v = 0; v < Numero_Visores; ++v) QCOMPARE(m.E.Valor(v), std::string("****"));
      for (int b = 0; b < 4; ++b) QCOMPARE(m.E.Leer_Bandera(static_cast<TBandera>(b)), 0);
      QCOMPARE(m.E.Estado_Maquina.Modo_Paso_a_Paso, uint8_t{0});
      QVERIFY(!m.E.Panel.LOn && !m.E.Panel.LPP && !m.E.Panel.Teclas_Habilitadas && !m.E.Panel.BPasoPaso_Habilitado);
      QVERIFY(!m.E.Panel.MModoPasoapaso_Habilitado);
      QCOMPARE(m.E.Panel.Caption_MModoPasoapaso, Activar);  // left as it was
      QCOMPARE(m.E.Panel.Caption_MApagar_TORVIC, std::string("Encender TORVIC"));
      m.E.Encender_Apagar();  // on again
      QCOMPARE(m.E.Estado_Maquina.Modo_Paso_a_Paso, uint8_t{1});
      QCOMPARE(m.E.Panel.Caption_MModoPasoapaso, Desactivar);
    }
    QCOMPARE(contadores.size(), size_t{3});  // fresh random values each time
  }

  void memoria_al_encender() {
    TMaquina_Prueba m;
    m.E.Opciones_Entorno.Relleno_Memoria = 0;
    m.E.Escribir_Palabra(0x10, "1234");
    m.E.Listado.Agregar("[0010]: 1234");
    m.E.MInicializar_memoria_al_Encender_TORVICClick();
    QCOMPARE(m.E.Opciones_Entorno.Iniciar_Memoria_al_Encender, uint8_t{0});
    m.E.Encender_Apagar();
    m.E.Encender_Apagar();
    QCOMPARE(m.E.Leer_Palabra(0x10), std::string("1234"));
    QCOMPARE(m.E.Listado.Numero_Lineas(), 1);
    m.E.MInicializar_memoria_al_Encender_TORVICClick();
    QCOMPARE(m.E.Opciones_Entorno.Iniciar_Memoria_al_Encender, uint8_t{1});
    m.E.Encender_Apagar();
    m.E.Encender_Apagar();
    QCOMPARE(m.E.Listado.Numero_Lineas(), 0);
    QCOMPARE(m.E.Memoria.DataSize(), Bytes_Memoria);
    // "Inicializar Memoria" works while off too and leaves the displays dark.
    m.E.Encender_Apagar();
    m.E.Escribir_Palabra(0x10, "1234");
    m.E.Listado.Agregar("[0010]: 1234");
    m.E.InicializarMemoria1Click();
    QCOMPARE(m.E.Listado.Numero_Lineas(), 0);
    Comprobar(m.E, "PC=****");
    QCOMPARE(m.E.Memoria.DataSize(), Bytes_Memoria);
  }

  void teclado_y_consola() {
    TMaquina_Prueba m;
    m.Teclear("12345");
    m.E.BCargarClick();  // Modo_Consola 2: nothing
    Comprobar(m.E, "i01=2345 m2345=0000");

    m.Teclear("EFFF");
    m.E.BDireccionClick();
    Comprobar(m.E, "o01=EFFF");
    m.Teclear("BEEF");
    m.E.BCargarClick();
    Comprobar(m.E, "mEFFF=BEEF o01=EFFF");
    QCOMPARE(m.Pantalla.Mensajes, std::vector<std::string>{Mensaje_Lectura_Ilegal});
    m.E.BContinuarClick();
    QCOMPARE(m.Pantalla.Mensajes.size(), size_t{2});

    m.Pantalla.Mensajes.clear();
    m.Teclear("F000");
    m.E.BDireccionClick();
    QCOMPARE(m.Pantalla.Mensajes, std::vector<std::string>{Mensaje_Lectura_Ilegal});
    QCOMPARE(m.E.Opciones_Entorno.Modo_Consola, uint8_t{0});
    Comprobar(m.E, "o01=EFFF");

    m.Teclear("0010");
    m.E.BDireccionClick();
    m.Teclear("1111");
    m.E.BCargarClick();
    m.Teclear("2222");
    m.E.BCargarClick();
    Comprobar(m.E, "m0010=1111 m0011=2222 o01=0012");
  }

  void registros_desde_la_consola() {
    TMaquina_Prueba m;
    m.Teclear("ABCD");
    m.E.BRegistrosClick();
    Comprobar(m.E, "o01=0000 o02=0000");
    for (int i = 0; i < 16; ++i) m.E.BCargarClick();
    for (int n = 0; n < 16; ++n) QCOMPARE(m.E.Valor(Visor_Registro(n)), std::string("ABCD"));
    Comprobar(m.E, "o01=0000");
    m.E.Fijar_Valor(Visor_OP1, "000F");
    m.E.BContinuarClick();
    Comprobar(m.E, "o01=0000");
    // After an instruction Cargar does nothing until a console mode again.
    m.E.BEjecutarClick();
    const std::string r0 = m.E.Valor(Visor_Registro(0));
    m.E.BCargarClick();
    QCOMPARE(m.E.Valor(Visor_Registro(0)), r0);
  }

  void lamparas_de_banderas() {
    TMaquina_Prueba m;
    m.E.Conmutar_Bandera(Bandera_Z);
    QCOMPARE(m.E.Leer_Bandera(Bandera_Z), 1);
    m.E.Conmutar_Bandera(Bandera_Z);
    QCOMPARE(m.E.Leer_Bandera(Bandera_Z), 0);
  }

  void editores() {
    TMaquina_Prueba m;
    m.E.Fijar_Registro(5, "1234");
    m.E.Modifica_Registro(Visor_Registro(5));  // cancelled: old value back
    Comprobar(m.E, "r5=1234");
    // Each edit lands on its own display: r5, then the keypad as IP1, IP2, IP3.
    const std::pair<int, const char*> ediciones[] = {
        {Visor_Registro(5), "0000"}, {Visor_Teclado, "00FF"}, {Visor_IP2, "0202"}, {Visor_Entrada(3), "0303"}};
    for (const auto& [visor, valor] : ediciones) {
      m.Pantalla.Valor_Dialogo = valor;
      if (visor >= Visor_IP2) m.E.Modifica_Puerto_IP(visor - Visor_Entrada(0));
      else m.E.Modifica_Registro(visor);
    }
    Comprobar(m.E, "r5=0000 i01=00FF i02=0202 i03=0303");

    // Editing PC leaves the listing's selection alone.
    m.E.Listado.Agregar("[0010]: RET");
    m.E.Listado.Agregar("[0020]: RET");
    m.E.Fijar_PC("0010");
    m.Pantalla.Valor_Dialogo = "0020";
    m.E.Modifica_Registro(Visor_PC);
    Comprobar(m.E, "PC=0020");
    QCOMPARE(m.E.Listado.Seleccion(), 0);

    // AR, DR, IR and the output ports are never edited, whoever asks.
    for (int visor = 0; visor < Numero_Visores; ++visor) {
      const bool editable = visor < Visor_AR || visor == Visor_PC || (visor >= Visor_Entrada(0) && visor <= Visor_Entrada(63));
      QCOMPARE(Visor_Editable(visor), editable);
      if (editable) continue;
      const std::string antes = m.E.Valor(visor);
      m.Pantalla.Valor_Dialogo = "9999";
      m.E.Modifica_Registro(visor);
      QCOMPARE(m.E.Valor(visor), antes);
    }

    m.E.Encender_Apagar();
    m.E.Modifica_Puerto_IP(5);
    QCOMPARE(m.Pantalla.Mensajes, std::vector<std::string>{Mensaje_Apagada});
    Comprobar(m.E, "i05=****");
  }

  void modo_desensamblador() {
    TMaquina_Prueba m;
    m.E.Listado.Agregar("[0000]: HALT");
    m.Pantalla.Respuesta = false;
    m.E.Mododesensamblador1Click();
    QCOMPARE(m.Pantalla.Preguntas.size(), size_t{1});
    QCOMPARE(QString::fromStdString(m.Pantalla.Preguntas[0]),
             QString::fromUtf8("Modo Desensamblador|Al comenzar el Modo Desensamblador perderá\rlos datos del "
                               "proyecto en curso.\r¿Desea comenzar este modo?"));
    QCOMPARE(m.E.Opciones_Entorno.Modo_Desensamblador, uint8_t{0});
    QCOMPARE(m.E.Listado.Numero_Lineas(), 1);
    QCOMPARE(m.E.Panel.Caption_Mododesensamblador1, std::string("Activar Modo desensamblador"));

    m.Pantalla.Respuesta = true;
    m.E.Mododesensamblador1Click();
    QCOMPARE(m.E.Opciones_Entorno.Modo_Desensamblador, uint8_t{1});
    QCOMPARE(m.E.Listado.Numero_Lineas(), 0);
    QCOMPARE(m.E.Panel.Caption_Mododesensamblador1, std::string("Desactivar Modo Desensamblador"));

    // Typing into words 0010, 0002 and 000A lists them in address order;
    // two releases on one word leave one line, refreshed.
    for (int32_t palabra : {0x10, 0x2, 0xA, 0x10}) {
      m.E.Al_Pulsar_Memoria(2 * palabra + 1);
      m.E.Escribir_Palabra(palabra, "2105");
      m.E.Editar_Memoria();
    }
    m.E.Escribir_Palabra(0x10, "F000");
    m.E.Editar_Memoria();
    QCOMPARE(m.E.Listado.Lineas(), (std::vector<std::string>{"[0002]: LLI R1, H'05", "[000A]: LLI R1, H'05",
                                                             "[0010]: HALT"}));
    QVERIFY(m.E.Listado.Ordenado());

    m.E.Mododesensamblador1Click();
    QCOMPARE(m.E.Listado.Numero_Lineas(), 0);
    QCOMPARE(m.E.Panel.Caption_Mododesensamblador1, std::string("Activar Modo Desensamblador"));
    QCOMPARE(m.Pantalla.Preguntas.size(), size_t{2});
    m.E.Editar_Memoria();
    QVERIFY(!m.E.Listado.Ordenado());
  }
};

QTEST_APPLESS_MAIN(tst_Control)
#include "tst_Control.moc"
