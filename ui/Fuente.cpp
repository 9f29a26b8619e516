#include "ui/Fuente.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "asm/Carga_Programa.h"
#include "core/Entorno.h"
#include "core/Juego_Instrucciones.h"
#include "core/TextoHex.h"
#include "ui/Ajustes.h"
#include "ui/Archivos.h"
#include "ui/Editor_Fuente.h"
#include "ui/main.h"

namespace {

const QString Sin_Nombre = QStringLiteral("sin_nombre.ASM");
const QString Texto_Cambiado = QStringLiteral("El programa fuente ha cambiado: pulse F3 para cargarlo de nuevo");
constexpr int Pausa_Ensamblar = 300;  // ms after the last change
// A list this long is of no use to read, and building it would cost each pause.
constexpr int Maximo_Errores_Listados = 1000;

bool Misma_Ruta(const QString& a, const QString& b) {
  return !a.isEmpty() && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

}  // namespace

TForm_Fuente::TForm_Fuente(TForm1& form1)
    : QWidget(nullptr, Qt::Tool), form1_(form1), editor_(new TEditor_Fuente(this)),
      Errores_Fuente_(new QListWidget(this)), Resumen_(new QLabel(this)), pie_(new QStackedWidget(this)),
      Estado_(new QLabel(this)), Barra_Buscar_(new QWidget(this)), Buscar_(new QLineEdit(Barra_Buscar_)),
      Reemplazar_(new QLineEdit(Barra_Buscar_)), Reloj_Ensamblar_(new QTimer(this)),
      vigilante_(new QFileSystemWatcher(this)) {
  setObjectName(QStringLiteral("Form_Fuente"));
  auto* capas = new QVBoxLayout(this);
  capas->setContentsMargins(4, 4, 4, 4);
  capas->setSpacing(3);

  auto* botones = new QHBoxLayout;
  auto* ensamblar = new QPushButton(QStringLiteral("Ensamblar y cargar (F3)"), this);
  ensamblar->setObjectName(QStringLiteral("BEnsamblar"));
  ensamblar->setAutoDefault(false);
  ensamblar->setFocusPolicy(Qt::NoFocus);
  connect(ensamblar, &QPushButton::clicked, this, [this] { form1_.Manejar([this] { Ensamblar_y_Cargar(); }); });
  botones->addWidget(ensamblar);
  Estado_->setObjectName(QStringLiteral("Estado_Fuente"));
  botones->addWidget(Estado_, 1);
  capas->addLayout(botones);

  capas->addWidget(editor_, 1);
  Crear_Barra_Buscar(Barra_Buscar_);
  capas->addWidget(Barra_Buscar_);

  Errores_Fuente_->setObjectName(QStringLiteral("Errores_Fuente"));
  Resumen_->setObjectName(QStringLiteral("Resumen_Fuente"));
  Resumen_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  pie_->setObjectName(QStringLiteral("Pie_Fuente"));
  pie_->addWidget(Resumen_);
  pie_->addWidget(Errores_Fuente_);
  pie_->setFixedHeight(editor_->fontMetrics().height() * 5 + 8);
  capas->addWidget(pie_);
  connect(Errores_Fuente_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { Ir_a_Error(Errores_Fuente_->row(item)); });
  connect(Errores_Fuente_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { Ir_a_Error(Errores_Fuente_->row(item)); });

  Reloj_Ensamblar_->setObjectName(QStringLiteral("Reloj_Ensamblar"));
  Reloj_Ensamblar_->setSingleShot(true);
  Reloj_Ensamblar_->setInterval(Pausa_Ensamblar);
  connect(Reloj_Ensamblar_, &QTimer::timeout, this, &TForm_Fuente::Ensamblar);
  connect(editor_->document(), &QTextDocument::contentsChange, this, &TForm_Fuente::Cambio_Texto);
  connect(editor_->document(), &QTextDocument::modificationChanged, this, &TForm_Fuente::Actualizar_Titulo);
  connect(editor_, &QPlainTextEdit::blockCountChanged, this, &TForm_Fuente::Mostrar_Puntos);
  connect(vigilante_, &QFileSystemWatcher::fileChanged, this, &TForm_Fuente::Archivo_Cambiado);
  connect(vigilante_, &QFileSystemWatcher::directoryChanged, this, [this] {
    // A file saved by renaming over it leaves the watch: it is taken up again.
    if (!ruta_.isEmpty() && !vigilante_->files().contains(ruta_) && QFileInfo::exists(ruta_)) {
      Vigilar();
      Archivo_Cambiado(ruta_);
    }
  });

  editor_->Clic_Margen = [this](int linea) { form1_.Manejar([this, linea] { Conmutar_Punto_Ruptura(linea); }); };
  editor_->Ayuda = [this](int linea, int posicion) { return Ayuda(linea, posicion); };
  editor_->Completado = [this](const QString& prefijo) {
    if (Reloj_Ensamblar_->isActive()) Ensamblar();  // the labels as the text is now
    QStringList nombres;
    for (const std::string& nombre : Completar(prefijo.toStdString(), ensamblado_.Etiquetas))
      nombres << QString::fromStdString(nombre);
    return nombres;
  };

  Poner_Texto({});
}

TForm_Fuente::~TForm_Fuente() = default;

void TForm_Fuente::Crear_Barra_Buscar(QWidget* barra) {
  barra->setObjectName(QStringLiteral("Barra_Buscar"));
  auto* capas = new QHBoxLayout(barra);
  capas->setContentsMargins(0, 0, 0, 0);
  Buscar_->setObjectName(QStringLiteral("Buscar_Fuente"));
  Buscar_->setPlaceholderText(QStringLiteral("Buscar"));
  Reemplazar_->setObjectName(QStringLiteral("Reemplazar_Fuente"));
  Reemplazar_->setPlaceholderText(QStringLiteral("Reemplazar por"));
  const auto boton = [&](const char* nombre, const QString& titulo, auto accion) {
    auto* b = new QPushButton(titulo, barra);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, accion);
    return b;
  };
  capas->addWidget(Buscar_, 1);
  capas->addWidget(boton("BBuscar_Siguiente", QStringLiteral("Siguiente"), [this] { Buscar(); }));
  capas->addWidget(Reemplazar_, 1);
  capas->addWidget(boton("BReemplazar", QStringLiteral("Reemplazar"), [this] { Reemplazar(); }));
  capas->addWidget(boton("BReemplazar_Todo", QStringLiteral("Todo"), [this] { Reemplazar_Todo(); }));
  capas->addWidget(boton("BCerrar_Buscar", QStringLiteral("Cerrar"), [this] {
    Barra_Buscar_->hide();
    editor_->setFocus();
  }));
  connect(Buscar_, &QLineEdit::returnPressed, this, [this] { Buscar(); });
  connect(Reemplazar_, &QLineEdit::returnPressed, this, [this] { Reemplazar(); });
  barra->hide();
}

