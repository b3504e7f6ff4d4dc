#include "jsonl_writer.h"

#include <cstring>

#include "gmd.h"
#include "io.h"
#include "model/setters.h"

#if defined(__linux__)
#  include <sys/mman.h>
#  include <unistd.h>
#endif

namespace tool {

namespace {

// A batch is checked and written once its lines or frames reach this size.
constexpr std::size_t kBatchBytes = std::size_t(1) << 20;

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

JsonlWriter::JsonlWriter(const std::string& path, const std::string& label) : label_(label) {
    // The scratch frames live in memory where the system allows: a file on
    // disk would be truncated and rewritten for every batch.
#if defined(__linux__)
    scratchFd_ = memfd_create("gmd-jsonl-check", MFD_CLOEXEC);
    if (scratchFd_ >= 0) {
        scratchPath_ = "/proc/self/fd/" + std::to_string(scratchFd_);
        if (access(scratchPath_.c_str(), R_OK | W_OK) != 0) {
            ::close(scratchFd_);
            scratchFd_ = -1;
        }
    }
#endif
    if (scratchFd_ < 0) scratchPath_ = makeTemporaryPath();
    text_.reserve(2 * kBatchBytes);
    frames_.reserve(kBatchBytes + 4096);
    out_ = std::fopen(path.c_str(), "wb");
    if (!out_) {
        releaseScratch();
        throw Exit(2, label + ": cannot create the file");
    }
}

JsonlWriter::~JsonlWriter() {
    if (scratch_) GMD_CloseFile(scratch_);
    if (out_) std::fclose(out_);
    releaseScratch();
}

void JsonlWriter::releaseScratch() {
#if defined(__linux__)
    if (scratchFd_ >= 0) {
        ::close(scratchFd_);
        return;
    }
#endif
    std::remove(scratchPath_.c_str());
}

void JsonlWriter::add(const Record& r) {
    if (r.hasFields && textSurvivesJson(r) && writeThroughSetters(r)) {
        Pending p;
        p.frameStart = frames_.size();
        const std::uint32_t length = static_cast<std::uint32_t>(r.frame.payload.size() + 4);
        frames_.resize(p.frameStart + length + 8);
        std::uint8_t* f = frames_.data() + p.frameStart;
        put32(f, length);
        f[4] = r.frame.letter;
        f[5] = r.frame.countByte;
        f[6] = static_cast<std::uint8_t>(r.frame.group);
        f[7] = static_cast<std::uint8_t>(r.frame.group2);
        if (!r.frame.payload.empty()) std::memcpy(f + 8, r.frame.payload.data(), r.frame.payload.size());
        put32(f + 4 + length, length);
        p.lineStart = text_.size();
        lines_.append(text_, r);
        text_.append('\n');
        p.lineEnd = text_.size();
        p.index = r.index;
        p.offset = r.frame.offset;
        p.code = r.code;
        pending_.push_back(p);
    } else {
        lines_.appendRaw(text_, r);
        text_.append('\n');
    }
    if (text_.size() >= kBatchBytes || frames_.size() >= kBatchBytes) flush();
}

// True when the setters took the record and its frame went to the scratch
// file; a record they refuse writes nothing there.
bool JsonlWriter::writeThroughSetters(const Record& r) {
    if (!scratch_) {
        scratch_ = GMD_OpenWriteFile(scratchPath_.c_str());
        if (!scratch_) throw Exit(2, "cannot create a temporary file");
    }
    bool accepted = false;
    try {
        accepted = gmdk::setRecord(scratch_, r);
    } catch (const Error&) {
        accepted = false;
    }
    if (!accepted) {
        GMD_ResetRecord(scratch_);
        return false;
    }
    if (!GMD_WriteRecord(scratch_)) throw Exit(2, "cannot write a temporary file");
    return true;
}

void JsonlWriter::tail(std::uint64_t offset, const std::string& reason, const std::vector<std::uint8_t>& bytes) {
    flush();
    const std::string line = jsonLine(tailToJson(offset, reason, bytes)) + '\n';
    text_.append(line.data(), line.size());
    flush();
}

void JsonlWriter::close() {
    flush();
    std::FILE* out = out_;
    out_ = nullptr;
    if (std::fclose(out) != 0) throw Exit(2, label_ + ": write failed");
}

void JsonlWriter::flush() {
    if (!pending_.empty()) {
        GMD_File* scratch = scratch_;
        scratch_ = nullptr;
        if (!GMD_CloseFile(scratch)) throw Exit(2, "cannot write a temporary file");
        readScratch();
        // The scratch file holds one frame per pending record, in order, so
        // equal bytes mean every record came back as it was.
        if (written_.size() != frames_.size() || std::memcmp(written_.data(), frames_.data(), frames_.size()) != 0)
            replaceUnfaithfulLines();
    }
    if (!text_.empty() && std::fwrite(text_.data(), 1, text_.size(), out_) != text_.size())
        throw Exit(2, label_ + ": write failed");
    text_.clear();
    frames_.clear();
    pending_.clear();
}

void JsonlWriter::readScratch() {
    std::FILE* in = std::fopen(scratchPath_.c_str(), "rb");
    if (!in) throw Exit(2, "cannot read back a temporary file");
    written_.resize(frames_.size() + 4096);
    std::size_t have = 0;
    for (;;) {
        have += std::fread(written_.data() + have, 1, written_.size() - have, in);
        if (have < written_.size()) break;
        written_.resize(2 * written_.size());
    }
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) throw Exit(2, "cannot read back a temporary file");
    written_.resize(have);
}

// Walks the scratch frames beside the originals and gives every record whose
// frame came back different its raw line.
void JsonlWriter::replaceUnfaithfulLines() {
    LineBuffer rebuilt;
    std::size_t copied = 0;   // text_ before this is in rebuilt
    std::size_t at = 0;       // the next scratch frame
    for (const Pending& p : pending_) {
        const std::uint8_t* original = frames_.data() + p.frameStart;
        const std::size_t size = std::size_t(le32(original)) + 8;
        bool same = false;
        if (at + 4 <= written_.size()) {
            const std::size_t back = std::size_t(le32(written_.data() + at)) + 8;
            same = back == size && at + size <= written_.size() && std::memcmp(written_.data() + at, original, size) == 0;
            at = back <= written_.size() - at ? at + back : written_.size();
        }
        if (same) continue;
        rebuilt.append(text_.data() + copied, p.lineStart - copied);
        raw_.index = p.index;
        raw_.code = p.code;
        raw_.frame.offset = p.offset;
        raw_.frame.letter = original[4];
        raw_.frame.countByte = original[5];
        raw_.frame.group = static_cast<std::int8_t>(original[6]);
        raw_.frame.group2 = static_cast<std::int8_t>(original[7]);
        raw_.frame.payload.assign(original + 8, original + size - 4);
        lines_.appendRaw(rebuilt, raw_);
        rebuilt.append('\n');
        copied = p.lineEnd;
    }
    if (copied == 0) return;
    rebuilt.append(text_.data() + copied, text_.size() - copied);
    text_.swap(rebuilt);
}

}  // namespace tool
