#pragma once

namespace veldorin {

// The graph option: the index of the plot list.
enum class PlotMode { F = 0, J = 1, Rates = 2, Ct = 3, Noe = 4 };

}  // namespace veldorin
