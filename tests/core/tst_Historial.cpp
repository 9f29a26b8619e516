#include <QtTest>

#include <random>

#include "Grabadora.h"
#include "core/Ejecucion_Rapida.h"

namespace {

// Everything an instruction may change, and what stepping back must restore.
struct TFoto {
  std::vector<std::string> Visores;
  int Banderas = 0;
  size_t Memoria = 0;  // a hash: the whole buffer is compared at the ends only
  int Seleccion = -1;
  int Modo_Consola = 0;
  int64_t Contador = 0;
  bool operator==(const TFoto&) const = default;
};

size_t Hash_Memoria(const TEntorno& e) {
  size_t h = 1469598103934665603u;
  for (int32_t i = 0; i < e.Memoria.DataSize(); ++i) h = (h ^ e.Memoria.ByteAt(i)) * 1099511628211u;
  return h;
}

TFoto Foto(const TEntorno& e) {
  TFoto f;
  for (int v = 0; v < Numero_Visores; ++v) f.Visores.push_back(e.Valor(v));
  f.Banderas = e.Banderas();
  f.Memoria = Hash_Memoria(e);
  f.Seleccion = e.Listado.Seleccion();
  f.Modo_Consola = e.Opciones_Entorno.Modo_Consola;
  f.Contador = e.Contador_Instrucciones();
  return f;
}

// A random program at 0000..003F over every operation, with base and stack
// registers that reach the top of memory, the monitor area and the wrap at
// FFFF, and ports beyond the 64 supported; its listing follows PC.
void Programa_Aleatorio(TMaquina_Prueba& m, uint32_t semilla) {
  std::mt19937 azar(semilla);
  const auto elige = [&azar](std::initializer_list<int32_t> valores) {
    return *(valores.begin() + azar() % valores.size());
  };
  std::vector<std::string> lineas;
  for (int32_t a = 0; a < 0x40; ++a) {
    const int op = static_cast<int>(azar() % 16);
    int32_t bajo = static_cast<int32_t>(azar() % 256);
    if (op == 4 || op == 5) bajo = elige({0x00, 0x01, 0x02, 0x3F, 0x40, 0xFF});
    const std::string palabra =
        Palabra_a_Texto(op << 12 | static_cast<int32_t>(azar() % 16) << 8 | bajo);
    m.E.Escribir_Palabra(a, palabra);
    lineas.push_back("[" + Palabra_a_Texto(a) + "]: " + palabra);
  }
  m.E.Listado.Reemplazar_Todas(std::move(lineas));
  for (int n = 0; n < 13; ++n) m.E.Fijar_Registro(n, Palabra_a_Texto(static_cast<int32_t>(azar() % 0x10000)));
  m.E.Fijar_Registro(13, Palabra_a_Texto(elige({0x0000, 0x0010, 0x0080, 0xEF80, 0xEFF8, 0xFFF0})));
  m.E.Fijar_Registro(14, Palabra_a_Texto(elige({0xF000, 0xEFF0, 0x0000, 0x0020})));
  for (int p : {0, 2, 0x3F}) m.E.Fijar_Valor(Visor_Entrada(p), Palabra_a_Texto(static_cast<int32_t>(azar() % 0x10000)));
}

}  // namespace

class tst_Historial : public QObject {
  Q_OBJECT

 private slots:
  // Run N steps, step back K and forward again: the same as never stepping
  // back; then back to the start: exactly the state before the first step.
  void retroceder_restaura_todo_data() {
    QTest::addColumn<uint32_t>("semilla");
    QTest::addColumn<int>("pasos");
    QTest::addColumn<bool>("memoria_acortada");
    for (uint32_t semilla = 1; semilla <= 12; ++semilla)
      QTest::addRow("seed %u", semilla) << semilla << (semilla % 3 == 0 ? 1 : 300) << false;
    // Memory ends inside word 0100: a store there keeps only its high byte.
    for (uint32_t semilla = 20; semilla <= 23; ++semilla)
      QTest::addRow("short memory, seed %u", semilla) << semilla << 300 << true;
  }

