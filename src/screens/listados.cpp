#include "screens/listados.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>

#include "app/Estado.h"
#include "app/Texto.h"
#include "output/Boletos.h"
#include "output/Continuo.h"
#include "output/Disco.h"
#include "output/Impresora.h"
#include "output/ResumenImpreso.h"
#include "platform/Ayuda.h"
#include "platform/BotonImagen.h"
#include "platform/Colores.h"
#include "platform/Dibujo.h"
#include "platform/ImpresoraQt.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "platform/TextoLeido.h"
#include "screens/Corrida.h"
#include "screens/mensajes.h"

namespace tobal {

namespace {

constexpr int kAncho = 600;
constexpr int kAlto = 420;
constexpr int kColumnaValor = 200;  // where a field's value starts inside its area
const QRect kPanel(30, 300, 330, 34);
const QRect kAviso(30, kPanel.bottom() + 8, 340, 40);

QRect AreaCampo(int i) { return QRect(30, 66 + i * 44, 330, 30); }

// Button places along the bottom, 1 the rightmost.
QPoint Hueco(int k) { return QPoint(kAncho - 30 - k * TamBoton - (k - 1) * 10, kAlto - TamBoton - 22); }

QString U(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string Bytes(const QString& s) { return s.toLatin1().toStdString(); }

const char* const kOrigen =
    "Los márgenes, en décimas de milímetro, se cuentan desde la esquina superior izquierda del área "
    "que la impresora puede imprimir; en un fichero PDF, desde la esquina del papel.";

// The copy's questions and lines, asked from the worker and answered on the
// screen's thread.
class DialogoPantalla : public DialogoDisco {
public:
    std::function<bool(const std::string&, const std::string&)> pide;
    std::function<void(const std::string&, const std::string&)> mensaje;
    std::function<void(const std::string&)> panel;
    const std::atomic<bool>* cancelado = nullptr;

    bool PideDisco(const std::string& titulo, const std::string& texto) override {
        return pide(titulo, texto);
    }
    void Mensaje(const std::string& titulo, const std::string& texto) override { mensaje(titulo, texto); }
    void Panel(const std::string& texto) override { panel(texto); }
    bool Cancelado() override { return cancelado->load(); }
};

}  // namespace

QString TituloSalida(int tipoSalida) {
    switch (tipoSalida) {
        case Salida::Boletos: return QStringLiteral("Imprimir boletos oficiales");
        case Salida::Relacion: return QStringLiteral("Imprimir relación de boletos");
        case Salida::Disco: return QStringLiteral("Copiar boletos a disco");
        case Salida::Continuo: return QStringLiteral("Imprimir boletos en papel continuo");
        default: return QStringLiteral("Imprimir los datos básicos de la reducción");
    }
}

Listados::Listados(Estado& st, Servicios& sv, QWidget* padre)
    : QDialog(padre),
      destino(st, sv, this),
      Tex_BolIni(new QLineEdit(this)),
      Tex_BolFin(new QLineEdit(this)),
      Tex_Copias(new QLineEdit(this)),
      Tex_MarIzq(new QLineEdit(this)),
      Tex_MarSup(new QLineEdit(this)),
      Lis_AnchoPapel(new QListWidget(this)),
      Lis_Unidad(new QListWidget(this)),
      Chk_PruImp(new QCheckBox(QStringLiteral("Boleto de prueba"), this)),
      Pic_Orientacion(new BotonImagen(QStringLiteral("Pic_Orientacion"), this)),
      Pic_Imprimir(new BotonImagen(QStringLiteral("Pic_Imprimir"), this)),
      Pic_VistaPrevia(new BotonImagen(QStringLiteral("Pic_VistaPrevia"), this)),
      Pic_Copiar(new BotonImagen(QStringLiteral("Pic_Copiar"), this)),
      Pic_Repetir(new BotonImagen(QStringLiteral("Pic_Repetir"), this)),
      Pic_Siguiente(new BotonImagen(QStringLiteral("Pic_Siguiente"), this)),
      Pic_Cancelar(new BotonImagen(QStringLiteral("Pic_Cancelar"), this)),
      Pic_Ayuda(new BotonImagen(QStringLiteral("Pic_Ayuda"), this)),
      Pic_Salir(new BotonImagen(QStringLiteral("Pic_Salir"), this)),
      st_(st),
      sv_(sv),
      tipo_(st.TipoSalida),
      l_(AbreListado(st.NumBoletos)),
      corrida_(new Corrida(st, this)) {
    PreparaPantalla(this, QStringLiteral("listados"), TituloSalida(tipo_), QSize(kAncho, kAlto));

    eligeCarpeta = [this] {
        return QFileDialog::getExistingDirectory(this,
                                                 QStringLiteral("Carpeta de destino del archivo AD243"));
    };

    struct Nombre {
        QWidget* w;
        const char *objeto, *accesible;
    };
    for (const Nombre& n :
         {Nombre{Tex_BolIni, "Tex_BolIni", "Boleto inicial"},
          Nombre{Tex_BolFin, "Tex_BolFin", "Boleto final"},
          Nombre{Tex_Copias, "Tex_Copias", "Copias a imprimir"},
          Nombre{Tex_MarIzq, "Tex_MarIzq", "Margen izquierdo"},
          Nombre{Tex_MarSup, "Tex_MarSup", "Margen superior"},
          Nombre{Lis_AnchoPapel, "Lis_AnchoPapel", "Ancho del papel"},
          Nombre{Lis_Unidad, "Lis_Unidad", "Unidad de destino"},
          Nombre{Chk_PruImp, "Chk_PruImp", "Imprimir el boleto de prueba"},
          Nombre{Pic_Orientacion, "Pic_Orientacion", "Orientación del boleto"},
          Nombre{Pic_Imprimir, "Pic_Imprimir", "Imprimir"},
          Nombre{Pic_VistaPrevia, "Pic_VistaPrevia", "Vista previa"},
          Nombre{Pic_Copiar, "Pic_Copiar", "Copiar"}, Nombre{Pic_Repetir, "Pic_Repetir", "Repetir el boleto"},
          Nombre{Pic_Siguiente, "Pic_Siguiente", "Boleto siguiente"},
          Nombre{Pic_Cancelar, "Pic_Cancelar", "Cancelar"}, Nombre{Pic_Ayuda, "Pic_Ayuda", "Ayuda"},
          Nombre{Pic_Salir, "Pic_Salir", "Salir"}}) {
        n.w->setObjectName(QString::fromUtf8(n.objeto));
        n.w->setAccessibleName(QString::fromUtf8(n.accesible));
        n.w->hide();
    }

    // The fields of this output, each with its editor over its area.
    auto texto = [this](QLineEdit* ed, const char* etiqueta) {
        campos_.push_back({ed, QString::fromUtf8(etiqueta), AreaCampo(static_cast<int>(campos_.size()))});
    };
    switch (tipo_) {
        case Salida::Resumen: texto(Tex_Copias, "Copias a imprimir:"); break;
        case Salida::Disco:
            campos_.push_back({Lis_Unidad, QStringLiteral("Unidad de destino:  "), AreaCampo(0)});
            break;
        default:
            texto(Tex_BolIni, "Boleto Inicial: ");
            texto(Tex_BolFin, "Boleto Final: ");
            if (tipo_ == Salida::Relacion)
                campos_.push_back({Lis_AnchoPapel, QStringLiteral("Ancho del papel: "), AreaCampo(2)});
            else {
                texto(Tex_MarIzq, "Margen Izquierdo: ");
                texto(Tex_MarSup, "Margen Superior: ");
            }
    }
    const int largoBoleto = static_cast<int>(LongitudCampoBoleto(l_.NumBoletos));
    Tex_BolIni->setMaxLength(largoBoleto);
    Tex_BolFin->setMaxLength(largoBoleto);
    for (QLineEdit* ed : {Tex_Copias, Tex_MarIzq, Tex_MarSup}) ed->setMaxLength(3);
    Tex_BolIni->setText(QString::number(l_.BoletoInicial));
    Tex_BolFin->setText(QString::number(l_.BoletoFinal));
    Tex_Copias->setText(QString::number(l_.Copias));
    const bool hoja = tipo_ == Salida::Boletos;
    Tex_MarIzq->setText(QString::number(hoja ? st_.Datos.AjusteXHoja : st_.Datos.AjusteXContinuo));
    Tex_MarSup->setText(QString::number(hoja ? st_.Datos.AjusteYHoja : st_.Datos.AjusteYContinuo));

    for (QLineEdit* ed : {Tex_BolIni, Tex_BolFin, Tex_Copias, Tex_MarIzq, Tex_MarSup}) {
        ed->setFont(LetraCampo());
        connect(ed, &QLineEdit::textEdited, this, [this, ed](const QString& t) {
            const std::string b = Bytes(t);
            std::string f;
            if (ed == Tex_BolIni || ed == Tex_BolFin)
                f = FiltraBoleto(b, l_.NumBoletos);
            else if (ed == Tex_Copias)
                f = FiltraCopias(b);
            else
                f = FiltraMargen(b);
            if (f == b) return;
            const int cursor = ed->cursorPosition();
            ed->setText(QString::fromStdString(f));
            ed->setCursorPosition(std::min<int>(cursor, static_cast<int>(f.size())));
        });
        connect(ed, &QLineEdit::editingFinished, this, [this, ed] { CierraCampo(ed); });
    }

    Lis_AnchoPapel->addItems({QString::fromUtf8(kPapelEstrecho), QString::fromUtf8(kPapelAncho)});
    Lis_AnchoPapel->setCurrentRow(0);
    connect(Lis_AnchoPapel, &QListWidget::currentRowChanged, this, [this](int fila) {
        if (fila >= 0) l_.AnchoPapel = static_cast<int16_t>(fila);
        update();
    });
    connect(Lis_Unidad, &QListWidget::currentRowChanged, this, [this](int fila) { EligeUnidad(fila); });
    for (QListWidget* lista : {Lis_AnchoPapel, Lis_Unidad}) lista->setFont(LetraCampo());
    if (tipo_ == Salida::Disco) PonUnidades(UnidadesExtraibles());

    // Orientation: the picture shows the ticket as the layout draws it.
    auto imagenOrientacion = [this] {
        const bool apaisado = st_.Datos.Orientacion == 2;
        Pic_Orientacion->PonImagen(ImagenBoton(QStringLiteral("Pic_Orientacion%1").arg(apaisado ? 2 : 1)));
        // The picture tells the eye; the description tells a screen reader.
        Pic_Orientacion->setAccessibleDescription(apaisado ? QStringLiteral("Boleto apaisado")
                                                           : QStringLiteral("Boleto vertical"));
    };
    imagenOrientacion();
    connect(Pic_Orientacion, &BotonImagen::pulsado, this, [this, imagenOrientacion] {
        sv_.Sonar(Sonido::Boton);
        st_.Datos.Orientacion = static_cast<int16_t>(3 - st_.Datos.Orientacion);
        imagenOrientacion();
        update();
    });

    Tex_Panel = new TextoLeido(QStringLiteral("Tex_Panel"), QStringLiteral("Progreso"), kPanel, this);
    Tex_Aviso = new TextoLeido(QStringLiteral("Tex_Aviso"), QStringLiteral("Resultado"), kAviso, this);
    ColocaCampos();
    Chk_PruImp->setGeometry(390, 66, 190, 24);
    Chk_PruImp->setFont(LetraCampo());
    Chk_PruImp->setStyleSheet(QStringLiteral("QCheckBox { color: white; }"));
    Pic_Orientacion->move(510, 104);
    Chk_PruImp->setVisible(tipo_ == Salida::Boletos || tipo_ == Salida::Continuo);
    Pic_Orientacion->setVisible(hoja);

    Pic_Imprimir->move(Hueco(4));
    Pic_Copiar->move(Hueco(3));
    Pic_Cancelar->move(Hueco(4));
    Pic_VistaPrevia->move(Hueco(3));
    Pic_Repetir->move(Hueco(3));
    Pic_Ayuda->move(Hueco(2));
    Pic_Siguiente->move(Hueco(2));
    Pic_Salir->move(Hueco(1));
    MuestraBotones(false);

    connect(Pic_Imprimir, &BotonImagen::pulsado, this, [this] { Imprime(); });
    connect(Pic_VistaPrevia, &BotonImagen::pulsado, this, [this] { VistaPreviaSalida(); });
    connect(Pic_Copiar, &BotonImagen::pulsado, this, [this] { Copia(); });
    connect(Pic_Repetir, &BotonImagen::pulsado, this, [this] {
        sv_.Sonar(Sonido::Boton);
        ImprimeBoleto();
    });
    connect(Pic_Siguiente, &BotonImagen::pulsado, this, [this] {
        sv_.Sonar(Sonido::Boton);
        if (!hoja_) return;
        hoja_->Avanza();
        SiguienteBoleto();
    });
    connect(Pic_Cancelar, &BotonImagen::pulsado, this, [this] {
        sv_.Sonar(Sonido::Boton);
        Cancela();
    });
    connect(Pic_Ayuda, &BotonImagen::pulsado, this, [this] { sv_.Ayuda(Contexto::Listados + 10 * tipo_); });
    connect(Pic_Salir, &BotonImagen::pulsado, this, [this] { reject(); });
    if (!campos_.empty()) campos_.front().editor->setFocus();
}

Listados::~Listados() = default;

void Listados::ColocaCampos() {
    for (const Campo& c : campos_) {
        c.editor->show();
        if (auto* lista = qobject_cast<QListWidget*>(c.editor)) {
            // A list opens below its label, as high as its entries.
            const int filas = std::max(lista->count(), 1);
            lista->setGeometry(c.area.x() + 10, c.area.bottom() + 4, c.area.width() - 20,
                               filas * lista->sizeHintForRow(0) + 2 * lista->frameWidth());
        } else {
            c.editor->setGeometry(c.area.x() + kColumnaValor, c.area.y() + 4, 70, c.area.height() - 8);
        }
    }
}

void Listados::PonUnidades(std::vector<UnidadDisco> unidades) {
    if (unidades.empty() || !unidades.back().carpeta.isEmpty())
        unidades.push_back({QString::fromUtf8(kOtraCarpeta), QString()});
    unidades_ = std::move(unidades);
    const QSignalBlocker bloqueo(Lis_Unidad);
    Lis_Unidad->clear();
    for (const UnidadDisco& u : unidades_) Lis_Unidad->addItem(u.nombre);
    filaUnidad_ = 0;
    Lis_Unidad->setCurrentRow(0);
    ColocaCampos();
}

UnidadDisco Listados::UnidadDestino() const {
    if (filaUnidad_ < 0 || filaUnidad_ >= static_cast<int>(unidades_.size())) return {};
    return unidades_[static_cast<size_t>(filaUnidad_)];
}

void Listados::EligeUnidad(int fila) {
    if (fila < 0 || fila >= static_cast<int>(unidades_.size())) return;
    if (!unidades_[static_cast<size_t>(fila)].carpeta.isEmpty()) {
        filaUnidad_ = fila;
        update();
        return;
    }
    // The folder-choosing entry: the folder picked becomes an entry of its
    // own, just above it.
    const QString carpeta = eligeCarpeta ? eligeCarpeta() : QString();
    const QSignalBlocker bloqueo(Lis_Unidad);
    if (carpeta.isEmpty()) {
        Lis_Unidad->setCurrentRow(filaUnidad_);
        return;
    }
    const auto pos = unidades_.begin() + fila;
    unidades_.insert(pos, {QDir::toNativeSeparators(carpeta), carpeta});
    Lis_Unidad->insertItem(fila, unidades_[static_cast<size_t>(fila)].nombre);
    filaUnidad_ = fila;
    Lis_Unidad->setCurrentRow(fila);
    ColocaCampos();
    update();
}

void Listados::CierraCampo(QLineEdit* ed) {
    const std::string t = Bytes(ed->text());
    const bool hoja = tipo_ == Salida::Boletos;
    if (ed == Tex_BolIni)
        CierraBoletoInicial(l_, t);
    else if (ed == Tex_BolFin)
        CierraBoletoFinal(l_, t);
    else if (ed == Tex_Copias)
        CierraCopias(l_, t);
    else if (ed == Tex_MarIzq)
        (hoja ? st_.Datos.AjusteXHoja : st_.Datos.AjusteXContinuo) = CierraMargen(t);
    else if (ed == Tex_MarSup)
        (hoja ? st_.Datos.AjusteYHoja : st_.Datos.AjusteYContinuo) = CierraMargen(t);
    Tex_BolIni->setText(QString::number(l_.BoletoInicial));
    Tex_BolFin->setText(QString::number(l_.BoletoFinal));
    Tex_Copias->setText(QString::number(l_.Copias));
    Tex_MarIzq->setText(QString::number(hoja ? st_.Datos.AjusteXHoja : st_.Datos.AjusteXContinuo));
    Tex_MarSup->setText(QString::number(hoja ? st_.Datos.AjusteYHoja : st_.Datos.AjusteYContinuo));
}

void Listados::MuestraBotones(bool corriendo) {
    const bool disco = tipo_ == Salida::Disco;
    const QWidget* antes = focusWidget();
    Pic_Imprimir->setVisible(!corriendo && !disco);
    Pic_VistaPrevia->setVisible(!corriendo && !disco);
    Pic_Copiar->setVisible(!corriendo && disco);
    Pic_Ayuda->setVisible(!corriendo);
    Pic_Salir->setVisible(!corriendo);
    Pic_Cancelar->setVisible(corriendo);
    Pic_Repetir->setVisible(corriendo && hoja_);
    Pic_Siguiente->setVisible(corriendo && hoja_);
    for (const Campo& c : campos_) c.editor->setEnabled(!corriendo);
    Pic_Orientacion->PonActivo(!corriendo);
    Chk_PruImp->setEnabled(!corriendo);
    // The keyboard goes to what can be done next, not to where hiding the
    // pressed button happened to leave it.
    if (corriendo)
        (hoja_ ? Pic_Siguiente : Pic_Cancelar)->setFocus();
    else if (antes == Pic_Cancelar || antes == Pic_Repetir || antes == Pic_Siguiente || antes == Pic_Salir)
        (disco ? Pic_Copiar : Pic_Imprimir)->setFocus();
    if (corriendo)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void Listados::PonPanel(const QString& texto) {
    panel_ = texto;
    Tex_Panel->PonTexto(texto.trimmed());
    update();
}

void Listados::MensajeEsperando(const std::string& titulo, const std::string& texto) {
    corrida_->EnPantallaEspera([this, titulo, texto] { Mensaje(st_, sv_, this, U(titulo), U(texto)); });
}

ControlImpresion Listados::Control() {
    // The runs print on this thread (the printer's fonts and pages belong to
    // it) and let the window's events through once per step, so the window
    // repaints and Cancelar acts before the next step.
    ControlImpresion ctl;
    ctl.progreso = [this](const std::string& t) {
        PonPanel(U(t));
        QCoreApplication::processEvents();
    };
    ctl.cancelado = &corrida_->cancelado;
    ctl.mensaje = [this](const std::string& titulo, const std::string& texto) {
        Mensaje(st_, sv_, this, U(titulo), U(texto));
    };
    return ctl;
}

void Listados::Imprime() {
    if (imprimiendo_ || tipo_ == Salida::Disco) return;
    // A field still being edited counts as closed.
    if (auto* ed = qobject_cast<QLineEdit*>(focusWidget())) CierraCampo(ed);
    sv_.Sonar(Sonido::Boton);
    Impresora* imp = destino.Abre(TituloSalida(tipo_), [this](Impresora& i) { DibujaSalida(i); });
    if (!imp) return;
    imp_ = imp;
    imprimiendo_ = true;
    aviso_.clear();
    Tex_Aviso->PonTexto(QString());
    corrida_->cancelado = false;
    if (tipo_ == Salida::Boletos) {
        EmpiezaHoja(*imp);
        return;
    }
    MuestraBotones(true);
    PonPanel(QStringLiteral(" "));
    const ControlImpresion ctl = Control();
    switch (tipo_) {
        case Salida::Resumen: ImprimeResumenReduccion(st_, *imp, l_, ctl); break;
        case Salida::Relacion: ImprimeRelacion(st_, *imp, l_, ctl); break;
        default: ImpriContinuo(st_, *imp, l_, Chk_PruImp->isChecked(), ctl); break;
    }
    Termina();
}

void Listados::EmpiezaHoja(Impresora& imp) {
    if (Chk_PruImp->isChecked()) {
        PunteroEspera espera;
        ImprimePruebaHoja(st_, imp, l_);
        Termina();
        return;
    }
    hoja_ = std::make_unique<CorridaHoja>(st_, l_);
    if (!hoja_->Abre()) {
        Termina();
        return;
    }
    Chk_PruImp->hide();
    MuestraBotones(true);
    PonPanel(QStringLiteral(" "));
    if (st_.ReduccionActual.ApuestasReducidas % 8 == 1)
        Mensaje(st_, sv_, this, U(kTituloUltimoIncompleto), U(kTextoUltimoIncompleto));
    SiguienteBoleto();
}

void Listados::SiguienteBoleto() {
    if (!hoja_) return;
    if (!hoja_->QuedaBoleto()) {
        Termina();
        return;
    }
    hoja_->Lee();
    PonPanel(QStringLiteral("Imprimiendo el boleto nro. %1").arg(l_.BoletoActual));
    if (hoja_->Ultimo()) {
        Pic_Siguiente->hide();
        Pic_Salir->show();
        Pic_Salir->setFocus();
    }
    ImprimeBoleto();
}

void Listados::ImprimeBoleto() {
    if (!hoja_ || !imp_) return;
    {
        PunteroEspera espera;
        hoja_->Imprime(*imp_);
    }
    if (imp_->Fallo()) Termina();
}

void Listados::Cancela() {
    if (!imprimiendo_) return;
    corrida_->cancelado = true;
    if (hoja_) Termina();
}

void Listados::Termina() {
    const bool fallo = imp_ && imp_->Fallo();
    const bool cancelado = corrida_->cancelado.load();
    hoja_.reset();
    imp_ = nullptr;
    if (tipo_ == Salida::Disco)
        aviso_ = panel_;
    else if (fallo)
        aviso_ = QStringLiteral("No se ha podido imprimir.");
    else if (cancelado)
        aviso_ = QStringLiteral("Se ha cancelado la impresión.");
    PonPanel(QString());
    Tex_Aviso->PonTexto(aviso_.trimmed());
    imprimiendo_ = false;
    MuestraBotones(false);
    Chk_PruImp->setVisible(tipo_ == Salida::Boletos || tipo_ == Salida::Continuo);
    update();
    if (tipo_ != Salida::Disco) destino.Cierra();
}

void Listados::DibujaSalida(Impresora& imp) {
    // Everything at once: no waits between tickets, no cancel.
    Listado l = l_;
    ControlImpresion ctl;
    ctl.mensaje = [this](const std::string& titulo, const std::string& texto) {
        Mensaje(st_, sv_, this, U(titulo), U(texto));
    };
    const bool prueba = Chk_PruImp->isChecked();
    switch (tipo_) {
        case Salida::Resumen: ImprimeResumenReduccion(st_, imp, l, ctl); break;
        case Salida::Boletos: ImprimeBoletosHoja(st_, imp, l, prueba, ctl); break;
        case Salida::Relacion:
            if (auto* qt = dynamic_cast<ImpresoraQt*>(&imp); qt && l.AnchoPapel == 1)
                qt->PonPaginaPdf(350, 297);
            ImprimeRelacion(st_, imp, l, ctl);
            break;
        case Salida::Continuo: ImpriContinuo(st_, imp, l, prueba, ctl); break;
        default: break;
    }
}

void Listados::VistaPreviaSalida() {
    if (imprimiendo_ || tipo_ == Salida::Disco) return;
    if (auto* ed = qobject_cast<QLineEdit*>(focusWidget())) CierraCampo(ed);
    sv_.Sonar(Sonido::Boton);
    destino.VistaPrevia(TituloSalida(tipo_), [this](Impresora& imp) { DibujaSalida(imp); });
}

void Listados::Copia() {
    if (imprimiendo_ || tipo_ != Salida::Disco) return;
    const UnidadDisco u = UnidadDestino();
    if (u.carpeta.isEmpty()) {
        // Only the folder-choosing entry, and no folder chosen.
        EligeUnidad(filaUnidad_);
        if (UnidadDestino().carpeta.isEmpty()) return;
    }
    sv_.Sonar(Sonido::Boton);
    imprimiendo_ = true;
    aviso_.clear();
    Tex_Aviso->PonTexto(QString());
    MuestraBotones(true);
    PonPanel(QStringLiteral(" "));
    const UnidadDisco unidad = UnidadDestino();
    DestinoDisco d{unidad.nombre.toStdString(), std::filesystem::path(unidad.carpeta.toStdString()), false};
    auto dialogo = std::make_shared<DialogoPantalla>();
    dialogo->cancelado = &corrida_->cancelado;
    dialogo->panel = [this](const std::string& t) { corrida_->EnPantalla([this, t] { PonPanel(U(t)); }); };
    dialogo->mensaje = [this](const std::string& titulo, const std::string& texto) {
        MensajeEsperando(titulo, texto);
    };
    dialogo->pide = [this](const std::string& titulo, const std::string& texto) {
        bool copiar = false;
        corrida_->EnPantallaEspera([&] {
            st_.PulsoCopiar = Falso;
            Mensaje(st_, sv_, this, U(titulo), U(texto), BotonMensaje::Copiar);
            copiar = st_.PulsoCopiar != Falso;
        });
        return copiar;
    };
    corrida_->Empieza([this, d, dialogo] { CopiaDisco(st_, d, *dialogo); }, [this] { Termina(); });
}

void Listados::reject() {
    sv_.Sonar(Sonido::Salida);
    if (imprimiendo_) {
        // Leaving during a run only stops it.
        Cancela();
        return;
    }
    QDialog::reject();
}

void Listados::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    EscribeRotulo(p, 30, 20, TituloSalida(tipo_));
    for (const Campo& c : campos_) {
        // A list's field shows the entry taken, from just after its label;
        // a text box shows itself.
        auto* lista = qobject_cast<QListWidget*>(c.editor);
        if (!lista) {
            DibujaCampo(p, c.area, c.etiqueta, QString(), kColumnaValor);
            continue;
        }
        const QFontMetrics fm(LetraCampo());
        const int columna = fm.horizontalAdvance(c.etiqueta) + 16;
        const QString valor = lista == Lis_Unidad ? UnidadDestino().nombre
                              : lista->currentItem() ? lista->currentItem()->text()
                                                     : QString();
        DibujaCampo(p, c.area, c.etiqueta, fm.elidedText(valor, Qt::ElideRight, c.area.width() - columna - 9),
                    columna);
    }
    p.setFont(LetraCampo());
    p.setPen(ColorWin(Color::Blanco));
    if (tipo_ == Salida::Boletos)
        p.drawText(QRect(390, 104, 115, 40), Qt::AlignVCenter | Qt::AlignLeft,
                   QStringLiteral("Orientación:"));
    if (tipo_ == Salida::Boletos || tipo_ == Salida::Continuo) {
        QFont f = LetraCampo();
        f.setBold(false);
        f.setPixelSize(12);
        p.setFont(f);
        p.drawText(QRect(30, 66 + 4 * 44, 540, 44), Qt::TextWordWrap, QString::fromUtf8(kOrigen));
    }
    if (!panel_.isEmpty()) {
        // The progress panel: a red frame with a green bar.
        p.fillRect(kPanel, ColorWin(Color::Rojo));
        p.fillRect(kPanel.adjusted(3, 3, -3, -3), ColorWin(Color::Verde));
        p.setFont(LetraCampo());
        p.setPen(ColorWin(Color::Negro));
        p.drawText(kPanel.adjusted(10, 0, -10, 0), Qt::AlignVCenter | Qt::AlignLeft, panel_.trimmed());
    }
    if (!aviso_.isEmpty()) {
        p.setFont(LetraCampo());
        p.setPen(ColorWin(Color::Amarillo));
        p.drawText(kAviso, Qt::TextWordWrap, aviso_.trimmed());
    }
}

}  // namespace tobal
