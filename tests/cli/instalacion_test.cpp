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
    for (auto [palabras, esperado] : {std::pair{"--datos /tmp es", "escrutar estadistica"},
                                      {"equipos --", "--help --añadir --quitar"},
                                      {"imprimir resumen --c", "--copias"}})
        EXPECT_EQ(Orden("PATH='" + kCli.parent_path().string() + "':\"$PATH\" bash -c '. " + script +
                        "; COMP_WORDS=(tobal31-cli " + palabras +
                        "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _tobal31_cli; echo \"${COMPREPLY[*]}\"'"),
                  std::string(esperado) + "\n")
            << palabras;
}

// The Debian package holds what the program and the tool need under /usr, and
// declares the libraries and fonts that apt must bring onto a fresh machine.
TEST(CliInstalacion, PaqueteDebianConSusFicherosYDependencias) {
    CarpetaTemporal d;
    const fs::path build = kCli.parent_path(), fuente = TOBAL31_SOURCE_DIR, raiz = d / "raiz";
    const std::string cpack = Orden("cpack -G DEB --config '" + (build / "CPackConfig.cmake").string() +
                                    "' -B '" + d.ruta().string() + "' 2>&1");
    const std::string arquitectura = Orden("dpkg --print-architecture");
    const std::regex nombre("tobal31_[0-9.]+_" + arquitectura.substr(0, arquitectura.size() - 1) + "\\.deb");
    std::string deb;
    for (const std::string& f : Ficheros(d.ruta()))
        if (std::regex_match(f, nombre)) deb = (d / f).string();
    ASSERT_FALSE(deb.empty()) << cpack;
    Orden("dpkg-deb -x '" + deb + "' '" + raiz.string() + "'");
    EXPECT_EQ(Ficheros(raiz / "usr/bin"), (std::vector<std::string>{"tobal31", "tobal31-cli"}));
    EXPECT_EQ(Orden("'" + (raiz / "usr/bin/tobal31-cli").string() + "' --help >/dev/null && echo bien"),
              "bien\n");
    EXPECT_EQ(Bytes(raiz / "usr/share/man/man1/tobal31-cli.1"), Bytes(build / "tobal31-cli.1"));
    for (auto [dentro, original] :
         {std::pair{"usr/share/bash-completion/completions/tobal31-cli", "resources/cli/tobal31-cli.bash"},
          {"usr/share/applications/tobal31.desktop", "resources/tobal31.desktop"},
          {"usr/share/icons/hicolor/64x64/apps/tobal31.png", "resources/icons/tobal31.png"}})
        EXPECT_EQ(Bytes(raiz / dentro), Bytes(fuente / original)) << dentro;
    const std::string depende = Orden("dpkg-deb -f '" + deb + "' Depends");
    for (const char* paquete : {"libc6", "libstdc++6", "libqt6widgets6", "libqt6printsupport6",
                                "libqt6multimedia6", "fonts-liberation", "qt6-translations-l10n"})
        EXPECT_TRUE(Contiene(depende, paquete));
}

}  // namespace
}  // namespace tobal