  void retroceder_restaura_todo() {
    QFETCH(uint32_t, semilla);
    QFETCH(int, pasos);
    QFETCH(bool, memoria_acortada);
    TMaquina_Prueba m;
    if (memoria_acortada) {
      std::vector<uint8_t> bytes(2 * 0x100 + 1, 0);
      m.E.Memoria.LoadFromBytes(bytes.data(), bytes.size());
    }
    Programa_Aleatorio(m, semilla);
    m.Teclear("0000");
    const std::string memoria_inicial = m.E.Memoria.AsHex();

    std::vector<TFoto> fotos{Foto(m.E)};
    for (int paso = 0; paso < pasos; ++paso) {
      // With PC empty or in the monitor area Continuar executes nothing.
      if (paso > 0 && !m.E.PC_en_Programa()) {
        pasos = paso;
        break;
      }
      if (paso == 0) m.E.BEjecutarClick();
      else m.E.BContinuarClick();
      fotos.push_back(Foto(m.E));
      // What the instruction changed covers every value that differs.
      const TEfecto_Instruccion efecto = m.E.Efecto_Ultima_Instruccion();
      const TFoto &antes = fotos[fotos.size() - 2], &despues = fotos.back();
      for (int v = 0; v < Numero_Visores; ++v)
        if (antes.Visores[v] != despues.Visores[v]) QVERIFY(std::ranges::count(efecto.Visores, v) == 1);
      QCOMPARE(efecto.Banderas | (antes.Banderas ^ despues.Banderas), int(efecto.Banderas));
    }
    QCOMPARE(m.E.Contador_Instrucciones(), int64_t(pasos));

    const int k = pasos / 2;
    for (int i = 0; i < k; ++i) QVERIFY(m.E.Retroceder());
    QVERIFY(Foto(m.E) == fotos[pasos - k]);
    for (int i = 0; i < k; ++i) m.E.BContinuarClick();
    QVERIFY(Foto(m.E) == fotos[pasos]);

    for (int i = pasos; i > 0; --i) {
      QVERIFY(m.E.Retroceder());
      QVERIFY2(Foto(m.E) == fotos[i - 1], qPrintable(QString("after stepping back to step %1").arg(i - 1)));
    }
    QVERIFY(m.E.Memoria.AsHex() == memoria_inicial);
    QVERIFY(!m.E.Retroceder());
    QCOMPARE(m.E.Estado_Ejecucion(), std::string("No hay instrucciones que retroceder"));
    // Stepping back always leaves TORVIC stopped in step mode.
    QCOMPARE(m.E.Estado_Maquina.Modo_Paso_a_Paso, uint8_t{1});
    QVERIFY(m.E.Panel.LPP);
  }

  // A free run stops before a breakpoint's word, never before the word a
  // console key executes; run to a line stops once.
  void puntos_de_ruptura() {
    TMaquina_Prueba m;
    TPuntos_Ruptura& puntos = m.E.Puntos_Ruptura;
    puntos.Poner(0x0002);
    puntos.Poner(0x0002);
    puntos.Poner(0xF000);
    QCOMPARE(puntos.Lista(), std::vector<int32_t>{2});
    QCOMPARE(puntos.Poner_Texto("efff"), nullptr);
    QCOMPARE(puntos.Poner_Texto("F000"), Mensaje_Lectura_Ilegal);
    for (const char* malo : {"", "12", "12G4", "00123"}) QCOMPARE(puntos.Poner_Texto(malo), Mensaje_Direccion_No_Valida);
    puntos.Quitar(0xEFFF);

    // 0000..0004: LLI R1..R4, HALT, with its listing.
    Aplicar(m.E, "m0000=2101 m0001=2202 m0002=2303 m0003=2404 m0004=F000");
    for (int32_t a = 0; a < 5; ++a) m.E.Listado.Agregar("[" + Palabra_a_Texto(a) + "]: x");
    m.Teclear("0000");
    m.E.BPasoPasoClick();
    m.E.BEjecutarClick();
    for (int tic = 0; tic < 3; ++tic) m.E.RelojTimer();
    Comprobar(m.E, "PC=0002 r2=0002 r3=0003");  // r3 from power-on
    QCOMPARE(m.E.Estado_Maquina.Modo_Paso_a_Paso, uint8_t{1});
    QCOMPARE(m.E.Listado.Seleccion(), 2);
    QCOMPARE(m.E.Estado_Ejecucion(), std::string("Punto de ruptura en 0002"));
    QVERIFY(m.Pantalla.Mensajes.empty());

    // Continuar at the breakpoint executes it; in a free run, it carries on.
    m.E.BPasoPasoClick();
    m.E.BContinuarClick();
    QCOMPARE(m.E.Estado_Ejecucion(), std::string());
    m.E.RelojTimer();
    Comprobar(m.E, "r3=0003 r4=0004 PC=0004");

    // Run to a line: the full-speed run with a one-time stop, gone once
    // reached and named as the line's address.
    puntos.Quitar(2);
    m.E.BPasoPasoClick();
    m.Teclear("0000");
    m.E.BEjecutarClick();
    const std::optional<int32_t> destino = m.E.Destino(m.E.Listado.Direccion_Linea(3));
    QCOMPARE(destino, std::optional<int32_t>(3));
    TEjecucion_Rapida rapida(m.E);
    QVERIFY(rapida.Comenzar_Hasta(*destino));
    QCOMPARE(puntos.Temporal(), std::optional<int32_t>(3));
    QVERIFY(!rapida.Ejecutar_Tajada(TEjecucion_Rapida::TReloj::now() + std::chrono::seconds(5)));
    Comprobar(m.E, "PC=0003");
    QCOMPARE(m.E.Estado_Maquina.Modo_Paso_a_Paso, uint8_t{1});
    QCOMPARE(m.E.Estado_Ejecucion(), std::string("Ejecutado hasta 0003"));
    QVERIFY(!puntos.Temporal());
    QVERIFY(!m.E.Destino(m.E.Listado.Direccion_Linea(7)));
    QCOMPARE(m.E.Estado_Ejecucion(), std::string("Seleccione en el listado la línea de una instrucción"));
    QVERIFY(m.E.Conmutar_Punto_Ruptura_Linea(4));
    QCOMPARE(puntos.Lista(), std::vector<int32_t>{4});
  }

