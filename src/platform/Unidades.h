#pragma once
// The drives a bets file can be copied to: the removable drives mounted now
// (a USB stick, a diskette), named as the user sees them, and an entry that
// lets the user choose any folder.

#include <QString>
#include <vector>

namespace tobal {

struct UnidadDisco {
    QString nombre;   // what the list shows and the messages name
    QString carpeta;  // where the file goes; empty for the folder-choosing entry
};

inline constexpr const char* kOtraCarpeta = "Otra carpeta...";

// Removable drives first, in the system's order, then the folder-choosing
// entry. A drive that is read-only or not ready is left out.
std::vector<UnidadDisco> UnidadesExtraibles();

}  // namespace tobal
