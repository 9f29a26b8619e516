#include "ui/Editor_Fuente.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QPainter>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <utility>

#include "asm/Fuente_Editor.h"
#include "ui/Temas.h"
#include "widgets/Fuentes.h"

namespace {

constexpr int Sangria = 8;  // the examples' columns
// More would slow each repaint for no use: nobody reads a thousand errors.
constexpr int Maximo_Subrayados = 1000;

QColor Mezcla(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - t) + b.redF() * t),
                          static_cast<float>(a.greenF() * (1 - t) + b.greenF() * t),
                          static_cast<float>(a.blueF() * (1 - t) + b.blueF() * t));
}

double Luminancia(const QColor& c) {
  const auto canal = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * canal(c.redF()) + 0.7152 * canal(c.greenF()) + 0.0722 * canal(c.blueF());
}

// The hue, moved toward the text colour until it reads on every background.
QColor Legible(const QColor& tono, const QColor& texto, std::initializer_list<QColor> fondos, double minimo) {
  for (int paso = 0; paso <= 20; ++paso) {
    const QColor c = Mezcla(tono, texto, paso / 20.0);
    if (std::all_of(fondos.begin(), fondos.end(), [&](const QColor& f) { return Contraste(c, f) >= minimo; }))
      return c;
  }
  return Contraste(Qt::black, *fondos.begin()) > Contraste(Qt::white, *fondos.begin()) ? QColor(Qt::black)
                                                                                       : QColor(Qt::white);
}

class TMargen : public QWidget {
 public:
  explicit TMargen(TEditor_Fuente* editor) : QWidget(editor), editor_(editor) {
    setObjectName(QStringLiteral("Margen_Fuente"));
    setCursor(Qt::PointingHandCursor);
  }
  QSize sizeHint() const override { return {editor_->Ancho_Margen(), 0}; }

 protected:
  void paintEvent(QPaintEvent* evento) override { editor_->Pintar_Margen(evento); }
  void mousePressEvent(QMouseEvent* evento) override { editor_->Pulsar_Margen(evento); }

 private:
  TEditor_Fuente* editor_;
};

// Repaints that QPlainTextDocumentLayout makes larger than a keystroke
// needs, each of them the whole view:
// - it measures a change by the removed and the added characters together
//   from its start, and the highlighter marks a recoloured line whole (as
//   many removed as added), so that line seemed to reach into the next;
// - when lines come or go it repaints every line, though those above the
//   change stay where they are, and after Enter those below only move down.
class TDisposicion_Fuente : public QPlainTextDocumentLayout {
 public:
  // zona_desde: the view's area from a line's top down, in the coordinates
  // of update(). partir: one line more, given the first line of the
  // change; true when it was Enter splitting that line and the lines below
  // were moved on screen.
  TDisposicion_Fuente(QTextDocument* texto, std::function<QRectF(const QTextBlock&)> zona_desde,
                      std::function<bool(const QTextBlock&)> partir)
      : QPlainTextDocumentLayout(texto),
        zona_desde_(std::move(zona_desde)),
        partir_(std::move(partir)),
        lineas_(texto->blockCount()) {}

 protected:
  void documentChanged(int desde, int quitados, int puestos) override {
    const QTextDocument* texto = document();
    const QTextBlock primera = texto->findBlock(desde);
    const QTextBlock ultima = texto->findBlock(desde + puestos - 1);
    // Only the added text is in the document now: when it lies within one
    // line, that line is all that changed.
    if (quitados > 0 && puestos > 0 && primera == ultima) quitados = 0;
    const int antes = std::exchange(lineas_, texto->blockCount());
    if (lineas_ == antes) return QPlainTextDocumentLayout::documentChanged(desde, quitados, puestos);
    const bool partida = lineas_ == antes + 1;
    {
      // Its signals then are the new size and the whole view.
      const QSignalBlocker callado(this);
      QPlainTextDocumentLayout::documentChanged(desde, quitados, puestos);
    }
    emit documentSizeChanged(documentSize());
    if (!partida || !partir_(primera)) emit update(zona_desde_(primera));
  }

