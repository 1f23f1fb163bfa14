#pragma once
// The quick path of the coordinate batch (gk_batch.h): plain data lines read from
// their bytes, chunks of rows converted with the routines of fast_conversion.h and
// written as UTF-8 without going through QString, on several threads with the output
// kept in order. Every line and row it does not take on is handed to the literal
// reader and converter, so the output is the one they give.

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "survey/coord_conversion.h"

namespace hc {

// Reads the lines that are plain printable ASCII data with numbers in the usual form
// (digits, at most one point, a leading "-", at most 15 significant digits) and no
// runs of spaces; everything else is left to CoordLineReader.
class FastLineReader {
public:
    // `separator`: the effective separator (CoordLineReader::separator()); with
    // `spaceSeparated` the lines are those of the space separator's rewriting.
    FastLineReader(QChar separator, bool spaceSeparated);
    // True, with `row` filled as CoordLineReader::readLine fills it, when `line` (its
    // bytes without the line break) is such a data line; `rowNumber` (from 1) names a
    // line without a name. False when the literal reader has to read the line.
    // `anglesPast60`, when given, is set to whether packedBeyondSixty (packed_angle.h)
    // holds for either coordinate of the row read.
    bool read(std::string_view line, qint64 rowNumber, CoordRow& row,
              bool* anglesPast60 = nullptr) const;

private:
    // Per byte, counts of four kinds in 16 bits each, summed over a line at once.
    static constexpr std::uint64_t kOneSeparator = 1;
    static constexpr std::uint64_t kOneDigitLike = std::uint64_t{1} << 16;  // 0-9 . + -
    static constexpr std::uint64_t kOneSpace = std::uint64_t{1} << 32;
    static constexpr std::uint64_t kOneRefused = std::uint64_t{1} << 48;  // for CoordLineReader

    char sep_;  // 0 when the separator is not ASCII: no line is read here
    bool spaceSeparated_;
    std::uint64_t kinds_[256];  // the counts each byte adds
};

// The number of a data field in the usual form: false when the field has to go
// through the literal reading (ZelQuShuZhi).
bool plainFieldNumber(std::string_view field, double& value);

// What converting one chunk gave.
struct ChunkOutput {
    std::string bytes;       // the rows, UTF-8
    long long rejected = 0;  // rows whose point a conversion rejected
    bool over180 = false;    // geographic input: a longitude beyond 180 degrees
};

// Converts chunks of rows as GkRowConverter does, row by row, into output bytes.
// Thread-safe: convert() changes nothing shared.
class ChunkConverter {
public:
    ChunkConverter(GkConversion op, const GkSettings& settings);
    // `buffer`: storage for the output bytes, emptied first (its capacity is kept).
    ChunkOutput convert(const QList<CoordRow>& rows, bool latitudeFirst,
                        std::string buffer = {}) const;

private:
    struct RowMemo;
    bool fastRow(const CoordRow& row, bool latitudeFirst, std::string& out, RowMemo& memo) const;

    GkRowConverter literal_;
    std::optional<ZoneWidth> in_;
    std::optional<ZoneWidth> out_;
    const Ellipsoid* set_;
    double meridian_;
    bool xyz_;
    bool withNames_;
    bool fast_;  // settings the quick rows cover
};

// Converts chunks on `jobs` threads (1: on the caller's thread) and writes their bytes
// to `out` in the order they were given; at most two chunks per thread wait at once.
// More than kMaxThreads threads are not started, so memory stays within some 50 MB.
class OrderedChunkWriter {
public:
    OrderedChunkWriter(const ChunkConverter& converter, std::FILE* out, int jobs);
    ~OrderedChunkWriter();
    OrderedChunkWriter(const OrderedChunkWriter&) = delete;
    OrderedChunkWriter& operator=(const OrderedChunkWriter&) = delete;

    static constexpr int kMaxThreads = 16;

    void submit(QList<CoordRow> rows, bool latitudeFirst);
    // An empty list for the next chunk: one that a converted chunk left, so that its
    // storage is used again rather than allocated anew for every chunk.
    QList<CoordRow> spareRows();
    // Waits for every chunk and writes it.
    void finish();
    long long rejected() const { return rejected_; }
    bool over180() const { return over180_; }

private:
    void writeFront();
    void work();

    const ChunkConverter& converter_;
    std::FILE* out_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::packaged_task<ChunkOutput()>> tasks_;
    std::deque<std::future<ChunkOutput>> pending_;
    std::vector<QList<CoordRow>> spareRows_;
    std::vector<std::string> spareBytes_;
    bool stopping_ = false;
    long long rejected_ = 0;
    bool over180_ = false;
};

}  // namespace hc
