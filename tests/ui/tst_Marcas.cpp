// A student steps a short program and watches each instruction mark what it
// changed and light the transfers it made on the internal panel.
#include "Sesion.h"
#include "widgets/Lampara.h"
#include "widgets/hexeditor.h"

namespace {

// The displays of the three windows framed as changed, by name.
QStringList Marcados(const TSesion& s) {
  QStringList nombres;
  for (QObject* ventana : {static_cast<QObject*>(s.Veltra->Form1()), static_cast<QObject*>(s.Veltra->Form2()),
                           static_cast<QObject*>(s.Veltra->Form3())})
    for (const TDigitalDisplay* display : ventana->findChildren<TDigitalDisplay*>())
      if (display->property("cambiado").toBool()) nombres << display->objectName();
  nombres.sort();
  return nombres;
}

const QStringList Busqueda = {"PC-AR", "AR-Memoria", "Memoria-DR", "DR-IR"};

}  // namespace

class tst_Marcas : public QObject {
  Q_OBJECT

 private slots:
  void Paso_a_Paso() {
    TSesion s;
    QWidget* esquema = s.W(QStringLiteral("Esquema_Interno"));
    QObject* memoria = s.W(QStringLiteral("Memoria"));
    QWidget* form1 = s.Veltra->Form1();
    const auto Tramos = [esquema] { return esquema->property("tramos").toStringList(); };
    const auto Banderas = [form1] { return form1->property("banderas_cambiadas").toStringList(); };
    const auto Palabras = [memoria] { return memoria->property("palabras_marcadas").toStringList(); };

    s.Pulsar(QStringLiteral("BOnOff"));
    // LLI RD,00; LLI R1,05; LHI R1,FF; LLI R2,03; ADDS R3,R1,R2;
    // ST [RD+30],R3; LD R4,[RD+30]; BR
    s.Cargar_Programa(QStringLiteral("0000"), {"2D00", "2105", "31FF", "2203", "6312", "1330", "0430", "C000"});
    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    for (int paso = 0; paso < 3; ++paso) s.Pulsar(QStringLiteral("BContinuar"));

    // ADDS: its result and the flag it set, on both panels; PC only advanced.
    s.Pulsar(QStringLiteral("BContinuar"));
    QCOMPARE(Marcados(s), QStringList{"R3"});
    QCOMPARE(Banderas(), QStringList{"S"});
    for (const char* lampara : {"S_OFF", "PS_OFF"}) QVERIFY(s.W<TLampara>(QLatin1String(lampara))->Anillo());
    QVERIFY(!s.W<TLampara>(QStringLiteral("Z_OFF"))->Anillo());
    QCOMPARE(Tramos(), QStringList({"Registros-UAL", "UAL-Registros", "UAL-FF"}));
    QCOMPARE(esquema->property("tramos_busqueda").toStringList(), Busqueda);

    // ST frames the word it wrote; the last marks are gone.
    s.Pulsar(QStringLiteral("BContinuar"));
    QCOMPARE(Marcados(s), QStringList());
    QCOMPARE(Banderas(), QStringList());
    QVERIFY(!s.W<TLampara>(QStringLiteral("S_OFF"))->Anillo());
    QCOMPARE(Palabras(), QStringList{"0030"});
    QCOMPARE(s.W<THexEditor>(QStringLiteral("Memoria"))->FramedRows(), std::vector<int>{0x30});
    QCOMPARE(Tramos(), QStringList({"Registros-AR", "Registros-DR", "AR-Memoria", "DR-Memoria"}));

    s.Pulsar(QStringLiteral("BContinuar"));
    QCOMPARE(Palabras(), QStringList());
    QCOMPARE(Tramos(), QStringList({"Registros-AR", "AR-Memoria", "Memoria-DR", "DR-Registros"}));

    // A taken branch marks PC and IR with their twins.
    s.Pulsar(QStringLiteral("BContinuar"));
    QCOMPARE(Marcados(s), QStringList({"IR", "PC", "PIR", "PPC"}));

    // A console key is another action: every mark goes.
    s.Pulsar(QStringLiteral("T1"));
    QCOMPARE(Marcados(s), QStringList());
    QCOMPARE(Tramos(), QStringList());

    // At "Rápida" the marks wait for the run to stop.
    s.E().Opciones_Entorno.Intervalo_Paso = 1;
    s.Veltra->Form1()->findChild<QTimer*>(QStringLiteral("Reloj"))->setInterval(1);
    s.Pulsar(QStringLiteral("BPasoPaso"));
    s.Pulsar(QStringLiteral("BContinuar"));
    QTest::qWait(50);
    QCOMPARE(Tramos(), QStringList());
    s.Pulsar(QStringLiteral("BPasoPaso"));
    QTRY_VERIFY(!Tramos().isEmpty() || !esquema->property("tramos_busqueda").toStringList().isEmpty());

    // Unchecked, nothing is marked or lit.
    s.A(QStringLiteral("MMarcar_Cambios"))->trigger();
    QCOMPARE(esquema->property("tramos_busqueda").toStringList(), QStringList());
    s.Teclear(QStringLiteral("0001"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    QCOMPARE(s.V(QStringLiteral("R1")), QStringLiteral("0005"));
    QCOMPARE(Marcados(s), QStringList());
    QCOMPARE(Banderas(), QStringList());
    QCOMPARE(Tramos(), QStringList());
  }

  // A step that stores off the memory panel brings the word's row into view;
  // a free run is not chased.
  void Memoria_Sigue_la_Escritura() {
    TSesion s;
    auto* memoria = s.W<THexEditor>(QStringLiteral("Memoria"));
    const auto Visible = [memoria](int fila) {
      return fila >= memoria->TopRow() && fila < memoria->TopRow() + memoria->VisibleRowCount();
    };
    s.Pulsar(QStringLiteral("BOnOff"));
    // LLI RD,00; LHI RD,08; ST [RD+30],R1; ST [RD+31],R1; LLI RD,02; B
    s.Cargar_Programa(QStringLiteral("0000"), {"2D00", "3D08", "1130", "1131", "2D02", "C000"});
    memoria->SetTopRow(0);
    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    s.Pulsar(QStringLiteral("BContinuar"));
    QVERIFY(!Visible(0x830));
    s.Pulsar(QStringLiteral("BContinuar"));
    QVERIFY(Visible(0x830));
    const int arriba = memoria->TopRow();
    s.Pulsar(QStringLiteral("BContinuar"));  // 0831, already in view
    QCOMPARE(memoria->TopRow(), arriba);

    // The loop from 0002 stores at 0032 and 0033, off the panel.
    s.W<QTimer>(QStringLiteral("Reloj"))->setInterval(1);
    s.Pulsar(QStringLiteral("BPasoPaso"));
    s.Pulsar(QStringLiteral("BContinuar"));
    QTRY_COMPARE(s.V(QStringLiteral("RD")), QStringLiteral("0002"));
    QTest::qWait(30);
    QCOMPARE(memoria->TopRow(), arriba);
    s.Pulsar(QStringLiteral("BPasoPaso"));
  }
};

QTEST_MAIN(tst_Marcas)
#include "tst_Marcas.moc"
