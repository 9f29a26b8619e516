#pragma once
// The marks on what the last instruction did: a frame on each display whose
// text it changed, a ring on each flag lamp it changed, a frame on each
// memory row it wrote, and its transfers lit on the internal panel. They last
// until anything else changes the machine, and are off with the option
// MMarcar_Cambios.
#include <QObject>
#include <array>
#include <bitset>
#include <span>
#include <vector>

#include "core/Entorno.h"

class QAction;
class QLabel;
class QMenu;
class TDigitalDisplay;
class TEsquema_Interno;
class THexEditor;
class TLampara;

class TMarcas : public QObject {
 public:
  using TVisores = std::array<std::vector<TDigitalDisplay*>, Numero_Visores>;
  using TLamparas = std::array<std::vector<TLampara*>, 4>;

  // The option goes at the end of the menu, behind a separator.
  static void Crear_Opcion(QMenu* menu);

  // The window's displays and lamps, its memory editor and internal panel.
  TMarcas(QWidget& ventana, const TEntorno& entorno, const TVisores& visores, const TLamparas& lamparas,
          THexEditor& memoria, TEsquema_Interno& esquema);

  // After each instruction; during a run at the fastest speed, or a run in
  // bursts (the full-speed run), the marks wait for the run to stop.
  void Instruccion_Ejecutada(bool en_rafagas);
  // The marks of the last instruction, now.
  void Mostrar();
  // The machine changed outside an instruction (or the next one began).
  void Cambio_Ajeno();

 private:
  void Borrar();
  void Revisar_Parada();
  bool En_Marcha() const;
  void Aplicar(const std::bitset<Numero_Visores>& visores, uint8_t banderas, std::vector<int32_t> palabras,
               std::span<const TTramo> tramos, std::span<const TTramo> busqueda);

  QWidget& ventana_;
  const TEntorno& entorno_;
  const TVisores& visores_;
  const TLamparas& lamparas_;
  THexEditor& memoria_;
  TEsquema_Interno& esquema_;
  QAction* opcion_;
  // The marks as a line of text, for those who do not see them: "Cambió: r3, Z, M[0012]".
  QLabel* cambios_;

  std::bitset<Numero_Visores> visores_marcados_;
  uint8_t banderas_marcadas_ = 0;
  std::vector<int32_t> palabras_marcadas_;
  bool activas_ = false;
  bool pendiente_ = false;
  bool en_marcha_ = false;  // a free run was going at the last instruction
};
