// One record of a GMD file as the tool sees it: the frame it came from, the
// record type code the library gave it, and its fields by name as the
// library's getters report them. A record whose fields do not describe its
// bytes completely (invalid, unknown letter, or a form the setters cannot
// produce) keeps only its frame and is carried as raw bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frames.h"

struct GMD_File;

namespace tool {

enum class Kind { Float, Int, Text };

struct Field {
    std::string name;
    Kind kind = Kind::Float;
    bool scalar = false;     // one value rather than a list
    bool derived = false;    // computed by the library; setters do not take it
    std::vector<float> floats;
    std::vector<std::int32_t> ints;
    std::string text;

    std::size_t size() const { return kind == Kind::Float ? floats.size() : ints.size(); }
};

Field floatField(const std::string& name, std::vector<float> values, bool scalar = false);
Field intField(const std::string& name, std::vector<std::int32_t> values, bool scalar = false);

struct Record {
    std::size_t index = 0;
    Frame frame;
    std::int32_t code = 0;      // GMD_GetRecordType
    bool hasFields = false;     // fields describe the record; otherwise raw
    std::vector<Field> fields;

    const Field* find(const std::string& name) const;
    // Fetches a field that must be there with this many values (0: any).
    const Field& floats(const std::string& name, std::size_t count = 0) const;
    const Field& ints(const std::string& name, std::size_t count = 0) const;
    const std::string& text(const std::string& name) const;
    float scalarFloat(const std::string& name) const { return floats(name, 1).floats[0]; }
    std::int32_t scalarInt(const std::string& name) const { return ints(name, 1).ints[0]; }
};

struct Model {
    Scan scan;                  // frames are moved into the records
    std::vector<Record> records;
    std::string libraryNote;    // set when the library and the scan disagree on where reading ends
};

// Reads every frame through the library and pairs it with the raw scan.
Model readModel(const std::string& path, const std::string& label);

// Name of a record type code ("triangle", "NURBS surface", "unknown 'Q'").
std::string typeName(std::int32_t code, std::uint8_t letter);
// The letter as text: the character when printable, else 0xNN.
std::string letterText(std::uint8_t letter);
// Shortest decimal text that reads back to the same float32 bits.
std::string formatFloat(float value);
bool isTriangleCode(std::int32_t code);
bool isPolygonCode(std::int32_t code);

// Fills the handle's current record through the setters; false when a setter
// refused (the record is then left as far as it got).
bool setRecord(GMD_File* handle, const Record& record);

// Writes records to a new file: records with fields through the library's
// setters, raw records as their frame bytes.
class RecordWriter {
public:
    RecordWriter(const std::string& path, const std::string& label);
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;
    // Returns false when a setter refused the record; an empty record is
    // written in its place so that frames stay one per record.
    bool write(const Record& record);
    void writeBytes(const std::vector<std::uint8_t>& bytes);
    void close();

private:
    std::string path_;
    std::string label_;
    GMD_File* handle_ = nullptr;
};

}  // namespace tool