  // RET with an empty stack leaves PC empty: no address, so no breakpoint
  // nor run-to-line target matches it; the run goes on executing and
  // counting nothing, and says where it is. PC at F000 is the same.
  void pc_sin_direccion_data() {
    QTest::addColumn<QString>("programa");
    QTest::addColumn<QString>("pc");
    QTest::addRow("RET, empty stack") << "m0000=2E00 m0001=3EF0 m0002=E000 m0003=F000" << "";
    QTest::addRow("B to F000") << "m0000=2D00 m0001=3DF0 m0002=C000 m0003=F000" << "F000";
  }
  void pc_sin_direccion() {
    QFETCH(QString, programa);
    QFETCH(QString, pc);
    TMaquina_Prueba m;
    Aplicar(m.E, programa);
    m.E.Puntos_Ruptura.Poner(0x0003);
    m.E.Puntos_Ruptura.Poner(0x0000);
    m.Teclear("0000");
    m.E.BPasoPasoClick();
    m.E.BEjecutarClick();
    m.E.Puntos_Ruptura.Poner_Temporal(0x0003);
    for (int tic = 0; tic < 5; ++tic) m.E.RelojTimer();
    QCOMPARE(m.E.Valor(Visor_PC), pc.toStdString());
    QCOMPARE(m.E.Estado_Maquina.Modo_Paso_a_Paso, uint8_t{0});
    QCOMPARE(m.E.Contador_Instrucciones(), int64_t{3});
    QCOMPARE(m.E.Estado_Ejecucion(), std::string(Mensaje_Area_Monitor));
    // Continuar in step mode: the same.
    m.E.BPasoPasoClick();
    m.E.BContinuarClick();
    QCOMPARE(m.E.Contador_Instrucciones(), int64_t{3});
    QCOMPARE(m.E.Estado_Ejecucion(), std::string(Mensaje_Area_Monitor));
    QVERIFY(m.Pantalla.Mensajes.empty());
    // Stepping back undoes the last instruction that executed.
    QVERIFY(m.E.Retroceder());
    Comprobar(m.E, "PC=0002");
    QCOMPARE(m.E.Contador_Instrucciones(), int64_t{2});
    // Ejecutar from the keypad at the monitor area executes nothing either:
    // the count starts again at none, and stepping back gives the old one.
    m.Teclear("F000");
    m.E.BEjecutarClick();
    QCOMPARE(m.E.Contador_Instrucciones(), int64_t{0});
    QCOMPARE(m.E.Estado_Ejecucion(), std::string(Mensaje_Area_Monitor));
    QVERIFY(m.E.Retroceder());
    QCOMPARE(m.E.Contador_Instrucciones(), int64_t{2});
  }

