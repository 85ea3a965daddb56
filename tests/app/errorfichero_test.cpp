#include <gtest/gtest.h>

#include <cerrno>

#include "Soporte.h"
#include "app/Archivo.h"
#include "app/ErrorFichero.h"

namespace tobal {
namespace {

TEST(ErrorFichero, TextosPorNumero) {
    EXPECT_EQ(TextoErrorFichero(Op::LDG, 68, "C"), "LDG ERROR 68: Unidad C: no preparada");
    EXPECT_EQ(TextoErrorFichero(Op::LDG, 76), "LDG ERROR 76: No existe el fichero de datos generales DATOSGEN.TBX");
    EXPECT_EQ(TextoErrorFichero(Op::LDG, 7), "LDG ERROR 7 : Insuficiente memoria");
    EXPECT_EQ(TextoErrorFichero(Op::LDG, 62), "LDG ERROR 62");
    EXPECT_EQ(TextoErrorFichero(Op::EEB, 70), "EEB ERROR 70");
    EXPECT_EQ(TextoErrorFichero(Op::LDG, 6), "");
    EXPECT_EQ(TextoErrorFichero(Op::LDG, 53),
              "No se encuentra el fichero de datos generales DATOSGEN.TBX.\r\n"
              "Se ha procedido a crearlo automáticamente con los valores establecidos por defecto.");

    struct Caso {
        const OperacionFichero& op;
        const char* t53;
        const char* t76;
    };
    const Caso casos[] = {
        {Op::LJO, "No se encuentra el fichero de jornadas JORNADAS.TBX.",
         "LJO ERROR 76: No existe el fichero de jornadas JORNADAS.TBX"},
        {Op::CLE, "No se encuentra el fichero de equipos EQUIPOS.TBX.",
         "CLE ERROR 76: No existe el fichero de equipos EQUIPOS.TBX"},
        {Op::CLECrea,
         "No se encuentra el fichero de equipos EQUIPOS.TBX.\r\n"
         "Se ha procedido a crearlo automáticamente con los valores establecidos por defecto.",
         "CLE ERROR 76: No existe el fichero de equipos EQUIPOS.TBX"},
        {Op::EEB, "No se encuentra el fichero BASES.TBX. Se va a proceder a crearlo.",
         "EEB ERROR 76: No existe el fichero BASES.TBX"},
        {Op::LFB, "No se encuentra el fichero BASES.TBX. Se va a proceder a crearlo.",
         "LFB ERROR 76: No existe el fichero BASES.TBX"},
        {Op::BRB, "No se encuentra el fichero BASES.TBX", "BRB ERROR 76: No existe el fichero BASES.TBX"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(TextoErrorFichero(c.op, 53), c.t53) << c.op.codigo;
        EXPECT_EQ(TextoErrorFichero(c.op, 76), c.t76) << c.op.codigo;
        EXPECT_EQ(TextoErrorFichero(c.op, 7), c.op.codigo + " ERROR 7 : Insuficiente memoria");
    }
}

TEST(ErrorFichero, VarianteDeAbreFichero) {
    const OperacionFichero op = Op::Abre("RED0301.TBX");
    EXPECT_EQ(TextoErrorFichero(op, 53), "");
    EXPECT_EQ(TextoErrorFichero(op, 76), "RED0301.TBX ERROR 76");
    EXPECT_EQ(TextoErrorFichero(op, 7), "RED0301.TBX ERROR 7 : Insuficiente memoria");
    EXPECT_EQ(TextoErrorFichero(op, 68, "D"), "RED0301.TBX ERROR 68: Unidad D: no preparada");
    EXPECT_EQ(TextoErrorFichero(op, 57), "RED0301.TBX ERROR 57");
    EXPECT_EQ(TextoErrorFichero(op, 6), "");
}

TEST(ErrorFichero, InformaFijaElNumeroYCallaLosSilenciosos) {
    prueba::EstadoPrueba e;
    InformaErrorFichero(e.st, Op::LJO, 6);
    EXPECT_EQ(e.st.ErrorFichero, 6);
    InformaErrorFichero(e.st, Op::Abre("X.TBX"), 53);
    EXPECT_EQ(e.st.ErrorFichero, 53);
    EXPECT_TRUE(e.mensajes.mensajes.empty());

    InformaErrorFichero(e.st, Op::LJO, 68);
    ASSERT_EQ(e.mensajes.mensajes.size(), 1u);
    EXPECT_EQ(e.mensajes.mensajes[0].rfind("LJO ERROR 68: Unidad ", 0), 0u);
    EXPECT_EQ(e.st.ErrorFichero, 68);

    e.st.informador = nullptr;  // nobody listening: no crash
    InformaErrorFichero(e.st, Op::LJO, 7);
    EXPECT_EQ(e.st.ErrorFichero, 7);
}

TEST(ErrorFichero, ErroresDelSistema) {
    EXPECT_EQ(NumeroErrorErrno(0), 0);
    EXPECT_EQ(NumeroErrorErrno(ENOENT), 53);
    EXPECT_EQ(NumeroErrorErrno(ENOMEM), 7);
    EXPECT_EQ(NumeroError(std::error_code()), 0);
    EXPECT_EQ(NumeroError(std::make_error_code(std::errc::no_such_file_or_directory)), 53);
    for (int e : {EACCES, EROFS, ENOSPC, EIO, EISDIR}) {
        const int n = NumeroErrorErrno(e);
        EXPECT_NE(n, 0) << e;
        EXPECT_NE(n, 6) << e;  // never a silent report for a real failure
        EXPECT_NE(n, 53) << e;
    }

    prueba::CarpetaTemporal c;
    EXPECT_EQ(ErrorApertura(c / "NOHAY.TBX", ENOENT), 53);
    EXPECT_EQ(ErrorApertura(c / "nohay" / "NOHAY.TBX", ENOENT), 76);
}

}  // namespace
}  // namespace tobal
