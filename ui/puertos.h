#pragma once
// The input-port window: ports 00..3F, each edited by a click on its display.
#include <QWidget>

class TForm1;

class TForm2 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm2(TForm1& form1);
};
