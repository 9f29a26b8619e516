// Start-up and memory cost: the time from process start to the end of the
// first paint of Form1, and the peak resident memory by then, for VELTRA and
// for a bare program that shows one empty QMainWindow. Each is a fresh
// process (arranque_veltra, arranque_vacio), started Veces times, in turns;
// prints the medians and the ratios against the goals. A third program, the
// bare window with one label, is the reference of the start-up goal: it pays
// the font system's first use as VELTRA does, which the empty window never does.
// Where the time goes is printed too, as the median of each step: from the
// spawn to main() (the process and its libraries), QApplication, building and
// showing the window, the wait for its first paint, and that paint.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The machines are shared and noisy: more turns than the five a figure needs.
constexpr int Veces = 15;
constexpr double Imagen_Memoria_kB = 122880 / 1024.0;
constexpr int Espera_Maxima_ms = 30000;

// The steps a child reports, in its order: main() entered, QApplication
// made, window built and shown, first paint begun, first paint over.
constexpr int Pasos = 5;
const char* const Nombres_Pasos[Pasos] = {"to main()", "QApplication", "build+show", "to paint", "paint"};

struct TMedida {
  double ms = 0;
  long kb = 0;
  double pasos_ms[Pasos] = {};
};

// Starts the program with its standard output on a pipe; the clock runs from
// just before the spawn to the instant the child reads after its first paint.
// Qt's warnings go to a file, shown only if the child fails.
bool Medir(const char* programa, TMedida& medida) {
  int tubo[2];
  if (pipe2(tubo, O_CLOEXEC) != 0) return false;
  std::FILE* avisos = std::tmpfile();
  posix_spawn_file_actions_t acciones;
  posix_spawn_file_actions_init(&acciones);
  posix_spawn_file_actions_adddup2(&acciones, tubo[1], STDOUT_FILENO);
  if (avisos) posix_spawn_file_actions_adddup2(&acciones, fileno(avisos), STDERR_FILENO);
  char* argumentos[] = {const_cast<char*>(programa), nullptr};
  pid_t hijo = 0;
  const auto inicio = std::chrono::steady_clock::now();
  const int error = posix_spawn(&hijo, programa, &acciones, nullptr, argumentos, environ);
  posix_spawn_file_actions_destroy(&acciones);
  close(tubo[1]);
  std::string salida;
  char bloque[256];
  pollfd espera{tubo[0], POLLIN, 0};
  while (salida.find('\n') == std::string::npos && poll(&espera, 1, Espera_Maxima_ms) > 0) {
    const ssize_t leidos = read(tubo[0], bloque, sizeof bloque);
    if (leidos <= 0) break;
    salida.append(bloque, static_cast<size_t>(leidos));
  }
  close(tubo[0]);
  int estado = 0;
  if (error == 0) {
    if (salida.find('\n') == std::string::npos) kill(hijo, SIGKILL);
    waitpid(hijo, &estado, 0);
  }
  long long ns = 0, en_main = 0, con_aplicacion = 0, mostrada = 0, pintando = 0;
  const bool bien = error == 0 &&
                    std::sscanf(salida.c_str(), "%lld %ld %lld %lld %lld %lld", &ns, &medida.kb, &en_main,
                                &con_aplicacion, &mostrada, &pintando) == 6 &&
                    WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
  if (avisos) {
    if (!bien) {
      std::rewind(avisos);
      for (int c; (c = std::fgetc(avisos)) != EOF;) std::fputc(c, stderr);
    }
    std::fclose(avisos);
  }
  if (!bien) return false;
  const long long pasos[Pasos + 1] = {std::chrono::nanoseconds(inicio.time_since_epoch()).count(),
                                      en_main, con_aplicacion, mostrada, pintando, ns};
  for (int paso = 0; paso < Pasos; ++paso)
    medida.pasos_ms[paso] = static_cast<double>(pasos[paso + 1] - pasos[paso]) / 1e6;
  medida.ms = static_cast<double>(ns - pasos[0]) / 1e6;
  return true;
}

