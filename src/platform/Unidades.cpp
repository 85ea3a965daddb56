#include "platform/Unidades.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace tobal {

namespace {

// The kernel's removable flag of the disk that holds a partition device
// (/dev/sdb1 -> /sys/class/block/sdb1/../removable).
bool Extraible(const QByteArray& dispositivo) {
    if (!dispositivo.startsWith("/dev/")) return false;
    const QString nombre =
        QFileInfo(QString::fromLocal8Bit(dispositivo)).canonicalFilePath().section('/', -1);
    for (const QString& ruta : {QStringLiteral("/sys/class/block/%1/removable").arg(nombre),
                                QStringLiteral("/sys/class/block/%1/../removable").arg(nombre)}) {
        QFile f(ruta);
        if (f.open(QIODevice::ReadOnly)) return f.readAll().trimmed() == "1";
    }
    return false;
}

// Where desktop sessions mount what the user plugs in.
bool MontajeDeUsuario(const QString& ruta) {
    return ruta.startsWith(QLatin1String("/media/")) || ruta.startsWith(QLatin1String("/run/media/"));
}

}  // namespace

std::vector<UnidadDisco> UnidadesExtraibles() {
    std::vector<UnidadDisco> r;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady() || v.isReadOnly()) continue;
        if (!Extraible(v.device()) && !MontajeDeUsuario(v.rootPath())) continue;
        const QString nombre = v.displayName() == v.rootPath()
                                   ? v.rootPath()
                                   : QStringLiteral("%1 (%2)").arg(v.displayName(), v.rootPath());
        r.push_back({nombre, v.rootPath()});
    }
    r.push_back({QString::fromUtf8(kOtraCarpeta), QString()});
    return r;
}

}  // namespace tobal
