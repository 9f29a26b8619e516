// The glyph button's caption lights yellow under the mouse and turns teal when
// it leaves, whatever colour the form gave it.
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
};

QTEST_MAIN(TPrueba_LiveButton)
#include "tst_livebutton.moc"
