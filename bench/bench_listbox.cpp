// The listing box with a full program of 61,440 lines: showing them (first
// paint included), loading them line by line as the loader does, replacing
// them all, and moving the selection 10,000 times with each move scrolled
// into view and painted.
#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "Medicion.h"
#include "core/Listado.h"
#include "core/TextoHex.h"
#include "disasm/UNASM.h"
#include "widgets/HListBox.h"

namespace {

constexpr int Numero_Lineas = 61440;
constexpr int Movimientos = 10000;

std::vector<std::string> Lineas_Programa(uint32_t semilla) {
  std::mt19937 generador(semilla);
  std::vector<std::string> lineas;
  lineas.reserve(Numero_Lineas);
  for (int32_t a = 0; a < Numero_Lineas; ++a)
    lineas.push_back("[" + Palabra_a_Texto(a) + "]: " +
                     Desensamblar(Palabra_a_Texto(static_cast<int32_t>(generador() & 0xFFFF))));
  return lineas;
}

// Runs the event loop until the list has painted again.
void Esperar_Pintada(const TContador_Pintadas& contador) {
  const int antes = contador.pintadas;
  QElapsedTimer limite;
  limite.start();
  while (contador.pintadas == antes) {
    QCoreApplication::processEvents();
    if (limite.elapsed() > 5000) {
      std::fprintf(stderr, "bench_listbox: the list never painted\n");
      std::exit(1);
    }
  }
}

// A shown, painted, empty box watching the listing.
struct TCaja_Mostrada {
  THListBox caja;
  TContador_Pintadas contador;

  explicit TCaja_Mostrada(TListado* listado) {
    caja.viewport()->installEventFilter(&contador);
    caja.Fijar_Listado(listado);
    caja.resize(348, 209);
    caja.show();
    Esperar_Pintada(contador);
  }
};

// Moves the selection by address, waiting for each move to be scrolled into
// view and painted; returns how many moves left the line out of view.
template <typename TDestino>
int Mover_Seleccion(TListado& listado, TCaja_Mostrada& mostrada, const char* como, TDestino destino_de) {
  int fallos = 0;
  const auto inicio = std::chrono::steady_clock::now();
  for (int m = 0; m < Movimientos; ++m) {
    const int32_t destino = destino_de(m);
    listado.Seleccionar_Direccion(Palabra_a_Texto(destino));
    Esperar_Pintada(mostrada.contador);
    const QRect fila = mostrada.caja.visualRect(mostrada.caja.model()->index(destino, 0));
    if (listado.Seleccion() != destino || !mostrada.caja.viewport()->rect().contains(fila)) ++fallos;
  }
  const double ms = Milisegundos_desde(inicio);
  std::printf("  %d selection moves %s, each scrolled into view and painted: %8.2f ms (%.1f us per move)\n",
              Movimientos, como, ms, ms * 1000.0 / Movimientos);
  return fallos;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  const std::vector<std::string> programa = Lineas_Programa(1);
  const std::vector<std::string> otro_programa = Lineas_Programa(2);
  std::printf("listing box, %d lines, 348 x 209 pixels:\n", Numero_Lineas);

  {
    TListado listado;
    listado.Reemplazar_Todas(programa);
    const auto inicio = std::chrono::steady_clock::now();
    THListBox caja;
    TContador_Pintadas contador;
    caja.viewport()->installEventFilter(&contador);
    caja.Fijar_Listado(&listado);
    caja.resize(348, 209);
    caja.show();
    Esperar_Pintada(contador);
    std::printf("  show a filled listing in a new box, first paint included: %8.2f ms\n", Milisegundos_desde(inicio));
  }

  TListado listado;
  TCaja_Mostrada mostrada(&listado);

  auto inicio = std::chrono::steady_clock::now();
  listado.Reemplazar_Todas(programa);
  Esperar_Pintada(mostrada.contador);
  std::printf("  load all lines at once into the shown box, painted:      %8.2f ms\n", Milisegundos_desde(inicio));

  inicio = std::chrono::steady_clock::now();
  listado.Reemplazar_Todas(otro_programa);
  Esperar_Pintada(mostrada.contador);
  std::printf("  replace every line (Reemplazar_Todas), painted:          %8.2f ms\n", Milisegundos_desde(inicio));

  listado.Vaciar_Linea_a_Linea();
  Esperar_Pintada(mostrada.contador);
  inicio = std::chrono::steady_clock::now();
  for (const std::string& linea : programa) listado.Agregar(linea);
  Esperar_Pintada(mostrada.contador);
  std::printf("  append the lines one by one (the loader's way), painted: %8.2f ms\n", Milisegundos_desde(inicio));

  inicio = std::chrono::steady_clock::now();
  for (int i = 0; i < Numero_Lineas; ++i) listado.Reemplazar(i, otro_programa[static_cast<size_t>(i)]);
  Esperar_Pintada(mostrada.contador);
  std::printf("  replace the lines one by one, painted:                   %8.2f ms\n", Milisegundos_desde(inicio));

  listado.Seleccionar_Direccion("EFFF");  // builds the address index once
  Esperar_Pintada(mostrada.contador);
  std::mt19937 generador(3);
  std::uniform_int_distribution<int32_t> al_azar(0, Numero_Lineas - 1);
  const int fallos_al_azar = Mover_Seleccion(listado, mostrada, "to random lines", [&](int) { return al_azar(generador); });
  const int fallos_seguidos = Mover_Seleccion(listado, mostrada, "to the next line, as a run steps", [](int m) { return m; });
  if (fallos_al_azar + fallos_seguidos > 0) {
    std::fprintf(stderr, "bench_listbox: %d moves left the selected line out of view\n",
                 fallos_al_azar + fallos_seguidos);
    return 1;
  }
  return 0;
}