void TForm_Fuente::Buscar() {
  if (Buscar_->text().isEmpty()) return;
  if (editor_->find(Buscar_->text())) return;
  // From the top, once.
  const QTextCursor hallado = editor_->document()->find(Buscar_->text(), QTextCursor(editor_->document()));
  if (hallado.isNull()) Estado_->setText(QStringLiteral("No se encuentra «%1»").arg(Buscar_->text()));
  else editor_->setTextCursor(hallado);
}

void TForm_Fuente::Reemplazar() {
  QTextCursor cursor = editor_->textCursor();
  if (cursor.hasSelection() && cursor.selectedText().compare(Buscar_->text(), Qt::CaseInsensitive) == 0)
    cursor.insertText(Reemplazar_->text());
  Buscar();
}

void TForm_Fuente::Reemplazar_Todo() {
  if (Buscar_->text().isEmpty()) return;
  QTextCursor cursor(editor_->document());
  cursor.beginEditBlock();
  int cambios = 0;
  for (QTextCursor hallado = editor_->document()->find(Buscar_->text(), cursor); !hallado.isNull();
       hallado = editor_->document()->find(Buscar_->text(), hallado)) {
    hallado.insertText(Reemplazar_->text());
    ++cambios;
  }
  cursor.endEditBlock();
  Estado_->setText(QStringLiteral("%1 reemplazados").arg(cambios));
}

// ---------------------------------------------------------------- keys

namespace {

// The keys this window keeps even where the main window has a shortcut.
enum class TTecla_Propia { Ninguna, Ensamblar, Hasta_Aqui, Punto, Guardar, Nuevo, Buscar, Reemplazar };

TTecla_Propia Tecla_Propia(const QKeyEvent& tecla) {
  const Qt::KeyboardModifiers mod = tecla.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
  if (mod == Qt::NoModifier) {
    switch (tecla.key()) {
      case Qt::Key_F3: return TTecla_Propia::Ensamblar;
      case Qt::Key_F4: return TTecla_Propia::Hasta_Aqui;
      case Qt::Key_F9: return TTecla_Propia::Punto;
      default: return TTecla_Propia::Ninguna;
    }
  }
  if (mod != Qt::ControlModifier) return TTecla_Propia::Ninguna;
  switch (tecla.key()) {
    case Qt::Key_S: return TTecla_Propia::Guardar;
    case Qt::Key_N: return TTecla_Propia::Nuevo;
    case Qt::Key_F: return TTecla_Propia::Buscar;
    case Qt::Key_H: return TTecla_Propia::Reemplazar;
    default: return TTecla_Propia::Ninguna;
  }
}

}  // namespace