  // Breakpoints belong to the program: loading another file takes them
  // away, the same file (or one after a state file, which names none)
  // keeps them.
  void puntos_y_otro_programa_data() {
    QTest::addColumn<QStringList>("cargas");  // "" is a state file
    QTest::addColumn<int>("puntos");
    QTest::addColumn<int>("quedan");
    QTest::addColumn<QString>("mensaje");
    const QString a = "/p/CONTADOR.ASM", b = "/p/SUMA.EHC";
    QTest::addRow("first load") << QStringList{b} << 2 << 2 << "";
    QTest::addRow("same file again") << QStringList{a, a} << 2 << 2 << "";
    QTest::addRow("another file, two") << QStringList{a, b} << 2 << 0
                                       << "Se han quitado 2 puntos de ruptura del programa anterior";
    QTest::addRow("another file, one") << QStringList{a, b} << 1 << 0
                                       << "Se ha quitado 1 punto de ruptura del programa anterior";
    QTest::addRow("another file, none") << QStringList{a, b} << 0 << 0 << "";
    QTest::addRow("after a state file") << QStringList{a, "", b} << 2 << 2 << "";
    QTest::addRow("same name, other folder") << QStringList{a, "/q/CONTADOR.ASM"} << 2 << 0
                                             << "Se han quitado 2 puntos de ruptura del programa anterior";
  }
  void puntos_y_otro_programa() {
    QFETCH(QStringList, cargas);
    QFETCH(int, puntos);
    QFETCH(int, quedan);
    QFETCH(QString, mensaje);
    TMaquina_Prueba m;
    m.E.Programa_Cargado(cargas.takeFirst().toStdString());
    for (int32_t a = 0; a < puntos; ++a) m.E.Puntos_Ruptura.Poner(0xEFFF - a);
    for (const QString& ruta : cargas) m.E.Programa_Cargado(ruta.toStdString());
    QCOMPARE(m.E.Puntos_Ruptura.Cantidad(), quedan);
    QCOMPARE(QString::fromStdString(m.E.Estado_Ejecucion()), mensaje);
  }

  // The counter counts from the last load of PC from the keypad; a change the
  // user makes forgets the history, typing on the keypad or an input port
  // does not.
  void contador_y_cambios_del_usuario() {
    TMaquina_Prueba m;
    m.Teclear("0000");
    m.E.BEjecutarClick();
    m.E.BContinuarClick();
    QCOMPARE(m.E.Contador_Instrucciones(), int64_t{2});
    m.E.BEjecutarClick();
    QCOMPARE(m.E.Contador_Instrucciones(), int64_t{1});
    m.E.Retroceder();
    QCOMPARE(m.E.Contador_Instrucciones(), int64_t{2});

    m.Teclear("1234");
    m.E.Fijar_Valor(Visor_Entrada(5), "ABCD");
    QVERIFY(m.E.Puede_Retroceder());
    const std::vector<std::function<void()>> cambios = {
        [&] { m.E.Conmutar_Bandera(Bandera_C); },
        [&] { m.E.Editar_Memoria(); },
        [&] { m.E.InicializarMemoria1Click(); },
        [&] { m.E.BDireccionClick(); },
        [&] { m.Pantalla.Valor_Dialogo = "0042"; m.E.Modifica_Registro(Visor_PC); },
        [&] { m.E.Encender_Apagar(); },
    };
    for (size_t i = 0; i < cambios.size(); ++i) {
      m.E.BEjecutarClick();
      QVERIFY(!m.E.Historial.Vacio());
      cambios[i]();
      QVERIFY2(m.E.Historial.Vacio(), qPrintable(QString("change %1").arg(i)));
    }
    QVERIFY(!m.E.Puede_Retroceder());
  }

  // A full-speed run records nothing while it goes and executes its
  // instructions again at the stop: stepping back from there goes through
  // exactly the states that single steps pass, across input ports changed
  // between slices, and back to before the run. A slice with a deadline
  // already past runs 4,096 instructions, so the counts are the same on
  // every machine.
  void ejecucion_rapida_data() {
    QTest::addColumn<uint32_t>("semilla");  // 0: a loop that reads input port 02
    QTest::addColumn<int>("tajadas");
    for (uint32_t semilla = 1; semilla <= 8; ++semilla) QTest::addRow("seed %u", semilla) << semilla << 3;
    QTest::addRow("input changed between slices") << 0u << 3;
    QTest::addRow("beyond the history") << 0u << 300;
  }

