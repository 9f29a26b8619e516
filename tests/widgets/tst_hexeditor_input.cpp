#include <sys/resource.h>

#include <QSignalSpy>
#include <QStyleHints>
#include <QtTest>
#include <csignal>
#include <stdexcept>

#include "tst_hexeditor_fixture.h"

// Keyboard and mouse input of the memory editor, driven by real events.
// VELTRA's layout: 2 bytes a row; columns 2..5 are digits, 6 the gap, 7..8
// characters. 21 bytes make 11 rows, the last holding byte 20 alone.

namespace {

// The 21-byte editor with exactly 5 full rows visible.
std::unique_ptr<THexEditor> FiveRowEditor() {
  auto editor = Editor(Counting(21));
  const int wanted = 5 * editor->CharHeight() + editor->CharHeight() / 2;
  editor->resize(editor->width(), editor->height() + wanted - editor->viewport()->height());
  return editor;
}

QPoint Centre(THexEditor& editor, int col, int row) { return editor.CellRect(col, row).center(); }

QString Hex(THexEditor& editor) { return QString::fromStdString(editor.Buffer().AsHex()); }

void Type(THexEditor& editor, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&editor, &press);
  }
}

// Writes past `limit` bytes fail (EFBIG) while it lives.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t limit) {
    std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit reduced = saved_;
    reduced.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &reduced);
  }
  ~TFileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

}  // namespace

