#include "platform/Pausa.h"

#include <chrono>
#include <thread>

namespace tobal {

void Pausa(int centesimas) {
    if (centesimas <= 0) return;
    const auto fin = std::chrono::steady_clock::now() + std::chrono::milliseconds(10LL * centesimas);
    std::this_thread::sleep_until(fin);
}

}  // namespace tobal
