// The library against two baselines measured in the same run: the limit (the
// same bytes moved with large read()/write() calls and a walk over the
// frames) and a Fortran peer (gfortran unformatted sequential I/O of the same
// triangle records). Each workload runs several times, alternating with its
// baselines; the table compares medians.
//
//   gmd_bench [--dir D] [--triangles N] [--blocks B] [--small-files F]
//             [--repetitions R] [--rss-records N] [benchmark flags]
//
// Scratch files go to D (default: a new folder under the working folder),
// which is removed at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gmd.h"
#include "mixed.h"
#include "workload.h"

extern "C" int gmd_bench_peer_write_tri(const char* path, std::int64_t n);
extern "C" int gmd_bench_peer_read_tri(const char* path, std::int64_t* count, std::int64_t* s1, std::int64_t* s2);
extern char** environ;

using namespace gmdbench;

namespace {

struct Config {
    std::string dir;
    bool ownDir = false;
    std::int64_t triangles = 5'000'000;
    std::int64_t blocks = 10'000;  // mixed blocks of MixedBlock::kRecords records
    std::int64_t smallFiles = 20'000;
    std::int64_t rssRecords = 500'000;
    int repetitions = 5;
};

Config config;

constexpr std::int64_t kTriangleFrameBytes = 48;
constexpr int kRecordsPerSmallFile = 10;

std::string file(const char* name) { return config.dir + "/" + name; }

Checksum triangleChecksum(std::int64_t n) {
    Checksum sum;
    float v[9];
    for (std::int64_t i = 0; i < n; ++i) {
        triangle(i, v);
        sum.add(v, 9);
    }
    return sum;
}

const Checksum& expectedTriangles() {
    static const Checksum sum = triangleChecksum(config.triangles);
    return sum;
}

// The frame of triangle i, as the library and the peer write it.
void triangleFrame(std::int64_t i, unsigned char out[kTriangleFrameBytes]) {
    float v[9];
    triangle(i, v);
    std::memcpy(out, &kTriangleLength, 4);
    std::memcpy(out + 4, &kTriangleHeader, 4);
    std::memcpy(out + 8, v, 36);
    std::memcpy(out + 44, &kTriangleLength, 4);
}

// ---- the limit: whole-file read() and a walk over the frames; large write() calls

std::vector<unsigned char> slurp(const std::string& name, bool& ok) {
    std::ifstream in(name, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ok = in.good() || in.eof();
    ok = ok && bytes.size() == std::filesystem::file_size(name);
    return bytes;
}

struct Walk {
    bool ok = true;
    std::int64_t frames = 0;
    Checksum payload;  // every payload word behind the header word
};

Walk walkFrames(const unsigned char* p, std::size_t size) {
    Walk walk;
    std::size_t at = 0;
    while (at < size) {
        std::int32_t length, trailer;
        if (size - at < 12) return walk.ok = false, walk;
        std::memcpy(&length, p + at, 4);
        if (length < 4 || static_cast<std::size_t>(length) + 8 > size - at) return walk.ok = false, walk;
        std::memcpy(&trailer, p + at + 4 + static_cast<std::size_t>(length), 4);
        if (trailer != length) return walk.ok = false, walk;
        walk.payload.add(p + at + 8, static_cast<std::size_t>(length - 4) / 4);
        at += static_cast<std::size_t>(length) + 8;
        ++walk.frames;
    }
    return walk;
}

// The whole file with one read() into memory that was allocated and touched
// beforehand: page faults of a fresh allocation would slow the limit down by
// far more than the library's reading costs, and make the ceiling too easy.
Walk limitRead(const std::string& name) {
    static std::vector<unsigned char> memory;
    Walk walk;
    walk.ok = false;
    const int fd = ::open(name.c_str(), O_RDONLY);
    if (fd < 0) return walk;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return walk;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    if (memory.size() < size) memory.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, memory.data() + done, size - done);
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (done != size) return walk;
    return walkFrames(memory.data(), size);
}

class LargeWriter {
public:
    explicit LargeWriter(const std::string& name)
        : fd_(::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)), opened_(fd_ >= 0), chunk_(new unsigned char[kChunk]) {}
    ~LargeWriter() { close(); }
    bool ok() const { return opened_ && ok_; }
    // Room for n bytes (n <= kChunk), flushing first when needed.
    unsigned char* room(std::size_t n) {
        if (used_ + n > kChunk) flush();
        unsigned char* at = chunk_.get() + used_;
        used_ += n;
        return at;
    }
    void put(const unsigned char* p, std::size_t n) {
        while (n > 0) {
            const std::size_t step = std::min(n, kChunk);
            std::memcpy(room(step), p, step);
            p += step;
            n -= step;
        }
    }
    void close() {
        if (fd_ < 0) return;
        flush();
        ok_ = ::close(fd_) == 0 && ok_;
        fd_ = -1;
    }

private:
    static constexpr std::size_t kChunk = std::size_t{1} << 20;
    void flush() {
        std::size_t done = 0;
        while (done < used_) {
            const ssize_t put = ::write(fd_, chunk_.get() + done, used_ - done);
            if (put <= 0) {
                ok_ = false;
                break;
            }
            done += static_cast<std::size_t>(put);
        }
        used_ = 0;
    }
    int fd_;
    bool opened_;
    bool ok_ = true;
    std::unique_ptr<unsigned char[]> chunk_;
    std::size_t used_ = 0;
};

