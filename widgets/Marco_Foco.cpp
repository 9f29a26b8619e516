#include "widgets/Marco_Foco.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include "widgets/Colores.h"

namespace {

// Two pixels of air between the widget and the ring, where the marks of the
// last instruction go.
constexpr int Separacion = 2;

QColor color_marco = clYellow;
int grosor_marco = 2;

class TAnillo final : public QWidget {
 public:
  QColor Color;  // the shared colour when invalid

  explicit TAnillo(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Marco_Foco"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter pintor(this);
    const int g = grosor_marco;
    const QRect r = rect();
    const QColor color = Color.isValid() ? Color : color_marco;
    pintor.fillRect(QRect(r.left(), r.top(), r.width(), g), color);
    pintor.fillRect(QRect(r.left(), r.bottom() - g + 1, r.width(), g), color);
    pintor.fillRect(QRect(r.left(), r.top(), g, r.height()), color);
    pintor.fillRect(QRect(r.right() - g + 1, r.top(), g, r.height()), color);
  }
};

}  // namespace

TMarco_Foco::TMarco_Foco(QObject* parent) : QObject(parent) {
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* ahora) { Seguir(ahora); });
}

void TMarco_Foco::Fijar_Estilo(const QColor& color, int grosor) {
  color_marco = color;
  grosor_marco = grosor;
}

QColor TMarco_Foco::Color() { return color_marco; }

int TMarco_Foco::Grosor() { return grosor_marco; }

void TMarco_Foco::Seguir(QWidget* enfocado) {
  const bool dentro = enfocado && enfocado->property("marco_foco_dentro").toBool();
  if (!enfocado || (!dentro && (!enfocado->property("marco_foco").toBool() || !enfocado->parentWidget()))) {
    if (anillo_) anillo_->hide();
    return;
  }
  QWidget* padre = dentro ? enfocado : enfocado->parentWidget();
  if (!anillo_ || anillo_->parentWidget() != padre) {
    delete anillo_;
    anillo_ = new TAnillo(padre);
  }
  auto* anillo = static_cast<TAnillo*>(anillo_.data());
  const int borde = Separacion + grosor_marco;
  anillo->Color = dentro ? enfocado->palette().color(QPalette::Text) : QColor();
  anillo->setGeometry(dentro ? enfocado->rect() : enfocado->geometry().adjusted(-borde, -borde, borde, borde));
  // Its inside is transparent, so above the widget it hides nothing.
  anillo_->raise();
  anillo_->show();
  anillo_->update();
}
