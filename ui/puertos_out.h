#pragma once
// The output-port window: ports 00..3F as OUT and the console write them.
#include <QWidget>

class TForm1;

class TForm3 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm3(TForm1& form1);
};
