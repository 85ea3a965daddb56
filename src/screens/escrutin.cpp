#include "screens/escrutin.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyle>
#include <QTimer>

#include "app/Estado.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "output/Impresora.h"
#include "output/InformeEscrutinio.h"
#include "platform/Ayuda.h"
#include "platform/BotonImagen.h"
#include "platform/Colores.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "platform/TextoLeido.h"
#include "reduction/Almacen.h"
#include "reduction/Tablas.h"
#include "scoring/Premios.h"
#include "screens/Corrida.h"
#include "screens/VistaReduccion.h"
#include "screens/mensajes.h"

namespace tobal {

namespace {

constexpr int kAncho = 770;
constexpr int kAlto = 610;
const QRect kResumen(490, 245, 270, 160);
const QRect kProgreso(490, 415, 270, 24);
constexpr int kYListas = 462;
constexpr int kXBoletos = 262;

QString U(const std::string& utf8) { return QString::fromStdString(utf8); }
QString De1252(const std::string& s) { return QString::fromStdString(Cp1252AUtf8(s)); }
std::string Bytes(const QString& s) { return s.toLatin1().toStdString(); }

QFont LetraFija() {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setPixelSize(11);
    return f;
}

// A heading over a result list, in the label font, drawn across exactly the
// first `caracteres` characters of the list's rows: the headings are laid
// out for a proportional font, and so stretched their words stand over the
// figures of the fixed-pitch rows.
void CabeceraLista(QPainter& p, const QListWidget* l, int y, const QString& texto, int caracteres) {
    QFont f = LetraCampo();
    f.setPixelSize(11);
    const double natural = QFontMetricsF(f).horizontalAdvance(texto);
    const double ancho = QFontMetricsF(l->font()).horizontalAdvance(QString(caracteres, QLatin1Char('0')));
    p.save();
    p.translate(
        l->x() + l->viewport()->x() + l->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, l) + 1,
        y);
    p.scale(ancho / natural, 1.0);
    p.setFont(f);
    p.drawText(0, 0, texto);
    p.restore();
}

// A result list's width: 178 pixels, or what its longest row needs, and
// the scroll bar's room besides when it shows one.
int AnchoLista(const QListWidget* l, bool barra) {
    int ancho = 178;
    for (int i = 0; i < l->count(); ++i)
        ancho = std::max(ancho, l->fontMetrics().horizontalAdvance(l->item(i)->text()) + 2 * l->frameWidth() + 8);
    return ancho + (barra ? 18 : 0);
}

}  // namespace

