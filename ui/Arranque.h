#pragma once
// VELTRA's start-up on an existing QApplication: the application title, the
// main window with its random memory, the two port windows hidden, the main
// window shown. The program and the screen tests both start this way.
#include <QStringList>
#include <memory>

class TEntorno;
class TForm1;
class TForm2;
class TForm3;

class TVELTRA {
 public:
  TVELTRA();
  ~TVELTRA();
  TVELTRA(const TVELTRA&) = delete;
  TVELTRA& operator=(const TVELTRA&) = delete;

  TEntorno& Entorno() { return *entorno_; }
  TForm1* Form1() const { return form1_.get(); }
  TForm2* Form2() const { return form2_.get(); }
  TForm3* Form3() const { return form3_.get(); }

 private:
  // Declared in the order they are built, so they go in reverse: the port
  // windows, then the main window, then the machine they show.
  std::unique_ptr<TEntorno> entorno_;
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TForm2> form2_;
  std::unique_ptr<TForm3> form3_;
};

// The first of `archivos` is loaded once the window is up, as if chosen in
// the load command's dialog.
std::unique_ptr<TVELTRA> Arrancar_VELTRA(const QStringList& archivos = {});
