// STL and OBJ files read as GMD groups of polygons.
//
// Every OBJ `g` or `o` name and every ASCII STL `solid` becomes a group,
// numbered 0, 1, 2... in order of appearance (a binary STL is one group).
// The group byte of a record is signed 8 bits, so a file with more than 128
// groups is refused rather than folded. Faces of more than four corners are
// cut into triangles.
#pragma once

#include <cstdint>
#include <string>

namespace gmdk {

// A face as it goes into a record: 2 (a line), 3 or 4 corners.
struct ImportedFace {
    int corners = 0;
    float xyz[12] = {};
    int group = 0;
};

class ImportSink {
public:
    virtual ~ImportSink() = default;
    // A group starts; its faces follow (possibly after other groups' faces).
    virtual void group(int number, const std::string& name) = 0;
    virtual void face(const ImportedFace& face) = 0;
};

constexpr int kMaxImportGroups = 128;

// Both throw Error with the file's label and the line (text) or byte offset
// (binary) of what is wrong, NotThisFormat when the file is not of that
// format at all.
void readStl(const std::string& path, const std::string& label, ImportSink& sink);
void readObj(const std::string& path, const std::string& label, ImportSink& sink);

}  // namespace gmdk
