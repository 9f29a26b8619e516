#pragma once
// The keyboard alone: F10 opens the first tool-bar menu and the arrows move
// among the three as in a menu bar; the plain keys 0-9 and A-F press the
// keypad while the focus is in the front panel; Tab follows the panels in
// reading order, and the focused display or lamp wears a frame.
#include <QObject>
#include <array>
#include <vector>

class QMenu;
class QToolButton;
class QWidget;

class TTeclado : public QObject {
 public:
  // `panel_frontal` holds the keypad keys T0..TF; `orden` is the tab order.
  TTeclado(QWidget& ventana, QWidget& panel_frontal, const std::vector<QWidget*>& orden);

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void Abrir_Menu(size_t i);

  QWidget& panel_frontal_;
  std::array<QToolButton*, 3> botones_{};
  std::array<QMenu*, 3> menus_{};
};
