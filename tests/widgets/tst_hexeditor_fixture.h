#pragma once
// Shared set-up of the memory editor's tests.
#include <QStyleHints>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "tests/TFileSizeLimit.h"
#include "widgets/Colores.h"
#include "widgets/hexeditor.h"

inline const QColor kPaleYellow(0xFF, 0xFF, 0xA8);

inline std::vector<uint8_t> Counting(size_t count) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i);
  return bytes;
}

// The message of the Error the action raises; empty when it raises nothing.
template <typename Error, typename Action>
std::string ErrorOf(Action&& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return {};
}

// An editor set up like VELTRA's memory panel (2 bytes a row, ASCII), with
// the named properties changed on top, shown and focused, on white, with a
// font drawn without antialiasing so every pixel is a text or a background
// colour, and a steady caret, so grabs never catch it in its off phase.
inline std::unique_ptr<THexEditor> Editor(const std::vector<uint8_t>& bytes, const QVariantMap& properties = {}) {
  QGuiApplication::styleHints()->setCursorFlashTime(0);
  auto editor = std::make_unique<THexEditor>();
  editor->Buffer().LoadFromBytes(bytes.data(), bytes.size());
  editor->SetBytesPerLine(2);
  editor->SetTranslation(THexEditor::ttASCII);
  editor->SetAutoCaretMode(false);
  for (auto it = properties.begin(); it != properties.end(); ++it)
    if (!editor->setProperty(qPrintable(it.key()), it.value())) qFatal("no property %s", qPrintable(it.key()));
  editor->Colors()->SetBackground(clWhite);
  QPalette palette = editor->palette();
  palette.setColor(QPalette::Text, clBlack);
  editor->setPalette(palette);
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setPixelSize(16);
  font.setStyleStrategy(QFont::NoAntialias);
  editor->setFont(font);
  editor->resize(420, 300);
  editor->show();
  editor->activateWindow();
  editor->setFocus();
  if (!QTest::qWaitForWindowActive(editor.get())) qWarning("editor window not active");
  return editor;
}

inline QImage Grab(THexEditor& editor) { return editor.viewport()->grab().toImage(); }

// Whether some pixel of the rectangle has the colour.
inline bool Contains(const QImage& image, const QRect& rect, const QColor& color) {
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (image.pixelColor(x, y) == color) return true;
  return false;
}
