#include <QLabel>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QtTest>

#include "Sesion.h"
#include "objfiles/Cargador.h"
#include "widgets/HListBox.h"

// A student debugging SUMA: breakpoints by double-click and by the dialog, a
// free run into one, two steps back, Continuar, and a run to a line.
class tst_Depuracion : public QObject {
  Q_OBJECT

 private slots:
  void depurar_un_programa() {
    TSesion s;
    auto* form1 = s.Veltra->Form1();
    form1->findChild<QTimer*>(QStringLiteral("Reloj"))->setInterval(1);
    auto* listado = s.W<THListBox>(QStringLiteral("Listado"));
    const auto texto = [&s](const char* etiqueta) { return s.W<QLabel>(QString::fromLatin1(etiqueta))->text(); };
    const auto doble_clic = [listado](int fila) {
      const QPoint linea = listado->visualRect(listado->model()->index(fila, 0)).center();
      QTest::mouseClick(listado->viewport(), Qt::LeftButton, {}, linea);
      QTest::mouseDClick(listado->viewport(), Qt::LeftButton, {}, linea);
    };
    s.Clic(QStringLiteral("BOnOff"));
    QVERIFY(Cargar_Programa_Objeto(s.E(), VELTRA_TEST_DATA "/../../examples/SUMA.EHC"));
    const QString linea_3 = listado->model()->index(3, 0).data().toString();
    doble_clic(3);
    QVERIFY(listado->Tiene_Punto_Ruptura(3));
    QCOMPARE(listado->model()->index(3, 0).data().toString(), linea_3);

    // The dialog refuses the monitor area and what is not four digits.
    // Its refusals are boxes: clicked from outside the operator's own timer,
    // which answers them.
    s.Operador.Acciones.push_back([](QWidget* dialogo) {
      QTimer::singleShot(0, dialogo, [dialogo] {
        auto* campo = dialogo->findChild<QLineEdit*>(QStringLiteral("EDireccion"));
        QCOMPARE(dialogo->focusWidget(), campo);  // what is typed goes there
        for (const char* direccion : {"F000", "12", "0005"}) {
          campo->setText(QString::fromLatin1(direccion));
          QTest::mouseClick(dialogo->findChild<QAbstractButton*>(QStringLiteral("BAnadir")), Qt::LeftButton);
        }
        // A refused address is replaced by the next one typed, an accepted
        // one is gone.
        QCOMPARE(dialogo->focusWidget(), campo);
        QTest::keyClicks(campo, QStringLiteral("7"));
        QTest::keyClick(campo, Qt::Key_Return);
        QCOMPARE(campo->selectedText(), QStringLiteral("7"));
        QTest::keyClicks(campo, QStringLiteral("0006"));
        QTest::keyClick(campo, Qt::Key_Return);
        QCOMPARE(campo->text(), QString());
        QTest::mouseClick(dialogo->findChild<QAbstractButton*>(QStringLiteral("BCerrar")), Qt::LeftButton);
      });
    });
    s.A(QStringLiteral("MPuntos_Ruptura"))->trigger();
    QCOMPARE(s.Operador.Mensajes.size(), 3);
    QCOMPARE(s.Operador.Mensajes[0], QString::fromUtf8(Mensaje_Lectura_Ilegal).replace('\r', '\n'));
    QCOMPARE(form1->property("puntos_ruptura").toStringList(), (QStringList{"0003", "0005", "0006"}));

    // A free run stops before 0003, with no box.
    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BPasoPaso"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    QTRY_COMPARE(texto("Estado_Ejecucion"), QStringLiteral("Punto de ruptura en 0003"));
    QCOMPARE(texto("Contador_Instrucciones"), QStringLiteral("Instrucciones: 3"));
    QCOMPARE(s.Operador.Mensajes.size(), 3);

    // Two steps back, by the menu and by F7: LD R2 and LD R1 undone.
    s.A(QStringLiteral("MRetroceder"))->trigger();
    form1->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form1));
    QTest::keyClick(form1, Qt::Key_F7);
    QCOMPARE(s.V(QStringLiteral("PC")), QStringLiteral("0001"));
    QCOMPARE(texto("Contador_Instrucciones"), QStringLiteral("Instrucciones: 1"));
    QCOMPARE(texto("Estado_Ejecucion"), QString());
    QVERIFY(!s.W(QStringLiteral("LPP"))->isHidden());

    s.Pulsar(QStringLiteral("BContinuar"));

    // Run to line 0004, past 0003 once its dot is double-clicked away.
    doble_clic(3);
    QVERIFY(!listado->Tiene_Punto_Ruptura(3));
    QTest::mouseClick(listado->viewport(), Qt::LeftButton, {},
                      listado->visualRect(listado->model()->index(4, 0)).center());
    QTest::keyClick(form1, Qt::Key_F4);
    QTRY_COMPARE(texto("Estado_Ejecucion"), QStringLiteral("Ejecutado hasta 0004"));
    QCOMPARE(texto("Contador_Instrucciones"), QStringLiteral("Instrucciones: 4"));
    QCOMPARE(form1->property("puntos_ruptura").toStringList(), (QStringList{"0005", "0006"}));

    // A change of the user's own forgets the history.
    QVERIFY(s.A(QStringLiteral("MRetroceder"))->isEnabled());
    s.Clic(QStringLiteral("BOnOff"));
    QVERIFY(!s.A(QStringLiteral("MRetroceder"))->isEnabled());
  }

  // RET with an empty stack empties PC: the free run ticks on over nothing,
  // a breakpoint does not stop it, the counter stays, and the status bar
  // says why; Continuar in step mode alike.
  void pc_vacio() {
    TSesion s;
    const auto texto = [&s](const char* etiqueta) { return s.W<QLabel>(QString::fromLatin1(etiqueta))->text(); };
    s.Veltra->Form1()->findChild<QTimer*>(QStringLiteral("Reloj"))->setInterval(1);
    s.Clic(QStringLiteral("BOnOff"));
    // LLI RE,00; LHI RE,F0; RET; HALT
    s.Cargar_Programa(QStringLiteral("0000"), {"2E00", "3EF0", "E000", "F000"});
    s.E().Puntos_Ruptura.Poner(0x0003);
    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BPasoPaso"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    QTRY_COMPARE(texto("Estado_Ejecucion"), QString::fromUtf8(Mensaje_Area_Monitor));
    QTest::qWait(50);
    QCOMPARE(texto("Estado_Ejecucion"), QString::fromUtf8(Mensaje_Area_Monitor));
    QCOMPARE(texto("Contador_Instrucciones"), QStringLiteral("Instrucciones: 3"));
    QCOMPARE(s.V(QStringLiteral("PC")), QString());
    QVERIFY(s.W(QStringLiteral("LPP"))->isHidden());  // still running
    QVERIFY(s.Operador.Mensajes.isEmpty());

    s.Pulsar(QStringLiteral("BPasoPaso"));
    s.Pulsar(QStringLiteral("BContinuar"));
    QCOMPARE(texto("Contador_Instrucciones"), QStringLiteral("Instrucciones: 3"));
    QCOMPARE(texto("Estado_Ejecucion"), QString::fromUtf8(Mensaje_Area_Monitor));
  }

  // F4 runs at full speed: a line 100.001 instructions away is reached at
  // the default speed within a few seconds, with its own message.
  void ejecutar_hasta_lejos() {
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("LAZO.EHC"));
    QFile archivo(ruta);
    QVERIFY(archivo.open(QIODevice::WriteOnly));
    // R1=4E20; R2=1; 0003: SUBS R1,R1,R2; BZ 0008; B 0003; 0008: HALT
    archivo.write("0000 2120\n0001 314E\n0002 2201\n0003 7112\n0004 2D08\n0005 C100\n0006 2D03\n0007 C000\n"
                  "0008 F000\n");
    archivo.close();
    TSesion s;
    auto* form1 = s.Veltra->Form1();
    auto* listado = s.W<THListBox>(QStringLiteral("Listado"));
    const auto texto = [&s](const char* etiqueta) { return s.W<QLabel>(QString::fromLatin1(etiqueta))->text(); };
    s.Clic(QStringLiteral("BOnOff"));
    QVERIFY(Cargar_Programa_Objeto(s.E(), ruta.toStdString()));
    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    QTest::mouseClick(listado->viewport(), Qt::LeftButton, {},
                      listado->visualRect(listado->model()->index(8, 0)).center());
    form1->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form1));
    QTest::keyClick(form1, Qt::Key_F4);
    QTRY_COMPARE_WITH_TIMEOUT(texto("Estado_Ejecucion"), QStringLiteral("Ejecutado hasta 0008"), 5000);
    QCOMPARE(texto("Contador_Instrucciones"), QStringLiteral("Instrucciones: 100.001"));
    QCOMPARE(s.V(QStringLiteral("PC")), QStringLiteral("0008"));
    QVERIFY(!s.W(QStringLiteral("LPP"))->isHidden());
    QVERIFY(s.Operador.Mensajes.isEmpty());
  }
};

QTEST_MAIN(tst_Depuracion)
#include "tst_Depuracion.moc"