// ---- the triangle loops through the library

bool libraryWriteTriangles(const std::string& name, std::int64_t n) {
    GMD_File* out = GMD_OpenWriteFile(name.c_str());
    if (out == nullptr) return false;
    float v[9];
    bool ok = true;
    for (std::int64_t i = 0; i < n; ++i) {
        triangle(i, v);
        ok &= GMD_SetTriangle(out, v) == 1;
        ok &= GMD_WriteRecord(out) == 1;
    }
    GMD_CloseFile(out);
    return ok;
}

// Reads a triangle file; false unless every record is a triangle.
bool libraryReadTriangles(const std::string& name, std::int64_t& count, Checksum& sum) {
    GMD_File* in = GMD_OpenReadFile(name.c_str());
    if (in == nullptr) return false;
    float v[9];
    bool ok = true;
    count = 0;
    while (GMD_GetRecord(in)) {
        ok &= GMD_GetRecordType(in) == GMD_RECORD_TRIANGLE;
        ok &= GMD_GetTriangle(in, v) == 1;
        sum.add(v, 9);
        ++count;
    }
    GMD_CloseFile(in);
    return ok;
}

// A file of triangles checked without the library: n well-formed frames,
// each with a triangle's header, whose vertices sum to `expected`.
bool triangleFileHolds(const std::string& name, std::int64_t n, const Checksum& expected) {
    bool ok = false;
    const std::vector<unsigned char> bytes = slurp(name, ok);
    if (!ok || bytes.size() != static_cast<std::size_t>(n) * kTriangleFrameBytes) return false;
    const Walk walk = walkFrames(bytes.data(), bytes.size());
    if (!walk.ok || walk.frames != n) return false;
    Checksum sum;
    for (std::int64_t i = 0; i < n; ++i) {
        const unsigned char* frame = bytes.data() + i * kTriangleFrameBytes;
        if (std::memcmp(frame + 4, &kTriangleHeader, 4) != 0) return false;
        sum.add(frame + 8, 9);
    }
    return sum == expected;
}

// Before a timed write: the target goes and the page cache is written back,
// so that no writer waits for the truncation or writeback of what an earlier
// run left behind.
void freshTarget(const std::string& name) {
    std::filesystem::remove(name);
    ::sync();
}

void setCounters(benchmark::State& state, std::int64_t records, std::int64_t bytes) {
    state.counters["records"] = static_cast<double>(records);
    state.counters["bytes"] = static_cast<double>(bytes);
}

// ---- workloads

