#pragma once
// The source editor's widget: a plain-text editor with line numbers, breakpoint
// dots and error marks in a margin, the cursor's and PC's lines shaded, the
// errors underlined and the assembler's pieces coloured. What a line means
// comes from asm/; this widget paints it and hands the keys of the source
// window (F3, F4, F9, Ctrl+S, Ctrl+Space…) to its owner.
#include <QPlainTextEdit>
#include <QStaticText>
#include <QSyntaxHighlighter>
#include <functional>
#include <unordered_map>
#include <vector>

class QCompleter;
class QStringListModel;

// Every colour the editor and its highlighter use, from the palette, each
// readable on the backgrounds it is drawn on (contrast at least `minimo`).
struct TColores_Fuente {
  QColor Texto, Fondo, Linea_Cursor, Linea_PC, Error;
  QColor Mnemonico, Directiva, Registro, Constante, Etiqueta, Comentario;
  QColor Margen_Fondo, Margen_Texto, Punto_Ruptura;
};
TColores_Fuente Colores_Fuente(const QPalette& paleta, double minimo = 4.5);
// WCAG's contrast ratio between two colours, 1 to 21.
double Contraste(const QColor& a, const QColor& b);

// The assembler counts a line's characters; a QString counts UTF-16 units,
// two for a character outside the BMP. A position in one, in the other.
int Unidades_UTF16(const QString& linea, int caracteres);
int Caracteres_UTF16(const QString& linea, int unidades);

// Colours only the lines on screen: a 65,281-line source is not coloured
// whole when it opens; lines are coloured as they scroll into view.
class TResaltador_Fuente : public QSyntaxHighlighter {
 public:
  explicit TResaltador_Fuente(QTextDocument* documento);
  void Fijar_Colores(const TColores_Fuente& colores);
  // Blocks [primero, ultimo] are on screen: those not coloured yet are now.
  void Fijar_Visibles(int primero, int ultimo);

 protected:
  void highlightBlock(const QString& texto) override;

 private:
  std::vector<QTextCharFormat> formatos_;  // by TClase_Pieza
  int primero_ = 0;
  int ultimo_ = 0;
};

struct TError_Linea {
  int Linea = 0;  // from 1
  int Inicio = 0, Fin = 0;  // UTF-16 units in the line
  QString Mensaje;
};

class TEditor_Fuente : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TEditor_Fuente(QWidget* parent = nullptr);

  // A whole new text: only the lines on screen are coloured now.
  void Poner_Texto(const QString& texto);
  // The text made another as one edit that undo takes back: only the part
  // that differs is replaced, so the cursor, the marks and the view stay
  // where the text stays the same.
  void Reemplazar_Texto(const QString& texto);
  void Fijar_Errores(std::vector<TError_Linea> errores);
  const std::vector<TError_Linea>& Errores() const { return errores_; }
  // The line (from 1) highlighted as PC's; 0 for none.
  void Fijar_Linea_PC(int linea);
  // The lines (from 1) with a breakpoint's dot.
  void Fijar_Puntos(std::vector<int> lineas);
  const std::vector<int>& Puntos() const { return puntos_; }
  int Linea_PC() const { return linea_pc_; }
  // A click in the margin on a line.
  std::function<void(int linea)> Clic_Margen;
  // The tooltip for a character of a line (from 1, 0); empty for none.
  std::function<QString(int linea, int posicion)> Ayuda;
  // Ctrl+Space: the names that complete a prefix.
  std::function<QStringList(const QString& prefijo)> Completado;

  void Comentar_Lineas();
  void Sangrar_Lineas(bool hacia_dentro);
  // The text of the current line's extra selections and marks follows the palette.
  const TColores_Fuente& Colores() const { return colores_; }

  int Ancho_Margen() const;
  void Pintar_Margen(QPaintEvent* evento);
  void Pulsar_Margen(QMouseEvent* evento);

 protected:
  bool event(QEvent* evento) override;
  bool viewportEvent(QEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;
  void resizeEvent(QResizeEvent* evento) override;
  void wheelEvent(QWheelEvent* evento) override;
  void changeEvent(QEvent* evento) override;

 private:
  // What a row of the margin shows.
  struct TFila_Margen {
    int Arriba = 0, Alto = 0;
    int Linea = 0;
    bool Punto = false, Error = false;
    bool operator==(const TFila_Margen&) const = default;
  };
  // The rows that reach into [desde, hasta] of the margin's height.
  std::vector<TFila_Margen> Filas_Margen(int desde, int hasta) const;

  // After Enter split `primera` in two: the lines below moved down on
  // screen and the two halves drawn; false for any other change, or when a
  // height differs: then the view from the line down must be drawn instead.
  bool Mover_Lineas_Debajo(const QTextBlock& primera);
  void Aplicar_Colores();
  void Actualizar_Selecciones();
  void Actualizar_Margen(const QRect& zona, int dy);
  void Colorear_Visibles();
  void Completar();
  void Insertar_Completado(const QString& nombre);
  QTextCursor Cursor_Lineas_Seleccionadas() const;

  QWidget* margen_;
  TResaltador_Fuente* resaltador_ = nullptr;
  TColores_Fuente colores_;
  std::vector<TError_Linea> errores_;
  std::vector<int> lineas_error_;  // sorted, for the margin
  std::vector<int> puntos_;        // sorted
  int linea_pc_ = 0;
  int bloque_cursor_ = -1;
  bool colorear_pendiente_ = false;  // the line shaded as the cursor's
  struct TPartida {
    int Linea = -1;
    qreal Alto = 0;
  } partiendo_;  // the line Enter splits and its height, while it does
  std::vector<TFila_Margen> filas_pintadas_;  // as last painted
  QRect zona_margen_;  // the view's requests since the margin last compared its rows
  std::unordered_map<int, QStaticText> numeros_;  // the margin's, in numeros_fuente_
  QFont numeros_fuente_;
  QCompleter* completador_ = nullptr;
  QStringListModel* nombres_ = nullptr;
};
