#include "species/max_size_table.h"

namespace venuecheck {

void MaxSizeTable::LoadMaxSizes(const GameFolder&, std::string_view) {}

int32_t MaxSizeTable::FindMaxSize(std::string_view) const { return 0; }

bool MaxSizeTable::FreeMaxSizes() { return false; }

}  // namespace venuecheck
