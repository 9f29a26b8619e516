#include <QtTest>

#include <QTemporaryDir>

#include <map>

#include "core/Entorno.h"
#include "core/TextoHex.h"
#include "objfiles/Cargador.h"

namespace {

class TGrabadora final : public TPantalla {
 public:
  std::vector<std::string> Mensajes;
  void Mostrar_Mensaje(const std::string& texto) override { Mensajes.push_back(texto); }
  bool Preguntar_Si_No(const std::string&, const std::string&) override { return true; }
};

// A machine switched on and running freely, with random memory and a listing
// line left from before, so that every trace of a load shows.
struct TMaquina {
  TGrabadora Pantalla;
  TEntorno E{&Pantalla};
  std::vector<std::string> Memoria_Antes;
  std::vector<std::string> Visores_Antes;

  TMaquina() {
    Sembrar_Aleatorio(20261206);
    E.Encender_Apagar();
    E.BPasoPasoClick();
    E.Listado.Agregar("[0000]: LD R0, [RD+H'00]");
    Vaciar_Listado_Carga(E);
  }
  void Tomar_Foto() {
    Memoria_Antes.clear();
    for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a) Memoria_Antes.push_back(E.Leer_Palabra(a));
    Visores_Antes.clear();
    for (int v = 0; v < Numero_Visores; ++v) Visores_Antes.push_back(E.Valor(v));
  }
};

QString Ruta_Datos(const QString& archivo) { return QStringLiteral(VELTRA_TEST_DATA "/") + archivo; }

QStringList Lista(const std::vector<std::string>& textos) {
  QStringList lista;
  for (const auto& t : textos) lista << QString::fromStdString(t);
  return lista;
}

const QString Escritura_Ilegal = QStringLiteral(
    "AVISO: Acceso a memoria de TORVIC ilegal\rIntentó escribir por encima de la posición F000H de memoria.");
const QString Desordenadas = QStringLiteral("Error: El fichero contiene direcciones repetidas o desordenadas");

QString Corrupta(const QString& linea) { return QStringLiteral("ERROR: Archivo HEX corrupto\rMire la línea: (") + linea + ")"; }
QString Formato(int linea) {
  return QStringLiteral("Error: Formato incorrecto en la línea %1. Cada línea debe contener Dirección y Contenido").arg(linea);
}

// Compares messages, listing and the whole memory: the words named in
// `memoria` ("AAAA=WWWW") changed, every other word as before; no display
// changed; the free run stopped only when `detenida`.
void Comprobar(TMaquina& m, const QStringList& mensajes, const QStringList& listado,
               const QStringList& memoria, bool detenida) {
  QCOMPARE(Lista(m.Pantalla.Mensajes), mensajes);
  QCOMPARE(Lista(m.E.Listado.Lineas()), listado);
  std::map<int32_t, std::string> esperada;
  for (const QString& par : memoria)
    esperada[Texto_a_Palabra(par.left(4).toStdString())] = par.mid(5).toStdString();
  for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a) {
    const auto cambiada = esperada.find(a);
    const std::string& debe = cambiada != esperada.end() ? cambiada->second : m.Memoria_Antes[static_cast<size_t>(a)];
    if (m.E.Leer_Palabra(a) != debe)
      QFAIL(qPrintable(QStringLiteral("palabra %1: %2, se esperaba %3")
                           .arg(QString::fromStdString(Palabra_a_Texto(a)),
                                QString::fromStdString(m.E.Leer_Palabra(a)), QString::fromStdString(debe))));
  }
  for (int v = 0; v < Numero_Visores; ++v) QCOMPARE(m.E.Valor(v), m.Visores_Antes[static_cast<size_t>(v)]);
  QCOMPARE(m.E.Estado_Maquina.Modo_Paso_a_Paso, detenida ? 1 : 0);
}

