// A student runs programs at full speed: the run ends as the command-line
// runner's does, stops at a click, at Escape and at the monitor area, and
// shows its speed while it goes.
#include <QLabel>
#include <QRegularExpression>

#include "Ejecucion_Linea.h"
#include "Sesion.h"
#include "core/Ejecucion_Rapida.h"

namespace {

// Counts R0 from 0 until it wraps to 0, storing it at 0018 each time.
const QStringList Cuenta = {"2101", "2000", "6001", "2D08", "1010", "C100", "2D02", "C000", "F000"};
// 0000 LLI RD,01; 0001 ADDS R1,R1,R2; 0002 BR to 0001: never ends.
const QStringList Sin_Fin = {"2D01", "6112", "C000"};

}  // namespace

class tst_Maxima : public QObject {
  Q_OBJECT

 private slots:
  void Sesion() {
    TSesion s;
    TEntorno& e = s.E();
    QAction* maxima = s.A(QStringLiteral("MMaxima"));
    QVERIFY(!maxima->isEnabled());
    e.Opciones_Entorno.Relleno_Memoria = 1;  // zeros, as the runner's
    s.Pulsar(QStringLiteral("BOnOff"));
    QVERIFY(maxima->isEnabled());

    // To HALT: the same machine as veltra-run leaves, and the views show it.
    s.Cargar_Programa(QStringLiteral("0000"), Cuenta);
    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    maxima->trigger();
    QTRY_COMPARE(s.Operador.Mensajes, QStringList{QString::fromUtf8(Mensaje_Fin)});
    QTRY_VERIFY(!s.W(QStringLiteral("LPP"))->isHidden());
    TPreparacion_Ejecucion preparacion;
    preparacion.Relleno_Ceros = true;
    for (int i = 0; i < Cuenta.size(); ++i) preparacion.Palabras.emplace_back(i, Cuenta[i].toStdString());
    TEjecucion_Linea linea(preparacion);
    QCOMPARE(linea.Ejecutar(), TFin_Ejecucion::Halt);
    TEntorno& r = linea.Entorno();
    QCOMPARE(e.Contador_Instrucciones(), static_cast<int64_t>(linea.Pasos()));
    // Ports start random, and the program uses none.
    for (int visor = 0; visor < Visor_Entrada(0); ++visor) QCOMPARE(e.Valor(visor), r.Valor(visor));
    for (TBandera b : {Bandera_Z, Bandera_S, Bandera_C, Bandera_V}) QCOMPARE(e.Leer_Bandera(b), r.Leer_Bandera(b));
    for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a) QCOMPARE(e.Leer_Palabra(a), r.Leer_Palabra(a));
    QCOMPARE(s.V(QStringLiteral("R0")), QStringLiteral("0000"));
    QCOMPARE(s.V(QStringLiteral("PPC")), QStringLiteral("0009"));
    QCOMPARE(s.V(QStringLiteral("DR")), QString::fromStdString(r.Valor(Visor_DR)));
    QVERIFY(e.Retroceder());  // the history kept the run
    QCOMPARE(s.V(QStringLiteral("PC")), QStringLiteral("0008"));

    // An endless loop, by F5: it shows its speed, and a click stops it.
    auto* estado = s.W<QLabel>(QStringLiteral("Estado_Ejecucion"));
    s.Cargar_Programa(QStringLiteral("0000"), Sin_Fin);
    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    s.Veltra->Form1()->activateWindow();  // the box that closed had it
    QVERIFY(QTest::qWaitForWindowActive(s.Veltra->Form1()));
    QTest::keyClick(s.Veltra->Form1(), Qt::Key_F5);
    QTRY_VERIFY(estado->text().contains(
        QRegularExpression(QStringLiteral("^Ejecutando a máxima velocidad: \\d+,\\d M instrucciones/s$"))));
    QVERIFY(s.W(QStringLiteral("LPP"))->isHidden());
    s.Pulsar(QStringLiteral("BPasoPaso"));
    const int64_t parada = e.Contador_Instrucciones();
    QTest::qWait(50);
    QCOMPARE(e.Contador_Instrucciones(), parada);
    QCOMPARE(estado->text(), QString());

    // Again, and Escape stops it: step mode on, as after HALT.
    maxima->trigger();
    QTest::qWait(50);
    QVERIFY(e.Contador_Instrucciones() > parada);
    QTest::keyClick(s.Veltra->Form1(), Qt::Key_Escape);
    const int64_t escape = e.Contador_Instrucciones();
    QTest::qWait(50);
    QCOMPARE(e.Contador_Instrucciones(), escape);
    QVERIFY(!s.W(QStringLiteral("LPP"))->isHidden());
    QCOMPARE(s.V(QStringLiteral("PC")), QString::fromStdString(e.Valor(Visor_PC)));

    // The last stored word advances into the monitor area: the run stops there.
    s.Cargar_Programa(QStringLiteral("EFFE"), {"2001", "2002"});
    s.Teclear(QStringLiteral("EFFE"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    const int64_t antes = e.Contador_Instrucciones();
    const qsizetype cajas = s.Operador.Mensajes.size();
    maxima->trigger();
    QTRY_COMPARE(estado->text(), QString::fromUtf8(Mensaje_Area_Monitor));
    QCOMPARE(e.Contador_Instrucciones(), antes + 1);
    QCOMPARE(s.V(QStringLiteral("PC")), QStringLiteral("F000"));
    QCOMPARE(s.V(QStringLiteral("R0")), QStringLiteral("0002"));
    QVERIFY(!s.W(QStringLiteral("LPP"))->isHidden());
    QCOMPARE(s.Operador.Mensajes.size(), cajas);  // the status bar says it, no box
  }
};

QTEST_MAIN(tst_Maxima)
#include "tst_Maxima.moc"
