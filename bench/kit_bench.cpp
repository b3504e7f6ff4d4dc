// gmdkit against libgmd's own loops over one file of triangles, in the same
// run: the frame scan and the bulk mesh read against the plain read loop,
// the bulk mesh write against the plain write loop. The bindings' whole-mesh
// calls cost at least this much, so these ratios bound theirs from above.
//
//   kit_bench [--triangles=N] [Google Benchmark flags]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "gmd.h"
#include "gmdkit.h"

namespace {

std::int64_t triangles = 5000000;
const char* const kFile = "kit_bench.gmd";
const char* const kWritten = "kit_bench_written.gmd";

// Nine coordinates per triangle, from a lattice of 1000 values, so that a
// merge finds many equal points.
float coordinate(std::int64_t i) { return static_cast<float>(i % 1000) * 0.5f; }

bool writeLoop(const char* path) {
    GMD_File* out = GMD_OpenWriteFile(path);
    bool ok = out != nullptr;
    float xyz[9];
    for (std::int64_t t = 0; ok && t < triangles; ++t) {
        for (int k = 0; k < 9; ++k) xyz[k] = coordinate(9 * t + k);
        ok = GMD_SetTriangle(out, xyz) && GMD_SetGroup(out, static_cast<std::int32_t>(t % 7)) && GMD_WriteRecord(out);
    }
    return GMD_CloseFile(out) && ok;
}

void readLoop(benchmark::State& state) {
    std::int64_t read = 0;
    for (auto _ : state) {
        GMD_File* in = GMD_OpenReadFile(kFile);
        float xyz[9];
        std::int32_t group = 0;
        read = 0;
        while (GMD_GetRecord(in))
            if (GMD_GetRecordType(in) == GMD_RECORD_TRIANGLE && GMD_GetTriangle(in, xyz) && GMD_GetGroup(in, &group))
                ++read;
        GMD_CloseFile(in);
        benchmark::DoNotOptimize(xyz);
    }
    if (read != triangles) state.SkipWithError("the read loop missed triangles");
}

void scan(benchmark::State& state) {
    GMDK_Report report;
    int status = GMDK_STATUS_OK;
    for (auto _ : state) status = gmdk_scan_file(kFile, &report);
    if (status != GMDK_STATUS_OK || report.frames != static_cast<std::uint64_t>(triangles))
        state.SkipWithError("the scan did not reach the clean end");
}

// The caller's arrays are made and touched once, outside the timing: what
// their first touch costs is the caller's allocator's affair (numpy asks for
// huge pages), not gmdkit's.
void meshRead(benchmark::State& state, int options) {
    GMDK_MeshReader* reader = nullptr;
    GMDK_Mesh counts{};
    int status = gmdk_mesh_open(kFile, options, &reader, &counts, nullptr);
    gmdk_mesh_close(reader);
    const auto n = static_cast<std::size_t>(counts.triangles.count);
    std::vector<float> points(3 * static_cast<std::size_t>(counts.point_count));
    std::vector<std::int64_t> corners(3 * n), record(n);
    std::vector<std::int32_t> group(n), volume(2 * n);
    for (auto _ : state) {
        GMDK_Mesh mesh{};
        status = gmdk_mesh_open(kFile, options, &reader, &mesh, nullptr);
        if (status != GMDK_STATUS_OK) break;
        mesh.points = points.data();
        mesh.triangles = {mesh.triangles.count, corners.data(), group.data(), volume.data(), record.data()};
        status = gmdk_mesh_fill(reader, &mesh);
        gmdk_mesh_close(reader);
        benchmark::DoNotOptimize(points.data());
    }
    if (status != GMDK_STATUS_OK || corners.size() != 3 * static_cast<std::size_t>(triangles) ||
        record.back() != triangles - 1)
        state.SkipWithError("the mesh read failed");
}

void plainWrite(benchmark::State& state) {
    bool ok = true;
    for (auto _ : state) ok = writeLoop(kWritten);
    if (!ok) state.SkipWithError("the write loop failed");
}

void meshWrite(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(triangles);
    std::vector<float> points(9 * n);
    std::vector<std::int64_t> corners(3 * n);
    std::vector<std::int32_t> group(n);
    for (std::size_t i = 0; i < 9 * n; ++i) points[i] = coordinate(static_cast<std::int64_t>(i));
    for (std::size_t i = 0; i < 3 * n; ++i) corners[i] = static_cast<std::int64_t>(i);
    for (std::size_t i = 0; i < n; ++i) group[i] = static_cast<std::int32_t>(i % 7);
    GMDK_Mesh mesh{};
    mesh.point_count = 3 * triangles;
    mesh.points = points.data();
    mesh.triangles = {triangles, corners.data(), group.data(), nullptr, nullptr};
    int status = GMDK_STATUS_OK;
    for (auto _ : state) status = gmdk_mesh_write(kWritten, &mesh, 0, nullptr);
    if (status != GMDK_STATUS_OK) state.SkipWithError("the mesh write failed");
}

// Keeps the least CPU time of each workload's repetitions for the ratios: on
// a shared machine the wall clock mostly measures the neighbours.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_None) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
            const double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            auto [it, fresh] = best_.emplace(run.run_name.function_name, seconds);
            if (!fresh) it->second = std::min(it->second, seconds);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double seconds(const std::string& name) const {
        auto it = best_.find(name);
        return it == best_.end() ? 0 : it->second;
    }

private:
    std::map<std::string, double> best_;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--triangles=", 12) == 0)
            triangles = std::atoll(argv[i] + 12);
        else
            args.push_back(argv[i]);
    }
    // Repetitions of the workloads alternate, so that the machine's load
    // falls on every workload alike.
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (triangles <= 0 || !writeLoop(kFile)) {
        std::fprintf(stderr, "kit_bench: cannot write %s\n", kFile);
        return 1;
    }
    auto timed = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
    };
    timed(benchmark::RegisterBenchmark("read_loop", readLoop));
    timed(benchmark::RegisterBenchmark("scan", scan));
    timed(benchmark::RegisterBenchmark("mesh_read", meshRead, 0));
    timed(benchmark::RegisterBenchmark("mesh_read_merged", meshRead, GMDK_MERGE_POINTS));
    timed(benchmark::RegisterBenchmark("write_loop", plainWrite));
    timed(benchmark::RegisterBenchmark("mesh_write", meshWrite));
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::remove(kFile);
    std::remove(kWritten);

    std::printf("\n%lld triangles; throughput as a multiple of libgmd's own loop (least CPU time of 3)\n",
                static_cast<long long>(triangles));
    std::printf("| workload | seconds | x loop |\n|---|---:|---:|\n");
    const struct {
        const char* name;
        const char* base;
    } rows[] = {{"scan", "read_loop"},
                {"mesh_read", "read_loop"},
                {"mesh_read_merged", "read_loop"},
                {"mesh_write", "write_loop"}};
    for (const auto& row : rows) {
        const double s = reporter.seconds(row.name), base = reporter.seconds(row.base);
        if (s > 0 && base > 0) std::printf("| %s | %.3f | %.2f |\n", row.name, s, base / s);
    }
    benchmark::Shutdown();
    return 0;
}