  void ejecucion_rapida() {
    QFETCH(uint32_t, semilla);
    QFETCH(int, tajadas);
    TMaquina_Prueba rapida, pasos;
    for (TMaquina_Prueba* m : {&rapida, &pasos}) {
      if (semilla > 0) Programa_Aleatorio(*m, semilla);
      else Aplicar(m->E, "rD=0000 m0000=4102 m0001=6331 m0002=C000");  // IN R1,02; ADDS R3,R3,R1; BR 0000
      m->Teclear("0000");
    }
    const TFoto inicial = Foto(pasos.E);
    for (TMaquina_Prueba* m : {&rapida, &pasos}) m->E.BEjecutarClick();
    const auto cambiar_entrada = [](TEntorno& e, int n) { e.Fijar_Valor(Visor_Entrada(2), Palabra_a_Texto(n)); };

    TEjecucion_Rapida ejecucion(rapida.E);
    QVERIFY(ejecucion.Comenzar());
    std::vector<int64_t> cambios;  // where the input port changed
    for (int t = 0; t < tajadas && ejecucion.Ejecutar_Tajada(TEjecucion_Rapida::TReloj::time_point::min()); ++t) {
      cambios.push_back(rapida.E.Contador_Instrucciones());
      cambiar_entrada(rapida.E, t + 1);
    }
    ejecucion.Detener();
    const int64_t n = rapida.E.Contador_Instrucciones();
    QVERIFY(semilla > 0 || n == tajadas * 4096 + 2);

    // The same instructions one by one (with step mode switched off, as the
    // run does), keeping the states of the last ones.
    pasos.E.BPasoPasoClick();
    constexpr int64_t ultimos = 300;
    std::vector<TFoto> fotos;
    for (int64_t i = 1;; ++i) {
      for (size_t c = 0; c < cambios.size(); ++c)
        if (cambios[c] == i) cambiar_entrada(pasos.E, static_cast<int>(c) + 1);
      if (i == n) break;
      if (i >= n - ultimos) fotos.push_back(Foto(pasos.E));
      pasos.E.BContinuarClick();
    }
    QVERIFY(Foto(rapida.E).Visores == Foto(pasos.E).Visores);
    QVERIFY(rapida.E.Memoria.AsHex() == pasos.E.Memoria.AsHex());

    const auto kept = static_cast<int64_t>(rapida.E.Historial.Instrucciones());
    QCOMPARE(kept, std::min<int64_t>(n, THistorial::Maximo_Instrucciones));
    QVERIFY(rapida.E.Historial.Bytes_Reservados() <= THistorial::Maximo_Bytes);
    for (auto foto = fotos.rbegin(); foto != fotos.rend(); ++foto) {
      QVERIFY(rapida.E.Retroceder());
      TFoto ahora = Foto(rapida.E);
      ahora.Visores[Visor_Entrada(2)] = foto->Visores[Visor_Entrada(2)];  // ports are not history
      QVERIFY(ahora == *foto);
    }
    if (kept < n) return;
    while (rapida.E.Retroceder()) {}
    TFoto ahora = Foto(rapida.E);
    ahora.Visores[Visor_Entrada(2)] = inicial.Visores[Visor_Entrada(2)];
    QVERIFY(ahora == inicial);
  }

