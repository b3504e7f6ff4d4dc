// Segments ('L', 'l') and polygons ('P', 'p', 'A'): the vertex block they all
// start with, and how a record just read is judged and classified.
//
// A record has one of three shapes: a segment (2 vertices), a triangle (3) or
// a quad (4). Segments are told by their letter; for polygons the quad flag
// says which, since the word count of an attributed polygon does not.
#include <array>
#include <iterator>
#include <limits>

#include "mesh_record.h"
#include "mesh_steps.h"

using namespace gmd;

namespace {

enum class Shape { Segment, Triangle, Quad };

struct ShapeRule {
    LetterSet letters;      // letters whose records may have this shape
    char created;           // the letter a setter gives the empty record
    std::uint32_t vertices;
};

constexpr ShapeRule kSegmentRule{"Ll", 'L', 2};
constexpr ShapeRule kTriangleRule{"PpA", 'P', 3};
constexpr ShapeRule kQuadRule{"PpA", 'P', 4};

constexpr const ShapeRule& ruleOf(Shape shape) {
    return shape == Shape::Segment ? kSegmentRule : shape == Shape::Triangle ? kTriangleRule : kQuadRule;
}

constexpr Shape kShapes[] = {Shape::Segment, Shape::Triangle, Shape::Quad};

bool hasShape(const RecordFile& file, Shape shape) {
    if (!isOneOf(file.record.letter, ruleOf(shape).letters)) return false;
    return shape == Shape::Segment || file.quad == (shape == Shape::Quad);
}

constexpr WordRange allVertices(Shape shape) { return {0, 3 * static_cast<std::int32_t>(ruleOf(shape).vertices)}; }

// The shape is a template argument so that each export folds its rule into
// a few compares.
template <Shape shape>
GMD_ALWAYS_INLINE std::int32_t getVertices(GMD_File* handle, WordRange words, float* out) {
    return guarded(handle, [&](RecordFile& file) {
        return hasShape(file, shape) && wordsOut(file.record, words.first, words.count, out);
    });
}

// Creating a polygon fixes its shape: the quad flag follows the setter, and a
// new polygon carries no FSS orientation.
template <Shape shape>
GMD_ALWAYS_INLINE std::int32_t setVertices(GMD_File* handle, WordRange words, const float* in) {
    return guarded(handle, [&](RecordFile& file) {
        constexpr const ShapeRule& rule = ruleOf(shape);
        const Begin begin = beginRecord(file.record, rule.letters, rule.created, allVertices(shape).count);
        if (begin == Begin::Refused) return false;
        if (begin == Begin::Created && shape != Shape::Segment) {
            file.quad = shape == Shape::Quad;
            file.hasOrientation = false;
        }
        return hasShape(file, shape) && wordsIn(file.record, words.first, words.count, in);
    });
}

// The index is judged before the record, so a bad index never creates one.
template <Shape shape>
std::int32_t setVertex(GMD_File* handle, std::uint32_t index, const float* in) {
    if (index >= ruleOf(shape).vertices) return 0;
    return setVertices<shape>(handle, vertexWords(static_cast<std::int32_t>(index)), in);
}

// Legacy polygon records: 'P' frames of other lengths than 9 or 12 words are
// rewritten to a current form before they are judged.
struct LegacyForm {
    std::int32_t fewest;
    std::int32_t most;
    char letter;
    std::int32_t kept;  // the words that stay; the rest are cut from the end
};

constexpr LegacyForm kLegacyPolygonForms[] = {
    {7, 8, 'L', 7},  // a segment with its radius
    {10, 11, 'P', kTriangleWords},
    {13, std::numeric_limits<std::int32_t>::max(), 'P', kQuadWords},
};

GMD_NOINLINE void convertLegacyPolygon(RecordBuffer& record) {
    const std::int32_t words = record.wordCount();
    for (const LegacyForm& form : kLegacyPolygonForms) {
        if (words < form.fewest || words > form.most) continue;
        record.letter = static_cast<std::uint8_t>(form.letter);
        record.resize(form.kept);
        return;
    }
}

struct SegmentForm {
    char letter;
    std::int32_t fewest;
    std::int32_t most;
};

constexpr SegmentForm kSegmentForms[] = {
    {'L', kSegmentWords, std::numeric_limits<std::int32_t>::max()},
    {'l', 8, 8},
};

// The valid polygon records; kAny matches every second header byte or word
// count. A record that matches no row of its letter is invalid.
constexpr std::int32_t kAny = -1;

struct PolygonForm {
    char letter;
    std::int32_t layoutCode;  // the second header byte
    std::int32_t words;
    bool quad;
    bool orientation;
};

// 'P' and 'p' by their word count alone, whatever their second header byte;
// 'A' by its attribute layout, of fixed length unless it ends in a
// thickness list.
constexpr auto kPolygonForms = [] {
    std::array<PolygonForm, 4 + std::size(kAttributeLayouts)> forms{{
        {'P', kAny, kTriangleWords, false, false},
        {'p', kAny, kTriangleWords + 2, false, false},
        {'P', kAny, kQuadWords, true, false},
        {'p', kAny, kQuadWords + 2, true, false},
    }};
    std::size_t n = 4;
    for (const AttributeLayout& layout : kAttributeLayouts) {
        const std::int32_t fixed = (layout.quad ? kQuadWords : kTriangleWords) + (layout.orientation ? 3 : 0);
        forms[n++] = {'A', layout.code, layout.thickness ? kAny : fixed, layout.quad, layout.orientation};
    }
    return forms;
}();

constexpr std::size_t formCount(char letter) {
    std::size_t n = 0;
    for (const PolygonForm& form : kPolygonForms) n += form.letter == letter ? 1 : 0;
    return n;
}

// The rows of one letter, in table order, so that each letter's read step
// scans only its own rows.
template <char letter>
constexpr auto kFormsOf = [] {
    std::array<PolygonForm, formCount(letter)> rows{};
    std::size_t n = 0;
    for (const PolygonForm& form : kPolygonForms)
        if (form.letter == letter) rows[n++] = form;
    return rows;
}();

template <char letter>
const PolygonForm* classifyPolygon(const RecordBuffer& record) {
    for (const PolygonForm& form : kFormsOf<letter>) {
        if (form.layoutCode != kAny && record.group2 != form.layoutCode) continue;
        if (form.words != kAny && record.wordCount() != form.words) continue;
        return &form;
    }
    return nullptr;
}

}  // namespace

