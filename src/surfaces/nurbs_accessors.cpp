// The NURBS surface exports. They read and change the handle's NurbsModel,
// never record words: the 'N' steps move the model to and from the file.
//
// Getters and element setters need the letter 'N'. Count setters also take
// the empty record, where they start a new surface from a cleared model.
// Every change sizes an array before its count is updated, so a change that
// runs out of memory leaves the surface as it was.
#include <algorithm>
#include <optional>
#include <utility>

#include "../core/access.h"

using namespace gmd;

namespace {

// The sizes array, in its order.
constexpr std::int32_t NurbsModel::*kSizes[7] = {
    &NurbsModel::numUknots,         &NurbsModel::numVknots, &NurbsModel::numUcontrolPoints,
    &NurbsModel::numVcontrolPoints, &NurbsModel::numBounds, &NurbsModel::numPoints,
    &NurbsModel::holeOrigin,
};
constexpr int kCountSizes = 6;  // all but holeOrigin, which may be negative

template <class Body>
std::int32_t onSurface(GMD_File* handle, Body&& body) {
    return guarded(handle, [&](RecordFile& file) { return file.record.letter == 'N' && body(file.nurbs); });
}

// Applies `change` to the surface in hand or, on the empty record, to a
// cleared surface that then becomes the new 'N' record.
template <class Change>
std::int32_t changeSurface(GMD_File* handle, Change&& change) {
    return guarded(handle, [&](RecordFile& file) {
        if (file.record.letter == 'N') {
            change(file.nurbs);
            return true;
        }
        if (file.record.letter != 0) return false;
        NurbsModel cleared;
        change(cleared);
        beginRecord(file.record, "N", 'N', 0);
        file.nurbs = std::move(cleared);
        return true;
    });
}

template <class Change>
std::int32_t changeCount(GMD_File* handle, std::int32_t n, Change&& change) {
    if (n < 0) return 0;
    return changeSurface(handle, std::forward<Change>(change));
}

template <class T>
void resizeCounted(std::vector<T>& values, std::int32_t& count, std::int32_t n, std::size_t valuesEach = 1) {
    values.resize(static_cast<std::size_t>(n) * valuesEach);
    count = n;
}

std::int32_t getSize(GMD_File* handle, std::int32_t NurbsModel::*member, std::int32_t* out) {
    return onSurface(handle, [&](NurbsModel& surface) {
        *out = surface.*member;
        return true;
    });
}

template <class T>
std::int32_t getArray(GMD_File* handle, std::vector<T> NurbsModel::*member, T* out) {
    return onSurface(handle, [&](NurbsModel& surface) {
        std::copy((surface.*member).begin(), (surface.*member).end(), out);
        return true;
    });
}

// Whole-array setters take as many values as the count announces.
template <class T>
std::int32_t setArray(GMD_File* handle, std::vector<T> NurbsModel::*member, std::int32_t NurbsModel::*count,
                      std::size_t valuesEach, const T* in) {
    return onSurface(handle, [&](NurbsModel& surface) {
        (surface.*member).assign(in, in + static_cast<std::size_t>(surface.*count) * valuesEach);
        return true;
    });
}

// Element `index` of an array member; refused outside the array.
template <class T, class Body>
std::int32_t onElement(GMD_File* handle, std::vector<T> NurbsModel::*member, std::int64_t index, Body&& body) {
    return onSurface(handle, [&](NurbsModel& surface) {
        std::vector<T>& values = surface.*member;
        if (index < 0 || index >= static_cast<std::int64_t>(values.size())) return false;
        body(values[static_cast<std::size_t>(index)]);
        return true;
    });
}

template <class Body>
std::int32_t onGridCell(GMD_File* handle, std::int32_t i, std::int32_t j, Body&& body) {
    return onSurface(handle, [&](NurbsModel& surface) {
        if (!surface.controlPoints.contains(i, j)) return false;
        body(surface.controlPoints.at(i, j), surface.weights.at(i, j));
        return true;
    });
}

// The values from s(k) + offset on, where s(k) is the plain sum of the
// dimensions before boundary k, negative ones included. Empty when k names
// no boundary or a run of `count` > 0 values would leave boundaryPoints; a
// run of no values never leaves it, wherever it starts.
std::optional<std::int64_t> boundaryRun(const NurbsModel& surface, std::uint32_t k, std::int64_t offset,
                                        std::int64_t count) {
    if (k >= surface.boundaryDimensions.size()) return std::nullopt;
    std::int64_t first = offset;
    for (std::uint32_t b = 0; b < k; ++b) first += surface.boundaryDimensions[b];
    const auto values = static_cast<std::int64_t>(surface.boundaryPoints.size());
    if (count > 0 && (first < 0 || first + count > values)) return std::nullopt;
    return first;
}

// Boundary k's single values: as many as its dimension, not twice that; a
// dimension below 1 addresses no value.
template <class Body>
std::int32_t onBoundary(GMD_File* handle, std::uint32_t k, Body&& body) {
    return onSurface(handle, [&](NurbsModel& surface) {
        if (k >= surface.boundaryDimensions.size()) return false;
        const std::int32_t dimension = surface.boundaryDimensions[k];
        auto first = boundaryRun(surface, k, 0, dimension);
        if (!first) return false;
        if (dimension > 0) body(surface.boundaryPoints.begin() + *first, dimension);
        return true;
    });
}

// Point i of boundary k: the values at s(k) + i and s(k) + i + 1, so points
// i and i + 1 share a value.
template <class Body>
std::int32_t onBoundaryPoint(GMD_File* handle, std::uint32_t k, std::uint32_t i, Body&& body) {
    return onSurface(handle, [&](NurbsModel& surface) {
        auto first = boundaryRun(surface, k, i, 2);
        if (!first) return false;
        body(surface.boundaryPoints.begin() + *first);
        return true;
    });
}

}  // namespace

