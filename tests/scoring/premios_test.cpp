// Los importes de premio: su forma más corta y los importes escritos.

#include <gtest/gtest.h>

#include "scoring/Premios.h"

namespace tobal {
namespace {

TEST(NormalizaPremio, FormaMasCortaDelNumeroInicial) {
    for (auto [texto, forma] : {std::pair{".125", "0.12"},
                                {".", "0"},
                                {"12.50", "12.5"},
                                {"0012", "12"},
                                {"1.000000001", "1.000000001"}})
        EXPECT_EQ(NormalizaPremio(texto), forma) << texto;
    for (std::string t : {"00000000001", "0.000000001", "...........", ".9999999999"}) {
        ASSERT_TRUE(FiltraPremioCompleto(t)) << t;
        EXPECT_LE(NormalizaPremio(t).size(), static_cast<size_t>(kLongPremio)) << t;
    }
    std::string guardado = " 12,50 € ";  // un premio leído del registro: solo cifras y puntos
    FiltraPremioCompleto(guardado);
    EXPECT_EQ(guardado, "1250");
}

// Importes escritos fuera del campo: sin separador de miles con punto decimal,
// o con puntos de miles y coma decimal; nunca un valor distinto del querido.
TEST(ImporteEscrito, AceptaLasDosFormasYRechazaLoDudoso) {
    for (auto [escrito, texto] : {std::pair{"1500000.50", "1500000.5"},
                                  {"1.500.000,50", "1500000.5"},
                                  {"1.500.000", "1500000"},
                                  {" 3 ", "3"},
                                  {"99999999999", "99999999999"}}) {
        const ImporteEscrito i = LeeImporteEscrito(escrito);
        EXPECT_EQ(i.texto, texto) << escrito;
        EXPECT_EQ(i.error.empty(), !std::string(texto).empty()) << escrito << ": " << i.error;
    }
    for (auto [escrito, error] : {std::pair{"1.500", "escriba 1500 o 1,50"},
                                  {"1.505", "escriba 1505 (sin"},
                                  {"", "falta"},
                                  {"1.50.000", "no es un importe"},
                                  {"1500.000,5", "no es un importe"},
                                  {"-5", "no es un importe"},
                                  {"1,500", "dos decimales"},
                                  {"1.000.000.000,50", "no cabe"}})
        EXPECT_NE(LeeImporteEscrito(escrito).error.find(error), std::string::npos)
            << escrito << ": " << LeeImporteEscrito(escrito).error;
}

}  // namespace
}  // namespace tobal