void writeTri(benchmark::State& state) {
    bool ok = true;
    freshTarget(file("tri.gmd"));
    for (auto _ : state) ok = libraryWriteTriangles(file("tri.gmd"), config.triangles);
    if (!ok || !triangleFileHolds(file("tri.gmd"), config.triangles, expectedTriangles()))
        state.SkipWithError("write_tri: the file does not hold what was written");
    setCounters(state, config.triangles, config.triangles * kTriangleFrameBytes);
}

void readTri(benchmark::State& state) {
    Checksum sum;
    std::int64_t count = 0;
    bool ok = true;
    for (auto _ : state) ok = libraryReadTriangles(file("tri.gmd"), count, sum);
    if (!ok || count != config.triangles || sum != expectedTriangles())
        state.SkipWithError("read_tri: values read differ from values written");
    setCounters(state, count, count * kTriangleFrameBytes);
}

void limitWriteTri(benchmark::State& state) {
    bool ok = true;
    freshTarget(file("limit_tri.gmd"));
    for (auto _ : state) {
        LargeWriter out(file("limit_tri.gmd"));
        for (std::int64_t i = 0; i < config.triangles; ++i) triangleFrame(i, out.room(kTriangleFrameBytes));
        out.close();
        ok = out.ok();
    }
    if (!ok || !triangleFileHolds(file("limit_tri.gmd"), config.triangles, expectedTriangles()))
        state.SkipWithError("limit_write_tri: the file does not hold what was written");
    setCounters(state, config.triangles, config.triangles * kTriangleFrameBytes);
}

void limitReadTri(benchmark::State& state) {
    Walk walk;
    for (auto _ : state) walk = limitRead(file("tri.gmd"));
    if (!walk.ok || walk.frames != config.triangles || walk.payload != expectedTriangles())
        state.SkipWithError("limit_read_tri: values read differ from values written");
    setCounters(state, walk.frames, walk.frames * kTriangleFrameBytes);
}

void peerWriteTri(benchmark::State& state) {
    int ok = 1;
    freshTarget(file("peer_tri.gmd"));
    for (auto _ : state) ok = gmd_bench_peer_write_tri(file("peer_tri.gmd").c_str(), config.triangles);
    if (!ok || !triangleFileHolds(file("peer_tri.gmd"), config.triangles, expectedTriangles()))
        state.SkipWithError("peer_write_tri: the file does not hold what was written");
    setCounters(state, config.triangles, config.triangles * kTriangleFrameBytes);
}

void peerReadTri(benchmark::State& state) {
    std::int64_t count = 0, s1 = 0, s2 = 0;
    int ok = 1;
    for (auto _ : state) ok = gmd_bench_peer_read_tri(file("peer_tri.gmd").c_str(), &count, &s1, &s2);
    const Checksum& expected = expectedTriangles();
    if (!ok || count != config.triangles || static_cast<std::uint64_t>(s1) != expected.s1 ||
        static_cast<std::uint64_t>(s2) != expected.s2)
        state.SkipWithError("peer_read_tri: values read differ from values written");
    setCounters(state, count, count * kTriangleFrameBytes);
}