namespace gmd {

bool readSegment(RecordFile& file) {
    const std::int32_t words = file.record.wordCount();
    for (const SegmentForm& form : kSegmentForms)
        if (file.record.letter == form.letter) return words >= form.fewest && words <= form.most;
    return false;
}

template <char letter>
bool readPolygon(RecordFile& file) {
    const PolygonForm* form = classifyPolygon<letter>(file.record);
    if (form == nullptr) return false;
    file.quad = form->quad;
    file.hasOrientation = form->orientation;
    return true;
}

bool readLegacyPolygon(RecordFile& file) {
    const std::int32_t words = file.record.wordCount();
    if (words != kTriangleWords && words != kQuadWords) convertLegacyPolygon(file.record);
    return file.record.letter == 'L' ? readSegment(file) : readPolygon<'P'>(file);
}

template bool readPolygon<'p'>(RecordFile& file);
template bool readPolygon<'A'>(RecordFile& file);

}  // namespace gmd

int32_t GMD_GetSegment(GMD_File* handle, float vertices[6]) {
    return getVertices<Shape::Segment>(handle, allVertices(Shape::Segment), vertices);
}

int32_t GMD_GetSegmentVertices(GMD_File* handle, float vertices[6]) { return GMD_GetSegment(handle, vertices); }

int32_t GMD_GetTriangle(GMD_File* handle, float vertices[9]) {
    return getVertices<Shape::Triangle>(handle, allVertices(Shape::Triangle), vertices);
}

int32_t GMD_GetTriangleVertices(GMD_File* handle, float vertices[9]) { return GMD_GetTriangle(handle, vertices); }

int32_t GMD_GetQuad(GMD_File* handle, float vertices[12]) {
    return getVertices<Shape::Quad>(handle, allVertices(Shape::Quad), vertices);
}

int32_t GMD_GetQuadVertices(GMD_File* handle, float vertices[12]) { return GMD_GetQuad(handle, vertices); }

int32_t GMD_GetVertex(GMD_File* handle, uint32_t index, float vertex[3]) {
    return guarded(handle, [&](RecordFile& file) {
        for (Shape shape : kShapes) {
            if (!hasShape(file, shape)) continue;
            if (index >= ruleOf(shape).vertices) return false;
            const WordRange words = vertexWords(static_cast<std::int32_t>(index));
            return wordsOut(file.record, words.first, words.count, vertex);
        }
        return false;
    });
}

int32_t GMD_SetSegment(GMD_File* handle, const float vertices[6]) {
    return setVertices<Shape::Segment>(handle, allVertices(Shape::Segment), vertices);
}

int32_t GMD_SetSegmentVertices(GMD_File* handle, const float vertices[6]) { return GMD_SetSegment(handle, vertices); }

int32_t GMD_SetSegmentVertex(GMD_File* handle, uint32_t index, const float vertex[3]) {
    return setVertex<Shape::Segment>(handle, index, vertex);
}

int32_t GMD_SetTriangle(GMD_File* handle, const float vertices[9]) {
    return setVertices<Shape::Triangle>(handle, allVertices(Shape::Triangle), vertices);
}

int32_t GMD_SetTriangleVertices(GMD_File* handle, const float vertices[9]) { return GMD_SetTriangle(handle, vertices); }

int32_t GMD_SetTriangleVertex(GMD_File* handle, uint32_t index, const float vertex[3]) {
    return setVertex<Shape::Triangle>(handle, index, vertex);
}

int32_t GMD_SetQuad(GMD_File* handle, const float vertices[12]) {
    return setVertices<Shape::Quad>(handle, allVertices(Shape::Quad), vertices);
}

int32_t GMD_SetQuadVertices(GMD_File* handle, const float vertices[12]) { return GMD_SetQuad(handle, vertices); }

int32_t GMD_SetQuadVertex(GMD_File* handle, uint32_t index, const float vertex[3]) {
    return setVertex<Shape::Quad>(handle, index, vertex);
}
