#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>
#include <functional>

#include "Sesion.h"
#include "ui/Editor_Fuente.h"
#include "ui/Fuente.h"
#include "widgets/HListBox.h"

namespace {

TForm_Fuente* Ventana_Fuente() {
  for (QWidget* ventana : QApplication::topLevelWidgets())
    if (auto* fuente = qobject_cast<TForm_Fuente*>(ventana)) return fuente;
  return nullptr;
}

// Lines typed as a student types them: Enter keeps the indentation, so
// only the first line of a block types its own.
void Escribir(QWidget* editor, const QStringList& lineas) {
  for (const QString& linea : lineas) {
    QTest::keyClicks(editor, linea);
    QTest::keyClick(editor, Qt::Key_Return);
  }
}

void Ir_a_Linea(TEditor_Fuente* editor, int linea) {
  editor->setTextCursor(QTextCursor(editor->document()->findBlockByNumber(linea - 1)));
}

QStringList Errores(TForm_Fuente* fuente) { return fuente->property("errores").toStringList(); }
int Linea_PC(TForm_Fuente* fuente) { return fuente->property("linea_pc").toInt(); }

}  // namespace

class tst_Fuente : public QObject {
  Q_OBJECT

 private slots:
  // A student writes a program with a subroutine, fixes its two errors from
  // the list, loads it with F3 and follows it in the source: steps into the
  // subroutine and back, a step back, breakpoints from comment lines that
  // move with the edits above them, and a run to the cursor's line.
  void escribir_cargar_y_depurar() {
    TSesion s;
    QVERIFY(!Ventana_Fuente());  // nothing built at start-up
    s.A(QStringLiteral("MNuevo_Fuente"))->trigger();
    TForm_Fuente* fuente = Ventana_Fuente();
    QVERIFY(fuente && fuente->isVisible());
    QCOMPARE(fuente->windowTitle(), QStringLiteral("Programa fuente - sin_nombre.ASM"));
    auto* editor = fuente->findChild<TEditor_Fuente*>(QStringLiteral("Editor_Fuente"));
    editor->setFocus();
    Escribir(editor, {"; doble de 7, dos veces", "        LLI  R1, 7", "LLI  RD, LO(dobel)", "CALLR", "OUTT H'01, R1",
                      "HALT", "ORG  H'0010"});
    QTest::keyClick(editor, Qt::Key_Home, Qt::ShiftModifier);
    Escribir(editor, {"doble:  ADDS R1, R1, R1", "        RET"});
    QCOMPARE(editor->document()->findBlockByNumber(2).text(), QStringLiteral("        LLI  RD, LO(dobel)"));
    QVERIFY(fuente->property("modificado").toBool());
    QCOMPARE(fuente->windowTitle(), QStringLiteral("Programa fuente - sin_nombre.ASM*"));
    const QStringList dos = {QStringLiteral("3:21: etiqueta no definida: dobel"),
                             QStringLiteral("5:9: instrucción o directiva desconocida: OUTT")};
    QTRY_COMPARE(Errores(fuente), dos);
    auto* lista = fuente->findChild<QListWidget*>(QStringLiteral("Errores_Fuente"));
    QCOMPARE(lista->count(), 2);
    QCOMPARE(editor->Errores()[1].Fin - editor->Errores()[1].Inicio, 4);  // OUTT underlined whole

    // F3 with errors loads nothing, says why in the file's box, and goes to the first.
    s.Clic(QStringLiteral("BOnOff"));
    const QString antes = QString::fromStdString(s.E().Leer_Palabra(0x0010));
    QTest::keyClick(editor, Qt::Key_F3);
    QCOMPARE(s.Operador.Mensajes.size(), 1);
    QVERIFY(s.Operador.Mensajes[0].startsWith(QStringLiteral("ERROR: El programa tiene errores de ensamblado:\n3:21:")));
    QCOMPARE(QString::fromStdString(s.E().Leer_Palabra(0x0010)), antes);
    QCOMPARE(editor->textCursor().blockNumber(), 2);
    QCOMPARE(editor->textCursor().positionInBlock(), 20);

    // The second from the list, then the first by the replace bar.
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualItemRect(lista->item(1)).center());
    QCOMPARE(editor->textCursor().blockNumber(), 4);
    for (int i = 0; i < 3; ++i) QTest::keyClick(editor, Qt::Key_Right);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_H, Qt::ControlModifier);
    auto* buscar = fuente->findChild<QLineEdit*>(QStringLiteral("Buscar_Fuente"));
    QVERIFY(fuente->findChild<QWidget*>(QStringLiteral("Barra_Buscar"))->isVisible());
    buscar->setText(QStringLiteral("dobel"));
    fuente->findChild<QLineEdit*>(QStringLiteral("Reemplazar_Fuente"))->setText(QStringLiteral("doble"));
    QTest::mouseClick(fuente->findChild<QAbstractButton*>(QStringLiteral("BReemplazar_Todo")), Qt::LeftButton);
    QTRY_VERIFY(Errores(fuente).isEmpty());
    QCOMPARE(fuente->findChild<QLabel*>(QStringLiteral("Resumen_Fuente"))->text(),
             QStringLiteral("Sin errores: 7 palabras, de 0000 a 0011"));

    // F3 loads the words and the listing as the file would.
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_F3);
    QCOMPARE(s.Operador.Mensajes.size(), 1);
    QCOMPARE(QString::fromStdString(s.E().Leer_Palabra(0x0010)), QStringLiteral("6111"));
    QCOMPARE(QString::fromStdString(s.E().Leer_Palabra(0x0004)), QStringLiteral("F000"));
    QCOMPARE(s.E().Listado.Numero_Lineas(), 7);

    // Steps: the PC line follows into the subroutine and back, and a step back.
    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    QCOMPARE(Linea_PC(fuente), 3);
    for (int esperada : {4, 8, 9, 5}) {
      s.Pulsar(QStringLiteral("BContinuar"));
      QCOMPARE(Linea_PC(fuente), esperada);
    }
    QCOMPARE(s.V(QStringLiteral("R1")), QStringLiteral("000E"));
    s.A(QStringLiteral("MRetroceder"))->trigger();
    QCOMPARE(Linea_PC(fuente), 9);
    QCOMPARE(editor->Linea_PC(), 9);

    // F9 on the comment line: the next instruction's address; on the ORG, the subroutine's.
    Ir_a_Linea(editor, 1);
    QTest::keyClick(editor, Qt::Key_F9);
    Ir_a_Linea(editor, 7);
    QTest::keyClick(editor, Qt::Key_F9);
    QCOMPARE(s.Veltra->Form1()->property("puntos_ruptura").toStringList(), (QStringList{"0000", "0010"}));
    QCOMPARE(editor->Puntos(), (std::vector<int>{2, 8}));
    QVERIFY(s.W<THListBox>(QStringLiteral("Listado"))->Tiene_Punto_Ruptura(0));

    // An instruction typed above both: the dots go down with their lines,
    // PC's line is no longer known, and F3 gives the new addresses.
    Ir_a_Linea(editor, 1);
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, QStringLiteral("        LLI  R2, 1"));
    QCOMPARE(editor->Puntos(), (std::vector<int>{3, 9}));
    QCOMPARE(Linea_PC(fuente), 0);
    QCOMPARE(fuente->findChild<QLabel*>(QStringLiteral("Estado_Fuente"))->text(),
             QStringLiteral("El programa fuente ha cambiado: pulse F3 para cargarlo de nuevo"));
    QTest::keyClick(editor, Qt::Key_F3);
    QCOMPARE(s.Veltra->Form1()->property("puntos_ruptura").toStringList(), (QStringList{"0001", "0010"}));
    QCOMPARE(editor->Puntos(), (std::vector<int>{3, 9}));
    QCOMPARE(fuente->findChild<QLabel*>(QStringLiteral("Estado_Fuente"))->text(), QString());

    // F4 on RET runs from 0001 and stops first at the subroutine's breakpoint.
    s.Veltra->Form1()->findChild<QTimer*>(QStringLiteral("Reloj"))->setInterval(1);
    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    QCOMPARE(Linea_PC(fuente), 3);
    Ir_a_Linea(editor, 10);
    QTest::keyClick(editor, Qt::Key_F4);
    QTRY_COMPARE(s.W<QLabel>(QStringLiteral("Estado_Ejecucion"))->text(), QStringLiteral("Punto de ruptura en 0010"));
    QCOMPARE(Linea_PC(fuente), 9);
  }

  // Help under the mouse and at the cursor, from the assembler and the machine.
  void ayuda_y_completar() {
    TSesion s;
    s.A(QStringLiteral("MNuevo_Fuente"))->trigger();
    TForm_Fuente* fuente = Ventana_Fuente();
    auto* editor = fuente->findChild<TEditor_Fuente*>(QStringLiteral("Editor_Fuente"));
    editor->setFocus();
    Escribir(editor, {"        LLI  R1, 5", "ADDS R1, R1, R1", "HALT", "ORG H'0100", "doble:  DW H'6111"});
    QTest::keyClicks(editor, QStringLiteral("DW do"));
    QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);  // one name: completed at once
    QCOMPARE(editor->textCursor().block().text(), QStringLiteral("        DW doble"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, QStringLiteral("SH"));
    QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
    auto* lista = editor->findChild<QCompleter*>(QStringLiteral("Completar_Fuente"));
    QVERIFY(lista && lista->popup()->isVisible());
    QCOMPARE(lista->model()->rowCount(), 3);  // SHL, SHR, SHRA
    QTest::keyClick(lista->popup(), Qt::Key_Escape);
    QTRY_VERIFY(Errores(fuente).size() == 1);  // "SH" is no instruction

    s.Clic(QStringLiteral("BOnOff"));
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_F3);
    QVERIFY(s.Operador.Mensajes.isEmpty());
    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    QCOMPARE(editor->Ayuda(2, 13), QStringLiteral("R1 = 0005"));
    QCOMPARE(editor->Ayuda(5, 9), QStringLiteral("etiqueta doble = 0100, palabra 6111"));
    QCOMPARE(editor->Ayuda(2, 9), QStringLiteral("ADDS Rx, Rs, Rt: Rx := Rs + Rt; cambia Z, S, C y V"));
    QCOMPARE(editor->Ayuda(1, 2), QString());

    // Ctrl+/ comments the line and uncomments it; Shift+Tab and Tab unindent and indent.
    const auto linea = [editor](int n) { return editor->document()->findBlockByNumber(n - 1).text(); };
    Ir_a_Linea(editor, 3);
    QTest::keyClick(editor, Qt::Key_Slash, Qt::ControlModifier);
    QCOMPARE(linea(3), QStringLiteral(";         HALT"));
    QTRY_COMPARE(fuente->property("linea_pc").toInt(), 0);  // the text changed
    QTest::keyClick(editor, Qt::Key_Slash, Qt::ControlModifier);
    QCOMPARE(linea(3), QStringLiteral("        HALT"));
    QTest::keyClick(editor, Qt::Key_Backtab);
    QCOMPARE(linea(3), QStringLiteral("HALT"));
    QTextCursor dos = editor->textCursor();
    dos.setPosition(editor->document()->findBlockByNumber(1).position() + 3);
    dos.setPosition(editor->document()->findBlockByNumber(2).position() + 2, QTextCursor::KeepAnchor);
    editor->setTextCursor(dos);
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(linea(2), QStringLiteral("                ADDS R1, R1, R1"));
    QCOMPARE(linea(3), QStringLiteral("        HALT"));
    editor->undo();
    QCOMPARE(linea(3), QStringLiteral("HALT"));
  }

  // A source on disk: opened from the command line, reloaded when another
  // editor changes it, saved with Ctrl+S; New and closing VELTRA ask about
  // unsaved text, and the session brings unsaved text back.
  void archivos_y_sesion() {
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("PRUEBA.ASM"));
    const auto en_disco = [&ruta] {
      QFile archivo(ruta);
      return archivo.open(QIODevice::ReadOnly) ? QString::fromUtf8(archivo.readAll()) : QString();
    };
    const auto escribir_disco = [&ruta](const char* texto) {
      QFile archivo(ruta);
      QVERIFY(archivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
      archivo.write(texto);
    };
    escribir_disco("        HALT\n");
    const QString sin_guardar = QStringLiteral("El programa fuente %1 tiene cambios sin guardar. ¿Desea guardarlos?");
    {
      TSesion s({ruta});
      QTRY_VERIFY(Ventana_Fuente() && Ventana_Fuente()->isVisible());
      TForm_Fuente* fuente = Ventana_Fuente();
      auto* editor = fuente->findChild<TEditor_Fuente*>(QStringLiteral("Editor_Fuente"));
      QCOMPARE(fuente->windowTitle(), QStringLiteral("Programa fuente - PRUEBA.ASM"));
      QCOMPARE(editor->toPlainText(), QStringLiteral("        HALT\n"));
      QCOMPARE(QString::fromStdString(s.E().Leer_Palabra(0)), QStringLiteral("F000"));

      // Changed by another editor, nothing unsaved here: reloaded, as an
      // edit that undo takes back; the cursor stays on its line of text.
      editor->moveCursor(QTextCursor::End);
      escribir_disco("        LLI  R1, 1\n        HALT\n");
      QTRY_COMPARE(editor->toPlainText(), QStringLiteral("        LLI  R1, 1\n        HALT\n"));
      QVERIFY(!fuente->property("modificado").toBool());
      QCOMPARE(editor->textCursor().blockNumber(), 2);
      editor->undo();
      QCOMPARE(editor->toPlainText(), QStringLiteral("        HALT\n"));
      QVERIFY(fuente->property("modificado").toBool());
      editor->redo();
      QVERIFY(!fuente->property("modificado").toBool());

      // Typed: New asks, and Cancelar keeps the text.
      editor->moveCursor(QTextCursor::End);
      QTest::keyClicks(editor, QStringLiteral("; fin"));
      QVERIFY(fuente->property("modificado").toBool());
      s.Operador.Respuesta = QMessageBox::Cancel;
      s.A(QStringLiteral("MNuevo_Fuente"))->trigger();
      QCOMPARE(s.Operador.Mensajes, QStringList{sin_guardar.arg(QStringLiteral("PRUEBA.ASM"))});
      QCOMPARE(s.Operador.Botones.constFirst().split(QLatin1Char('|')).size(), 3);
      QVERIFY(editor->toPlainText().endsWith(QStringLiteral("; fin")));

      // Changed on disk with unsaved text: asked, and No keeps the student's.
      s.Operador.Respuesta = QMessageBox::No;
      escribir_disco("        HALT\n");
      QTRY_COMPARE(s.Operador.Mensajes.size(), 2);
      QVERIFY(s.Operador.Mensajes[1].contains(QStringLiteral("ha cambiado en el disco")));
      QVERIFY(editor->toPlainText().endsWith(QStringLiteral("; fin")));

      // Ctrl+S in the source window saves the source, not the program.
      QString dialogo;
      s.Operador.Acciones.push_back([&dialogo](QWidget* modal) {
        dialogo = modal->objectName();
        static_cast<QDialog*>(modal)->reject();
      });
      editor->setFocus();
      QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
      QCOMPARE(en_disco(), QStringLiteral("        LLI  R1, 1\n        HALT\n; fin\n"));
      QVERIFY(!fuente->property("modificado").toBool());
      QCOMPARE(dialogo, QString());
      QCOMPARE(s.Operador.Mensajes.size(), 2);  // our own save is no change from outside
      s.Operador.Acciones.clear();

      // A new source, typed and left unsaved; closing VELTRA asks, No leaves it.
      s.A(QStringLiteral("MNuevo_Fuente"))->trigger();
      QCOMPARE(fuente->windowTitle(), QStringLiteral("Programa fuente - sin_nombre.ASM"));
      QTest::keyClicks(editor, QStringLiteral("        LLI  R3, 3"));
      s.Veltra->Form1()->close();
      QCOMPARE(s.Operador.Mensajes.last(), sin_guardar.arg(QStringLiteral("sin_nombre.ASM")));
    }
    TSesion s;
    QVERIFY(!Ventana_Fuente());
    s.A(QStringLiteral("MRecuperar_Sesion"))->trigger();
    TForm_Fuente* fuente = Ventana_Fuente();
    QVERIFY(fuente && fuente->isVisible());
    QCOMPARE(fuente->Texto(), QStringLiteral("        LLI  R3, 3"));
    QVERIFY(fuente->property("modificado").toBool());
    QCOMPARE(fuente->windowTitle(), QStringLiteral("Programa fuente - sin_nombre.ASM*"));
    QVERIFY(s.Operador.Mensajes.isEmpty());
  }

  // Breakpoints marked before any load take their addresses at F3; the
  // listing's own breakpoints show in the margin; an error's tooltip is its
  // message; Ctrl+F finds; closing the window with No goes back to the file.
  void marcas_antes_de_cargar() {
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("MARCAS.ASM"));
    {
      QFile archivo(ruta);
      QVERIFY(archivo.open(QIODevice::WriteOnly));
      archivo.write("; marcas\n        LLI  R1, 1\n\n        ADDS R1, R1, R1\n        HALT\n");
    }
    TSesion s;
    s.Operador.Respuesta = QMessageBox::No;
    s.A(QStringLiteral("MNuevo_Fuente"))->trigger();
    TForm_Fuente* fuente = Ventana_Fuente();
    auto* editor = fuente->findChild<TEditor_Fuente*>(QStringLiteral("Editor_Fuente"));
    QVERIFY(fuente->Abrir(ruta));
    QCOMPARE(s.E().Listado.Numero_Lineas(), 0);  // shown, not loaded: that is the load path's

    // Not loaded yet: F9 on the blank line 3 marks it; the click in the
    // margin on line 5 too, and again there takes it off.
    Ir_a_Linea(editor, 3);
    QTest::keyClick(editor, Qt::Key_F9);
    editor->Clic_Margen(5);
    editor->Clic_Margen(2);
    editor->Clic_Margen(5);
    QCOMPARE(editor->Puntos(), (std::vector<int>{2, 3}));
    QVERIFY(s.Veltra->Form1()->property("puntos_ruptura").toStringList().isEmpty());
    QTest::keyClick(editor, Qt::Key_F3);
    QCOMPARE(s.Veltra->Form1()->property("puntos_ruptura").toStringList(), (QStringList{"0000", "0001"}));
    QCOMPARE(editor->Puntos(), (std::vector<int>{2, 4}));  // the blank line's went to its instruction

    // A breakpoint from the listing shows in the margin too.
    auto* listado = s.W<THListBox>(QStringLiteral("Listado"));
    const QPoint fila = listado->visualRect(listado->model()->index(2, 0)).center();
    QTest::mouseClick(listado->viewport(), Qt::LeftButton, {}, fila);
    QTest::mouseDClick(listado->viewport(), Qt::LeftButton, {}, fila);
    QCOMPARE(editor->Puntos(), (std::vector<int>{2, 4, 5}));

    // An error's tooltip is the list's message.
    Ir_a_Linea(editor, 5);
    QTest::keyClicks(editor, QStringLiteral("XX"));
    QTRY_COMPARE(Errores(fuente).size(), 1);
    QCOMPARE(editor->Ayuda(5, 1), QStringLiteral("instrucción o directiva desconocida: XX"));
    QCOMPARE(editor->Ayuda(5, 2), QString());  // past the token: the blanks

    // Ctrl+F: the bar, and the next match from the cursor on.
    Ir_a_Linea(editor, 1);
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    auto* buscar = fuente->findChild<QLineEdit*>(QStringLiteral("Buscar_Fuente"));
    QVERIFY(buscar->hasFocus() || !QApplication::focusWidget());
    buscar->setText(QStringLiteral("r1"));
    QTest::keyClick(buscar, Qt::Key_Return);
    QCOMPARE(editor->textCursor().blockNumber(), 1);
    QCOMPARE(editor->textCursor().selectedText(), QStringLiteral("R1"));

    // Closing with unsaved changes asks; No goes back to the saved text.
    QVERIFY(fuente->property("modificado").toBool());
    fuente->close();
    QCOMPARE(s.Operador.Mensajes.last(),
             QStringLiteral("El programa fuente MARCAS.ASM tiene cambios sin guardar. ¿Desea guardarlos?"));
    QVERIFY(!fuente->isVisible());
    QVERIFY(!fuente->property("modificado").toBool());
    QVERIFY(fuente->Texto().endsWith(QStringLiteral("        HALT\n")));
  }

  // Every colour reads on what it is drawn on, for a light, a dark and a
  // high-contrast palette, and the editor follows a palette set for the
  // whole application (as the themes set it) with no more work.
  // The editor repaints only what an edit changed (the line, or the lines
  // from the edit down, and the margin's rows that show something else):
  // after each edit the screen must show what a whole repaint would.
  // (QCOMPARE in a row's edit stops the row, as in the test itself.)
  void repintado_parcial_data() {
    QTest::addColumn<std::function<void(TEditor_Fuente*)>>("edicion");
    const auto tecla = [](Qt::Key k, Qt::KeyboardModifiers m = {}) {
      return [k, m](TEditor_Fuente* e) { QTest::keyClick(e, k, m); };
    };
    QTest::newRow("Intro en medio") << std::function<void(TEditor_Fuente*)>(tecla(Qt::Key_Return));
    QTest::newRow("Intro en la primera fila") << std::function<void(TEditor_Fuente*)>([](TEditor_Fuente* e) {
      e->setTextCursor(e->cursorForPosition(QPoint(0, 0)));
      e->moveCursor(QTextCursor::StartOfBlock);
      QTest::keyClick(e, Qt::Key_Return);
    });
    QTest::newRow("Retroceso une dos líneas") << std::function<void(TEditor_Fuente*)>([](TEditor_Fuente* e) {
      e->moveCursor(QTextCursor::StartOfBlock);
      QTest::keyClick(e, Qt::Key_Backspace);
    });
    QTest::newRow("Suprimir tres líneas") << std::function<void(TEditor_Fuente*)>([](TEditor_Fuente* e) {
      QTextCursor c = e->textCursor();
      c.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 3);
      e->setTextCursor(c);
      QTest::keyClick(e, Qt::Key_Delete);
    });
    QTest::newRow("Pegar tres líneas y deshacer") << std::function<void(TEditor_Fuente*)>([](TEditor_Fuente* e) {
      e->textCursor().insertText(QStringLiteral("\nLLI R2, 1\nHALT\n"));
      QCoreApplication::processEvents();
      e->undo();
    });
    QTest::newRow("Una letra al principio") << std::function<void(TEditor_Fuente*)>([](TEditor_Fuente* e) {
      e->moveCursor(QTextCursor::StartOfBlock);
      QTest::keyClicks(e, QStringLiteral("X"));
    });
    QTest::newRow("Una línea encima de la vista") << std::function<void(TEditor_Fuente*)>([](TEditor_Fuente* e) {
      QTextCursor(e->document()->firstBlock()).insertText(QStringLiteral("; nueva\n"));
    });
    QTest::newRow("Suprimir hasta el final") << std::function<void(TEditor_Fuente*)>([](TEditor_Fuente* e) {
      e->moveCursor(QTextCursor::Start);
      QCoreApplication::processEvents();
      Ir_a_Linea(e, 20);
      e->moveCursor(QTextCursor::End, QTextCursor::KeepAnchor);
      QTest::keyClick(e, Qt::Key_Delete);
    });
    QTest::newRow("Intro encima del punto y del error") << std::function<void(TEditor_Fuente*)>([](TEditor_Fuente* e) {
      Ir_a_Linea(e, 39);
      QTest::keyClick(e, Qt::Key_F9);
      QCOMPARE(e->Puntos(), std::vector<int>{39});
      QCoreApplication::processEvents();
      Ir_a_Linea(e, 38);
      QTest::keyClick(e, Qt::Key_Return);
      QCOMPARE(e->Puntos(), std::vector<int>{40});
    });
  }
  void repintado_parcial() {
    QFETCH(std::function<void(TEditor_Fuente*)>, edicion);
    QApplication::setCursorFlashTime(0);  // the cursor stays drawn in both pictures
    TSesion s;
    s.A(QStringLiteral("MNuevo_Fuente"))->trigger();
    TForm_Fuente* fuente = Ventana_Fuente();
    auto* editor = fuente->findChild<TEditor_Fuente*>(QStringLiteral("Editor_Fuente"));
    QStringList lineas;
    for (int i = 0; i < 80; ++i)
      lineas << (i % 3 ? QStringLiteral("        ADDS R%1, R1, R2 ; suma").arg(i % 16) : QStringLiteral("et%1:   LLI R1, %1").arg(i));
    lineas[40] = QStringLiteral("        ADDS R1, R1");  // an error to mark
    editor->Poner_Texto(lineas.join(QLatin1Char('\n')));
    fuente->Ensamblar();
    editor->setFocus();
    Ir_a_Linea(editor, 30);
    editor->moveCursor(QTextCursor::EndOfBlock);
    editor->centerCursor();
    QVERIFY(QTest::qWaitForWindowExposed(fuente));

    edicion(editor);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();  // the margin compares its rows once the view has settled
    const QRect zona(editor->mapTo(fuente, QPoint(0, 0)), editor->size());
    const QImage pantalla = fuente->screen()->grabWindow(fuente->winId()).toImage().copy(zona);
    const QImage entero = editor->grab().toImage();
    QCOMPARE(pantalla.size(), entero.size());
    QVERIFY(pantalla.convertToFormat(QImage::Format_RGB32) == entero.convertToFormat(QImage::Format_RGB32));
  }

  // Only the part that differs is replaced, and undo brings the old text back.
  void reemplazar_texto_data() {
    QTest::addColumn<QString>("antes");
    QTest::addColumn<QString>("despues");
    QTest::newRow("igual") << QStringLiteral("HALT\n") << QStringLiteral("HALT\n");
    QTest::newRow("de vacío") << QString() << QStringLiteral("HALT\n");
    QTest::newRow("a vacío") << QStringLiteral("HALT\n") << QString();
    QTest::newRow("principio y fin se solapan") << QStringLiteral("aa") << QStringLiteral("aaa");
    QTest::newRow("una línea en medio") << QStringLiteral("a\nb\nc") << QStringLiteral("a\nx\ny\nc");
    QTest::newRow("menos líneas") << QStringLiteral("a\nb\nb\nc") << QStringLiteral("a\nb\nc");
  }
  void reemplazar_texto() {
    QFETCH(QString, antes);
    QFETCH(QString, despues);
    TEditor_Fuente editor;
    editor.Poner_Texto(antes);
    editor.Reemplazar_Texto(despues);
    QCOMPARE(editor.toPlainText(), despues);
    QCOMPARE(editor.document()->isUndoAvailable(), antes != despues);
    editor.undo();
    QCOMPARE(editor.toPlainText(), antes);
  }

  // The assembler counts characters, the editor UTF-16 units: a character
  // outside the BMP is two of them.
  void unidades_utf16_data() {
    QTest::addColumn<QString>("linea");
    QTest::addColumn<int>("caracteres");
    QTest::addColumn<int>("unidades");
    const QString cara = QString::fromUtf8("\xF0\x9F\x98\x80");  // one character, two units
    QTest::newRow("vacía") << QString() << 0 << 0;
    QTest::newRow("ascii") << QStringLiteral("LLI R1, 1") << 4 << 4;
    QTest::newRow("antes de la cara") << QStringLiteral("; ") + cara + QStringLiteral(" hola") << 2 << 2;
    QTest::newRow("tras la cara") << QStringLiteral("; ") + cara + QStringLiteral(" hola") << 3 << 4;
    QTest::newRow("fin de la línea") << QStringLiteral("; ") + cara << 3 << 4;
    QTest::newRow("dos caras") << cara + cara + QStringLiteral("x") << 3 << 5;
  }
  void unidades_utf16() {
    QFETCH(QString, linea);
    QFETCH(int, caracteres);
    QFETCH(int, unidades);
    QCOMPARE(Unidades_UTF16(linea, caracteres), unidades);
    QCOMPARE(Caracteres_UTF16(linea, unidades), caracteres);
  }

  // A comment after a character outside the BMP is coloured to its end, and
  // an error after one is underlined under its own token.
  void colores_tras_caracter_ancho() {
    TSesion s;
    s.A(QStringLiteral("MNuevo_Fuente"))->trigger();
    TForm_Fuente* fuente = Ventana_Fuente();
    auto* editor = fuente->findChild<TEditor_Fuente*>(QStringLiteral("Editor_Fuente"));
    const QString cara = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString comentario = QStringLiteral("HALT ; ") + cara + QStringLiteral(" fin");
    editor->Poner_Texto(comentario + QStringLiteral("\nLLI ") + cara + QStringLiteral(", 1"));
    fuente->Ensamblar();
    QTRY_VERIFY(!editor->document()->firstBlock().layout()->formats().isEmpty());
    const QTextLayout::FormatRange ultimo = editor->document()->firstBlock().layout()->formats().constLast();
    QCOMPARE(ultimo.start + ultimo.length, comentario.size());
    QVERIFY(!editor->Errores().empty());
    const TError_Linea& error = editor->Errores().front();
    QCOMPARE(error.Linea, 2);
    QCOMPARE(editor->document()->findBlockByNumber(1).text().mid(error.Inicio, error.Fin - error.Inicio), cara);
  }

  void colores_del_tema_data() {
    QTest::addColumn<QColor>("fondo");
    QTest::addColumn<QColor>("texto");
    QTest::newRow("clasico") << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("oscuro") << QColor(0x1E, 0x1E, 0x1E) << QColor(0xDC, 0xDC, 0xDC);
    QTest::newRow("alto contraste") << QColor(Qt::black) << QColor(Qt::white);
    QTest::newRow("gris medio") << QColor(0x80, 0x80, 0x80) << QColor(Qt::black);
  }
  void colores_del_tema() {
    QFETCH(QColor, fondo);
    QFETCH(QColor, texto);
    QPalette paleta;
    paleta.setColor(QPalette::Base, fondo);
    paleta.setColor(QPalette::Text, texto);
    const TColores_Fuente c = Colores_Fuente(paleta);
    QCOMPARE(c.Fondo, fondo);
    for (const QColor& color : {c.Texto, c.Mnemonico, c.Directiva, c.Registro, c.Constante, c.Etiqueta, c.Comentario,
                                c.Error})
      for (const QColor& detras : {c.Fondo, c.Linea_Cursor, c.Linea_PC})
        QVERIFY2(Contraste(color, detras) >= 4.5, qPrintable(color.name() + QStringLiteral(" on ") + detras.name()));
    QVERIFY(Contraste(c.Margen_Texto, c.Margen_Fondo) >= 4.5);
    QVERIFY(Contraste(c.Punto_Ruptura, c.Margen_Fondo) >= 4.5);
    // The PC line stands apart from the cursor's line and from the text's background.
    QVERIFY(c.Linea_PC != c.Linea_Cursor && c.Linea_PC != c.Fondo && c.Linea_Cursor != c.Fondo);

    TSesion s;
    s.A(QStringLiteral("MNuevo_Fuente"))->trigger();
    auto* editor = Ventana_Fuente()->findChild<TEditor_Fuente*>(QStringLiteral("Editor_Fuente"));
    QTest::keyClicks(editor, QStringLiteral("HALT"));
    const QPalette antes = QApplication::palette();
    QApplication::setPalette(paleta);
    QTRY_COMPARE(editor->Colores().Fondo, fondo);
    QTRY_VERIFY(!editor->document()->firstBlock().layout()->formats().isEmpty());
    QCOMPARE(editor->document()->firstBlock().layout()->formats().constFirst().format.foreground().color(),
             c.Mnemonico);
    QApplication::setPalette(antes);
  }
};

QTEST_MAIN(tst_Fuente)
#include "tst_Fuente.moc"
