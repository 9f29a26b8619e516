#pragma once
// A row of seven-segment LED digits showing a short text. Registers and ports
// are shown in these; the text is drawn into an off-screen pixmap that is
// rebuilt only when the text, a property, the size or the pixel ratio changes.
#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

class TDigitalDisplay : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool LeadingZeros READ LeadingZeros WRITE setLeadingZeros)
  Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
  Q_PROPERTY(quint8 Digits READ Digits WRITE setDigits)
  Q_PROPERTY(QString Value READ Value WRITE setValue)
  Q_PROPERTY(QColor BckgndColor READ BckgndColor WRITE setBckgndColor)
  Q_PROPERTY(QColor DigitOnColor READ DigitOnColor WRITE setDigitOnColor)
  Q_PROPERTY(QColor DigitOffColor READ DigitOffColor WRITE setDigitOffColor)
  // Framed as changed by the last instruction.
  Q_PROPERTY(bool cambiado READ Cambiado WRITE setCambiado)

 public:
  enum class TAlignment { Left, Right, Center };
  Q_ENUM(TAlignment)

  explicit TDigitalDisplay(QWidget* parent = nullptr);
  ~TDigitalDisplay() override;

  bool LeadingZeros() const { return leadingZeros_; }
  TAlignment Alignment() const { return alignment_; }
  quint8 Digits() const { return digits_; }
  // The text exactly as assigned: no pad characters, no change of case.
  const QString& Value() const { return value_; }
  QColor BckgndColor() const { return bckgndColor_; }
  QColor DigitOnColor() const { return digitOnColor_; }
  QColor DigitOffColor() const { return digitOffColor_; }
  bool Cambiado() const { return cambiado_; }

  // Each setter stores and repaints only when the new value differs.
  void setLeadingZeros(bool leadingZeros);
  void setAlignment(TAlignment alignment);
  void setDigits(quint8 digits);
  void setValue(const QString& value);
  void setBckgndColor(const QColor& color);
  void setDigitOnColor(const QColor& color);
  void setDigitOffColor(const QColor& color);
  // The frame is a sibling just under the display, two pixels larger on
  // each side, so it hides none of the digits.
  void setCambiado(bool cambiado);

 signals:
  // On a button press over a digit cell; digits count from 1 at the left. A
  // press on the pixel two cells share fires once for each of them.
  void OnDigitClick(TDigitalDisplay* Sender, int Digit);
  // A left-button press and release both inside the display.
  void OnClick(TDigitalDisplay* Sender);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Space or Enter on a display that takes the focus is a click.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  template <typename T>
  void Change(T& field, const T& value);
  void Rebuild_Pixmap(qreal pixelRatio);
  QString Working_Text() const;
  void Place_Frame();

  QPixmap pixmap_;
  QSize builtSize_;
  bool pixmapStale_ = true;
  bool leftPressed_ = false;

  quint8 digits_ = 4;
  QString value_ = QStringLiteral("0000");
  QColor bckgndColor_;
  QColor digitOnColor_;
  QColor digitOffColor_;
  TAlignment alignment_ = TAlignment::Right;
  bool leadingZeros_ = false;
  bool cambiado_ = false;
  QPointer<QWidget> frame_;
};
