// The glyph button's caption lights yellow under the mouse and turns teal when
// it leaves, whatever colour the form gave it; it paints exactly as a push
// button of its colours.
#include <QPushButton>
#include <QtTest>

#include "widgets/livebutton.h"

static bool Muestra(QWidget& widget, const QColor& color) {
  const QImage imagen = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < imagen.height(); ++y)
    for (int x = 0; x < imagen.width(); ++x)
      if (imagen.pixelColor(x, y) == color) return true;
  return false;
}

class TPrueba_LiveButton : public QObject {
  Q_OBJECT

 private slots:
  // Qt::yellow is clYellow (#FFFF00), Qt::darkCyan clTeal (#008080).
  void Color_al_Pasar_el_Raton() {
    QWidget formulario;
    TLiveButton boton(QStringLiteral("&Registros"), &formulario);
    boton.setFont(QFont(boton.font().family(), 28, QFont::Bold));
    boton.setGeometry(50, 50, 200, 80);
    boton.setProperty("Color_Titulo", QColor(Qt::darkRed));
    formulario.show();
    QVERIFY(QTest::qWaitForWindowExposed(&formulario));
    QTest::mouseMove(&formulario, QPoint(10, 10));
    // Until the mouse passes over it the caption keeps the form's colour.
    QVERIFY(Muestra(boton, Qt::darkRed));
    QVERIFY(!Muestra(boton, Qt::yellow));
    QTest::mouseMove(&formulario, boton.geometry().center());
    QTRY_VERIFY(Muestra(boton, Qt::yellow));
    QTest::mouseMove(&formulario, QPoint(10, 10));
    QTRY_VERIFY(Muestra(boton, Qt::darkCyan));
    QVERIFY(!Muestra(boton, Qt::yellow));
  }

  // The keys share their palettes for painting, so each key must still be
  // painted in its own colours: more colourings than the shared ones kept,
  // each drawn twice, every image the one a plain push button draws.
  void Pinta_como_un_Boton_data() {
    QTest::addColumn<bool>("habilitado");
    QTest::newRow("habilitado") << true;
    QTest::newRow("deshabilitado") << false;
  }
  void Pinta_como_un_Boton() {
    QFETCH(bool, habilitado);
    const QColor colores[] = {Qt::red,       Qt::green,   Qt::blue,     Qt::cyan,        Qt::magenta, Qt::yellow,
                              Qt::darkRed,   Qt::darkBlue, Qt::darkGreen, Qt::darkMagenta, Qt::gray,    Qt::black};
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
      for (const QColor& color : colores) {
        TLiveButton tecla(QStringLiteral("&5"));
        tecla.setProperty("Color_Titulo", color);
        QPushButton boton(QStringLiteral("&5"));
        boton.setPalette(tecla.palette());
        for (QPushButton* b : {static_cast<QPushButton*>(&tecla), &boton}) {
          b->resize(28, 28);
          b->setEnabled(habilitado);
        }
        QCOMPARE(tecla.grab().toImage(), boton.grab().toImage());
      }
    }
  }
};

QTEST_MAIN(TPrueba_LiveButton)
#include "tst_livebutton.moc"