  // A full-speed run executes most instructions in batches on their numbers;
  // whatever a batch leaves to single steps, and every stop, must end exactly
  // as the free run's ticks one by one: every display, flag, word, the
  // selection, the counter, messages, the displays shown as changed and what
  // the last instruction changed. Each row takes one of the batch's ways out.
  void lote_como_pasos_data() {
    QTest::addColumn<QString>("estado");
    QTest::addColumn<QString>("inicio");
    QTest::addColumn<int>("punto");     // a breakpoint, or -1
    QTest::addColumn<int>("temporal");  // run to a line's address, or -1
    QTest::addColumn<QString>("opcion");
    // 0000..000A: every operation a batch runs, looping back to 0000.
    const QString bucle = "rD=0000 r1=7FFF r2=8001 m0000=6112 m0001=7321 m0002=8412 m0003=9500 m0004=A600 "
                          "m0005=B700 m0006=2801 m0007=3880 m0008=0410 m0009=C300 m000A=C000";
    QTest::newRow("a loop of every batched operation") << bucle << "0000" << -1 << -1 << "";
    QTest::newRow("a register that is not a word") << bucle + " r2=80ab" << "0000" << -1 << -1 << "";
    QTest::newRow("listing lines at some words only") << bucle << "0000" << -1 << -1 << "listado parcial";
    QTest::newRow("swapped nibbles") << bucle << "0000" << -1 << -1 << "nibbles";
    QTest::newRow("breakpoint") << bucle << "0000" << 0x0005 << -1 << "";
    QTest::newRow("run to a line") << bucle << "0000" << -1 << 0x0007 << "";
    QTest::newRow("jump into the monitor area") << "rD=F000 m0000=6112 m0001=6112 m0002=C000" << "0000" << -1 << -1 << "";
    QTest::newRow("step into the monitor area")
        << "mEFF8=6112 mEFF9=6112 mEFFA=6112 mEFFB=6112 mEFFC=6112 mEFFD=6112 mEFFE=6112 mEFFF=6112" << "EFF8" << -1 << -1 << "";
    QTest::newRow("empty PC after RET") << "rE=F000 m0000=6112 m0001=6112 m0002=E000" << "0000" << -1 << -1 << "";
    QTest::newRow("load error") << "rD=EFF8 m0000=6112 m0001=6112 m0002=0010" << "0000" << -1 << -1 << "";
    QTest::newRow("load beyond shortened memory")
        << "rD=00F8 m0000=6112 m0001=6112 m0002=0010 m0003=C000" << "0000" << -1 << -1 << "memoria acortada";
    QTest::newRow("step beyond shortened memory")
        << "rD=0000 m00F8=6112 m00F9=6112 m00FA=6112 m00FB=6112 m00FC=6112 m00FD=6112 m00FE=6112 m00FF=6112" << "00F8" << -1 << -1 << "memoria acortada";
    QTest::newRow("store, port and call between batches")
        << "rD=0000 rE=0100 m0000=6112 m0001=1120 m0002=5101 m0003=D000 m0004=F000" << "0000" << -1 << -1 << "";
  }

  void lote_como_pasos() {
    QFETCH(QString, estado);
    QFETCH(QString, inicio);
    QFETCH(int, punto);
    QFETCH(int, temporal);
    QFETCH(QString, opcion);
    TMaquina_Prueba rapida, pasos;
    for (TMaquina_Prueba* m : {&rapida, &pasos}) {
      if (opcion == "memoria acortada") {
        std::vector<uint8_t> bytes(2 * 0x100 + 1, 0);
        m->E.Memoria.LoadFromBytes(bytes.data(), bytes.size());
      }
      Aplicar(m->E, estado);
      m->E.Memoria.SwapNibbles = opcion == "nibbles";
      std::vector<std::string> lineas;
      for (int32_t a = 0; a < 0x10; ++a)
        if (opcion != "listado parcial" || a % 4 == 1) lineas.push_back("[" + Palabra_a_Texto(a) + "]: x");
      m->E.Listado.Reemplazar_Todas(std::move(lineas));
      m->E.Puntos_Ruptura.Poner(punto);
      m->Teclear(inicio.toStdString());
      m->E.BEjecutarClick();
      m->Pantalla.Visores_Cambiados.clear();
    }
    TEjecucion_Rapida ejecucion(rapida.E);
    QVERIFY(ejecucion.Comenzar());
    rapida.E.Puntos_Ruptura.Poner_Temporal(temporal);
    constexpr int tajadas = 3;
    for (int t = 0; t < tajadas && ejecucion.Ejecutar_Tajada(TEjecucion_Rapida::TReloj::time_point::min()); ++t) {}
    ejecucion.Detener();
    ejecucion.Mostrar_Cambios();

    // The free run's ticks, with the full-speed run's stop before the monitor area.
    TEntorno& e = pasos.E;
    e.BPasoPasoClick();
    e.Puntos_Ruptura.Poner_Temporal(temporal);
    e.BContinuarClick();
    for (int tic = 0; tic < tajadas * 4096; ++tic) {
      if (e.Estado_Maquina.Modo_Paso_a_Paso != 0 || e.Opciones_Entorno.Modo_Consola != 2) break;
      const int32_t pc = e.Direccion_PC();
      if (pc < 0 || pc >= Primera_Direccion_Monitor) {
        e.Detener_Ejecucion();
        e.Fijar_Estado_Ejecucion(Mensaje_Area_Monitor);
        break;
      }
      e.RelojTimer();
    }
    if (e.Estado_Maquina.Modo_Paso_a_Paso == 0) e.Detener_Ejecucion();

    QVERIFY(rapida.E.Contador_Instrucciones() > 2);
    QCOMPARE(Foto(rapida.E).Visores, Foto(e).Visores);
    QVERIFY(Foto(rapida.E) == Foto(e));
    QCOMPARE(rapida.E.Estado_Ejecucion(), e.Estado_Ejecucion());
    QCOMPARE(rapida.Pantalla.Mensajes, pasos.Pantalla.Mensajes);
    QCOMPARE(rapida.E.Puntos_Ruptura.Temporal(), e.Puntos_Ruptura.Temporal());
    QCOMPARE(rapida.E.Ultima_Instruccion().Palabra, e.Ultima_Instruccion().Palabra);
    QVERIFY(rapida.E.Ultima_Instruccion().Desenlace == e.Ultima_Instruccion().Desenlace);
    const auto conjunto = [](std::vector<int> v) {
      std::ranges::sort(v);
      v.erase(std::unique(v.begin(), v.end()), v.end());
      return v;
    };
    QCOMPARE(conjunto(rapida.Pantalla.Visores_Cambiados), conjunto(pasos.Pantalla.Visores_Cambiados));
    TEfecto_Instruccion a = rapida.E.Efecto_Ultima_Instruccion(), b = e.Efecto_Ultima_Instruccion();
    QCOMPARE(conjunto(a.Visores), conjunto(b.Visores));
    QCOMPARE(a.Banderas, b.Banderas);
    QCOMPARE(a.Palabras, b.Palabras);
  }

