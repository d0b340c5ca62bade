#pragma once

#include <array>
#include <optional>

namespace velmora {

// A draw slot holds nothing until its digit is drawn; a drawn 0 is a digit like any other.
using DrawSlot = std::optional<int>;

// The three positions of one result, shared by both chains and kept until the next draw starts.
using DrawSlots = std::array<DrawSlot, 3>;

}  // namespace velmora
