#pragma once

#include "app/Informador.h"

namespace tobal {

// File-error reports as a message box titled "Tobal31" with one OK button,
// over the active window.
class InformadorQt : public Informador {
public:
    void ErrorFichero(const std::string& texto) override;
};

}  // namespace tobal
