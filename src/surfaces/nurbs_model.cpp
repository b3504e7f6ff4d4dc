#include "nurbs_model.h"

#include <utility>

namespace gmd {

void NurbsModel::reshapeGrid(std::int32_t rows, std::int32_t columns) {
    Grid<ControlPoint> points;
    points.redimension(rows, columns, ControlPoint{0.0, 0.0, 0.0});
    Grid<float> pointWeights;
    pointWeights.redimension(rows, columns, 0.0f);
    controlPoints = std::move(points);
    weights = std::move(pointWeights);
}

void NurbsModel::fitToCounts() {
    reshapeGrid(numUcontrolPoints, numVcontrolPoints);
    uKnots.resize(static_cast<std::size_t>(numUknots));
    vKnots.resize(static_cast<std::size_t>(numVknots));
    boundaryDimensions.resize(static_cast<std::size_t>(numBounds));
    boundaryPoints.resize(2 * static_cast<std::size_t>(numPoints));
}

}  // namespace gmd
