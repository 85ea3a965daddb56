#include <gtest/gtest.h>

#include <cerrno>

#include "Soporte.h"
#include "app/Archivo.h"
#include "app/ErrorFichero.h"

namespace tobal {
namespace {

const std::string kCreado =
    "\r\nSe ha procedido a crearlo automáticamente con los valores establecidos por defecto.";

TEST(ErrorFichero, TextosDeCadaOperacion) {
    EXPECT_EQ(TextoErrorFichero(Op::LDG, 68, "C"), "LDG ERROR 68: Unidad C: no preparada");
    EXPECT_EQ(TextoErrorFichero(Op::LDG, 62), "LDG ERROR 62");
    EXPECT_EQ(TextoErrorFichero(Op::EEB, 70), "EEB ERROR 70");
    EXPECT_EQ(TextoErrorFichero(Op::LDG, 6), "");
    const std::string bases = "No se encuentra el fichero BASES.TBX";
    const std::tuple<const OperacionFichero&, std::string, std::string> casos[] = {
        {Op::LDG, "No se encuentra el fichero de datos generales DATOSGEN.TBX." + kCreado,
         "No existe el fichero de datos generales DATOSGEN.TBX"},
        {Op::LJO, "No se encuentra el fichero de jornadas JORNADAS.TBX.", "No existe el fichero de jornadas JORNADAS.TBX"},
        {Op::CLE, "No se encuentra el fichero de equipos EQUIPOS.TBX.", "No existe el fichero de equipos EQUIPOS.TBX"},
        {Op::CLECrea, "No se encuentra el fichero de equipos EQUIPOS.TBX." + kCreado,
         "No existe el fichero de equipos EQUIPOS.TBX"},
        {Op::EEB, bases + ". Se va a proceder a crearlo.", "No existe el fichero BASES.TBX"},
        {Op::LFB, bases + ". Se va a proceder a crearlo.", "No existe el fichero BASES.TBX"},
        {Op::BRB, bases, "No existe el fichero BASES.TBX"},
    };
    for (const auto& [op, t53, t76] : casos) {
        EXPECT_EQ(TextoErrorFichero(op, 53), t53) << op.codigo;
        EXPECT_EQ(TextoErrorFichero(op, 76), op.codigo + " ERROR 76: " + t76);
        EXPECT_EQ(TextoErrorFichero(op, 7), op.codigo + " ERROR 7 : Insuficiente memoria");
    }

    // AbreFichero's own report: the file name first, 53 silent, no 76 text.
    const OperacionFichero abre = Op::Abre("RED0301.TBX");
    EXPECT_EQ(TextoErrorFichero(abre, 53), "");
    EXPECT_EQ(TextoErrorFichero(abre, 76), "RED0301.TBX ERROR 76");
    EXPECT_EQ(TextoErrorFichero(abre, 7), "RED0301.TBX ERROR 7 : Insuficiente memoria");
    EXPECT_EQ(TextoErrorFichero(abre, 68, "D"), "RED0301.TBX ERROR 68: Unidad D: no preparada");
    EXPECT_EQ(TextoErrorFichero(abre, 57), "RED0301.TBX ERROR 57");
    EXPECT_EQ(TextoErrorFichero(abre, 6), "");
}

TEST(ErrorFichero, InformeYNumeros) {
    prueba::EstadoPrueba e;
    InformaErrorFichero(e.st, Op::LJO, 6);
    EXPECT_EQ(e.st.ErrorFichero, 6);
    InformaErrorFichero(e.st, Op::Abre("X.TBX"), 53);
    EXPECT_EQ(e.st.ErrorFichero, 53);
    EXPECT_TRUE(e.mensajes.mensajes.empty());
    InformaErrorFichero(e.st, Op::LJO, 68);
    ASSERT_EQ(e.mensajes.mensajes.size(), 1u);
    EXPECT_EQ(e.mensajes.mensajes[0].rfind("LJO ERROR 68: Unidad ", 0), 0u);
    e.st.informador = nullptr;  // nobody listening: no crash
    InformaErrorFichero(e.st, Op::LJO, 7);
    EXPECT_EQ(e.st.ErrorFichero, 7);

    EXPECT_EQ(NumeroErrorErrno(0), 0);
    EXPECT_EQ(NumeroErrorErrno(ENOENT), 53);
    EXPECT_EQ(NumeroErrorErrno(ENOMEM), 7);
    EXPECT_EQ(NumeroError(std::make_error_code(std::errc::no_such_file_or_directory)), 53);
    for (int n : {EACCES, EROFS, ENOSPC, EIO, EISDIR})  // never silent, never "not found"
        EXPECT_TRUE(NumeroErrorErrno(n) != 0 && NumeroErrorErrno(n) != 6 && NumeroErrorErrno(n) != 53) << n;
    prueba::CarpetaTemporal c;
    EXPECT_EQ(ErrorApertura(c / "NOHAY.TBX", ENOENT), 53);
    EXPECT_EQ(ErrorApertura(c / "nohay" / "NOHAY.TBX", ENOENT), 76);
}

}  // namespace
}  // namespace tobal
