// The full-speed run in the real main window, offscreen, against the
// command-line runner and a plain interpreter (Interprete_Referencia.h) on
// the same program: bench_free_run's 61,440 words,
// listed, made into a loop of about 20 million instructions that ends in
// HALT. Also the event loop's latency while the window runs: how late a
// 1 ms precise timer fires (median and 99th percentile). The runs take
// turns, so a busy moment of the machine falls on both alike. The window's
// run ends when HALT's box opens; after the box, the stop executes the last
// instructions again to record them for stepping back, timed on its own.
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

#include "Ejecucion_Linea.h"
#include "Interprete_Referencia.h"
#include "Medicion.h"
#include "core/TextoHex.h"
#include "objfiles/Cargador.h"
#include "ui/Arranque.h"
#include "ui/main.h"

namespace {

constexpr int Vueltas = 5;  // medians of these, which a busy moment does not move

// 0000 LLI R3,BB; 0001 LHI R3,FE (R3 = -325); 0002 LLI R4,01; 0003 LLI RD,04;
// 0004..EFFB ADDS R1,R1,R2; EFFC LLI RD,04; EFFD ADDS R3,R3,R4;
// EFFE BS back to 0004 while R3 is negative; EFFF HALT.
int32_t Palabra_Programa(int32_t direccion) {
  constexpr int32_t especiales[][2] = {{0x0000, 0x23BB}, {0x0001, 0x33FE}, {0x0002, 0x2401}, {0x0003, 0x2D04},
                                       {0xEFFC, 0x2D04}, {0xEFFD, 0x6334}, {0xEFFE, 0xC200}, {0xEFFF, 0xF000}};
  for (const auto& especial : especiales)
    if (direccion == especial[0]) return especial[1];
  return 0x6112;
}

std::string Escribir_Programa(const QString& carpeta) {
  const std::string ruta = (carpeta + QStringLiteral("/MAXIMA.EHC")).toStdString();
  std::ofstream archivo(ruta);
  for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a)
    archivo << Palabra_a_Texto(a) << ' ' << Palabra_a_Texto(Palabra_Programa(a)) << '\n';
  return ruta;
}

double Percentil(std::vector<double> valores, double p) {
  if (valores.empty()) return 0;
  std::sort(valores.begin(), valores.end());
  return valores[static_cast<size_t>(p * static_cast<double>(valores.size() - 1))];
}

double Por_Segundo(int64_t instrucciones, double segundos) { return static_cast<double>(instrucciones) / segundos; }

