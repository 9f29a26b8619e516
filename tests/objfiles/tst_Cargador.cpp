#include <QtTest>

#include <QTemporaryDir>

#include "../core/Grabadora.h"
#include "core/TextoHex.h"
#include "objfiles/Cargador.h"

namespace {

// Gives its bytes; then, when told to, fails to read.
class TFuente_Prueba final : public TFuente_Bytes {
 public:
  TFuente_Prueba(std::string_view bytes, bool falla) : bytes_(bytes), falla_(falla) {}
  std::size_t Leer(char* destino, std::size_t maximo) override {
    const std::size_t n = bytes_.Leer(destino, maximo);
    fallo_ = falla_ && n == 0;
    return n;
  }
  std::string Error() const override { return fallo_ ? "error de prueba" : ""; }

 private:
  TFuente_Memoria bytes_;
  bool falla_;
  bool fallo_ = false;
};

QStringList Lista(const std::vector<std::string>& textos) {
  QStringList lista;
  for (const auto& t : textos) lista << QString::fromStdString(t);
  return lista;
}

const QString Escritura_Ilegal = QStringLiteral(
    "AVISO: Acceso a memoria de TORVIC ilegal\rIntentó escribir por encima de la posición F000H de memoria.");
const QString Desordenadas = QStringLiteral("Error: El fichero contiene direcciones repetidas o desordenadas");
QString Corrupta(const QString& linea) { return QStringLiteral("ERROR: Archivo HEX corrupto\rMire la línea: (") + linea + ")"; }
const QString Mas_Corruptas = QStringLiteral("ERROR: Archivo HEX corrupto\rHay más líneas corruptas; no se mostrarán más avisos.");
const QString Mas_Monitor =
    QStringLiteral("AVISO: Acceso a memoria de TORVIC ilegal\rHay más direcciones por encima de EFFF; no se mostrarán más avisos.");
QString Formato(int linea) {
  return QStringLiteral("Error: Formato incorrecto en la línea %1. Cada línea debe contener Dirección y Contenido").arg(linea);
}

// A machine switched on and running freely, with random memory and a listing
// emptied as the command does first, so that every trace of a load shows.
struct TMaquina {
  TGrabadora Pantalla;
  TEntorno E{&Pantalla};
  QStringList Memoria_Antes;
  QStringList Visores_Antes;

  TMaquina() {
    E.Aleatorio.Sembrar(20261206);
    E.Encender_Apagar();
    E.BPasoPasoClick();
    E.Listado.Agregar("[0000]: LD R0, [RD+H'00]");
    Vaciar_Listado_Carga(E);
    Tomar_Foto();
  }
  QStringList Memoria() const {
    QStringList palabras;
    for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a) palabras << QString::fromStdString(E.Leer_Palabra(a));
    return palabras;
  }
  QStringList Visores() const {
    QStringList valores;
    for (int v = 0; v < Numero_Visores; ++v) valores << QString::fromStdString(E.Valor(v));
    return valores;
  }
  void Tomar_Foto() {
    Memoria_Antes = Memoria();
    Visores_Antes = Visores();
  }
  // Messages and listing; the words named in `memoria` ("AAAA=WWWW") changed,
  // every other word as before; no display changed; the free run stopped only
  // by a write into the monitor area.
  void Comprobar(const QStringList& mensajes, const QStringList& listado, const QStringList& memoria) {
    QCOMPARE(Lista(Pantalla.Mensajes), mensajes);
    QCOMPARE(Lista(E.Listado.Lineas()), listado);
    QStringList esperada = Memoria_Antes;
    for (const QString& par : memoria) esperada[Texto_a_Palabra(par.left(4).toStdString())] = par.mid(5);
    QCOMPARE(Memoria(), esperada);
    QCOMPARE(Visores(), Visores_Antes);
    QCOMPARE(E.Estado_Maquina.Modo_Paso_a_Paso, mensajes.contains(Escritura_Ilegal) ? 1 : 0);
  }
};

}  // namespace

class tst_Cargador : public QObject {
  Q_OBJECT