double Mediana(std::vector<double> valores) {
  std::sort(valores.begin(), valores.end());
  const size_t n = valores.size();
  return n % 2 ? valores[n / 2] : (valores[n / 2 - 1] + valores[n / 2]) / 2;
}

struct TSerie {
  const char* nombre;
  const char* programa;
  std::vector<double> ms, kb;
  std::vector<double> pasos_ms[Pasos];
};

void Imprimir(const TSerie& serie) {
  std::printf("  %-22s median %6.1f ms (%.1f..%.1f)   peak resident %7.0f kB (%.0f..%.0f)\n", serie.nombre,
              Mediana(serie.ms), *std::min_element(serie.ms.begin(), serie.ms.end()),
              *std::max_element(serie.ms.begin(), serie.ms.end()), Mediana(serie.kb),
              *std::min_element(serie.kb.begin(), serie.kb.end()),
              *std::max_element(serie.kb.begin(), serie.kb.end()));
}

void Imprimir_Pasos(const TSerie& serie) {
  std::printf("  %-22s", serie.nombre);
  for (int paso = 0; paso < Pasos; ++paso) std::printf(" %12.1f", Mediana(serie.pasos_ms[paso]));
  std::printf("\n");
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TSerie vacio{"empty QMainWindow", PROGRAMA_VACIO, {}, {}, {}};
  TSerie etiqueta{"with one label", PROGRAMA_ETIQUETA, {}, {}, {}};
  TSerie veltra{"VELTRA (Form1)", PROGRAMA_VELTRA, {}, {}, {}};
  // One unmeasured start of each fills the page cache; then they alternate so
  // that a busy moment of the machine falls on both.
  for (int vez = -1; vez < Veces; ++vez) {
    for (TSerie* serie : {&vacio, &etiqueta, &veltra}) {
      TMedida medida;
      if (!Medir(serie->programa, medida)) {
        std::fprintf(stderr, "bench_arranque: %s did not report its first paint\n", serie->programa);
        return 1;
      }
      if (vez < 0) continue;
      serie->ms.push_back(medida.ms);
      serie->kb.push_back(static_cast<double>(medida.kb));
      for (int paso = 0; paso < Pasos; ++paso) serie->pasos_ms[paso].push_back(medida.pasos_ms[paso]);
    }
  }
  // Each ratio is the median of the turns' own ratios: the three starts of a
  // turn follow one another, so a busy moment falls on all of them.
  const auto Razon = [&](const TSerie& referencia) {
    std::vector<double> razones;
    for (size_t vez = 0; vez < veltra.ms.size(); ++vez) razones.push_back(veltra.ms[vez] / referencia.ms[vez]);
    return Mediana(razones);
  };
  const double razon_etiqueta = Razon(etiqueta), razon_vacio = Razon(vacio);
  const double kb_vacio = Mediana(vacio.kb), kb_veltra = Mediana(veltra.kb);
  const double kb_limite = 1.5 * kb_vacio + Imagen_Memoria_kB;
  std::printf("bench_arranque: process start to the end of Form1's first paint, %d runs each, %s\n", Veces,
              std::getenv("QT_QPA_PLATFORM"));
  Imprimir(vacio);
  Imprimir(etiqueta);
  Imprimir(veltra);
  std::printf("  start-up ratio         %6.2f against one label (goal: at most 1.5) %s; %.2f against empty\n",
              razon_etiqueta, razon_etiqueta <= 1.5 ? "met" : "MISSED", razon_vacio);
  std::printf("  memory ratio           %6.2f; goal: at most 1.5 x empty + 120 kB image = %.0f kB, %s\n",
              kb_veltra / kb_vacio, kb_limite, kb_veltra <= kb_limite ? "met" : "MISSED");
  std::printf("  memory against one label %4.2f\n", kb_veltra / Mediana(etiqueta.kb));
  std::printf("  steps, median ms       ");
  for (const char* nombre : Nombres_Pasos) std::printf(" %12s", nombre);
  std::printf("\n");
  for (const TSerie* serie : {&vacio, &etiqueta, &veltra}) Imprimir_Pasos(*serie);
  return 0;
}