  // A history that records each step while batches run (the run's
  // instructions executed again at its stop) is the one single steps
  // record: stepping back both goes through the same states. Both machines
  // first record `antes` instructions in batches; then one goes on in
  // batches, the other one step at a time. Rows: the first block, with no
  // ring yet; a full history, which drops its oldest block at every new one;
  // and the ring's end, which blocks of 18 to 21 bytes reach somewhere
  // between 1.59 and 1.87 million instructions.
  void lote_grabado_como_pasos_data() {
    QTest::addColumn<int>("antes");
    QTest::addColumn<int>("despues");
    QTest::newRow("no ring yet") << 0 << 5000;
    QTest::newRow("a full history") << 1'000'000 << 5000;
    QTest::newRow("across the ring's end") << 1'590'000 << 280'000;
  }

  void lote_grabado_como_pasos() {
    QFETCH(int, antes);
    QFETCH(int, despues);
    TMaquina_Prueba lotes, pasos;
    const auto en_lotes = [](TEntorno& e, int64_t n) {
      for (int64_t hechas = 0; hechas < n;) {
        const int64_t lote = e.Ejecutar_Lote(n - hechas);
        QVERIFY(lote > 0);
        hechas += lote;
      }
    };
    for (TMaquina_Prueba* m : {&lotes, &pasos}) {
      // Every operation a batch runs, looping back to 0000, a flag or a
      // register changing at nearly every one.
      Aplicar(m->E, "rD=0000 r1=7FFF r2=8001 m0000=6112 m0001=7321 m0002=8412 m0003=9500 m0004=A600 "
                    "m0005=B700 m0006=2801 m0007=3880 m0008=0410 m0009=C300 m000A=C000");
      std::vector<std::string> lineas;
      for (int32_t a = 0; a < 0x10; ++a) lineas.push_back("[" + Palabra_a_Texto(a) + "]: x");
      m->E.Listado.Reemplazar_Todas(std::move(lineas));
      m->E.BPasoPasoClick();
      m->Teclear("0000");
      m->E.BEjecutarClick();
      en_lotes(m->E, antes);
    }
    en_lotes(lotes.E, despues);
    for (int i = 0; i < despues; ++i) pasos.E.RelojTimer();
    QCOMPARE(lotes.E.Contador_Instrucciones(), int64_t{antes} + despues + 1);
    QCOMPARE(lotes.E.Historial.Instrucciones(), pasos.E.Historial.Instrucciones());
    QCOMPARE(lotes.E.Historial.Bytes_Usados(), pasos.E.Historial.Bytes_Usados());

    const auto iguales = [](const TEntorno& a, const TEntorno& b) {
      for (int v = 0; v < Numero_Visores; ++v)
        if (a.Valor(v) != b.Valor(v)) return false;
      return a.Banderas() == b.Banderas() && a.Listado.Seleccion() == b.Listado.Seleccion() &&
             a.Opciones_Entorno.Modo_Consola == b.Opciones_Entorno.Modo_Consola &&
             a.Contador_Instrucciones() == b.Contador_Instrucciones();
    };
    QVERIFY(iguales(lotes.E, pasos.E));
    for (int i = 0; i <= despues; ++i) {
      QVERIFY(lotes.E.Retroceder());
      QVERIFY(pasos.E.Retroceder());
      QVERIFY2(iguales(lotes.E, pasos.E), qPrintable(QString("after %1 steps back").arg(i + 1)));
      QVERIFY(lotes.E.Efecto_Ultima_Instruccion().Visores == pasos.E.Efecto_Ultima_Instruccion().Visores);
    }
    QVERIFY(lotes.E.Memoria.AsHex() == pasos.E.Memoria.AsHex());
  }