bool TForm_Fuente::event(QEvent* evento) {
  // Accepted here, the key comes as a key press instead of the main window's shortcut.
  if (evento->type() == QEvent::ShortcutOverride &&
      Tecla_Propia(*static_cast<QKeyEvent*>(evento)) != TTecla_Propia::Ninguna) {
    evento->accept();
    return true;
  }
  return QWidget::event(evento);
}

void TForm_Fuente::keyPressEvent(QKeyEvent* evento) {
  const int linea = editor_->textCursor().blockNumber() + 1;
  switch (Tecla_Propia(*evento)) {
    case TTecla_Propia::Ninguna:
      if (evento->key() == Qt::Key_Escape && Barra_Buscar_->isVisible()) {
        Barra_Buscar_->hide();
        editor_->setFocus();
        return;
      }
      QWidget::keyPressEvent(evento);
      return;
    case TTecla_Propia::Ensamblar: form1_.Manejar([this] { Ensamblar_y_Cargar(); }); return;
    case TTecla_Propia::Hasta_Aqui: form1_.Manejar([this, linea] { Ejecutar_Hasta(linea); }); return;
    case TTecla_Propia::Punto: form1_.Manejar([this, linea] { Conmutar_Punto_Ruptura(linea); }); return;
    case TTecla_Propia::Guardar: Guardar(); return;
    case TTecla_Propia::Nuevo: Nuevo(); return;
    case TTecla_Propia::Buscar:
    case TTecla_Propia::Reemplazar: {
      Barra_Buscar_->show();
      if (editor_->textCursor().hasSelection()) Buscar_->setText(editor_->textCursor().selectedText());
      QLineEdit* campo = Tecla_Propia(*evento) == TTecla_Propia::Buscar ? Buscar_ : Reemplazar_;
      campo->setFocus();
      campo->selectAll();
      return;
    }
  }
}

void TForm_Fuente::closeEvent(QCloseEvent* evento) {
  // Closing the window closes the source: unsaved changes are asked about,
  // and "No" goes back to the saved text.
  if (!Preguntar_Guardar()) {
    evento->ignore();
    return;
  }
  if (Modificado()) Poner_Texto(ruta_.isEmpty() ? QString() : QString::fromUtf8(en_disco_));
  evento->accept();
}

// ---------------------------------------------------------------- files

bool TForm_Fuente::Modificado() const { return editor_->document()->isModified(); }

QString TForm_Fuente::Nombre() const { return ruta_.isEmpty() ? Sin_Nombre : QFileInfo(ruta_).fileName(); }

QString TForm_Fuente::Texto() const { return editor_->toPlainText(); }

void TForm_Fuente::Actualizar_Titulo() {
  setWindowTitle(QStringLiteral("Programa fuente - ") + Nombre() + (Modificado() ? QStringLiteral("*") : QString()));
}

void TForm_Fuente::Poner_Texto(const QString& texto) {
  editor_->Poner_Texto(texto);
  editor_->document()->setModified(false);
  revision_ = editor_->document()->revision();
  revision_cargada_ = -1;
  marcas_.clear();
  mapa_ = {};
  linea_pc_ = 0;
  editor_->Fijar_Linea_PC(0);
  Mostrar_Puntos();
  Actualizar_Titulo();
  Actualizar_Estado();
  // A text just opened shows its errors at once.
  Ensamblar();
}

bool TForm_Fuente::Preguntar_Guardar() {
  if (!Modificado()) return true;
  QMessageBox caja(QMessageBox::Question, QCoreApplication::applicationName(),
                   QStringLiteral("El programa fuente %1 tiene cambios sin guardar. ¿Desea guardarlos?").arg(Nombre()),
                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, isVisible() ? static_cast<QWidget*>(this) : &form1_);
  caja.setObjectName(QStringLiteral("Pregunta_Guardar_Fuente"));
  switch (caja.exec()) {
    case QMessageBox::Yes: return Guardar();
    case QMessageBox::No: return true;
    default: return false;
  }
}