 private:
  std::function<QRectF(const QTextBlock&)> zona_desde_;
  std::function<bool(const QTextBlock&)> partir_;
  int lineas_;
};

bool Es_De_Nombre(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

}  // namespace

double Contraste(const QColor& a, const QColor& b) {
  const double la = Luminancia(a), lb = Luminancia(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TColores_Fuente Colores_Fuente(const QPalette& paleta, double minimo) {
  TColores_Fuente c;
  c.Fondo = paleta.color(QPalette::Base);
  const bool oscuro = c.Fondo.lightness() < 128;
  c.Texto = Legible(paleta.color(QPalette::Text), oscuro ? Qt::white : Qt::black, {c.Fondo}, minimo);
  c.Linea_Cursor = Mezcla(c.Fondo, c.Texto, 0.08);
  c.Linea_PC = oscuro ? Mezcla(c.Fondo, QColor(0x2E, 0x7D, 0x32), 0.55) : Mezcla(c.Fondo, QColor(0xFF, 0xD5, 0x4F), 0.8);
  const auto legible = [&](QColor claro, QColor en_oscuro) {
    return Legible(oscuro ? en_oscuro : claro, c.Texto, {c.Fondo, c.Linea_Cursor, c.Linea_PC}, minimo);
  };
  c.Mnemonico = legible(QColor(0x00, 0x33, 0xB3), QColor(0x82, 0xAA, 0xFF));
  c.Directiva = legible(QColor(0x8E, 0x24, 0xAA), QColor(0xE0, 0x8E, 0xFF));
  c.Registro = legible(QColor(0x1B, 0x6E, 0x20), QColor(0x8F, 0xDB, 0x8F));
  c.Constante = legible(QColor(0xA0, 0x4A, 0x00), QColor(0xFF, 0xB8, 0x6C));
  c.Etiqueta = legible(QColor(0x00, 0x6B, 0x75), QColor(0x6C, 0xE0, 0xE8));
  c.Comentario = legible(QColor(0x5F, 0x63, 0x68), QColor(0xA8, 0xAD, 0xB4));
  c.Error = legible(QColor(0xD0, 0x00, 0x00), QColor(0xFF, 0x6E, 0x6E));
  c.Margen_Fondo = Mezcla(c.Fondo, c.Texto, 0.05);
  c.Margen_Texto = Legible(Mezcla(c.Texto, c.Fondo, 0.5), c.Texto, {c.Margen_Fondo}, minimo);
  c.Punto_Ruptura = Legible(oscuro ? QColor(0xFF, 0x55, 0x55) : QColor(0xD0, 0x10, 0x10), c.Texto, {c.Margen_Fondo}, minimo);
  return c;
}

int Unidades_UTF16(const QString& linea, int caracteres) {
  int unidad = 0;
  for (; caracteres > 0 && unidad < linea.size(); --caracteres)
    unidad += linea[unidad].isHighSurrogate() && unidad + 1 < linea.size() ? 2 : 1;
  return unidad + caracteres;
}

int Caracteres_UTF16(const QString& linea, int unidades) {
  int caracteres = 0;
  for (int unidad = 0; unidad < unidades; ++caracteres)
    unidad += unidad < linea.size() && linea[unidad].isHighSurrogate() ? 2 : 1;
  return caracteres;
}

// ---------------------------------------------------------------- colouring

TResaltador_Fuente::TResaltador_Fuente(QTextDocument* documento) : QSyntaxHighlighter(documento) {}

void TResaltador_Fuente::Fijar_Colores(const TColores_Fuente& colores) {
  const auto formato = [](const QColor& color, bool negrita = false, bool cursiva = false) {
    QTextCharFormat f;
    f.setForeground(color);
    if (negrita) f.setFontWeight(QFont::Bold);
    f.setFontItalic(cursiva);
    return f;
  };
  // In TClase_Pieza's order.
  formatos_ = {formato(colores.Mnemonico, true), formato(colores.Directiva, true), formato(colores.Registro),
               formato(colores.Constante),       formato(colores.Etiqueta),        formato(colores.Comentario, false, true)};
  rehighlight();
}

void TResaltador_Fuente::Fijar_Visibles(int primero, int ultimo) {
  primero_ = primero;
  ultimo_ = ultimo;
  QTextBlock bloque = document()->findBlockByNumber(primero);
  for (int n = primero; bloque.isValid() && n <= ultimo; bloque = bloque.next(), ++n)
    if (bloque.userState() != 1) rehighlightBlock(bloque);
}

void TResaltador_Fuente::highlightBlock(const QString& texto) {
  const int numero = currentBlock().blockNumber();
  if (numero < primero_ || numero > ultimo_ || formatos_.empty()) {
    // Coloured when it comes on screen. -1, a new line's state: an unchanged
    // state ends QSyntaxHighlighter's walk to the next line here.
    setCurrentBlockState(-1);
    return;
  }
  const QByteArray linea = texto.toUtf8();
  // Most lines are ASCII, where characters and units are one.
  const bool ascii = linea.size() == texto.size();
  for (const TPieza& p : Piezas_Linea(std::string_view(linea.constData(), static_cast<std::size_t>(linea.size())))) {
    const int inicio = ascii ? p.Inicio : Unidades_UTF16(texto, p.Inicio);
    const int fin = ascii ? p.Inicio + p.Largo : Unidades_UTF16(texto, p.Inicio + p.Largo);
    setFormat(inicio, fin - inicio, formatos_[static_cast<std::size_t>(p.Clase)]);
  }
  setCurrentBlockState(1);
}

// ---------------------------------------------------------------- the editor

TEditor_Fuente::TEditor_Fuente(QWidget* parent)
    : QPlainTextEdit(parent), margen_(new TMargen(this)) {
  auto* texto = new QTextDocument(this);
  texto->setDocumentLayout(new TDisposicion_Fuente(
      texto, [this](const QTextBlock& bloque) { return QRectF(0, blockBoundingGeometry(bloque).top(), 1e9, 1e9); },
      [this](const QTextBlock& primera) { return Mover_Lineas_Debajo(primera); }));
  setDocument(texto);
  resaltador_ = new TResaltador_Fuente(texto);
  setObjectName(QStringLiteral("Editor_Fuente"));
  setFont(Fuente_Fija(QStringLiteral("Courier New"), 10));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * Sangria);
  setMouseTracking(true);
  connect(this, &QPlainTextEdit::blockCountChanged, this, [this] {
    // A new digit widens the margin; any other new line leaves the view's layout alone.
    if (viewportMargins().left() != Ancho_Margen()) setViewportMargins(Ancho_Margen(), 0, 0, 0);
  });
  connect(this, &QPlainTextEdit::updateRequest, this, &TEditor_Fuente::Actualizar_Margen);
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    // Typing along a line keeps its shading where it is: only a move to
    // another line redraws the whole view.
    if (textCursor().blockNumber() != bloque_cursor_) Actualizar_Selecciones();
  });
  setViewportMargins(Ancho_Margen(), 0, 0, 0);
  Aplicar_Colores();
}

