// The words the user wrote since memory was last initialised, and the EHC
// text that saves them (the screen test loads it back).
#include <QtTest>

#include "Grabadora.h"
#include "asm/Programa_Objeto.h"
#include "objfiles/Cargador.h"

namespace {

void Cargar_EHC(TEntorno& e, std::string_view texto) {
  Vaciar_Listado_Carga(e);
  TFuente_Memoria fuente(texto);
  Cargar_Flujo(e, TFormato_Objeto::EHC, fuente, "prueba");
}

// Console at 0010: LLI RD,00; ST [RD+40],R1; CALL to rD (pushes at EFFF); then HALT at 0000.
void Escribir_y_Ejecutar(TMaquina_Prueba& m) {
  m.Teclear("0010");
  m.E.BDireccionClick();
  for (const char* palabra : {"2D00", "1140", "D000"}) {
    m.Teclear(palabra);
    m.E.BCargarClick();
  }
  Cargar_EHC(m.E, "0000 F000\nEFFF 0001\nF000 1234\n");  // F000 is refused
  m.E.Memoria.MarkChanged(2 * 0x30 + 1);                // typed in the memory editor
  m.Teclear("0010");
  m.E.BEjecutarClick();
  m.E.BContinuarClick();
  m.E.BContinuarClick();
}

}  // namespace

class tst_Palabras_Escritas : public QObject {
  Q_OBJECT

 private slots:
  // Loads, Cargar and typing are the user's; the program's ST and CALL are
  // not, though a CALL overwrote the loaded EFFF.
  void solo_las_del_usuario() {
    TMaquina_Prueba m;
    Escribir_y_Ejecutar(m);
    QCOMPARE(m.E.Leer_Palabra(0x40), std::string("0001"));  // the ST landed
    QCOMPARE(m.E.Palabras_Escritas.Lista(m.E.Memoria), (std::vector<int32_t>{0x0000, 0x0010, 0x0011, 0x0012, 0x0030, 0xEFFF}));

    const std::string texto = Texto_Programa_Escrito(m.E);
    QVERIFY(texto.starts_with("0000 F000 ; HALT\n0010 2D00 ; LLI RD, H'00\n0011 1140 ; ST [RD+H'40], R1\n"));
    QVERIFY(texto.ends_with("EFFF 0013 ; LD R0, [RD+H'13]\n"));  // the current contents
  }

  // Initialising memory forgets them; a power-on that keeps memory keeps them.
  void se_olvidan_al_iniciar_la_memoria_data() {
    QTest::addColumn<int>("como");
    QTest::addColumn<bool>("quedan");
    QTest::newRow("Inicializar Memoria") << 0 << false;
    QTest::newRow("power-on initialising memory") << 1 << false;
    QTest::newRow("power-on keeping memory") << 2 << true;
  }
  void se_olvidan_al_iniciar_la_memoria() {
    QFETCH(int, como);
    QFETCH(bool, quedan);
    TMaquina_Prueba m;
    Cargar_EHC(m.E, "0005 1234\n");
    m.E.Memoria.MarkChanged(2 * 0x30);
    if (como == 0) {
      m.E.InicializarMemoria1Click();
    } else {
      if (como == 2) m.E.MInicializar_memoria_al_Encender_TORVICClick();
      m.E.Encender_Apagar();
      m.E.Encender_Apagar();
    }
    QCOMPARE(m.E.Palabras_Escritas.Lista(m.E.Memoria).size(), quedan ? 2u : 0u);
  }
};

QTEST_GUILESS_MAIN(tst_Palabras_Escritas)
#include "tst_Palabras_Escritas.moc"