// A source that gives some bytes and then fails.
class TFuente_Fallida final : public TFuente_Bytes {
 public:
  explicit TFuente_Fallida(std::string_view bytes) : bytes_(bytes) {}
  std::size_t Leer(char* destino, std::size_t maximo) override {
    if (bytes_.empty()) {
      error_ = "error de prueba";
      return 0;
    }
    const std::size_t n = std::min<std::size_t>({maximo, bytes_.size(), 3});
    std::memcpy(destino, bytes_.data(), n);
    bytes_.remove_prefix(n);
    return n;
  }
  std::string Error() const override { return error_; }

 private:
  std::string_view bytes_;
  std::string error_;
};

const QStringList Programa_Suma = {"[0000]: LLI R1, H'05", "[0001]: LLI R2, H'03", "[0002]: ADDS R3, R1, R2"};
const QStringList Memoria_Suma = {"0000=2105", "0001=2203", "0002=6312"};

}  // namespace

class tst_Cargador : public QObject {
  Q_OBJECT

 private slots:
  void archivos_data() {
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<bool>("leido");
    QTest::addColumn<QStringList>("mensajes");  // %1 stands for the file's path
    QTest::addColumn<QStringList>("listado");
    QTest::addColumn<QStringList>("memoria");
    QTest::addColumn<bool>("detenida");

    QTest::newRow("HEX: comments, blanks, lower case, end record")
        << "hex_completo.HEX" << true << QStringList{}
        << QStringList{"[0010]: LLI R1, H'05", "[0011]: LLI R2, H'03", "[0012]: ADDS R3, R1, R2"}
        << QStringList{"0010=2105", "0011=2203", "0012=6312"} << false;
    QTest::newRow("HEX: no end record, no final line break")
        << "hex_sin_fin.HEX" << true << QStringList{} << QStringList{"[0000]: LLI R1, H'05", "[0001]: HALT"}
        << QStringList{"0000=2105", "0001=F000"} << false;
    QTest::newRow("HEX: empty file") << "hex_vacio.HEX" << true << QStringList{} << QStringList{}
                                     << QStringList{} << false;
    QTest::newRow("HEX: only Ctrl-Z") << "solo_ctrlz.HEX" << true << QStringList{} << QStringList{}
                                      << QStringList{} << false;
    QTest::newRow("HEX: corrupt lines empty the listing, reading goes on")
        << "hex_corrupto.HEX" << true
        << QStringList{Corrupta(":02 0002 00 2222 EF"), Corrupta(":0400040044445555EF")}
        << QStringList{"[0005]: OUT H'55, R5"} << QStringList{"0001=1111", "0003=3333", "0005=5555"} << false;
    QTest::newRow("HEX: repeated address stops reading")
        << "hex_desordenado.HEX" << true << QStringList{Desordenadas} << QStringList{}
        << QStringList{"0020=1234", "0021=5678"} << false;
    QTest::newRow("HEX: after a corrupt line 0000 is out of order")
        << "hex_corrupto_0000.HEX" << true << QStringList{Corrupta("BASURA"), Desordenadas} << QStringList{}
        << QStringList{} << false;
    QTest::newRow("HEX: monitor area refused, listed, reading goes on")
        << "hex_monitor.HEX" << true << QStringList{Escritura_Ilegal, Escritura_Ilegal}
        << QStringList{"[EFFF]: HALT", "[F000]: ST [RD+H'34], R2", "[F001]: OUT H'78, R6"}
        << QStringList{"EFFF=F000"} << true;
    QTest::newRow("HEX: Ctrl-Z ends the file")
        << "hex_ctrlz.HEX" << true << QStringList{}
        << QStringList{"[0001]: LD R0, [RD+H'01]", "[0002]: LD R0, [RD+H'02]"}
        << QStringList{"0001=0001", "0002=0002"} << false;
    QTest::newRow("HEX: lower-case extension") << "minusculas.hex" << true << QStringList{}
                                               << QStringList{"[0040]: LLI R1, H'05"} << QStringList{"0040=2105"}
                                               << false;
    for (const char* fin : {"lf", "crlf", "cr"})
      QTest::newRow(qPrintable(QStringLiteral("HEX: line ends %1").arg(fin)))
          << QStringLiteral("hex_%1.HEX").arg(fin) << true << QStringList{} << Programa_Suma << Memoria_Suma
          << false;

    QTest::newRow("EHC: comments, tabs, short and lower-case words")
        << "ehc_completo.EHC" << true << QStringList{}
        << QStringList{"[000A]: LD R0, [RD+H'05]", "[0010]: LLI R1, H'05", "[0020]: LD R0, [RD+H'0F]",
                       "[0021]: HALT"}
        << QStringList{"000A=0005", "0010=2105", "0020=000F", "0021=FFFF"} << false;
    QTest::newRow("EHC: empty file") << "ehc_vacio.EHC" << true << QStringList{Formato(1)} << QStringList{}
                                     << QStringList{} << false;
    QTest::newRow("EHC: only Ctrl-Z") << "solo_ctrlz.EHC" << true << QStringList{Formato(1)} << QStringList{}
                                      << QStringList{} << false;
    QTest::newRow("EHC: two line breaks at the end")
        << "ehc_final_vacio.EHC" << true << QStringList{Formato(3)} << QStringList{"[0000]: 0001", "[0001]: 0002"}
        << QStringList{"0000=0001", "0001=0002"} << false;
    QTest::newRow("EHC: comment-only line") << "ehc_comentario.EHC" << true << QStringList{Formato(2)}
                                            << QStringList{"[0000]: 0001"} << QStringList{"0000=0001"} << false;
    QTest::newRow("EHC: three words") << "ehc_tres_palabras.EHC" << true << QStringList{Formato(2)}
                                      << QStringList{"[0005]: 1234"} << QStringList{"0005=1234"} << false;
    QTest::newRow("EHC: address of five digits") << "ehc_palabra_larga.EHC" << true << QStringList{Formato(1)}
                                                 << QStringList{} << QStringList{} << false;
    QTest::newRow("EHC: content of five digits") << "ehc_contenido_largo.EHC" << true << QStringList{Formato(2)}
                                                 << QStringList{"[0000]: 0000"} << QStringList{"0000=0000"}
                                                 << false;
    QTest::newRow("EHC: non-hex word is a corrupt record")
        << "ehc_corrupto.EHC" << true << QStringList{Corrupta(":02001G002105EF")}
        << QStringList{"[0002]: LD R0, [RD+H'02]"} << QStringList{"0000=0001", "0002=0002"} << false;
    QTest::newRow("EHC: repeated address stops reading")
        << "ehc_desordenado.EHC" << true << QStringList{Desordenadas} << QStringList{} << QStringList{"0000=0001"}
        << false;
    QTest::newRow("EHC: monitor area refused, listed, reading goes on")
        << "ehc_monitor.EHC" << true << QStringList{Escritura_Ilegal, Escritura_Ilegal}
        << QStringList{"[EFFF]: HALT", "[F000]: ST [RD+H'34], R2", "[F001]: LD R0, [RD+H'05]"}
        << QStringList{"EFFF=F000"} << true;
    QTest::newRow("EHC: Ctrl-Z ends the file")
        << "ehc_ctrlz.EHC" << true << QStringList{}
        << QStringList{"[0000]: LD R0, [RD+H'01]", "[0001]: LD R0, [RD+H'02]"}
        << QStringList{"0000=0001", "0001=0002"} << false;
    QTest::newRow("EHC: LF then CR are two line breaks")
        << "ehc_lf_cr.EHC" << true << QStringList{Formato(2)} << QStringList{"[0000]: 0001"}
        << QStringList{"0000=0001"} << false;
    QTest::newRow("EHC: NUL byte in a word")
        << "ehc_nul.EHC" << true << QStringList{Corrupta(QStringLiteral(":02000000001") + QChar(0) + "EF")}
        << QStringList{} << QStringList{} << false;
    const QStringList programa_halt = Programa_Suma + QStringList{"[0003]: HALT"};
    const QStringList memoria_halt = Memoria_Suma + QStringList{"0003=F000"};
    for (const char* fin : {"lf", "crlf", "cr"}) {
      QTest::newRow(qPrintable(QStringLiteral("EHC: line ends %1").arg(fin)))
          << QStringLiteral("ehc_%1.EHC").arg(fin) << true << QStringList{} << programa_halt << memoria_halt << false;
      QTest::newRow(qPrintable(QStringLiteral("EHC: line ends %1, none at the end").arg(fin)))
          << QStringLiteral("ehc_%1_sin_final.EHC").arg(fin) << true << QStringList{} << programa_halt
          << memoria_halt << false;
    }

    QTest::newRow("extension neither HEX nor EHC")
        << "programa.hx" << false
        << QStringList{QStringLiteral("ERROR: Los archivos objeto deben tener extensión \r.HEX o .EHC")}
        << QStringList{} << QStringList{} << false;
    QTest::newRow("missing file")
        << "no_existe.HEX" << false
        << QStringList{QStringLiteral("ERROR: No se pudo abrir el archivo %1\rMotivo: el archivo no existe.")}
        << QStringList{} << QStringList{} << false;
  }