void TEditor_Fuente::Poner_Texto(const QString& texto) {
  // The highlighter would visit all 65,281 lines of the largest source only
  // to leave them for later; it is detached while the text goes in and the
  // lines on screen are coloured after.
  // (QSyntaxHighlighter's own slot, connected by name as it connects itself;
  // were it ever renamed, neither call would take and the highlighter would
  // visit every line as it does by itself: slower, never wrong.)
  QObject::disconnect(document(), SIGNAL(contentsChange(int,int,int)), resaltador_,
                      SLOT(_q_reformatBlocks(int,int,int)));
  setPlainText(texto);
  QObject::connect(document(), SIGNAL(contentsChange(int,int,int)), resaltador_,
                   SLOT(_q_reformatBlocks(int,int,int)));
  Colorear_Visibles();
}

bool TEditor_Fuente::Mover_Lineas_Debajo(const QTextBlock& primera) {
  // Only Enter, which changes no other line (the highlighter may colour the
  // next one again, the same), and only when both halves keep the line's
  // height: then what was below it is one line lower, pixel for pixel.
  if (primera.blockNumber() != partiendo_.Linea || !viewport()->isVisible()) return false;
  const qreal alto = blockBoundingRect(primera).height();
  if (alto != partiendo_.Alto || blockBoundingRect(primera.next()).height() != alto) return false;
  const int arriba = qRound(blockBoundingGeometry(primera).translated(contentOffset()).top());
  const int h = qRound(alto);
  const QRect debajo = QRect(0, arriba + h, viewport()->width(), viewport()->height()).intersected(viewport()->rect());
  // The strip the move uncovers is the second half, drawn with it.
  if (!debajo.isEmpty()) viewport()->scroll(0, h, debajo);
  viewport()->update(0, arriba, viewport()->width(), h);
  return true;
}

