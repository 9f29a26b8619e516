#pragma once
// Running a program against a teacher's cases: each case on a machine of its
// own, switched on from scratch as veltra-run does, the cases spread over
// every core, and what the machine shows at the end compared with what the
// case expects.
#include <optional>
#include <string>
#include <vector>

#include "Casos.h"
#include "Ejecucion_Linea.h"

// The program under correction: an object file (.EHC, .HEX) or an assembly
// source (.ASM), loaded into each case's machine as VELTRA opens a program.
class TPrograma_Casos {
 public:
  explicit TPrograma_Casos(std::string ruta) : ruta_(std::move(ruta)) {}

  // Loads the program into a machine just switched on; the messages that
  // fail the case when it could not be loaded (empty when it was).
  std::vector<std::string> Cargar(TEjecucion_Linea& ejecucion) const;

 private:
  std::string ruta_;
};

// One thing the machine showed that the case did not expect.
struct TDiferencia {
  std::string Clave;  // r3, Z, puerto de salida 01, M[0200], parada
  std::string Obtenido;
  std::string Esperado;
};
// "r3 = 0007, se esperaba 0008", "parada: max_steps, se esperaba halt".
std::string Texto_Diferencia(const TDiferencia& diferencia);

struct TResultado_Caso {
  std::optional<TFin_Ejecucion> Fin;  // nothing when the program was not loaded
  uint64_t Pasos = 0;
  std::vector<std::string> Errores_Carga;
  std::vector<TDiferencia> Diferencias;
  std::vector<std::string> Mensajes;  // the boxes of the load and of the run
  // What the case's `comprobar` asks for, as the machine shows it at the end.
  TEspera Leido;
  // When asked: the loaded words, one "AAAA WWWW" line each, so that two
  // programs that assemble to the same words give the same text.
  std::string Palabras_Cargadas;

  bool Pasa() const { return Errores_Carga.empty() && Diferencias.empty(); }
};

TResultado_Caso Ejecutar_Caso(const TCaso& caso, const TPrograma_Casos& programa, bool palabras_cargadas = false);

// The results in the order of the cases, run on `hilos` threads (0: one per core).
std::vector<TResultado_Caso> Ejecutar_Casos(const std::vector<TCaso>& casos, const TPrograma_Casos& programa,
                                            int hilos = 0);

// A class: every case of every program is a task of its own, all on one
// pool of `hilos` threads. The results per program, in the order of the
// cases; the first case of each also gives its loaded words. A case whose
// run throws fails with the reason, and the others go on.
std::vector<std::vector<TResultado_Caso>> Ejecutar_Programas(const std::vector<TCaso>& casos,
                                                             const std::vector<TPrograma_Casos>& programas,
                                                             int hilos = 0);
