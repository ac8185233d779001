#pragma once
// The system's pointer shapes by their MousePointer numbers (1 arrow, 2
// cross, 3 I-beam, … 15 size-all); null for a number that names none.
#include <windows.h>

#include <cstdint>

namespace ventalune::anigif {

LPCWSTR SystemPointer(int32_t pointer);

}  // namespace ventalune::anigif
