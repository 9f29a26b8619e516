#pragma once
// The internal panel's picture, with the transfers of the last instruction
// lit over its wires: bright for the instruction's own, dimmer for the fetch
// of the next word.
#include <QStringList>
#include <span>
#include <vector>

#include "core/Tramos.h"
#include "widgets/Dibujos.h"

class TEsquema_Interno : public TLamina {
  Q_OBJECT
  Q_PROPERTY(QStringList tramos READ Tramos)
  Q_PROPERTY(QStringList tramos_busqueda READ Tramos_Busqueda)

 public:
  explicit TEsquema_Interno(QWidget* parent = nullptr);

  QStringList Tramos() const;
  QStringList Tramos_Busqueda() const;
  // Repaints only the wires that gain or lose their light.
  void Fijar_Tramos(std::span<const TTramo> tramos, std::span<const TTramo> busqueda);

 protected:
  void paintEvent(QPaintEvent* evento) override;

 private:
  void Repintar(const std::vector<TTramo>& tramos);

  std::vector<TTramo> tramos_;
  std::vector<TTramo> busqueda_;
};