escrutin::escrutin(Estado& st, Servicios& sv, QWidget* padre)
    : QDialog(padre),
      destino(st, sv, this),
      Fra_Premios(new QGroupBox(QStringLiteral("Premios por categoría"), this)),
      Lis_Aciertos(new QListWidget(this)),
      Lis_Boletos(new QListWidget(this)),
      Pic_Escrutar(new BotonImagen(QStringLiteral("Pic_Escrutar"), this)),
      Pic_Imprimir(new BotonImagen(QStringLiteral("Pic_Imprimir"), this)),
      Pic_VistaPrevia(new BotonImagen(QStringLiteral("Pic_VistaPrevia"), this)),
      Pic_Indice(new BotonImagen(QStringLiteral("Pic_Indice"), this)),
      Pic_Ayuda(new BotonImagen(QStringLiteral("Pic_Ayuda"), this)),
      Pic_Salir(new BotonImagen(QStringLiteral("Pic_Salir"), this)),
      st_(st),
      sv_(sv),
      corrida_(new Corrida(st, this)) {
    PreparaPantalla(this, QStringLiteral("escrutin"), QStringLiteral("Escrutinio de aciertos "),
                    QSize(kAncho, kAlto));

    vista = new VistaReduccion(this, st_, sv_);
    RejillaVista* g = vista->Pic_Ganadora;
    // The winning column's own cells: 13 by 15 pixels on a pitch of 15
    // across and 18 down, as its hit test takes them.
    g->PonGeometria(
        [](QPoint punto) {
            const CeldaGanadora c = QueGanadoraHaPulsado(punto.x(), punto.y());
            return c.fila && c.columna ? std::pair{c.fila, c.columna} : std::pair{0, 0};
        },
        [](int m, int s) { return QRect(15 * s - 12, 18 * m - 14, 13, 15); }, QSize(48, 274));
    g->estado = [this](int m, int s) {
        return rejilla_[m] == s ? RejillaVista::Marcada : RejillaVista::Vacia;
    };
    g->PonEditable(true);
    connect(g, &RejillaVista::pulsada, this, [this, g](int m, int s) {
        if (ocupado_) return;
        sv_.Sonar(Sonido::Marca);
        MarcaCeldaGanadora(rejilla_, m, s);
        g->Refresca();
    });

    // The prize fields, 15 hits first.
    Fra_Premios->setGeometry(490, 56, 270, 178);
    Fra_Premios->setFont(LetraCampo());
    Fra_Premios->setStyleSheet(QStringLiteral("QGroupBox { color: yellow; }"));
    for (int k = 1; k <= 5; ++k) {
        auto* etiqueta = new QLabel(QStringLiteral("%1 -").arg(16 - k), Fra_Premios);
        etiqueta->setFont(LetraCampo());
        etiqueta->setStyleSheet(QStringLiteral("color: white;"));
        etiqueta->setGeometry(20, 26 + 29 * (k - 1), 40, 24);
        QLineEdit* ed = new QLineEdit(QStringLiteral("0.00"), Fra_Premios);
        ed->setObjectName(QStringLiteral("Tex_Premios%1").arg(k));
        ed->setAccessibleName(QStringLiteral("Premio de %1 aciertos").arg(16 - k));
        ed->setFont(LetraCampo());
        ed->setGeometry(70, 26 + 29 * (k - 1), 170, 24);
        etiqueta->setBuddy(ed);
        Tex_Premios[k] = ed;
        connect(ed, &QLineEdit::editingFinished, this, [this, k] { CierraPremio(k); });
    }

    for (QListWidget* lista : {Lis_Aciertos, Lis_Boletos}) {
        lista->setFont(LetraFija());
        lista->setFocusPolicy(Qt::StrongFocus);
        lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    Lis_Aciertos->setObjectName(QStringLiteral("Lis_Aciertos"));
    Lis_Aciertos->setAccessibleName(QStringLiteral("Aciertos por categoría"));
    Lis_Boletos->setObjectName(QStringLiteral("Lis_Boletos"));
    Lis_Boletos->setAccessibleName(QStringLiteral("Localización de aciertos"));
    Lis_Aciertos->setGeometry(12, kYListas, 178, 130);
    Lis_Boletos->setGeometry(kXBoletos, kYListas, 178, 130);

    const std::pair<BotonImagen*, const char*> botones[] = {{Pic_Escrutar, "Escrutar"},
                                                            {Pic_Imprimir, "Imprimir el escrutinio"},
                                                            {Pic_VistaPrevia, "Vista previa del escrutinio"},
                                                            {Pic_Indice, "Índice de reducciones"},
                                                            {Pic_Ayuda, "Ayuda"},
                                                            {Pic_Salir, "Salir"}};
    int x = kAncho - 6 * TamBoton - 5 * 10 - 16;
    for (const auto& [b, nombre] : botones) {
        b->move(x, kAlto - TamBoton - 18);
        b->setAccessibleName(QString::fromUtf8(nombre));
        x += TamBoton + 10;
    }
    Pic_Imprimir->PonActivo(false);
    Pic_VistaPrevia->PonActivo(false);
    connect(Pic_Escrutar, &BotonImagen::pulsado, this, [this] { Escruta(); });
    connect(Pic_Imprimir, &BotonImagen::pulsado, this, [this] { Imprime(); });
    connect(Pic_VistaPrevia, &BotonImagen::pulsado, this, [this] {
        sv_.Sonar(Sonido::Boton);
        destino.VistaPrevia(windowTitle(), [this](Impresora& imp) { DibujaInforme(imp); });
    });
    connect(Pic_Indice, &BotonImagen::pulsado, this, [this] { Indice(); });
    connect(Pic_Ayuda, &BotonImagen::pulsado, this, [this] { sv_.Ayuda(Contexto::Escrutinio); });
    connect(Pic_Salir, &BotonImagen::pulsado, this, &escrutin::reject);

    connect(vista->Jornada, &Caja::elegido, this, [this](int i) {
        if (ocupado_ || i + 1 == st_.Jornada()) return;
        st_.Jornada() = static_cast<int16_t>(i + 1);
        st_.Orden() = 1;
        vista->Orden->Selecciona(0);
        CargaEscrutinio();
        CompruebaCarga();
    });
    connect(vista->Orden, &Caja::elegido, this, [this](int i) {
        if (ocupado_ || i + 1 == st_.Orden()) return;
        st_.Orden() = static_cast<int16_t>(i + 1);
        CargaEscrutinio();
        CompruebaCarga();
    });

    Tex_Progreso = new TextoLeido(QStringLiteral("Tex_Progreso"), QStringLiteral("Progreso del escrutinio"),
                                  kProgreso, this);

    // The keyboard goes the way the user works: the reduction, the winning
    // column, the prizes, the run, its results, then the buttons.
    QWidget* orden[] = {vista->Jornada,  vista->Orden,   vista->Pic_Ganadora, Tex_Premios[1],
                        Tex_Premios[2],  Tex_Premios[3], Tex_Premios[4],      Tex_Premios[5],
                        Pic_Escrutar,    Lis_Aciertos,   Lis_Boletos,         Pic_Imprimir,
                        Pic_VistaPrevia, Pic_Indice,     Pic_Ayuda,           Pic_Salir};
    for (size_t i = 1; i < std::size(orden); ++i) setTabOrder(orden[i - 1], orden[i]);
    vista->Jornada->setFocus();

    vista->LlenaListas();
    CargaEscrutinio();
    unsetCursor();
}

void escrutin::reject() {
    if (ocupado_) return;
    sv_.Sonar(Sonido::Salida);
    QDialog::reject();
}

void escrutin::CargaEscrutinio() {
    Lis_Aciertos->clear();
    Lis_Boletos->clear();
    LeeJornada(st_);
    cargado_ = st_.RegJornada;
    const EntradasEscrutinio e = EntradasDeRegistro(st_.RegJornada);
    rejilla_ = e.Ganadora;
    for (int k = 1; k <= 5; ++k) {
        Tex_Premios[k]->setText(De1252(e.TextoPremios[k]));
        aceptado_[k] = Tex_Premios[k]->text();
        premios_[k] = e.Premios[k];
    }
    st_.ErrorFichero = 0;
    CargaReduccion(st_);
    vista->Coloca();
    setWindowTitle(QStringLiteral("Escrutinio de columnas reducidas con el ") +
                   De1252(std::string(Recorta(NombreMetodoLargo(st_.Metodo())))));
    update();
}

void escrutin::CompruebaCarga() {
    const bool error = st_.ErrorFichero != 0;
    if (error || !ExisteReduccion(st_, st_.Jornada(), st_.Orden()))
        Mensaje(st_, sv_, this, U(kTituloErrorJornadaOrden), U(kTextoErrorJornadaOrden));
}

void escrutin::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // The load at opening is checked once the window is there to hold the
    // message.
    if (!mostrado_) {
        mostrado_ = true;
        QTimer::singleShot(0, this, [this] {
            if (isVisible()) CompruebaCarga();
        });
    }
}