bool TForm_Fuente::Nuevo() {
  if (!Preguntar_Guardar()) return false;
  if (!ruta_.isEmpty()) vigilante_->removePath(ruta_);
  ruta_.clear();
  en_disco_.clear();
  crlf_ = false;
  Poner_Texto({});
  Mostrar();
  editor_->setFocus();
  return true;
}

bool TForm_Fuente::Abrir(const QString& ruta) {
  const QString absoluta = QFileInfo(ruta).absoluteFilePath();
  QFile archivo(absoluta);
  // An unreadable file is left to the load, whose box says why.
  if (!QFileInfo(absoluta).isFile() || !archivo.open(QIODevice::ReadOnly)) return true;
  const QByteArray bytes = archivo.readAll();
  if (Misma_Ruta(ruta_, absoluta) && bytes == en_disco_ && !Modificado()) {
    // Loaded again as it is: the cursor and the breakpoints' lines stay.
    Mostrar();
    return true;
  }
  if (!Preguntar_Guardar()) return false;
  if (!ruta_.isEmpty()) vigilante_->removePath(ruta_);
  ruta_ = absoluta;
  en_disco_ = bytes;
  crlf_ = bytes.contains("\r\n");
  Poner_Texto(QString::fromUtf8(bytes));
  Vigilar();
  Mostrar();
  return true;
}

void TForm_Fuente::Restaurar(const QString& texto, const QString& ruta, bool modificado) {
  if (!ruta_.isEmpty()) vigilante_->removePath(ruta_);
  ruta_ = ruta.isEmpty() ? QString() : QFileInfo(ruta).absoluteFilePath();
  en_disco_.clear();
  if (!ruta_.isEmpty()) {
    QFile archivo(ruta_);
    if (archivo.open(QIODevice::ReadOnly)) en_disco_ = archivo.readAll();
  }
  Poner_Texto(texto);
  editor_->document()->setModified(modificado);
  Vigilar();
  Mostrar();
}

bool TForm_Fuente::Escribir(const QString& ruta) {
  QString texto = Texto();
  if (!texto.isEmpty() && !texto.endsWith(QLatin1Char('\n'))) texto += QLatin1Char('\n');
  if (crlf_) texto.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  const QByteArray bytes = texto.toUtf8();
  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly) || archivo.write(bytes) != bytes.size() || !archivo.commit()) {
    form1_.Mostrar_Mensaje("ERROR: No se pudo guardar el archivo " + QDir::toNativeSeparators(ruta).toStdString() +
                           "\rMotivo: " + archivo.errorString().toStdString() + ".");
    return false;
  }
  if (!ruta_.isEmpty() && ruta_ != ruta) vigilante_->removePath(ruta_);
  ruta_ = QFileInfo(ruta).absoluteFilePath();
  en_disco_ = bytes;
  editor_->document()->setModified(false);
  Actualizar_Titulo();
  Vigilar();
  return true;
}

bool TForm_Fuente::Guardar() { return ruta_.isEmpty() ? Guardar_Como() : Escribir(ruta_); }

bool TForm_Fuente::Guardar_Como() {
  QFileDialog dialogo(isVisible() ? this : static_cast<QWidget*>(&form1_),
                      QStringLiteral("Guardar el programa fuente"));
  dialogo.setObjectName(QStringLiteral("DGuardar_Fuente"));
  dialogo.setOption(QFileDialog::DontUseNativeDialog);
  dialogo.setAcceptMode(QFileDialog::AcceptSave);
  dialogo.setFileMode(QFileDialog::AnyFile);
  dialogo.setDefaultSuffix(QStringLiteral("ASM"));
  dialogo.setNameFilter(QStringLiteral("Programa en ensamblador (*.ASM *.asm)"));
  if (!ruta_.isEmpty()) dialogo.selectFile(ruta_);
  else if (const QString carpeta = TAjustes().Carpeta_Ultimo_Programa(); !carpeta.isEmpty())
    dialogo.setDirectory(carpeta);
  if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return false;
  return Escribir(dialogo.selectedFiles().constFirst());
}

void TForm_Fuente::Vigilar() {
  if (ruta_.isEmpty()) return;
  vigilante_->addPath(ruta_);
  vigilante_->addPath(QFileInfo(ruta_).absolutePath());
}

