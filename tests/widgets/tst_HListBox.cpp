// The listing's list box follows the machine layer's lines and selection,
// draws them in navy monospace on 15-pixel rows with tabs expanded, and keeps
// the selected line in view.
#include <QFontInfo>
#include <QImage>
#include <QScrollBar>
#include <QtTest>

#include "widgets/HListBox.h"

namespace {

const QColor clNavy(0x00, 0x00, 0x80);

std::string Linea_Direccion(int direccion) {
  return QStringLiteral("[%1]: LD R1,[R2+H'%2]")
      .arg(direccion, 4, 16, QLatin1Char('0'))
      .toUpper()
      .arg(direccion & 0xFF, 2, 16, QLatin1Char('0'))
      .toStdString();
}

QStringList Lineas_Vista(const THListBox& caja) {
  QStringList lineas;
  for (int i = 0; i < caja.model()->rowCount(); ++i) lineas << caja.model()->index(i, 0).data().toString();
  return lineas;
}

QStringList Lineas_Listado(const TListado& listado) {
  QStringList lineas;
  for (const std::string& linea : listado.Lineas()) lineas << QString::fromStdString(linea);
  return lineas;
}

int Fila_Seleccionada(const THListBox& caja) {
  const QModelIndexList filas = caja.selectionModel()->selectedRows();
  return filas.isEmpty() ? -1 : filas.first().row();
}

// The view shows exactly the listing's lines and selection.
void Comparar(const THListBox& caja, const TListado& listado) {
  QCOMPARE(Lineas_Vista(caja), Lineas_Listado(listado));
  QCOMPARE(Fila_Seleccionada(caja), listado.Seleccion());
}

QImage Imagen_Fila(THListBox& caja, int fila) {
  const QRect rect = caja.visualRect(caja.model()->index(fila, 0));
  return caja.viewport()->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class TPrueba_HListBox : public QObject {
  Q_OBJECT

 private slots:
  void Fuente_y_Color();
  void Lineas_de_15_Pixeles();
  void Tabuladores_data();
  void Tabuladores();
  void Sigue_Agregar_Eliminar_Reemplazar();
  void Insercion_Ordenada_Mueve_Seleccion();
  void Reemplazar_Todas_data();
  void Reemplazar_Todas();
  void Vaciar_data();
  void Vaciar();
  void Extension_Horizontal();
  void Seleccion_Mantenida_a_la_Vista();
  void Seleccion_del_Usuario_Vuelve_al_Listado();
  void Caja_Destruida_Antes_que_el_Listado();
};

void TPrueba_HListBox::Fuente_y_Color() {
  TListado listado;
  listado.Agregar("[0000]: MMMMMMMM");
  THListBox caja;
  caja.Fijar_Listado(&listado);
  caja.resize(348, 209);
  caja.show();
  QVERIFY(QTest::qWaitForWindowExposed(&caja));

  const QFontInfo fuente(caja.font());
  QVERIFY(fuente.fixedPitch());
  QCOMPARE(fuente.pointSize(), 9);

  // Antialiased text blends navy into the white ground, so each ink pixel
  // has red equal to green and more blue, and the darkest is navy itself.
  const QImage fila = Imagen_Fila(caja, 0);
  const QColor fondo = caja.palette().color(QPalette::Base);
  QColor mas_oscuro = fondo;
  for (int y = 0; y < fila.height(); ++y)
    for (int x = 0; x < fila.width(); ++x) {
      const QColor pixel = fila.pixelColor(x, y);
      if (pixel == fondo) continue;
      QCOMPARE(pixel.red(), pixel.green());
      QVERIFY(pixel.blue() > pixel.red());
      if (pixel.red() < mas_oscuro.red()) mas_oscuro = pixel;
    }
  QCOMPARE(mas_oscuro, clNavy);
}

void TPrueba_HListBox::Lineas_de_15_Pixeles() {
  TListado listado;
  for (int i = 0; i < 20; ++i) listado.Agregar(Linea_Direccion(i));
  listado.Seleccionar(3);
  THListBox caja;
  caja.Fijar_Listado(&listado);
  caja.resize(348, 209);
  caja.show();
  QVERIFY(QTest::qWaitForWindowExposed(&caja));

  for (int i = 0; i < 5; ++i)
    QCOMPARE(caja.visualRect(caja.model()->index(i, 0)), QRect(0, 15 * i, caja.viewport()->width(), 15));

  // The highlight of the selected line is one 15-pixel band at rows 45..59.
  const QImage imagen = caja.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QColor resalte = caja.palette().color(QPalette::Active, QPalette::Highlight);
  const int x = imagen.width() - 10;  // right of the text
  QList<int> filas_resaltadas;
  for (int y = 0; y < imagen.height(); ++y)
    if (imagen.pixelColor(x, y) == resalte) filas_resaltadas << y;
  QCOMPARE(filas_resaltadas.size(), 15);
  QCOMPARE(filas_resaltadas.first(), 45);
  QCOMPARE(filas_resaltadas.last(), 59);
}

void TPrueba_HListBox::Tabuladores_data() {
  QTest::addColumn<QString>("con_tabulador");
  QTest::addColumn<QString>("con_blancos");
  QTest::newRow("al comienzo") << "\tX" << "        X";
  QTest::newRow("tras dos caracteres") << "ab\tX" << "ab      X";
  QTest::newRow("tras siete") << "abcdefg\tX" << "abcdefg X";
  QTest::newRow("tras ocho, a la parada siguiente") << "abcdefgh\tX" << "abcdefgh        X";
  QTest::newRow("dos tabuladores") << "[0010]:\tLD\tR1" << "[0010]: LD      R1";
}

void TPrueba_HListBox::Tabuladores() {
  QFETCH(QString, con_tabulador);
  QFETCH(QString, con_blancos);
  TListado listado;
  listado.Agregar(con_tabulador.toStdString());
  listado.Agregar(con_blancos.toStdString());
  THListBox caja;
  caja.Fijar_Listado(&listado);
  caja.resize(348, 209);
  caja.show();
  QVERIFY(QTest::qWaitForWindowExposed(&caja));

  const QImage fila_tabulador = Imagen_Fila(caja, 0);
  QCOMPARE(fila_tabulador, Imagen_Fila(caja, 1));
  // Without the tab the text after it moves, so the comparison above can fail.
  listado.Reemplazar(1, QString(con_tabulador).remove(QLatin1Char('\t')).toStdString());
  QVERIFY(fila_tabulador != Imagen_Fila(caja, 1));
}

void TPrueba_HListBox::Sigue_Agregar_Eliminar_Reemplazar() {
  TListado listado;
  listado.Agregar("[0000]: antes de mostrar");
  THListBox caja;
  caja.Fijar_Listado(&listado);
  caja.show();
  Comparar(caja, listado);

  for (int i = 1; i < 6; ++i) listado.Agregar(Linea_Direccion(i));
  Comparar(caja, listado);
  listado.Seleccionar(4);
  Comparar(caja, listado);
  listado.Reemplazar(2, "[0002]: cambiada");
  Comparar(caja, listado);
  listado.Eliminar(1);  // before the selection: it moves up with its line
  Comparar(caja, listado);
  QCOMPARE(listado.Seleccion(), 3);
  listado.Eliminar(3);  // the selected line itself
  Comparar(caja, listado);
  QCOMPARE(listado.Seleccion(), -1);
  listado.Eliminar(99);  // out of range: nothing
  Comparar(caja, listado);
}

void TPrueba_HListBox::Insercion_Ordenada_Mueve_Seleccion() {
  TListado listado;
  THListBox caja;
  caja.Fijar_Listado(&listado);
  caja.show();
  listado.Fijar_Ordenado(true);
  for (int direccion : {0x10, 0x02, 0x0A}) listado.Agregar(Linea_Direccion(direccion));
  Comparar(caja, listado);
  QCOMPARE(Lineas_Vista(caja),
           QStringList({QString::fromStdString(Linea_Direccion(0x02)), QString::fromStdString(Linea_Direccion(0x0A)),
                        QString::fromStdString(Linea_Direccion(0x10))}));

  listado.Seleccionar_Direccion("000A");
  QCOMPARE(Fila_Seleccionada(caja), 1);
  listado.Agregar(Linea_Direccion(0x01));  // sorts in before the selection
  Comparar(caja, listado);
  QCOMPARE(Fila_Seleccionada(caja), 2);

  // Turning sorting on reorders the lines already there; the selection stays on its line.
  listado.Fijar_Ordenado(false);
  listado.Agregar("[0000]: al final");
  listado.Seleccionar(4);
  listado.Fijar_Ordenado(true);
  Comparar(caja, listado);
  QCOMPARE(caja.model()->index(Fila_Seleccionada(caja), 0).data().toString(), QStringLiteral("[0000]: al final"));
}

void TPrueba_HListBox::Reemplazar_Todas_data() {
  QTest::addColumn<int>("lineas_nuevas");
  QTest::addColumn<int>("seleccion_esperada");
  QTest::newRow("mismo número") << 10 << 7;
  QTest::newRow("más líneas") << 30 << 7;
  QTest::newRow("menos, la selección ya no existe") << 5 << -1;
  QTest::newRow("ninguna") << 0 << -1;
}

void TPrueba_HListBox::Reemplazar_Todas() {
  QFETCH(int, lineas_nuevas);
  QFETCH(int, seleccion_esperada);
  TListado listado;
  for (int i = 0; i < 10; ++i) listado.Agregar(Linea_Direccion(i));
  listado.Seleccionar(7);
  THListBox caja;
  caja.Fijar_Listado(&listado);
  caja.show();

  std::vector<std::string> nuevas;
  for (int i = 0; i < lineas_nuevas; ++i) nuevas.push_back("[" + std::to_string(i) + "] nueva");
  listado.Reemplazar_Todas(std::move(nuevas));
  Comparar(caja, listado);
  QCOMPARE(Fila_Seleccionada(caja), seleccion_esperada);
}

void TPrueba_HListBox::Vaciar_data() {
  QTest::addColumn<int>("forma");
  QTest::addColumn<int>("extension_despues");
  QTest::newRow("THListBox::Clear") << 0 << 0;
  QTest::newRow("TListado::Clear") << 1 << 0;
  QTest::newRow("línea a línea: conserva la extensión") << 2 << 1000;
}

void TPrueba_HListBox::Vaciar() {
  QFETCH(int, forma);
  QFETCH(int, extension_despues);
  TListado listado;
  for (int i = 0; i < 100; ++i) listado.Agregar(Linea_Direccion(i));
  listado.Seleccionar(50);
  THListBox caja;
  caja.Fijar_Listado(&listado);
  caja.resize(348, 209);
  caja.Fijar_Extension_Horizontal(1000);
  caja.show();
  QVERIFY(QTest::qWaitForWindowExposed(&caja));
  caja.horizontalScrollBar()->setValue(300);
  QCOMPARE(caja.horizontalScrollBar()->value(), 300);

  if (forma == 0) caja.Clear();
  else if (forma == 1) listado.Clear();
  else listado.Vaciar_Linea_a_Linea();
  QCOMPARE(listado.Numero_Lineas(), 0);
  Comparar(caja, listado);
  QCOMPARE(caja.model()->rowCount(), 0);
  QCOMPARE(caja.Extension_Horizontal(), extension_despues);
  if (extension_despues == 0) {
    QCOMPARE(caja.horizontalScrollBar()->value(), 0);
    QCOMPARE(caja.horizontalScrollBar()->maximum(), 0);
  }

  // Lines added afterwards show normally.
  listado.Agregar(Linea_Direccion(1));
  Comparar(caja, listado);
}

void TPrueba_HListBox::Extension_Horizontal() {
  TListado listado;
  listado.Agregar(std::string(300, 'W'));  // far wider than the box
  THListBox caja;
  QCOMPARE(caja.Extension_Horizontal(), 0);
  caja.Fijar_Listado(&listado);
  caja.resize(348, 209);
  caja.show();
  QVERIFY(QTest::qWaitForWindowExposed(&caja));
  // Extent 0: the wide line is clipped, there is nothing to scroll to.
  QCOMPARE(caja.horizontalScrollBar()->maximum(), 0);

  caja.setProperty("Extension_Horizontal", 1000);
  QCOMPARE(caja.Extension_Horizontal(), 1000);
  QCoreApplication::processEvents();
  QCOMPARE(caja.horizontalScrollBar()->maximum(), 1000 - caja.viewport()->width());

  caja.Fijar_Extension_Horizontal(-5);  // refused as negative: no extent
  QCOMPARE(caja.Extension_Horizontal(), 0);
  QCoreApplication::processEvents();
  QCOMPARE(caja.horizontalScrollBar()->maximum(), 0);
}

void TPrueba_HListBox::Seleccion_Mantenida_a_la_Vista() {
  TListado listado;
  std::vector<std::string> lineas;
  for (int i = 0; i < 61440; ++i) lineas.push_back(Linea_Direccion(i));
  listado.Reemplazar_Todas(std::move(lineas));
  THListBox caja;
  caja.Fijar_Listado(&listado);
  caja.resize(348, 209);
  caja.show();
  QVERIFY(QTest::qWaitForWindowExposed(&caja));

  for (const char* direccion : {"EA60", "0005", "EFFF", "7800"}) {
    listado.Seleccionar_Direccion(direccion);
    const int fila = static_cast<int>(std::stoul(direccion, nullptr, 16));
    QCOMPARE(listado.Seleccion(), fila);
    QCOMPARE(Fila_Seleccionada(caja), fila);
    QCOMPARE(caja.currentIndex().row(), fila);
    QVERIFY2(caja.viewport()->rect().contains(caja.visualRect(caja.model()->index(fila, 0))), direccion);
  }
}

void TPrueba_HListBox::Seleccion_del_Usuario_Vuelve_al_Listado() {
  TListado listado;
  for (int i = 0; i < 10; ++i) listado.Agregar(Linea_Direccion(i));
  THListBox caja;
  caja.Fijar_Listado(&listado);
  caja.resize(348, 209);
  caja.show();
  QVERIFY(QTest::qWaitForWindowExposed(&caja));

  QTest::mouseClick(caja.viewport(), Qt::LeftButton, {}, caja.visualRect(caja.model()->index(3, 0)).center());
  QCOMPARE(listado.Seleccion(), 3);
  QTest::keyClick(&caja, Qt::Key_Down);
  QCOMPARE(listado.Seleccion(), 4);
  QCOMPARE(Fila_Seleccionada(caja), 4);
}

void TPrueba_HListBox::Caja_Destruida_Antes_que_el_Listado() {
  TListado listado;
  {
    THListBox caja;
    caja.Fijar_Listado(&listado);
    listado.Agregar("[0000]: visto");
  }
  // The box has let go of the listing, which goes on working alone.
  listado.Agregar("[0001]: sin caja");
  listado.Seleccionar(1);
  listado.Clear();
  QCOMPARE(listado.Numero_Lineas(), 0);

  // Showing another listing lets go of the first.
  TListado otro;
  THListBox caja;
  caja.Fijar_Listado(&listado);
  caja.Fijar_Listado(&otro);
  listado.Agregar("[0002]: ya no se ve");
  otro.Agregar("[0003]: se ve");
  Comparar(caja, otro);
}

QTEST_MAIN(TPrueba_HListBox)
#include "tst_HListBox.moc"
