#include <QSignalSpy>
#include <stdexcept>

#include "tst_hexeditor_fixture.h"

// The memory editor: its view (grid, offsets, cell texts and colours, caret,
// the buffer it shows) and its keyboard and mouse input, driven by real
// events. VELTRA's layout: 2 bytes a row; columns 2..5 are digits, 6 the gap,
// 7..8 characters. 21 bytes make 11 rows, the last holding byte 20 alone.

namespace {

// The 21-byte editor with exactly 5 full rows visible.
std::unique_ptr<THexEditor> FiveRowEditor() {
  auto editor = Editor(Counting(21));
  const int wanted = 5 * editor->CharHeight() + editor->CharHeight() / 2;
  editor->resize(editor->width(), editor->height() + wanted - editor->viewport()->height());
  return editor;
}

QPoint Centre(THexEditor& editor, int col, int row) { return editor.CellRect(col, row).center(); }
QPoint Caret(THexEditor& editor) { return QPoint(editor.Col(), editor.Row()); }
QString Hex(THexEditor& editor) { return QString::fromStdString(editor.Buffer().AsHex()); }

// Which presses of a navigation row reach OnKeyDown.
enum { unheard = 0, plainHeard = 1, ctrlHeard = 2, bothHeard = 3 };

// Key events carrying only the typed characters.
void Type(THexEditor& editor, const QString& text, Qt::KeyboardModifiers modifiers = {}) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, modifiers, QString(c));
    QApplication::sendEvent(&editor, &press);
  }
}

// A row of the navigation table: the key is pressed from the start cell
// plainly, with Ctrl, and with Shift, which lands where the plain key does and
// selects the bytes passed. Cells are {col, row, top row}, top -1 unchecked;
// an empty cell skips the press. Heard: the presses that reach OnKeyDown.
struct TNavigation { int Key; QList<int> Start, Plain, Ctrl; int Heard; };

// Typing on a cell; value -1: refused, nothing changes and the caret stays.
struct TTyping { QPoint Cell; int Modifiers; const char* Typed; int Value; QPoint End; };

// Ctrl+Delete from a cell, with or without bytes 6 and 7 selected.
struct TCtrlDelete { QVariantMap Properties; QPoint Cell; bool Selection; const char* Remaining; QPoint End; };

// What the cells of byte 1 show (row 0, digits in columns 4 and 5, character
// in 8).
struct TText { QVariantMap Properties; int Byte; const char* Digits; const char* Character; };

// The offset column of a row, with its width in characters.
struct TOffset { int Size, Row; const char* Text; int Width; };

// The colours of a cell of row 0, whose bytes 0..3 may be selected and whose
// byte may be marked changed.
struct TColours { bool Changed, Selected; int Col; QColor Text, Background; };

}  // namespace

Q_DECLARE_METATYPE(TNavigation)
Q_DECLARE_METATYPE(TTyping)
Q_DECLARE_METATYPE(TCtrlDelete)
Q_DECLARE_METATYPE(TText)
Q_DECLARE_METATYPE(TOffset)
Q_DECLARE_METATYPE(TColours)

class tst_hexeditor : public QObject {
  Q_OBJECT

 private slots:
  // VELTRA's layout: offset, marker, four digits with the group's wider last one, gap, two characters.
  void gridColumns() {
    THexEditor editor;
    editor.SetBytesPerLine(2);
    QCOMPARE(editor.ColCount(), 9);
    const int w = editor.CharWidth();
    for (int col = 1; col < 9; ++col) QCOMPARE(editor.ColWidth(col), col == 5 ? 2 * w : w);
  }

  void offsetForms_data() {
    QTest::addColumn<TOffset>("offset");
    const auto row = [](const char* name, TOffset offset) { QTest::newRow(name) << offset; };
    row("empty hex", {0, 0, "H:", 4});
    row("VELTRA first", {122880, 0, "H0000:", 8});
    row("VELTRA last", {122880, 61439, "HEFFF:", 8});
  }
  void offsetForms() {
    QFETCH(TOffset, offset);
    auto editor = Editor(Counting(static_cast<size_t>(offset.Size)));
    QCOMPARE(editor->CellLook(0, offset.Row).Text, QString::fromLatin1(offset.Text));
    QCOMPARE(editor->ColWidth(0), offset.Width * editor->CharWidth());
  }