void TForm_Fuente::Archivo_Cambiado(const QString& ruta) {
  if (ruta != ruta_) return;
  Vigilar();
  QFile archivo(ruta_);
  if (!archivo.open(QIODevice::ReadOnly)) return;  // being replaced: the folder's change brings it back
  const QByteArray bytes = archivo.readAll();
  if (bytes == en_disco_) return;  // our own save, or a touch
  en_disco_ = bytes;
  if (Modificado()) {
    QMessageBox caja(QMessageBox::Question, QCoreApplication::applicationName(),
                     QStringLiteral("El programa fuente %1 ha cambiado en el disco. ¿Desea cargarlo de nuevo y "
                                    "perder los cambios sin guardar?")
                         .arg(Nombre()),
                     QMessageBox::Yes | QMessageBox::No, isVisible() ? static_cast<QWidget*>(this) : &form1_);
    if (caja.exec() != QMessageBox::Yes) return;
  }
  crlf_ = bytes.contains("\r\n");
  // An edit like any other, so that undo brings back the text as it was.
  editor_->Reemplazar_Texto(QString::fromUtf8(bytes));
  editor_->document()->setModified(false);
}

// ---------------------------------------------------------------- assembling

void TForm_Fuente::Cambio_Texto() {
  // Colouring also reports changes; only an edit moves the revision.
  const int revision = editor_->document()->revision();
  if (revision == revision_) return;
  revision_ = revision;
  Reloj_Ensamblar_->start();
  if (revision_cargada_ >= 0 && linea_pc_ != 0) {
    linea_pc_ = 0;
    editor_->Fijar_Linea_PC(0);
  }
  Actualizar_Estado();
}

void TForm_Fuente::Ensamblar() {
  Reloj_Ensamblar_->stop();
  const QByteArray texto = Texto().toUtf8();
  ensamblado_ = ::Ensamblar(std::string_view(texto.constData(), static_cast<std::size_t>(texto.size())));
  Mostrar_Errores();
}

void TForm_Fuente::Mostrar_Errores() {
  errores_.clear();
  std::vector<TError_Linea> marcas;
  QTextDocument* documento = editor_->document();
  const bool vacio = documento->characterCount() <= 1;
  for (const TError_Ensamblado& e : ensamblado_.Errores) {
    if (static_cast<int>(marcas.size()) >= Maximo_Errores_Listados) break;
    // An empty text is no error to underline: it is yet to be written.
    if (vacio) break;
    const QString mensaje = QString::fromStdString(e.Mensaje);
    errores_ << QStringLiteral("%1:%2: %3").arg(e.Linea).arg(e.Columna).arg(mensaje);
    const QString texto = documento->findBlockByNumber(e.Linea - 1).text();
    const QByteArray linea = texto.toUtf8();
    const TTramo_Error tramo =
        Tramo_Error(std::string_view(linea.constData(), static_cast<std::size_t>(linea.size())), e.Columna);
    marcas.push_back({e.Linea, Unidades_UTF16(texto, tramo.Inicio), Unidades_UTF16(texto, tramo.Fin), mensaje});
  }
  editor_->Fijar_Errores(std::move(marcas));
  Errores_Fuente_->clear();
  Errores_Fuente_->addItems(errores_);
  if (errores_.isEmpty()) {
    Resumen_->setText(ensamblado_.Errores.empty() ? QString::fromStdString(Resumen_Ensamblado(ensamblado_))
                                                  : QString());
    pie_->setCurrentWidget(Resumen_);
  } else {
    pie_->setCurrentWidget(Errores_Fuente_);
  }
}

void TForm_Fuente::Ir_a_Error(int fila) {
  if (fila < 0 || fila >= static_cast<int>(editor_->Errores().size())) return;
  const TError_Linea& e = editor_->Errores()[static_cast<std::size_t>(fila)];
  const QTextBlock bloque = editor_->document()->findBlockByNumber(e.Linea - 1);
  if (!bloque.isValid()) return;
  QTextCursor cursor(bloque);
  cursor.setPosition(bloque.position() + std::min(e.Inicio, bloque.length() - 1));
  editor_->setTextCursor(cursor);
  editor_->centerCursor();
  editor_->setFocus();
}

void TForm_Fuente::Ensamblar_y_Cargar() {
  Ensamblar();
  if (!ensamblado_.Errores.empty()) {
    // The load shows the same box as the file's would, then the cursor goes to the first.
    form1_.Archivos().Cargar_Texto(ruta_.isEmpty() ? Sin_Nombre : ruta_, Texto().toUtf8());
    Ir_a_Error(0);
    return;
  }
  // The old addresses go before the load, whose own rules then decide on the rest.
  TPuntos_Ruptura& puntos = form1_.Entorno().Puntos_Ruptura;
  for (const TMarca& marca : marcas_)
    if (marca.Direccion >= 0) puntos.Quitar(marca.Direccion);
  form1_.Archivos().Cargar_Texto(ruta_.isEmpty() ? Sin_Nombre : ruta_, Texto().toUtf8());
}