int32_t GMD_GetNurbsSizes(GMD_File* handle, int32_t sizes[7]) {
    return onSurface(handle, [&](NurbsModel& surface) {
        for (int s = 0; s < 7; ++s) sizes[s] = surface.*kSizes[s];
        return true;
    });
}

int32_t GMD_GetNurbsNumUknots(GMD_File* handle, int32_t* n) { return getSize(handle, &NurbsModel::numUknots, n); }
int32_t GMD_GetNurbsNumVknots(GMD_File* handle, int32_t* n) { return getSize(handle, &NurbsModel::numVknots, n); }
int32_t GMD_GetNurbsNumUcontrolPoints(GMD_File* handle, int32_t* n) {
    return getSize(handle, &NurbsModel::numUcontrolPoints, n);
}
int32_t GMD_GetNurbsNumVcontrolPoints(GMD_File* handle, int32_t* n) {
    return getSize(handle, &NurbsModel::numVcontrolPoints, n);
}
int32_t GMD_GetNurbsNumBounds(GMD_File* handle, int32_t* n) { return getSize(handle, &NurbsModel::numBounds, n); }
int32_t GMD_GetNurbsHoleOrigin(GMD_File* handle, int32_t* holeOrigin) {
    return getSize(handle, &NurbsModel::holeOrigin, holeOrigin);
}

int32_t GMD_SetNurbsNumUknots(GMD_File* handle, int32_t n) {
    return changeCount(handle, n, [&](NurbsModel& s) { resizeCounted(s.uKnots, s.numUknots, n); });
}
int32_t GMD_SetNurbsNumVknots(GMD_File* handle, int32_t n) {
    return changeCount(handle, n, [&](NurbsModel& s) { resizeCounted(s.vKnots, s.numVknots, n); });
}
int32_t GMD_SetNurbsNumBounds(GMD_File* handle, int32_t n) {
    return changeCount(handle, n, [&](NurbsModel& s) { resizeCounted(s.boundaryDimensions, s.numBounds, n); });
}
int32_t GMD_SetNurbsNumPoints(GMD_File* handle, int32_t n) {
    return changeCount(handle, n, [&](NurbsModel& s) { resizeCounted(s.boundaryPoints, s.numPoints, n, 2); });
}

