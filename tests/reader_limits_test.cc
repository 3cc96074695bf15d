// geneclub-batch as a real process on inputs built to exhaust its reader:
// a small gzip file whose header holds tens of millions of empty names, a
// gigabyte of NUL bytes in a file of about a megabyte, and an over-long
// label. Each must end with the right status and message while the
// process's memory stays bounded by what the input holds. The times are
// printed, never asserted: the machine is shared.

#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

namespace fs = std::filesystem;

// The peak memory these inputs may cost: far below what the text they
// decompress to would take if it were kept whole.
constexpr long kMemoryLimitKb = 400 * 1024;

// Appends `count` copies of `text` to a gzip file, compressing the text's
// repetitions once and writing the compressed member as many times as
// needed (a gzip file may hold several members, read as one stream).
class GzipWriter {
 public:
  explicit GzipWriter(const fs::path& path) : path_(path) {}

  void add(const std::string& text, long long count) {
    // Repetitions per compressed member: 64 MiB of text or less.
    constexpr long long kMemberBytes = 64ll << 20;
    const long long perMember =
        std::max(1ll, std::min(count, kMemberBytes / static_cast<long long>(text.size())));
    const std::string member = compressed(text, perMember);
    for (long long done = 0; done < count; done += perMember) {
      const std::string& part = count - done >= perMember ? member : compressed(text, count - done);
      append(part);
    }
  }

 private:
  static std::string compressed(const std::string& text, long long count) {
    std::string plain;
    plain.reserve(text.size() * count);
    for (long long i = 0; i < count; ++i) plain += text;
    z_stream stream{};
    // 15 window bits plus 16: a gzip header and trailer around the data.
    EXPECT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&stream, plain.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(plain.data());
    stream.avail_in = static_cast<uInt>(plain.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
  }

  void append(const std::string& bytes) {
    std::FILE* file = std::fopen(path_.c_str(), "ab");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
  }

  fs::path path_;
};

// Runs geneclub-batch and prints its wall time and peak memory.
ProcessResult timedRun(const fs::path& dir, const std::vector<std::string>& arguments) {
  const auto start = std::chrono::steady_clock::now();
  ProcessResult result = runBatchProgram(dir, arguments);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::cout << "  " << arguments.front() << ": " << seconds.count() << " s, "
            << result.peakMemoryKb / 1024 << " MB peak, status " << result.exitStatus << "\n";
  return result;
}

class ReaderLimitsTest : public ::testing::Test {
 protected:
  fs::path path(const std::string& name) const { return dir_.path() / name; }

  ScopedWorkDir dir_;
};

TEST_F(ReaderLimitsTest, HeaderOfFiftyMillionEmptyNamesIsRefusedInBoundedMemory) {
  constexpr long long kNames = 50'000'000;
  GzipWriter gzip(path("names.csv.gz"));
  gzip.add("labels", 1);
  gzip.add(",", kNames);
  gzip.add("\nA,1\n", 1);
  EXPECT_LT(fs::file_size(path("names.csv.gz")), 200u * 1024);
  const ProcessResult result = timedRun(dir_.path(), {"names.csv.gz", "-o", "out"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_EQ(result.err,
            "geneclub-batch: names.csv.gz: line 2 holds 2 fields, but the header holds " +
                std::to_string(kNames + 1) + "\n");
  if (!kAddressSanitized) {
    EXPECT_LT(result.peakMemoryKb, kMemoryLimitKb);
  }
  EXPECT_FALSE(fs::exists(path("out")));
}

TEST_F(ReaderLimitsTest, GigabyteOfNulBytesIsInvalidDataAtOnce) {
  GzipWriter gzip(path("zeros.csv.gz"));
  gzip.add(std::string(1 << 20, '\0'), 1024);
  EXPECT_LT(fs::file_size(path("zeros.csv.gz")), 2u << 20);
  ProcessResult result = timedRun(dir_.path(), {"zeros.csv.gz", "-o", "out"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_EQ(result.err,
            "geneclub-batch: zeros.csv.gz: line 1, column 1: the text holds a NUL byte, which no "
            "text file holds\n");
  if (!kAddressSanitized) {
    EXPECT_LT(result.peakMemoryKb, kMemoryLimitKb);
  }

  // The same after a valid header, in the middle of a row.
  GzipWriter late(path("late.csv.gz"));
  late.add("labels,g1,g2\nA,1,2\nB,3", 1);
  late.add(std::string(1 << 20, '\0'), 1024);
  result = timedRun(dir_.path(), {"late.csv.gz", "-o", "out"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_EQ(result.err,
            "geneclub-batch: late.csv.gz: line 3, column 2: the text holds a NUL byte, which no "
            "text file holds\n");
  if (!kAddressSanitized) {
    EXPECT_LT(result.peakMemoryKb, kMemoryLimitKb);
  }
}

TEST_F(ReaderLimitsTest, LabelOfTwoMebibytesIsReadWhole) {
  const std::string longLabel(2 << 20, 'x');
  writeFile(path("t.csv"), "id,g1,g2\na,1,2\nb,3,4\nc,5,7\nd,6,8\n");
  writeFile(path("labels.txt"), "A\n" + longLabel + "\nA\n" + longLabel + "\n");
  ProcessResult result = timedRun(dir_.path(), {"t.csv", "--labels", "labels.txt", "-o", "out"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(readFile(path("out") / "run.json").find("\"" + longLabel + "\": 2"), std::string::npos);

  // One label fewer than samples is the wrong length, never cut short.
  writeFile(path("short.txt"), "A\n" + longLabel + "\nA\n");
  result = timedRun(dir_.path(), {"t.csv", "--labels", "short.txt", "-o", "short"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_EQ(result.err, "geneclub-batch: short.txt holds 3 labels, but t.csv holds 4 samples\n");
}

}  // namespace
}  // namespace geneclub::testing