void TForm_Fuente::Programa_Cargado(const QString& ruta, const TResultado_Ensamblado* ensamblado) {
  const bool propio = ensamblado && ensamblado->Errores.empty() &&
                      (Misma_Ruta(ruta_, ruta) || (ruta_.isEmpty() && ruta == Sin_Nombre));
  if (!propio) {
    // Another program: this text's lines no longer say where PC is.
    revision_cargada_ = -1;
    mapa_ = {};
    for (TMarca& marca : marcas_) marca.Direccion = -1;
  } else {
    revision_cargada_ = editor_->document()->revision();
    mapa_ = TMapa_Lineas(ensamblado->Palabras);
    // Each line's breakpoint takes the address its line (or the next one
    // that writes a word) has now.
    TPuntos_Ruptura& puntos = form1_.Entorno().Puntos_Ruptura;
    for (const TMarca& marca : marcas_)
      if (const int32_t linea = mapa_.Linea_con_Palabra(marca.Cursor.blockNumber() + 1); linea > 0)
        puntos.Poner(mapa_.Direccion(linea));
    Marcas_desde_Direcciones();
  }
  Actualizar_Estado();
  PC_Cambiado();
}

bool TForm_Fuente::Sincronizado() const {
  return revision_cargada_ >= 0 && revision_cargada_ == editor_->document()->revision() && !mapa_.Vacio();
}

void TForm_Fuente::Actualizar_Estado() {
  Estado_->setText(revision_cargada_ >= 0 && !Sincronizado() ? Texto_Cambiado : QString());
}

// ---------------------------------------------------------------- debugging

void TForm_Fuente::PC_Cambiado() {
  const int linea = Sincronizado() ? mapa_.Linea(form1_.Entorno().Direccion_PC()) : 0;
  if (linea == linea_pc_) return;
  linea_pc_ = linea;
  editor_->Fijar_Linea_PC(linea);
}

void TForm_Fuente::Marcas_desde_Direcciones() {
  marcas_.clear();
  QTextDocument* documento = editor_->document();
  for (const int32_t direccion : form1_.Entorno().Puntos_Ruptura.Lista())
    if (const int32_t linea = mapa_.Linea(direccion); linea > 0)
      marcas_.push_back({QTextCursor(documento->findBlockByNumber(linea - 1)), direccion});
  Mostrar_Puntos();
}

void TForm_Fuente::Mostrar_Puntos() {
  std::vector<int> lineas;
  for (const TMarca& marca : marcas_) lineas.push_back(marca.Cursor.blockNumber() + 1);
  editor_->Fijar_Puntos(std::move(lineas));
}

void TForm_Fuente::Puntos_Ruptura_Cambiados() {
  if (Sincronizado()) Marcas_desde_Direcciones();
}

void TForm_Fuente::Conmutar_Punto_Ruptura(int linea) {
  if (Sincronizado()) {
    const int32_t con_palabra = mapa_.Linea_con_Palabra(linea);
    if (con_palabra == 0) {
      Estado_->setText(QStringLiteral("Ninguna línea desde aquí escribe una palabra"));
      return;
    }
    form1_.Entorno().Puntos_Ruptura.Conmutar(mapa_.Direccion(con_palabra));
    Marcas_desde_Direcciones();
    form1_.Puntos_Ruptura_Cambiados();
    return;
  }
  // Marked on the line; its address comes with the next load.
  const auto en_linea = std::find_if(marcas_.begin(), marcas_.end(),
                                     [linea](const TMarca& m) { return m.Cursor.blockNumber() + 1 == linea; });
  if (en_linea != marcas_.end()) {
    if (en_linea->Direccion >= 0) form1_.Entorno().Puntos_Ruptura.Quitar(en_linea->Direccion);
    marcas_.erase(en_linea);
    form1_.Puntos_Ruptura_Cambiados();
  } else if (const QTextBlock bloque = editor_->document()->findBlockByNumber(linea - 1); bloque.isValid()) {
    marcas_.push_back({QTextCursor(bloque), -1});
  }
  Mostrar_Puntos();
}

void TForm_Fuente::Ejecutar_Hasta(int linea) {
  if (!Sincronizado()) {
    Estado_->setText(Texto_Cambiado);
    return;
  }
  const int32_t con_palabra = mapa_.Linea_con_Palabra(linea);
  if (con_palabra > 0) form1_.Ejecutar_Hasta(mapa_.Direccion(con_palabra));
}

