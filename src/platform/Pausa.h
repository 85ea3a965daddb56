#pragma once

namespace tobal {

// Waits the given hundredths of a second on a monotonic clock, without
// processing window events.
void Pausa(int centesimas);

}  // namespace tobal