void TEditor_Fuente::Reemplazar_Texto(const QString& texto) {
  const QString actual = toPlainText();
  const qsizetype minimo = std::min(actual.size(), texto.size());
  qsizetype antes = 0;
  while (antes < minimo && actual[antes] == texto[antes]) ++antes;
  qsizetype despues = 0;
  while (despues < minimo - antes && actual[actual.size() - 1 - despues] == texto[texto.size() - 1 - despues]) ++despues;
  if (antes == actual.size() && antes == texto.size()) return;
  QTextCursor cursor(document());
  cursor.setPosition(static_cast<int>(antes));
  cursor.setPosition(static_cast<int>(actual.size() - despues), QTextCursor::KeepAnchor);
  cursor.insertText(texto.mid(antes, texto.size() - despues - antes));
}

void TEditor_Fuente::Aplicar_Colores() {
  colores_ = Colores_Fuente(palette(), Contraste_Texto(Tema_Actual()));
  resaltador_->Fijar_Colores(colores_);
  Fijar_Errores(std::move(errores_));
  margen_->update();
}

int TEditor_Fuente::Ancho_Margen() const {
  const int cifras = static_cast<int>(QString::number(std::max(1, blockCount())).size());
  const int alto = fontMetrics().height();
  // Digits, then room for the breakpoint dot.
  return 6 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(cifras, 3) + alto;
}

void TEditor_Fuente::resizeEvent(QResizeEvent* evento) {
  QPlainTextEdit::resizeEvent(evento);
  const QRect zona = contentsRect();
  margen_->setGeometry(QRect(zona.left(), zona.top(), Ancho_Margen(), zona.height()));
  Colorear_Visibles();
}

void TEditor_Fuente::changeEvent(QEvent* evento) {
  QPlainTextEdit::changeEvent(evento);
  if (evento->type() == QEvent::PaletteChange) Aplicar_Colores();
  if (evento->type() == QEvent::FontChange) {
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * Sangria);
    setViewportMargins(Ancho_Margen(), 0, 0, 0);
  }
}

void TEditor_Fuente::Actualizar_Margen(const QRect& zona, int dy) {
  if (dy) {
    margen_->scroll(0, dy);
    for (TFila_Margen& fila : filas_pintadas_) fila.Arriba += dy;
  } else {
    zona_margen_ |= zona;
  }
  // Once the view has settled, and once for all the requests of a keystroke:
  // a request can come while the document is still taking a change, and
  // colouring changes it again.
  if (!colorear_pendiente_) {
    colorear_pendiente_ = true;
    QMetaObject::invokeMethod(this, [this] {
      colorear_pendiente_ = false;
      Colorear_Visibles();
      // Only the rows that would show something else (a new line moves the
      // text below it, but each row keeps its number), and those whose line
      // is gone.
      const std::vector<TFila_Margen> filas = Filas_Margen(zona_margen_.top(), zona_margen_.bottom());
      QRect cambiadas;
      const auto distintas = [&](const std::vector<TFila_Margen>& unas, const std::vector<TFila_Margen>& otras) {
        for (const TFila_Margen& fila : unas)
          if (fila.Arriba + fila.Alto > zona_margen_.top() && fila.Arriba <= zona_margen_.bottom() &&
              std::find(otras.begin(), otras.end(), fila) == otras.end())
            cambiadas |= QRect(0, fila.Arriba, margen_->width(), fila.Alto);
      };
      distintas(filas, filas_pintadas_);
      distintas(filas_pintadas_, filas);
      zona_margen_ = {};
      if (!cambiadas.isEmpty()) margen_->update(cambiadas);
    }, Qt::QueuedConnection);
  }
}