// Instructions a second of the runner on the program, with or without the
// history that the window's run always records.
double Ejecutar_Linea(const std::string& ruta, bool historial, int64_t& instrucciones) {
  TPreparacion_Ejecucion preparacion;
  preparacion.Archivo = ruta;
  preparacion.Historial = historial;
  preparacion.Max_Pasos = 100'000'000;
  TEjecucion_Linea ejecucion(preparacion);
  if (!ejecucion.Cargar()) return 0;
  const auto inicio = std::chrono::steady_clock::now();
  const TFin_Ejecucion fin = ejecucion.Ejecutar();
  const double segundos = Milisegundos_desde(inicio) / 1000.0;
  instrucciones = static_cast<int64_t>(ejecucion.Pasos());
  return fin == TFin_Ejecucion::Halt ? Por_Segundo(instrucciones, segundos) : 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  QTemporaryDir carpeta;
  const std::string ruta = Escribir_Programa(carpeta.path());
  const auto veltra = Arrancar_VELTRA();
  TForm1* form1 = veltra->Form1();
  TEntorno& entorno = veltra->Entorno();
  entorno.Encender_Apagar();
  if (!Cargar_Programa_Objeto(entorno, ruta) || entorno.Listado.Numero_Lineas() != Primera_Direccion_Monitor) {
    std::fprintf(stderr, "bench_maxima: the program did not load\n");
    return 1;
  }
  QApplication::processEvents();
  QAction* maxima = form1->findChild<QAction*>(QStringLiteral("MMaxima"));

  // The 1 ms timer notes its lateness while the run goes, and ends the run's
  // wait when HALT's box opens.
  std::vector<double> retrasos;
  QEventLoop espera;
  std::chrono::steady_clock::time_point fin_ventana;
  bool corriendo = false;
  auto anterior = std::chrono::steady_clock::now();
  QTimer latido;
  latido.setTimerType(Qt::PreciseTimer);
  latido.setInterval(1);
  QObject::connect(&latido, &QTimer::timeout, [&] {
    const auto ahora = std::chrono::steady_clock::now();
    if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      if (corriendo) fin_ventana = ahora;
      corriendo = false;
      caja->accept();
      espera.quit();
    } else if (corriendo) {
      retrasos.push_back(std::chrono::duration<double, std::milli>(ahora - anterior).count() - 1.0);
    }
    anterior = ahora;
  });
  latido.start();

  std::vector<uint16_t> memoria(Primera_Direccion_Monitor);
  for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a)
    memoria[static_cast<size_t>(a)] = static_cast<uint16_t>(Palabra_Programa(a));
  std::vector<double> referencia, linea, linea_historial, ventana, completar;
  int64_t instrucciones_linea = 0, instrucciones_ventana = 0;
  uint64_t instrucciones_referencia = 0;
  for (int vuelta = 0; vuelta < Vueltas; ++vuelta) {
    referencia.push_back(Medir_Referencia(memoria, 100'000'000, instrucciones_referencia, true));
    linea.push_back(Ejecutar_Linea(ruta, false, instrucciones_linea));
    linea_historial.push_back(Ejecutar_Linea(ruta, true, instrucciones_linea));

    for (char digito : std::string("0000")) entorno.Pulsacion_Teclado(digito);
    const auto inicio = std::chrono::steady_clock::now();
    entorno.BEjecutarClick();
    corriendo = true;
    anterior = std::chrono::steady_clock::now();
    maxima->trigger();
    espera.exec();
    // The box is closed and the run has stopped: its history is whole.
    completar.push_back(Milisegundos_desde(fin_ventana));
    if (entorno.Historial.En_Pausa() || entorno.Historial.Instrucciones() != THistorial::Maximo_Instrucciones) {
      std::fprintf(stderr, "bench_maxima: the window's run did not record its last million instructions\n");
      return 1;
    }
    instrucciones_ventana = entorno.Contador_Instrucciones();
    ventana.push_back(Por_Segundo(instrucciones_ventana, Milisegundos_desde(inicio) / 1000.0 -
                                                             Milisegundos_desde(fin_ventana) / 1000.0));
    QApplication::processEvents();
  }
  // A runner's run that did not reach HALT gives 0.
  if (Percentil(linea, 0) == 0 || Percentil(linea_historial, 0) == 0 || instrucciones_ventana != instrucciones_linea ||
      static_cast<int64_t>(instrucciones_referencia) != instrucciones_linea) {
    std::fprintf(stderr, "bench_maxima: the runs differ (%lld in the window, %lld in veltra-run, %llu plain)\n",
                 static_cast<long long>(instrucciones_ventana), static_cast<long long>(instrucciones_linea),
                 static_cast<unsigned long long>(instrucciones_referencia));
    return 1;
  }

  std::printf("bench_maxima: 61,440-word program listed, %lld instructions to HALT, medians of %d alternating runs, "
              "offscreen\n",
              static_cast<long long>(instrucciones_linea), Vueltas);
  std::printf("                           million instr/s   ratio to the plain interpreter\n");
  // Each ratio is the median of the ratios within a turn, whose runs met the same load.
  const auto razon = [&](const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> razones;
    for (size_t i = 0; i < a.size(); ++i) razones.push_back(a[i] / b[i]);
    return Percentil(razones, 0.5);
  };
  const auto fila = [&](const char* nombre, const std::vector<double>& valores) {
    std::printf("  %-24s %8.1f          %6.3f\n", nombre, Percentil(valores, 0.5) / 1e6, razon(valores, referencia));
  };
  fila("plain interpreter", referencia);
  fila("veltra-run", linea);
  fila("veltra-run --back", linea_historial);
  fila("window, MMaxima", ventana);
  std::printf("  window / veltra-run      %6.3f (goal: at least 0.90)\n", razon(ventana, linea));
  std::printf("  window / --back          %6.3f\n", razon(ventana, linea_historial));
  std::printf("  recording the last %zu instructions at the stop: %.1f ms\n", THistorial::Maximo_Instrucciones,
              Percentil(completar, 0.5));
  std::printf("  1 ms timer's lateness    median %.1f ms, 99th percentile %.1f ms (goal: at most 20 ms)\n",
              Percentil(retrasos, 0.5), Percentil(retrasos, 0.99));
  return 0;
}
