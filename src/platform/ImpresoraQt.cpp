#include "platform/ImpresoraQt.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPen>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

#include "app/Texto.h"

namespace tobal {

namespace {

// Line widths are given in pixels of a common laser printer.
constexpr double kPuntosPorPulgadaPluma = 600;

// A PDF file has no unprintable edge: its printable origin is the corner
// of the paper, so a layout lands on its page where it says, measured from
// the paper's edge.
void SinMargenes(QPrinter* p) {
    p->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    p->setFullPage(true);
}

// On a printer the origin is the corner of the area it can print on, as the
// printer reports it for the page size in use (zero for one without
// unprintable edges): Qt's own default margins (10 pt) would move every
// layout. The printable area depends on the page size, so this follows
// every change of it.
void MargenesDelDispositivo(QPrinter* p) {
    if (p->outputFormat() == QPrinter::PdfFormat) return SinMargenes(p);
    const QPageLayout capa = p->pageLayout();
    p->setPageMargins(capa.minimumMargins(), capa.units());
    p->setFullPage(false);
}

}  // namespace

void InstalaSustitucionesFuentes() {
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

ImpresoraQt::ImpresoraQt(QPrinter* impresora, bool propia, bool unDocumento)
    : impresora_(impresora), propia_(propia), unDocumento_(unDocumento) {
    InstalaSustitucionesFuentes();
    esPdf_ = impresora_->outputFormat() == QPrinter::PdfFormat;
    MargenesDelDispositivo(impresora_);
}

ImpresoraQt::ImpresoraQt(QPrinter* impresora) : ImpresoraQt(impresora, false, true) {}

std::unique_ptr<ImpresoraQt> ImpresoraQt::Predeterminada() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    auto* p = new QPrinter(info, QPrinter::HighResolution);
    return std::unique_ptr<ImpresoraQt>(new ImpresoraQt(p, true, false));
}

std::unique_ptr<ImpresoraQt> ImpresoraQt::Pdf(const QString& fichero) {
    auto* p = new QPrinter(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setOutputFileName(fichero);
    // The resolution of a common laser printer.
    p->setResolution(600);
    p->setPageSize(QPageSize(QPageSize::A4));
    return std::unique_ptr<ImpresoraQt>(new ImpresoraQt(p, true, true));
}

ImpresoraQt::~ImpresoraQt() {
    Termina();
    if (propia_) delete impresora_;
}

void ImpresoraQt::Termina() {
    if (pintor_.isActive()) pintor_.end();
}

void ImpresoraQt::PonPaginaPdf(double anchoMm, double altoMm) { CambiaPagina(anchoMm, altoMm); }

bool ImpresoraQt::CambiaPagina(const QPageSize& pagina) {
    const bool bien = impresora_->setPageSize(pagina);
    MargenesDelDispositivo(impresora_);
    return bien;
}

bool ImpresoraQt::CambiaPagina(double anchoMm, double altoMm) {
    return CambiaPagina(QPageSize(QSizeF(anchoMm, altoMm), QPageSize::Millimeter, QStringLiteral("Tobal31"),
                                  QPageSize::ExactMatch));
}

int ImpresoraQt::PaperSize(int papel) {
    if (papel == kPapelUsuario) {
        if (esPdf_ || impresora_->outputFormat() != QPrinter::NativeFormat) return 0;
        return QPrinterInfo(*impresora_).supportsCustomPageSizes() ? 0 : kErrorPropiedad;
    }
    if (papel == kPapelA4) return CambiaPagina(QPageSize(QPageSize::A4)) ? 0 : kErrorPropiedad;
    return kErrorPropiedad;
}

int ImpresoraQt::Height() const {
    const QRectF r = impresora_->pageLayout().fullRect(QPageLayout::Millimeter);
    return static_cast<int>(std::lround(r.height() * kTwipsPorMilimetro));
}

int ImpresoraQt::Height(int twips) {
    if (twips <= 0) return kErrorPropiedad;
    const QRectF r = impresora_->pageLayout().fullRect(QPageLayout::Millimeter);
    return CambiaPagina(r.width(), twips / kTwipsPorMilimetro) ? 0 : kErrorPropiedad;
}

void ImpresoraQt::IniciaTrabajo() {
    if (unDocumento_ && pintor_.isActive()) {
        impresora_->newPage();
    } else {
        if (!pintor_.begin(impresora_)) {
            fallo_ = true;
            return;
        }
        pintor_.setRenderHint(QPainter::Antialiasing, true);
        pintor_.setRenderHint(QPainter::TextAntialiasing, true);
    }
}

void ImpresoraQt::PaginaSiguiente() {
    if (pintor_.isActive()) impresora_->newPage();
}

void ImpresoraQt::TerminaTrabajo() {
    ++trabajos_;
    if (!unDocumento_ && pintor_.isActive()) pintor_.end();
}

double ImpresoraQt::D(double twips) const { return twips * impresora_->resolution() / kTwipsPorPulgada; }

// Text is laid out in twips with the font sized in twips (20 to the point)
// and unhinted, so that widths and line heights are the same on every
// device. A font sized for the device gets a whole number of its pixels, and
// lines placed one under another would drift with the resolution.
QFont ImpresoraQt::Fuente() const {
    QFont f(QString::fromUtf8(Cp1252AUtf8(FontName())));
    f.setPixelSize(static_cast<int>(std::lround(FontSize() * kTwipsPorPunto)));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setBold(FontBold());
    return f;
}

void ImpresoraQt::DibujaTexto(double x, double y, const std::string& texto) {
    if (!pintor_.isActive()) return;
    const QFont f = Fuente();
    pintor_.save();
    pintor_.scale(D(1), D(1));
    pintor_.setFont(f);
    pintor_.setPen(Qt::black);
    // The position is the top of the text's line; Qt draws on the baseline.
    pintor_.drawText(QPointF(x, y + QFontMetricsF(f).ascent()), QString::fromUtf8(Cp1252AUtf8(texto)));
    pintor_.restore();
}

void ImpresoraQt::DibujaLinea(double x1, double y1, double x2, double y2) {
    if (!pintor_.isActive()) return;
    QPen pluma(Qt::black);
    // A width in pixels of a common laser printer, whatever the device.
    pluma.setWidthF(DrawWidth() * impresora_->resolution() / kPuntosPorPulgadaPluma);
    pluma.setCapStyle(Qt::RoundCap);
    pintor_.setPen(pluma);
    pintor_.drawLine(QLineF(D(x1), D(y1), D(x2), D(y2)));
}

void ImpresoraQt::DibujaRectangulo(double x, double y, double ancho, double alto) {
    if (!pintor_.isActive()) return;
    pintor_.fillRect(QRectF(D(x), D(y), D(ancho), D(alto)), Qt::black);
}

double ImpresoraQt::AltoLinea() { return std::round(QFontMetricsF(Fuente()).height()); }

void VistaPrevia(QWidget* padre, const QString& titulo, const std::function<void(Impresora&)>& dibuja) {
    QPrinter impresora(QPrinter::HighResolution);
    MargenesDelDispositivo(&impresora);
    QPrintPreviewDialog dialogo(&impresora, padre);
    dialogo.setWindowTitle(titulo);
    QObject::connect(&dialogo, &QPrintPreviewDialog::paintRequested, [&](QPrinter* p) {
        ImpresoraQt imp(p);
        dibuja(imp);
        imp.Termina();
    });
    dialogo.exec();
}

}  // namespace tobal