void TEditor_Fuente::Colorear_Visibles() {
  const QTextBlock primero = firstVisibleBlock();
  if (!primero.isValid()) return;
  const int lineas = viewport()->height() / std::max(1, fontMetrics().height()) + 2;
  resaltador_->Fijar_Visibles(primero.blockNumber(), primero.blockNumber() + lineas);
}

std::vector<TEditor_Fuente::TFila_Margen> TEditor_Fuente::Filas_Margen(int desde, int hasta) const {
  std::vector<TFila_Margen> filas;
  QTextBlock bloque = firstVisibleBlock();
  int arriba = qRound(blockBoundingGeometry(bloque).translated(contentOffset()).top());
  while (bloque.isValid() && arriba <= hasta) {
    const int alto = qRound(blockBoundingRect(bloque).height());
    const int linea = bloque.blockNumber() + 1;
    if (bloque.isVisible() && arriba + alto >= desde)
      filas.push_back({arriba, alto, linea, std::binary_search(puntos_.begin(), puntos_.end(), linea),
                       std::binary_search(lineas_error_.begin(), lineas_error_.end(), linea)});
    bloque = bloque.next();
    arriba += alto;
  }
  return filas;
}

void TEditor_Fuente::Pintar_Margen(QPaintEvent* evento) {
  QPainter pintor(margen_);
  pintor.fillRect(evento->rect(), colores_.Margen_Fondo);
  pintor.setRenderHint(QPainter::Antialiasing);
  const int alto = fontMetrics().height();
  const int ancho = margen_->width();
  const int derecha = ancho - alto - 2;
  // Each number laid out once while the font stays: laying out the text of
  // every number on screen again took a quarter of a new line's keystroke.
  if (numeros_fuente_ != font() || numeros_.size() > 4096) {
    numeros_fuente_ = font();
    numeros_.clear();
  }
  const std::vector<TFila_Margen> filas = Filas_Margen(evento->rect().top(), evento->rect().bottom());
  for (const TFila_Margen& fila : filas) {
    pintor.setPen(colores_.Margen_Texto);
    auto [numero, nuevo] = numeros_.try_emplace(fila.Linea, QString::number(fila.Linea));
    if (nuevo) numero->second.prepare({}, font());
    pintor.drawStaticText(derecha - qCeil(numero->second.size().width()), fila.Arriba, numero->second);
    if (fila.Punto) {
      pintor.setPen(Qt::NoPen);
      pintor.setBrush(colores_.Punto_Ruptura);
      pintor.drawEllipse(QRectF(ancho - alto + 2, fila.Arriba + 2, alto - 4, alto - 4));
    }
    // A stroke under the number, the error's own colour.
    if (fila.Error) pintor.fillRect(QRectF(2, fila.Arriba + fila.Alto - 3, ancho - alto - 4, 2), colores_.Error);
  }
  // What the rows show now, for the next request to compare.
  std::erase_if(filas_pintadas_, [&](const TFila_Margen& f) {
    return f.Arriba + f.Alto > evento->rect().top() && f.Arriba <= evento->rect().bottom();
  });
  filas_pintadas_.insert(filas_pintadas_.end(), filas.begin(), filas.end());
}

void TEditor_Fuente::Pulsar_Margen(QMouseEvent* evento) {
  const QTextBlock bloque = cursorForPosition(QPoint(0, evento->position().toPoint().y())).block();
  if (bloque.isValid() && Clic_Margen) Clic_Margen(bloque.blockNumber() + 1);
}

void TEditor_Fuente::Fijar_Errores(std::vector<TError_Linea> errores) {
  errores_ = std::move(errores);
  lineas_error_.clear();
  for (const TError_Linea& e : errores_) lineas_error_.push_back(e.Linea);
  std::sort(lineas_error_.begin(), lineas_error_.end());
  Actualizar_Selecciones();
  margen_->update();
}

