// Wedges ('W', 'w') and edges ('e'): twelve geometry words (two vertices, the
// left and the right normal) and, for 'w' and 'e', two adjacent polygon
// numbers behind them. A record is either a two-sided wedge ('w': left and
// right polygon) or a one-sided edge ('e': its one polygon twice), never
// both, so each adjacency setter refuses the other letter.
#include <algorithm>

#include "mesh_record.h"
#include "mesh_steps.h"

using namespace gmd;

namespace {

constexpr std::int32_t kGeometryWords = 12;
constexpr std::int32_t kAdjacentWords = 14;

constexpr WordRange kGeometry{0, kGeometryWords};
constexpr WordRange kFirstVertex{0, 3};
constexpr WordRange kSecondVertex{3, 3};
constexpr WordRange kLeftNormal{6, 3};
constexpr WordRange kRightNormal{9, 3};
constexpr WordRange kLeftAdjacent{12, 1};
constexpr WordRange kRightAdjacent{13, 1};
constexpr WordRange kEdgeAdjacent{12, 2};

std::int32_t getGeometry(GMD_File* handle, WordRange words, float* out) {
    return guarded(handle, [&](RecordFile& file) {
        return isOneOf(file.record.letter, "Wwe") && wordsOut(file.record, words.first, words.count, out);
    });
}

// Geometry setters keep the letter, and so the adjacency words, of a 'w' or
// 'e' record.
std::int32_t setGeometry(GMD_File* handle, WordRange words, const float* in) {
    return guarded(handle, [&](RecordFile& file) {
        return beginRecord(file.record, "Wwe", 'W', kGeometryWords) != Begin::Refused &&
               wordsIn(file.record, words.first, words.count, in);
    });
}

std::int32_t getAdjacent(GMD_File* handle, WordRange words, int32_t* polygon) {
    return guarded(handle, [&](RecordFile& file) {
        return isOneOf(file.record.letter, "we") && wordsOut(file.record, words.first, words.count, polygon);
    });
}

// `letter` is 'w' or 'e'; a plain 'W' becomes it, keeping its geometry and
// gaining two zero adjacency words.
std::int32_t setAdjacent(GMD_File* handle, char letter, WordRange words, int32_t polygon) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        const char accepted[] = {'W', letter, '\0'};
        if (beginRecord(record, accepted, letter, kAdjacentWords) == Begin::Refused) return false;
        // A 'W' shorter than its geometry (only a file makes one) gains zero
        // words up to the adjacency words like any other.
        const std::int32_t kept = std::min(record.wordCount(), kGeometryWords);
        if (record.letter == 'W' && !promote(record, letter, kept, kAdjacentWords)) return false;
        if (!record.holds(words.first, words.count)) return false;
        for (std::int32_t i = 0; i < words.count; ++i) record.setInt(words.first + i, polygon);
        return true;
    });
}

}  // namespace

namespace gmd {

bool readWedge(RecordFile& file) {
    const std::int32_t words = file.record.wordCount();
    return words == kGeometryWords || words == kAdjacentWords;
}

}  // namespace gmd

int32_t GMD_GetWedge(GMD_File* handle, float wedge[12]) { return getGeometry(handle, kGeometry, wedge); }

int32_t GMD_GetEWFirstVert(GMD_File* handle, float vertex[3]) { return getGeometry(handle, kFirstVertex, vertex); }

int32_t GMD_GetEWSecondVert(GMD_File* handle, float vertex[3]) { return getGeometry(handle, kSecondVertex, vertex); }

int32_t GMD_GetEWLeftNormal(GMD_File* handle, float normal[3]) { return getGeometry(handle, kLeftNormal, normal); }

int32_t GMD_GetEWRightNormal(GMD_File* handle, float normal[3]) { return getGeometry(handle, kRightNormal, normal); }

int32_t GMD_GetEWLeftAdjacentPolygon(GMD_File* handle, int32_t* polygon) {
    return getAdjacent(handle, kLeftAdjacent, polygon);
}

int32_t GMD_GetEWRightAdjacentPolygon(GMD_File* handle, int32_t* polygon) {
    return getAdjacent(handle, kRightAdjacent, polygon);
}

int32_t GMD_SetWedge(GMD_File* handle, const float wedge[12]) { return setGeometry(handle, kGeometry, wedge); }

int32_t GMD_SetEWFirstVert(GMD_File* handle, const float vertex[3]) {
    return setGeometry(handle, kFirstVertex, vertex);
}

int32_t GMD_SetEWSecondVert(GMD_File* handle, const float vertex[3]) {
    return setGeometry(handle, kSecondVertex, vertex);
}

int32_t GMD_SetEWLeftNormal(GMD_File* handle, const float normal[3]) { return setGeometry(handle, kLeftNormal, normal); }

int32_t GMD_SetEWRightNormal(GMD_File* handle, const float normal[3]) {
    return setGeometry(handle, kRightNormal, normal);
}

int32_t GMD_SetWedgeLeftAdjacentPolygon(GMD_File* handle, int32_t polygon) {
    return setAdjacent(handle, 'w', kLeftAdjacent, polygon);
}

int32_t GMD_SetWedgeRightAdjacentPolygon(GMD_File* handle, int32_t polygon) {
    return setAdjacent(handle, 'w', kRightAdjacent, polygon);
}

int32_t GMD_SetEdgeAdjacentPolygon(GMD_File* handle, int32_t polygon) {
    return setAdjacent(handle, 'e', kEdgeAdjacent, polygon);
}
