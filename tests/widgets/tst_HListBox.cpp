// The listing's list box follows the machine layer's lines and selection,
// draws them in navy monospace on 15-pixel rows with tabs expanded, and keeps
// the selected line in view.
#include <QFontInfo>
#include <QScrollBar>
#include <QtTest>

#include "widgets/HListBox.h"

using TOperacion = void (*)(TListado&, THListBox&);
Q_DECLARE_METATYPE(TOperacion)

namespace {

// n lines for the addresses 0, paso, 2 x paso ... modulo n.
std::vector<std::string> Lineas(int n, int paso = 1) {
  std::vector<std::string> lineas;
  for (int i = 0; i < n; ++i)
    lineas.push_back(QStringLiteral("[%1]: LD R1,[R2]").arg(i * paso % n, 4, 16, QChar('0')).toUpper().toStdString());
  return lineas;
}

bool Mostrar(THListBox& caja, TListado& listado) {
  caja.Fijar_Listado(&listado);
  caja.resize(348, 209);
  caja.show();
  return QTest::qWaitForWindowExposed(&caja);
}

// The view shows exactly the listing's lines and selection.
void Comparar(const THListBox& caja, const TListado& listado) {
  QStringList vista, lineas;
  for (int i = 0; i < caja.model()->rowCount(); ++i) vista << caja.model()->index(i, 0).data().toString();
  for (const std::string& linea : listado.Lineas()) lineas << QString::fromStdString(linea);
  QCOMPARE(vista, lineas);
  const QModelIndexList filas = caja.selectionModel()->selectedRows();
  QCOMPARE(filas.isEmpty() ? -1 : filas.first().row(), listado.Seleccion());
}

QImage Imagen_Fila(THListBox& caja, int fila) {
  const QRect rect = caja.visualRect(caja.model()->index(fila, 0));
  return caja.viewport()->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class TPrueba_HListBox : public QObject {
  Q_OBJECT

 private slots:
  // Navy monospaced 9 pt text on 15-pixel rows: the selected fourth line is
  // one highlight band at rows 45..59.
  void Aspecto() {
    TListado listado;
    listado.Reemplazar_Todas(Lineas(20));
    listado.Seleccionar(3);
    THListBox caja;
    QVERIFY(Mostrar(caja, listado));
    const QFontInfo fuente(caja.font());
    QVERIFY(fuente.fixedPitch());
    QCOMPARE(fuente.pointSize(), 9);

    // Antialiased text blends navy into the white ground: its darkest pixel is navy.
    const QImage fila = Imagen_Fila(caja, 0);
    QRgb mas_oscuro = qRgb(0xFF, 0xFF, 0xFF);
    for (int y = 0; y < fila.height(); ++y)
      for (int x = 0; x < fila.width(); ++x)
        if (qGray(fila.pixel(x, y)) < qGray(mas_oscuro)) mas_oscuro = fila.pixel(x, y);
    QCOMPARE(QColor(mas_oscuro), QColor(0x00, 0x00, 0x80));

    const QImage imagen = caja.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor resalte = caja.palette().color(QPalette::Active, QPalette::Highlight);
    QList<int> filas_resaltadas;
    for (int y = 0; y < imagen.height(); ++y)
      if (imagen.pixelColor(imagen.width() - 10, y) == resalte) filas_resaltadas << y;  // right of the text
    QCOMPARE(filas_resaltadas, QList<int>({45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59}));
  }

  void Tabuladores_data() {
    QTest::addColumn<QString>("con_tabulador");
    QTest::addColumn<QString>("con_blancos");
    QTest::newRow("tras ocho, a la parada siguiente") << "abcdefgh\tX" << "abcdefgh        X";
    QTest::newRow("dos tabuladores") << "[0010]:\tLD\tR1" << "[0010]: LD      R1";
  }
  void Tabuladores() {
    QFETCH(QString, con_tabulador);
    QFETCH(QString, con_blancos);
    TListado listado;
    listado.Agregar(con_tabulador.toStdString());
    listado.Agregar(con_blancos.toStdString());
    THListBox caja;
    QVERIFY(Mostrar(caja, listado));
    const QImage fila_tabulador = Imagen_Fila(caja, 0);
    QCOMPARE(fila_tabulador, Imagen_Fila(caja, 1));
    // Without the tab the text after it moves, so the comparison above can fail.
    listado.Reemplazar(1, QString(con_tabulador).remove(QLatin1Char('\t')).toStdString());
    QVERIFY(fila_tabulador != Imagen_Fila(caja, 1));
  }

  // Each change to the shown listing (ten unsorted lines, the eighth
  // selected, scrolled 300 pixels into a 1000-pixel extent) reaches the view;
  // only a clear resets the extent.
  void Sigue_al_Listado_data() {
    QTest::addColumn<TOperacion>("operacion");
    QTest::addColumn<int>("extension");
    const auto fila = [](const char* nombre, TOperacion operacion, int extension = 1000) {
      QTest::newRow(nombre) << operacion << extension;
    };
    fila("Agregar", [](TListado& l, THListBox&) { l.Agregar("[0020]: nueva"); });
    fila("Reemplazar", [](TListado& l, THListBox&) { l.Reemplazar(2, "[0002]: cambiada"); });
    fila("Eliminar antes de la selección", [](TListado& l, THListBox&) { l.Eliminar(1); });
    fila("Eliminar la seleccionada", [](TListado& l, THListBox&) { l.Eliminar(7); });
    fila("Reemplazar_Todas, mismo número", [](TListado& l, THListBox&) { l.Reemplazar_Todas(Lineas(10, 3)); });
    fila("Reemplazar_Todas, más", [](TListado& l, THListBox&) { l.Reemplazar_Todas(Lineas(30)); });
    fila("línea a línea, sin la selección", [](TListado& l, THListBox&) { l.Vaciar_Linea_a_Linea(); });
    fila("TListado::Clear", [](TListado& l, THListBox&) { l.Clear(); }, 0);
    fila("THListBox::Clear y agregar", [](TListado& l, THListBox& caja) { caja.Clear(); l.Agregar("[0001]"); }, 0);
  }
  void Sigue_al_Listado() {
    QFETCH(TOperacion, operacion);
    QFETCH(int, extension);
    TListado listado;
    listado.Reemplazar_Todas(Lineas(10, 7));
    listado.Seleccionar(7);
    THListBox caja;
    caja.Fijar_Extension_Horizontal(1000);
    QVERIFY(Mostrar(caja, listado));
    caja.horizontalScrollBar()->setValue(300);
    QCOMPARE(caja.horizontalScrollBar()->value(), 300);
    operacion(listado, caja);
    Comparar(caja, listado);
    QCOMPARE(caja.Extension_Horizontal(), extension);
    if (extension == 0) QCOMPARE(caja.horizontalScrollBar()->maximum(), 0);
  }

  // The listing's selection is kept in view among 61,440 lines; one the user
  // makes with the mouse or the keys goes back to the listing.
  void Seleccion_a_la_Vista_y_del_Usuario() {
    TListado listado;
    listado.Reemplazar_Todas(Lineas(61440));
    THListBox caja;
    QVERIFY(Mostrar(caja, listado));
    for (const int fila : {60000, 5, 61439, 30720}) {
      listado.Seleccionar(fila);
      Comparar(caja, listado);
      QCOMPARE(caja.currentIndex().row(), fila);
      QVERIFY(caja.viewport()->rect().contains(caja.visualRect(caja.model()->index(fila, 0))));
    }
    const QModelIndex pulsada = caja.indexAt(QPoint(5, 50));
    QVERIFY(pulsada.row() != 30720);
    QTest::mouseClick(caja.viewport(), Qt::LeftButton, {}, caja.visualRect(pulsada).center());
    QCOMPARE(listado.Seleccion(), pulsada.row());
    QTest::keyClick(&caja, Qt::Key_Down);
    QCOMPARE(listado.Seleccion(), pulsada.row() + 1);
  }

  // A box destroyed first, or shown another listing, lets go of the listing.
  void Caja_Suelta_el_Listado() {
    TListado listado, otro;
    THListBox().Fijar_Listado(&listado);  // a box gone at once
    listado.Agregar("[0000]: sin caja");
    THListBox caja;
    caja.Fijar_Listado(&listado);
    caja.Fijar_Listado(&otro);
    listado.Clear();
    otro.Agregar("[0001]: se ve");
    Comparar(caja, otro);
  }
};

QTEST_MAIN(TPrueba_HListBox)
#include "tst_HListBox.moc"
