#include "dispatch.h"

#include "../mesh/mesh_steps.h"
#include "../solids/solids_steps.h"
#include "../surfaces/surfaces_steps.h"

namespace gmd {
namespace {

template <std::size_t N>
constexpr void addRows(LetterTable& table, const std::array<LetterSteps, N>& rows) {
    for (std::size_t i = 0; i < N; ++i) table[rows[i].letter] = rows[i];
}

constexpr LetterTable buildTable() {
    LetterTable table{};
    addRows(table, kMeshSteps);
    addRows(table, kSolidsSteps);
    addRows(table, kSurfacesSteps);
    return table;
}

}  // namespace

// Constant-initialised: no code runs before main.
constexpr LetterTable kLetterTable = buildTable();

}  // namespace gmd