class tst_hexeditor_input : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QGuiApplication::styleHints()->setCursorFlashTime(0); }

  void navigation_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("endCol");
    QTest::addColumn<int>("endRow");
    QTest::addColumn<int>("endTop");  // -1: not checked
    QTest::addColumn<bool>("keyDown");
    const int none = 0, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
    auto row = [](const char* name, int key, int modifiers, int col, int r, int top, int endCol, int endRow,
                  int endTop, bool keyDown) {
      QTest::newRow(name) << key << modifiers << col << r << top << endCol << endRow << endTop << keyDown;
    };
    row("Right: high to low digit", Qt::Key_Right, none, 2, 0, 0, 3, 0, -1, false);
    row("Right: to the next byte", Qt::Key_Right, none, 3, 0, 0, 4, 0, -1, false);
    row("Right: to the next row", Qt::Key_Right, none, 5, 0, 0, 2, 1, -1, false);
    row("Right: last digit stays", Qt::Key_Right, none, 3, 10, 6, 3, 10, -1, false);
    row("Shift+Right", Qt::Key_Right, shift, 2, 0, 0, 3, 0, -1, false);
    row("Alt+Right", Qt::Key_Right, alt, 2, 0, 0, 3, 0, -1, false);
    row("Left: low to high digit", Qt::Key_Left, none, 3, 0, 0, 2, 0, -1, false);
    row("Left: to the previous row", Qt::Key_Left, none, 2, 1, 0, 5, 0, -1, false);
    row("Left: first digit stays", Qt::Key_Left, none, 2, 0, 0, 2, 0, -1, false);
    row("Right in characters", Qt::Key_Right, none, 7, 0, 0, 8, 0, -1, false);
    row("Right in characters wraps", Qt::Key_Right, none, 8, 0, 0, 7, 1, -1, false);
    row("Right on the last character", Qt::Key_Right, none, 7, 10, 6, 7, 10, -1, false);
    row("Left in characters wraps", Qt::Key_Left, none, 7, 1, 0, 8, 0, -1, false);
    row("Left on the first character", Qt::Key_Left, none, 7, 0, 0, 7, 0, -1, false);
    row("Down", Qt::Key_Down, none, 4, 0, 0, 4, 1, -1, false);
    row("Down past the data", Qt::Key_Down, none, 4, 9, 6, 2, 10, -1, false);
    row("Down on the last row", Qt::Key_Down, none, 2, 10, 6, 2, 10, -1, false);
    row("Up", Qt::Key_Up, none, 4, 5, 2, 4, 4, -1, false);
    row("Up on the first row", Qt::Key_Up, none, 2, 0, 0, 2, 0, -1, false);
    row("Home", Qt::Key_Home, none, 5, 3, 0, 2, 3, -1, false);
    row("Ctrl+Home", Qt::Key_Home, ctrl, 5, 3, 0, 2, 0, 0, false);
    row("Home in characters", Qt::Key_Home, none, 8, 3, 0, 7, 3, -1, false);
    row("Ctrl+Home in characters", Qt::Key_Home, ctrl, 8, 3, 0, 7, 0, -1, false);
    row("End", Qt::Key_End, none, 2, 3, 0, 4, 3, -1, false);
    row("End on the last row", Qt::Key_End, none, 2, 10, 6, 2, 10, -1, false);
    row("Ctrl+End", Qt::Key_End, ctrl, 3, 2, 0, 2, 10, 6, false);
    row("Ctrl+End in characters", Qt::Key_End, ctrl, 8, 1, 0, 7, 10, -1, false);
    row("Ctrl+Right", Qt::Key_Right, ctrl, 2, 3, 0, 8, 3, -1, false);
    row("Ctrl+Right on the last row", Qt::Key_Right, ctrl, 2, 10, 6, 7, 10, -1, false);
    row("Ctrl+T", Qt::Key_T, ctrl, 2, 3, 0, 7, 3, -1, false);
    row("Ctrl+T back", Qt::Key_T, ctrl, 8, 3, 0, 4, 3, -1, false);
    row("Tab", Qt::Key_Tab, none, 3, 3, 0, 7, 3, -1, false);
    row("Shift+Tab", Qt::Key_Backtab, shift, 7, 3, 0, 2, 3, -1, false);
    row("PageDown", Qt::Key_PageDown, none, 2, 0, 0, 2, 4, 4, false);
    row("PageDown again", Qt::Key_PageDown, none, 2, 4, 4, 2, 8, 6, false);
    row("PageDown at the end", Qt::Key_PageDown, none, 2, 8, 6, 2, 10, 6, false);
    row("PageUp", Qt::Key_PageUp, none, 2, 8, 6, 2, 4, 2, false);
    row("PageUp at the top", Qt::Key_PageUp, none, 2, 2, 0, 2, 0, 0, false);
    row("Ctrl+PageDown", Qt::Key_PageDown, ctrl, 3, 1, 0, 3, 4, 0, false);
    row("Ctrl+PageUp", Qt::Key_PageUp, ctrl, 3, 8, 6, 3, 6, 6, false);
    row("Shift alone", Qt::Key_Shift, none, 4, 2, 0, 4, 2, -1, false);
    // Not in the table: the grid moves one cell and the form hears the key.
    row("Ctrl+Left", Qt::Key_Left, ctrl, 3, 3, 0, 2, 3, -1, true);
    row("Ctrl+Left onto the gap", Qt::Key_Left, ctrl, 7, 3, 0, 7, 3, -1, true);
    row("Ctrl+Up", Qt::Key_Up, ctrl, 2, 3, 0, 2, 2, -1, true);
    row("Ctrl+Down", Qt::Key_Down, ctrl, 2, 3, 0, 2, 4, -1, true);
    row("Ctrl+Tab", Qt::Key_Tab, ctrl, 2, 3, 0, 2, 3, -1, true);
    row("Backspace", Qt::Key_Backspace, none, 3, 3, 0, 2, 3, -1, true);
    row("Backspace at the row start", Qt::Key_Backspace, none, 2, 3, 0, 2, 3, -1, true);
    row("Ctrl alone", Qt::Key_Control, none, 4, 2, 0, 4, 2, -1, true);
  }
  void navigation() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(int, top);
    QFETCH(int, endCol);
    QFETCH(int, endRow);
    QFETCH(int, endTop);
    QFETCH(bool, keyDown);
    auto editor = FiveRowEditor();
    QCOMPARE(editor->VisibleRowCount(), 5);
    editor->MoveTo(col, row);
    editor->SetTopRow(top);
    QCOMPARE(editor->Col(), col);
    QCOMPARE(editor->TopRow(), top);
    const QString before = Hex(*editor);
    QSignalSpy keyDowns(editor.get(), &THexEditor::OnKeyDown);
    QSignalSpy keyUps(editor.get(), &THexEditor::OnKeyUp);
    QTest::keyClick(editor.get(), static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(editor->Col(), endCol);
    QCOMPARE(editor->Row(), endRow);
    if (endTop >= 0) QCOMPARE(editor->TopRow(), endTop);
    QVERIFY(editor->TopRow() <= endRow && endRow < editor->TopRow() + 5);
    // A key of the table never reaches the form's key-down handler.
    const auto downKeys = [&] {
      QList<int> keys;
      for (const auto& call : keyDowns) keys << call.at(0).toInt();
      return keys;
    }();
    QCOMPARE(downKeys.contains(key == Qt::Key_Backspace ? int(Qt::Key_Left) : key), keyDown);
    QVERIFY(!keyUps.isEmpty());
    QCOMPARE(Hex(*editor), before);
  }

  void typeFourThenOne() {
    auto editor = Editor(Counting(21));
    QCOMPARE(editor->Buffer().ByteAt(0), uint8_t{0x00});
    QTest::keyClick(editor.get(), '4');
    QCOMPARE(Hex(*editor).left(2), QStringLiteral("40"));
    QCOMPARE(editor->Col(), 3);
    QTest::keyClick(editor.get(), '1');
    QCOMPARE(Hex(*editor).left(4), QStringLiteral("4101"));
    QCOMPARE(editor->Col(), 4);  // the next byte's high digit
    QCOMPARE(editor->Row(), 0);
    QVERIFY(editor->Buffer().IsChanged(0));
    QVERIFY(!editor->Buffer().IsChanged(1));
    QVERIFY(editor->Modified());
    QCOMPARE(editor->UndoDescription(), QStringLiteral("Byte changed"));
    const TCellLook look = editor->CellLook(2, 0);
    QCOMPARE(look.TextColor, kMaroon);
    QCOMPARE(look.Background, kPaleYellow);
    QVERIFY(Contains(Grab(*editor), editor->CellRect(3, 0), kPaleYellow));
  }

  void hexDigits_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");  // -1: refused
    QTest::newRow("a") << "a" << 0xA;
    QTest::newRow("A") << "A" << 0xA;
    QTest::newRow("f") << "f" << 0xF;
    QTest::newRow("F") << "F" << 0xF;
    QTest::newRow("0") << "0" << 0x0;
    QTest::newRow("9") << "9" << 0x9;
    QTest::newRow("g") << "g" << -1;
    QTest::newRow("space") << " " << -1;
    QTest::newRow("plus") << "+" << -1;
    QTest::newRow("accented") << "\u00E1" << -1;
  }
  void hexDigits() {
    QFETCH(QString, typed);
    QFETCH(int, value);
    auto editor = Editor(Counting(21));
    editor->MoveTo(4, 3);  // byte 7
    QSignalSpy keyDowns(editor.get(), &THexEditor::OnKeyDown);
    Type(*editor, typed);
    QCOMPARE(int(editor->Buffer().ByteAt(7)), value < 0 ? 0x07 : (value << 4) | 0x07);
    QCOMPARE(editor->Col(), value < 0 ? 4 : 5);
    QCOMPARE(keyDowns.size(), 1);  // typed keys reach the form either way
  }

  void modifiedKeysDoNotType() {
    auto editor = Editor(Counting(21));
    QTest::keyClick(editor.get(), '4', Qt::AltModifier);
    QTest::keyClick(editor.get(), '4', Qt::ControlModifier);
    QCOMPARE(editor->Buffer().ByteAt(0), uint8_t{0x00});
    QTest::keyClick(editor.get(), '4', Qt::ControlModifier | Qt::AltModifier);  // AltGr
    QCOMPARE(editor->Buffer().ByteAt(0), uint8_t{0x40});
  }

  void lastDigitOfTheLastByte() {
    auto editor = Editor(Counting(21));
    editor->MoveTo(3, 10);
    QTest::keyClick(editor.get(), 'F');
    QCOMPARE(editor->Buffer().ByteAt(20), uint8_t{0x1F});
    QCOMPARE(editor->Col(), 3);
    QCOMPARE(editor->Row(), 10);
  }

  void swappedNibbles() {
    auto editor = Editor(std::vector<uint8_t>(4, 0x00));
    editor->SetSwapNibbles(1);
    QTest::keyClick(editor.get(), '5');  // the first cell shows the low digit
    QCOMPARE(editor->Buffer().ByteAt(0), uint8_t{0x05});
    QTest::keyClick(editor.get(), '7');
    QCOMPARE(editor->Buffer().ByteAt(0), uint8_t{0x75});
    QCOMPARE(editor->CellLook(2, 0).Text, QStringLiteral("5"));
  }

  void characterField_data() {
    QTest::addColumn<int>("translation");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");  // -1: refused
    QTest::newRow("ascii letter") << int(THexEditor::ttASCII) << "A" << 0x41;
    QTest::newRow("ascii tilde") << int(THexEditor::ttASCII) << "~" << 0x7E;
    QTest::newRow("ascii accented") << int(THexEditor::ttASCII) << "\u00E9" << -1;
    QTest::newRow("ansi accented") << int(THexEditor::ttAnsi) << "\u00E9" << 0xE9;
    QTest::newRow("ansi euro") << int(THexEditor::ttAnsi) << "\u20AC" << 0x80;
    QTest::newRow("ansi greek") << int(THexEditor::ttAnsi) << "\u03A9" << -1;
    QTest::newRow("dos accented") << int(THexEditor::ttDos8) << "\u00E9" << 0x82;
    QTest::newRow("mac accented") << int(THexEditor::ttMac) << "\u00E9" << 0x8E;
    QTest::newRow("ebcdic letter") << int(THexEditor::ttEBCDIC) << "A" << 0xC1;
    QTest::newRow("ebcdic unmapped") << int(THexEditor::ttEBCDIC) << "[" << -1;
  }
  void characterField() {
    QFETCH(int, translation);
    QFETCH(QString, typed);
    QFETCH(int, value);
    auto editor = Editor(Counting(21));
    editor->setProperty("Translation", translation);
    editor->MoveTo(8, 2);  // the character of byte 5
    Type(*editor, typed);
    QCOMPARE(int(editor->Buffer().ByteAt(5)), value < 0 ? 0x05 : value);
    QCOMPARE(editor->Col(), value < 0 ? 8 : 7);
    QCOMPARE(editor->Row(), value < 0 ? 2 : 3);
    QCOMPARE(editor->Buffer().IsChanged(5), value >= 0);
  }

  void keyPressMayChangeTheCharacter() {
    auto editor = Editor(Counting(21));
    connect(editor.get(), &THexEditor::OnKeyPress, editor.get(), [](QChar& key) {
      if (key == u'x') key = u'b';
    });
    QTest::keyClick(editor.get(), 'x');
    QCOMPARE(editor->Buffer().ByteAt(0), uint8_t{0xB0});
  }

  void readOnlyView() {
    auto editor = Editor(Counting(21));
    editor->SetReadOnlyView(true);
    QTest::keyClick(editor.get(), '4');
    QTest::keyClick(editor.get(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(editor->DataSize(), 21);
    QCOMPARE(editor->Buffer().ByteAt(0), uint8_t{0x00});
    QCOMPARE(editor->Col(), 2);
  }

  void backspaceAndDeleteOverwrite() {
    auto editor = Editor(Counting(21));
    const QString before = Hex(*editor);
    editor->MoveTo(3, 3);
    QSignalSpy keyDowns(editor.get(), &THexEditor::OnKeyDown);
    QTest::keyClick(editor.get(), Qt::Key_Backspace);
    QCOMPARE(editor->Col(), 2);
    QTest::keyClick(editor.get(), Qt::Key_Delete);
    QCOMPARE(Hex(*editor), before);
    QCOMPARE(editor->Col(), 2);
    QCOMPARE(keyDowns.size(), 2);
    QCOMPARE(keyDowns.at(1).at(0).toInt(), 0);  // Delete was used: no key left
  }

  void ctrlDelete_data() {
    QTest::addColumn<bool>("noSizeChange");
    QTest::addColumn<bool>("selection");
    QTest::addColumn<QString>("remaining");
    QTest::addColumn<int>("endCol");
    QTest::newRow("caret byte") << false << false << "000102030405070809" << 2;
    QTest::newRow("selection") << false << true << "0001020304050809" << 2;
    QTest::newRow("fixed size") << true << false << "00010203040506070809" << 2;
    QTest::newRow("fixed size, selection") << true << true << "00010203040506070809" << 4;
  }
  void ctrlDelete() {
    QFETCH(bool, noSizeChange);
    QFETCH(bool, selection);
    QFETCH(QString, remaining);
    QFETCH(int, endCol);
    auto editor = Editor(Counting(10));
    editor->SetNoSizeChange(noSizeChange);
    editor->MoveTo(2, 3);  // byte 6
    if (selection) {
      QTest::keyClick(editor.get(), Qt::Key_Right, Qt::ShiftModifier);
      QTest::keyClick(editor.get(), Qt::Key_Right, Qt::ShiftModifier);
      QCOMPARE(editor->SelStart(), 6);
      QCOMPARE(editor->SelEnd(), 7);
    }
    QTest::keyClick(editor.get(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(Hex(*editor), remaining);
    QCOMPARE(editor->RowCount(), (remaining.size() / 2 + 1) / 2);
    QCOMPARE(editor->Col(), endCol);
    QCOMPARE(editor->Row(), 3);
    QCOMPARE(editor->CellLook(2, 3).Text, remaining.mid(12, 1));
  }

  void ctrlDeleteOfTheLastByte() {
    auto editor = Editor(Counting(10));
    editor->MoveTo(5, 4);  // byte 9, low digit
    QTest::keyClick(editor.get(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(editor->DataSize(), 9);
    QCOMPARE(editor->CursorPos(), 8);
    QCOMPARE(editor->Col(), 2);
    QCOMPARE(editor->Row(), 4);
    QCOMPARE(editor->UndoDescription(), QStringLiteral("Byte(s) removed"));
  }

  void shiftSelection() {
    auto editor = Editor(Counting(21));
    for (int i = 0; i < 3; ++i) QTest::keyClick(editor.get(), Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(editor->Col(), 5);
    QCOMPARE(editor->SelStart(), 0);
    QCOMPARE(editor->SelEnd(), 1);
    const QImage image = Grab(*editor);
    const QRect selected = editor->CellRect(3, 0);
    QCOMPARE(image.pixelColor(selected.right(), selected.top()), kBlue);
    QVERIFY(Contains(image, selected, kYellow));
    QCOMPARE(image.pixelColor(editor->CellRect(3, 1).right(), editor->CellRect(3, 1).top()), kWhite);
    QCOMPARE(editor->CellLook(8, 0).Background, kBlack);  // the characters too
    QTest::keyClick(editor.get(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(editor->SelEnd(), 3);
    // Backwards from a clicked cell.
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, Centre(*editor, 4, 2));
    QCOMPARE(editor->SelStart(), -1);
    QTest::keyClick(editor.get(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(editor.get(), Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(editor->SelStart(), 2);
    QCOMPARE(editor->SelEnd(), 5);
    // A key without Shift drops the selection.
    QTest::keyClick(editor.get(), Qt::Key_Right);
    QCOMPARE(editor->SelStart(), -1);
    QCOMPARE(Grab(*editor).pixelColor(selected.right(), selected.top()), kWhite);
  }

  void mouseSelection() {
    auto editor = Editor(Counting(21));
    QWidget* viewport = editor->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, Centre(*editor, 4, 2));
    QCOMPARE(editor->Col(), 4);
    QCOMPARE(editor->Row(), 2);
    QCOMPARE(editor->SelStart(), -1);
    QTest::mouseMove(viewport, Centre(*editor, 3, 5));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, Centre(*editor, 3, 5));
    QCOMPARE(editor->Col(), 3);
    QCOMPARE(editor->Row(), 5);
    QCOMPARE(editor->SelStart(), 5);
    QCOMPARE(editor->SelEnd(), 10);
    // A double click leaves no selection and starts no drag.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, Centre(*editor, 2, 1));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, Centre(*editor, 2, 1));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, Centre(*editor, 2, 1));
    QCOMPARE(editor->SelStart(), -1);
    QMouseEvent drag(QEvent::MouseMove, Centre(*editor, 2, 4), viewport->mapToGlobal(Centre(*editor, 2, 4)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drag);
    QCOMPARE(editor->Row(), 1);
    QCOMPARE(editor->SelStart(), -1);
  }

  void clicks_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("endCol");
    QTest::addColumn<int>("endRow");
    QTest::newRow("digit") << 3 << 4 << 3 << 4;
    QTest::newRow("character") << 8 << 4 << 8 << 4;
    QTest::newRow("gap") << 6 << 3 << 5 << 3;
    QTest::newRow("gap of the last row") << 6 << 10 << 2 << 10;
    QTest::newRow("past the data") << 4 << 10 << 2 << 10;
    QTest::newRow("characters past the data") << 8 << 10 << 7 << 10;
    QTest::newRow("offset column") << 0 << 4 << 2 << 0;
    QTest::newRow("marker column") << 1 << 4 << 2 << 0;
  }
  void clicks() {
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(int, endCol);
    QFETCH(int, endRow);
    auto editor = FiveRowEditor();
    editor->SetTopRow(row - 2);
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, Centre(*editor, col, row));
    QCOMPARE(editor->Col(), endCol);
    QCOMPARE(editor->Row(), endRow);
  }

  void clickBelowTheRows() {
    auto editor = Editor(Counting(6));  // 3 rows in a taller window
    editor->MoveTo(3, 1);
    const QPoint below(Centre(*editor, 4, 0).x(), 8 * editor->CharHeight());
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(editor->Col(), 3);
    QCOMPARE(editor->Row(), 1);
  }

  void markerKeys() {
    auto editor = Editor(Counting(40));
    editor->MoveTo(5, 10);
    QList<int> keyDowns;
    connect(editor.get(), &THexEditor::OnKeyDown, editor.get(),
            [&](int key, Qt::KeyboardModifiers) { keyDowns << key; });
    QTest::keyClick(editor.get(), Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(editor->CellLook(1, 10).Text, QStringLiteral("3"));
    // Shift turns the digit key into its symbol on most layouts.
    editor->MoveTo(2, 12);
    QTest::keyClick(editor.get(), Qt::Key_NumberSign, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(editor->MarkerOfRow(12), 3);
    QTest::keyClick(editor.get(), Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(editor->MarkerOfRow(12), 1);
    editor->SetMarker(3, 10);
    editor->MoveTo(4, 2);
    QTest::keyClick(editor.get(), Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(editor->Col(), 2);
    QCOMPARE(editor->Row(), 10);
    // An unset marker: the start of the current row.
    editor->MoveTo(5, 6);
    QTest::keyClick(editor.get(), Qt::Key_5, Qt::ControlModifier);
    QCOMPARE(editor->Col(), 2);
    QCOMPARE(editor->Row(), 6);
    // A marker whose row is gone is cleared and the caret stays.
    editor->SetMarker(4, 50);
    QTest::keyClick(editor.get(), Qt::Key_4, Qt::ControlModifier);
    QCOMPARE(editor->Row(), 6);
    QCOMPARE(editor->MarkerOfRow(50), -1);
    // Only the modifier keys themselves reach the form.
    for (int key : keyDowns) QVERIFY(key == Qt::Key_Control);
  }

  void keyEventOrder() {
    auto editor = Editor(Counting(21));
    QStringList log;
    const auto byte0 = [&] { return QStringLiteral("%1").arg(editor->Buffer().ByteAt(0), 2, 16, QLatin1Char('0')); };
    const auto name = [](int key) { return key == 0 ? QStringLiteral("none") : QKeySequence(key).toString(); };
    connect(editor.get(), &THexEditor::OnKeyDown, editor.get(), [&](int key, Qt::KeyboardModifiers) {
      log << QStringLiteral("down %1 pos %2 byte %3").arg(name(key)).arg(editor->CursorPos()).arg(byte0());
    });
    connect(editor.get(), &THexEditor::OnKeyPress, editor.get(),
            [&](QChar& key) { log << QStringLiteral("press %1 byte %2").arg(key).arg(byte0()); });
    connect(editor.get(), &THexEditor::OnKeyUp, editor.get(),
            [&](int key, Qt::KeyboardModifiers) { log << QStringLiteral("up %1 byte %2").arg(name(key), byte0()); });
    QTest::keyClick(editor.get(), '9');
    QTest::keyClick(editor.get(), Qt::Key_Right);
    QTest::keyClick(editor.get(), Qt::Key_Insert);
    QTest::keyClick(editor.get(), Qt::Key_Tab);
    QTest::keyClick(editor.get(), Qt::Key_Delete);
    QCOMPARE(log, (QStringList{"down 9 pos 0 byte 00", "press 9 byte 00", "up 9 byte 90",  //
                               "up Right byte 90",                                          //
                               "up Ins byte 90",                                            //
                               "up Tab byte 90",                                            //
                               "down none pos 1 byte 90", "up Del byte 90"}));
  }

  void stateChangeIsPosted() {
    auto editor = Editor(Counting(21));
    QSignalSpy changes(editor.get(), &THexEditor::OnStateChanged);
    int seenInKeyDown = -1;
    connect(editor.get(), &THexEditor::OnKeyDown, editor.get(),
            [&](int, Qt::KeyboardModifiers) { seenInKeyDown = static_cast<int>(changes.size()); });
    QTest::keyClick(editor.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(editor.get(), '7');  // resets the selection, edits a byte
    QCOMPARE(seenInKeyDown, 0);
    editor->SetAllowInsertMode(true);
    QCOMPARE(changes.size(), 0);  // nothing is delivered inside an event or call
    QTRY_VERIFY(changes.size() >= 3);
  }

  void insertKey() {
    auto editor = Editor(Counting(21));
    QTest::keyClick(editor.get(), '4');
    QVERIFY(editor->Buffer().IsChanged(0));
    QSignalSpy keyDowns(editor.get(), &THexEditor::OnKeyDown);
    QTest::keyClick(editor.get(), Qt::Key_Insert);
    QVERIFY(keyDowns.isEmpty());
    QVERIFY(editor->InsertMode());
    QVERIFY(!editor->InsertModeInEffect());  // VELTRA never allows it
    QVERIFY(!editor->Buffer().IsChanged(0));
    QCOMPARE(editor->CellLook(2, 0).Background, kWhite);
    // Typing still overwrites.
    QTest::keyClick(editor.get(), '5');
    QCOMPARE(editor->DataSize(), 21);
    QCOMPARE(editor->Buffer().ByteAt(0), uint8_t{0x45});
  }

  void insertMode() {
    auto editor = Editor({0x00, 0x11, 0x22});
    editor->SetAllowInsertMode(true);
    editor->SetAutoCaretMode(true);
    QTest::keyClick(editor.get(), Qt::Key_Insert);
    QVERIFY(editor->InsertModeInEffect());
    QCOMPARE(editor->CaretStyle(), THexEditor::csLeftLine);
    QTest::keyClick(editor.get(), '4');
    QCOMPARE(Hex(*editor), QStringLiteral("40001122"));
    QCOMPARE(editor->Col(), 3);
    QTest::keyClick(editor.get(), '1');
    QCOMPARE(Hex(*editor), QStringLiteral("41001122"));
    QCOMPARE(editor->CursorPos(), 1);
    QVERIFY(!editor->Buffer().IsChanged(0));  // no change marks in insert mode
    QCOMPARE(editor->UndoDescription(), QStringLiteral("Byte changed"));
    QTest::keyClick(editor.get(), Qt::Key_Backspace);
    QCOMPARE(Hex(*editor), QStringLiteral("001122"));
    QCOMPARE(editor->CursorPos(), 0);
    QCOMPARE(editor->Col(), 2);
    QTest::keyClick(editor.get(), Qt::Key_Delete);
    QCOMPARE(Hex(*editor), QStringLiteral("1122"));
    QCOMPARE(editor->UndoDescription(), QStringLiteral("Byte(s) removed"));
    editor->MoveTo(7, 0);
    QTest::keyClick(editor.get(), 'A');
    QCOMPARE(Hex(*editor), QStringLiteral("411122"));
    QCOMPARE(editor->CursorPos(), 1);
    QTest::keyClick(editor.get(), Qt::Key_Insert);
    QCOMPARE(editor->CaretStyle(), THexEditor::csFull);
  }

  void insertModeGrowsAnEmptyBuffer() {
    THexEditor editor;
    editor.show();
    editor.setFocus();
    editor.SetAllowInsertMode(true);
    QTest::keyClick(&editor, Qt::Key_Insert);
    QTest::keyClicks(&editor, "1234");
    QCOMPARE(Hex(editor), QStringLiteral("123400"));
    QCOMPARE(editor.CursorPos(), 2);
    QCOMPARE(editor.UndoDescription(), QStringLiteral("Append buffer"));
  }

  void backspaceWithSelectionInInsertMode() {
    auto editor = Editor({0x00, 0x11, 0x22, 0x33});
    editor->SetAllowInsertMode(true);
    QTest::keyClick(editor.get(), Qt::Key_Insert);
    editor->MoveTo(4, 0);
    editor->Buffer().SelAnchor = editor->Buffer().SelStart = 1;
    editor->Buffer().SelEnd = 2;
    QTest::keyClick(editor.get(), Qt::Key_Backspace);
    QCOMPARE(Hex(*editor), QStringLiteral("0033"));  // the selection only
  }

  void primitives() {
    auto editor = Editor(Counting(10));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, editor->ChangeByte(0, 1, 10));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, editor->ChangeByte(0, 1, -1));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, editor->DeleteRange(5, 11, 2, 0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, editor->InsertBuffer(nullptr, 1, 11));
    editor->ChangeByte(3, 3, 3);  // same value: no edit
    QVERIFY(!editor->CanUndo());
    const uint8_t two[] = {0xAA, 0xBB};
    editor->InsertBuffer(two, 2, 4);
    QCOMPARE(Hex(*editor), QStringLiteral("00010203AABB040506070809"));
    editor->AppendBuffer(two, 2);
    QCOMPARE(editor->DataSize(), 14);
    QCOMPARE(editor->CursorPos(), 12);
    QCOMPARE(editor->SelStart(), 12);
    QCOMPARE(editor->SelEnd(), 13);
    editor->ReplaceSelection(two, 1);
    QCOMPARE(Hex(*editor).right(4), QStringLiteral("09AA"));
    editor->SetNoSizeChange(true);
    editor->SetSelStart(0);
    editor->SetSelEnd(2);
    editor->ReplaceSelection(two, 2);  // cut to fit: the selection shrinks
    QCOMPARE(Hex(*editor).left(6), QStringLiteral("AABB02"));
    QCOMPARE(editor->SelEnd(), 1);
    editor->AppendBuffer(two, 2);  // refused: the size is fixed
    QCOMPARE(editor->DataSize(), 13);
    for (int bad : {-1, 13}) {
      try {
        editor->SetSelStart(bad);
        QFAIL("must raise");
      } catch (const std::out_of_range& error) {
        QCOMPARE(std::string(error.what()), std::string("Invalid SelStart"));
      }
      try {
        editor->SetSelEnd(bad);
        QFAIL("must raise");
      } catch (const std::out_of_range& error) {
        QCOMPARE(std::string(error.what()), std::string("Invalid SelEnd"));
      }
    }
  }

  void failedEditEndsTheEventQuietly() {
    auto editor = Editor({0x00, 0x11});
    editor->SetAllowInsertMode(true);
    QTest::keyClick(editor.get(), Qt::Key_Insert);
    {
      TFileSizeLimit limit(2);  // the working file cannot grow
      QTest::keyClick(editor.get(), '7');
    }
    QCOMPARE(Hex(*editor), QStringLiteral("0011"));
    QCOMPARE(editor->Col(), 2);
    QTest::keyClick(editor.get(), '7');  // and the editor goes on working
    QCOMPARE(Hex(*editor), QStringLiteral("700011"));
  }
};

QTEST_MAIN(tst_hexeditor_input)
#include "tst_hexeditor_input.moc"
