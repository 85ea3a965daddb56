#pragma once
// Where the program's messages go. The desktop program shows message boxes,
// the command-line tool writes to stderr, tests record them.

#include <string>
#include <vector>

namespace tobal {

class Informador {
public:
    virtual ~Informador() = default;
    // A file-error report: a standard message box with one OK button and the
    // program's title "Tobal31". Text in UTF-8; lines separated by CR LF.
    virtual void ErrorFichero(const std::string& texto) = 0;
};

// Keeps every message; for tests and for callers that decide later.
class InformadorGrabador : public Informador {
public:
    void ErrorFichero(const std::string& texto) override { mensajes.push_back(texto); }
    std::vector<std::string> mensajes;
};

// Discards every message.
class InformadorMudo : public Informador {
public:
    void ErrorFichero(const std::string&) override {}
};

// While alive, the messages given to `sitio` (a state's reporter) go to
// `otro`; the reporter before is back when the scope is left, however it is
// left.
class CambioInformador {
public:
    CambioInformador(Informador*& sitio, Informador& otro) : sitio_(sitio), antes_(sitio) { sitio_ = &otro; }
    ~CambioInformador() { sitio_ = antes_; }
    CambioInformador(const CambioInformador&) = delete;
    CambioInformador& operator=(const CambioInformador&) = delete;

private:
    Informador*& sitio_;
    Informador* antes_;
};

// While alive, the messages given to `sitio` are discarded.
class Silencio {
public:
    explicit Silencio(Informador*& sitio) : cambio_(sitio, mudo_) {}

private:
    InformadorMudo mudo_;
    CambioInformador cambio_;
};

}  // namespace tobal
