#include "ui/Teclado.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>
#include <QWidget>

#include "widgets/Marco_Foco.h"

namespace {

// The keypad's digit for a plain key, or 0.
QChar Digito_Tecla(const QKeyEvent& tecla) {
  const Qt::KeyboardModifiers otros = tecla.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  if (otros != Qt::NoModifier) return {};
  const int k = tecla.key();
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return QLatin1Char(static_cast<char>('0' + (k - Qt::Key_0)));
  if (k >= Qt::Key_A && k <= Qt::Key_F) return QLatin1Char(static_cast<char>('A' + (k - Qt::Key_A)));
  return {};
}

// Every item of the menu gets a letter of its own, as an "&" in its caption
// (the text read without it stays the same): a word's first letter where one
// is free, else any free letter. Items that already have one keep it.
void Poner_Mnemonicos(QMenu* menu) {
  QString usadas;
  const auto Letra = [](const QString& texto) {
    const qsizetype i = texto.indexOf(QLatin1Char('&'));
    return i >= 0 && i + 1 < texto.size() ? texto.at(i + 1).toLower() : QChar();
  };
  for (QAction* accion : menu->actions()) usadas += Letra(accion->text());
  for (QAction* accion : menu->actions()) {
    const QString texto = accion->text();
    if (accion->isSeparator() || texto.contains(QLatin1Char('&')) || texto.size() < 2) continue;
    qsizetype elegida = -1;
    for (int pasada = 0; pasada < 2 && elegida < 0; ++pasada)
      for (qsizetype i = 0; i < texto.size() && elegida < 0; ++i) {
        const bool inicial = i == 0 || !texto.at(i - 1).isLetterOrNumber();
        if (texto.at(i).isLetterOrNumber() && (pasada == 1 || inicial) && !usadas.contains(texto.at(i).toLower()))
          elegida = i;
      }
    if (elegida < 0) continue;
    usadas += texto.at(elegida).toLower();
    accion->setText(texto.left(elegida) + QLatin1Char('&') + texto.mid(elegida));
  }
}

}  // namespace

TTeclado::TTeclado(QWidget& ventana, QWidget& panel_frontal, const std::vector<QWidget*>& orden)
    : QObject(&ventana), panel_frontal_(panel_frontal) {
  new TMarco_Foco(this);
  const char* const nombres[] = {"Menu_Archivo", "ToolButton1", "ToolButton2"};
  for (size_t i = 0; i < botones_.size(); ++i) {
    botones_[i] = ventana.findChild<QToolButton*>(QLatin1String(nombres[i]));
    menus_[i] = botones_[i]->menu();
    menus_[i]->installEventFilter(this);
    // Items come and go (a program loaded, TORVIC switched on), so the
    // letters are given as the menu opens. A file's name is no caption.
    QList<QMenu*> con_letras{menus_[i]};
    for (QAction* accion : menus_[i]->actions())
      if (accion->menu() && accion->objectName() != QLatin1String("MRecientes")) con_letras << accion->menu();
    for (QMenu* menu : con_letras) connect(menu, &QMenu::aboutToShow, menu, [menu] { Poner_Mnemonicos(menu); });
  }
  auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &ventana);
  f10->setObjectName(QStringLiteral("Atajo_F10"));
  connect(f10, &QShortcut::activated, this, [this] { Abrir_Menu(0); });

  panel_frontal_.installEventFilter(this);
  for (size_t i = 0; i + 1 < orden.size(); ++i) QWidget::setTabOrder(orden[i], orden[i + 1]);
}

void TTeclado::Abrir_Menu(size_t i) {
  for (QMenu* menu : menus_)
    if (menu->isVisible()) menu->hide();
  QMenu* menu = menus_[i];
  menu->popup(botones_[i]->mapToGlobal(QPoint(0, botones_[i]->height())));
  // Opened from the keyboard, the first item is ready for Enter or the arrows.
  for (QAction* accion : menu->actions())
    if (!accion->isSeparator() && accion->isEnabled() && accion->isVisible()) {
      menu->setActiveAction(accion);
      break;
    }
}

bool TTeclado::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() != QEvent::KeyPress) return false;
  auto* tecla = static_cast<QKeyEvent*>(evento);
  if (objeto == &panel_frontal_) {
    const QChar digito = Digito_Tecla(*tecla);
    if (digito.isNull()) return false;
    auto* boton = panel_frontal_.findChild<QAbstractButton*>(QStringLiteral("T") + digito);
    // click, not animateClick: a key typed twice within the animation would count once.
    if (boton && boton->isEnabled()) boton->click();
    return true;
  }
  for (size_t i = 0; i < menus_.size(); ++i) {
    if (objeto != menus_[i]) continue;
    QAction* activa = menus_[i]->activeAction();
    // Right on an item with a submenu opens the submenu, as in a menu bar.
    if (tecla->key() == Qt::Key_Right && !(activa && activa->menu())) {
      Abrir_Menu((i + 1) % menus_.size());
      return true;
    }
    if (tecla->key() == Qt::Key_Left) {
      Abrir_Menu((i + menus_.size() - 1) % menus_.size());
      return true;
    }
  }
  return false;
}
