#include "engine/own/blake2.h"

namespace velk {

// The two states are compiled here once; the header declares them extern.
template class Blake2<blake2::Params64>;
template class Blake2<blake2::Params32>;

} // namespace velk
