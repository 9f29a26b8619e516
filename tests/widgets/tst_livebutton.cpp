// The glyph button's caption lights yellow under the mouse and turns teal when
// it leaves, whatever colour the form gave it; "&" marks its accelerator.
#include <QSignalSpy>
#include <QtTest>

#include "widgets/livebutton.h"

namespace {

const QColor clYellow(0xFF, 0xFF, 0x00);
const QColor clTeal(0x00, 0x80, 0x80);

int Pixeles_de_Color(QWidget& widget, const QColor& color) {
  const QImage imagen = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
  int cuenta = 0;
  for (int y = 0; y < imagen.height(); ++y)
    for (int x = 0; x < imagen.width(); ++x)
      if (imagen.pixelColor(x, y) == color) ++cuenta;
  return cuenta;
}

}  // namespace

class TPrueba_LiveButton : public QObject {
  Q_OBJECT

 private slots:
  void Color_al_Pasar_el_Raton_data();
  void Color_al_Pasar_el_Raton();
  void Acelerador_data();
  void Acelerador();
};

void TPrueba_LiveButton::Color_al_Pasar_el_Raton_data() {
  QTest::addColumn<QColor>("color_del_formulario");
  QTest::newRow("teal, como en la ventana principal") << clTeal;
  QTest::newRow("clWindowText, como en los diálogos") << QColor(Qt::black);
  QTest::newRow("granate") << QColor(0x80, 0x00, 0x00);
}

void TPrueba_LiveButton::Color_al_Pasar_el_Raton() {
  QFETCH(QColor, color_del_formulario);
  QWidget formulario;
  formulario.resize(300, 200);
  TLiveButton boton(QStringLiteral("&Registros"), &formulario);
  QFont fuente = boton.font();
  fuente.setPixelSize(28);
  fuente.setBold(true);
  boton.setFont(fuente);
  boton.setGeometry(50, 50, 200, 80);
  boton.setProperty("Color_Titulo", color_del_formulario);
  formulario.show();
  QVERIFY(QTest::qWaitForWindowExposed(&formulario));
  QTest::mouseMove(&formulario, QPoint(10, 10));

  // Before the mouse passes over it the caption keeps the form's colour.
  QCOMPARE(boton.Color_Titulo(), color_del_formulario);
  QVERIFY(Pixeles_de_Color(boton, color_del_formulario) > 0);
  QCOMPARE(Pixeles_de_Color(boton, clYellow), 0);

  for (int pasada = 0; pasada < 2; ++pasada) {
    QTest::mouseMove(&formulario, boton.geometry().center());
    QTRY_COMPARE(boton.Color_Titulo(), clYellow);
    QVERIFY(Pixeles_de_Color(boton, clYellow) > 0);

    QTest::mouseMove(&formulario, QPoint(10, 10));
    QTRY_COMPARE(boton.Color_Titulo(), clTeal);
    QVERIFY(Pixeles_de_Color(boton, clTeal) > 0);
    QCOMPARE(Pixeles_de_Color(boton, clYellow), 0);
  }
}

void TPrueba_LiveButton::Acelerador_data() {
  QTest::addColumn<QString>("titulo");
  QTest::addColumn<int>("tecla");
  QTest::addColumn<int>("pulsaciones");
  QTest::newRow("tecla del teclado hexadecimal") << "&A" << int(Qt::Key_A) << 1;
  QTest::newRow("dígito") << "&0" << int(Qt::Key_0) << 1;
  QTest::newRow("letra en medio, con tilde después") << "D&irección" << int(Qt::Key_I) << 1;
  QTest::newRow("otra letra del título") << "D&irección" << int(Qt::Key_D) << 0;
  QTest::newRow("sin acelerador") << "Cancelar" << int(Qt::Key_C) << 0;
}

void TPrueba_LiveButton::Acelerador() {
  QFETCH(QString, titulo);
  QFETCH(int, tecla);
  QFETCH(int, pulsaciones);
  QWidget formulario;
  TLiveButton boton(titulo, &formulario);
  TLiveButton otro(QStringLiteral("&Otro"), &formulario);
  otro.move(0, 60);
  otro.setFocus();
  formulario.show();
  QVERIFY(QTest::qWaitForWindowActive(&formulario));
  QSignalSpy pulsado(&boton, &QAbstractButton::clicked);

  QTest::keyClick(&formulario, static_cast<Qt::Key>(tecla), Qt::AltModifier);
  QTest::qWait(250);  // the accelerator animates the press before it clicks
  QCOMPARE(pulsado.count(), pulsaciones);
  // The visible caption never shows the marker.
  QCOMPARE(boton.text(), titulo);
}

QTEST_MAIN(TPrueba_LiveButton)
#include "tst_livebutton.moc"
