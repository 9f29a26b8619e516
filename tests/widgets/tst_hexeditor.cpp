#include <QStyleHints>
#include <QtTest>
#include <stdexcept>

#include "tst_hexeditor_fixture.h"

// The view of the memory editor: grid, offsets, cell texts and colours,
// markers, caret, properties. Input is in tst_hexeditor_input.

class tst_hexeditor : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // A steady caret, so grabs never catch it in its off phase.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
  }

  void emptyEditor() {
    THexEditor editor;
    QCOMPARE(editor.Buffer().FileName, std::string("Untitled"));
    QCOMPARE(editor.DataSize(), 0);
    QCOMPARE(editor.CursorPos(), 0);
    QCOMPARE(editor.RowCount(), 1);
    QCOMPARE(editor.ColCount(), 51);
    QCOMPARE(editor.Col(), 2);
    QCOMPARE(editor.Row(), 0);
    QCOMPARE(editor.CellLook(0, 0).Text, QStringLiteral("H:"));
    for (int col : {1, 2, 34, 50}) QCOMPARE(editor.CellLook(col, 0).Text, QStringLiteral("   "));
    QCOMPARE(editor.CellLook(2, 0).Background, editor.Colors()->Background());
    // Only the first digit cell may become current.
    editor.MoveTo(3, 0);
    QCOMPARE(editor.Col(), 2);
  }

  void gridColumns_data() {
    QTest::addColumn<int>("bytesPerLine");
    QTest::addColumn<int>("bytesPerColumn");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QList<int>>("doubleWidth");
    QTest::newRow("VELTRA") << 2 << 2 << 9 << QList<int>{5};
    QTest::newRow("default") << 16 << 2 << 51 << QList<int>{5, 9, 13, 17, 21, 25, 29, 33};
    QTest::newRow("one byte per column") << 4 << 1 << 15 << QList<int>{3, 5, 7, 9};
    QTest::newRow("group wider than the row") << 2 << 4 << 9 << QList<int>{};
    QTest::newRow("one byte per line") << 1 << 2 << 6 << QList<int>{};
  }
  void gridColumns() {
    QFETCH(int, bytesPerLine);
    QFETCH(int, bytesPerColumn);
    QFETCH(int, columns);
    QFETCH(QList<int>, doubleWidth);
    THexEditor editor;
    const std::vector<uint8_t> bytes = Counting(122880);
    editor.Buffer().LoadFromBytes(bytes.data(), bytes.size());
    editor.SetBytesPerLine(bytesPerLine);
    editor.SetBytesPerColumn(bytesPerColumn);
    QCOMPARE(editor.BytesPerColumn(), bytesPerColumn);
    QCOMPARE(editor.ColCount(), columns);
    QCOMPARE(editor.RowCount(), 122880 / bytesPerLine);
    const int w = editor.CharWidth();
    QVERIFY(w > 0);
    QCOMPARE(editor.ColWidth(1), w);  // the marker column
    for (int col = 2; col < columns; ++col)
      QCOMPARE(editor.ColWidth(col), doubleWidth.contains(col) ? 2 * w : w);
    QCOMPARE(editor.CharHeight(), QFontMetrics(editor.font()).height() + 2);
    editor.SetShowMarkerColumn(false);
    QCOMPARE(editor.ColWidth(1), 0);
  }

  void veltraRows() {
    THexEditor editor;
    const std::vector<uint8_t> bytes = Counting(122880);
    editor.Buffer().LoadFromBytes(bytes.data(), bytes.size());
    editor.SetBytesPerLine(2);
    QCOMPARE(editor.RowCount(), 61440);
    QCOMPARE(editor.ColWidth(0), 8 * editor.CharWidth());
    QCOMPARE(editor.OffsetText(0), QStringLiteral("H0000:"));
    QCOMPARE(editor.OffsetText(0x1234), QStringLiteral("H1234:"));
    QCOMPARE(editor.OffsetText(61439), QStringLiteral("HEFFF:"));
  }

  void offsetForms_data() {
    QTest::addColumn<int>("form");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("widthInChars");
    // 300 bytes at 16 a row: the last row starts at 288 (hex 120, octal 440).
    QTest::newRow("hex first") << int(THexEditor::odHex) << 300 << 0 << "H00:" << 6;
    QTest::newRow("hex last") << int(THexEditor::odHex) << 300 << 18 << "H90:" << 6;
    QTest::newRow("dec first") << int(THexEditor::odDec) << 300 << 0 << "  0:" << 4;
    QTest::newRow("dec last") << int(THexEditor::odDec) << 300 << 18 << "288:" << 4;
    QTest::newRow("octal first") << int(THexEditor::odOctal) << 300 << 0 << "o 0000:" << 7;
    QTest::newRow("octal last") << int(THexEditor::odOctal) << 300 << 18 << "o 0440:" << 7;
    QTest::newRow("none") << int(THexEditor::odNone) << 300 << 5 << " " << 0;
    QTest::newRow("empty hex") << int(THexEditor::odHex) << 0 << 0 << "H:" << 4;
    QTest::newRow("empty dec") << int(THexEditor::odDec) << 0 << 0 << "0:" << 2;
    QTest::newRow("empty octal") << int(THexEditor::odOctal) << 0 << 0 << "o 0:" << 5;
    QTest::newRow("empty none") << int(THexEditor::odNone) << 0 << 0 << "   " << 0;
  }
  void offsetForms() {
    QFETCH(int, form);
    QFETCH(int, size);
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(int, widthInChars);
    THexEditor editor;
    const std::vector<uint8_t> bytes = Counting(static_cast<size_t>(size));
    editor.Buffer().LoadFromBytes(bytes.data(), bytes.size());
    QVERIFY(editor.setProperty("OffsetDisplay", form));
    QCOMPARE(editor.CellLook(0, row).Text, text);
    QCOMPARE(editor.ColWidth(0), widthInChars * editor.CharWidth());
  }

  void offsetSeparator() {
    THexEditor editor;
    const std::vector<uint8_t> bytes = Counting(4);
    editor.Buffer().LoadFromBytes(bytes.data(), bytes.size());
    editor.SetOffsetSeparator(u'-');
    QCOMPARE(editor.OffsetText(0), QStringLiteral("H0-"));
  }

  void cellTexts_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("swap");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("character");
    QTest::newRow("41") << 0x41 << 0 << "4" << "1" << "A";
    QTest::newRow("41 swapped") << 0x41 << 1 << "1" << "4" << "A";
    QTest::newRow("07") << 0x07 << 0 << "0" << "7" << ".";
    QTest::newRow("C8") << 0xC8 << 0 << "C" << "8" << ".";
    QTest::newRow("7F") << 0x7F << 0 << "7" << "F" << "\x7F";
    QTest::newRow("20") << 0x20 << 0 << "2" << "0" << " ";
  }
  void cellTexts() {
    QFETCH(int, byte);
    QFETCH(int, swap);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, character);
    THexEditor editor;
    const std::vector<uint8_t> bytes{0x00, static_cast<uint8_t>(byte)};
    editor.Buffer().LoadFromBytes(bytes.data(), bytes.size());
    editor.SetBytesPerLine(2);
    editor.SetTranslation(THexEditor::ttASCII);
    editor.SetSwapNibbles(swap);
    QCOMPARE(editor.CellLook(4, 0).Text, first);
    QCOMPARE(editor.CellLook(5, 0).Text, second);
    QCOMPARE(editor.CellLook(6, 0).Text, QStringLiteral(" "));  // the gap
    QCOMPARE(editor.CellLook(8, 0).Text, character);
  }

  void translations_data() {
    QTest::addColumn<int>("translation");
    QTest::addColumn<bool>("mask");
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ansi letter") << int(THexEditor::ttAnsi) << true << 0x41 << "A";
    QTest::newRow("ansi latin") << int(THexEditor::ttAnsi) << true << 0xC8 << "\u00C8";
    QTest::newRow("ansi euro") << int(THexEditor::ttAnsi) << true << 0x80 << "\u20AC";
    QTest::newRow("ansi undefined") << int(THexEditor::ttAnsi) << true << 0x81 << ".";
    QTest::newRow("ansi control masked") << int(THexEditor::ttAnsi) << true << 0x07 << ".";
    QTest::newRow("ansi control shown") << int(THexEditor::ttAnsi) << false << 0x07 << "\x07";
    QTest::newRow("dos") << int(THexEditor::ttDos8) << true << 0x82 << "\u00E9";
    QTest::newRow("dos box") << int(THexEditor::ttDos8) << true << 0xC4 << "\u2500";
    QTest::newRow("ascii") << int(THexEditor::ttASCII) << true << 0x7E << "~";
    QTest::newRow("ascii high") << int(THexEditor::ttASCII) << false << 0x82 << ".";
    QTest::newRow("mac low") << int(THexEditor::ttMac) << true << 0x61 << "a";
    QTest::newRow("mac high") << int(THexEditor::ttMac) << true << 0x8E << "\u00E9";
    QTest::newRow("ebcdic letter") << int(THexEditor::ttEBCDIC) << true << 0xC1 << "A";
    QTest::newRow("ebcdic digit") << int(THexEditor::ttEBCDIC) << true << 0xF9 << "9";
    QTest::newRow("ebcdic space") << int(THexEditor::ttEBCDIC) << true << 0x40 << " ";
    QTest::newRow("ebcdic unmapped") << int(THexEditor::ttEBCDIC) << false << 0x41 << ".";
    QTest::newRow("ebcdic zero") << int(THexEditor::ttEBCDIC) << false << 0x00 << ".";
  }
  void translations() {
    QFETCH(int, translation);
    QFETCH(bool, mask);
    QFETCH(int, byte);
    QFETCH(QString, shown);
    THexEditor editor;
    QVERIFY(editor.setProperty("Translation", translation));
    editor.SetMaskWhiteSpaces(mask);
    QCOMPARE(QString(editor.DisplayChar(static_cast<uint8_t>(byte))), shown);
    editor.SetMaskChar(u'*');
    if (shown == ".") QCOMPARE(editor.DisplayChar(static_cast<uint8_t>(byte)), QChar(u'*'));
  }

  void cellColours_data() {
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<int>("col");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    // 16 bytes a row: columns 2..5 are the first group, 6..9 the second,
    // 35 is the character of byte 0.
    QTest::newRow("first group") << false << false << 2 << kBlue << kWhite;
    QTest::newRow("second group") << false << false << 6 << kNavy << kWhite;
    QTest::newRow("character") << false << false << 35 << kBlack << kWhite;
    QTest::newRow("changed digit") << true << false << 2 << kMaroon << kPaleYellow;
    QTest::newRow("changed character") << true << false << 35 << kMaroon << kPaleYellow;
    QTest::newRow("selected first group") << false << true << 2 << kYellow << kBlue;
    QTest::newRow("selected second group") << false << true << 6 << QColor(0xFF, 0xFF, 0x7F) << kNavy;
    QTest::newRow("selected character") << false << true << 35 << kWhite << kBlack;
    QTest::newRow("selected changed") << true << true << 2 << kPaleYellow << kMaroon;
  }
  void cellColours() {
    QFETCH(bool, changed);
    QFETCH(bool, selected);
    QFETCH(int, col);
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    THexEditor editor;
    QPalette palette = editor.palette();
    palette.setColor(QPalette::Text, kBlack);
    editor.setPalette(palette);
    editor.Colors()->SetBackground(kWhite);
    const std::vector<uint8_t> bytes = Counting(64);
    editor.Buffer().LoadFromBytes(bytes.data(), bytes.size());
    const int32_t offset = col == 35 ? 0 : (col - 2) / 2;
    if (changed) editor.Buffer().MarkChanged(offset);
    if (selected) {
      editor.Buffer().SelAnchor = editor.Buffer().SelStart = 0;
      editor.Buffer().SelEnd = 3;
    }
    const TCellLook look = editor.CellLook(col, 0);
    QCOMPARE(look.TextColor, text);
    QCOMPARE(look.Background, background);
    // The byte after the selection keeps the plain colours.
    QCOMPARE(editor.CellLook(10, 0).Background, kWhite);
  }

  void colours() {
    THexEditor editor;
    TColors& colors = *editor.Colors();
    QCOMPARE(colors.Offset(), kBlack);
    QCOMPARE(colors.OddColumn(), kBlue);
    QCOMPARE(colors.EvenColumn(), kNavy);
    QCOMPARE(colors.PositionBackground(), kMaroon);
    QCOMPARE(colors.PositionText(), kWhite);
    QCOMPARE(colors.CursorFrame(), kNavy);
    QCOMPARE(colors.ChangedText(), kMaroon);
    QCOMPARE(colors.ChangedBackground().rgb() & 0xFFFFFF, 0xFFFFA8u);
    QCOMPARE(colors.Background(), editor.palette().color(QPalette::Base));
    QCOMPARE(colors.OddColumnInverse(), kYellow);
    QCOMPARE(colors.EvenColumnInverse(), QColor(0xFF, 0xFF, 0x7F));
    QVERIFY(colors.setProperty("OddColumn", QColor(0x12, 0x34, 0x56)));
    QCOMPARE(colors.OddColumnInverse(), QColor(0xED, 0xCB, 0xA9));
    colors.SetEvenColumn(kWhite);
    QCOMPARE(colors.EvenColumnInverse(), kBlack);
    colors.SetBackground(kYellow);
    QCOMPARE(editor.viewport()->palette().color(QPalette::Base), kYellow);
    QCOMPARE(editor.property("Colors").value<TColors*>(), &colors);
  }

  void pixels() {
    const std::vector<uint8_t> bytes = Counting(40);
    auto editor = Editor(bytes);
    editor->Buffer().MarkChanged(2);
    editor->Buffer().SelAnchor = editor->Buffer().SelStart = 4;
    editor->Buffer().SelEnd = 5;
    editor->InvalidateAll();
    const QImage image = Grab(*editor);
    const int w = editor->CharWidth();
    // Word 1 (bytes 2, 3): byte 2 changed; word 2 (bytes 4, 5) selected.
    const QRect changed = editor->CellRect(2, 1);
    QCOMPARE(image.pixelColor(changed.right(), changed.top()), kPaleYellow);
    QVERIFY(Contains(image, changed, kMaroon));
    const QRect selected = editor->CellRect(3, 2);
    QCOMPARE(image.pixelColor(selected.right(), selected.top()), kBlue);
    QVERIFY(Contains(image, selected, kYellow));
    const QRect plain = editor->CellRect(2, 3);
    QCOMPARE(image.pixelColor(plain.right(), plain.top()), kWhite);
    QVERIFY(Contains(image, plain, kBlue));
    QVERIFY(!Contains(image, plain, kYellow));
    // The double-width digit column leaves a blank after the group.
    const QRect wide = editor->CellRect(5, 3);
    QCOMPARE(wide.width(), 2 * w);
    QVERIFY(!Contains(image, QRect(wide.left() + w + 2, wide.top(), w - 2, wide.height()), kBlue));
  }

  void markers() {
    const std::vector<uint8_t> bytes = Counting(40);
    auto editor = Editor(bytes);
    editor->SetMarker(3, 10);
    editor->SetMarker(7, 10);
    QCOMPARE(editor->MarkerOfRow(10), 3);
    QCOMPARE(editor->MarkerOfRow(11), -1);
    QCOMPARE(editor->Marker(3), 10);
    QCOMPARE(editor->Marker(4), editor->Row());  // unset: the current row
    const TCellLook look = editor->CellLook(1, 10);
    QCOMPARE(look.Text, QStringLiteral("3"));
    QCOMPARE(look.TextColor, kWhite);
    QCOMPARE(look.Background, kMaroon);
    QVERIFY(look.MarkerFont);
    QCOMPARE(editor->CellLook(1, 9).Text, QStringLiteral(" "));
    const QImage image = Grab(*editor);
    QVERIFY(Contains(image, editor->CellRect(1, 10), kMaroon));
    QVERIFY(Contains(image, editor->CellRect(1, 10), kWhite));
    for (int index : {-1, 10}) {
      try {
        editor->SetMarker(index, 1);
        QFAIL("a marker index outside 0..9 must raise");
      } catch (const std::out_of_range& error) {
        QCOMPARE(std::string(error.what()), std::string("SetMarker : Invalid marker index"));
      }
    }
  }

  void bytesPerLineLimits_data() {
    QTest::addColumn<int>("value");
    QTest::newRow("0") << 0;
    QTest::newRow("257") << 257;
    QTest::newRow("-2") << -2;
  }
  void bytesPerLineLimits() {
    QFETCH(int, value);
    THexEditor editor;
    const std::vector<uint8_t> bytes = Counting(100);
    editor.Buffer().LoadFromBytes(bytes.data(), bytes.size());
    try {
      editor.SetBytesPerLine(value);
      QFAIL("must raise");
    } catch (const std::invalid_argument& error) {
      QCOMPARE(std::string(error.what()), std::string("Invalid BytesPerLine argument"));
    }
    QCOMPARE(editor.BytesPerLine(), 16);
    QCOMPARE(editor.RowCount(), 7);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, editor.SetBytesPerColumn(0));
    QCOMPARE(editor.BytesPerColumn(), 2);
  }

  void bytesPerLineKeepsCaretAndSelection() {
    THexEditor editor;
    const std::vector<uint8_t> bytes = Counting(100);
    editor.Buffer().LoadFromBytes(bytes.data(), bytes.size());
    editor.MoveTo(2 * 16 + 3 + 5, 2);  // the character of byte 37
    QCOMPARE(editor.CursorPos(), 37);
    editor.Buffer().SelAnchor = editor.Buffer().SelStart = 30;
    editor.Buffer().SelEnd = 40;
    editor.SetBytesPerLine(4);
    QCOMPARE(editor.ColCount(), 15);
    QCOMPARE(editor.RowCount(), 25);
    QCOMPARE(editor.CursorPos(), 37);
    QVERIFY(editor.InCharField());
    QCOMPARE(editor.Col(), 4 * 2 + 3 + 1);
    QCOMPARE(editor.Row(), 9);
    QCOMPARE(editor.SelStart(), 30);
    QCOMPARE(editor.SelEnd(), 40);
  }

  void publishedProperties_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("initial");
    QTest::addColumn<QVariant>("changed");
    QTest::newRow("BytesPerLine") << "BytesPerLine" << QVariant(16) << QVariant(2);
    QTest::newRow("BytesPerColumn") << "BytesPerColumn" << QVariant(2) << QVariant(1);
    QTest::newRow("Translation") << "Translation" << QVariant::fromValue(THexEditor::ttAnsi)
                                 << QVariant::fromValue(THexEditor::ttASCII);
    QTest::newRow("OffsetDisplay") << "OffsetDisplay" << QVariant::fromValue(THexEditor::odHex)
                                   << QVariant::fromValue(THexEditor::odDec);
    QTest::newRow("OffsetSeparator") << "OffsetSeparator" << QVariant(QChar(u':')) << QVariant(QChar(u'|'));
    QTest::newRow("CaretStyle") << "CaretStyle" << QVariant::fromValue(THexEditor::csFull)
                                << QVariant::fromValue(THexEditor::csBottomLine);
    QTest::newRow("FocusFrame") << "FocusFrame" << QVariant(true) << QVariant(false);
    QTest::newRow("MaskWhiteSpaces") << "MaskWhiteSpaces" << QVariant(true) << QVariant(false);
    QTest::newRow("MaskChar") << "MaskChar" << QVariant(QChar(u'.')) << QVariant(QChar(u'_'));
    QTest::newRow("ShowMarkerColumn") << "ShowMarkerColumn" << QVariant(true) << QVariant(false);
    QTest::newRow("AutoCaretMode") << "AutoCaretMode" << QVariant(true) << QVariant(false);
    QTest::newRow("WantTabs") << "WantTabs" << QVariant(true) << QVariant(false);
    QTest::newRow("CreateBackup") << "CreateBackup" << QVariant(true) << QVariant(false);
    QTest::newRow("BackupExtension") << "BackupExtension" << QVariant(QStringLiteral(".bak"))
                                     << QVariant(QStringLiteral(".old"));
    QTest::newRow("SwapNibbles") << "SwapNibbles" << QVariant(0) << QVariant(1);
    QTest::newRow("NoSizeChange") << "NoSizeChange" << QVariant(false) << QVariant(true);
    QTest::newRow("AllowInsertMode") << "AllowInsertMode" << QVariant(false) << QVariant(true);
    QTest::newRow("ReadOnlyView") << "ReadOnlyView" << QVariant(false) << QVariant(true);
  }
  void publishedProperties() {
    QFETCH(QString, name);
    QFETCH(QVariant, initial);
    QFETCH(QVariant, changed);
    THexEditor editor;
    const QByteArray key = name.toLatin1();
    QCOMPARE(editor.property(key), initial);
    QVERIFY(editor.setProperty(key, changed));
    QCOMPARE(editor.property(key), changed);
  }

  void caretStyles_data() {
    QTest::addColumn<int>("style");
    QTest::newRow("full") << int(THexEditor::csFull);
    QTest::newRow("left line") << int(THexEditor::csLeftLine);
    QTest::newRow("bottom line") << int(THexEditor::csBottomLine);
  }
  void caretStyles() {
    QFETCH(int, style);
    const std::vector<uint8_t> bytes = Counting(40);
    auto editor = Editor(bytes);
    QVERIFY(editor->setProperty("CaretStyle", style));
    editor->MoveTo(3, 4);
    const QImage focused = Grab(*editor);
    editor->clearFocus();
    QVERIFY(!editor->hasFocus());
    const QImage unfocused = Grab(*editor);
    // The caret's part of the cell is every colour XOR the inverse of
    // CursorFrame; the rest of the cell is untouched.
    const QRect cell = editor->CellRect(3, 4);
    const int w = editor->CharWidth();
    const int h = editor->CharHeight() - 2;
    QRect caret(cell.topLeft(), QSize(w, h));
    if (style == THexEditor::csLeftLine) caret.setWidth(2);
    if (style == THexEditor::csBottomLine) caret.setTop(caret.top() + h - 2);
    const QColor mask = TColors::Inverse(kNavy);
    int xored = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x < cell.left() + w; ++x) {
        const QColor before = unfocused.pixelColor(x, y);
        const QColor expected = caret.contains(x, y)
                                    ? QColor(before.red() ^ mask.red(), before.green() ^ mask.green(),
                                             before.blue() ^ mask.blue())
                                    : before;
        QCOMPARE(focused.pixelColor(x, y), expected);
        xored += caret.contains(x, y);
      }
    QCOMPARE(xored, caret.width() * caret.height());
    // On the white background the caret shows in CursorFrame.
    QCOMPARE(focused.pixelColor(caret.left(), caret.bottom()), kNavy);
  }

  void caretFollowsScrolling() {
    const std::vector<uint8_t> bytes = Counting(2000);
    auto editor = Editor(bytes);
    editor->MoveTo(4, 500);
    QVERIFY(editor->TopRow() <= 500 && 500 < editor->TopRow() + editor->VisibleRowCount());
    const QRect cell = editor->CellRect(4, 500);
    QVERIFY(editor->viewport()->rect().contains(cell));
    QCOMPARE(Grab(*editor).pixelColor(cell.left(), cell.top()), kNavy);
    // Scrolled away, no caret is drawn anywhere.
    editor->SetTopRow(0);
    const QImage image = Grab(*editor);
    const QRect shown(QPoint(0, 0), QSize(image.width(), editor->VisibleRowCount() * editor->CharHeight()));
    QVERIFY(!Contains(image, shown, kNavy));
  }

  void partnerMark() {
    const std::vector<uint8_t> bytes(40, 0x20);  // blanks: no glyph pixels
    auto editor = Editor(bytes);
    editor->MoveTo(4, 1);
    QCOMPARE(editor->PartnerColumn(4), 8);
    QCOMPARE(editor->PartnerColumn(8), 4);
    QCOMPARE(editor->PartnerColumn(7), 2);
    const QRect cell = editor->CellRect(8, 1);
    QImage image = Grab(*editor);
    // A dotted frame: its left edge alternates inverted and plain pixels.
    for (int y = cell.top() + 1; y < cell.bottom() - 1; ++y) {
      const QColor pixel = image.pixelColor(cell.left(), y);
      QVERIFY(pixel == kBlack || pixel == kWhite);
      QVERIFY(image.pixelColor(cell.left(), y + 1) != pixel);
    }
    editor->SetFocusFrame(false);
    image = Grab(*editor);
    for (int y = cell.top(); y <= cell.bottom(); ++y) QCOMPARE(image.pixelColor(cell.left(), y), kNavy);
    QCOMPARE(image.pixelColor(cell.left() + editor->CharWidth() - 1, cell.top() + 3), kNavy);
    // No mark without the focus.
    editor->clearFocus();
    image = Grab(*editor);
    QCOMPARE(image.pixelColor(cell.left(), cell.top() + 3), kWhite);
  }

  void setMemoryRepaintsWithoutChangedColours() {
    const std::vector<uint8_t> bytes(40, 0x00);
    auto editor = Editor(bytes);
    editor->Buffer().SetMemory(20, 0xAB);
    editor->InvalidateBytes(20, 1);
    const TCellLook look = editor->CellLook(2, 10);
    QCOMPARE(look.Text, QStringLiteral("A"));
    QCOMPARE(look.Background, editor->Colors()->Background());
    QVERIFY(!editor->Modified());
    QVERIFY(Contains(Grab(*editor), editor->CellRect(2, 10), kBlue));
  }

  void externalBuffer() {
    THexEditorBuffer memory;
    const std::vector<uint8_t> bytes = Counting(122880);
    memory.LoadFromBytes(bytes.data(), bytes.size());
    {
      THexEditor editor(&memory);
      editor.SetBytesPerLine(2);
      QCOMPARE(&editor.Buffer(), &memory);
      QCOMPARE(editor.DataSize(), 122880);  // shown as it is, not emptied
      QCOMPARE(editor.RowCount(), 61440);
      // A load made by the machine rebuilds the grid and homes the caret.
      editor.MoveTo(3, 100);
      memory.LoadFromBytes(bytes.data(), 10);
      QCOMPARE(editor.RowCount(), 5);
      QCOMPARE(editor.Col(), 2);
      QCOMPARE(editor.Row(), 0);
      QCOMPARE(editor.CellLook(5, 4).Text, QStringLiteral("9"));
      editor.SetBuffer(nullptr);
      QVERIFY(&editor.Buffer() != &memory);
      QCOMPARE(editor.DataSize(), 0);
      editor.SetBuffer(&memory);
    }
    // The editor is gone: loading must not reach it.
    memory.LoadFromBytes(bytes.data(), 4);
    QCOMPARE(memory.DataSize(), 4);
  }
};

QTEST_MAIN(tst_hexeditor)
#include "tst_hexeditor.moc"