  void archivos() {
    QFETCH(QString, archivo);
    QFETCH(bool, leido);
    QFETCH(QStringList, mensajes);
    QFETCH(QStringList, listado);
    QFETCH(QStringList, memoria);
    QFETCH(bool, detenida);
    TMaquina m;
    m.Tomar_Foto();
    const QString ruta = Ruta_Datos(archivo);
    QCOMPARE(Cargar_Programa_Objeto(m.E, ruta.toStdString()), leido);
    for (QString& mensaje : mensajes) mensaje.replace(QStringLiteral("%1"), ruta);
    Comprobar(m, mensajes, listado, memoria, detenida);
  }

  // The same lines with CR LF, LF, CR or mixed line ends load alike.
  void finales_de_linea_data() {
    QTest::addColumn<int>("formato");
    QTest::addColumn<QByteArrayList>("lineas");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<QStringList>("listado");
    QTest::newRow("HEX") << int(TFormato_Objeto::HEX)
                         << QByteArrayList{":020010002105EF", ";nota", " ", ":020011002203EF", ":00000001FF",
                                           ":020012000000EF"}
                         << QStringList{} << QStringList{"[0010]: LLI R1, H'05", "[0011]: LLI R2, H'03"};
    QTest::newRow("EHC") << int(TFormato_Objeto::EHC)
                         << QByteArrayList{"10 2105", "11 2203 ; nota", "12\t6312", "13 F000"} << QStringList{}
                         << QStringList{"[0010]: LLI R1, H'05", "[0011]: LLI R2, H'03", "[0012]: ADDS R3, R1, R2",
                                        "[0013]: HALT"};
    QTest::newRow("EHC blank line") << int(TFormato_Objeto::EHC) << QByteArrayList{"10 2105", "", "12 6312"}
                                    << QStringList{Formato(2)} << QStringList{"[0010]: 2105"};
  }
  void finales_de_linea() {
    QFETCH(int, formato);
    QFETCH(QByteArrayList, lineas);
    QFETCH(QStringList, mensajes);
    QFETCH(QStringList, listado);
    const QByteArrayList finales = {"\r\n", "\n", "\r"};
    for (int forma = 0; forma <= finales.size(); ++forma) {
      QByteArray bytes;
      for (int i = 0; i < lineas.size(); ++i)  // the last form mixes all three
        bytes += lineas[i] + finales[forma < finales.size() ? forma : i % finales.size()];
      TMaquina m;
      TFuente_Memoria fuente(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
      QVERIFY(Cargar_Flujo(m.E, static_cast<TFormato_Objeto>(formato), fuente, "prueba"));
      QCOMPARE(Lista(m.Pantalla.Mensajes), mensajes);
      QCOMPARE(Lista(m.E.Listado.Lineas()), listado);
    }
  }

  // Generated input: long lines, blanks and comments, binary bytes.
  void flujos_data() {
    QTest::addColumn<int>("formato");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<QStringList>("listado");
    const int hex = int(TFormato_Objeto::HEX);
    const int ehc = int(TFormato_Objeto::EHC);
    const QStringList lli = {"[0010]: LLI R1, H'05"};
    QTest::newRow("long comment after a record")
        << hex << QByteArray(":020010002105EF ;") + QByteArray(200000, 'x') + "\r\n:00000001FF" << QStringList{} << lli;
    QTest::newRow("long blank run before a record")
        << hex << QByteArray(200000, ' ') + QByteArray("\t:020010002105EF") << QStringList{} << lli;
    QTest::newRow("long EHC blank run between the words")
        << ehc << QByteArray("10") + QByteArray(200000, '\t') + QByteArray("2105") << QStringList{} << lli;
    QTest::newRow("long HEX line is quoted cut")
        << hex << QByteArray(":") + QByteArray(5000, 'a') + "\n:020010002105EF"
        << QStringList{Corrupta(QStringLiteral(":") + QString(1023, 'A') + QStringLiteral("…"))} << lli;
    QTest::newRow("line exactly at the length limit is quoted whole")
        << hex << QByteArray(1024, 'B') + "   \n:020010002105EF" << QStringList{Corrupta(QString(1024, 'B'))} << lli;
    QTest::newRow("long EHC line is a format error")
        << ehc << QByteArray("10 2105\n") + QByteArray("1 ").repeated(5000) << QStringList{Formato(2)}
        << QStringList{"[0010]: 2105"};
    QByteArray binario;
    for (int i = 0; i < 256; ++i) binario += char(i);
    // CR and LF cut it into three lines; the Ctrl-Z (26) ends the file.
    QTest::newRow("binary bytes")
        << hex << binario
        << QStringList{Corrupta(QString::fromLatin1(binario.mid(0, 9))), Corrupta(QString::fromLatin1(binario.mid(11, 2))),
                       Corrupta(QString::fromLatin1(binario.mid(14, 12)))}
        << QStringList{};
    QTest::newRow("NUL bytes") << hex << QByteArray(3, '\0') << QStringList{Corrupta(QString(3, QChar(0)))}
                               << QStringList{};
  }
  void flujos() {
    QFETCH(int, formato);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, mensajes);
    QFETCH(QStringList, listado);
    TMaquina m;
    TFuente_Memoria fuente(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    QVERIFY(Cargar_Flujo(m.E, static_cast<TFormato_Objeto>(formato), fuente, "prueba"));
    QCOMPARE(Lista(m.Pantalla.Mensajes), mensajes);
    QCOMPARE(Lista(m.E.Listado.Lineas()), listado);
  }

  void fallo_de_lectura_conserva_lo_cargado() {
    TMaquina m;
    m.Tomar_Foto();
    TFuente_Fallida fuente("0 2105\n1 2203\n2 63");
    QVERIFY(!Cargar_Flujo(m.E, TFormato_Objeto::EHC, fuente, "prueba.EHC"));
    Comprobar(m, {QStringLiteral("ERROR: No se pudo leer el archivo prueba.EHC\rMotivo: error de prueba.")},
              {"[0000]: 2105", "[0001]: 2203"}, {"0000=2105", "0001=2203"}, false);
  }

  void carpeta_no_se_puede_leer() {
    QTemporaryDir temporal;
    const QString ruta = temporal.filePath(QStringLiteral("carpeta.EHC"));
    QVERIFY(QDir().mkdir(ruta));
    TMaquina m;
    QVERIFY(!Cargar_Programa_Objeto(m.E, ruta.toStdString()));
    QCOMPARE(Lista(m.Pantalla.Mensajes),
             QStringList{QStringLiteral("ERROR: No se pudo leer el archivo %1\rMotivo: es una carpeta, no un archivo.").arg(ruta)});
    QCOMPARE(m.E.Listado.Numero_Lineas(), 0);
  }

  // After Ctrl+Delete has shortened memory, the store to EFFF writes its high
  // byte and fails on the low one; the command ends there.
  void memoria_acortada() {
    TMaquina m;
    const std::vector<uint8_t> corta(Bytes_Memoria - 1, 0x5A);
    m.E.Memoria.LoadFromBytes(corta.data(), corta.size());
    m.Tomar_Foto();
    QVERIFY(Cargar_Programa_Objeto(m.E, Ruta_Datos("memoria_corta.EHC").toStdString()));
    Comprobar(m, {QStringLiteral("Invalid SetMemory index")}, {"[EFFE]: 1111", "[EFFF]: 2222"},
              {"EFFE=1111", "EFFF=22"}, false);
  }

  void extension_data() {
    QTest::addColumn<QString>("ruta");
    QTest::addColumn<int>("formato");  // -1: none
    QTest::newRow("HEX") << "/x/prog.HEX" << int(TFormato_Objeto::HEX);
    QTest::newRow("hex") << "prog.hex" << int(TFormato_Objeto::HEX);
    QTest::newRow("Ehc") << "prog.Ehc" << int(TFormato_Objeto::EHC);
    QTest::newRow("only the extension") << ".EHC" << int(TFormato_Objeto::EHC);
    QTest::newRow("hx") << "prog.hx" << -1;
    QTest::newRow("no dot") << "progHEX" << -1;
    QTest::newRow("shorter than four") << "HEX" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("trailing blank") << "prog.HEX " << -1;
    QTest::newRow("folder named .HEX") << "dir.HEX/prog" << -1;
  }
  void extension() {
    QFETCH(QString, ruta);
    QFETCH(int, formato);
    const auto resultado = Formato_por_Extension(ruta.toStdString());
    QCOMPARE(resultado ? int(*resultado) : -1, formato);
  }

  // Every stored word of a million-line file: records at 0000..EFFF, each
  // followed by blank and comment lines.
  void millon_de_lineas() {
    std::string bytes;
    int lineas = 0;
    for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a) {
      bytes += ":02" + Palabra_a_Texto(a) + "00" + Palabra_a_Texto(0xFFFF - a) + "EF\r\n";
      for (int i = 0; i < 15; ++i) bytes += (i % 2) ? "\r\n" : "  ; nota\r\n";
      lineas += 16;
    }
    for (; lineas < 1000000; ++lineas) bytes += "\n";
    TMaquina m;
    TFuente_Memoria fuente(bytes);
    QVERIFY(Cargar_Flujo(m.E, TFormato_Objeto::HEX, fuente, "grande.HEX"));
    QVERIFY(m.Pantalla.Mensajes.empty());
    QCOMPARE(m.E.Listado.Numero_Lineas(), int(Primera_Direccion_Monitor));
    QCOMPARE(m.E.Listado.Linea(0), std::string("[0000]: HALT"));
    QCOMPARE(m.E.Listado.Linea(0xEFFF), std::string("[EFFF]: ST [RD+H'00], R0"));
    for (int32_t a = 0; a < Primera_Direccion_Monitor; a += 0x0FFF)
      QCOMPARE(m.E.Leer_Palabra(a), Palabra_a_Texto(0xFFFF - a));
  }
};

QTEST_GUILESS_MAIN(tst_Cargador)
#include "tst_Cargador.moc"