 private slots:
  // A file of tests/data, or, when `bytes` is given, those bytes read in the
  // format of the row's file name; a row that expects them unread gets a read
  // failure after them. A special row's file is made in a temporary folder
  // as `especial` says: "carpeta" or a link's target. "%1" in a
  // message stands for the path.
  void carga_data() {
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("leido");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<QStringList>("listado");
    QTest::addColumn<QStringList>("memoria");
    QTest::addColumn<QString>("especial");
    const auto fila = [](const QString& nombre, const QString& archivo, const QStringList& mensajes,
                         const QStringList& listado, const QStringList& memoria, const QByteArray& bytes = {},
                         bool leido = true, const QString& especial = {}) {
      QTest::newRow(qPrintable(nombre)) << archivo << bytes << leido << mensajes << listado << memoria << especial;
    };
    const QStringList nada;

    fila("HEX: comments, blanks, lower case, end record", "hex_completo.HEX", nada,
         {"[0010]: LLI R1, H'05", "[0011]: LLI R2, H'03", "[0012]: ADDS R3, R1, R2"},
         {"0010=2105", "0011=2203", "0012=6312"});
    fila("HEX: no end record, no final line break", "hex_sin_fin.HEX", nada, {"[0000]: LLI R1, H'05", "[0001]: HALT"},
         {"0000=2105", "0001=F000"});
    fila("HEX: empty file", "hex_vacio.HEX", nada, nada, nada);
    fila("HEX: Ctrl-Z ends the file", "hex_ctrlz.HEX", nada, {"[0001]: LD R0, [RD+H'01]", "[0002]: LD R0, [RD+H'02]"},
         {"0001=0001", "0002=0002"});
    fila("HEX: corrupt lines empty the listing, reading goes on", "hex_corrupto.HEX",
         {Corrupta(":02 0002 00 2222 EF"), Corrupta(":0400040044445555EF")}, {"[0005]: OUT H'55, R5"},
         {"0001=1111", "0003=3333", "0005=5555"});
    fila("HEX: malformed records empty the listing and restart the order", "x.HEX",
         {Corrupta(":020010002105E"), Corrupta("0020010002105EF"), Corrupta("::20010002105EF"),
          Corrupta(":02001G002105EF"), Corrupta(":00000001FE")},
         {"[0010]: LLI R1, H'05"}, {"0010=2105", "0020=2203"},  // 0010 follows 0020: a corrupt line resets the order
         ":020020002203EF\n:020010002105E\n0020010002105EF\n::20010002105EF\n:02001g002105EF\n:00000001FE\n:020010002105EF");
    fila("HEX: repeated address stops reading", "hex_desordenado.HEX", {Desordenadas}, nada, {"0020=1234", "0021=5678"});
    fila("HEX: after a corrupt line 0000 is out of order", "hex_corrupto_0000.HEX", {Corrupta("BASURA"), Desordenadas},
         nada, nada);
    fila("HEX: monitor area refused, listed, reading goes on", "hex_monitor.HEX", {Escritura_Ilegal, Escritura_Ilegal},
         {"[EFFF]: HALT", "[F000]: ST [RD+H'34], R2", "[F001]: OUT H'78, R6"}, {"EFFF=F000"});
    // The line reader is the same for both formats.
    for (const QString fin : {"lf", "crlf", "cr"})
      fila("EHC: line ends " + fin, "ehc_" + fin + ".EHC", nada,
           {"[0000]: LLI R1, H'05", "[0001]: LLI R2, H'03", "[0002]: ADDS R3, R1, R2", "[0003]: HALT"},
           {"0000=2105", "0001=2203", "0002=6312", "0003=F000"});

    fila("EHC: comments, tabs, short and lower-case words", "ehc_completo.EHC", nada,
         {"[000A]: LD R0, [RD+H'05]", "[0010]: LLI R1, H'05", "[0020]: LD R0, [RD+H'0F]", "[0021]: HALT"},
         {"000A=0005", "0010=2105", "0020=000F", "0021=FFFF"});
    // A format error ends the command with the listing raw.
    fila("EHC: empty file", "ehc_vacio.EHC", {"Error: El archivo está vacío"}, nada, nada);
    fila("EHC: one line break", "x.EHC", {Formato(1)}, nada, nada, "\n");
    fila("EHC: two line breaks at the end", "ehc_final_vacio.EHC", {Formato(3)}, {"[0000]: 0001", "[0001]: 0002"},
         {"0000=0001", "0001=0002"});
    fila("EHC: three words", "ehc_tres_palabras.EHC", {Formato(2)}, {"[0005]: 1234"}, {"0005=1234"});
    fila("EHC: address of five digits", "ehc_palabra_larga.EHC", {Formato(1)}, nada, nada);
    fila("EHC: content of five digits", "ehc_contenido_largo.EHC", {Formato(2)}, {"[0000]: 0000"}, {"0000=0000"});
    fila("EHC: non-hex word is a corrupt record", "ehc_corrupto.EHC", {Corrupta(":02001G002105EF")},
         {"[0002]: LD R0, [RD+H'02]"}, {"0000=0001", "0002=0002"});
    fila("EHC: NUL byte in a word", "ehc_nul.EHC", {Corrupta(QStringLiteral(":02000000001") + QChar(0) + "EF")}, nada,
         nada);

    // Long lines are read in bounded memory: comments and blank runs do not
    // count, and a line cut at 1024 characters is quoted so.
    const QStringList lli = {"[0010]: LLI R1, H'05"}, en_0010 = {"0010=2105"};
    fila("long comment after a record", "x.HEX", nada, lli, en_0010,
         ":020010002105EF ;" + QByteArray(200000, 'x') + "\r\n:00000001FF");
    fila("long blank run between EHC words", "x.EHC", nada, lli, en_0010, "10" + QByteArray(200000, '\t') + "2105");
    fila("long line is quoted cut", "x.HEX", {Corrupta(":" + QString(1023, 'A') + QStringLiteral("…"))}, lli, en_0010,
         ":" + QByteArray(5000, 'a') + "\n:020010002105EF");
    fila("line at the length limit is quoted whole", "x.HEX", {Corrupta(QString(1024, 'B'))}, lli, en_0010,
         QByteArray(1024, 'B') + "   \n:020010002105EF");
    QByteArray binario;
    for (int i = 0; i < 256; ++i) binario += char(i);
    // LF (10) and CR (13) cut it into three lines; the Ctrl-Z (26) ends the file.
    fila("binary bytes", "x.HEX",
         {Corrupta(QString::fromLatin1(binario.mid(0, 9))), Corrupta(QString::fromLatin1(binario.mid(11, 2))),
          Corrupta(QString::fromLatin1(binario.mid(14, 12)))},
         nada, nada, binario);

    // A wrong file: ten boxes of each kind, counted apart, one closing box
    // each, then silence, with every line still taking its effect.
    QByteArray ambas;
    QStringList ambas_mensajes;
    for (int i = 0; i < 1000; ++i) {
      const QString f = QStringLiteral("F%1").arg(i, 3, 16, QLatin1Char('0')).toUpper();
      const QString g = QStringLiteral("G%1").arg(i, 3, 10, QLatin1Char('0'));
      ambas += (g + " 1\r\n" + f + " 1\r\n").toLatin1();
      if (i < 10) ambas_mensajes << Corrupta(":02" + g + "000001EF") << Escritura_Ilegal;
    }
    fila("EHC: both kinds counted apart", "x.EHC", ambas_mensajes + QStringList{Mas_Corruptas, Mas_Monitor},
         {"[F3E7]: LD R0, [RD+H'01]"}, nada, ambas);

    fila("read failure keeps what was stored, raw", "x.EHC",
         {QStringLiteral("ERROR: No se pudo leer el archivo %1\rMotivo: error de prueba.")},
         {"[0000]: 2105", "[0001]: 2203"}, {"0000=2105", "0001=2203"}, "0 2105\n1 2203\n2 63", false);
    fila("missing file", "no_existe.HEX",
         {QStringLiteral("ERROR: No se pudo abrir el archivo %1\rMotivo: el archivo no existe.")}, nada, nada, {}, false);
    fila("extension neither HEX nor EHC", "programa.hx",
         {QStringLiteral("ERROR: Los archivos objeto deben tener extensión \r.HEX o .EHC")}, nada, nada, {}, false);

    // Only regular files are read, through a link too; a device or a pipe is
    // refused at once rather than read forever.
    fila("folder", "carpeta.EHC",
         {QStringLiteral("ERROR: No se pudo leer el archivo %1\rMotivo: es una carpeta, no un archivo.")}, nada, nada, {},
         false, "carpeta");
    fila("link to a device", "nulo.HEX",
         {QStringLiteral("ERROR: No se pudo abrir el archivo %1\rMotivo: no es un archivo normal.")}, nada, nada, {},
         false, "/dev/null");
    fila("link to a regular file", "enlace.HEX", nada, {"[0000]: LLI R1, H'05", "[0001]: HALT"},
         {"0000=2105", "0001=F000"}, {}, true, VELTRA_TEST_DATA "/hex_sin_fin.HEX");
  }

