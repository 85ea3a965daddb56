#include "screens/DatosGen.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

#include "app/Estado.h"
#include "app/Informador.h"
#include "app/Texto.h"
#include "data/DatosGen.h"
#include "platform/Ayuda.h"
#include "platform/BotonImagen.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "screens/ReglasDatosGen.h"

namespace tobal {

namespace {

constexpr int kAncho = 420;
constexpr int kAlto = 345;
constexpr int kColumnaValor = 190;  // where the value starts inside a field area

const char* const kZonas[DatosGen::kCampos] = {"Campo_TotJor", "Campo_PreApu", "Campo_Delegacion",
                                               "Campo_Receptor", "Campo_Sonido"};
const char* const kEtiquetas[DatosGen::kCampos] = {
    "Total jornadas: ", "Precio apuesta: ", "Código Delegación: ", "Código Receptor: ", "Sonido activado:  "};

QString DeFichero(const std::string& s) { return QString::fromStdString(Cp1252AUtf8(s)); }

// One byte per character, so that positions in the text stay those of the
// line edit; characters outside Latin-1 become "?", which no field accepts.
std::string Bytes(const QString& s) { return s.toLatin1().toStdString(); }

}  // namespace

DatosGen::DatosGen(Estado& st, Servicios& sv, QWidget* padre)
    : QDialog(padre),
      Tex_TotJor(new QLineEdit(this)),
      Tex_PreApu(new QLineEdit(this)),
      Tex_Delegacion(new QLineEdit(this)),
      Tex_Receptor(new QLineEdit(this)),
      Lis_Sonido(new QListWidget(this)),
      Pic_Guardar(new BotonImagen(QStringLiteral("Pic_Guardar"), this)),
      Pic_Ayuda(new BotonImagen(QStringLiteral("Pic_Ayuda"), this)),
      Pic_Salir(new BotonImagen(QStringLiteral("Pic_Salir"), this)),
      st_(st),
      sv_(sv) {
    PreparaPantalla(this, QStringLiteral("DatosGen"), QStringLiteral("Datos generales"),
                    QSize(kAncho, kAlto));
    setMouseTracking(true);

    Tex_TotJor->setObjectName(QStringLiteral("Tex_TotJor"));
    Tex_PreApu->setObjectName(QStringLiteral("Tex_PreApu"));
    Tex_Delegacion->setObjectName(QStringLiteral("Tex_Delegacion"));
    Tex_Receptor->setObjectName(QStringLiteral("Tex_Receptor"));
    Lis_Sonido->setObjectName(QStringLiteral("Lis_Sonido"));
    Tex_TotJor->setMaxLength(2);
    Tex_PreApu->setMaxLength(4);
    Tex_Delegacion->setMaxLength(2);
    Tex_Receptor->setMaxLength(5);
    Lis_Sonido->addItems({QStringLiteral("Si"), QStringLiteral("No")});
    Lis_Sonido->setFont(LetraCampo());

    for (int c = 0; c < kCampos; ++c) {
        QWidget* ed = Editor(c);
        const QRect a = AreaCampo(c);
        if (c == Sonido)
            ed->setGeometry(a.x() + kColumnaValor, a.y() + 2, 60, 44);
        else
            ed->setGeometry(a.x() + kColumnaValor, a.y() + 4, c == Receptor ? 80 : 60, a.height() - 8);
        ed->setFont(LetraCampo());
        ed->installEventFilter(this);
        ed->hide();
    }

    connect(Tex_TotJor, &QLineEdit::textEdited, this, [this](const QString& t) {
        const QString filtrado = QString::fromStdString(FiltraTotJornadas(Bytes(t)));
        if (filtrado != t) Tex_TotJor->setText(filtrado);
    });
    auto filtro = [this](QLineEdit* ed, std::string_view permitidos) {
        connect(ed, &QLineEdit::textEdited, this, [ed, permitidos](const QString& t) {
            const TextoFiltrado f = QuitaCaracteres(Bytes(t), ed->cursorPosition(), permitidos);
            if (f.texto.size() == size_t(t.size())) return;
            ed->setText(QString::fromStdString(f.texto));
            ed->setCursorPosition(f.cursor);
        });
    };
    filtro(Tex_PreApu, kCaracteresPrecio);
    filtro(Tex_Delegacion, kDigitos);
    filtro(Tex_Receptor, kDigitos);
    for (int c : {TotJornadas, PrecioApuesta, Delegacion, Receptor})
        connect(static_cast<QLineEdit*>(Editor(c)), &QLineEdit::returnPressed, this, [this, c] {
            if (abierto_[c]) Alterna(c);
        });
    connect(Lis_Sonido, &QListWidget::itemClicked, this, [this] {
        if (abierto_[Sonido]) Alterna(Sonido);
    });
    connect(Lis_Sonido, &QListWidget::itemActivated, this, [this] {
        if (abierto_[Sonido]) Alterna(Sonido);
    });

    const int yBotones = kAlto - TamBoton - 22;
    Pic_Guardar->move(kAncho - 30 - 3 * TamBoton - 20, yBotones);
    Pic_Ayuda->move(kAncho - 30 - 2 * TamBoton - 10, yBotones);
    Pic_Salir->move(kAncho - 30 - TamBoton, yBotones);
    Pic_Guardar->PonActivo(false);
    connect(Pic_Guardar, &BotonImagen::pulsado, this, [this] { Guarda(); });
    connect(Pic_Ayuda, &BotonImagen::pulsado, this, [this] { sv_.Ayuda(Contexto::DatosGenerales); });
    connect(Pic_Salir, &BotonImagen::pulsado, this, [this] {
        sv_.Sonar(tobal::Sonido::Salida);
        reject();
    });
    // Escape leaves as the exit button does.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { Pic_Salir->Pulsa(); });

    // The keyboard reaches each field through its area, then its editor.
    QWidget* anterior = nullptr;
    for (int c = 0; c < kCampos; ++c) {
        const QString nombre = QString::fromUtf8(kEtiquetas[c]).trimmed().chopped(1);
        zonas_[c] = new ZonaCampo(QString::fromUtf8(kZonas[c]), nombre, AreaCampo(c), this);
        zonas_[c]->valor = [this, c] { return Valor(c).trimmed(); };
        Editor(c)->setAccessibleName(nombre);
        connect(zonas_[c], &BotonImagen::pulsado, this, [this, c] { Alterna(c); });
        if (anterior) setTabOrder(anterior, zonas_[c]);
        setTabOrder(zonas_[c], Editor(c));
        anterior = Editor(c);
    }
    setTabOrder(anterior, Pic_Guardar);
    setTabOrder(Pic_Guardar, Pic_Ayuda);
    setTabOrder(Pic_Ayuda, Pic_Salir);
    zonas_[0]->setFocus();

    CargaEditores();
}

QRect DatosGen::AreaCampo(int campo) { return QRect(30, 62 + campo * 46, 360, 30); }

QWidget* DatosGen::Editor(int campo) const {
    switch (campo) {
        case TotJornadas: return Tex_TotJor;
        case PrecioApuesta: return Tex_PreApu;
        case Delegacion: return Tex_Delegacion;
        case Receptor: return Tex_Receptor;
        default: return Lis_Sonido;
    }
}

QString DatosGen::Valor(int campo) const {
    const DatosGenerales& d = st_.Datos;
    switch (campo) {
        case TotJornadas: return QString::number(d.TotJornadas);
        case PrecioApuesta: return DeFichero(d.PrecioApuesta);
        case Delegacion: return DeFichero(d.Delegacion);
        case Receptor: return DeFichero(d.Receptor);
        default: return DeFichero(d.Sonido);
    }
}

void DatosGen::CargaEditores() {
    for (int c : {TotJornadas, PrecioApuesta, Delegacion, Receptor})
        static_cast<QLineEdit*>(Editor(c))->setText(Valor(c));
    Lis_Sonido->clearSelection();
    Lis_Sonido->setCurrentItem(nullptr);
    for (int i = 0; i < Lis_Sonido->count(); ++i)
        if (Lis_Sonido->item(i)->text() == Valor(Sonido)) Lis_Sonido->setCurrentRow(i);
}

void DatosGen::Alterna(int campo) {
    QWidget* ed = Editor(campo);
    // The state changes before the sound, which lets pending events through.
    if (!abierto_[campo]) {
        abierto_[campo] = true;
        sv_.Sonar(tobal::Sonido::Abre);
        update();
        ed->show();
        ed->setFocus();
    } else {
        abierto_[campo] = false;
        sv_.Sonar(tobal::Sonido::Cierra);
        const bool conFoco = ed->hasFocus();
        ed->hide();
        if (conFoco) zonas_[campo]->setFocus();
        Aplica(campo);
        update();
    }
}

void DatosGen::Aplica(int campo) {
    DatosGenerales& d = st_.Datos;
    switch (campo) {
        case TotJornadas: {
            const int v = CierraTotJornadas(Bytes(Tex_TotJor->text()));
            if (v != d.TotJornadas) Pic_Guardar->PonActivo(true);
            d.TotJornadas = static_cast<int16_t>(v);
            Tex_TotJor->setText(QString::number(v));
            break;
        }
        case PrecioApuesta:
            // A new price alone does not enable saving.
            PonPrecioApuesta(st_, NormalizaPrecio(Bytes(Tex_PreApu->text())));
            Tex_PreApu->setText(DeFichero(d.PrecioApuesta));
            break;
        case Delegacion:
        case Receptor: {
            QLineEdit* ed = static_cast<QLineEdit*>(Editor(campo));
            const size_t ancho = campo == Delegacion ? 2 : 5;
            const std::string texto = CerosDelante(Bytes(ed->text()), ancho);
            std::string& actual = campo == Delegacion ? d.Delegacion : d.Receptor;
            if (ValEntero(texto) != ValEntero(actual)) Pic_Guardar->PonActivo(true);
            if (campo == Delegacion)
                PonDelegacion(st_, texto);
            else
                PonReceptor(st_, texto);
            ed->setText(DeFichero(actual));
            break;
        }
        default: {
            const QList<QListWidgetItem*> elegidos = Lis_Sonido->selectedItems();
            if (elegidos.isEmpty()) break;
            const std::string s = Utf8ACp1252(elegidos.front()->text().toStdString());
            if (s != d.Sonido) Pic_Guardar->PonActivo(true);
            PonSonido(st_, s);
            break;
        }
    }
}

void DatosGen::Guarda() {
    PunteroEspera espera;
    sv_.Sonar(tobal::Sonido::Boton);
    if (const int error = GrabaDatosGen(st_); error != 0) {
        // The button stays enabled so that the user can try again.
        if (st_.informador)
            st_.informador->ErrorFichero(
                "No se ha podido grabar el fichero de datos generales DATOSGEN.TBX "
                "(error " +
                std::to_string(error) + ").");
        return;
    }
    Pic_Guardar->PonActivo(false);
}

void DatosGen::done(int resultado) {
    if (!cerrado_) {
        // Whatever was edited but not saved is dropped: the stored settings
        // come back.
        cerrado_ = true;
        abierto_.fill(false);
        LeeDatosGen(st_);
        if (st_.Jornada() > st_.Datos.TotJornadas) st_.Jornada() = st_.Datos.TotJornadas;
    }
    QDialog::done(resultado);
}

void DatosGen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    EscribeRotulo(p, 30, 20, QStringLiteral("DATOS GENERALES"));
    for (int c = 0; c < kCampos; ++c) {
        const QRect a = AreaCampo(c);
        DibujaCampo(p, a, QString::fromUtf8(kEtiquetas[c]), Valor(c), kColumnaValor);
        if (abierto_[c]) MarcaPulsado(p, a);
    }
}

void DatosGen::mousePressEvent(QMouseEvent* e) {
    e->accept();
    const QPoint pt = e->position().toPoint();
    for (int c = 0; c < kCampos; ++c)
        if (AreaCampo(c).contains(pt)) {
            Alterna(c);
            return;
        }
}

void DatosGen::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    bool sobreCampo = false;
    for (int c = 0; c < kCampos; ++c) sobreCampo = sobreCampo || AreaCampo(c).contains(pt);
    if (sobreCampo)
        PonCursor(this, QStringLiteral("ManoIndice"));
    else
        unsetCursor();
}

bool DatosGen::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::FocusOut && !cerrado_) {
        const auto razon = static_cast<QFocusEvent*>(evento)->reason();
        // Switching to another window is not leaving the field.
        if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason) {
            for (int c = 0; c < kCampos; ++c)
                if (Editor(c) == objeto && abierto_[c] && Editor(c)->isVisible()) {
                    Alterna(c);
                    break;
                }
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

}  // namespace tobal