std::int64_t fileSize(const std::string& name) {
    std::error_code error;
    const auto size = std::filesystem::file_size(name, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

const Checksum& expectedMixed() {
    static const Checksum sum = [] {
        Checksum s;
        GMD_File* out = GMD_OpenWriteFile(file("mixed_expected.gmd").c_str());
        writeMixed(out, config.blocks, s);
        GMD_CloseFile(out);
        std::remove(file("mixed_expected.gmd").c_str());
        return s;
    }();
    return sum;
}

void writeMixedBench(benchmark::State& state) {
    bool ok = true;
    Checksum sum;
    freshTarget(file("mixed.gmd"));
    for (auto _ : state) {
        GMD_File* out = GMD_OpenWriteFile(file("mixed.gmd").c_str());
        ok = out != nullptr && writeMixed(out, config.blocks, sum);
        GMD_CloseFile(out);
    }
    // What the file holds is checked by reading it back through the getters.
    Checksum back;
    GMD_File* in = GMD_OpenReadFile(file("mixed.gmd").c_str());
    const MixedCounts counts = in != nullptr ? readMixed(in, back) : MixedCounts{};
    GMD_CloseFile(in);
    const std::int64_t records = config.blocks * MixedBlock::kRecords;
    if (!ok || sum != back || counts.records != records || counts.unexpected != 0)
        state.SkipWithError("write_mixed: the file does not hold what was written");
    setCounters(state, records, fileSize(file("mixed.gmd")));
}

void readMixedBench(benchmark::State& state) {
    Checksum sum;
    MixedCounts counts;
    for (auto _ : state) {
        GMD_File* in = GMD_OpenReadFile(file("mixed.gmd").c_str());
        counts = in != nullptr ? readMixed(in, sum) : MixedCounts{};
        GMD_CloseFile(in);
    }
    if (counts.records != config.blocks * MixedBlock::kRecords || counts.unexpected != 0 || sum != expectedMixed())
        state.SkipWithError("read_mixed: values read differ from values written");
    setCounters(state, counts.records, fileSize(file("mixed.gmd")));
}

// The mixed file's bytes, held in memory for the limit writer.
const std::vector<unsigned char>& mixedBytes() {
    static const std::vector<unsigned char> bytes = [] {
        bool ok = false;
        return slurp(file("mixed.gmd"), ok);
    }();
    return bytes;
}

void limitWriteMixed(benchmark::State& state) {
    const std::vector<unsigned char>& bytes = mixedBytes();
    bool ok = true;
    freshTarget(file("limit_mixed.gmd"));
    for (auto _ : state) {
        LargeWriter out(file("limit_mixed.gmd"));
        out.put(bytes.data(), bytes.size());
        out.close();
        ok = out.ok();
    }
    bool same = false;
    if (ok) same = slurp(file("limit_mixed.gmd"), ok) == bytes && ok;
    if (!same || bytes.empty()) state.SkipWithError("limit_write_mixed: the file does not hold what was written");
    setCounters(state, config.blocks * MixedBlock::kRecords, static_cast<std::int64_t>(bytes.size()));
}

void limitReadMixed(benchmark::State& state) {
    Walk walk;
    for (auto _ : state) walk = limitRead(file("mixed.gmd"));
    const Walk reference = walkFrames(mixedBytes().data(), mixedBytes().size());
    if (!walk.ok || walk.frames != config.blocks * MixedBlock::kRecords || walk.payload != reference.payload)
        state.SkipWithError("limit_read_mixed: the frames read differ from those written");
    setCounters(state, walk.frames, fileSize(file("mixed.gmd")));
}

// Names of new files in a fresh folder: rewriting one file over and over
// would time the file system's handling of truncated files instead (ext4
// flushes a file truncated and rewritten at its close).
std::vector<std::string> smallFileNames(const char* folder) {
    const std::string dir = file(folder);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::vector<std::string> names;
    for (std::int64_t f = 0; f < config.smallFiles; ++f) names.push_back(dir + "/" + std::to_string(f) + ".gmd");
    ::sync();
    return names;
}

// Checks the last small file, removes the folder and sets the counters.
void finishSmallFiles(benchmark::State& state, const char* folder, const std::vector<std::string>& names, bool ok) {
    Checksum expected;
    float v[9];
    for (int r = 0; r < kRecordsPerSmallFile; ++r) {
        triangle((config.smallFiles - 1) * kRecordsPerSmallFile + r, v);
        expected.add(v, 9);
    }
    Checksum sum;
    std::int64_t count = 0;
    ok &= libraryReadTriangles(names.back(), count, sum) && count == kRecordsPerSmallFile && sum == expected;
    std::filesystem::remove_all(file(folder));
    if (!ok) state.SkipWithError("the last small file does not hold what was written");
    setCounters(state, config.smallFiles * kRecordsPerSmallFile,
                config.smallFiles * kRecordsPerSmallFile * kTriangleFrameBytes);
}

void smallFiles(benchmark::State& state) {
    bool ok = true;
    const std::vector<std::string> names = smallFileNames("small");
    for (auto _ : state) {
        float v[9];
        for (std::int64_t f = 0; f < config.smallFiles; ++f) {
            GMD_File* out = GMD_OpenWriteFile(names[static_cast<std::size_t>(f)].c_str());
            ok &= out != nullptr;
            for (int r = 0; r < kRecordsPerSmallFile; ++r) {
                triangle(f * kRecordsPerSmallFile + r, v);
                ok &= GMD_SetTriangle(out, v) == 1;
                ok &= GMD_WriteRecord(out) == 1;
            }
            GMD_CloseFile(out);
        }
    }
    finishSmallFiles(state, "small", names, ok);
}

void stdioSmallFiles(benchmark::State& state) {
    bool ok = true;
    const std::vector<std::string> names = smallFileNames("stdio_small");
    for (auto _ : state) {
        unsigned char frame[kTriangleFrameBytes];
        for (std::int64_t f = 0; f < config.smallFiles; ++f) {
            std::FILE* out = std::fopen(names[static_cast<std::size_t>(f)].c_str(), "wb");
            ok &= out != nullptr;
            if (out == nullptr) continue;
            for (int r = 0; r < kRecordsPerSmallFile; ++r) {
                triangleFrame(f * kRecordsPerSmallFile + r, frame);
                ok &= std::fwrite(frame, 1, sizeof frame, out) == sizeof frame;
            }
            ok &= std::fclose(out) == 0;
        }
    }
    finishSmallFiles(state, "stdio_small", names, ok);
}

// ---- peak resident memory of read_tri, in a child process of its own

// The child reads the file and writes its peak resident KiB (VmHWM, which
// starts afresh at exec, unlike the rusage of a spawned child) to `out`.
int rssChild(const char* name, std::int64_t n, const char* out) {
    Checksum sum;
    std::int64_t count = 0;
    const bool ok = libraryReadTriangles(name, count, sum);
    if (!ok || count != n || sum != triangleChecksum(n)) return 1;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) {
            std::ofstream(out) << std::atol(line.c_str() + 6) << "\n";
            return 0;
        }
    return 1;
}

// Peak resident KiB of a child reading `name`, or -1.
long childPeakKiB(const std::string& name, std::int64_t n) {
    const std::string records = std::to_string(n);
    const std::string out = file("rss.txt");
    std::vector<std::string> args = {"/proc/self/exe", "--rss-read", name, records, out};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    long kib = -1;
    std::ifstream(out) >> kib;
    return kib;
}

// ---- the table

class TableReporter : public benchmark::ConsoleReporter {
public:
    TableReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                failed_ = true;
                continue;
            }
            Sample& s = samples_[run.run_name.function_name];
            s.seconds.push_back(run.real_accumulated_time / static_cast<double>(run.iterations));
            s.records = run.counters.at("records").value;
            s.bytes = run.counters.at("bytes").value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    bool failed() const { return failed_; }

    struct Sample {
        std::vector<double> seconds;
        double records = 0;
        double bytes = 0;
        double median() const {
            std::vector<double> t = seconds;
            std::sort(t.begin(), t.end());
            const std::size_t n = t.size();
            return n == 0 ? 0 : n % 2 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
        }
    };
    const Sample* find(const std::string& name) const {
        auto it = samples_.find(name);
        return it == samples_.end() || it->second.seconds.empty() ? nullptr : &it->second;
    }

private:
    std::map<std::string, Sample> samples_;
    bool failed_ = false;
};