  void cellTexts_data() {
    QTest::addColumn<TText>("text");
    const auto row = [](const char* name, TText text) { QTest::newRow(name) << text; };
    row("41", {{}, 0x41, "41", "A"});
    row("control", {{}, 0x07, "07", "."});
    row("high", {{}, 0xC8, "C8", "."});
    row("ansi euro", {{{"Translation", THexEditor::ttAnsi}}, 0x80, "80", "€"});
    row("ebcdic letter", {{{"Translation", THexEditor::ttEBCDIC}}, 0xC1, "C1", "A"});
  }
  void cellTexts() {
    QFETCH(TText, text);
    auto editor = Editor({0x00, static_cast<uint8_t>(text.Byte)}, text.Properties);
    QCOMPARE(editor->CellLook(4, 0).Text + editor->CellLook(5, 0).Text, QString::fromLatin1(text.Digits));
    QCOMPARE(editor->CellLook(6, 0).Text, QStringLiteral(" "));  // the gap
    QCOMPARE(editor->CellLook(8, 0).Text, QString::fromUtf8(text.Character));
  }

  // A row is one group of digits: VELTRA shows the odd column's colours only.
  void cellColours_data() {
    QTest::addColumn<TColours>("cell");
    const auto row = [](const char* name, TColours cell) { QTest::newRow(name) << cell; };
    row("digit", {false, false, 3, clBlue, clWhite});
    row("changed", {true, false, 2, clMaroon, kPaleYellow});
    row("selected digit", {false, true, 5, clYellow, clBlue});
    row("selected character", {false, true, 7, clWhite, clBlack});
    row("selected changed", {true, true, 2, kPaleYellow, clMaroon});
  }
  void cellColours() {
    QFETCH(TColours, cell);
    auto editor = Editor(Counting(64));
    if (cell.Changed) editor->Buffer().MarkChanged(cell.Col == 7 ? 0 : (cell.Col - 2) / 2);
    if (cell.Selected) {
      editor->Buffer().SelAnchor = editor->Buffer().SelStart = 0;
      editor->Buffer().SelEnd = 3;
    }
    const TCellLook look = editor->CellLook(cell.Col, 0);
    QCOMPARE(look.TextColor, cell.Text);
    QCOMPARE(look.Background, cell.Background);
    QCOMPARE(editor->CellLook(2, 2).Background, clWhite);  // byte 4 keeps the plain colours
  }