// Either grid count discards every control point and weight. While the other
// count is still 0 the grid stays empty, so the two may be set in either order.
int32_t GMD_SetNurbsNumUcontrolPoints(GMD_File* handle, int32_t n) {
    return changeCount(handle, n, [&](NurbsModel& s) {
        s.reshapeGrid(n, s.numVcontrolPoints);
        s.numUcontrolPoints = n;
    });
}
int32_t GMD_SetNurbsNumVcontrolPoints(GMD_File* handle, int32_t n) {
    return changeCount(handle, n, [&](NurbsModel& s) {
        s.reshapeGrid(s.numUcontrolPoints, n);
        s.numVcontrolPoints = n;
    });
}

int32_t GMD_SetNurbsHoleOrigin(GMD_File* handle, int32_t holeOrigin) {
    return changeSurface(handle, [&](NurbsModel& s) { s.holeOrigin = holeOrigin; });
}

int32_t GMD_GetNurbsUKnots(GMD_File* handle, float* knots) { return getArray(handle, &NurbsModel::uKnots, knots); }
int32_t GMD_SetNurbsUKnots(GMD_File* handle, const float* knots) {
    return setArray(handle, &NurbsModel::uKnots, &NurbsModel::numUknots, 1, knots);
}
int32_t GMD_GetNurbsVKnots(GMD_File* handle, float* knots) { return getArray(handle, &NurbsModel::vKnots, knots); }
int32_t GMD_SetNurbsVKnots(GMD_File* handle, const float* knots) {
    return setArray(handle, &NurbsModel::vKnots, &NurbsModel::numVknots, 1, knots);
}
int32_t GMD_GetNurbsBoundaryDimensions(GMD_File* handle, int32_t* dimensions) {
    return getArray(handle, &NurbsModel::boundaryDimensions, dimensions);
}
int32_t GMD_SetNurbsBoundaryDimensions(GMD_File* handle, const int32_t* dimensions) {
    return setArray(handle, &NurbsModel::boundaryDimensions, &NurbsModel::numBounds, 1, dimensions);
}
int32_t GMD_GetNurbsAllBoundaryPoints(GMD_File* handle, float* points) {
    return getArray(handle, &NurbsModel::boundaryPoints, points);
}
int32_t GMD_SetNurbsAllBoundaryPoints(GMD_File* handle, const float* points) {
    return setArray(handle, &NurbsModel::boundaryPoints, &NurbsModel::numPoints, 2, points);
}

int32_t GMD_GetNurbsUKnot(GMD_File* handle, int32_t index, float* knot) {
    return onElement(handle, &NurbsModel::uKnots, index, [&](float& k) { *knot = k; });
}
int32_t GMD_SetNurbsUKnot(GMD_File* handle, int32_t index, float knot) {
    return onElement(handle, &NurbsModel::uKnots, index, [&](float& k) { k = knot; });
}
int32_t GMD_GetNurbsVKnot(GMD_File* handle, int32_t index, float* knot) {
    return onElement(handle, &NurbsModel::vKnots, index, [&](float& k) { *knot = k; });
}
int32_t GMD_SetNurbsVKnot(GMD_File* handle, int32_t index, float knot) {
    return onElement(handle, &NurbsModel::vKnots, index, [&](float& k) { k = knot; });
}

int32_t GMD_GetNurbsControlPoint(GMD_File* handle, int32_t i, int32_t j, float point[3]) {
    return onGridCell(handle, i, j, [&](ControlPoint& p, float&) {
        for (int c = 0; c < 3; ++c) point[c] = static_cast<float>(p[c]);
    });
}
int32_t GMD_SetNurbsControlPoint(GMD_File* handle, int32_t i, int32_t j, const float point[3]) {
    return onGridCell(handle, i, j, [&](ControlPoint& p, float&) {
        for (int c = 0; c < 3; ++c) p[c] = point[c];
    });
}
int32_t GMD_GetNurbsWeight(GMD_File* handle, int32_t i, int32_t j, float* weight) {
    return onGridCell(handle, i, j, [&](ControlPoint&, float& w) { *weight = w; });
}
int32_t GMD_SetNurbsWeight(GMD_File* handle, int32_t i, int32_t j, float weight) {
    return onGridCell(handle, i, j, [&](ControlPoint&, float& w) { w = weight; });
}