struct Row {
    const char* name;
    const char* limit;  // baseline of the same bytes, or null
    const char* peer;   // the Fortran peer, or null
};

constexpr Row kRows[] = {
    {"write_tri", "limit_write_tri", "peer_write_tri"},
    {"read_tri", "limit_read_tri", "peer_read_tri"},
    {"write_mixed", "limit_write_mixed", nullptr},
    {"read_mixed", "limit_read_mixed", nullptr},
    {"small_files", "stdio_small_files", nullptr},
    {"limit_write_tri", nullptr, nullptr},
    {"limit_read_tri", nullptr, nullptr},
    {"peer_write_tri", nullptr, nullptr},
    {"peer_read_tri", nullptr, nullptr},
    {"limit_write_mixed", nullptr, nullptr},
    {"limit_read_mixed", nullptr, nullptr},
    {"stdio_small_files", nullptr, nullptr},
};

// Throughput of `name` as a multiple of `base`'s, or 0 when either is missing.
double ratio(const TableReporter& table, const char* name, const char* base) {
    const auto* a = base ? table.find(name) : nullptr;
    const auto* b = base ? table.find(base) : nullptr;
    return a && b ? b->median() / a->median() : 0;
}

void printTable(const TableReporter& table, long peakSmall, long peakLarge) {
    std::printf("\n| workload | median s | records/s | MB/s | x limit | x peer |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    for (const Row& row : kRows) {
        const auto* s = table.find(row.name);
        if (s == nullptr) continue;
        const double t = s->median();
        char limit[32] = "", peer[32] = "";
        if (double r = ratio(table, row.name, row.limit); r > 0) std::snprintf(limit, sizeof limit, "%.2f", r);
        if (double r = ratio(table, row.name, row.peer); r > 0) std::snprintf(peer, sizeof peer, "%.2f", r);
        std::printf("| %s | %.3f | %.3g | %.0f | %s | %s |\n", row.name, t, s->records / t, s->bytes / t / 1e6, limit,
                    peer);
    }
    std::printf("\nmedians of %d alternated repetitions; x limit and x peer are throughput ratios "
                "(small_files: against the plain fopen/fwrite/fclose loop)\n",
                config.repetitions);

    std::printf("\ntargets\n");
    auto target = [](const char* what, double value, const char* relation, double bound, bool met, bool measured) {
        if (!measured)
            std::printf("  %-44s not measured\n", what);
        else
            std::printf("  %-44s %8.2f  (%s %.2f: %s)\n", what, value, relation, bound, met ? "met" : "NOT MET");
    };
    const double readLimit = ratio(table, "read_tri", "limit_read_tri");
    const double writeLimit = ratio(table, "write_tri", "limit_write_tri");
    const double readPeer = ratio(table, "read_tri", "peer_read_tri");
    const double writePeer = ratio(table, "write_tri", "peer_write_tri");
    const double small = ratio(table, "small_files", "stdio_small_files");
    target("read_tri throughput / limit", readLimit, ">=", 0.5, readLimit >= 0.5, readLimit > 0);
    target("write_tri throughput / limit", writeLimit, ">=", 0.5, writeLimit >= 0.5, writeLimit > 0);
    target("read_tri throughput / peer", readPeer, ">=", 3, readPeer >= 3, readPeer > 0);
    target("write_tri throughput / peer", writePeer, ">=", 3, writePeer >= 3, writePeer > 0);
    target("small_files time / fopen loop", small > 0 ? 1 / small : 0, "<=", 1.5, small > 0 && 1 / small <= 1.5,
           small > 0);
    const bool rss = peakSmall > 0 && peakLarge > 0;
    std::printf("  %-44s %s\n", "read_tri peak resident memory",
                rss ? "" : "not measured (the child reader failed)");
    if (rss) {
        const long grown = peakLarge - peakSmall;
        std::printf("    %lld records: %ld KiB, %lld records: %ld KiB, difference %ld KiB (<= 1024: %s)\n",
                    static_cast<long long>(config.rssRecords), peakSmall, static_cast<long long>(config.triangles),
                    peakLarge, grown, grown <= 1024 && grown >= -1024 ? "met" : "NOT MET");
    }
}

