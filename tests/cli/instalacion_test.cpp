// What `cmake --install` puts beside the tool: its manual page, written from
// its help texts, and its bash completion.

#include <gtest/gtest.h>

#include <regex>

#include "Soporte.h"

namespace tobal {
namespace {

using namespace prueba;

const fs::path kCli = TOBAL31_CLI;

// The manual page holds every command's help, line for line, and groff
// reads it without a warning.
TEST(CliInstalacion, ManualConLaAyudaDeCadaOrden) {
    const std::string manual = Bytes(kCli.parent_path() / "tobal31-cli.1");
    ASSERT_FALSE(manual.empty());
    const std::string ayuda = EjecutaCli({"--help"}).salida;
    const std::regex linea("\n  ([a-z]+) ");
    int ordenes = 0;
    for (auto it = std::sregex_iterator(ayuda.begin(), ayuda.end(), linea); it != std::sregex_iterator();
         ++it) {
        const std::string orden = (*it)[1];
        ++ordenes;
        const auto r = EjecutaCli({orden, "--help"});
        EXPECT_TRUE(r.codigo == 0 && r.errores.empty() && r.salida.rfind("Uso: tobal31-cli", 0) == 0)
            << orden;
        const std::string texto = std::regex_replace(r.salida, std::regex("-"), "\\-");
        EXPECT_TRUE(Contiene(manual, ".SS " + orden + "\n.nf\n" + texto + ".fi\n"));
    }
    EXPECT_GE(ordenes, 9);
    if (!Orden("command -v groff").empty()) {
        EXPECT_EQ(Orden("groff -man -ww -z -K utf8 -Tutf8 " +
                        (kCli.parent_path() / "tobal31-cli.1").string() + " 2>&1 && echo bien"),
                  "bien\n");
    }
}

TEST(CliInstalacion, CompletadoDeOrdenesYOpciones) {
    const std::string script = std::string(TOBAL31_SOURCE_DIR) + "/resources/cli/tobal31-cli.bash";
    const auto completa = [&](const std::string& palabras) {
        return Orden("PATH='" + kCli.parent_path().string() + "':\"$PATH\" bash -c '. " + script +
                     "; COMP_WORDS=(tobal31-cli " + palabras +
                     "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _tobal31_cli; echo \"${COMPREPLY[*]}\"'");
    };
    for (auto [palabras, esperado] : {std::pair{"es", "escrutar estadistica"},
                                      {"--datos /tmp in", "indice"},
                                      {"reducir --me", "--metodo"},
                                      {"equipos --", "--help --añadir --quitar"},
                                      {"imprimir r", "resumen relacion"},
                                      {"imprimir resumen --c", "--copias"},
                                      {"jornada 3 --a", "--añadir-equipos"}})
        EXPECT_EQ(completa(palabras), std::string(esperado) + "\n") << palabras;
}

TEST(CliInstalacion, CmakeInstallPoneManualYCompletado) {
    CarpetaTemporal destino;
    Orden("cmake --install '" + kCli.parent_path().string() + "' --prefix '" + destino.ruta().string() + "'");
    EXPECT_TRUE(fs::exists(destino / "bin/tobal31-cli"));
    EXPECT_EQ(Bytes(destino / "share/man/man1/tobal31-cli.1"), Bytes(kCli.parent_path() / "tobal31-cli.1"));
    EXPECT_EQ(Bytes(destino / "share/bash-completion/completions/tobal31-cli"),
              Bytes(fs::path(TOBAL31_SOURCE_DIR) / "resources/cli/tobal31-cli.bash"));
}

}  // namespace
}  // namespace tobal
