// The STL and OBJ harnesses: any bytes become a file that the importer reads
// to the end or refuses with a message. Every face it hands on must have 2 to
// 4 corners in a group it announced before.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "convert/import.h"
#include "getters.h"
#include "model/error.h"

namespace gmdfuzz {

class CheckingSink : public gmdk::ImportSink {
public:
    void group(int number, const std::string&) override {
        if (number != groups_++ || number >= gmdk::kMaxImportGroups) std::abort();
    }
    void face(const gmdk::ImportedFace& f) override {
        if (f.corners < 2 || f.corners > 4 || f.group < 0 || f.group >= groups_) std::abort();
    }

private:
    int groups_ = 0;
};

template <typename Read>
int importBytes(const char* stem, const uint8_t* data, size_t size, Read read) {
    static const std::string path = scratchPath(stem);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return 0;
    if (size > 0) std::fwrite(data, 1, size, out);
    std::fclose(out);
    CheckingSink sink;
    try {
        read(path, "fuzz", sink);
    } catch (const gmdk::Error& e) {
        // Every refusal says which file it is about.
        if (std::string(e.what()).rfind("fuzz: ", 0) != 0) std::abort();
    }
    return 0;
}

}  // namespace gmdfuzz
