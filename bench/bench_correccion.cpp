// veltra-run --casos at a class's scale: 1,000 cases of a program that runs
// about 10,000 instructions, each on a machine of its own, on every core and
// then on one thread; then a class, 120 submissions of 20 such cases graded
// from their folder with every report written (--entregas with --csv,
// --html and --junit), on every core and on one thread, alternately. The
// processor time (all threads) is printed beside the wall-clock time, which
// other programs on a shared machine lengthen.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>

#include "correccion/Correccion.h"
#include "correccion/Entregas.h"
#include "correccion/Informes_Clase.h"
#include "core/TextoHex.h"

namespace {

// Adds r1 + (r1 - 1) + ... + 1 into r2: six instructions a turn.
const char* const Fuente = R"(
        LLI  R2, 0
        LLI  R3, 1
bucle:  ADDS R2, R2, R1
        SUBS R1, R1, R3
        LLI  RD, LO(fin)
        BZ
        LLI  RD, LO(bucle)
        BR
fin:    HALT
)";

struct TTiempo {
  double Reloj;     // wall-clock seconds
  double Procesador;  // processor seconds of every thread
};

TTiempo Medir(const TPrograma_Casos& programa, const std::vector<TCaso>& casos, int hilos, uint64_t& pasos) {
  const auto inicio = std::chrono::steady_clock::now();
  const std::clock_t procesador = std::clock();
  const auto resultados = Ejecutar_Casos(casos, programa, hilos);
  const TTiempo tiempo{std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count(),
                       static_cast<double>(std::clock() - procesador) / CLOCKS_PER_SEC};
  pasos = 0;
  for (const auto& r : resultados) {
    if (!r.Pasa()) std::fprintf(stderr, "a case failed: %s\n", Texto_Diferencia(r.Diferencias.at(0)).c_str());
    pasos += r.Pasos;
  }
  return tiempo;
}

constexpr int Alumnos = 120;
constexpr int Casos_Clase = 20;

// A class as students hand it in: most right, each with a word of its own
// (LLI R5, n), every tenth adding into the wrong register.
void Escribir_Clase(const QString& carpeta) {
  for (int n = 0; n < Alumnos; ++n) {
    std::string fuente = "        LLI  R5, " + std::to_string(n) + Fuente;
    if (n % 10 == 9) fuente.replace(fuente.find("ADDS R2, R2, R1"), 15, "ADDS R4, R2, R1");
    std::ofstream(QDir(carpeta).filePath(QStringLiteral("alumno%1.ASM").arg(n, 3, 10, QLatin1Char('0'))).toStdString())
        << fuente;
  }
}

double Mediana(std::vector<double> valores) {
  std::sort(valores.begin(), valores.end());
  return valores[valores.size() / 2];
}

// The class graded and every report written, as veltra-run --entregas does.
TTiempo Corregir_Clase(const QString& carpeta, const QString& informes, const std::vector<TCaso>& casos, int hilos) {
  const auto inicio = std::chrono::steady_clock::now();
  const std::clock_t procesador = std::clock();
  const TCarpeta_Entregas entregas = Buscar_Entregas(carpeta);
  const auto corregidas = Corregir_Entregas(casos, entregas.Entregas, hilos);
  const TClase clase{QStringLiteral("CASOS.json"), carpeta, casos, corregidas, entregas.Omitidos};
  const auto guardar = [](const QString& ruta, const QByteArray& texto) {
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(texto) != texto.size() || !archivo.commit())
      std::fprintf(stderr, "could not write %s\n", qPrintable(ruta));
  };
  guardar(informes + "/clase.txt", Texto_Clase(clase).toUtf8());
  guardar(informes + "/clase.csv", CSV_Clase(clase));
  guardar(informes + "/clase.html", HTML_Clase(clase));
  QString error;
  for (const TCorreccion_Entrega& e : corregidas)
    if (!Escribir_JUnit(informes + "/" + e.Entrega.Entrada + ".xml", clase.Archivo_Casos, e.Entrega.Nombre, casos,
                        e.Resultados, e.Copias, error))
      std::fprintf(stderr, "could not write a JUnit file: %s\n", qPrintable(error));
  const auto aprobadas = std::count_if(corregidas.begin(), corregidas.end(),
                                      [](const TCorreccion_Entrega& e) { return e.Totales.Pasan == Casos_Clase; });
  if (entregas.Entregas.size() != Alumnos || aprobadas != Alumnos - Alumnos / 10)
    std::fprintf(stderr, "the class was not graded as written\n");
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count(),
          static_cast<double>(std::clock() - procesador) / CLOCKS_PER_SEC};
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication aplicacion(argc, argv);
  QTemporaryDir carpeta;
  const std::string ruta = carpeta.filePath(QStringLiteral("BUCLE.ASM")).toStdString();
  std::ofstream(ruta) << Fuente;
  const TPrograma_Casos programa(ruta);

  std::vector<TCaso> casos(1000);
  for (std::size_t i = 0; i < casos.size(); ++i) {
    const int32_t n = 1660 + static_cast<int32_t>(i % 10);
    casos[i].Preparacion.Relleno_Ceros = true;
    casos[i].Preparacion.Semilla = 0;
    casos[i].Preparacion.Registros = {{1, Palabra_a_Texto(n)}};
    casos[i].Espera.Parada = TFin_Ejecucion::Halt;
    casos[i].Espera.Registros = {{Visor_Registro(2), Palabra_a_Texto((n * (n + 1) / 2) % 0x10000)}};
  }
  uint64_t pasos = 0;
  const TTiempo todos = Medir(programa, casos, 0, pasos);
  std::printf("veltra-run --casos: %zu cases, %llu instructions, on %d threads: %.3f s (goal: under 2 s), "
              "processor %.3f s\n",
              casos.size(), static_cast<unsigned long long>(pasos), QThread::idealThreadCount(), todos.Reloj,
              todos.Procesador);
  const TTiempo uno = Medir(programa, casos, 1, pasos);
  std::printf("the same on one thread: %.3f s, processor %.3f s\n", uno.Reloj, uno.Procesador);

  const QString clase = carpeta.filePath(QStringLiteral("clase")), informes = carpeta.filePath(QStringLiteral("informes"));
  QDir().mkpath(clase);
  QDir().mkpath(informes);
  Escribir_Clase(clase);
  const std::vector<TCaso> casos_clase(casos.begin(), casos.begin() + Casos_Clase);
  std::vector<double> todos_clase, uno_clase, procesador_clase;
  for (int vuelta = 0; vuelta < 5; ++vuelta) {
    const TTiempo t = Corregir_Clase(clase, informes, casos_clase, 0);
    todos_clase.push_back(t.Reloj);
    procesador_clase.push_back(t.Procesador);
    uno_clase.push_back(Corregir_Clase(clase, informes, casos_clase, 1).Reloj);
  }
  std::printf("a class, %d submissions x %d cases (about %d instructions each), reports written, median of 5: "
              "%.3f s on %d threads (goal: under 3 s), processor %.3f s; %.3f s on one thread (ratio %.2f)\n",
              Alumnos, Casos_Clase, 10000, Mediana(todos_clase), QThread::idealThreadCount(),
              Mediana(procesador_clase), Mediana(uno_clase), Mediana(todos_clase) / Mediana(uno_clase));
  return 0;
}
