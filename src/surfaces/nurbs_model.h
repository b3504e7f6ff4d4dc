// NurbsModel: the structured form of one trimmed NURBS surface.
//
// An 'N' record is never edited word by word: the accessors change this
// model, WriteRecord encodes it into the record's words and GetRecord decodes
// a valid 'N' record back into it. Control points stay in double precision
// here and become float32 only on file.
//
// Invariant kept by every change: each array and both grids hold exactly what
// their counts announce (uKnots numUknots values, boundaryPoints 2 x numPoints,
// the grids numUcontrolPoints x numVcontrolPoints cells), so the encoder can
// walk the counts without checking. Only numPoints against the sum of
// boundaryDimensions may disagree; the record does not carry numPoints.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace gmd {

// A row-major grid of rows x columns cells; (i, j) sits at i * columns + j.
template <class Cell>
class Grid {
public:
    std::int32_t rows() const { return rows_; }
    std::int32_t columns() const { return columns_; }
    std::size_t size() const { return cells_.size(); }
    bool contains(std::int32_t i, std::int32_t j) const { return i >= 0 && j >= 0 && i < rows_ && j < columns_; }
    Cell& at(std::int32_t i, std::int32_t j) { return cells_[index(i, j)]; }
    const Cell& at(std::int32_t i, std::int32_t j) const { return cells_[index(i, j)]; }
    Cell* data() { return cells_.data(); }
    const Cell* data() const { return cells_.data(); }

    // Gives the grid new dimensions and discards its contents; an empty grid
    // keeps no storage.
    void redimension(std::int32_t rows, std::int32_t columns, const Cell& fill) {
        std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
        if (count == 0) {
            std::vector<Cell>().swap(cells_);
        } else {
            cells_.assign(count, fill);
        }
        rows_ = rows;
        columns_ = columns;
    }

private:
    std::size_t index(std::int32_t i, std::int32_t j) const {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(j);
    }
    std::int32_t rows_ = 0;
    std::int32_t columns_ = 0;
    std::vector<Cell> cells_;
};

using ControlPoint = std::array<double, 3>;

struct NurbsModel {
    // The seven counts, in the order of the sizes array.
    std::int32_t numUknots = 0;
    std::int32_t numVknots = 0;
    std::int32_t numUcontrolPoints = 0;
    std::int32_t numVcontrolPoints = 0;
    std::int32_t numBounds = 0;
    std::int32_t numPoints = 0;
    std::int32_t holeOrigin = 0;

    std::vector<float> uKnots;
    std::vector<float> vKnots;
    Grid<ControlPoint> controlPoints;
    Grid<float> weights;
    std::vector<std::int32_t> boundaryDimensions;
    std::vector<float> boundaryPoints;  // two values per boundary point

    // Gives both grids rows x columns cells: points (0, 0, 0), weights 0.0.
    // Either both grids change or, when storage runs out, neither does.
    void reshapeGrid(std::int32_t rows, std::int32_t columns);

    // Sizes every array and both grids to the counts. The arrays keep their
    // leading values; the grids are re-dimensioned and so lose theirs.
    void fitToCounts();
};

}  // namespace gmd