int32_t GMD_GetNurbsBoundaryDimension(GMD_File* handle, uint32_t k, int32_t* dimension) {
    return onElement(handle, &NurbsModel::boundaryDimensions, k, [&](std::int32_t& d) { *dimension = d; });
}
int32_t GMD_SetNurbsBoundaryDimension(GMD_File* handle, uint32_t k, int32_t dimension) {
    return onElement(handle, &NurbsModel::boundaryDimensions, k, [&](std::int32_t& d) { d = dimension; });
}

int32_t GMD_GetNurbsBoundaryPoints(GMD_File* handle, uint32_t k, float* values) {
    return onBoundary(handle, k, [&](auto first, std::int32_t count) { std::copy_n(first, count, values); });
}
int32_t GMD_SetNurbsBoundaryPoints(GMD_File* handle, uint32_t k, const float* values) {
    return onBoundary(handle, k, [&](auto first, std::int32_t count) { std::copy_n(values, count, first); });
}
int32_t GMD_GetNurbsBoundaryPoint(GMD_File* handle, uint32_t k, uint32_t i, float point[2]) {
    return onBoundaryPoint(handle, k, i, [&](auto first) { std::copy_n(first, 2, point); });
}
int32_t GMD_SetNurbsBoundaryPoint(GMD_File* handle, uint32_t k, uint32_t i, const float point[2]) {
    return onBoundaryPoint(handle, k, i, [&](auto first) { std::copy_n(point, 2, first); });
}

int32_t GMD_SetNurbsSizes(GMD_File* handle, const int32_t sizes[7]) {
    return guarded(handle, [&](RecordFile& file) {
        if (file.record.letter != 0) return false;
        if (std::any_of(sizes, sizes + kCountSizes, [](std::int32_t n) { return n < 0; })) return false;
        NurbsModel surface;
        for (int s = 0; s < 7; ++s) surface.*kSizes[s] = sizes[s];
        surface.fitToCounts();
        beginRecord(file.record, "N", 'N', 0);
        file.nurbs = std::move(surface);
        return true;
    });
}

int32_t GMD_SetNurbsData(GMD_File* handle, const GMD_NurbsData* data) {
    return onSurface(handle, [&](NurbsModel& s) {
        s.fitToCounts();
        std::copy_n(data->uKnots, s.uKnots.size(), s.uKnots.begin());
        std::copy_n(data->vKnots, s.vKnots.size(), s.vKnots.begin());
        // Both grids are laid out like the caller's arrays: cell p is (i, j)
        // with p = i * columns + j.
        for (std::size_t p = 0; p < s.controlPoints.size(); ++p) {
            if (data->controlPoints != nullptr) std::copy_n(data->controlPoints + 3 * p, 3, s.controlPoints.data()[p].begin());
            if (data->weights != nullptr) s.weights.data()[p] = data->weights[p];
        }
        std::copy_n(data->boundaryDimensions, s.boundaryDimensions.size(), s.boundaryDimensions.begin());
        std::copy_n(data->boundaryPoints, s.boundaryPoints.size(), s.boundaryPoints.begin());
        return true;
    });
}

int32_t GMD_GetNurbsData(GMD_File* handle, GMD_NurbsData* data) {
    return onSurface(handle, [&](NurbsModel& s) {
        std::copy(s.uKnots.begin(), s.uKnots.end(), data->uKnots);
        std::copy(s.vKnots.begin(), s.vKnots.end(), data->vKnots);
        for (std::size_t p = 0; p < s.controlPoints.size(); ++p) {
            if (data->controlPoints != nullptr) {
                for (int c = 0; c < 3; ++c) data->controlPoints[3 * p + c] = static_cast<float>(s.controlPoints.data()[p][c]);
            }
            if (data->weights != nullptr) data->weights[p] = s.weights.data()[p];
        }
        std::copy(s.boundaryDimensions.begin(), s.boundaryDimensions.end(), data->boundaryDimensions);
        std::copy(s.boundaryPoints.begin(), s.boundaryPoints.end(), data->boundaryPoints);
        return true;
    });
}