void TEditor_Fuente::Fijar_Linea_PC(int linea) {
  if (linea == linea_pc_) return;
  linea_pc_ = linea;
  Actualizar_Selecciones();
  if (linea > 0) {
    // Scrolled into view without moving the student's cursor.
    const QTextBlock bloque = document()->findBlockByNumber(linea - 1);
    const int primera = firstVisibleBlock().blockNumber();
    const int visibles = viewport()->height() / std::max(1, fontMetrics().height());
    if (bloque.blockNumber() < primera || bloque.blockNumber() >= primera + visibles - 1)
      verticalScrollBar()->setValue(std::max(0, bloque.blockNumber() - visibles / 3));
  }
}

void TEditor_Fuente::Fijar_Puntos(std::vector<int> lineas) {
  std::sort(lineas.begin(), lineas.end());
  if (lineas == puntos_) return;
  puntos_ = std::move(lineas);
  margen_->update();
}

void TEditor_Fuente::Actualizar_Selecciones() {
  bloque_cursor_ = textCursor().blockNumber();
  QList<QTextEdit::ExtraSelection> selecciones;
  const auto linea_entera = [&](const QTextCursor& cursor, const QColor& fondo) {
    QTextEdit::ExtraSelection s;
    s.format.setBackground(fondo);
    s.format.setProperty(QTextFormat::FullWidthSelection, true);
    s.cursor = cursor;
    s.cursor.clearSelection();
    selecciones << s;
  };
  linea_entera(textCursor(), colores_.Linea_Cursor);
  if (linea_pc_ > 0)
    if (const QTextBlock bloque = document()->findBlockByNumber(linea_pc_ - 1); bloque.isValid())
      linea_entera(QTextCursor(bloque), colores_.Linea_PC);
  int subrayados = 0;
  for (const TError_Linea& e : errores_) {
    if (++subrayados > Maximo_Subrayados) break;
    const QTextBlock bloque = document()->findBlockByNumber(e.Linea - 1);
    if (!bloque.isValid()) continue;
    QTextEdit::ExtraSelection s;
    s.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    s.format.setUnderlineColor(colores_.Error);
    s.cursor = QTextCursor(bloque);
    const int largo = bloque.length() - 1;
    s.cursor.setPosition(bloque.position() + std::min(e.Inicio, largo));
    s.cursor.setPosition(bloque.position() + std::min(std::max(e.Fin, e.Inicio + 1), largo), QTextCursor::KeepAnchor);
    selecciones << s;
  }
  setExtraSelections(selecciones);
}

// ---------------------------------------------------------------- keys

namespace {

// The keys the source window keeps for itself even where the main window
// has a shortcut for them.
bool Es_Tecla_Propia(const QKeyEvent& tecla) {
  const Qt::KeyboardModifiers mod = tecla.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
  switch (tecla.key()) {
    case Qt::Key_F3:
    case Qt::Key_F4:
    case Qt::Key_F9: return mod == Qt::NoModifier;
    case Qt::Key_S:
    case Qt::Key_F:
    case Qt::Key_H:
    case Qt::Key_Space: return mod == Qt::ControlModifier;
    case Qt::Key_Slash:
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus: return mod & Qt::ControlModifier;
    default: return false;
  }
}

}  // namespace

bool TEditor_Fuente::event(QEvent* evento) {
  if (evento->type() == QEvent::ShortcutOverride && Es_Tecla_Propia(*static_cast<QKeyEvent*>(evento))) {
    evento->accept();
    return true;
  }
  return QPlainTextEdit::event(evento);
}

bool TEditor_Fuente::viewportEvent(QEvent* evento) {
  if (evento->type() != QEvent::ToolTip || !Ayuda) return QPlainTextEdit::viewportEvent(evento);
  auto* ayuda = static_cast<QHelpEvent*>(evento);
  const QTextCursor cursor = cursorForPosition(ayuda->pos());
  // cursorForPosition gives the nearest gap: the character is the one whose
  // box holds the mouse.
  int posicion = cursor.positionInBlock();
  if (cursorRect(cursor).left() > ayuda->pos().x() && posicion > 0) --posicion;
  const QString texto = cursor.block().isValid() && posicion < cursor.block().length() - 1
                            ? Ayuda(cursor.blockNumber() + 1, posicion)
                            : QString();
  if (texto.isEmpty()) QToolTip::hideText();
  else QToolTip::showText(ayuda->globalPos(), texto, viewport());
  return true;
}

