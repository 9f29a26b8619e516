#include "ui/Accesibilidad.h"

#include <QAccessibleWidget>
#include <algorithm>

#include "core/Entorno.h"
#include "widgets/DigitalDisplay.h"
#include "widgets/HListBox.h"
#include "widgets/Lampara.h"
#include "widgets/hexeditor.h"

namespace {

QString Dos_Digitos(int n) { return QStringLiteral("%1").arg(n, 2, 16, QLatin1Char('0')).toUpper(); }

QString Valor_Visor(const TDigitalDisplay& visor) {
  const QString& valor = visor.Value();
  // While TORVIC is off every display shows "****".
  if (!valor.isEmpty() && std::ranges::all_of(valor, [](QChar c) { return c == QLatin1Char('*'); }))
    return QStringLiteral("apagado");
  return valor;
}

QString Valor_Listado(const THListBox& listado) {
  const QModelIndex actual = listado.currentIndex();
  return actual.isValid() ? actual.data(Qt::DisplayRole).toString() : QString();
}

QString Valor_Memoria(THexEditor& memoria) {
  const int32_t direccion = memoria.CursorPos() / 2;
  const THexEditorBuffer& bytes = memoria.Buffer();
  if (direccion < 0 || 2 * direccion + 1 >= bytes.DataSize()) return {};
  const int palabra = bytes.ByteAt(2 * direccion) << 8 | bytes.ByteAt(2 * direccion + 1);
  return QStringLiteral("%1: %2")
      .arg(direccion, 4, 16, QLatin1Char('0'))
      .arg(palabra, 4, 16, QLatin1Char('0'))
      .toUpper();
}

// A widget whose value is read as text, so that a reader on the desktop bus
// (which exports text, not Qt's value string) reads it too.
// Displays and lamps also have a numeric value (the word, 1 or 0): the bus
// passes a change of value on only for widgets that have one.
class TAccesible_Valor final : public QAccessibleWidget,
                               public QAccessibleTextInterface,
                               public QAccessibleValueInterface {
 public:
  TAccesible_Valor(QWidget* widget, QAccessible::Role rol) : QAccessibleWidget(widget, rol) {}

  void* interface_cast(QAccessible::InterfaceType tipo) override {
    if (tipo == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (tipo == QAccessible::ValueInterface && (qobject_cast<TDigitalDisplay*>(widget()) || qobject_cast<TLampara*>(widget())))
      return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(tipo);
  }

  // The value interface: read-only.
  QVariant currentValue() const override {
    if (auto* lampara = qobject_cast<TLampara*>(widget())) return lampara->Encendida_Ahora() ? 1 : 0;
    bool numero = false;
    const int palabra = Valor().toInt(&numero, 16);
    return numero ? QVariant(palabra) : QVariant();
  }
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override { return qobject_cast<TLampara*>(widget()) ? 1 : 0xFFFF; }
  QVariant minimumValue() const override { return 0; }
  QVariant minimumStepSize() const override { return 1; }
  // The lamp's lit image and the views' scroll bars are not for reading.
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return Valor_Accesible(widget());
    return QAccessibleWidget::text(t);
  }

  // The text interface: the value, read-only, without a caret.
  QString text(int inicio, int fin) const override { return Valor().mid(inicio, fin - inicio); }
  int characterCount() const override { return static_cast<int>(Valor().size()); }
  void selection(int, int* inicio, int* fin) const override { *inicio = *fin = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* inicio, int* fin) const override {
    *inicio = 0;
    *fin = characterCount();
    return {};
  }

 private:
  QString Valor() const { return text(QAccessible::Value); }
};

QAccessibleInterface* Fabrica(const QString& clase, QObject* objeto) {
  auto* widget = qobject_cast<QWidget*>(objeto);
  if (!widget) return nullptr;
  if (clase == QLatin1String("TDigitalDisplay") || clase == QLatin1String("TLampara"))
    return new TAccesible_Valor(widget, QAccessible::StaticText);
  if (clase == QLatin1String("THListBox")) return new TAccesible_Valor(widget, QAccessible::List);
  if (clase == QLatin1String("THexEditor")) return new TAccesible_Valor(widget, QAccessible::Table);
  return nullptr;
}

}  // namespace

void Instalar_Accesibilidad() {
  static const bool instalada = (QAccessible::installFactory(Fabrica), true);
  Q_UNUSED(instalada);
}

QString Nombre_Visor(int visor) {
  if (visor >= Visor_Registro(0) && visor <= Visor_Registro(15))
    return QStringLiteral("r") + QString::number(visor - Visor_Registro(0), 16).toUpper();
  switch (visor) {
    case Visor_AR: return QStringLiteral("AR");
    case Visor_DR: return QStringLiteral("DR");
    case Visor_IR: return QStringLiteral("IR");
    case Visor_PC: return QStringLiteral("PC");
    default: break;
  }
  if (visor >= Visor_Entrada(0) && visor < Visor_Entrada(Numero_Puertos))
    return QStringLiteral("Puerto de entrada ") + Dos_Digitos(visor - Visor_Entrada(0));
  return QStringLiteral("Puerto de salida ") + Dos_Digitos(visor - Visor_Salida(0));
}

QString Valor_Accesible(QWidget* widget) {
  if (auto* visor = qobject_cast<TDigitalDisplay*>(widget)) return Valor_Visor(*visor);
  if (auto* lampara = qobject_cast<TLampara*>(widget))
    return lampara->Encendida_Ahora() ? QStringLiteral("encendida") : QStringLiteral("apagada");
  if (auto* listado = qobject_cast<THListBox*>(widget)) return Valor_Listado(*listado);
  if (auto* memoria = qobject_cast<THexEditor*>(widget)) return Valor_Memoria(*memoria);
  return {};
}

void Anunciar_Valor(QWidget* widget) {
  if (!QAccessible::isActive()) return;
  QAccessibleValueChangeEvent cambio(widget, Valor_Accesible(widget));
  QAccessible::updateAccessibility(&cambio);
}
