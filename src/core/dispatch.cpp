// The letter table: every family's rows merged into one array indexed by the
// letter byte. Apart from record_file.h, this is the one core file that names
// record families; the record cycle only walks the table. The test
// core_includes_no_family keeps it that way.
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

constexpr TypeCodeTable buildTypeCodes(const LetterTable& rows) {
    TypeCodeTable codes{};
    for (std::size_t letter = 0; letter < codes.size(); ++letter) {
        const auto byte = static_cast<std::int8_t>(static_cast<std::uint8_t>(letter));
        codes[letter][0] = rows[letter].triangleCode != 0 ? rows[letter].triangleCode : byte;
        codes[letter][1] = rows[letter].quadCode != 0 ? rows[letter].quadCode : byte;
    }
    return codes;
}

}  // namespace

// Constant-initialised: no code runs before main.
constexpr LetterTable kLetterTable = buildTable();
constexpr TypeCodeTable kTypeCodes = buildTypeCodes(kLetterTable);

}  // namespace gmd