  // A full-speed run's copies share memory with the copy before while no
  // store changed it, and come more often then. Here a store now and then
  // changes a word that every turn of the loop reads into R8, so a copy that
  // missed one would make executing again end elsewhere, and the history
  // would be forgotten. With the stores, executing again ends as the run.
  void copias_y_almacenamientos() {
    TMaquina_Prueba rapida, lotes;
    for (TMaquina_Prueba* m : {&rapida, &lotes}) {
      // 0000 LD R7,[0027]; ADDS R8,R8,R7; LLI RD,07; ADDS R3,R3,R4; BZ 0007;
      // LLI RD,00; BR 0000; 0007 ST R5,[0027]; ADDS R5,R5,R6; LLI RD,00; BR 0000.
      Aplicar(m->E, "rD=0000 r3=C000 r4=0001 r5=1234 r6=0001 m0000=0727 m0001=6887 m0002=2D07 m0003=6334 "
                    "m0004=C100 m0005=2D00 m0006=C000 m0007=1520 m0008=6556 m0009=2D00 m000A=C000");
      m->Teclear("0000");
      m->E.BEjecutarClick();
    }
    TEjecucion_Rapida ejecucion(rapida.E);
    QVERIFY(ejecucion.Comenzar());
    for (int t = 0; t < 400 && ejecucion.Ejecutar_Tajada(TEjecucion_Rapida::TReloj::time_point::min()); ++t) {}
    ejecucion.Detener();
    const int64_t n = rapida.E.Contador_Instrucciones();
    QCOMPARE(n, int64_t{400 * 4096 + 2});
    QVERIFY(Texto_a_Palabra(rapida.E.Leer_Registro(5)) >= 0x1237);  // stored at least three times
    QCOMPARE(rapida.E.Historial.Instrucciones(), THistorial::Maximo_Instrucciones);

    // The last instructions stepped back are the ones a run without history went through.
    TEntorno& e = lotes.E;
    e.Historial.Fijar_Activo(false);
    e.BPasoPasoClick();
    e.BContinuarClick();
    constexpr int atras = 300;
    while (e.Contador_Instrucciones() < n - atras)
      if (e.Ejecutar_Lote(n - atras - e.Contador_Instrucciones()) == 0) e.RelojTimer();
    for (int i = 0; i < atras; ++i) QVERIFY(rapida.E.Retroceder());
    QVERIFY(Foto(rapida.E) == Foto(e));
    QVERIFY(rapida.E.Memoria.AsHex() == e.Memoria.AsHex());
  }

  // A change the user makes while the run goes forgets what ran before it.
  void ejecucion_rapida_y_cambio_del_usuario() {
    TMaquina_Prueba m;
    Aplicar(m.E, "rD=0000 m0000=6112 m0001=C000");  // ADDS R1,R1,R2; BR 0000
    m.Teclear("0000");
    m.E.BEjecutarClick();
    TEjecucion_Rapida ejecucion(m.E);
    ejecucion.Comenzar();
    const auto ya = TEjecucion_Rapida::TReloj::time_point::min();
    ejecucion.Ejecutar_Tajada(ya);
    m.E.Fijar_Registro(2, "0003");
    ejecucion.Ejecutar_Tajada(ya);
    QVERIFY(m.E.Puede_Retroceder());
    QVERIFY(m.E.Retroceder());  // mid-run: the run records first, then stops
    QCOMPARE(m.E.Historial.Instrucciones(), size_t{4096 - 1});
    QCOMPARE(m.E.Estado_Maquina.Modo_Paso_a_Paso, uint8_t{1});
    QVERIFY(!ejecucion.Ejecutar_Tajada(ya));
  }
};

QTEST_APPLESS_MAIN(tst_Historial)
#include "tst_Historial.moc"
