#pragma once
// Timing and paint counting shared by the screen benchmarks.
#include <QEvent>
#include <QObject>
#include <chrono>
#include <ctime>

inline double Milisegundos_desde(std::chrono::steady_clock::time_point inicio) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio).count();
}

// This thread's processor time in milliseconds: what a piece of work cost
// itself, without the time other programs held the processor meanwhile.
inline double Milisegundos_Proceso() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
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
