#include <QLabel>
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
        for (const char* direccion : {"F000", "12", "0005"}) {
          campo->setText(QString::fromLatin1(direccion));
          QTest::mouseClick(dialogo->findChild<QAbstractButton*>(QStringLiteral("BAnadir")), Qt::LeftButton);
        }
        QTest::mouseClick(dialogo->findChild<QAbstractButton*>(QStringLiteral("BCerrar")), Qt::LeftButton);
      });
    });
    s.A(QStringLiteral("MPuntos_Ruptura"))->trigger();
    QCOMPARE(s.Operador.Mensajes.size(), 2);
    QCOMPARE(s.Operador.Mensajes[0], QString::fromUtf8(Mensaje_Lectura_Ilegal).replace('\r', '\n'));
    QCOMPARE(form1->property("puntos_ruptura").toStringList(), (QStringList{"0003", "0005"}));

    // A free run stops before 0003, with no box.
    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BPasoPaso"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    QTRY_COMPARE(texto("Estado_Ejecucion"), QStringLiteral("Punto de ruptura en 0003"));
    QCOMPARE(texto("Contador_Instrucciones"), QStringLiteral("Instrucciones: 3"));
    QCOMPARE(s.Operador.Mensajes.size(), 2);

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
    QTRY_COMPARE(texto("Estado_Ejecucion"), QStringLiteral("Punto de ruptura en 0004"));
    QCOMPARE(texto("Contador_Instrucciones"), QStringLiteral("Instrucciones: 4"));
    QCOMPARE(form1->property("puntos_ruptura").toStringList(), QStringList{"0005"});

    // A change of the user's own forgets the history.
    QVERIFY(s.A(QStringLiteral("MRetroceder"))->isEnabled());
    s.Clic(QStringLiteral("BOnOff"));
    QVERIFY(!s.A(QStringLiteral("MRetroceder"))->isEnabled());
  }
};

QTEST_MAIN(tst_Depuracion)
#include "tst_Depuracion.moc"