  void carga() {
    QFETCH(QString, archivo);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, leido);
    QFETCH(QStringList, mensajes);
    QFETCH(QString, especial);
    QTemporaryDir temporal;
    QString ruta = archivo;
    if (especial == QLatin1String("carpeta"))
      QVERIFY(QDir().mkdir(ruta = temporal.filePath(archivo)));
    else if (especial.startsWith('/'))
      QVERIFY(QFile::link(especial, ruta = temporal.filePath(archivo)));
    TMaquina m;
    if (bytes.isNull()) {
      if (!ruta.startsWith('/')) ruta = QStringLiteral(VELTRA_TEST_DATA "/") + archivo;
      QCOMPARE(Cargar_Programa_Objeto(m.E, ruta.toStdString()), leido);
    } else {
      TFuente_Prueba fuente(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), !leido);
      QCOMPARE(Cargar_Flujo(m.E, *Formato_por_Extension(archivo.toStdString()), fuente, archivo.toStdString()), leido);
    }
    for (QString& mensaje : mensajes) mensaje.replace(QStringLiteral("%1"), ruta);
    QFETCH(QStringList, listado);
    QFETCH(QStringList, memoria);
    m.Comprobar(mensajes, listado, memoria);
  }

  // After Ctrl+Delete has shortened memory, the store to EFFF writes its high
  // byte and fails on the low one; the command ends there.
  void memoria_acortada() {
    TMaquina m;
    const std::vector<uint8_t> corta(Bytes_Memoria - 1, 0x5A);
    m.E.Memoria.LoadFromBytes(corta.data(), corta.size());
    m.Tomar_Foto();
    QVERIFY(Cargar_Programa_Objeto(m.E, VELTRA_TEST_DATA "/memoria_corta.EHC"));
    m.Comprobar({QStringLiteral("Invalid SetMemory index")}, {"[EFFE]: 1111", "[EFFF]: 2222"}, {"EFFE=1111", "EFFF=22"});
  }

  void extension_data() {
    QTest::addColumn<QString>("ruta");
    QTest::addColumn<int>("formato");  // -1: none
    QTest::newRow("hex") << "/x/prog.hex" << int(TFormato_Objeto::HEX);
    QTest::newRow("only the extension, mixed case") << ".Ehc" << int(TFormato_Objeto::EHC);
    QTest::newRow("shorter than four") << "HEX" << -1;
    QTest::newRow("trailing blank") << "prog.HEX " << -1;
  }
  void extension() {
    QFETCH(QString, ruta);
    QFETCH(int, formato);
    const auto resultado = Formato_por_Extension(ruta.toStdString());
    QCOMPARE(resultado ? int(*resultado) : -1, formato);
  }
};

QTEST_GUILESS_MAIN(tst_Cargador)
#include "tst_Cargador.moc"