void printMachine() {
    struct utsname u;
    if (uname(&u) == 0) std::printf("machine: %s %s %s, %ld cores online\n", u.sysname, u.release, u.machine,
                                    sysconf(_SC_NPROCESSORS_ONLN));
    std::ifstream cpu("/proc/cpuinfo");
    for (std::string line; std::getline(cpu, line);)
        if (line.rfind("model name", 0) == 0) {
            std::printf("cpu: %s\n", line.substr(line.find(':') + 2).c_str());
            break;
        }
}

bool takeOption(int& argc, char** argv, const char* name, std::string& value) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) {
            value = argv[i + 1];
            for (int j = i; j + 2 <= argc; ++j) argv[j] = argv[j + 2];
            argc -= 2;
            return true;
        }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--rss-read") == 0) return rssChild(argv[2], std::atoll(argv[3]), argv[4]);

    std::string value;
    if (takeOption(argc, argv, "--dir", value)) config.dir = value;
    if (takeOption(argc, argv, "--triangles", value)) config.triangles = std::atoll(value.c_str());
    if (takeOption(argc, argv, "--blocks", value)) config.blocks = std::atoll(value.c_str());
    if (takeOption(argc, argv, "--small-files", value)) config.smallFiles = std::atoll(value.c_str());
    if (takeOption(argc, argv, "--repetitions", value)) config.repetitions = std::atoi(value.c_str());
    if (takeOption(argc, argv, "--rss-records", value)) config.rssRecords = std::atoll(value.c_str());
    if (config.dir.empty()) {
        char pattern[] = "gmd_bench.XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::perror("mkdtemp");
            return 1;
        }
        config.dir = std::filesystem::absolute(pattern).string();
        config.ownDir = true;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;

    printMachine();
    std::printf("scratch: %s; %lld triangles, %lld mixed records, %lld small files\n", config.dir.c_str(),
                static_cast<long long>(config.triangles),
                static_cast<long long>(config.blocks * MixedBlock::kRecords),
                static_cast<long long>(config.smallFiles));
    std::fflush(stdout);

    // Every input exists before the first timed run, so any filter works.
    if (!libraryWriteTriangles(file("tri.gmd"), config.triangles) ||
        !gmd_bench_peer_write_tri(file("peer_tri.gmd").c_str(), config.triangles)) {
        std::fprintf(stderr, "cannot write the input files in %s\n", config.dir.c_str());
        return 1;
    }
    {
        Checksum unused;
        GMD_File* out = GMD_OpenWriteFile(file("mixed.gmd").c_str());
        const bool ok = out != nullptr && writeMixed(out, config.blocks, unused);
        GMD_CloseFile(out);
        if (!ok) {
            std::fprintf(stderr, "cannot write the mixed model\n");
            return 1;
        }
        mixedBytes();
        expectedTriangles();
        expectedMixed();
        limitRead(file("tri.gmd"));
    }

    using Fn = void (*)(benchmark::State&);
    const std::pair<const char*, Fn> workloads[] = {
        {"write_tri", writeTri},          {"limit_write_tri", limitWriteTri},
        {"peer_write_tri", peerWriteTri}, {"read_tri", readTri},
        {"limit_read_tri", limitReadTri}, {"peer_read_tri", peerReadTri},
        {"write_mixed", writeMixedBench}, {"limit_write_mixed", limitWriteMixed},
        {"read_mixed", readMixedBench},   {"limit_read_mixed", limitReadMixed},
        {"small_files", smallFiles},      {"stdio_small_files", stdioSmallFiles},
    };
    // Registered round by round, so that every workload alternates with its baselines.
    for (int r = 0; r < config.repetitions; ++r)
        for (const auto& w : workloads)
            benchmark::RegisterBenchmark(w.first, w.second)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

    TableReporter table;
    benchmark::RunSpecifiedBenchmarks(&table);

    long peakSmall = -1, peakLarge = -1;
    if (libraryWriteTriangles(file("rss_small.gmd"), config.rssRecords)) {
        peakSmall = childPeakKiB(file("rss_small.gmd"), config.rssRecords);
        peakLarge = childPeakKiB(file("tri.gmd"), config.triangles);
    }
    printTable(table, peakSmall, peakLarge);
    benchmark::Shutdown();

    if (config.ownDir) std::filesystem::remove_all(config.dir);
    return table.failed() || peakSmall < 0 || peakLarge < 0 ? 1 : 0;
}