QString TForm_Fuente::Ayuda(int linea, int posicion) const {
  for (const TError_Linea& e : editor_->Errores())
    if (e.Linea == linea && posicion >= e.Inicio && posicion < std::max(e.Fin, e.Inicio + 1)) return e.Mensaje;
  const QString texto = editor_->document()->findBlockByNumber(linea - 1).text();
  const QByteArray bytes = texto.toUtf8();
  const std::vector<TPieza> piezas =
      Piezas_Linea(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  const TPieza* pieza = Pieza_en(piezas, Caracteres_UTF16(texto, posicion));
  if (!pieza) return {};
  const int inicio = Unidades_UTF16(texto, pieza->Inicio);
  const QString nombre = texto.mid(inicio, Unidades_UTF16(texto, pieza->Inicio + pieza->Largo) - inicio);
  TEntorno& entorno = form1_.Entorno();
  switch (pieza->Clase) {
    case TClase_Pieza::Mnemonico:
      if (const TOperacion* operacion = Buscar_Operacion(nombre.toStdString()))
        return QString::fromStdString(Resumen_Operacion(*operacion));
      return {};
    case TClase_Pieza::Registro:
      return nombre + QStringLiteral(" = ") +
             QString::fromStdString(entorno.Valor(Visor_Registro(nombre.mid(1).toInt(nullptr, 16))));
    case TClase_Pieza::Etiqueta: {
      const std::string clave = nombre.toUpper().toStdString();
      for (const TEtiqueta_Ensamblada& e : ensamblado_.Etiquetas) {
        if (QString::fromStdString(e.Nombre).toUpper().toStdString() != clave || e.Direccion > 0xFFFF) continue;
        const auto direccion = static_cast<int32_t>(e.Direccion);
        QString ayuda = QStringLiteral("etiqueta %1 = %2").arg(nombre, QString::fromStdString(Palabra_a_Texto(direccion)));
        if (Sincronizado())
          ayuda += QStringLiteral(", palabra ") + QString::fromStdString(entorno.Leer_Palabra(direccion));
        return ayuda;
      }
      return {};
    }
    default: return {};
  }
}

void TForm_Fuente::Mostrar() {
  if (!isVisible()) {
    // Beside the main window, where the front panel stays in sight: on the
    // wider free side, or else over the listing only.
    const QRect libre = (form1_.screen() ? form1_.screen() : QGuiApplication::primaryScreen())->availableGeometry();
    const QRect principal = form1_.frameGeometry();
    const int izquierda = principal.left() - libre.left();
    const int derecha = libre.right() - principal.right();
    constexpr int Ancho_Deseado = 560;
    const int alto = std::max(400, libre.height() - 60);
    QRect zona;
    if (std::max(izquierda, derecha) >= Ancho_Deseado) {
      zona = derecha >= izquierda ? QRect(principal.right() + 1, libre.top(), derecha - 1, alto)
                                  : QRect(libre.left(), libre.top(), izquierda - 1, alto);
      zona.setWidth(std::min(zona.width(), 720));
    } else {
      const QWidget* panel = form1_.findChild<QWidget*>(QStringLiteral("Ficha_PF"));
      const int tope = panel ? panel->mapToGlobal(QPoint(0, 0)).x() - 12 : principal.left() + 340;
      zona = QRect(libre.left(), libre.top(), std::max(480, tope - libre.left()), alto);
    }
    resize(zona.size() - QSize(8, 32));
    move(zona.topLeft());
    winId();
    form1_.winId();
    windowHandle()->setTransientParent(form1_.windowHandle());
  }
  show();
  raise();
  activateWindow();
}

// ---------------------------------------------------------------- the menus

namespace {

// The item after the named one: where an item goes to follow it.
QAction* Siguiente(const QMenu& menu, const char* nombre) {
  const QList<QAction*> acciones = menu.actions();
  for (qsizetype i = 0; i + 1 < acciones.size(); ++i)
    if (acciones[i]->objectName() == QLatin1String(nombre)) return acciones[i + 1];
  return nullptr;
}

}  // namespace

TFuente::TFuente(TForm1& form1, QMenu& archivo, QMenu& entorno, QMenu& torvic) : QObject(&form1), form1_(form1) {
  const auto item = [&](QMenu& menu, const char* nombre, const QString& titulo, QKeySequence tecla, auto accion) {
    QAction* a = new QAction(titulo, &menu);
    a->setObjectName(QString::fromLatin1(nombre));
    a->setShortcut(tecla);
    connect(a, &QAction::triggered, this, [this, accion] { form1_.Manejar(accion); });
    return a;
  };
  QAction* nuevo = item(archivo, "MNuevo_Fuente", QStringLiteral("Nuevo programa fuente"), QKeySequence(Qt::CTRL | Qt::Key_N),
                        [this] { Crear_Ventana().Nuevo(); });
  QAction* guardar = item(archivo, "MGuardar_Fuente", QStringLiteral("Guardar el programa fuente"), {},
                          [this] { Crear_Ventana().Guardar(); });
  // Ctrl+S is the main window's Guardar el programa. The source window takes
  // the key itself while it is active, and only then does this item show it:
  // two actions with one key would make Qt fire neither.
  connect(qApp, &QGuiApplication::focusWindowChanged, guardar, [this, guardar](QWindow* activa) {
    const bool fuente = ventana_ && activa && ventana_->windowHandle() == activa;
    guardar->setShortcut(fuente ? QKeySequence(Qt::CTRL | Qt::Key_S) : QKeySequence());
  });
  QAction* como = item(archivo, "MGuardar_Fuente_Como", QStringLiteral("Guardar el programa fuente como..."), {},
                       [this] { Crear_Ventana().Guardar_Como(); });
  // After the load command, as the other ways to a program.
  archivo.insertActions(Siguiente(archivo, "Cargarprogramaobjeto1"), {nuevo, guardar, como});
  form1_.addAction(nuevo);
  const auto ver = [this] {
    TForm_Fuente& ventana = Crear_Ventana();
    if (ventana.isVisible()) ventana.hide();
    else ventana.Mostrar();
  };
  QAction* mver = item(entorno, "MVer_Fuente", QStringLiteral("Esconder/Mostrar el programa fuente"),
                       QKeySequence(Qt::CTRL | Qt::Key_E), ver);
  // Beside the port windows' items.
  entorno.insertAction(Siguiente(entorno, "EsconderMostrarpuertosdesalida1"), mver);
  form1_.addAction(mver);
  QAction* ensamblar = item(torvic, "MEnsamblar", QStringLiteral("Ensamblar y cargar"), QKeySequence(Qt::Key_F3),
                            [this] { Crear_Ventana().Ensamblar_y_Cargar(); });
  torvic.addAction(ensamblar);
  form1_.addAction(ensamblar);
}

TForm_Fuente& TFuente::Crear_Ventana() {
  if (!ventana_) ventana_ = std::make_unique<TForm_Fuente>(form1_);
  return *ventana_;
}

bool TFuente::Abrir(const QString& ruta) { return Crear_Ventana().Abrir(ruta); }

void TFuente::Programa_Cargado(const QString& ruta, const TResultado_Ensamblado* ensamblado) {
  if (ventana_) ventana_->Programa_Cargado(ruta, ensamblado);
}

void TFuente::PC_Cambiado() {
  if (ventana_) ventana_->PC_Cambiado();
}

void TFuente::Puntos_Ruptura_Cambiados() {
  if (ventana_) ventana_->Puntos_Ruptura_Cambiados();
}

bool TFuente::Preguntar_Guardar() { return !ventana_ || ventana_->Preguntar_Guardar(); }

QString TFuente::Ruta_Sesion() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/sesion_fuente.json");
}

