#pragma once
// Timing and paint counting shared by the screen benchmarks.
#include <QEvent>
#include <QObject>
#include <chrono>

inline double Milisegundos_desde(std::chrono::steady_clock::time_point inicio) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio).count();
}

// Counts the paint events of the widget it is installed on.
class TContador_Pintadas : public QObject {
 public:
  int pintadas = 0;

 protected:
  bool eventFilter(QObject*, QEvent* evento) override {
    if (evento->type() == QEvent::Paint) ++pintadas;
    return false;
  }
};
