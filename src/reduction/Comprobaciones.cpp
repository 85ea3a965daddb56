#include "reduction/Comprobaciones.h"

namespace tobal {

std::optional<Aviso> ComprobacionesReducir(const Estado& st) {
    const Reduccion& r = st.ReduccionActual;
    if (r.Metodo == 2) {
        int sinBase = 0;
        for (int i = 1; i <= 14; ++i)
            if (r.Partidos[i].AReducir == 1 && r.Partidos[i].SignoBase == 0) ++sinBase;
        if (sinBase > 0) {
            const std::string cabeza =
                sinBase == 1
                    ? std::string("Hay  1  partido  múltiple  a  reducir de  la   Quiniela  Base  del ")
                    : "Hay  " + std::to_string(sinBase) +
                          " partidos múltiples a reducir de la Quiniela Base de los";
            return Aviso{
                "ERROR EN LA QUINIELA BASE",
                cabeza +
                    " que no se ha seleccionado ningun signo en la  Columna  Base.   Debe seleccionar  en  "
                    "la   "
                    "Columna Base  un  signo  de  cada  partido  a reducir antes de efectuar la reducción."};
        }
        if (r.MinErrores > r.MaxErrores)
            return Aviso{
                "NO CONCUERDAN LOS ERRORES PERMITIDOS",
                "El mínimo de errores permitidos es superior al máximo de errores permitidos. El mínimo debe "
                "ser "
                "igual o inferior al máximo. Debe corregir estos parámetros antes de efectuar la reducción."};
    }
    if (r.Metodo == 3) {
        const int suma = r.Signos[1] + r.Signos[2] + r.Signos[3];
        if (suma != st.Esta.MultiplesReducir)
            return Aviso{
                "ERROR EN LA SUMA DE SIGNOS",
                "La  suma  de  los signos  1 ,  X  y  2  seleccionados como patrón de reducción   ( " +
                    std::to_string(r.Signos[1]) + "  +  " + std::to_string(r.Signos[2]) + "  +  " +
                    std::to_string(r.Signos[3]) + "   ->  " + std::to_string(suma) +
                    " )   no  se  corresponde  con el total de partidos seleccionados para reducir ( " +
                    std::to_string(st.Esta.MultiplesReducir) +
                    " ). Estos parámetros deben coincidir para poder efectuar correctamente la reducción."};
    }
    for (int i = 1; i <= 15; ++i)
        if (r.Partidos[i].NumSignos == 0)
            return Aviso{
                "ERROR EN LA QUINIELA BASE",
                "Hay  algún  partido  de  la  Quiniela Base  que  no tiene marcado ningún signo. Debe "
                "seleccionar en "
                "la Quiniela Base al menos un signo de cada partido antes de efectuar la reducción."};
    if (st.Esta.MultiplesReducir == 0)
        return Aviso{
            "MULTIPLES A REDUCIR",
            "No ha seleccionado ningún múltiple a reducir. Seleccione los múltiples que desea reducir antes "
            "de iniciar la reducción."};
    return std::nullopt;
}

Aviso AvisoReduccionExiste() {
    return Aviso{
        "REDUCCIÓN YA EXISTE",
        "Ya existe una reducción correspondiente a esa jornada  y  con ese número de orden. Si desea "
        "conservar la reducción existente, pulse Salir ,cambie el número de orden de la reducción actual y "
        "vuelva a realizar la reducción. Si no desea conservar la que ya existe, pulse Reducir para que "
        "continue el proceso de reducción."};
}

}  // namespace tobal