  // The full caret inverts what lies under it (every colour XOR the inverse
  // of CursorFrame, so navy on white) over CharWidth x (CharHeight - 2) pixels.
  void caret() {
    auto editor = Editor(Counting(40));
    editor->MoveTo(3, 4);
    const QImage focused = Grab(*editor);
    editor->clearFocus();
    const QImage unfocused = Grab(*editor);
    const QRect cell = editor->CellRect(3, 4);
    const QColor mask = TColors::Inverse(clNavy);
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x) {
        const QColor before = unfocused.pixelColor(x, y), after = focused.pixelColor(x, y);
        QVERIFY(after == before || after == QColor(before.rgb() ^ mask.rgb()));
      }
    const int right = cell.left() + editor->CharWidth() - 1, bottom = cell.bottom() - 2;
    for (QPoint corner : {cell.topLeft(), QPoint(right, cell.top()), QPoint(cell.left(), bottom), QPoint(right, bottom)})
      QCOMPARE(focused.pixelColor(corner), clNavy);
  }

  // The machine's memory is shown as it is, never copied, and let go safely.
  void externalBuffer() {
    THexEditorBuffer memory;
    const std::vector<uint8_t> bytes = Counting(122880);
    memory.LoadFromBytes(bytes.data(), bytes.size());
    {
      THexEditor editor(&memory);
      editor.SetBytesPerLine(2);
      QCOMPARE(&editor.Buffer(), &memory);
      QCOMPARE(editor.RowCount(), 61440);
      editor.MoveTo(3, 100);
      memory.LoadFromBytes(bytes.data(), 10);  // the machine's load rebuilds the grid
      QCOMPARE(editor.RowCount(), 5);
      QCOMPARE(QPoint(editor.Col(), editor.Row()), QPoint(2, 0));
      QCOMPARE(editor.CellLook(5, 4).Text, QStringLiteral("9"));
      memory.SetMemory(9, 0xAB);  // the machine's write shows at once, not as a change
      QCOMPARE(editor.CellLook(5, 4).Text, QStringLiteral("B"));
      QCOMPARE(editor.CellLook(5, 4).Background, editor.Colors()->Background());
      editor.SetBuffer(nullptr);
      QCOMPARE(editor.DataSize(), 0);
      editor.SetBuffer(&memory);
    }
    memory.LoadFromBytes(bytes.data(), 4);  // the editor is gone: loading must not reach it
    QCOMPARE(memory.DataSize(), 4);
  }

  // No key of the table changes a byte.
  void navigation_data() {
    QTest::addColumn<TNavigation>("step");
    const auto row = [](const char* name, TNavigation step) { QTest::newRow(name) << step; };
    row("Right", {Qt::Key_Right, {2, 0, 0}, {3, 0, -1}, {8, 0, -1}, unheard});
    row("Right to the next row", {Qt::Key_Right, {5, 0, 0}, {2, 1, -1}, {8, 0, -1}, unheard});
    row("Right on the last digit", {Qt::Key_Right, {3, 10, 6}, {3, 10, -1}, {7, 10, -1}, unheard});
    row("Right wraps in characters", {Qt::Key_Right, {8, 0, 0}, {7, 1, -1}, {8, 0, -1}, unheard});
    row("Left", {Qt::Key_Left, {3, 3, 0}, {2, 3, -1}, {2, 3, -1}, ctrlHeard});
    row("Left to the previous row", {Qt::Key_Left, {2, 1, 0}, {5, 0, -1}, {2, 1, -1}, ctrlHeard});
    row("Left on the first digit", {Qt::Key_Left, {2, 0, 0}, {2, 0, -1}, {2, 0, -1}, ctrlHeard});
    row("Left wraps in characters", {Qt::Key_Left, {7, 1, 0}, {8, 0, -1}, {7, 1, -1}, ctrlHeard});  // not onto the gap
    row("Down", {Qt::Key_Down, {4, 0, 0}, {4, 1, -1}, {4, 1, -1}, ctrlHeard});
    row("Down past the data", {Qt::Key_Down, {4, 9, 6}, {2, 10, -1}, {2, 10, -1}, ctrlHeard});
    row("Up", {Qt::Key_Up, {4, 5, 2}, {4, 4, -1}, {4, 4, -1}, ctrlHeard});
    row("Home", {Qt::Key_Home, {5, 3, 0}, {2, 3, -1}, {2, 0, 0}, unheard});
    row("Home in characters", {Qt::Key_Home, {8, 3, 0}, {7, 3, -1}, {7, 0, 0}, unheard});
    row("End", {Qt::Key_End, {3, 3, 0}, {4, 3, -1}, {2, 10, 6}, unheard});
    row("End on the last row", {Qt::Key_End, {2, 10, 6}, {2, 10, -1}, {2, 10, 6}, unheard});
    row("End in characters", {Qt::Key_End, {7, 1, 0}, {8, 1, -1}, {7, 10, 6}, unheard});
    row("T", {Qt::Key_T, {2, 3, 0}, {2, 3, -1}, {7, 3, -1}, plainHeard});
    row("T back", {Qt::Key_T, {8, 3, 0}, {}, {4, 3, -1}, unheard});  // a plain t would type
    row("Tab", {Qt::Key_Tab, {3, 3, 0}, {7, 3, -1}, {3, 3, -1}, ctrlHeard});
    row("PageDown", {Qt::Key_PageDown, {2, 0, 0}, {2, 4, 4}, {2, 4, 0}, unheard});
    row("PageDown again", {Qt::Key_PageDown, {3, 4, 4}, {3, 8, 6}, {3, 8, 4}, unheard});
    row("PageDown at the end", {Qt::Key_PageDown, {2, 8, 6}, {2, 10, 6}, {2, 10, 6}, unheard});
    row("PageUp", {Qt::Key_PageUp, {2, 8, 6}, {2, 4, 2}, {2, 6, 6}, unheard});
    row("PageUp at the top", {Qt::Key_PageUp, {2, 2, 0}, {2, 0, 0}, {2, 0, 0}, unheard});
    row("Shift alone", {Qt::Key_Shift, {4, 2, 0}, {4, 2, -1}, {4, 2, -1}, ctrlHeard});
    row("Ctrl alone", {Qt::Key_Control, {4, 2, 0}, {4, 2, -1}, {4, 2, -1}, bothHeard});
    // Overwrite mode: Backspace is Left for the grid, Delete alone does nothing.
    row("Backspace", {Qt::Key_Backspace, {3, 3, 0}, {2, 3, -1}, {2, 3, -1}, bothHeard});
    row("Delete", {Qt::Key_Delete, {3, 3, 0}, {3, 3, -1}, {}, plainHeard});
  }
  void navigation() {
    QFETCH(TNavigation, step);
    auto editor = FiveRowEditor();
    const QString bytes = Hex(*editor);
    QSignalSpy keyDowns(editor.get(), &THexEditor::OnKeyDown);
    const auto press = [&](const char* pass, Qt::KeyboardModifiers modifiers, QList<int> end, bool keyDown) {
      if (end.isEmpty()) return;
      editor->MoveTo(step.Start[0], step.Start[1]);
      editor->SetTopRow(step.Start[2]);
      const int from = editor->CursorPos();
      keyDowns.clear();
      QTest::keyClick(editor.get(), static_cast<Qt::Key>(step.Key), modifiers);
      if (end[2] < 0) end[2] = editor->TopRow();
      end << (keyDown ? 1 : 0) + (modifiers == Qt::ControlModifier ? 1 : 0);  // Ctrl's own key down too
      const auto state = [pass](const QList<int>& v) {
        return QStringLiteral("%1: cell %2,%3 top %4, %5 key downs").arg(pass).arg(v[0]).arg(v[1]).arg(v[2]).arg(v[3]);
      };
      QCOMPARE(state({editor->Col(), editor->Row(), editor->TopRow(), int(keyDowns.size())}), state(end));
      QVERIFY(editor->TopRow() <= end[1] && end[1] < editor->TopRow() + 5);
      QCOMPARE(Hex(*editor), bytes);
      const int to = editor->CursorPos();
      if (modifiers == Qt::ShiftModifier && to != from)
        QCOMPARE(QPoint(editor->SelStart(), editor->SelEnd()), QPoint(std::min(from, to), std::max(from, to)));
    };
    press("plain", Qt::NoModifier, step.Plain, step.Heard & plainHeard);
    press("Ctrl", Qt::ControlModifier, step.Ctrl, step.Heard & ctrlHeard);
    press("Shift", Qt::ShiftModifier, step.Plain, step.Heard & plainHeard);
  }

  // On a cell of byte 5 (0x05) unless stated. A typed byte shows as changed.
  void typing_data() {
    QTest::addColumn<TTyping>("step");
    const auto row = [](const char* name, TTyping step) { QTest::newRow(name) << step; };
    const QPoint high(4, 2), low(5, 2), character(8, 2), next(2, 3), nextCharacter(7, 3);
    const int ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
    row("4 then 1 on 00", {{2, 0}, 0, "41", 0x41, {4, 0}});
    row("lower-case a", {high, 0, "a", 0xA5, low});
    row("f on the low digit", {low, 0, "f", 0x0F, next});
    row("accented", {high, 0, "á", -1, high});
    row("last digit of the last byte", {{3, 10}, 0, "F", 0x1F, {3, 10}});
    row("Alt", {high, alt, "4", -1, high});
    row("Ctrl", {high, ctrl, "4", -1, high});
    row("AltGr", {high, ctrl | alt, "4", 0x45, low});
    row("ascii letter", {character, 0, "A", 0x41, nextCharacter});
    row("ascii accented", {character, 0, "é", -1, character});
  }
  void typing() {
    QFETCH(TTyping, step);
    auto editor = Editor(Counting(21));
    editor->MoveTo(step.Cell.x(), step.Cell.y());
    const int offset = editor->CursorPos();
    const bool typed = step.Value >= 0;
    QSignalSpy keyDowns(editor.get(), &THexEditor::OnKeyDown);
    Type(*editor, QString::fromUtf8(step.Typed), Qt::KeyboardModifiers(step.Modifiers));
    QCOMPARE(int(editor->Buffer().ByteAt(offset)), typed ? step.Value : offset);
    QCOMPARE(Caret(*editor), step.End);
    QCOMPARE(editor->Buffer().IsChanged(offset), typed);
    QCOMPARE(Contains(Grab(*editor), editor->CellRect(step.Cell.x(), step.Cell.y()), kPaleYellow), typed);
    QCOMPARE(editor->UndoDescription(), typed ? "Byte changed" : "No Undo");
    QCOMPARE(editor->Modified(), typed);
    QCOMPARE(keyDowns.size(), QString::fromUtf8(step.Typed).size());  // typed keys reach the form either way
  }

  void ctrlDelete_data() {
    QTest::addColumn<TCtrlDelete>("step");
    const auto row = [](const char* name, TCtrlDelete step) { QTest::newRow(name) << step; };
    const char* all = "00010203040506070809";
    const QVariantMap fixed{{"NoSizeChange", true}};
    row("caret byte", {{}, {2, 3}, false, "000102030405070809", {2, 3}});
    row("fixed size", {fixed, {2, 3}, false, all, {2, 3}});
    row("fixed size, selection", {fixed, {2, 3}, true, all, {4, 3}});
  }
  void ctrlDelete() {
    QFETCH(TCtrlDelete, step);
    const QString remaining = QString::fromLatin1(step.Remaining);
    auto editor = Editor(Counting(10), step.Properties);
    editor->MoveTo(step.Cell.x(), step.Cell.y());
    for (int i = 0; step.Selection && i < 2; ++i) QTest::keyClick(editor.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(editor.get(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(Hex(*editor), remaining);
    QCOMPARE(Caret(*editor), step.End);
    QCOMPARE(editor->CellLook(2, 3).Text, remaining.mid(12, 1));  // the grid shows the moved bytes
    QCOMPARE(editor->UndoDescription(), remaining.size() == 20 ? "No Undo" : "Byte(s) removed");
  }

  // Shift or the mouse select; a key without Shift, or a double click, ends it.
  void selection() {
    auto editor = Editor(Counting(21));
    for (int i = 0; i < 3; ++i) QTest::keyClick(editor.get(), Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(QPoint(editor->SelStart(), editor->SelEnd()), QPoint(0, 1));
    const QImage image = Grab(*editor);
    const QRect selected = editor->CellRect(3, 0);
    QCOMPARE(image.pixelColor(selected.topRight()), clBlue);
    QVERIFY(Contains(image, selected, clYellow));
    QCOMPARE(image.pixelColor(editor->CellRect(7, 0).topRight()), clBlack);  // the characters too
    QTest::keyClick(editor.get(), Qt::Key_Right);
    QCOMPARE(editor->SelStart(), -1);
    QCOMPARE(Grab(*editor).pixelColor(selected.topRight()), clWhite);
    // Dragged backwards, then extended with Shift: the anchor stays at the end.
    QWidget* viewport = editor->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, Centre(*editor, 3, 5));
    QTest::mouseMove(viewport, Centre(*editor, 4, 2));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, Centre(*editor, 4, 2));
    QCOMPARE(QPoint(editor->SelStart(), editor->SelEnd()), QPoint(5, 10));
    QTest::keyClick(editor.get(), Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(QPoint(editor->SelStart(), editor->SelEnd()), QPoint(3, 10));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, Centre(*editor, 2, 5));
    QMouseEvent drag(QEvent::MouseMove, Centre(*editor, 2, 4), viewport->mapToGlobal(Centre(*editor, 2, 4)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drag);
    QCOMPARE(Caret(*editor), QPoint(4, 1));
    QCOMPARE(editor->SelStart(), -1);
  }

  void clicks_data() {
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<QPoint>("end");
    QTest::newRow("digit") << QPoint(3, 4) << QPoint(3, 4);
    QTest::newRow("character") << QPoint(8, 4) << QPoint(8, 4);
    QTest::newRow("gap") << QPoint(6, 3) << QPoint(5, 3);
    QTest::newRow("gap of the last row") << QPoint(6, 10) << QPoint(2, 10);
    QTest::newRow("past the data") << QPoint(4, 10) << QPoint(2, 10);
    QTest::newRow("characters past the data") << QPoint(8, 10) << QPoint(7, 10);
    QTest::newRow("offset column") << QPoint(0, 4) << QPoint(2, 0);
  }
  void clicks() {
    QFETCH(QPoint, cell);
    QFETCH(QPoint, end);
    auto editor = FiveRowEditor();
    editor->SetTopRow(cell.y() - 2);
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, Centre(*editor, cell.x(), cell.y()));
    QCOMPARE(Caret(*editor), end);
  }

  // What the form hears, and what it sees of the first byte meanwhile. The
  // state-change notification is posted: none arrives inside an event.
  void keyEventOrder() {
    auto editor = Editor(Counting(21));
    QStringList log;
    const auto byte0 = [&] { return QStringLiteral("%1").arg(editor->Buffer().ByteAt(0), 2, 16, QLatin1Char('0')); };
    const auto name = [](int key) { return key == 0 ? QStringLiteral("none") : QKeySequence(key).toString(); };
    connect(editor.get(), &THexEditor::OnKeyDown, editor.get(), [&](int key, Qt::KeyboardModifiers) {
      log << QStringLiteral("down %1 pos %2 byte %3").arg(name(key)).arg(editor->CursorPos()).arg(byte0());
    });
    connect(editor.get(), &THexEditor::OnKeyPress, editor.get(), [&](QChar& key) {
      log << QStringLiteral("press %1 byte %2").arg(key).arg(byte0());
      if (key == u'x') key = u'9';  // the form may change the character
    });
    connect(editor.get(), &THexEditor::OnKeyUp, editor.get(),
            [&](int key, Qt::KeyboardModifiers) { log << QStringLiteral("up %1 byte %2").arg(name(key), byte0()); });
    QSignalSpy changes(editor.get(), &THexEditor::OnStateChanged);
    QTest::keyClick(editor.get(), 'x');
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Insert, Qt::Key_Tab, Qt::Key_Backspace, Qt::Key_Delete})
      QTest::keyClick(editor.get(), key);
    QCOMPARE(log, (QStringList{"down X pos 0 byte 00", "press x byte 00", "up X byte 90",  //
                               "up Right byte 90", "up Ins byte 90", "up Tab byte 90",    //
                               "down Left pos 1 byte 90", "up Backspace byte 90",         //
                               "down none pos 0 byte 90", "up Del byte 90"}));
    QCOMPARE(editor->CellLook(2, 0).Text, QStringLiteral("9"));
    QCOMPARE(changes.size(), 0);
    QTRY_VERIFY(!changes.isEmpty());
    // Insert mode never takes effect in VELTRA, but the key clears the change marks.
    QVERIFY(editor->InsertMode() && !editor->InsertModeInEffect() && !editor->Buffer().IsChanged(0));
  }
};

QTEST_MAIN(tst_hexeditor)
#include "tst_hexeditor.moc"
