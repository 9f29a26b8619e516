// The icon is one drawing: the same pixels at any size and pixel ratio, always
// a square tile with the lit digit, never an empty or clipped image.
#include <QtTest>

#include "widgets/Colores.h"
#include "widgets/Icono.h"

namespace {

int Cuantos(const QImage& imagen, const QColor& color) {
  int cuantos = 0;
  for (int y = 0; y < imagen.height(); ++y)
    for (int x = 0; x < imagen.width(); ++x) cuantos += imagen.pixelColor(x, y) == color;
  return cuantos;
}

}  // namespace

class TPrueba_Icono : public QObject {
  Q_OBJECT

 private slots:
  void Tamanos_del_Tema_data() {
    QTest::addColumn<int>("lado");
    for (int lado : Lados_Icono_VELTRA()) QTest::addRow("%d", lado) << lado;
  }
  // Corners transparent (the tile is rounded), the teal tile and the lime
  // digit present at every size the theme gets, down to 16 px.
  void Tamanos_del_Tema() {
    QFETCH(int, lado);
    const QImage imagen = Imagen_Icono_VELTRA(lado);
    QCOMPARE(imagen.size(), QSize(lado, lado));
    QCOMPARE(imagen.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(imagen.pixelColor(lado - 1, lado - 1).alpha(), 0);
    QVERIFY(Cuantos(imagen, clTeal) > lado * lado / 20);
    QVERIFY(Cuantos(imagen, clLime) > 0);
  }

  // At a pixel ratio of 2 the icon engine draws the theme's picture at twice
  // the size instead of scaling up (tst_Ventanas compares it at 1).
  void Icono_de_la_Ventana() {
    const QIcon icono = Icono_VELTRA();
    QVERIFY(!icono.isNull());
    QVERIFY(icono.availableSizes().contains(QSize(256, 256)));
    const QPixmap doble = icono.pixmap(QSize(32, 32), 2.0);
    QCOMPARE(doble.devicePixelRatio(), 2.0);
    QImage pixeles = doble.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    pixeles.setDevicePixelRatio(1.0);
    QCOMPARE(pixeles, Imagen_Icono_VELTRA(64));
  }
};

QTEST_MAIN(TPrueba_Icono)
#include "tst_Icono.moc"