void TFuente::Guardar_Sesion() const {
  if (!ventana_) {
    // No source this time: the last session's would come back with this state.
    QFile::remove(Ruta_Sesion());
    return;
  }
  const QJsonObject sesion{{QStringLiteral("ruta"), ventana_->Ruta()},
                           {QStringLiteral("texto"), ventana_->Texto()},
                           {QStringLiteral("modificado"), ventana_->Modificado()}};
  QSaveFile archivo(Ruta_Sesion());
  if (archivo.open(QIODevice::WriteOnly)) {
    archivo.write(QJsonDocument(sesion).toJson(QJsonDocument::Compact));
    archivo.commit();
  }
}

void TFuente::Recuperar_Sesion() {
  QFile archivo(Ruta_Sesion());
  if (!archivo.open(QIODevice::ReadOnly)) return;
  const QJsonObject sesion = QJsonDocument::fromJson(archivo.readAll()).object();
  if (!sesion.value(QStringLiteral("texto")).isString()) return;
  TForm_Fuente& ventana = Crear_Ventana();
  if (!ventana.Preguntar_Guardar()) return;
  ventana.Restaurar(sesion.value(QStringLiteral("texto")).toString(), sesion.value(QStringLiteral("ruta")).toString(),
                    sesion.value(QStringLiteral("modificado")).toBool());
}
