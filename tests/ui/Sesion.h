#pragma once
// A student's session with the real windows: VELTRA started as the program
// starts it, widgets found by name, modal boxes answered from a timer while
// the handler that opened them waits.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>
#include <memory>

#include "core/Entorno.h"
#include "ui/Arranque.h"
#include "ui/main.h"
#include "ui/puertos.h"
#include "ui/puertos_out.h"
#include "widgets/DigitalDisplay.h"

// Answers every modal window that opens: a message box is recorded and
// closed with its answer; any other dialog gets the next queued action.
class TOperador : public QObject {
 public:
  QStringList Mensajes;       // texts of the message boxes, in order
  QStringList Botones;        // their buttons' captions, "|"-joined per box
  QList<int> Anchos_Libres;   // each box's width less its title's
  QMessageBox::StandardButton Respuesta = QMessageBox::Yes;
  std::deque<std::function<void(QWidget*)>> Acciones;

  TOperador() {
    reloj_.setInterval(5);
    QObject::connect(&reloj_, &QTimer::timeout, this, [this] { Atender(); });
    reloj_.start();
  }

 private:
  void Atender() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == atendido_) return;
    atendido_ = modal;
    if (auto* caja = qobject_cast<QMessageBox*>(modal)) {
      Mensajes << caja->text();
      Anchos_Libres << caja->width() - caja->fontMetrics().horizontalAdvance(caja->windowTitle());
      QStringList textos;
      for (QAbstractButton* boton : caja->buttons()) textos << boton->text().remove(QLatin1Char('&'));
      Botones << textos.join(QLatin1Char('|'));
      QAbstractButton* boton = caja->button(Respuesta);
      (boton ? boton : caja->buttons().constFirst())->click();
    } else if (!Acciones.empty()) {
      auto accion = std::move(Acciones.front());
      Acciones.pop_front();
      accion(modal);
    }
  }

  QTimer reloj_;
  QPointer<QWidget> atendido_;
};

class TSesion {
  // The session that closing saves goes to a test folder, not the user's.
  bool modo_prueba_ = (QStandardPaths::setTestModeEnabled(true), true);

 public:
  std::unique_ptr<TVELTRA> Veltra;
  TOperador Operador;

  // `archivos` as on the command line.
  explicit TSesion(const QStringList& archivos = {}) : Veltra(Arrancar(archivos)) {
    QVERIFY(QTest::qWaitForWindowExposed(Veltra->Form1()));
  }

  // A session never reads or writes the user's settings.
  static std::unique_ptr<TVELTRA> Arrancar(const QStringList& archivos) {
    QStandardPaths::setTestModeEnabled(true);
    return Arrancar_VELTRA(archivos);
  }

  TEntorno& E() { return Veltra->Entorno(); }

  // The named widget in any of the three windows.
  template <typename T = QWidget>
  T* W(const QString& nombre) const {
    for (QObject* ventana : {static_cast<QObject*>(Veltra->Form1()), static_cast<QObject*>(Veltra->Form2()),
                             static_cast<QObject*>(Veltra->Form3())})
      if (T* widget = ventana->findChild<T*>(nombre)) return widget;
    qFatal("no widget %s", qPrintable(nombre));
  }
  QAction* A(const QString& nombre) const { return Veltra->Form1()->findChild<QAction*>(nombre); }
  QString V(const QString& visor) const { return W<TDigitalDisplay>(visor)->Value(); }

  void Pulsar(const QString& tecla) { QTest::mouseClick(W<QAbstractButton>(tecla), Qt::LeftButton); }
  void Clic(const QString& nombre) {
    QWidget* widget = W(nombre);
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(widget->width() / 2, widget->height() / 2));
  }
  // The keypad, as a student types a number on it.
  void Teclear(const QString& digitos) {
    for (QChar digito : digitos) Pulsar(QStringLiteral("T") + digito);
  }
  // Console: the word stored at each address from the keypad with Cargar.
  void Cargar_Programa(const QString& direccion, const QStringList& palabras) {
    Teclear(direccion);
    Pulsar(QStringLiteral("BDireccion"));
    for (const QString& palabra : palabras) {
      Teclear(palabra);
      Pulsar(QStringLiteral("BCargar"));
    }
  }
};