void escrutin::CierraPremio(int k) {
    QLineEdit* ed = Tex_Premios[k];
    // Left unchanged, a prize stays as the matchday record holds it.
    if (cerrandoPremio_ || ed->text() == aceptado_[k]) return;
    // Amounts read as the command line reads them: "1500000.50" or, as a
    // Spanish player writes, "1.500.000,50". An empty field is no prize.
    const ImporteEscrito leido = ed->text().trimmed().isEmpty() ? ImporteEscrito{"0", ""}
                                                                 : LeeImporteEscrito(Bytes(ed->text()));
    if (!leido.error.empty()) {
        const QString escrito = ed->text();
        ed->setText(aceptado_[k]);
        cerrandoPremio_ = true;
        Mensaje(st_, sv_, this, QStringLiteral("PREMIO NO VÁLIDO"),
                QStringLiteral("No se ha tomado el premio de %1 aciertos: «%2» %3. El campo conserva el "
                               "premio que tenía.")
                    .arg(16 - k)
                    .arg(escrito, U(leido.error)));
        cerrandoPremio_ = false;
        return;
    }
    ed->setText(QString::fromStdString(leido.texto));
    aceptado_[k] = ed->text();
    premios_[k] = ValorPremio(leido.texto);
}

void escrutin::Escruta() {
    if (ocupado_) return;
    // A prize still being typed counts as left.
    for (int k = 1; k <= 5; ++k)
        if (Tex_Premios[k]->hasFocus()) CierraPremio(k);
    sv_.Sonar(Sonido::Boton);
    ocupado_ = true;
    setCursor(Qt::WaitCursor);
    for (BotonImagen* b : {Pic_Escrutar, Pic_Indice, Pic_Salir}) b->PonActivo(false);
    EntradasEscrutinio e;
    e.Ganadora = rejilla_;
    for (int k = 1; k <= 5; ++k) {
        e.TextoPremios[k] = Bytes(Tex_Premios[k]->text());
        e.Premios[k] = premios_[k];
    }
    auto resultado = std::make_shared<ResultadoEscrutinio>();
    corrida_->Empieza(
        [this, e, resultado, cargado = cargado_] {
            *resultado = tobal::Escruta(
                st_, e,
                [this](int porcentaje) {
                    corrida_->EnPantalla([this, porcentaje] {
                        progreso_ = QStringLiteral("Escrutando: %1 %").arg(porcentaje);
                        Tex_Progreso->PonTexto(progreso_);
                        update();
                    });
                },
                cargado);
        },
        [this, resultado] { Termina(*resultado); });
}

