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

// A PDF file has no unprintable edge: its printable origin is the corner
// of the paper, so a layout lands on its page where it says, measured from
// the paper's edge.
void SinMargenes(QPrinter* p) {
    p->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    p->setFullPage(true);
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
}

ImpresoraQt::ImpresoraQt(QPrinter* impresora) : ImpresoraQt(impresora, false, true) {}

std::unique_ptr<ImpresoraQt> ImpresoraQt::Predeterminada() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    auto* p = new QPrinter(info, QPrinter::HighResolution);
    p->setFullPage(false);
    return std::unique_ptr<ImpresoraQt>(new ImpresoraQt(p, true, false));
}

std::unique_ptr<ImpresoraQt> ImpresoraQt::Pdf(const QString& fichero) {
    auto* p = new QPrinter(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setOutputFileName(fichero);
    // The resolution of a common laser printer, so that a line width in
    // device pixels looks as it does on paper.
    p->setResolution(600);
    p->setPageSize(QPageSize(QPageSize::A4));
    SinMargenes(p);
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

bool ImpresoraQt::CambiaPagina(double anchoMm, double altoMm) {
    return impresora_->setPageSize(QPageSize(QSizeF(anchoMm, altoMm), QPageSize::Millimeter,
                                             QStringLiteral("Tobal31"), QPageSize::ExactMatch));
}

int ImpresoraQt::PaperSize(int papel) {
    if (papel == kPapelUsuario) {
        if (esPdf_ || impresora_->outputFormat() != QPrinter::NativeFormat) return 0;
        return QPrinterInfo(*impresora_).supportsCustomPageSizes() ? 0 : kErrorPropiedad;
    }
    if (papel == kPapelA4) return impresora_->setPageSize(QPageSize(QPageSize::A4)) ? 0 : kErrorPropiedad;
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

QFont ImpresoraQt::Fuente() const {
    QFont f(QString::fromUtf8(Cp1252AUtf8(FontName())));
    f.setPointSizeF(FontSize());
    f.setBold(FontBold());
    return f;
}

void ImpresoraQt::DibujaTexto(double x, double y, const std::string& texto) {
    if (!pintor_.isActive()) return;
    const QFont f = Fuente();
    pintor_.setFont(f);
    pintor_.setPen(Qt::black);
    const QFontMetricsF fm(f, impresora_);
    // The position is the top of the text's line; Qt draws on the baseline.
    pintor_.drawText(QPointF(D(x), D(y) + fm.ascent()), QString::fromUtf8(Cp1252AUtf8(texto)));
}

void ImpresoraQt::DibujaLinea(double x1, double y1, double x2, double y2) {
    if (!pintor_.isActive()) return;
    QPen pluma(Qt::black);
    pluma.setWidthF(DrawWidth());
    pluma.setCapStyle(Qt::RoundCap);
    pintor_.setPen(pluma);
    pintor_.drawLine(QLineF(D(x1), D(y1), D(x2), D(y2)));
}

void ImpresoraQt::DibujaRectangulo(double x, double y, double ancho, double alto) {
    if (!pintor_.isActive()) return;
    pintor_.fillRect(QRectF(D(x), D(y), D(ancho), D(alto)), Qt::black);
}

double ImpresoraQt::AltoLinea() {
    const QFontMetricsF fm(Fuente(), impresora_);
    return fm.height() * kTwipsPorPulgada / impresora_->resolution();
}

void VistaPrevia(QWidget* padre, const QString& titulo, const std::function<void(Impresora&)>& dibuja) {
    QPrinter impresora(QPrinter::HighResolution);
    // Without a printer the preview stands for a PDF file.
    if (impresora.outputFormat() == QPrinter::PdfFormat) SinMargenes(&impresora);
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
