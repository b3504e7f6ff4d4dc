// FrameScanner walks the frames of a GMD file from the bytes up and says
// where and why it stopped: the one thing libgmd cannot tell its callers,
// whose GMD_GetRecord answers 0 both at the end and at damage.
//
// The scan is one forward pass through a fixed read buffer. A frame that fits
// the buffer is checked in place; a larger one is skipped (or, when payloads
// are kept, gathered as its bytes arrive), so a length field alone never
// makes the scanner allocate: memory follows the bytes the file really holds.
//
//   gmdk::FrameScanner scan;
//   if (scan.openFile(path) == GMDK_STATUS_OK)
//       while (scan.next()) use(scan.frame(), scan.payload());
//   int status = scan.status();   // GMDK_STATUS_OK at a clean end
//   const GMDK_Report& why = scan.report();
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gmdkit.h"

namespace gmdk {

// The frame the scanner stands on: its place and its header as on disk.
struct Frame {
    std::uint64_t index = 0;      // 0-based record index in the file
    std::uint64_t offset = 0;     // byte offset of the leading length
    std::int32_t length = 0;      // L: header plus payload bytes, at least 4
    std::uint8_t letter = 0;
    std::uint8_t countByte = 0;   // header byte 1; readers go by L alone
    std::int8_t group = 0;
    std::int8_t group2 = 0;

    std::size_t payloadSize() const { return static_cast<std::size_t>(length) - 4; }
    std::uint64_t size() const { return static_cast<std::uint64_t>(length) + 8; }
};

class FrameScanner {
public:
    // Skip: payloads larger than the buffer are passed over (seeked when the
    // file allows); payload() is then null for them. Keep: every payload is
    // available through payload().
    enum class Payloads { Skip, Keep };

    static constexpr std::size_t kBufferSize = std::size_t(1) << 20;

    explicit FrameScanner(Payloads payloads = Payloads::Skip);
    ~FrameScanner();
    FrameScanner(const FrameScanner&) = delete;
    FrameScanner& operator=(const FrameScanner&) = delete;

    // A scanner reads one file or one block of bytes, once.
    // Opens a file for scanning. On failure the scanner is stopped with
    // GMDK_STOP_UNREADABLE and the status is returned (a folder is refused
    // with EISDIR).
    int openFile(const char* path);
    // Scans bytes the caller keeps alive while the scanner is used.
    void openBytes(const std::uint8_t* bytes, std::size_t size);

    // Moves to the next good frame; false once the scan has stopped.
    bool next();

    // Valid after next() returned true, until the following next().
    const Frame& frame() const { return frame_; }
    // The L - 4 payload bytes of the current frame, or null (see Payloads).
    const std::uint8_t* payload() const { return payload_; }

    // GMDK_STATUS_OK while scanning and after a clean end; otherwise why the
    // scan stopped (GMDK_STATUS_DAMAGED, _NOT_GMD, _OPEN_FAILED, _READ_FAILED,
    // _NO_MEMORY).
    int status() const { return status_; }
    bool stopped() const { return stopped_; }
    // Counts and the stop so far; complete once stopped().
    const GMDK_Report& report() const { return report_; }

private:
    std::size_t peek(std::size_t n);
    std::uint64_t consume(std::uint64_t n, std::vector<std::uint8_t>* into);
    bool stop(int status, int stopReason, std::uint64_t offset, const char* format, ...)
#if defined(__GNUC__) || defined(__clang__)
        __attribute__((format(printf, 5, 6)))
#endif
        ;
    void setFrame(const std::uint8_t* header, std::int32_t length);
    bool accept();
    bool stopCut(std::uint64_t have, std::int32_t length);
    bool stopReadError(int error);

    Payloads payloads_;
    std::unique_ptr<std::uint8_t[]> owned_;   // the read buffer of a file scan
    const std::uint8_t* buffer_ = nullptr;    // owned_, or the caller's bytes
    std::size_t capacity_ = 0;
    std::uint64_t bufferStart_ = 0;           // file offset of buffer_[0]
    std::size_t have_ = 0;                    // valid bytes in the buffer
    std::uint64_t cursor_ = 0;                // file offset of the next frame
    std::uint64_t frameStart_ = 0;            // file offset of the frame being read
    int fd_ = -1;
    bool seekable_ = false;
    bool sizeKnown_ = false;
    bool atEof_ = false;
    std::uint64_t fileSize_ = 0;
    std::vector<std::uint8_t> large_;         // a kept payload beyond the buffer

    Frame frame_;
    const std::uint8_t* payload_ = nullptr;
    bool stopped_ = false;
    int status_ = GMDK_STATUS_OK;
    GMDK_Report report_;
};

// Fills `report` (when given) with the scanner's report; returns the status.
int finishReport(const FrameScanner& scan, GMDK_Report* report);

}  // namespace gmdk