void escrutin::Termina(const ResultadoEscrutinio& r) {
    ocupado_ = false;
    progreso_.clear();
    Tex_Progreso->PonTexto(progreso_);
    unsetCursor();
    for (BotonImagen* b : {Pic_Escrutar, Pic_Indice, Pic_Salir}) b->PonActivo(true);
    // The record as stored now: what a second press would replace.
    cargado_ = st_.RegJornada;
    // Every run replaces the tables of the one before.
    Lis_Aciertos->clear();
    Lis_Boletos->clear();
    if (r.fin == FinEscrutinio::Incompleta)
        Mensaje(st_, sv_, this, U(kTituloGanadoraIncompleta), U(kTextoGanadoraIncompleta));
    if (r.fin == FinEscrutinio::Cambiada)
        Mensaje(st_, sv_, this, U(kTituloJornadaCambiada),
                U(TextoJornadaCambiada(st_.Jornada(), CamposJornada::ResultadosYPremios)));
    if (r.fin == FinEscrutinio::Completo) {
        ganadora_ = r.ganadora;
        for (const std::string& fila : r.LisAciertos) Lis_Aciertos->addItem(De1252(fila));
        for (const std::string& fila : r.LisBoletos) Lis_Boletos->addItem(De1252(fila));
        // Every row whole, however large its amount, and room for the
        // scroll bar when the rows do not all fit.
        Lis_Aciertos->setFixedWidth(AnchoLista(Lis_Aciertos, Lis_Aciertos->count() > 1));
        Lis_Boletos->setFixedWidth(AnchoLista(Lis_Boletos, Lis_Boletos->count() > 11));
        Lis_Boletos->move(std::max(kXBoletos, Lis_Aciertos->geometry().right() + 12), kYListas);
        Pic_Imprimir->PonActivo(true);
        Pic_VistaPrevia->PonActivo(true);
    }
    update();
}

void escrutin::DibujaInforme(Impresora& imp) {
    DatosInforme d;
    d.jornada = st_.Jornada();
    d.orden = st_.Orden();
    d.fecha = st_.Datos.FechaJornada;
    d.regJornada = st_.RegJornada;
    d.ganadora = ganadora_;
    d.premios = premios_;
    for (int i = 0; i < Lis_Aciertos->count(); ++i)
        d.aciertos.push_back(Bytes(Lis_Aciertos->item(i)->text()));
    for (int i = 0; i < Lis_Boletos->count(); ++i) d.boletos.push_back(Bytes(Lis_Boletos->item(i)->text()));
    ImprimeInformeEscrutinio(imp, d);
}

void escrutin::Imprime() {
    if (!Pic_Imprimir->Activo() || ocupado_) return;
    sv_.Sonar(Sonido::Boton);
    const auto dibuja = [this](Impresora& imp) { DibujaInforme(imp); };
    Impresora* imp = destino.Abre(windowTitle(), dibuja);
    if (!imp) return;
    {
        PunteroEspera espera;
        dibuja(*imp);
    }
    destino.Cierra();
}

void escrutin::Indice() {
    if (ocupado_ || !vista->EligeEnIndice()) return;
    CargaEscrutinio();
    CompruebaCarga();
}

void escrutin::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    vista->DibujaReduccion(p);
    ImprimeResumen(p, kResumen, st_);
    p.setPen(ColorWin(Color::Amarillo));
    const int y = kYListas - 6;
    CabeceraLista(p, Lis_Aciertos, y - 18,
                  QStringLiteral("--------------------- Escrutinio ---------------------"), 25);
    CabeceraLista(p, Lis_Aciertos, y, QStringLiteral("Aciertos     Columnas         Importe"), 25);
    CabeceraLista(p, Lis_Boletos, y - 18, QStringLiteral("---------- Localización de aciertos ---------"),
                  23);
    CabeceraLista(p, Lis_Boletos, y, QStringLiteral("Boleto nro.    15   14   13   12   11"), 23);
    if (!progreso_.isEmpty()) {
        p.setFont(LetraCampo());
        p.setPen(ColorWin(Color::Blanco));
        p.drawText(kProgreso, Qt::AlignLeft | Qt::AlignVCenter, progreso_);
    }
}

}  // namespace tobal