void TEditor_Fuente::keyPressEvent(QKeyEvent* evento) {
  if (completador_ && completador_->popup()->isVisible()) {
    switch (evento->key()) {
      case Qt::Key_Enter:
      case Qt::Key_Return:
      case Qt::Key_Escape:
      case Qt::Key_Tab:
      case Qt::Key_Backtab: evento->ignore(); return;  // the list takes them
      default: break;
    }
  }
  const bool ctrl = evento->modifiers() & Qt::ControlModifier;
  if (Es_Tecla_Propia(*evento)) {
    switch (evento->key()) {
      case Qt::Key_Space: Completar(); return;
      case Qt::Key_Slash: Comentar_Lineas(); return;
      case Qt::Key_Plus:
      case Qt::Key_Equal: zoomIn(1); return;
      case Qt::Key_Minus: zoomOut(1); return;
      default: evento->ignore(); return;  // the window's keys
    }
  }
  if (!ctrl && (evento->key() == Qt::Key_Tab || evento->key() == Qt::Key_Backtab)) {
    const QTextCursor cursor = textCursor();
    const bool varias = cursor.hasSelection() &&
                        document()->findBlock(cursor.selectionStart()) != document()->findBlock(cursor.selectionEnd());
    if (evento->key() == Qt::Key_Backtab || varias) {
      Sangrar_Lineas(evento->key() == Qt::Key_Tab);
    } else {
      const int columna = cursor.positionInBlock();
      textCursor().insertText(QString(Sangria - columna % Sangria, QLatin1Char(' ')));
    }
    return;
  }
  if ((evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) && !(evento->modifiers() & ~Qt::KeypadModifier)) {
    // The new line starts where the previous one's text did.
    QTextCursor cursor = textCursor();
    const QString linea = cursor.block().text().left(cursor.positionInBlock());
    int blancos = 0;
    while (blancos < linea.size() && (linea[blancos] == QLatin1Char(' ') || linea[blancos] == QLatin1Char('\t'))) ++blancos;
    if (!cursor.hasSelection()) partiendo_ = {cursor.blockNumber(), blockBoundingRect(cursor.block()).height()};
    cursor.insertText(QStringLiteral("\n") + linea.left(blancos));
    partiendo_ = {};
    setTextCursor(cursor);
    return;
  }
  QPlainTextEdit::keyPressEvent(evento);
  if (completador_ && completador_->popup()->isVisible()) Completar();  // narrows the list as the word grows
}

void TEditor_Fuente::wheelEvent(QWheelEvent* evento) {
  if (evento->modifiers() & Qt::ControlModifier) {
    if (evento->angleDelta().y() > 0) zoomIn(1);
    else if (evento->angleDelta().y() < 0) zoomOut(1);
    return;
  }
  QPlainTextEdit::wheelEvent(evento);
}

QTextCursor TEditor_Fuente::Cursor_Lineas_Seleccionadas() const {
  QTextCursor cursor = textCursor();
  const int inicio = cursor.selectionStart(), fin = cursor.selectionEnd();
  cursor.setPosition(inicio);
  cursor.movePosition(QTextCursor::StartOfBlock);
  const int primera = cursor.position();
  cursor.setPosition(fin);
  // A selection that ends at a line's start leaves that line out.
  if (cursor.atBlockStart() && fin > inicio) cursor.movePosition(QTextCursor::PreviousBlock);
  cursor.movePosition(QTextCursor::EndOfBlock);
  const int ultima = cursor.position();
  cursor.setPosition(primera);
  cursor.setPosition(ultima, QTextCursor::KeepAnchor);
  return cursor;
}

namespace {

// Each line of the cursor's selection rewritten, as one undo step.
template <typename Cambio>
void Reescribir_Lineas(QPlainTextEdit& editor, QTextCursor lineas, Cambio cambio) {
  const QStringList originales = lineas.selectedText().split(QChar::ParagraphSeparator);
  QStringList nuevas;
  for (const QString& linea : originales) nuevas << linea;
  cambio(nuevas);
  if (nuevas == originales) return;
  const int inicio = lineas.selectionStart();
  const QString texto = nuevas.join(QLatin1Char('\n'));
  lineas.beginEditBlock();
  lineas.insertText(texto);
  lineas.endEditBlock();
  lineas.setPosition(inicio);
  lineas.setPosition(inicio + static_cast<int>(texto.size()), QTextCursor::KeepAnchor);
  editor.setTextCursor(lineas);
}

}  // namespace

void TEditor_Fuente::Sangrar_Lineas(bool hacia_dentro) {
  Reescribir_Lineas(*this, Cursor_Lineas_Seleccionadas(), [hacia_dentro](QStringList& lineas) {
    for (QString& linea : lineas) {
      if (hacia_dentro) {
        if (!linea.trimmed().isEmpty()) linea.prepend(QString(Sangria, QLatin1Char(' ')));
      } else if (linea.startsWith(QLatin1Char('\t'))) {
        linea.remove(0, 1);
      } else {
        int blancos = 0;
        while (blancos < Sangria && blancos < linea.size() && linea[blancos] == QLatin1Char(' ')) ++blancos;
        linea.remove(0, blancos);
      }
    }
  });
}

void TEditor_Fuente::Comentar_Lineas() {
  Reescribir_Lineas(*this, Cursor_Lineas_Seleccionadas(), [](QStringList& lineas) {
    // All commented (blank lines aside): uncomment; otherwise comment each.
    const bool comentadas = std::all_of(lineas.begin(), lineas.end(), [](const QString& l) {
      return l.trimmed().isEmpty() || l.trimmed().startsWith(QLatin1Char(';'));
    });
    for (QString& linea : lineas) {
      if (linea.trimmed().isEmpty()) continue;
      if (comentadas) {
        const int punto = static_cast<int>(linea.indexOf(QLatin1Char(';')));
        linea.remove(punto, linea.mid(punto, 2) == QLatin1String("; ") ? 2 : 1);
      } else {
        linea.prepend(QStringLiteral("; "));
      }
    }
  });
}

// ---------------------------------------------------------------- help

void TEditor_Fuente::Completar() {
  if (!Completado) return;
  QTextCursor cursor = textCursor();
  const QString antes = cursor.block().text().left(cursor.positionInBlock());
  int inicio = static_cast<int>(antes.size());
  while (inicio > 0 && Es_De_Nombre(antes[inicio - 1])) --inicio;
  const QString prefijo = antes.mid(inicio);
  const QStringList nombres = Completado(prefijo);
  if (!completador_) {
    nombres_ = new QStringListModel(this);
    completador_ = new QCompleter(nombres_, this);
    completador_->setObjectName(QStringLiteral("Completar_Fuente"));
    completador_->setWidget(this);
    completador_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completador_->popup()->setObjectName(QStringLiteral("Lista_Completar"));
    connect(completador_, qOverload<const QString&>(&QCompleter::activated), this,
            &TEditor_Fuente::Insertar_Completado);
  }
  if (nombres.isEmpty()) {
    completador_->popup()->hide();
    return;
  }
  if (nombres.size() == 1 && !completador_->popup()->isVisible()) {
    Insertar_Completado(nombres.constFirst());
    return;
  }
  nombres_->setStringList(nombres);
  completador_->popup()->setCurrentIndex(nombres_->index(0));
  QRect zona = cursorRect();
  zona.setWidth(completador_->popup()->sizeHintForColumn(0) + completador_->popup()->verticalScrollBar()->sizeHint().width() + 8);
  completador_->complete(zona);
}

void TEditor_Fuente::Insertar_Completado(const QString& nombre) {
  QTextCursor cursor = textCursor();
  const QString antes = cursor.block().text().left(cursor.positionInBlock());
  int quitar = 0;
  while (quitar < antes.size() && Es_De_Nombre(antes[antes.size() - 1 - quitar])) ++quitar;
  cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, quitar);
  cursor.insertText(nombre);
  setTextCursor(cursor);
  if (completador_) completador_->popup()->hide();
}
